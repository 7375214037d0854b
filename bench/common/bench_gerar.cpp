// Creates a database from the schema and fills it with the seeded data.
//   bench_gerar --database PATH [--entries N] [--stations N] [--programs N]
//               [--employees N] [--seed N]
// An existing file at PATH is replaced.
#include "common/BenchData.h"

#include "db/Schema.h"
#include "platform/firebird/Attachment.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString path = benchdata::argText(args, QStringLiteral("--database"));
    if (path.isEmpty()) {
        std::fprintf(stderr, "usage: bench_gerar --database PATH [--entries N] [--seed N]\n");
        return 2;
    }
    const benchdata::Sizes sizes = benchdata::parseSizes(args);
    try {
        QFile::remove(path);
        QElapsedTimer t;
        t.start();
        db::criarBanco(path);
        benchdata::setForcedWrites(path, false);
        fb::Attachment att = fb::Attachment::connect(path, db::kUsuarioBanco, db::kSenhaBanco);
        benchdata::generate(att, sizes);
        const double secs = t.elapsed() / 1000.0;
        att.detach();
        benchdata::setForcedWrites(path, true);  // the measures run with the default setting
        std::printf("generated: %d entries, %d stations, %d programs, %d employees in %.1f s (%.0f rows/s), "
                    "file %.0f MB\n",
                    sizes.entries, sizes.stations, sizes.stations * sizes.programsPerStation, sizes.employees, secs,
                    sizes.entries / secs, QFileInfo(path).size() / 1048576.0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_gerar: %s\n", e.what());
        return 1;
    }
    return 0;
}

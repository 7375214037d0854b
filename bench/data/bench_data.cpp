// Dataset layer against the raw cursor: open + FetchAll of the entry join,
// and the first page of a very large result through the grid model.
//   bench_data [--entries 100000] [--grid-rows 1000000] [--runs 3]
#include "common/BenchData.h"

#include "db/Schema.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/firebird/Attachment.h"
#include "platform/firebird/Statement.h"
#include "platform/firebird/Transaction.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTemporaryDir>
#include <cstdio>

namespace {

const QStringList kJoin = {
    "Select Lan.*, Emi.Emi_Nome, Emi.Emi_Path, Prg.Prg_Nome, Fun.Fun_Nome",
    "from TB_Lancamento Lan, TB_Emissoras Emi, TB_Programas Prg, TB_Funcionarios Fun",
    "Where Lan.Emi_Codigo = Emi.Emi_Codigo and Lan.Prg_Codigo = Prg.Prg_Codigo and Lan.Fun_Codigo = Fun.Fun_Codigo"};

int argValue(const QStringList& args, const QString& name, int fallback) {
    const int i = int(args.indexOf(name));
    return i >= 0 && i + 1 < args.size() ? args[i + 1].toInt() : fallback;
}

double rawFetch(fb::Transaction& tra, const QString& sql, qint64& rows) {
    QElapsedTimer t;
    t.start();
    fb::Statement st(tra, sql);
    st.open();
    rows = 0;
    while (st.fetch()) ++rows;
    return double(t.nsecsElapsed()) / 1e6;
}

double layerFetch(fb::Transaction& tra, qint64& rows) {
    QElapsedTimer t;
    t.start();
    dataset::Query q;
    q.SetTransaction(&tra);
    for (const QString& l : kJoin) q.SQL.Add(l);
    q.Open();
    q.FetchAll();
    rows = q.BufferedCount();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = app.arguments();
    benchdata::Sizes sizes = benchdata::parseSizes(args);
    const int gridRows = argValue(args, "--grid-rows", 1000000);
    const int runs = std::max(1, argValue(args, "--runs", 3));

    QTemporaryDir dir;
    const QString path = dir.filePath("bench.fdb");
    db::criarBanco(path);
    fb::Attachment att = fb::Attachment::connect(path, db::kUsuarioBanco, db::kSenhaBanco);
    QElapsedTimer gen;
    gen.start();
    benchdata::generate(att, sizes);
    std::printf("generated %d entries in %.1f s\n", sizes.entries, gen.elapsed() / 1000.0);

    fb::Transaction tra(att);
    tra.start();
    QString sql;
    for (const QString& l : kJoin) sql += l + "\r\n";
    double bestRaw = 1e300, bestLayer = 1e300;
    qint64 rawRows = 0, layerRows = 0;
    layerFetch(tra, layerRows);  // warm the page cache
    for (int r = 0; r < runs; ++r) {
        bestRaw = std::min(bestRaw, rawFetch(tra, sql, rawRows));
        bestLayer = std::min(bestLayer, layerFetch(tra, layerRows));
    }
    std::printf("raw cursor fetch:        %8.1f ms for %lld rows\n", bestRaw, (long long)rawRows);
    std::printf("dataset open + FetchAll: %8.1f ms for %lld rows\n", bestLayer, (long long)layerRows);

    if (gridRows > sizes.entries) {
        gen.restart();
        benchdata::addEntries(att, sizes, sizes.entries + 1, gridRows - sizes.entries);
        std::printf("grew to %d entries in %.1f s\n", gridRows, gen.elapsed() / 1000.0);
    }
    {
        dataset::Query q;
        q.SetTransaction(&tra);
        for (const QString& l : kJoin) q.SQL.Add(l);
        dataset::DataSource src;
        src.SetDataSet(&q);
        dataset::DBGrid grid;
        grid.SetDataSource(&src);
        grid.SetRowSelect(true);
        grid.resize(900, 50 * grid.verticalHeader()->defaultSectionSize() + 40);
        grid.show();
        app.processEvents();
        const qint64 before = benchdata::residentBytes();
        QElapsedTimer t;
        t.start();
        q.Open();
        QElapsedTimer limit;
        limit.start();
        while (grid.Model()->rowCount() < 50 && grid.Model()->canFetchMore(QModelIndex()) && limit.elapsed() < 10000)
            app.processEvents(QEventLoop::AllEvents, 5);
        grid.repaint();
        const double ms = double(t.nsecsElapsed()) / 1e6;
        const qint64 growth = benchdata::residentBytes() - before;
        std::printf("grid first page of a %d-row result: %.1f ms, %d rows read, resident growth %.1f MB\n", gridRows,
                    ms, q.BufferedCount(), growth / 1048576.0);
    }
    std::printf("ratio layer/raw: %.2f\n", bestLayer / bestRaw);
    return 0;
}

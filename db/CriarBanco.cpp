// Prepares an executable folder for running on the embedded default: writes
// BaseClipping.ini with the local database path when the file is missing and
// creates that database from the schema when it does not exist yet.
#include "Schema.h"
#include "platform/firebird/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QCoreApplication::applicationDirPath();
    QDir dir(folder);
    const QString ini = dir.filePath(QStringLiteral("BaseClipping.ini"));
    if (!QFileInfo::exists(ini)) {
        QFile f(ini);
        if (!f.open(QIODevice::WriteOnly)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(ini));
            return 1;
        }
        f.write(QFile::encodeName(dir.absoluteFilePath(QStringLiteral("Vexildb/Clippingdb.fdb"))) + "\r\n");
    }
    QFile f(ini);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(ini));
        return 1;
    }
    const QString location = QString::fromLocal8Bit(f.readLine()).trimmed();
    // Only a local path (no host) is created here.
    const qsizetype colon = location.indexOf(QLatin1Char(':'));
    if (location.isEmpty() || (colon > 1 && !location.startsWith(QLatin1Char('/')))) {
        std::printf("database at %s is not local; nothing created\n", qPrintable(location));
        return 0;
    }
    if (QFileInfo::exists(location)) {
        std::printf("database %s exists\n", qPrintable(location));
        return 0;
    }
    QDir().mkpath(QFileInfo(location).absolutePath());
    try {
        db::criarBanco(location);
    } catch (const fb::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::printf("database %s created\n", qPrintable(location));
    return 0;
}

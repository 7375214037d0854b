#include "support/TempDatabase.h"

#include "platform/firebird/Codec.h"
#include "platform/firebird/Error.h"
#include "platform/firebird/Service.h"
#include "platform/firebird/Statement.h"
#include "db/Schema.h"

#include <QDateTime>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <QFileInfo>
#include <QTest>

using testsupport::TempDatabase;

class TstFirebird : public QObject {
    Q_OBJECT
private slots:
    void paramTranslation_data();
    void paramTranslation();
    void nullsAndValuesRoundTrip();
    void accentedTextRoundTrips_data();
    void accentedTextRoundTrips();
    void unencodableTextIsRefused();
    void repeatedNamedParameter();
    void dialectOneDateKeepsTimeOfDay();
    void commitRetainingKeepsTransactionOpen();
    void serverErrorCarriesText();
    void connectFailures();
    void backupThroughLocalServiceManager();
    void terminationSignalGoesToHandler();
};

void TstFirebird::paramTranslation_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("translated");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("plain") << "select * from t where a = :A and b = :b" << "select * from t where a = ? and b = ?"
                           << QStringList{"A", "B"};
    QTest::newRow("repeated") << "where d >= :Data and d < :Data + 1" << "where d >= ? and d < ? + 1"
                              << QStringList{"DATA", "DATA"};
    QTest::newRow("in literal") << "where a = ':X' and b = :Y" << "where a = ':X' and b = ?" << QStringList{"Y"};
    QTest::newRow("doubled quote") << "where a = 'O'':X' and b = :OLD_B" << "where a = 'O'':X' and b = ?"
                                   << QStringList{"OLD_B"};
    QTest::newRow("comment") << "/* :A */ select :B -- :C\n from x" << "/* :A */ select ? -- :C\n from x"
                             << QStringList{"B"};
    QTest::newRow("generator") << "Select gen_id(GEN_X, 1) from RDB$DATABASE"
                               << "Select gen_id(GEN_X, 1) from RDB$DATABASE" << QStringList{};
}

void TstFirebird::paramTranslation() {
    QFETCH(QString, sql);
    QFETCH(QString, translated);
    QFETCH(QStringList, names);
    std::vector<QString> positions;
    QCOMPARE(fb::translateParams(sql, positions), translated);
    QCOMPARE(QStringList(positions.begin(), positions.end()), names);
}

void TstFirebird::nullsAndValuesRoundTrip() {
    TempDatabase db;
    const QDateTime when(QDate(2008, 3, 5), QTime(14, 30, 15));
    const QByteArray logo("\x00\x01\xFF\x89PNG", 7);
    fb::Statement ins(db.transaction(),
                      "insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_VALOR, CLI_CLIENTEDESDE, CLI_OBS) "
                      "values (:C, :N, :V, :D, :O)");
    ins.setParam("C", 1);
    ins.setParam("N", QStringLiteral("Ação Ltda"));
    ins.setParam("V", 1234.5);
    ins.setParam("D", when);
    ins.setParam("O", QStringLiteral("linha 1\nlinha 2 ç"));
    ins.execute();
    QCOMPARE(ins.affectedRows(), 1);
    ins.clearParams();
    ins.setParam("C", 2);
    ins.execute();  // every other column NULL
    db.exec("insert into TB_EMPRESA (EMP_CODIGO, EMP_NOME) values (1, 'X')");
    fb::Statement upd(db.transaction(), "update TB_EMPRESA set EMP_PATHLOGO = :L where EMP_CODIGO = 1");
    upd.setParam("L", logo);
    upd.execute();

    fb::Statement sel(db.transaction(),
                      "select CLI_CODIGO, CLI_NOME, CLI_VALOR, CLI_CLIENTEDESDE, CLI_OBS from TB_CLIENTES order by 1");
    QCOMPARE(sel.column(3).type, fb::ColumnType::Timestamp);  // dialect 1 DATE
    QCOMPARE(sel.column(4).type, fb::ColumnType::TextBlob);
    QCOMPARE(sel.column(1).size, 45);
    sel.open();
    QVERIFY(sel.fetch());
    QCOMPARE(sel.value(0).toInt(), 1);
    QCOMPARE(sel.value(1).toString(), QStringLiteral("Ação Ltda"));
    QCOMPARE(sel.value(2).toDouble(), 1234.5);
    QCOMPARE(sel.value(3).toDateTime(), when);
    QCOMPARE(sel.value(4).toString(), QStringLiteral("linha 1\nlinha 2 ç"));
    QVERIFY(sel.fetch());
    for (int i = 1; i < 5; ++i)
        QVERIFY2(sel.value(i).isNull(), qPrintable(QString::number(i)));
    QVERIFY(!sel.fetch());
    QVERIFY(!sel.isOpen());
    QCOMPARE(db.scalar("select EMP_PATHLOGO from TB_EMPRESA").toByteArray(), logo);
    QVERIFY(db.scalar("select EMP_FONE from TB_EMPRESA").isNull());
}

void TstFirebird::accentedTextRoundTrips_data() {
    QTest::addColumn<QString>("text");
    for (const char* s : {"ação", "Ç", "MÚSICA", "ª º", "€ “aspas” – …", "O'BRIEN"})
        QTest::newRow(s) << QString::fromUtf8(s);
}

void TstFirebird::accentedTextRoundTrips() {
    QFETCH(QString, text);
    TempDatabase db;
    fb::Statement ins(db.transaction(), "insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (1, :D)");
    ins.setParam("D", text);
    ins.execute();
    QCOMPARE(db.scalar("select MID_DESCRICAO from TB_MIDIAS").toString(), text);
    // Literal in the statement text, and the server's upper-casing.
    QCOMPARE(db.count("TB_MIDIAS", "MID_DESCRICAO = '" + QString(text).replace("'", "''") + "'"), 1);
}

void TstFirebird::unencodableTextIsRefused() {
    TempDatabase db;
    fb::Statement ins(db.transaction(), "insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (1, :D)");
    ins.setParam("D", QStringLiteral("Москва"));
    try {
        ins.execute();
        QFAIL("no error");
    } catch (const fb::Error& e) {
        QVERIFY2(e.message().contains(QStringLiteral("não pode ser gravado")), qPrintable(e.message()));
    }
    QCOMPARE(db.count("TB_MIDIAS"), 0);
    QVERIFY(!fb::codec::canEncode(QStringLiteral("日本")));
    QVERIFY(fb::codec::canEncode(QStringLiteral("ÀÉÎÕÜç€")));
}

void TstFirebird::repeatedNamedParameter() {
    TempDatabase db;
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'E')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'P', 1)");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME) values (1, 'F')");
    db.exec("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO) "
            "values (1, '05.03.2008', 1, 1, 1)");
    db.exec("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO) "
            "values (2, '06.03.2008', 1, 1, 1)");
    fb::Statement sel(db.transaction(), "select LAN_CODIGO from TB_LANCAMENTO where LAN_DATA >= :Data and LAN_DATA < :DATA + 1");
    QCOMPARE(sel.paramNames(), QStringList{"DATA"});
    sel.setParam("data", QDate(2008, 3, 6));
    sel.open();
    QVERIFY(sel.fetch());
    QCOMPARE(sel.value(0).toInt(), 2);
    QVERIFY(!sel.fetch());
    QVERIFY_THROWS_EXCEPTION(fb::Error, sel.setParam("NOPE", 1));
}

void TstFirebird::dialectOneDateKeepsTimeOfDay() {
    TempDatabase db;
    db.exec("insert into TB_LEMBRETES (LEM_CODIGO, LEM_DATA) values (1, '05.03.2008 23:59:58')");
    QCOMPARE(db.scalar("select LEM_DATA from TB_LEMBRETES").toDateTime(),
             QDateTime(QDate(2008, 3, 5), QTime(23, 59, 58)));
    QCOMPARE(db.scalar("select LEM_DATA + 1 from TB_LEMBRETES").toDateTime(),
             QDateTime(QDate(2008, 3, 6), QTime(23, 59, 58)));
}

void TstFirebird::commitRetainingKeepsTransactionOpen() {
    TempDatabase db;
    fb::Statement ins(db.transaction(), "insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (:C, 'M')");
    ins.setParam("C", 1);
    ins.execute();
    db.transaction().commitRetaining();
    QVERIFY(db.transaction().isActive());
    ins.setParam("C", 2);
    ins.execute();  // the same prepared statement goes on in the retained transaction
    db.transaction().commitRetaining();

    fb::Attachment other = db.connectAgain();
    fb::Transaction t2(other);
    fb::Statement cnt(t2, "select count(*) from TB_MIDIAS");
    cnt.open();
    QVERIFY(cnt.fetch());
    QCOMPARE(cnt.value(0).toInt(), 2);
}

void TstFirebird::serverErrorCarriesText() {
    TempDatabase db;
    db.exec("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (1, 'M')");
    try {
        db.exec("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (1, 'N')");
        QFAIL("no error");
    } catch (const fb::Error& e) {
        QVERIFY2(e.message().contains("PRIMARY or UNIQUE KEY"), qPrintable(e.message()));
        QVERIFY2(e.message().contains("TB_MIDIAS"), qPrintable(e.message()));
        QVERIFY(!e.codes().isEmpty());
        QCOMPARE(e.className(), QStringLiteral("EIBError"));
    }
    QVERIFY_THROWS_EXCEPTION(fb::Error, fb::Statement(db.transaction(), "select nada from lugar_nenhum"));
    // The transaction is still usable after the errors.
    QCOMPARE(db.count("TB_MIDIAS"), 1);
}

void TstFirebird::connectFailures() {
    TempDatabase db;
    QTemporaryDir dir;
    QFile junk(dir.filePath("junk.fdb"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    const QStringList bad{dir.filePath("nao/existe.fdb"), junk.fileName(), QString()};
    for (const QString& path : bad) {
        try {
            fb::Attachment::connect(path, db::kUsuarioBanco, db::kSenhaBanco);
            QFAIL(qPrintable("connected to " + path));
        } catch (const fb::Error& e) {
            QVERIFY(!e.message().isEmpty());
        }
    }
}

void TstFirebird::backupThroughLocalServiceManager() {
    TempDatabase db;
    db.exec("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (1, 'Fita cassete')");
    const QString file = db.folder() + "/copia.gbk";
    QStringList lines;
    {
        // The fixture's own connection stays open meanwhile.
        fb::Service svc(QString(), db::kUsuarioBanco, db::kSenhaBanco);
        svc.backup(db.path(), file, [&](const QString& line) { lines << line; });
    }
    QVERIFY(lines.size() > 10);
    QVERIFY2(lines.join("\n").contains("TB_MIDIAS"), qPrintable(lines.join("\n")));
    QVERIFY(QFileInfo(file).size() > 0);

    // A folder that does not exist fails with the server's text.
    fb::Service svc(QString(), db::kUsuarioBanco, db::kSenhaBanco);
    QVERIFY_THROWS_EXCEPTION(fb::Error, svc.backup(db.path(), db.folder() + "/nao/existe/copia.gbk", {}));
}

// The test library's own crash handler would take the termination signal
// that one case sends itself; the engine it shuts down gets no exit clean-up.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    args << QStringLiteral("-nocrashhandler");
    TstFirebird t;
    const int r = QTest::qExec(&t, args);
    // The engine was shut down by the signal: no exit clean-up after it.
    std::fflush(nullptr);
    std::_Exit(r);
}
// SIGTERM reaches the handler before the engine shuts itself down, so the
// program learns it has to end. Kept last: the engine is gone afterwards.
void TstFirebird::terminationSignalGoesToHandler() {
    testsupport::TempDatabase db;
    std::atomic<int> calls{0};
    fb::setTerminationHandler([&calls] { ++calls; });
    ::raise(SIGTERM);
    QTRY_COMPARE_WITH_TIMEOUT(calls.load(), 1, 60000);
    fb::setTerminationHandler({});
    // The engine's own shutdown follows: the connection is refused from then.
    auto refused = [&db] {
        try {
            db.scalar("select count(*) from rdb$database");
            return false;
        } catch (const fb::Error&) {
            return true;
        }
    };
    QTRY_VERIFY_WITH_TIMEOUT(refused(), 60000);
}

#include "tst_firebird.moc"

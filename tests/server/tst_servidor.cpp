#include "ServerDatabase.h"

#include "platform/firebird/Error.h"
#include "platform/firebird/Service.h"
#include "platform/firebird/Statement.h"
#include "platform/firebird/Transaction.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>

using testsupport::ServerDatabase;

namespace {
int countRows(fb::Transaction& t, const QString& sql) {
    fb::Statement st(t, sql);
    st.open();
    return st.fetch() ? st.value(0).toInt() : -1;
}
} // namespace

// Two connections stand for two workstations, each with its own
// transaction.
class TstServidor : public QObject {
    Q_OBJECT
private slots:
    void generatorsNeverCollide();
    void lockConflictFailsAtOnceAndRetrySucceeds();
    void readCommittedSeesOtherCommits();
    void wrongPasswordIsRefused();
    void backupOverTcpRestoresWithGbak();
};

void TstServidor::generatorsNeverCollide() {
    ServerDatabase srv;
    fb::Attachment a = srv.connect(), b = srv.connect();
    fb::Transaction ta(a), tb(b);
    QSet<int> seen;
    for (int i = 0; i < 50; ++i) {
        for (fb::Transaction* t : {&ta, &tb}) {
            fb::Statement st(*t, "select gen_id(GEN_LANCAMENTO, 1) from rdb$database");
            st.open();
            QVERIFY(st.fetch());
            const int v = st.value(0).toInt();
            QVERIFY2(!seen.contains(v), qPrintable(QString::number(v)));
            seen.insert(v);
        }
    }
    ta.rollback();  // generator values are never rolled back
    fb::Transaction tc(a);
    QCOMPARE(countRows(tc, "select gen_id(GEN_LANCAMENTO, 0) from rdb$database"), 100);
}

void TstServidor::lockConflictFailsAtOnceAndRetrySucceeds() {
    ServerDatabase srv;
    fb::Attachment a = srv.connect(), b = srv.connect();
    fb::Transaction ta(a), tb(b);
    {
        fb::Statement ins(ta, "insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (1, 'Original')");
        ins.execute();
        ta.commitRetaining();
    }
    fb::Statement updA(ta, "update TB_CLIENTES set CLI_NOME = 'De A' where CLI_CODIGO = 1");
    updA.execute();  // applied, not committed
    fb::Statement updB(tb, "update TB_CLIENTES set CLI_NOME = 'De B' where CLI_CODIGO = 1");
    try {
        updB.execute();  // nowait: fails at once instead of waiting for A
        QFAIL("no lock conflict");
    } catch (const fb::Error& e) {
        QVERIFY2(e.message().contains("lock conflict") || e.message().contains("deadlock"), qPrintable(e.message()));
    }
    ta.commitRetaining();
    tb.rollbackRetaining();  // B's failed attempt leaves its transaction usable
    updB.execute();
    tb.commitRetaining();
    QCOMPARE(countRows(ta, "select count(*) from TB_CLIENTES where CLI_NOME = 'De B'"), 1);
}

void TstServidor::readCommittedSeesOtherCommits() {
    ServerDatabase srv;
    fb::Attachment a = srv.connect(), b = srv.connect();
    fb::Transaction ta(a), tb(b);
    QCOMPARE(countRows(tb, "select count(*) from TB_MIDIAS"), 0);
    fb::Statement ins(ta, "insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (1, 'DVD')");
    ins.execute();
    QCOMPARE(countRows(tb, "select count(*) from TB_MIDIAS"), 0);  // not committed yet
    ta.commitRetaining();
    QCOMPARE(countRows(tb, "select count(*) from TB_MIDIAS"), 1);  // same transaction of B
}

void TstServidor::wrongPasswordIsRefused() {
    ServerDatabase srv;
    try {
        fb::Attachment::connect(srv.location(), db::kUsuarioBanco, "errada");
        QFAIL("connected with a wrong password");
    } catch (const fb::Error& e) {
        QVERIFY2(e.message().contains("password"), qPrintable(e.message()));
    }
    QVERIFY_THROWS_EXCEPTION(fb::Error, fb::Attachment::connect("127.0.0.2/3999:" + srv.path(), db::kUsuarioBanco,
                                                                db::kSenhaBanco));
}

void TstServidor::backupOverTcpRestoresWithGbak() {
    ServerDatabase srv;
    fb::Attachment a = srv.connect();  // the application's own connection stays open
    fb::Transaction ta(a);
    for (int i = 1; i <= 20; ++i) {
        fb::Statement ins(ta, "insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (:C, :D)");
        ins.setParam("C", i);
        ins.setParam("D", QStringLiteral("Mídia nº %1").arg(i));
        ins.execute();
    }
    ta.commitRetaining();

    const QString backup = srv.folder() + "/BackupVexilClipping.gbk";
    QStringList lines;
    fb::Service svc("localhost", db::kUsuarioBanco, db::kSenhaBanco);
    svc.backup(srv.path(), backup, [&](const QString& l) { lines << l; });
    QVERIFY(lines.size() > 10);
    QVERIFY(QFileInfo(backup).size() > 0);

    const QString restored = srv.folder() + "/restaurado.fdb";
    QProcess gbak;
    gbak.start("gbak", {"-c", "-user", db::kUsuarioBanco, "-password", db::kSenhaBanco, backup,
                        "localhost:" + restored});
    QVERIFY(gbak.waitForFinished(60000));
    QVERIFY2(gbak.exitCode() == 0, gbak.readAllStandardError().constData());
    fb::Attachment r = fb::Attachment::connect("localhost:" + restored, db::kUsuarioBanco, db::kSenhaBanco);
    {
        fb::Transaction tr(r);
        QCOMPARE(countRows(tr, "select count(*) from TB_MIDIAS where MID_DESCRICAO like 'Mídia nº %'"), 20);
    }
    r.dropDatabase();
}

QTEST_GUILESS_MAIN(TstServidor)
#include "tst_servidor.moc"

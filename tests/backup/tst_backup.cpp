#include "security/SessaoTeste.h"

#include "db/Schema.h"
#include "platform/firebird/Statement.h"
#include "screens/maintenance/U_Backup.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>

namespace {

const QString kSucesso = QStringLiteral("Backup realizado com sucesso!");
const QString kFalha = QStringLiteral("Não foi possível efetuar o Backup!");

int contar(fb::Attachment& att, const QString& sql) {
    fb::Transaction t(att);
    t.start();
    fb::Statement q(t, sql);
    q.open();
    const int n = q.fetch() ? q.value(0).toInt() : -1;
    q.close();
    t.commit();
    return n;
}

} // namespace

class TstBackup : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void nomeDoDia_data();
    void nomeDoDia();
    void backupRestauravel();
    void substituiArquivoDoDia();
    void servidorInalcancavel();
    void automaticoAoPintar();
    void manualEsperaOBotao();

private:
    int encerrou_ = 0;
};

void TstBackup::init() {
    encerrou_ = 0;
    TFrmBackup::Encerrar = [this] { ++encerrou_; };
    TFrmBackup::Hoje = [] { return QDate::currentDate(); };
}

void TstBackup::cleanup() { TFrmBackup::Hoje = [] { return QDate::currentDate(); }; }

void TstBackup::nomeDoDia_data() {
    QTest::addColumn<QDate>("data");
    QTest::addColumn<QString>("nome");
    QTest::newRow("domingo") << QDate(2026, 12, 13) << "Domingo";
    QTest::newRow("segunda") << QDate(2026, 12, 14) << "Segunda";
    QTest::newRow("terça") << QDate(2026, 12, 15) << "Terca";
    QTest::newRow("quarta") << QDate(2026, 12, 16) << "Quarta";
    QTest::newRow("quinta") << QDate(2026, 12, 17) << "Quinta";
    QTest::newRow("sexta") << QDate(2026, 12, 18) << "Sexta";
    QTest::newRow("sábado") << QDate(2026, 12, 19) << "Sabado";
}

void TstBackup::nomeDoDia() {
    QFETCH(QDate, data);
    QFETCH(QString, nome);
    QCOMPARE(TFrmBackup::NomeDia(data), nome);
    DefinirPastaExecutavel("/opt/clip");
    QCOMPARE(TFrmBackup::ArquivoBackup(data), "/opt/clip/Copiadb/" + nome + "/BackupVexilClipping.gbk");
    QCOMPARE(TFrmBackup::BancoBackup(), QStringLiteral("/opt/clip/Vexildb/Clippingdb.fdb"));
    DefinirPastaExecutavel(QString());
}

void TstBackup::backupRestauravel() {
    // Embedded default, while the session holds its connection open.
    SessaoTeste s;
    QVERIFY(s.ok);
    for (int i = 1; i <= 3; ++i)
        s.db.exec(QStringLiteral("INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_OBS) VALUES (%1, 'Nome %1', "
                                 "'Observação %1')").arg(i));
    s.funcionario(5, "ana", "x");
    s.direito(5, 1001);
    TFrmBackup::Hoje = [] { return QDate(2026, 12, 15); };
    msg::Roteiro roteiro;
    TFrmBackup tela;
    QCOMPARE(tela.windowTitle(), QStringLiteral("Cópia de segurança (Backup)"));
    QCOMPARE(tela.BBackup->text(), QStringLiteral("Iniciar cópia de segurança (Backup)"));
    tela.show();
    QVERIFY(DMBanco->DB_Clipping.isConnected());
    tela.BBackup->click();
    QCOMPARE(roteiro.textos(), QStringList{kSucesso});
    QVERIFY(!tela.isVisible());
    QCOMPARE(encerrou_, 0);  // manual mode: the application goes on
    const QString arquivo = s.db.folder() + "/Copiadb/Terca/BackupVexilClipping.gbk";
    QVERIFY(QFile::exists(arquivo));
    QVERIFY(tela.Memo1->document()->blockCount() > 10);
    const QString status = tela.reStatus->toPlainText();
    QVERIFY(status.contains(QRegularExpression("^Backup iniciado às \\d\\d:\\d\\d:\\d\\d horas\nAguarde...\n"
                                               "Backup Finalizado às \\d\\d:\\d\\d:\\d\\d horas$")));
    if (!qEnvironmentVariableIsEmpty("CLIP_CAPTURAS"))
        tela.grab().save(qEnvironmentVariable("CLIP_CAPTURAS") + "/backup.png");

    // gbak brings back a database with the same rows.
    const QString restaurado = s.db.folder() + "/restaurado.fdb";
    QProcess gbak;
    gbak.start("gbak", {"-c", "-user", db::kUsuarioBanco, "-password", db::kSenhaBanco, arquivo, restaurado});
    QVERIFY(gbak.waitForFinished(120000));
    QVERIFY2(gbak.exitCode() == 0, gbak.readAllStandardError().constData());
    fb::Attachment r = fb::Attachment::connect(restaurado, db::kUsuarioBanco, db::kSenhaBanco);
    QCOMPARE(contar(r, "SELECT COUNT(*) FROM TB_AGENDA"), 3);
    QCOMPARE(contar(r, "SELECT COUNT(*) FROM TB_AGENDA WHERE AGE_OBS = 'Observação 2'"), 1);
    QCOMPARE(contar(r, "SELECT COUNT(*) FROM TB_FUNCIONARIOS WHERE FUN_LOGIN = 'ana'"), 1);
    QCOMPARE(contar(r, "SELECT COUNT(*) FROM TB_DIREITOS WHERE USU_CODIGO = 5 AND TEL_CODIGO = 1001"), 1);
    r.detach();
}

void TstBackup::substituiArquivoDoDia() {
    SessaoTeste s;
    QVERIFY(s.ok);
    TFrmBackup::Hoje = [] { return QDate(2026, 12, 18); };
    const QString arquivo = s.db.folder() + "/Copiadb/Sexta/BackupVexilClipping.gbk";
    QVERIFY(QDir().mkpath(s.db.folder() + "/Copiadb/Sexta"));
    {
        QFile velho(arquivo);
        QVERIFY(velho.open(QIODevice::WriteOnly));
        velho.write("backup de outra semana");
    }
    msg::Roteiro roteiro;
    TFrmBackup tela;
    tela.BBackup->click();
    QCOMPARE(roteiro.textos(), QStringList{kSucesso});
    QFile novo(arquivo);
    QVERIFY(novo.open(QIODevice::ReadOnly));
    QVERIFY(novo.size() > 1000);
    QVERIFY(!novo.readAll().contains("outra semana"));
}

void TstBackup::servidorInalcancavel() {
    SessaoTeste s;
    QVERIFY(s.ok);
    DMBanco->HostServidor = QStringLiteral("127.0.0.1/1");  // nothing listens on port 1
    msg::Roteiro roteiro;
    ChamadaExterna = 1;
    TFrmBackup tela;
    ChamadaExterna = 0;
    QVERIFY(tela.Automatico());
    tela.show();
    tela.BBackupClick();
    QCOMPARE(roteiro.textos(), QStringList{kFalha});
    QVERIFY(!tela.isVisible());
    QCOMPARE(encerrou_, 0);  // the main window ends the application instead
}

void TstBackup::automaticoAoPintar() {
    SessaoTeste s;
    QVERIFY(s.ok);
    msg::Roteiro roteiro;
    AbrirFormulario<TFrmBackup>(true, 1);
    QCOMPARE(roteiro.textos(), QStringList{kSucesso});
    QCOMPARE(encerrou_, 1);
    QVERIFY(QFile::exists(TFrmBackup::ArquivoBackup(QDate::currentDate())));
}

void TstBackup::manualEsperaOBotao() {
    SessaoTeste s;
    QVERIFY(s.ok);
    msg::Roteiro roteiro;
    bool vazio = false;
    QTimer vigia;
    vigia.setInterval(200);
    connect(&vigia, &QTimer::timeout, [&] {
        if (auto* b = qobject_cast<TFrmBackup*>(QApplication::activeModalWidget())) {
            vigia.stop();
            vazio = b->Memo1->toPlainText().isEmpty() && b->reStatus->toPlainText().isEmpty();
            b->BFechar->click();
        }
    });
    vigia.start();
    AbrirFormulario<TFrmBackup>(true, 0);
    QVERIFY(vazio);
    QVERIFY(roteiro.mensagens().isEmpty());
    QVERIFY(!QFile::exists(TFrmBackup::ArquivoBackup(QDate::currentDate())));
    QCOMPARE(encerrou_, 0);
}

QTEST_MAIN(TstBackup)
#include "tst_backup.moc"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "db/Schema.h"
#include "platform/firebird/Attachment.h"
#include "platform/firebird/Statement.h"
#include "platform/firebird/Transaction.h"
#include "screens/maintenance/U_Backup.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <cstdio>
#include <cstdlib>

namespace {

const QFileDevice::Permissions kTodos = QFileDevice::Permissions(0x7777);

int contar(fb::Attachment& a, const char* tabela) {
    fb::Transaction t(a);
    fb::Statement st(t, QStringLiteral("select count(*) from %1").arg(QLatin1String(tabela)));
    st.open();
    return st.fetch() ? st.value(0).toInt() : -1;
}

} // namespace

// The backup screen of a workstation whose BaseClipping.ini names the server
// on 127.0.0.1: the server's service manager writes the weekday file.
class TstServidorBackup : public QObject {
    Q_OBJECT
private slots:
    void backupPeloServicoDoServidor();
};

void TstServidorBackup::backupPeloServicoDoServidor() {
    // The executable folder as the server sees it: the database where the
    // screen names it, the weekday folder writable by the server's user.
    QTemporaryDir pasta(QDir::tempPath() + "/clipping-bkp-XXXXXX");
    QFile::setPermissions(pasta.path(), kTodos);
    QDir d(pasta.path());
    QVERIFY(d.mkpath("Vexildb"));
    QFile::setPermissions(d.filePath("Vexildb"), kTodos);
    const QString banco = d.filePath("Vexildb/Clippingdb.fdb");
    const QString local = "localhost:" + banco;
    db::criarBanco(local);
    {
        fb::Attachment a = fb::Attachment::connect(local, db::kUsuarioBanco, db::kSenhaBanco);
        fb::Transaction t(a);
        for (int i = 1; i <= 40; ++i)
            fb::Statement(t, QStringLiteral("insert into TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_OBS) values "
                                            "(%1, 'Nome %1', 'Observação %1')").arg(i)).execute();
        t.commit();
    }
    {
        QFile ini(d.filePath("BaseClipping.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write((local + "\r\n").toLocal8Bit());
    }
    DefinirPastaExecutavel(pasta.path());
    IniciarAplicacao();
    {
        msg::Roteiro semMensagens;
        QVERIFY(CriarModulosDados());
    }
    QCOMPARE(DMBanco->HostServidor, QStringLiteral("localhost"));
    const QDate hoje = QDate::currentDate();
    QVERIFY(d.mkpath("Copiadb/" + TFrmBackup::NomeDia(hoje)));
    QFile::setPermissions(d.filePath("Copiadb"), kTodos);
    QFile::setPermissions(TFrmBackup::PastaDia(hoje), kTodos);
    {
        msg::Roteiro roteiro;
        ChamadaExterna = 0;
        TFrmBackup tela;
        tela.show();
        tela.BBackup->click();
        QCOMPARE(roteiro.textos(), QStringList{QStringLiteral("Backup realizado com sucesso!")});
        // The service's verbose lines, as the server sent them.
        const QString linhas = tela.Memo1->toPlainText();
        QVERIFY2(linhas.contains(QLatin1String("TB_AGENDA")), qPrintable(linhas.left(400)));
        QVERIFY(linhas.count(QLatin1Char('\n')) > 20);
    }
    const QString arquivo = TFrmBackup::ArquivoBackup(hoje);
    QVERIFY(QFile::exists(arquivo));
    LiberarModulosDados();
    DefinirPastaExecutavel(QString());

    const QString restaurado = d.filePath("Vexildb/restaurado.fdb");
    QProcess gbak;
    gbak.start("gbak", {"-c", "-user", db::kUsuarioBanco, "-password", db::kSenhaBanco, arquivo,
                        "localhost:" + restaurado});
    QVERIFY(gbak.waitForFinished(60000));
    QVERIFY2(gbak.exitCode() == 0, gbak.readAllStandardError().constData());
    {
        fb::Attachment r = fb::Attachment::connect("localhost:" + restaurado, db::kUsuarioBanco, db::kSenhaBanco);
        QCOMPARE(contar(r, "TB_AGENDA"), 40);
        r.dropDatabase();
    }
    fb::Attachment::connect(local, db::kUsuarioBanco, db::kSenhaBanco).dropDatabase();
}

// The embedded engine's own exit handler can hang at process exit once every
// database is gone; the result is final by then.
int main(int argc, char** argv) {
    int r;
    {
        Aplicacao app(argc, argv);
        TstServidorBackup t;
        r = QTest::qExec(&t, argc, argv);
    }
    std::fflush(nullptr);
    std::_Exit(r);
}

#include "tst_servidor_backup.moc"

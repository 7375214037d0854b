#include "ServerDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/data/DataSet.h"
#include "platform/data/Query.h"
#include "platform/firebird/Statement.h"
#include "platform/firebird/Transaction.h"
#include "screens/base/U_Principal.h"
#include "screens/maintenance/U_Backup.h"
#include "screens/registers/U_Emissoras.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>

using testsupport::ServerDatabase;

namespace {

bool servidor(const char* comando) {
    return QProcess::execute(QStringLiteral("bash"),
                             {QStringLiteral(CLIP_SOURCE_DIR "/scripts/firebird-server.sh"), QLatin1String(comando)}) == 0;
}

template <class T>
T* telaAberta(TFrmPrincipal& w) {
    for (QMdiSubWindow* s : w.MDIArea->subWindowList())
        if (auto* t = qobject_cast<T*>(s->widget())) return t;
    return nullptr;
}

} // namespace

// The application connected to the server on 127.0.0.1 when the server
// goes away under it.
class TstServidorFalhas : public QObject {
    Q_OBJECT
private slots:
    void servidorParadoComAplicacaoConectada();
};

void TstServidorFalhas::servidorParadoComAplicacaoConectada() {
    auto srv = std::make_unique<ServerDatabase>();
    {
        fb::Attachment a = srv->connect();
        fb::Transaction t(a);
        fb::Statement(t, "insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'RADIO X')").execute();
        t.commit();
    }
    QTemporaryDir pasta;
    {
        QFile ini(pasta.filePath("BaseClipping.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write((srv->location() + "\r\n").toLocal8Bit());
    }
    DefinirPastaExecutavel(pasta.path());
    IniciarAplicacao();
    {
        msg::Roteiro semMensagens;
        QVERIFY(CriarModulosDados());
    }
    int encerrou = 0;
    TFrmPrincipal::Encerrar = [&] { ++encerrou; };
    TFrmBackup::Encerrar = [] {};
    auto principal = std::make_unique<TFrmPrincipal>();
    msg::Roteiro roteiro;
    principal->show();  // no employee: no login
    principal->Emissoras1->trigger();
    TFrmEmissoras* emissoras = telaAberta<TFrmEmissoras>(*principal);
    QVERIFY(emissoras);
    QCOMPARE(emissoras->Q_Emissoras->RecordCount(), 1);
    QVERIFY(roteiro.mensagens().isEmpty());

    QVERIFY(servidor("stop"));

    // Every database action from here reaches the handler with the
    // client's own text of the lost connection; the window stays usable.
    struct Acao {
        const char* nome;
        std::function<void()> fazer;
    };
    const Acao acoes[] = {
        {"novo registro", [&] { emissoras->SBNovo->click(); }},
        {"pesquisa", [&] { emissoras->EdPesquisa->setText(QStringLiteral("RADIO")); }},
        {"abrir outra tela", [&] { principal->Programas1->trigger(); }},
        {"abrir lançamentos", [&] { principal->Lanamentos1->trigger(); }},
        {"abrir pedidos", [&] { principal->ConsultarPedidos1->trigger(); }},
        {"abrir agenda", [&] { principal->AgendadeTelefones1->trigger(); }},
        {"verificar lembretes", [&] { TFrmPrincipal::VerificarLembretes(*principal); }},
        {"reabrir a primeira", [&] {
             emissoras->close();
             QTest::qWait(0);
             principal->Emissoras1->trigger();
         }},
    };
    for (const Acao& a : acoes) {
        roteiro.limpar();
        a.fazer();
        QTest::qWait(0);
        const QStringList textos = roteiro.textos();
        QVERIFY2(!textos.isEmpty(), a.nome);
        for (const QString& t : textos) {
            qInfo("%s: %s", a.nome, qPrintable(QString(t).replace('\r', ' ').replace('\n', ' ')));
            QVERIFY2(t.contains(QLatin1String("connection"), Qt::CaseInsensitive) ||
                         t.contains(QLatin1String("network"), Qt::CaseInsensitive),
                     qPrintable(QString::fromUtf8(a.nome) + ": " + t));
        }
        QVERIFY(principal->isVisible());
    }

    // Closing still ends the application, after the backup's failure.
    roteiro.limpar();
    principal->close();
    QCOMPARE(roteiro.textos().last(), QStringLiteral("Não foi possível efetuar o Backup!"));
    QCOMPARE(encerrou, 1);

    principal.reset();
    RemoverTratadorErros();
    DefinirJanelaPrincipal(nullptr);
    LiberarModulosDados();
    DefinirPastaExecutavel(QString());
    TFrmPrincipal::Encerrar = [] {};
    QVERIFY(servidor("start"));
    srv.reset();
}

// The embedded engine's own exit handler can hang at process exit once every
// database is gone; the result is final by then.
int main(int argc, char** argv) {
    int r;
    {
        Aplicacao app(argc, argv);
        TstServidorFalhas t;
        r = QTest::qExec(&t, argc, argv);
    }
    std::fflush(nullptr);
    std::_Exit(r);
}

#include "tst_servidor_falhas.moc"

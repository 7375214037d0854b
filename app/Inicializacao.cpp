#include "Inicializacao.h"
#include "U_DMBanco.h"
#include "U_Dm.h"

#include "common/Ambiente.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/DataSet.h"
#include "platform/firebird/Attachment.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QMainWindow>
#include <QScreen>
#include <QPointer>
#include <atomic>

void IniciarAplicacao() {
    DefinirTituloAplicacao(QStringLiteral("Zbvlo Clipping"));
    QCoreApplication::setApplicationName(QStringLiteral("Zbvlo Clipping"));
    // The toolkit's own dialogs and menus in Portuguese, when the
    // translations are installed.
    static QTranslator* traducao = nullptr;
    if (!traducao && QCoreApplication::instance()) {
        traducao = new QTranslator(QCoreApplication::instance());
        if (traducao->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qt"), QStringLiteral("_"),
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(traducao);
    }
}

bool CriarModulosDados() {
    LiberarModulosDados();
    DMBanco = new TDMBanco;
    // Every dataset that names no transaction of its own works in the one
    // transaction of the run.
    dataset::SetDefaultTransaction(&DMBanco->Trans_Clipping);
    try {
        DMBanco->DataModuleCreate();
    } catch (const EFalhaConexao&) {
        LiberarModulosDados();
        return false;
    } catch (const clip::EAbort&) {
    } catch (const std::exception& e) {
        ExibirErro(e);
    }
    DM = new TDM;
    return true;
}

void LiberarModulosDados() {
    delete DM;
    DM = nullptr;
    if (DMBanco && dataset::DefaultTransaction() == &DMBanco->Trans_Clipping)
        dataset::SetDefaultTransaction(nullptr);
    delete DMBanco;
    DMBanco = nullptr;
}

void PrepararJanelaPrincipal(QMainWindow* janela) {
    InstalarTratadorErros([] { return DMBanco ? DMBanco->UsuarioAtual : 0; });
    AplicarFormatosProcesso();
    DefinirJanelaPrincipal(janela);
}

namespace {
std::atomic<bool> encerradoPorSinal{false};
}

bool EncerradoPorSinal() { return encerradoPorSinal; }

int ExecutarAplicacao(const std::function<QMainWindow*()>& criarJanelaPrincipal) {
    IniciarAplicacao();
    if (!CriarModulosDados())
        return 1;
    // The window may release itself when it closes; QPointer sees that.
    QPointer<QMainWindow> janela;
    try {
        janela = criarJanelaPrincipal();
    } catch (const std::exception& e) {
        TratarExcecao(nullptr, e);
    }
    // A termination signal (the session ending, kill) ends the application
    // in order, every loop left and the connection released, without the
    // closing backup.
    fb::setTerminationHandler([] {
        encerradoPorSinal = true;
        QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    });
    int r = 1;
    if (janela) {
        // Without a window manager "maximised" is only a hint: fill the screen.
        if (QScreen* tela = janela->screen())
            janela->setGeometry(tela->availableGeometry());
        janela->showMaximized();
        r = QApplication::exec();
        delete janela.data();
    }
    DefinirJanelaPrincipal(nullptr);
    RemoverTratadorErros();
    LiberarModulosDados();
    fb::setTerminationHandler({});
    return r;
}

#include "Inicializacao.h"
#include "U_DMBanco.h"
#include "U_Dm.h"

#include "common/Ambiente.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"

#include <QApplication>
#include <QMainWindow>
#include <memory>

void IniciarAplicacao() {
    DefinirTituloAplicacao(QStringLiteral("Zbvlo Clipping"));
    QCoreApplication::setApplicationName(QStringLiteral("Zbvlo Clipping"));
}

bool CriarModulosDados() {
    LiberarModulosDados();
    DMBanco = new TDMBanco;
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
    delete DMBanco;
    DMBanco = nullptr;
}

void PrepararJanelaPrincipal(QMainWindow* janela) {
    InstalarTratadorErros([] { return DMBanco ? DMBanco->UsuarioAtual : 0; });
    AplicarFormatosProcesso();
    DefinirJanelaPrincipal(janela);
}

int ExecutarAplicacao(const std::function<QMainWindow*()>& criarJanelaPrincipal) {
    IniciarAplicacao();
    if (!CriarModulosDados())
        return 1;
    std::unique_ptr<QMainWindow> janela;
    try {
        janela.reset(criarJanelaPrincipal());
    } catch (const std::exception& e) {
        TratarExcecao(nullptr, e);
    }
    int r = 1;
    if (janela) {
        janela->showMaximized();
        r = QApplication::exec();
        janela.reset();
    }
    DefinirJanelaPrincipal(nullptr);
    RemoverTratadorErros();
    LiberarModulosDados();
    return r;
}

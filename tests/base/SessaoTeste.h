#pragma once

#include "support/TempDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "screens/base/U_BaseChild.h"
#include "security/UClassSeguranca.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <memory>

// A running session on a fresh database: DMBanco and DM created from the
// temporary executable folder, the rights check and the error handler
// installed, every message box answered by the script.
class SessaoTeste {
public:
    SessaoTeste() {
        DefinirPastaExecutavel(db.folder());
        roteiro = std::make_unique<msg::Roteiro>();
        ok = CriarModulosDados();
        DefinirVerificadorAcesso(
            [](int tela, const QString& campo) { return VerificarAcessoSessao(tela, campo, true); });
        InstalarTratadorErros([] { return DMBanco ? DMBanco->UsuarioAtual : 0; });
    }
    ~SessaoTeste() {
        RemoverTratadorErros();
        DefinirVerificadorAcesso({});
        LiberarModulosDados();
        roteiro.reset();
        DefinirPastaExecutavel(QString());
    }

    // An employee logged in with these rights on screen tela.
    void entrar(int usuario, int tela, int incluir, int alterar, int excluir) {
        db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (%1, 'USUARIO %1', 0)")
                    .arg(usuario));
        db.exec(QStringLiteral("insert into TB_DIREITOS (DIR_CODIGO, USU_CODIGO, TEL_MODULO, TEL_CODIGO, DIR_ACESSO, "
                               "DIR_INCLUIR, DIR_ALTERAR, DIR_EXCLUIR, DIR_RELATORIO) values "
                               "(gen_id(GEN_DIREITOS, 1), %1, 0, %2, 1, %3, %4, %5, 0)")
                    .arg(usuario)
                    .arg(tela)
                    .arg(incluir)
                    .arg(alterar)
                    .arg(excluir));
        DMBanco->UsuarioAtual = usuario;
        DMBanco->PerfilAtual = 0;
    }

    // Shows w as the active window.
    static bool mostrar(QWidget* w) {
        w->show();
        w->activateWindow();
        return QTest::qWaitForWindowExposed(w) && QTest::qWaitForWindowActive(w);
    }

    // Lets closed screens be destroyed.
    static void liberarFechadas() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static void clicar(QWidget* tela, const char* nome) {
        auto* b = tela->findChild<QAbstractButton*>(QLatin1String(nome));
        QVERIFY2(b, nome);
        b->click();
    }

    testsupport::TempDatabase db;
    std::unique_ptr<msg::Roteiro> roteiro;
    bool ok = false;
};

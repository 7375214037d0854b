#pragma once

#include "support/TempDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/U_Funcoes.h"
#include "screens/base/U_BaseChild.h"

#include <QMainWindow>
#include <QMdiArea>
#include <memory>

// A session on a fresh database: DMBanco and DM connected to it, a main
// window with its MDI area for the launcher, the error handler installed,
// two stations with their programs and two employees.
//   stations 1 "RADIO X" (programs 10 "JORNAL Y", 11 "ESPORTE"), 2 "TV Z"
//   (program 20 "NOTICIAS Z"); employees 7 "Ana", 8 "Bruno"; user 7.
struct Sessao {
    testsupport::TempDatabase db;
    std::unique_ptr<QMainWindow> janela;

    Sessao() {
        DefinirPastaExecutavel(db.folder());
        IniciarAplicacao();
        CriarModulosDados();
        janela = std::make_unique<QMainWindow>();
        janela->setCentralWidget(new QMdiArea);
        PrepararJanelaPrincipal(janela.get());
        db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME) values (7, 'Ana')");
        db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME) values (8, 'Bruno')");
        db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'RADIO X')");
        db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (2, 'TV Z')");
        db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (10, 'JORNAL Y', 1)");
        db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (11, 'ESPORTE', 1)");
        db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (20, 'NOTICIAS Z', 2)");
        DMBanco->UsuarioAtual = 7;
        // The user may do everything unless a test says otherwise.
        DefinirVerificadorAcesso([](int, const QString&) { return true; });
    }
    ~Sessao() {
        DefinirVerificadorAcesso(nullptr);
        RemoverTratadorErros();
        DefinirJanelaPrincipal(nullptr);
        janela.reset();
        LiberarModulosDados();
        DefinirPastaExecutavel(QString());
    }

    // An entry written with plain SQL.
    void lancamento(int codigo, const QString& data, const QString& hora, int emissora, int programa,
                    const QString& funcionario, const QString& assunto) {
        db.exec(QStringLiteral("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, LAN_HORA, EMI_CODIGO, PRG_CODIGO, "
                               "FUN_CODIGO, LAN_ASSUNTO, LAN_TIPO, LAN_TEMPO, LAN_CODLANCAMENTO) values "
                               "(%1, '%2', '%3', %4, %5, %6, '%7', 'A', '00:01:00', 'F%1')")
                    .arg(codigo)
                    .arg(data, hora)
                    .arg(emissora)
                    .arg(programa)
                    .arg(funcionario, QString(assunto).replace("'", "''")));
    }
};

#pragma once

#include "support/TempDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/Ambiente.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "common/Aplicacao.h"

#include <QLocale>
#include <QTest>
#include <memory>

// A fresh database with the session of a started application on it:
// DMBanco and DM created against the temporary executable folder.
class SessaoTeste {
public:
    SessaoTeste() {
        DefinirPastaExecutavel(db.folder());
        msg::Roteiro semMensagens;
        IniciarAplicacao();
        ok = CriarModulosDados();
    }
    ~SessaoTeste() {
        LiberarModulosDados();
        RemoverTratadorErros();
        DefinirJanelaPrincipal(nullptr);
        DefinirPastaExecutavel(QString());
        QLocale::setDefault(QLocale::c());
    }

    // An employee (FUN_TIPO 0) or profile (FUN_TIPO 1) row; a null perfil
    // leaves FUN_PERFILACESSO NULL.
    void funcionario(int codigo, const QString& login, const QString& senha, int tipo = 0,
                     const QVariant& perfil = QVariant()) {
        db.exec(QStringLiteral("INSERT INTO TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO, FUN_LOGIN, FUN_SENHA, "
                               "FUN_PERFILACESSO) VALUES (%1, 'Pessoa %1', %2, '%3', '%4', %5)")
                    .arg(codigo)
                    .arg(tipo)
                    .arg(QString(login).replace('\'', "''"), CodificarSenha(senha).replace('\'', "''"),
                         perfil.isNull() ? QStringLiteral("NULL") : QString::number(perfil.toInt())));
    }
    void direito(int dono, int tela, int acesso = 1, int incluir = 1, int alterar = 1, int excluir = 1,
                 int relatorio = 1) {
        db.exec(QStringLiteral("INSERT INTO TB_DIREITOS (DIR_CODIGO, USU_CODIGO, TEL_MODULO, TEL_CODIGO, DIR_ACESSO, "
                               "DIR_INCLUIR, DIR_ALTERAR, DIR_EXCLUIR, DIR_RELATORIO) VALUES "
                               "(gen_id(GEN_DIREITOS, 1), %1, 0, %2, %3, %4, %5, %6, %7)")
                    .arg(dono).arg(tela).arg(acesso).arg(incluir).arg(alterar).arg(excluir).arg(relatorio));
    }

    testsupport::TempDatabase db;
    bool ok = false;
};

#pragma once

#include "support/TempDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/U_Funcoes.h"

#include <QCoreApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QStringList>
#include <memory>

// A started session on a fresh database: DMBanco and DM, a main window with
// its MDI area for the launcher, the error handler installed, nobody logged
// in (every rights check passes). Each register holds one row whose text is
// hostile SQL and one plain row:
//   employees 7 (hostile) and 8 "BRASIL", sellers 1 and 2 of them;
//   clients, stations 1 and 2; programs 10 (station 1) and 20 (station 2);
//   entries 1 (hostile subject, employee 7) and 2 ("BRASIL", employee 8);
//   orders 1 (client 1, seller 1) and 2 (client 2, seller 2);
//   agenda contacts 1 (hostile) and 2 "BRASIL".
struct SessaoHostil {
    static QString hostil() { return QStringLiteral("D'ÁGUA '; DELETE FROM TB_LANCAMENTO; -- 50%_X"); }

    testsupport::TempDatabase db;
    std::unique_ptr<QMainWindow> janela;

    SessaoHostil() {
        DefinirPastaExecutavel(db.folder());
        IniciarAplicacao();
        CriarModulosDados();
        janela = std::make_unique<QMainWindow>();
        janela->setCentralWidget(new QMdiArea);
        PrepararJanelaPrincipal(janela.get());
        const QString h = QString(hostil()).replace('\'', "''");
        db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (7, '%1', 0)").arg(h));
        db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (8, 'BRASIL', 0)");
        db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO, VEN_COMISSAO) values (1, 7, 5)");
        db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO, VEN_COMISSAO) values (2, 8, 5)");
        db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_PESSOA) values (1, '%1', 'J')").arg(h));
        db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_PESSOA) values (2, 'BRASIL', 'J')");
        db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, CLI_CODIGO, VEN_CODIGO) values (1, 1, 1, 1)");
        db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, CLI_CODIGO, VEN_CODIGO) values (2, 2, 2, 2)");
        db.exec(QStringLiteral("insert into TB_AGENDA (AGE_CODIGO, AGE_NOME) values (1, '%1')").arg(h));
        db.exec("insert into TB_AGENDA (AGE_CODIGO, AGE_NOME) values (2, 'BRASIL')");
        db.exec(QStringLiteral("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, '%1')").arg(h));
        db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (2, 'BRASIL')");
        db.exec(QStringLiteral("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (10, '%1', 1)").arg(h));
        db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (20, 'BRASIL', 2)");
        db.exec(QStringLiteral("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, LAN_HORA, LAN_TEMPO, EMI_CODIGO, "
                               "PRG_CODIGO, FUN_CODIGO, LAN_ASSUNTO, LAN_TIPO, LAN_CODLANCAMENTO) values "
                               "(1, '2008-03-05', '14:37:20', '00:01:00', 1, 10, 7, '%1', 'A', 'X''; DROP --')")
                    .arg(h));
        db.exec("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, LAN_HORA, LAN_TEMPO, EMI_CODIGO, PRG_CODIGO, "
                "FUN_CODIGO, LAN_ASSUNTO, LAN_TIPO, LAN_CODLANCAMENTO) values "
                "(2, '2008-03-06', '09:00:00', '00:02:00', 2, 20, 8, 'BRASIL', 'A', 'F2')");
    }
    ~SessaoHostil() {
        RemoverTratadorErros();
        DefinirJanelaPrincipal(nullptr);
        janela.reset();
        LiberarModulosDados();
        DefinirPastaExecutavel(QString());
    }

    // Every table's row count and a digest of its rows' text, to show that
    // nothing was written.
    QStringList retrato() {
        static const char* const tabelas[] = {
            "TB_FUNCIONARIOS", "TB_DIREITOS", "TB_EMPRESA",   "TB_CLIENTES", "TB_EMISSORAS",
            "TB_PROGRAMAS",    "TB_LANCAMENTO", "TB_VENDEDORES", "TB_MIDIAS", "TB_FORMAPAGAMENTO",
            "TB_PRAZOS",       "TB_PEDIDO",   "TB_ITENSPEDIDO", "TB_AGENDA",  "TB_LEMBRETES"};
        QStringList r;
        for (const char* t : tabelas) r << QStringLiteral("%1=%2").arg(QLatin1String(t)).arg(db.count(QLatin1String(t)));
        for (const char* sql : {"select list(CLI_CODIGO || ':' || coalesce(CLI_NOME, '')) from TB_CLIENTES",
                                "select list(LAN_CODIGO || ':' || coalesce(LAN_ASSUNTO, '')) from TB_LANCAMENTO",
                                "select list(FUN_CODIGO || ':' || coalesce(FUN_NOME, '')) from TB_FUNCIONARIOS",
                                "select list(EMI_CODIGO || ':' || coalesce(EMI_NOME, '')) from TB_EMISSORAS",
                                "select list(PRG_CODIGO || ':' || coalesce(PRG_NOME, '')) from TB_PROGRAMAS",
                                "select list(AGE_CODIGO || ':' || coalesce(AGE_NOME, '')) from TB_AGENDA",
                                "select list(LEM_CODIGO || ':' || coalesce(LEM_DATA, '') || ' ' || coalesce(LEM_HORA, '') "
                                "|| ':' || coalesce(LEM_MENSAGEM, '')) from TB_LEMBRETES"})
            r << db.scalar(QLatin1String(sql)).toString();
        return r;
    }
};

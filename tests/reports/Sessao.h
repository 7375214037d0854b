#pragma once

#include "support/TempDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/U_Funcoes.h"

#include <QDir>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <memory>

// A started session on a fresh database, with the report templates of the
// system in the executable folder's Relatorios/ and the company record
// written before the start (it is read once, at start-up).
struct SessaoRelatorios {
    testsupport::TempDatabase db;
    std::unique_ptr<QMainWindow> janela;
    bool ok = false;

    explicit SessaoRelatorios(bool comJanela = true) {
        const QDir origem(QStringLiteral(MODELOS_DIR));
        for (const QString& f : origem.entryList({QStringLiteral("*.rtm")}, QDir::Files))
            QFile::copy(origem.filePath(f), QDir(db.folder()).filePath(QStringLiteral("Relatorios/") + f));
        db.exec("insert into TB_EMPRESA (EMP_CODIGO, EMP_NOME, EMP_NOMECOMPLETO, EMP_ENDERECOCOMPLETO, EMP_CIDADEUF, "
                "EMP_FONE) values (1, 'Zbvlo', 'Zbvlo Monitoramento Ltda - Zbvlo', 'Rua das Antenas, 100 - Centro - "
                "CEP: 80.000-000', 'Curitiba - PR', '(41) 3333-4444')");
        DefinirPastaExecutavel(db.folder());
        IniciarAplicacao();
        ok = CriarModulosDados();
        if (comJanela) {
            janela = std::make_unique<QMainWindow>();
            janela->setCentralWidget(new QMdiArea);
            PrepararJanelaPrincipal(janela.get());
        }
    }
    ~SessaoRelatorios() {
        RemoverTratadorErros();
        DefinirJanelaPrincipal(nullptr);
        janela.reset();
        LiberarModulosDados();
        DefinirPastaExecutavel(QString());
    }

    QString modelo(const QString& nome) const {
        return QDir(db.folder()).filePath(QStringLiteral("Relatorios/") + nome);
    }
};

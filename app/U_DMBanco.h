#pragma once

#include "platform/core/Exception.h"
#include "platform/firebird/Attachment.h"
#include "platform/firebird/Transaction.h"

#include <QObject>
#include <QString>
#include <QStringList>

namespace skin { class SkinData; }
namespace dataset { class DataSet; class Query; class UpdateSql; class DataSource; class TableDataset; }

// The connection could not be opened; the message has been shown and the
// application ends.
class EFalhaConexao : public clip::Exception {
public:
    using clip::Exception::Exception;
    QString className() const override { return QStringLiteral("EFalhaConexao"); }
};

// The connection data module: the one connection and transaction of the
// process, the skin component, the company record and the session values.
class TDMBanco : public QObject {
    Q_OBJECT
public:
    explicit TDMBanco(QObject* parent = nullptr);
    ~TDMBanco() override;

    // The creation step: skin from Skin.ini, database name from
    // BaseClipping.ini, connection, HostServidor, ModuloAtual, company record.
    // Throws EFalhaConexao (after showing the connection message) when the
    // database cannot be opened.
    void DataModuleCreate();

    // Next value of the generator (the name goes into the statement as it
    // is); a generator standing below 1 still yields 1, advanced once.
    int ProximoCodigo(const QString& gerador);
    // Highest order number plus 1; 1 when there are no orders.
    int ProximoNumeroPedido();

    // Database location as BaseClipping.ini gives it: its first line without
    // surrounding blanks and control characters.
    static QString LocalizacaoBanco(const QStringList& linhas);
    // The whole text of the lines (each ended by CR LF) up to its first ":".
    static QString CalcularHostServidor(const QStringList& linhas);
    // The lines of a text file (CR LF, LF or CR ends); empty when the file
    // cannot be read.
    static QStringList LerLinhas(const QString& arquivo);

    skin::SkinData* sd1;
    fb::Attachment DB_Clipping;
    fb::Transaction Trans_Clipping;
    QString NomeBanco;  // database name of DB_Clipping

    // Session values.
    int ModuloAtual = 0;
    int UsuarioAtual = 0;
    int PerfilAtual = 0;
    QString HostServidor;
    int PedidoAtual = 0;

    // Login and rights datasets, on Trans_Clipping. Q_Usuarios stays open on
    // the logged-in user's row; Q_Direitos caches its updates (Up_Direitos)
    // and gets DIR_CODIGO from GEN_DIREITOS.
    dataset::Query* Q_Usuarios = nullptr;
    dataset::Query* Q_Direitos = nullptr;
    dataset::UpdateSql* Up_Direitos = nullptr;
    dataset::DataSource* DS_Direitos = nullptr;

    // The access profiles (TB_FUNCIONARIOS rows with FUN_TIPO = 1), cached
    // and written through Up_PerfilAcesso; FUN_CODIGO from GEN_FUNCIONARIOS;
    // applied and committed with retaining after every post and delete.
    dataset::Query* Q_PerfilAcesso = nullptr;
    dataset::UpdateSql* Up_PerfilAcesso = nullptr;
    void Q_PerfilAcessoAfterDelete(dataset::DataSet& ds);

    // The company record, opened by the creation step and kept open. Every
    // post composes EMP_NOMECOMPLETO, EMP_ENDERECOCOMPLETO, EMP_CIDADEUF and
    // EMP_EMAILWEB from the other columns (TB_EmpresaBeforePost).
    dataset::TableDataset* TB_Empresa = nullptr;
    void TB_EmpresaBeforePost(dataset::DataSet& ds);

private:
    void AplicarSkin();
    void CriarDatasetsSeguranca();
    void CriarDatasetsCadastro();
    void Conectar();
};

extern TDMBanco* DMBanco;

#pragma once

#include <QObject>
#include <QString>

namespace dataset { class DataSet; class DataSource; class Query; class TableDataset; class UpdateSql; }

// The shared data module: datasets that several screens share (entries,
// orders, agenda, reminders, lookup registers), all on DMBanco's connection
// and transaction and closed at start. Each dataset, with its SQL, fields and
// event rules, is added by the module that owns it; creating TDM runs
// nothing.
class TDM : public QObject {
    Q_OBJECT
public:
    explicit TDM(QObject* parent = nullptr);
    ~TDM() override;

    // Clipping entries: the entry register's dataset (cached, written through
    // Up_Lancamento, key from GEN_LANCAMENTO, FUN_CODIGO from UsuarioAtual,
    // the program checked against the station before every post, applied and
    // committed with retaining after every post and delete).
    dataset::Query* Q_Lancamento;
    dataset::UpdateSql* Up_Lancamento;
    void Q_LancamentoNewRecord(dataset::DataSet& ds);
    void Q_LancamentoBeforePost(dataset::DataSet& ds);
    void Q_LancamentoAfterPost(dataset::DataSet& ds);
    void Q_LancamentoAfterDelete(dataset::DataSet& ds);

    // Birthdays of the day among agenda contacts and employees: columns NOME
    // and FONE; integer parameters AGE_DIA, AGE_MES, FUN_DIA, FUN_MES.
    dataset::Query* Q_Aniversariantes;

    // Employees (every row that is not an access profile): whether a login
    // is asked at all.
    dataset::Query* Q_Funcionarios;

    // Copies a client's contact data into the phone agenda: parameters NOME,
    // FONE, FAX, CELULAR, ENDERECO, CIDADE, UF, CEP, EMAIL, WEB, OBS, BAIRRO
    // and ACAO ("I" inserted, "A" altered); run with ExecSQL.
    dataset::Query* Proc_Cliente_Agenda;
    // The client last confirmed in the clients picker; 0 until then.
    int ClienteEscolhido = 0;
    // True when a client exists whose upper-cased name, city and state equal
    // the given texts (a NULL column never equals one).
    bool ClienteCadastrado(const QString& nome, const QString& cidade, const QString& uf);

    // Lookup registers shared with the order form: media, payment forms and
    // payment terms. Cached, keys from their generators, applied and committed
    // with retaining after every post and delete; Q_Prazo's lookup field
    // FORMAPAGAMENTO is the FPG_DESCRICAO of Q_FormaPagto for the term.
    dataset::Query* Q_Midias;
    dataset::UpdateSql* Up_Midias;
    dataset::Query* Q_FormaPagto;
    dataset::UpdateSql* Up_FormaPagto;
    dataset::Query* Q_Prazo;
    dataset::UpdateSql* Up_Prazo;
    void Q_MidiasAfterPost(dataset::DataSet& ds);
    void Q_FormaPagtoAfterPost(dataset::DataSet& ds);
    void Q_PrazoAfterPost(dataset::DataSet& ds);
    void CriarCadastrosPedido();

    // Sales orders: Q_Pedido (every order, written through Up_Pedido over
    // the sixteen columns of TB_PEDIDO; a new row gets its code from
    // GEN_PEDIDO, which also becomes PedidoAtual, the next order number and
    // PED_PAGO 0), its items Q_ItensPedido (detail of DS_Pedido, deleted
    // through Up_ItensPedido) and TB_ItensPedido (the table linked to
    // DS_Pedido by PED_CODIGO, for appending items). Each writes and commits
    // with retaining after every post and delete.
    dataset::Query* Q_Pedido;
    dataset::UpdateSql* Up_Pedido;
    dataset::DataSource* DS_Pedido;
    dataset::Query* Q_ItensPedido;
    dataset::UpdateSql* Up_ItensPedido;
    dataset::DataSource* DS_ItensPedido;
    dataset::TableDataset* TB_ItensPedido;
    void Q_PedidoAfterInsert(dataset::DataSet& ds);
    void Q_PedidoAfterPost(dataset::DataSet& ds);
    void Q_ItensPedidoAfterPost(dataset::DataSet& ds);
    void TB_ItensPedidoAfterPost(dataset::DataSet& ds);
    void CriarPedidos();

    // Reminders of this workstation: Q_CadLembretes lists those with
    // LEM_IP = :IP (set from ObterIPLocal before every opening), Q_Lembretes
    // the due ones (:DATAEHORA and :IP set by the reminder check). Both are
    // cached, written through the same statements, keyed from GEN_LEMBRETES,
    // checked before every post (a readable date and an hh:mm time) and
    // applied and committed with retaining after every post and delete.
    dataset::Query* Q_CadLembretes;
    dataset::UpdateSql* Up_CadLembretes;
    dataset::Query* Q_Lembretes;
    dataset::UpdateSql* Up_Lembretes;
    void Q_CadLembretesBeforeOpen(dataset::DataSet& ds);
    void Q_CadLembretesBeforePost(dataset::DataSet& ds);
    void Q_CadLembretesAfterPost(dataset::DataSet& ds);
    void CriarLembretes();

    // Phone agenda: every contact of TB_AGENDA, by name, until a search
    // replaces the statement. Cached, written through Up_Agenda over the
    // seventeen columns, keyed from GEN_AGENDA, the birthday checked before
    // every post (a day the month has, day and month both or neither) and
    // applied and committed with retaining after every post and delete.
    dataset::Query* Q_Agenda;
    dataset::UpdateSql* Up_Agenda;
    void Q_AgendaBeforePost(dataset::DataSet& ds);
    void Q_AgendaAfterPost(dataset::DataSet& ds);
    void CriarAgenda();
};

extern TDM* DM;

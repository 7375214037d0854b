#include "U_Dm.h"

#include <QStringList>

#include "app/U_DMBanco.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/Field.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/TableDataset.h"
#include "platform/firebird/Transaction.h"

TDM* DM = nullptr;

TDM::TDM(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DM"));

    // Clipping entries.
    Q_Lancamento = new dataset::Query(this);
    Q_Lancamento->setObjectName(QStringLiteral("Q_Lancamento"));
    Up_Lancamento = new dataset::UpdateSql(this);
    Up_Lancamento->setObjectName(QStringLiteral("Up_Lancamento"));
    if (DMBanco)
        Q_Lancamento->SetTransaction(&DMBanco->Trans_Clipping);
    Q_Lancamento->SQL.Add(QStringLiteral("Select first(1) * from Tb_lancamento"));
    Q_Lancamento->CachedUpdates = true;
    Q_Lancamento->UpdateObject = Up_Lancamento;
    Q_Lancamento->SetGeneratorField(QStringLiteral("LAN_CODIGO"), QStringLiteral("GEN_LANCAMENTO"), 1);
    {
        using dataset::FieldType;
        Q_Lancamento->DefineField(QStringLiteral("LAN_CODIGO"), FieldType::Integer)->Required = true;
        auto* data = Q_Lancamento->DefineField(QStringLiteral("LAN_DATA"), FieldType::DateTime);
        data->Required = true;
        data->EditMask = QStringLiteral("!99/99/9900;1;_");
        data->DisplayFormat = QStringLiteral("dd/mm/yyyy");
        Q_Lancamento->DefineField(QStringLiteral("LAN_HORA"), FieldType::String, 8)->EditMask =
            QStringLiteral("!90:00:00;1;_");
        Q_Lancamento->DefineField(QStringLiteral("LAN_TEMPO"), FieldType::String, 8)->EditMask =
            QStringLiteral("!90:00:00;1;_");
        Q_Lancamento->DefineField(QStringLiteral("LAN_TIPO"), FieldType::String, 1);
        Q_Lancamento->DefineField(QStringLiteral("EMI_CODIGO"), FieldType::Integer)->Required = true;
        Q_Lancamento->DefineField(QStringLiteral("PRG_CODIGO"), FieldType::Integer)->Required = true;
        Q_Lancamento->DefineField(QStringLiteral("FUN_CODIGO"), FieldType::Integer);
        Q_Lancamento->DefineField(QStringLiteral("LAN_VELOCIDADE"), FieldType::String, 2);
        Q_Lancamento->DefineField(QStringLiteral("LAN_CODLANCAMENTO"), FieldType::String, 15);
        Q_Lancamento->DefineField(QStringLiteral("LAN_ASSUNTO"), FieldType::String, 1024);
        Q_Lancamento->DefineField(QStringLiteral("LAN_BLOCO"), FieldType::String, 25);
        Q_Lancamento->DefineField(QStringLiteral("LAN_CHECKED"), FieldType::String, 1);
    }
    Up_Lancamento->InsertSQL.Add(QStringLiteral(
        "insert into TB_LANCAMENTO (EMI_CODIGO, FUN_CODIGO, LAN_ASSUNTO, LAN_CODIGO, LAN_CODLANCAMENTO, LAN_DATA, "
        "LAN_HORA, LAN_TEMPO, LAN_TIPO, LAN_VELOCIDADE, PRG_CODIGO)"));
    Up_Lancamento->InsertSQL.Add(QStringLiteral(
        "values (:EMI_CODIGO, :FUN_CODIGO, :LAN_ASSUNTO, :LAN_CODIGO, :LAN_CODLANCAMENTO, :LAN_DATA, :LAN_HORA, "
        ":LAN_TEMPO, :LAN_TIPO, :LAN_VELOCIDADE, :PRG_CODIGO)"));
    Up_Lancamento->ModifySQL.Add(QStringLiteral("update TB_LANCAMENTO"));
    Up_Lancamento->ModifySQL.Add(QStringLiteral(
        "set EMI_CODIGO = :EMI_CODIGO, FUN_CODIGO = :FUN_CODIGO, LAN_ASSUNTO = :LAN_ASSUNTO, "
        "LAN_CODIGO = :LAN_CODIGO, LAN_CODLANCAMENTO = :LAN_CODLANCAMENTO, LAN_DATA = :LAN_DATA, "
        "LAN_HORA = :LAN_HORA, LAN_TEMPO = :LAN_TEMPO, LAN_TIPO = :LAN_TIPO, LAN_VELOCIDADE = :LAN_VELOCIDADE, "
        "PRG_CODIGO = :PRG_CODIGO"));
    Up_Lancamento->ModifySQL.Add(QStringLiteral("where LAN_CODIGO = :OLD_LAN_CODIGO"));
    Up_Lancamento->DeleteSQL.Add(QStringLiteral("delete from TB_LANCAMENTO"));
    Up_Lancamento->DeleteSQL.Add(QStringLiteral("where LAN_CODIGO = :OLD_LAN_CODIGO"));
    Up_Lancamento->RefreshSQL.Add(QStringLiteral(
        "Select EMI_CODIGO, FUN_CODIGO, LAN_ASSUNTO, LAN_BLOCO, LAN_CHECKED, LAN_CODIGO, LAN_CODLANCAMENTO, "
        "LAN_DATA, LAN_HORA, LAN_TEMPO, LAN_TIPO, LAN_VELOCIDADE, PRG_CODIGO"));
    Up_Lancamento->RefreshSQL.Add(QStringLiteral("from TB_LANCAMENTO"));
    Up_Lancamento->RefreshSQL.Add(QStringLiteral("where LAN_CODIGO = :LAN_CODIGO"));
    Q_Lancamento->OnNewRecord = [this](dataset::DataSet& ds) { Q_LancamentoNewRecord(ds); };
    Q_Lancamento->BeforePost = [this](dataset::DataSet& ds) { Q_LancamentoBeforePost(ds); };
    Q_Lancamento->AfterPost = [this](dataset::DataSet& ds) { Q_LancamentoAfterPost(ds); };
    Q_Lancamento->AfterDelete = [this](dataset::DataSet& ds) { Q_LancamentoAfterDelete(ds); };

    // Birthdays of the day.
    Q_Aniversariantes = new dataset::Query(this);
    Q_Aniversariantes->setObjectName(QStringLiteral("Q_Aniversariantes"));
    if (DMBanco)
        Q_Aniversariantes->SetTransaction(&DMBanco->Trans_Clipping);
    Q_Aniversariantes->SQL.Add(QStringLiteral("SELECT AGE_NOME AS NOME, AGE_TELEFONE AS FONE FROM TB_AGENDA"));
    Q_Aniversariantes->SQL.Add(QStringLiteral("WHERE AGE_DIAANIVERSARIO = :AGE_DIA AND AGE_MESANIVERSARIO = :AGE_MES"));
    Q_Aniversariantes->SQL.Add(QStringLiteral("UNION ALL"));
    Q_Aniversariantes->SQL.Add(QStringLiteral("SELECT FUN_NOME AS NOME, FUN_FONE AS FONE FROM TB_FUNCIONARIOS"));
    Q_Aniversariantes->SQL.Add(QStringLiteral("WHERE FUN_DIAANIVERSARIO = :FUN_DIA AND FUN_MESANIVERSARIO = :FUN_MES"));
    Q_Aniversariantes->SQL.Add(QString());
    Q_Aniversariantes->ReadOnly = true;

    // Employees, for the login.
    Q_Funcionarios = new dataset::Query(this);
    Q_Funcionarios->setObjectName(QStringLiteral("Q_Funcionarios"));
    if (DMBanco)
        Q_Funcionarios->SetTransaction(&DMBanco->Trans_Clipping);
    Q_Funcionarios->SQL.Add(QStringLiteral("SELECT * FROM TB_Funcionarios where FUN_TIPO <> 1"));
    Q_Funcionarios->ReadOnly = true;

    // Clients into the phone agenda.
    Proc_Cliente_Agenda = new dataset::Query(this);
    Proc_Cliente_Agenda->setObjectName(QStringLiteral("Proc_Cliente_Agenda"));
    if (DMBanco)
        Proc_Cliente_Agenda->SetTransaction(&DMBanco->Trans_Clipping);
    Proc_Cliente_Agenda->SQL.Add(QStringLiteral("EXECUTE PROCEDURE PROC_CLIENTE_AGENDA(:NOME, :FONE, :FAX, :CELULAR, "
                                                ":ENDERECO, :CIDADE, :UF, :CEP, :EMAIL, :WEB, :OBS, :BAIRRO, :ACAO)"));

    CriarCadastrosPedido();
    CriarPedidos();
    CriarLembretes();
    CriarAgenda();
}

bool TDM::ClienteCadastrado(const QString& nome, const QString& cidade, const QString& uf) {
    dataset::Query q;
    if (DMBanco)
        q.SetTransaction(&DMBanco->Trans_Clipping);
    q.SQL.Add(QStringLiteral("Select Cli_Nome, Cli_Cidade, Cli_Estado from TB_Clientes"));
    q.SQL.Add(QStringLiteral("Where Upper(Cli_Nome) = :Nome and Upper(Cli_Cidade) = :Cidade and Upper(Cli_Estado) = :UF"));
    q.ParamByName(QStringLiteral("Nome"))->SetAsString(nome);
    q.ParamByName(QStringLiteral("Cidade"))->SetAsString(cidade);
    q.ParamByName(QStringLiteral("UF"))->SetAsString(uf);
    q.Open();
    const bool achou = !q.IsEmpty();
    q.Close();
    return achou;
}

void TDM::Q_LancamentoNewRecord(dataset::DataSet& ds) {
    ds.FieldByName(QStringLiteral("FUN_CODIGO"))->SetAsInteger(DMBanco ? DMBanco->UsuarioAtual : 0);
}

void TDM::Q_LancamentoBeforePost(dataset::DataSet& ds) {
    dataset::Query q;
    q.SetTransaction(ds.Transaction());
    q.SQL.Add(QStringLiteral("Select prg_codigo from TB_Programas"));
    q.SQL.Add(QStringLiteral("Where Emi_Codigo = :emissora and prg_codigo = :programa"));
    q.ParamByName(QStringLiteral("emissora"))->SetValue(ds.FieldByName(QStringLiteral("EMI_CODIGO"))->Value());
    q.ParamByName(QStringLiteral("programa"))->SetValue(ds.FieldByName(QStringLiteral("PRG_CODIGO"))->Value());
    q.Open();
    if (q.IsEmpty()) {
        msg::Informar(QStringLiteral("É necessário informar o nome do programa!"));
        clip::Abort();
    }
}

void TDM::Q_LancamentoAfterPost(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    ds.Transaction()->commitRetaining();
}

void TDM::Q_LancamentoAfterDelete(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    ds.Transaction()->commitRetaining();
}

// Media, payment forms and terms.
namespace {
dataset::Query* cadastro(TDM* dm, const char* nome, const QString& tabela, const QString& chave,
                         const QString& gerador, const QStringList& colunas, dataset::UpdateSql*& up,
                         const char* nomeUp) {
    up = new dataset::UpdateSql(dm);
    up->setObjectName(QLatin1String(nomeUp));
    QStringList params, sets;
    for (const QString& c : colunas) {
        params << QStringLiteral(":") + c;
        sets << c + QStringLiteral(" = :") + c;
    }
    up->InsertSQL.Add(QStringLiteral("insert into ") + tabela);
    up->InsertSQL.Add(QStringLiteral("(") + colunas.join(QStringLiteral(", ")) + QStringLiteral(")"));
    up->InsertSQL.Add(QStringLiteral("values"));
    up->InsertSQL.Add(QStringLiteral("(") + params.join(QStringLiteral(", ")) + QStringLiteral(")"));
    up->ModifySQL.Add(QStringLiteral("update ") + tabela);
    up->ModifySQL.Add(QStringLiteral("set"));
    up->ModifySQL.Add(sets.join(QStringLiteral(", ")));
    up->ModifySQL.Add(QStringLiteral("where"));
    up->ModifySQL.Add(chave + QStringLiteral(" = :OLD_") + chave);
    up->DeleteSQL.Add(QStringLiteral("delete from ") + tabela);
    up->DeleteSQL.Add(QStringLiteral("where"));
    up->DeleteSQL.Add(chave + QStringLiteral(" = :OLD_") + chave);
    up->RefreshSQL.Add(QStringLiteral("Select ") + colunas.join(QStringLiteral(", ")));
    up->RefreshSQL.Add(QStringLiteral("from ") + tabela);
    up->RefreshSQL.Add(QStringLiteral("where ") + chave + QStringLiteral(" = :") + chave);

    auto* q = new dataset::Query(dm);
    q->setObjectName(QLatin1String(nome));
    if (DMBanco)
        q->SetTransaction(&DMBanco->Trans_Clipping);
    q->SQL.Add(QStringLiteral("SELECT * FROM ") + tabela);
    q->CachedUpdates = true;
    q->ForcedRefresh = true;
    q->UpdateObject = up;
    q->SetGeneratorField(chave, gerador);
    return q;
}
} // namespace

void TDM::CriarCadastrosPedido() {
    using dataset::FieldType;
    Q_Midias = cadastro(this, "Q_Midias", QStringLiteral("TB_MIDIAS"), QStringLiteral("MID_CODIGO"),
                        QStringLiteral("GEN_MIDIAS"),
                        {QStringLiteral("MID_CODIGO"), QStringLiteral("MID_DESCRICAO"), QStringLiteral("MID_VALOR")},
                        Up_Midias, "Up_Midias");
    Q_Midias->DefineField(QStringLiteral("MID_DESCRICAO"), FieldType::String, 45)->Required = true;
    Q_Midias->DefineField(QStringLiteral("MID_VALOR"), FieldType::Float)->Currency = true;
    Q_Midias->AfterPost = [this](dataset::DataSet& ds) { Q_MidiasAfterPost(ds); };
    Q_Midias->AfterDelete = [this](dataset::DataSet& ds) { Q_MidiasAfterPost(ds); };

    Q_FormaPagto = cadastro(this, "Q_FormaPagto", QStringLiteral("TB_FORMAPAGAMENTO"), QStringLiteral("FPG_CODIGO"),
                            QStringLiteral("GEN_FORMAPAGAMENTO"),
                            {QStringLiteral("FPG_CODIGO"), QStringLiteral("FPG_DESCRICAO")}, Up_FormaPagto,
                            "Up_FormaPagto");
    Q_FormaPagto->DefineField(QStringLiteral("FPG_DESCRICAO"), FieldType::String, 45)->Required = true;
    Q_FormaPagto->AfterPost = [this](dataset::DataSet& ds) { Q_FormaPagtoAfterPost(ds); };
    Q_FormaPagto->AfterDelete = [this](dataset::DataSet& ds) { Q_FormaPagtoAfterPost(ds); };

    Q_Prazo = cadastro(this, "Q_Prazo", QStringLiteral("TB_PRAZOS"), QStringLiteral("PRA_CODIGO"),
                       QStringLiteral("GEN_PRAZOS"),
                       {QStringLiteral("PRA_CODIGO"), QStringLiteral("FPG_CODIGO"), QStringLiteral("PRA_DESCRICAO")},
                       Up_Prazo, "Up_Prazo");
    Q_Prazo->DefineField(QStringLiteral("FPG_CODIGO"), FieldType::Integer)->Required = true;
    Q_Prazo->DefineField(QStringLiteral("PRA_DESCRICAO"), FieldType::String, 45)->Required = true;
    Q_Prazo->AddLookupField(QStringLiteral("FORMAPAGAMENTO"), QStringLiteral("FPG_CODIGO"), Q_FormaPagto,
                            QStringLiteral("FPG_CODIGO"), QStringLiteral("FPG_DESCRICAO"), FieldType::String, 25);
    Q_Prazo->AfterPost = [this](dataset::DataSet& ds) { Q_PrazoAfterPost(ds); };
    Q_Prazo->AfterDelete = [this](dataset::DataSet& ds) { Q_PrazoAfterPost(ds); };
}

void TDM::Q_MidiasAfterPost(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    ds.Transaction()->commitRetaining();
}

void TDM::Q_FormaPagtoAfterPost(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    ds.Transaction()->commitRetaining();
}

void TDM::Q_PrazoAfterPost(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    ds.Transaction()->commitRetaining();
}

// Sales orders and their items.
void TDM::CriarPedidos() {
    using dataset::FieldType;
    Up_Pedido = new dataset::UpdateSql(this);
    Up_Pedido->setObjectName(QStringLiteral("Up_Pedido"));
    Up_Pedido->SetTableStatements(
        QStringLiteral("TB_PEDIDO"), QStringLiteral("PED_CODIGO"),
        {QStringLiteral("PED_CODIGO"), QStringLiteral("CLI_CODIGO"), QStringLiteral("VEN_CODIGO"),
         QStringLiteral("MID_CODIGO"), QStringLiteral("PED_VALOR"), QStringLiteral("PED_DATAENTREGA"),
         QStringLiteral("PED_HORARIO"), QStringLiteral("FPG_CODIGO"), QStringLiteral("PRA_CODIGO"),
         QStringLiteral("PED_NUMERO"), QStringLiteral("PED_STATUS"), QStringLiteral("PED_QUANTIDADE"),
         QStringLiteral("PED_PAGO"), QStringLiteral("PED_NOMESOLICITANTE"), QStringLiteral("PED_EMAILSOLICITANTE"),
         QStringLiteral("PED_FONESOLICITANTE")});

    Q_Pedido = new dataset::Query(this);
    Q_Pedido->setObjectName(QStringLiteral("Q_Pedido"));
    if (DMBanco)
        Q_Pedido->SetTransaction(&DMBanco->Trans_Clipping);
    Q_Pedido->SQL.Add(QStringLiteral("SELECT * FROM TB_PEDIDO"));
    Q_Pedido->CachedUpdates = true;
    Q_Pedido->UpdateObject = Up_Pedido;
    Q_Pedido->DefineField(QStringLiteral("PED_CODIGO"), FieldType::Integer)->Required = true;
    Q_Pedido->DefineField(QStringLiteral("PED_NUMERO"), FieldType::Integer)->Required = true;
    Q_Pedido->DefineField(QStringLiteral("PED_VALOR"), FieldType::Float)->Currency = true;
    auto* entrega = Q_Pedido->DefineField(QStringLiteral("PED_DATAENTREGA"), FieldType::DateTime);
    entrega->EditMask = QStringLiteral("!99/99/0099;1;_");
    entrega->DisplayFormat = QStringLiteral("dd/mm/yyyy");
    Q_Pedido->DefineField(QStringLiteral("PED_HORARIO"), FieldType::String, 8)->EditMask =
        QStringLiteral("!99:99:99;1;_");
    Q_Pedido->AfterInsert = [this](dataset::DataSet& ds) { Q_PedidoAfterInsert(ds); };
    Q_Pedido->AfterPost = [this](dataset::DataSet& ds) { Q_PedidoAfterPost(ds); };
    Q_Pedido->AfterDelete = [this](dataset::DataSet& ds) { Q_PedidoAfterPost(ds); };

    DS_Pedido = new dataset::DataSource(this);
    DS_Pedido->setObjectName(QStringLiteral("DS_Pedido"));
    DS_Pedido->SetDataSet(Q_Pedido);

    Up_ItensPedido = new dataset::UpdateSql(this);
    Up_ItensPedido->setObjectName(QStringLiteral("Up_ItensPedido"));
    Up_ItensPedido->SetTableStatements(QStringLiteral("TB_ITENSPEDIDO"), QStringLiteral("IPD_CODIGO"),
                                       {QStringLiteral("IPD_CODIGO"), QStringLiteral("PED_CODIGO"),
                                        QStringLiteral("LAN_CODIGO")});

    Q_ItensPedido = new dataset::Query(this);
    Q_ItensPedido->setObjectName(QStringLiteral("Q_ItensPedido"));
    if (DMBanco)
        Q_ItensPedido->SetTransaction(&DMBanco->Trans_Clipping);
    Q_ItensPedido->SQL.Add(QStringLiteral(
        "SELECT IPD.*, LAN.LAN_CODLANCAMENTO, LAN.LAN_DATA, LAN.LAN_HORA, LAN.LAN_TEMPO, LAN.LAN_VELOCIDADE, "
        "PRG.PRG_NOME, EMI.EMI_NOME"));
    Q_ItensPedido->SQL.Add(
        QStringLiteral("FROM TB_ITENSPEDIDO IPD, TB_LANCAMENTO LAN, TB_PROGRAMAS PRG, TB_EMISSORAS EMI"));
    Q_ItensPedido->SQL.Add(QStringLiteral(
        "WHERE IPD.PED_CODIGO = :PED_CODIGO AND IPD.LAN_CODIGO = LAN.LAN_CODIGO AND LAN.PRG_CODIGO = "
        "PRG.PRG_CODIGO AND LAN.EMI_CODIGO = EMI.EMI_CODIGO"));
    Q_ItensPedido->SetDataSource(DS_Pedido);
    Q_ItensPedido->CachedUpdates = true;
    Q_ItensPedido->UpdateObject = Up_ItensPedido;
    Q_ItensPedido->DefineField(QStringLiteral("LAN_DATA"), FieldType::DateTime)->DisplayFormat =
        QStringLiteral("dd/mm/yyyy");
    Q_ItensPedido->AfterPost = [this](dataset::DataSet& ds) { Q_ItensPedidoAfterPost(ds); };
    Q_ItensPedido->AfterDelete = [this](dataset::DataSet& ds) { Q_ItensPedidoAfterPost(ds); };

    DS_ItensPedido = new dataset::DataSource(this);
    DS_ItensPedido->setObjectName(QStringLiteral("DS_ItensPedido"));
    DS_ItensPedido->SetDataSet(Q_ItensPedido);

    TB_ItensPedido = new dataset::TableDataset(this);
    TB_ItensPedido->setObjectName(QStringLiteral("TB_ItensPedido"));
    if (DMBanco)
        TB_ItensPedido->SetTransaction(&DMBanco->Trans_Clipping);
    TB_ItensPedido->TableName = QStringLiteral("TB_ITENSPEDIDO");
    TB_ItensPedido->MasterFields = QStringLiteral("PED_CODIGO");
    TB_ItensPedido->IndexFieldNames = QStringLiteral("IPD_CODIGO");
    TB_ItensPedido->SetMasterSource(DS_Pedido);
    TB_ItensPedido->AfterPost = [this](dataset::DataSet& ds) { TB_ItensPedidoAfterPost(ds); };
    TB_ItensPedido->AfterDelete = [this](dataset::DataSet& ds) { TB_ItensPedidoAfterPost(ds); };
}

void TDM::Q_PedidoAfterInsert(dataset::DataSet& ds) {
    const int codigo = DMBanco->ProximoCodigo(QStringLiteral("GEN_PEDIDO"));
    ds.FieldByName(QStringLiteral("PED_CODIGO"))->SetAsInteger(codigo);
    DMBanco->PedidoAtual = codigo;
    ds.FieldByName(QStringLiteral("PED_NUMERO"))->SetAsInteger(DMBanco->ProximoNumeroPedido());
    ds.FieldByName(QStringLiteral("PED_PAGO"))->SetAsInteger(0);
}

void TDM::Q_PedidoAfterPost(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    ds.Transaction()->commitRetaining();
}

void TDM::Q_ItensPedidoAfterPost(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    ds.Transaction()->commitRetaining();
}

void TDM::TB_ItensPedidoAfterPost(dataset::DataSet& ds) {
    ds.Transaction()->commitRetaining();
}

// Reminders.
void TDM::CriarLembretes() {
    using dataset::FieldType;
    const QStringList colunas{QStringLiteral("LEM_CODIGO"), QStringLiteral("LEM_DATA"), QStringLiteral("LEM_HORA"),
                              QStringLiteral("LEM_IP"), QStringLiteral("LEM_MENSAGEM")};
    auto criar = [&](const char* nome, const char* nomeUp, const QString& condicao, dataset::UpdateSql*& up) {
        up = new dataset::UpdateSql(this);
        up->setObjectName(QLatin1String(nomeUp));
        up->SetTableStatements(QStringLiteral("TB_LEMBRETES"), QStringLiteral("LEM_CODIGO"), colunas);
        up->RefreshSQL.Clear();
        up->RefreshSQL.Add(QStringLiteral("Select ") + colunas.join(QStringLiteral(", ")));
        up->RefreshSQL.Add(QStringLiteral("from TB_LEMBRETES"));
        up->RefreshSQL.Add(QStringLiteral("where LEM_CODIGO = :LEM_CODIGO"));

        auto* q = new dataset::Query(this);
        q->setObjectName(QLatin1String(nome));
        if (DMBanco)
            q->SetTransaction(&DMBanco->Trans_Clipping);
        q->SQL.Add(QStringLiteral("SELECT * FROM TB_LEMBRETES"));
        q->SQL.Add(condicao);
        q->CachedUpdates = true;
        q->UpdateObject = up;
        q->SetGeneratorField(QStringLiteral("LEM_CODIGO"), QStringLiteral("GEN_LEMBRETES"), 1);
        q->DefineField(QStringLiteral("LEM_CODIGO"), FieldType::Integer)->Required = true;
        q->DefineField(QStringLiteral("LEM_MENSAGEM"), FieldType::Memo);
        auto* data = q->DefineField(QStringLiteral("LEM_DATA"), FieldType::DateTime);
        data->EditMask = QStringLiteral("99/99/9999;1;_");
        data->DisplayFormat = QStringLiteral("dd/mm/yyyy");
        q->DefineField(QStringLiteral("LEM_HORA"), FieldType::String, 5)->EditMask = QStringLiteral("99:99;1;_");
        q->DefineField(QStringLiteral("LEM_IP"), FieldType::String, 15);
        q->BeforePost = [this](dataset::DataSet& ds) { Q_CadLembretesBeforePost(ds); };
        q->AfterPost = [this](dataset::DataSet& ds) { Q_CadLembretesAfterPost(ds); };
        q->AfterDelete = [this](dataset::DataSet& ds) { Q_CadLembretesAfterPost(ds); };
        return q;
    };
    Q_CadLembretes = criar("Q_CadLembretes", "Up_CadLembretes", QStringLiteral("WHERE LEM_IP = :IP"), Up_CadLembretes);
    Q_CadLembretes->BeforeOpen = [this](dataset::DataSet& ds) { Q_CadLembretesBeforeOpen(ds); };
    Q_Lembretes = criar("Q_Lembretes", "Up_Lembretes",
                        QStringLiteral("WHERE CAST(LEM_DATA || ' ' || LEM_HORA AS DATE) <= :DATAEHORA AND LEM_IP = :IP"),
                        Up_Lembretes);
}

void TDM::Q_CadLembretesBeforeOpen(dataset::DataSet&) {
    Q_CadLembretes->ParamByName(QStringLiteral("IP"))->SetAsString(ObterIPLocal());
}

// The due-reminder query has the server read date, blank and time as one
// date and time: a time part in LEM_DATA or a time it cannot read would make
// that query fail on this workstation every minute, so neither is stored.
void TDM::Q_CadLembretesBeforePost(dataset::DataSet& ds) {
    dataset::Field* data = ds.FieldByName(QStringLiteral("LEM_DATA"));
    if (data->IsNull())
        throw clip::EConvertError(QStringLiteral("'' is not a valid date"));
    const QDateTime dia = data->AsDateTime();
    if (dia.time() != QTime(0, 0))
        data->SetAsDateTime(dia.date().startOfDay());

    dataset::Field* hora = ds.FieldByName(QStringLiteral("LEM_HORA"));
    QString texto = hora->AsString();
    texto.remove(QLatin1Char(' '));
    const QTime t = dataset::StrToTime(texto);
    const QString normal = t.toString(QStringLiteral("HH:mm"));
    if (hora->AsString() != normal)
        hora->SetAsString(normal);
}

void TDM::Q_CadLembretesAfterPost(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    ds.Transaction()->commitRetaining();
}

// Phone agenda.
void TDM::CriarAgenda() {
    using dataset::FieldType;
    const QStringList colunas{
        QStringLiteral("AGE_CODIGO"),  QStringLiteral("AGE_NOME"),           QStringLiteral("AGE_TELEFONE"),
        QStringLiteral("AGE_FAX"),     QStringLiteral("AGE_CELULAR"),        QStringLiteral("AGE_ENDERECO"),
        QStringLiteral("AGE_CIDADE"),  QStringLiteral("AGE_UF"),             QStringLiteral("AGE_CEP"),
        QStringLiteral("AGE_EMAIL"),   QStringLiteral("AGE_WEB"),            QStringLiteral("AGE_DIAANIVERSARIO"),
        QStringLiteral("AGE_MESANIVERSARIO"), QStringLiteral("AGE_MSN"),     QStringLiteral("AGE_SKYPE"),
        QStringLiteral("AGE_OBS"),     QStringLiteral("AGE_BAIRRO")};
    Up_Agenda = new dataset::UpdateSql(this);
    Up_Agenda->setObjectName(QStringLiteral("Up_Agenda"));
    Up_Agenda->SetTableStatements(QStringLiteral("TB_AGENDA"), QStringLiteral("AGE_CODIGO"), colunas);
    Up_Agenda->RefreshSQL.Clear();
    Up_Agenda->RefreshSQL.Add(QStringLiteral("Select ") + colunas.join(QStringLiteral(", ")));
    Up_Agenda->RefreshSQL.Add(QStringLiteral("from TB_AGENDA"));
    Up_Agenda->RefreshSQL.Add(QStringLiteral("where AGE_CODIGO = :AGE_CODIGO"));

    Q_Agenda = new dataset::Query(this);
    Q_Agenda->setObjectName(QStringLiteral("Q_Agenda"));
    if (DMBanco)
        Q_Agenda->SetTransaction(&DMBanco->Trans_Clipping);
    Q_Agenda->SQL.Add(QStringLiteral("SELECT * FROM TB_AGENDA"));
    Q_Agenda->SQL.Add(QStringLiteral("ORDER BY AGE_NOME"));
    Q_Agenda->SQL.Add(QString());
    Q_Agenda->CachedUpdates = true;
    Q_Agenda->UpdateObject = Up_Agenda;
    Q_Agenda->SetGeneratorField(QStringLiteral("AGE_CODIGO"), QStringLiteral("GEN_AGENDA"), 1);
    Q_Agenda->DefineField(QStringLiteral("AGE_CODIGO"), FieldType::Integer)->Required = true;
    auto* nome = Q_Agenda->DefineField(QStringLiteral("AGE_NOME"), FieldType::String, 45);
    nome->Required = true;
    nome->DisplayLabel = QStringLiteral("Nome");
    for (const char* c : {"AGE_TELEFONE", "AGE_FAX", "AGE_CELULAR", "AGE_BAIRRO"})
        Q_Agenda->DefineField(QLatin1String(c), FieldType::String, 20);
    for (const char* c : {"AGE_ENDERECO", "AGE_CIDADE", "AGE_EMAIL", "AGE_WEB", "AGE_MSN", "AGE_SKYPE"})
        Q_Agenda->DefineField(QLatin1String(c), FieldType::String, 45);
    Q_Agenda->DefineField(QStringLiteral("AGE_UF"), FieldType::String, 2);
    Q_Agenda->DefineField(QStringLiteral("AGE_CEP"), FieldType::String, 10)->EditMask = QStringLiteral("99.999-999;1;_");
    Q_Agenda->DefineField(QStringLiteral("AGE_DIAANIVERSARIO"), FieldType::Integer);
    Q_Agenda->DefineField(QStringLiteral("AGE_MESANIVERSARIO"), FieldType::Integer);
    Q_Agenda->DefineField(QStringLiteral("AGE_OBS"), FieldType::Memo);
    Q_Agenda->BeforePost = [this](dataset::DataSet& ds) { Q_AgendaBeforePost(ds); };
    Q_Agenda->AfterPost = [this](dataset::DataSet& ds) { Q_AgendaAfterPost(ds); };
    Q_Agenda->AfterDelete = [this](dataset::DataSet& ds) { Q_AgendaAfterPost(ds); };
}

// A birthday is a day and a month that a year can have (29 February
// included), or nothing at all: anything else would never be listed.
void TDM::Q_AgendaBeforePost(dataset::DataSet& ds) {
    dataset::Field* dia = ds.FieldByName(QStringLiteral("AGE_DIAANIVERSARIO"));
    dataset::Field* mes = ds.FieldByName(QStringLiteral("AGE_MESANIVERSARIO"));
    if (dia->IsNull() && mes->IsNull())
        return;
    if (dia->IsNull() || mes->IsNull()) {
        msg::Informar(QStringLiteral("Informe o dia e o mês do aniversário!"));
        clip::Abort();
    }
    const int d = dia->AsInteger();
    const int m = mes->AsInteger();
    if (d < 1 || d > 31 || m < 1 || m > 12) {
        msg::Informar(QStringLiteral("Data de aniversário inválida!"));
        clip::Abort();
    }
    if (!QDate(2000, m, d).isValid()) {
        msg::Informar(QStringLiteral("Data de aniversário inválida: o mês %1 não tem o dia %2!").arg(m).arg(d));
        clip::Abort();
    }
}

void TDM::Q_AgendaAfterPost(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    ds.Transaction()->commitRetaining();
}

TDM::~TDM() = default;

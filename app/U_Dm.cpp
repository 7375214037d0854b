#include "U_Dm.h"

#include <QStringList>

#include "app/U_DMBanco.h"
#include "platform/data/Query.h"
#include "platform/firebird/Transaction.h"

TDM* DM = nullptr;

TDM::TDM(QObject* parent) : QObject(parent) {
    setObjectName(QStringLiteral("DM"));

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

TDM::~TDM() = default;

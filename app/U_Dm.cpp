#include "U_Dm.h"

#include "app/U_DMBanco.h"
#include "platform/data/Query.h"

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

TDM::~TDM() = default;

#pragma once

#include "screens/base/U_BaseChild.h"

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QTabWidget;

namespace dataset {
class DBComboBox; class DBEdit; class DBGrid; class DBMemo; class DBRadioGroup; class Query; class UpdateSql;
}

// The clients register (screen code 1001). Every saved or deleted client is
// mirrored into the phone agenda through DM->Proc_Cliente_Agenda. Opened with
// ChamadaExterna 1 it is a picker: "&Confirmar" stores the client's code in
// DM->ClienteEscolhido and closes with Accepted.
class TFrmClientes : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmClientes(QWidget* parent = nullptr);
    ~TFrmClientes() override;

    dataset::Query* Q_Clientes;
    dataset::UpdateSql* Up_Clientes;

    QTabWidget* PageControl1;
    // "Dados Principais"
    dataset::DBEdit* DBCliente;       // CLI_NOME
    dataset::DBEdit* DBEndereco;      // CLI_ENDERECO
    dataset::DBEdit* DBBairro;        // CLI_BAIRRO
    dataset::DBEdit* DBCidade;        // CLI_CIDADE
    dataset::DBComboBox* DBComboBox1; // CLI_ESTADO
    dataset::DBRadioGroup* RGPessoa;  // CLI_PESSOA
    dataset::DBEdit* DBCPF;           // CLI_CGCCPF
    dataset::DBEdit* DBInscricao;     // CLI_INSCRICAO
    dataset::DBEdit* DBCep;           // CLI_CEP
    dataset::DBEdit* DBFone;          // CLI_FONE
    dataset::DBEdit* DBFax;           // CLI_FAX
    dataset::DBEdit* DBRazao;         // CLI_RAZAOSOCIAL
    dataset::DBEdit* DBCelular;       // CLI_CELULAR
    dataset::DBEdit* DBEmail;         // CLI_EMAIL
    // "Dados Adicionais"
    dataset::DBEdit* DBVigencia;      // CLI_VIGENCIACONTRATO
    dataset::DBEdit* DBClienteDesde;  // CLI_CLIENTEDESDE
    dataset::DBEdit* DBValor;         // CLI_VALOR
    dataset::DBEdit* DBWeb;           // CLI_WEB
    dataset::DBEdit* DBContato;       // CLI_CONTATO
    dataset::DBEdit* DBFuncaoContato; // CLI_FUNCAOCONTATO
    dataset::DBEdit* DBFoneContato;   // CLI_FONECONTATO
    dataset::DBMemo* DBMemo1;         // CLI_OBS
    dataset::DBEdit* DBEnderecoEntrega;
    dataset::DBEdit* DBBairroEntrega;
    dataset::DBEdit* DBCidadeEntrega;
    dataset::DBComboBox* DBComboBox2; // CLI_ESTADOENTREGA
    dataset::DBEdit* DBCepEntrega;
    dataset::DBEdit* DBComplementoEntrega;
    // Search
    QGroupBox* GBRelacao;
    TEditMaiusculas* EdPesquisa;
    QGroupBox* RGLocalizar;
    QButtonGroup* RGLocalizarItens;
    dataset::DBGrid* DBGrid1;
    QPushButton* SBConfirmar;

    // The option of "Localizar por: " (0 to 4).
    int Localizar() const;
    void SetLocalizar(int opcao);

    // Re-runs the search with the typed text and the chosen option.
    void EdPesquisaChange();
    // Focus leaving RGPessoa: CPF or CNPJ mask, "Razão Social" on or off.
    void RGPessoaExit();
    // Picker: the current client becomes DM->ClienteEscolhido; Accepted.
    void SBConfirmarClick();

protected:
    void FormShow() override;
    bool FormKeyPress(QKeyEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

    void SBNovoAfterAction(ResultadoAcao& r) override;
    void SBSalvarBeforeAction() override;
    void SBExcluirBeforeAction() override;

private:
    void Q_ClientesNewRecord(dataset::DataSet& ds);
    void Q_ClientesBeforePost(dataset::DataSet& ds);
    void Q_ClientesAfterPost(dataset::DataSet& ds);
    void Q_ClientesAfterDelete(dataset::DataSet& ds);
    void ExecutarAgenda(const QString& acao);
    QString acaoPost_;
};

#pragma once

#include "screens/base/U_BaseChild.h"

#include <functional>

class QGroupBox;
class QPushButton;
class QToolButton;

namespace dataset {
class DataSource; class DBComboBox; class DBEdit; class DBGrid; class DBLookupComboBox; class Query; class UpdateSql;
}

// The employees and users register (screen code 1002). The two password
// boxes hold the placeholder "407918" for an unchanged password; a new one
// is stored scrambled by CodificarSenha. Opened with ChamadaExterna 1 it is
// an employee picker (see Escolher).
class TFrmFuncionarios : public TFrmBaseFilha {
    Q_OBJECT
public:
    explicit TFrmFuncionarios(QWidget* parent = nullptr);
    ~TFrmFuncionarios() override;

    static const QString kSenhaPadrao;  // "407918"

    // Picker for other screens: shows the screen modally in picker mode and
    // returns the FUN_CODIGO confirmed with "&Confirmar" (or a double-click
    // on the grid), 0 when the user closed it without confirming.
    static int Escolher(QWidget* parent = nullptr);
    // FUN_CODIGO under the cursor; 0 when the list is empty.
    int FuncionarioAtual() const;

    // Opens the user rights editor for the employee under the cursor (a new
    // one is saved first); tests may replace it. Empty: "Definir Direitos"
    // only checks the right.
    static std::function<void(TFrmFuncionarios&)> AbrirDireitosUsuario;

    dataset::Query* Q_Funcionarios;
    dataset::UpdateSql* Up_Funcionarios;
    dataset::DataSource* DS_PerfilAcesso;

    QGroupBox* GBDados;
    dataset::DBEdit* DbNome;
    dataset::DBEdit* DbEndereco;
    dataset::DBEdit* DbBairro;
    dataset::DBEdit* DbCidade;
    dataset::DBComboBox* DbUF;
    dataset::DBEdit* DbCPF;
    dataset::DBEdit* DbRG;
    dataset::DBEdit* DbCEP;
    dataset::DBEdit* DbFone;
    dataset::DBEdit* DbCelular;
    dataset::DBEdit* DbEmail;
    dataset::DBEdit* DbCargo;
    dataset::DBEdit* DbDesde;
    dataset::DBEdit* DbObs;
    QGroupBox* GBAniversario;
    dataset::DBComboBox* DbDia;
    dataset::DBComboBox* DbMes;
    QGroupBox* GBAcesso;
    dataset::DBLookupComboBox* DBLookupComboBox1;
    QToolButton* SpeedButton4;
    QPushButton* BDireitos;
    dataset::DBEdit* DbLogin;
    QLineEdit* MESenha;
    QLineEdit* MEConfSenha;

    TEditMaiusculas* edPesquisa;
    dataset::DBGrid* DBGrid2;
    QPushButton* SBConfirmar;

    void edPesquisaChange();
    void SpeedButton4Click();
    void BDireitosClick();
    void SBConfirmarClick();
    // BDireitos enabled exactly when the record has no access profile.
    void AtualizarDireitos();

protected:
    void FormShow() override;
    bool eventFilter(QObject* o, QEvent* e) override;

    void SBNovoBeforeAction() override;
    void SBNovoAfterAction(ResultadoAcao& r) override;
    void SBSalvarBeforeAction() override;
    void SBSalvarAfterAction(ResultadoAcao& r) override;
    void SBCancelarClick() override;
    void SBExcluirClick() override;
    void SBExcluirBeforeAction() override;

private:
    void SenhaPadrao();
    void Q_FuncionariosBeforePost(dataset::DataSet& ds);
    void Q_FuncionariosAfterDelete(dataset::DataSet& ds);
};

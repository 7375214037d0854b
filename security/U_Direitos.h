#pragma once

#include "platform/data/widgets/DBSpeedButton.h"
#include "screens/base/U_FormBase.h"
#include "security/TreeSeguranca.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
namespace dataset { class DataSet; class DBEdit; }

// The user rights editor "Direitos do Usuário": the rights tree of the
// employee under the cursor of the employees' dataset, with the three
// quick-setting buttons. Saving writes the tree and posts the employee
// record, whose post commits; then the main window re-applies the rights.
class TFrmDireitos : public TFrmBase {
    Q_OBJECT
public:
    // funcionarios: the employees screen's dataset (FUN_CODIGO, FUN_NOME).
    explicit TFrmDireitos(dataset::DataSet* funcionarios, QWidget* parent = nullptr);
    ~TFrmDireitos() override;

    // Shows the editor modally for the employee under the cursor and frees
    // it when closed; nothing when the dataset has no employee.
    static void Abrir(QWidget* parent, dataset::DataSet* funcionarios);

    QFrame* Panel1;
    dataset::DBSpeedButton* SBSalvar;
    dataset::DBSpeedButton* SBCancelar;
    QToolButton* SBSair;
    QPushButton* BSemAcesso;
    QPushButton* Bleitura;
    QPushButton* BAcessoTotal;
    QLabel* Label1;
    dataset::DBEdit* DbNome;
    QGroupBox* GroupBox1;
    TTreeSeguranca* TreeSeguranca;
    dataset::DataSource* DS_Usuario;

    // Runs a tool bar button's press as a click does; errors are thrown.
    void Pressionar(QAbstractButton* botao);

    void FormActivate();
    void BAcessoTotalClick();
    void BSemAcessoClick();
    void BleituraClick();
    void TreeSegurancaDblClick();

protected:
    void FormShow() override;
    bool FormKeyDown(QKeyEvent* e) override;
    // Unsaved switches in the tree: "Deseja salvar as alterações?".
    void FormClose(QCloseEvent* e) override;

private:
    void ajustar(const AjusteDireitos& ajuste);
    void editarUsuario();
    void alternarEdicao();
    void clicar(QAbstractButton* botao);

    dataset::DataSet* funcionarios_;
    bool ativado_ = false;
};

#pragma once

#include "platform/data/widgets/DBSpeedButton.h"
#include "screens/base/U_FormBase.h"
#include "security/TreeSeguranca.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QPushButton;
class QToolButton;
namespace dataset { class DBEdit; class DBGrid; }

// The access-profile register "Perfil de Acesso" (screen code 1105):
// creates, renames and deletes profiles (TB_FUNCIONARIOS rows with
// FUN_TIPO = 1, DMBanco->Q_PerfilAcesso) and edits each profile's rights
// with the rights tree. "Definir Acessos" builds the tree for the profile
// under the grid's cursor and switches the tree and the quick-setting
// buttons on (a second press switches them off); a grid click, cancelling
// or leaving that profile switches them off.
class TFrmPerfilAcesso : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrmPerfilAcesso(QWidget* parent = nullptr);
    ~TFrmPerfilAcesso() override;

    QFrame* Panel1;
    dataset::DBSpeedButton* SBNovo;
    dataset::DBSpeedButton* SBSalvar;
    dataset::DBSpeedButton* SBCancelar;
    dataset::DBSpeedButton* SBExcluir;
    QToolButton* SBSair;
    QLabel* Label1;
    dataset::DBEdit* DbNome;
    QPushButton* BSemAcesso;
    QPushButton* Bleitura;
    QPushButton* BAcessoTotal;
    QGroupBox* GroupBox1;
    TTreeSeguranca* TreeSeguranca;
    QGroupBox* GroupBox2;
    QToolButton* SpeedButton1;
    dataset::DBGrid* DBGrid2;
    dataset::DataSource* DS_Acessos;

    // Runs a tool bar button's press as a click does; errors (a silent
    // abort included) are thrown.
    void Pressionar(QAbstractButton* botao);

    void SpeedButton1Click();
    void DBGrid2CellClick();
    void BAcessoTotalClick();
    void BSemAcessoClick();
    void BleituraClick();
    void TreeSegurancaDblClick();

protected:
    void FormShow() override;
    // Unsaved changes: "Deseja salvar as alterações?".
    void FormClose(QCloseEvent* e) override;

private:
    void ajustar(const AjusteDireitos& ajuste);
    void editarPerfil();
    void habilitarAcessos(bool sim);
    void conferirPerfil();
    void atualizarBotoes();
    int perfilAtual() const;
    void clicar(QAbstractButton* botao);
};

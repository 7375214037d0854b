#pragma once

#include "platform/data/widgets/DBSpeedButton.h"
#include "screens/base/U_FormBase.h"

#include <QString>
#include <exception>
#include <functional>

class QAbstractButton;
class QGridLayout;
class QLabel;
class QToolButton;
namespace dataset { class DataSet; }

// ---------------------------------------------------------------------------
// Rights checks of the register screens

// Asks whether the session's user may use the flag column campo
// ("DIR_INCLUIR", "DIR_ALTERAR", "DIR_EXCLUIR") on screen tela; shows the
// refusal itself and returns false then. The security unit installs its
// VerificarAcesso with the session values here.
using VerificadorAcesso = std::function<bool(int tela, const QString& campo)>;
void DefinirVerificadorAcesso(VerificadorAcesso verificador);
bool VerificadorAcessoInstalado();
// UsuarioAtual 0 (or no session) allows everything without asking; otherwise
// the installed check decides. Without one, every operation is refused with
// an error, so no right is granted by accident.
bool VerificarDireito(int tela, const QString& campo);

// ---------------------------------------------------------------------------
// Helpers of the register screens

// Applies the dataset's cached updates and commits its transaction with
// retaining: the after-post and after-delete step of every register.
void AplicarEConfirmar(dataset::DataSet& ds);

// Puts rotulo (right-aligned, buddy of campo) at (linha, coluna) of grade and
// campo beside it over colunas columns; returns the label.
QLabel* AdicionarCampo(QGridLayout* grade, int linha, int coluna, const QString& rotulo, QWidget* campo,
                       int colunas = 1);
// Sizes w to hold about n average characters of its font.
void LarguraEmCaracteres(QWidget* w, int n);

// ---------------------------------------------------------------------------
// How a tool bar button's operation ended, told to its after-action.
struct ResultadoAcao {
    bool Falhou = false;          // the before-action or the operation failed
    std::exception_ptr Erro;      // the before-action's error (a silent abort
                                  // included); null when the operation failed
    // The failure is dealt with: the press ends without error.
    void Limpar() { Falhou = false; Erro = nullptr; }
};

// Base of every register screen.
//
// Adds the tool bar Panel1 above PFundo with the buttons SBNovo, SBSalvar,
// SBAlterar, SBCancelar, SBExcluir, SBImprimir (hidden), SBPrimeiro,
// SBAnterior, SBProximo, SBUltimo and SBSair, F2 to F6, the rights checks of
// new, save (existing records only) and delete, the delete confirmation, the
// unsaved-changes question on close and ConfirmarGravacao. PFundo is enabled
// only while the main dataset edits or inserts.
//
// A press of a data-aware button runs, in order: Click (an error or silent
// abort ends the press there), BeforeAction (may abort silently), the
// dataset operation, AfterAction with the outcome; unless AfterAction
// clears a failure, the error (or silent abort) goes on. Screens override
// the handlers and call the base one where it does something.
class TFrmBaseFilha : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrmBaseFilha(QWidget* parent = nullptr);
    ~TFrmBaseFilha() override;

    QFrame* Panel1;
    // Data-aware buttons (bound to DataSource1) and two plain ones.
    dataset::DBSpeedButton* SBNovo;
    dataset::DBSpeedButton* SBSalvar;
    dataset::DBSpeedButton* SBAlterar;
    dataset::DBSpeedButton* SBCancelar;
    dataset::DBSpeedButton* SBExcluir;
    QToolButton* SBImprimir;
    dataset::DBSpeedButton* SBPrimeiro;
    dataset::DBSpeedButton* SBAnterior;
    dataset::DBSpeedButton* SBProximo;
    dataset::DBSpeedButton* SBUltimo;
    QToolButton* SBSair;

    // "Gravar?" (Yes default); on Yes presses SBSalvar when it is enabled.
    // Errors of the save reach the application-wide handler.
    void ConfirmarGravacao();

    // Runs the press of a tool bar button as a click does, whatever its
    // enabled state; returns true when the operation was done, false when it
    // failed and the after-action cleared the failure. A failure that is not
    // cleared is thrown (clip::EAbort for a silent cancel), as is an error of
    // the click handler.
    bool Pressionar(QAbstractButton* botao);

    // Re-evaluates the enabled state of the data-aware buttons (done on every
    // state change and move of the main dataset).
    void AtualizarBotoes();

protected:
    // Click handlers (step 1).
    virtual void SBNovoClick() {}
    virtual void SBSalvarClick() {}
    virtual void SBAlterarClick() {}
    virtual void SBCancelarClick() {}
    // Asks "Confirma a Exclusão?"; anything but Yes aborts silently.
    virtual void SBExcluirClick();
    virtual void SBImprimirClick() {}
    // Closes the screen.
    virtual void SBSairClick();

    // Before-action handlers (step 2); throw clip::EAbort to cancel.
    // SBNovo: "DIR_INCLUIR"; SBSalvar: "DIR_ALTERAR" while an existing record
    // is edited; SBExcluir: "DIR_EXCLUIR".
    virtual void SBNovoBeforeAction();
    virtual void SBSalvarBeforeAction();
    virtual void SBAlterarBeforeAction() {}
    virtual void SBCancelarBeforeAction() {}
    virtual void SBExcluirBeforeAction();

    // After-action handlers (step 4).
    virtual void SBNovoAfterAction(ResultadoAcao&) {}
    virtual void SBSalvarAfterAction(ResultadoAcao&) {}
    virtual void SBAlterarAfterAction(ResultadoAcao&) {}
    virtual void SBCancelarAfterAction(ResultadoAcao&) {}
    virtual void SBExcluirAfterAction(ResultadoAcao&) {}
    // After a move by SBPrimeiro, SBAnterior, SBProximo or SBUltimo.
    virtual void NavegacaoAfterAction(QAbstractButton*, ResultadoAcao&) {}

    // State change of the main dataset: PFundo enabled only while editing.
    virtual void DataSource1StateChange();

    // Checks the right through VerificarDireito with the screen's tag;
    // aborts silently when refused (the message has been shown).
    void ExigirDireito(const QString& campo);

    // F2-F6 after the base's key-down rule.
    bool FormKeyDown(QKeyEvent* e) override;
    // Unsaved changes: "Deseja salvar as alterações?" with Yes/No/Cancel.
    void FormClose(QCloseEvent* e) override;

private:
    void ligarDataSource();
    void ligarBotao(dataset::DBSpeedButton* b, std::function<void()> click, std::function<void()> antes,
                    std::function<void(ResultadoAcao&)> depois);
    void aoClicar(QAbstractButton* botao);

    std::exception_ptr erroAntes_;
    bool falhou_ = false;
};

#pragma once

#include <QDialog>
#include <functional>

class QFrame;
class QLabel;
class QLineEdit;
class QToolButton;

// The login dialog: a borderless picture with the user and password boxes
// laid over it. It closes only through a successful check (every close
// request runs it) or through SBFechar, which ends the application.
class TFrmConexao : public QDialog {
    Q_OBJECT
public:
    // aplicarDireitos applies the session's rights to the main window; it
    // runs after a database login and an error in it keeps the dialog open.
    explicit TFrmConexao(QWidget* parent = nullptr, std::function<void()> aplicarDireitos = {});

    // The login step: no employee (FUN_TIPO <> 1) in TDM::Q_Funcionarios,
    // no dialog and every right; otherwise the dialog, modally. False when
    // the user ended the application with SBFechar.
    static bool ExecutarLogin(QWidget* dono, const std::function<void()>& aplicarDireitos);

    // Ends the application (SBFechar); tests replace it.
    static std::function<void()> Encerrar;

    // The check of a close request: true when the dialog may close.
    bool FormCloseQuery();
    bool Fechado() const { return fechado_; }

    QFrame* Panel1;
    QLabel* Image1;
    QLineEdit* EdUsuario;
    QLineEdit* EdSenha;
    QToolButton* SBOk;
    QToolButton* SBFechar;

    void done(int r) override;

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    void SBOkClick();
    void SBFecharClick();
    bool podeFechar();

    std::function<void()> aplicarDireitos_;
    bool liberado_ = false;
    bool fechado_ = false;
};

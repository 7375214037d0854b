#pragma once

#include <QList>
#include <QMainWindow>
#include <functional>

class QAction;
class QDateEdit;
class QFrame;
class QLineEdit;
class QMdiArea;
class QMenu;
class QMenuBar;
class QTimer;
class QToolButton;
class QWidget;

// The main window: maximised MDI frame with the menu, the tool bar with the
// date and the clock, the two timers, the login and birthdays on the first
// show and the closing backup.
//
// Menu items and tool bar buttons carry their screen code in the integer
// property "Tag" and menu items their kind (1 screen, 2 report) in
// "HelpContext"; see Tag() and Tipo().
class TFrmPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit TFrmPrincipal(QWidget* parent = nullptr);
    ~TFrmPrincipal() override;

    static int Tag(const QObject* o);
    static int Tipo(const QObject* o);

    // Hides the menu items (top-level menus included) and disables the tool
    // bar buttons whose DIR_ACESSO the session lacks; one check each.
    // Invokable by name: the rights editors, below this unit, run it.
    Q_INVOKABLE void AplicarDireitos();

    // Every menu item (top-level menus as their QAction, separators
    // included), in creation order.
    const QList<QAction*>& ItensMenu() const { return itensMenu_; }
    // The tool bar buttons whose state follows the rights, in checking order.
    QList<QToolButton*> BotoesDireitos() const;

    // Ends the application after the closing backup; tests replace it.
    static std::function<void()> Encerrar;

    QMdiArea* MDIArea;
    QMenuBar* MainMenu;
    QFrame* Panel1;
    QToolButton *BClientes, *BFuncionarios, *BVendedores, *BEmissoras, *BProgramas, *BLancamentos,
        *BConsultaLancamento, *BPedidos, *BConsultaPedidos, *BAgenda, *BConfiguracao, *BSair;
    QFrame *Bevel1, *Bevel2, *Bevel3, *Bevel4;
    QWidget* PDataHora;
    QDateEdit* EDataSistema;
    QLineEdit* ERelogioSistema;
    QTimer* TimerRelogio;
    QTimer* TLembretes;

    QMenu *File1, *Ferramentas1, *Relatrios1, *Window1;
    QAction *Clientes1, *Funcionrios1, *Vendedores1, *Emissoras1, *Programas1, *Lembretes1, *FormadePagamento1,
        *Prazos1, *Mdias1, *N1, *Sair1;
    QAction *Lanamentos1, *ConsultarLanamentos1, *N3, *Pedidos1, *ConsultarPedidos1, *N2, *AgendadeTelefones1,
        *Cpiadesegurana1, *PerfisdeAcesso1, *N4, *ManuteodeLanamentos1;
    QAction *RelaodeClientes1, *PedidosdeVenda1, *Emissoras2, *Lanamentos2;
    QAction* EfeitosVisuais2;

    // Handlers (also run by the tool bar buttons).
    void Clientes1Click();
    void Funcionrios1Click();
    void Vendedores1Click();
    void Emissoras1Click();
    void Programas1Click();
    void Lembretes1Click();
    void FormadePagamento1Click();
    void Prazos1Click();
    void Mdias1Click();
    void Sair1Click();
    void Lanamentos1Click();
    void ConsultarLanamentos1Click();
    void Pedidos1Click();
    void ConsultarPedidos1Click();
    void AgendadeTelefones1Click();
    void Cpiadesegurana1Click();
    void PerfisdeAcesso1Click();
    void ManuteodeLanamentos1Click();
    void RelaodeClientes1Click();
    void PedidosdeVenda1Click();
    void Emissoras2Click();
    void Lanamentos2Click();
    void EfeitosVisuais2Click();

    // The show step: the login, then the birthdays of the day.
    void FormShow();
    // The birthdays of today: opens TFrmAniversariantes when there are any.
    void MostrarAniversariantes();
    void TimerRelogioTimer();
    void TLembretesTimer();
    // The reminder check run by TLembretes every minute: the due-reminder
    // check of the reminders unit; tests may replace it.
    static std::function<void(TFrmPrincipal&)> VerificarLembretes;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    QAction* item(QMenu* menu, const char* nome, const QString& texto, int tag, int tipo,
                  void (TFrmPrincipal::*handler)() = nullptr);
    QToolButton* botao(const char* nome, const char* icone, const QString& dica, int tag,
                       void (TFrmPrincipal::*handler)());
    QFrame* separador(const char* nome);
    void abrirRelatorio(const char* pagina);
    void executar(void (TFrmPrincipal::*handler)());

    QList<QAction*> itensMenu_;
    bool mostrado_ = false;
    bool fechando_ = false;
};

extern TFrmPrincipal* FrmPrincipal;

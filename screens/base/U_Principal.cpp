#include "U_Principal.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/Ambiente.h"
#include "common/U_Funcoes.h"
#include "platform/data/Query.h"
#include "screens/agenda/U_Aniversariantes.h"
#include "screens/maintenance/U_Backup.h"
#include "security/UClassSeguranca.h"
#include "security/U_Conexao.h"

#include <QAction>
#include <QCoreApplication>
#include <QCloseEvent>
#include <QDate>
#include <QDateEdit>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

// Screens of the menu, wired as their units exist.
#if __has_include("screens/registers/U_Clientes.h")
#include "screens/registers/U_Clientes.h"
#define TEM_CLIENTES 1
#endif
#if __has_include("screens/registers/U_Funcionarios.h")
#include "screens/registers/U_Funcionarios.h"
#define TEM_FUNCIONARIOS 1
#endif
#if __has_include("screens/registers/U_Vendedores.h")
#include "screens/registers/U_Vendedores.h"
#define TEM_VENDEDORES 1
#endif
#if __has_include("screens/registers/U_Emissoras.h")
#include "screens/registers/U_Emissoras.h"
#define TEM_EMISSORAS 1
#endif
#if __has_include("screens/registers/U_Programas.h")
#include "screens/registers/U_Programas.h"
#define TEM_PROGRAMAS 1
#endif
#if __has_include("screens/agenda/U_CadLembretes.h")
#include "screens/agenda/U_CadLembretes.h"
#define TEM_CADLEMBRETES 1
#endif
#if __has_include("screens/agenda/U_Lembretes.h")
#include "screens/agenda/U_Lembretes.h"
#define TEM_LEMBRETES 1
#endif
#if __has_include("screens/registers/U_FormaPagto.h")
#include "screens/registers/U_FormaPagto.h"
#define TEM_FORMAPAGTO 1
#endif
#if __has_include("screens/registers/U_Prazos.h")
#include "screens/registers/U_Prazos.h"
#define TEM_PRAZOS 1
#endif
#if __has_include("screens/registers/U_Midias.h")
#include "screens/registers/U_Midias.h"
#define TEM_MIDIAS 1
#endif
#if __has_include("screens/clipping/U_Lancamentos.h")
#include "screens/clipping/U_Lancamentos.h"
#define TEM_LANCAMENTOS 1
#endif
#if __has_include("screens/clipping/U_PesquisaLancamento.h")
#include "screens/clipping/U_PesquisaLancamento.h"
#define TEM_PESQUISALANCAMENTO 1
#endif
#if __has_include("screens/orders/U_Pedidos.h")
#include "screens/orders/U_Pedidos.h"
#define TEM_PEDIDO 1
#endif
#if __has_include("screens/orders/U_PesquisaPedido.h")
#include "screens/orders/U_PesquisaPedido.h"
#define TEM_PESQUISAPEDIDO 1
#endif
#if __has_include("screens/agenda/U_Agenda.h")
#include "screens/agenda/U_Agenda.h"
#define TEM_AGENDA 1
#endif
#if __has_include("security/U_PerfilAcesso.h")
#include "security/U_PerfilAcesso.h"
#define TEM_PERFILACESSO 1
#endif
#if __has_include("screens/maintenance/U_Manutencao.h")
#include "screens/maintenance/U_Manutencao.h"
#define TEM_MANUTENCAO 1
#endif
#if __has_include("screens/reports/U_Relatorios.h")
#include "screens/reports/U_Relatorios.h"
#define TEM_RELATORIOS 1
#endif
#if __has_include("screens/registers/U_Configuracao.h")
#include "screens/registers/U_Configuracao.h"
#define TEM_CONFIGURACAO 1
#endif

TFrmPrincipal* FrmPrincipal = nullptr;

std::function<void()> TFrmPrincipal::Encerrar = [] { QCoreApplication::exit(0); };
std::function<void(TFrmPrincipal&)> TFrmPrincipal::VerificarLembretes
#if TEM_LEMBRETES
    = [](TFrmPrincipal& p) { VerificarLembretesDevidos(&p, p.TLembretes); }
#endif
;

namespace {

const char* const kTag = "Tag";
const char* const kTipo = "HelpContext";

} // namespace

int TFrmPrincipal::Tag(const QObject* o) { return o ? o->property(kTag).toInt() : 0; }
int TFrmPrincipal::Tipo(const QObject* o) { return o ? o->property(kTipo).toInt() : 0; }

TFrmPrincipal::TFrmPrincipal(QWidget* parent) : QMainWindow(parent) {
    Q_INIT_RESOURCE(principal);
    FrmPrincipal = this;
    setObjectName(QStringLiteral("FrmPrincipal"));
    setWindowTitle(TituloAplicacao().isEmpty() ? QStringLiteral("Zbvlo Clipping") : TituloAplicacao());
    setWindowIcon(QIcon(QStringLiteral(":/principal/icons/lancamentos.svg")));
    resize(1024, 700);

    // Menu.
    MainMenu = menuBar();
    MainMenu->setObjectName(QStringLiteral("MainMenu"));
    auto menu = [this](const char* nome, const QString& texto, int tag) {
        QMenu* m = MainMenu->addMenu(texto);
        m->setObjectName(QString::fromLatin1(nome));
        QAction* a = m->menuAction();
        a->setObjectName(QString::fromLatin1(nome));
        a->setProperty(kTag, tag);
        a->setProperty(kTipo, 0);
        itensMenu_.append(a);
        return m;
    };
    using P = TFrmPrincipal;
    File1 = menu("File1", QStringLiteral("Cadastro"), 10);
    Clientes1 = item(File1, "Clientes1", QStringLiteral("Clientes"), 1001, 1, &P::Clientes1Click);
    Funcionrios1 = item(File1, "Funcionrios1", QStringLiteral("Funcionários"), 1002, 1, &P::Funcionrios1Click);
    Vendedores1 = item(File1, "Vendedores1", QStringLiteral("Vendedores"), 1003, 1, &P::Vendedores1Click);
    Emissoras1 = item(File1, "Emissoras1", QStringLiteral("Emissoras"), 1004, 1, &P::Emissoras1Click);
    Programas1 = item(File1, "Programas1", QStringLiteral("Programas"), 1005, 1, &P::Programas1Click);
    Lembretes1 = item(File1, "Lembretes1", QStringLiteral("Lembretes"), 1006, 1, &P::Lembretes1Click);
    FormadePagamento1 = item(File1, "FormadePagamento1", QStringLiteral("Forma de Pagamento"), 1007, 1,
                             &P::FormadePagamento1Click);
    Prazos1 = item(File1, "Prazos1", QStringLiteral("Prazos"), 1008, 1, &P::Prazos1Click);
    Mdias1 = item(File1, "Mdias1", QStringLiteral("Mídias"), 1009, 1, &P::Mdias1Click);
    N1 = item(File1, "N1", QStringLiteral("-"), 0, 0);
    Sair1 = item(File1, "Sair1", QStringLiteral("Sair"), 0, 0, &P::Sair1Click);

    Ferramentas1 = menu("Ferramentas1", QStringLiteral("Utilitarios"), 11);
    Lanamentos1 = item(Ferramentas1, "Lanamentos1", QStringLiteral("Lançamentos"), 1101, 1, &P::Lanamentos1Click);
    ConsultarLanamentos1 = item(Ferramentas1, "ConsultarLanamentos1", QStringLiteral("Consultar Lançamentos"), 1102,
                                1, &P::ConsultarLanamentos1Click);
    N3 = item(Ferramentas1, "N3", QStringLiteral("-"), 0, 0);
    Pedidos1 = item(Ferramentas1, "Pedidos1", QStringLiteral("Pedidos"), 1106, 1, &P::Pedidos1Click);
    ConsultarPedidos1 = item(Ferramentas1, "ConsultarPedidos1", QStringLiteral("Consultar Pedidos"), 1107, 1,
                             &P::ConsultarPedidos1Click);
    N2 = item(Ferramentas1, "N2", QStringLiteral("-"), 0, 0);
    AgendadeTelefones1 = item(Ferramentas1, "AgendadeTelefones1", QStringLiteral("Agenda de Telefones"), 1103, 1,
                              &P::AgendadeTelefones1Click);
    Cpiadesegurana1 = item(Ferramentas1, "Cpiadesegurana1", QStringLiteral("Cópia de segurança (Backup)"), 1104, 1,
                           &P::Cpiadesegurana1Click);
    PerfisdeAcesso1 = item(Ferramentas1, "PerfisdeAcesso1", QStringLiteral("Perfis de Acesso"), 1105, 1,
                           &P::PerfisdeAcesso1Click);
    N4 = item(Ferramentas1, "N4", QStringLiteral("-"), 0, 0);
    ManuteodeLanamentos1 = item(Ferramentas1, "ManuteodeLanamentos1", QStringLiteral("Manuteção de Dados"), 1108, 1,
                                &P::ManuteodeLanamentos1Click);

    Relatrios1 = menu("Relatrios1", QStringLiteral("&Relatórios"), 12);
    RelaodeClientes1 = item(Relatrios1, "RelaodeClientes1", QStringLiteral("Relação de Clientes"), 1201, 2,
                            &P::RelaodeClientes1Click);
    PedidosdeVenda1 = item(Relatrios1, "PedidosdeVenda1", QStringLiteral("Pedidos de Venda"), 1202, 2,
                           &P::PedidosdeVenda1Click);
    Emissoras2 = item(Relatrios1, "Emissoras2", QStringLiteral("Emissoras"), 1203, 2, &P::Emissoras2Click);
    Lanamentos2 = item(Relatrios1, "Lanamentos2", QStringLiteral("Lançamentos"), 1204, 2, &P::Lanamentos2Click);

    Window1 = menu("Window1", QStringLiteral("C&onfiguração"), 13);
    EfeitosVisuais2 = item(Window1, "EfeitosVisuais2", QStringLiteral("&Empresa, Efeitos Visuais e Rede"), 1301, 1,
                           &P::EfeitosVisuais2Click);

    // Tool bar.
    auto* barra = new QToolBar(this);
    barra->setObjectName(QStringLiteral("BarraFerramentas"));
    barra->setMovable(false);
    barra->setFloatable(false);
    barra->toggleViewAction()->setVisible(false);
    barra->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, barra);
    Panel1 = new QFrame(barra);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* linha = new QHBoxLayout(Panel1);
    linha->setContentsMargins(4, 2, 4, 2);
    linha->setSpacing(2);
    BClientes = botao("BClientes", "clientes", QStringLiteral("Clientes"), 1001, &P::Clientes1Click);
    BFuncionarios = botao("BFuncionarios", "funcionarios", QStringLiteral("Funcionários"), 1002, &P::Funcionrios1Click);
    BVendedores = botao("BVendedores", "vendedores", QStringLiteral("Vendedores"), 1003, &P::Vendedores1Click);
    BEmissoras = botao("BEmissoras", "emissoras", QStringLiteral("Emissoras"), 1004, &P::Emissoras1Click);
    BProgramas = botao("BProgramas", "programas", QStringLiteral("Programas"), 1005, &P::Programas1Click);
    Bevel1 = separador("Bevel1");
    BLancamentos = botao("BLancamentos", "lancamentos", QStringLiteral("Lançamentos"), 1101, &P::Lanamentos1Click);
    BConsultaLancamento = botao("BConsultaLancamento", "consultalancamento", QStringLiteral("Consultar Lançamentos"),
                                1102, &P::ConsultarLanamentos1Click);
    Bevel2 = separador("Bevel2");
    BPedidos = botao("BPedidos", "pedidos", QStringLiteral("Pedidos"), 1106, &P::Pedidos1Click);
    BConsultaPedidos = botao("BConsultaPedidos", "consultapedidos", QStringLiteral("Consultar Pedidos"), 1107,
                             &P::ConsultarPedidos1Click);
    Bevel4 = separador("Bevel4");
    BAgenda = botao("BAgenda", "agenda", QStringLiteral("Agenda de Telefones"), 1103, &P::AgendadeTelefones1Click);
    BConfiguracao = botao("BConfiguracao", "configuracao", QStringLiteral("Configuração"), 1301,
                          &P::EfeitosVisuais2Click);
    Bevel3 = separador("Bevel3");
    BSair = botao("BSair", "sair", QStringLiteral("Sair"), 0, &P::Sair1Click);
    linha->addStretch(1);

    PDataHora = new QWidget(Panel1);
    PDataHora->setObjectName(QStringLiteral("PDataHora"));
    auto* dh = new QHBoxLayout(PDataHora);
    dh->setContentsMargins(0, 0, 0, 0);
    dh->setSpacing(4);
    QFont negrito = font();
    negrito.setBold(true);
    EDataSistema = new QDateEdit(QDate::currentDate(), PDataHora);
    EDataSistema->setObjectName(QStringLiteral("EDataSistema"));
    EDataSistema->setCalendarPopup(true);
    EDataSistema->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    EDataSistema->setFont(negrito);
    EDataSistema->setFocusPolicy(Qt::ClickFocus);
    EDataSistema->setMinimumWidth(EDataSistema->fontMetrics().horizontalAdvance(
                                      QStringLiteral("quarta-feira, 30 de setembro de 2026")) + 40);
    ERelogioSistema = new QLineEdit(QStringLiteral("00:00:00"), PDataHora);
    ERelogioSistema->setObjectName(QStringLiteral("ERelogioSistema"));
    ERelogioSistema->setReadOnly(true);
    ERelogioSistema->setEnabled(false);
    ERelogioSistema->setFont(negrito);
    ERelogioSistema->setAlignment(Qt::AlignCenter);
    ERelogioSistema->setFixedWidth(ERelogioSistema->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 24);
    ERelogioSistema->setFocusPolicy(Qt::NoFocus);
    // Disabled, yet as readable as the date beside it.
    QPalette relogio = ERelogioSistema->palette();
    relogio.setColor(QPalette::Disabled, QPalette::Text, relogio.color(QPalette::Active, QPalette::Text));
    ERelogioSistema->setPalette(relogio);
    dh->addWidget(EDataSistema);
    dh->addWidget(ERelogioSistema);
    linha->addWidget(PDataHora);
    barra->addWidget(Panel1);

    // Client area.
    MDIArea = new QMdiArea(this);
    MDIArea->setObjectName(QStringLiteral("MDIArea"));
    MDIArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MDIArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MDIArea->setBackground(QColor(0x5a, 0x6e, 0x82));
    setCentralWidget(MDIArea);

    // Timers: both run inside modal loops too.
    TimerRelogio = new QTimer(this);
    TimerRelogio->setObjectName(QStringLiteral("TimerRelogio"));
    TimerRelogio->setInterval(1000);
    connect(TimerRelogio, &QTimer::timeout, this, [this] { executar(&TFrmPrincipal::TimerRelogioTimer); });
    TLembretes = new QTimer(this);
    TLembretes->setObjectName(QStringLiteral("TLembretes"));
    TLembretes->setInterval(60000);
    connect(TLembretes, &QTimer::timeout, this, [this] { executar(&TFrmPrincipal::TLembretesTimer); });
    TimerRelogio->start();
    TLembretes->start();

    // Creation step: error handler, formats, launcher reference.
    PrepararJanelaPrincipal(this);
    // The date box was made before the process formats were set.
    EDataSistema->setLocale(QLocale());
    EDataSistema->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    InstalarVerificadorAcesso();
}

TFrmPrincipal::~TFrmPrincipal() {
    if (FrmPrincipal == this)
        FrmPrincipal = nullptr;
    if (JanelaPrincipal() == this)
        DefinirJanelaPrincipal(nullptr);
}

QAction* TFrmPrincipal::item(QMenu* menu, const char* nome, const QString& texto, int tag, int tipo,
                             void (TFrmPrincipal::*handler)()) {
    QAction* a = texto == QLatin1String("-") ? menu->addSeparator() : menu->addAction(texto);
    a->setParent(this);
    a->setObjectName(QString::fromLatin1(nome));
    a->setProperty(kTag, tag);
    a->setProperty(kTipo, tipo);
    if (handler)
        connect(a, &QAction::triggered, this, [this, handler] { executar(handler); });
    itensMenu_.append(a);
    return a;
}

QToolButton* TFrmPrincipal::botao(const char* nome, const char* icone, const QString& dica, int tag,
                                  void (TFrmPrincipal::*handler)()) {
    auto* b = new QToolButton(Panel1);
    b->setObjectName(QString::fromLatin1(nome));
    b->setAutoRaise(true);
    b->setToolTip(dica);
    b->setIcon(QIcon(QStringLiteral(":/principal/icons/%1.svg").arg(QLatin1String(icone))));
    b->setIconSize(QSize(32, 32));
    b->setFixedSize(42, 42);
    b->setFocusPolicy(Qt::NoFocus);
    b->setProperty(kTag, tag);
    connect(b, &QToolButton::clicked, this, [this, handler] { executar(handler); });
    static_cast<QHBoxLayout*>(Panel1->layout())->addWidget(b);
    return b;
}

QFrame* TFrmPrincipal::separador(const char* nome) {
    auto* f = new QFrame(Panel1);
    f->setObjectName(QString::fromLatin1(nome));
    f->setFrameShape(QFrame::VLine);
    f->setFrameShadow(QFrame::Sunken);
    f->setFixedWidth(10);
    static_cast<QHBoxLayout*>(Panel1->layout())->addWidget(f);
    return f;
}

void TFrmPrincipal::executar(void (TFrmPrincipal::*handler)()) {
    QObject* origem = sender();
    try {
        (this->*handler)();
    } catch (const std::exception& e) {
        TratarExcecao(origem ? origem : this, e);
    }
}

QList<QToolButton*> TFrmPrincipal::BotoesDireitos() const {
    return {BClientes, BFuncionarios, BVendedores, BEmissoras, BProgramas, BLancamentos,
            BConsultaLancamento, BAgenda, BConfiguracao, BPedidos, BConsultaPedidos};
}

void TFrmPrincipal::AplicarDireitos() {
    for (QAction* a : itensMenu_) {
        const int tela = Tag(a);
        if (tela != 0)
            a->setVisible(VerificarAcessoSessao(tela, QStringLiteral("DIR_ACESSO"), false));
    }
    for (QToolButton* b : BotoesDireitos())
        b->setEnabled(VerificarAcessoSessao(Tag(b), QStringLiteral("DIR_ACESSO"), false));
}

// ---------------------------------------------------------------------------
// Show and close

void TFrmPrincipal::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!mostrado_) {
        mostrado_ = true;
        // Inside the event loop, so that the login's "Fechar" can end it.
        QTimer::singleShot(0, this, [this] { executar(&TFrmPrincipal::FormShow); });
    }
}

void TFrmPrincipal::FormShow() {
    if (!TFrmConexao::ExecutarLogin(this, [this] { AplicarDireitos(); }))
        return;
    MostrarAniversariantes();
}

void TFrmPrincipal::MostrarAniversariantes() {
    if (!DM)
        return;
    dataset::Query* q = DM->Q_Aniversariantes;
    const QDate hoje = QDate::currentDate();
    q->Close();
    q->ParamByName(QStringLiteral("AGE_DIA"))->SetAsInteger(hoje.day());
    q->ParamByName(QStringLiteral("FUN_DIA"))->SetAsInteger(hoje.day());
    q->ParamByName(QStringLiteral("AGE_MES"))->SetAsInteger(hoje.month());
    q->ParamByName(QStringLiteral("FUN_MES"))->SetAsInteger(hoje.month());
    q->Open();
    if (!q->IsEmpty())
        AbrirFormulario<TFrmAniversariantes>(true, 0);
}

void TFrmPrincipal::closeEvent(QCloseEvent* e) {
    e->accept();
    if (fechando_)
        return;
    fechando_ = true;
    try {
        AbrirFormulario<TFrmBackup>(true, 1);
    } catch (const std::exception& ex) {
        TratarExcecao(this, ex);
    }
    if (Encerrar)
        Encerrar();
}

void TFrmPrincipal::Sair1Click() { close(); }

// ---------------------------------------------------------------------------
// Clock and reminders

void TFrmPrincipal::TimerRelogioTimer() {
    EDataSistema->setDate(QDate::currentDate());
    ERelogioSistema->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

void TFrmPrincipal::TLembretesTimer() {
    if (VerificarLembretes)
        VerificarLembretes(*this);
}

// ---------------------------------------------------------------------------
// Screens

void TFrmPrincipal::Clientes1Click() {
#if TEM_CLIENTES
    AbrirFormulario<TFrmClientes>(false, 0);
#endif
}

void TFrmPrincipal::Funcionrios1Click() {
#if TEM_FUNCIONARIOS
    AbrirFormulario<TFrmFuncionarios>(false, 0);
#endif
}

void TFrmPrincipal::Vendedores1Click() {
#if TEM_VENDEDORES
    AbrirFormulario<TFrmVendedores>(false, 0);
#endif
}

void TFrmPrincipal::Emissoras1Click() {
#if TEM_EMISSORAS
    AbrirFormulario<TFrmEmissoras>(false, 0);
#endif
}

void TFrmPrincipal::Programas1Click() {
#if TEM_PROGRAMAS
    AbrirFormulario<TFrmProgramas>(false, 0);
#endif
}

void TFrmPrincipal::Lembretes1Click() {
#if TEM_CADLEMBRETES
    AbrirFormulario<TFrmCadLembretes>(true, 0);
#endif
}

void TFrmPrincipal::FormadePagamento1Click() {
#if TEM_FORMAPAGTO
    AbrirFormulario<TFrmFormaPagto>(false, 0);
#endif
}

void TFrmPrincipal::Prazos1Click() {
#if TEM_PRAZOS
    AbrirFormulario<TFrmPrazos>(false, 0);
#endif
}

void TFrmPrincipal::Mdias1Click() {
#if TEM_MIDIAS
    AbrirFormulario<TFrmMidias>(false, 0);
#endif
}

void TFrmPrincipal::Lanamentos1Click() {
#if TEM_LANCAMENTOS
    AbrirFormulario<TFrmLancamentos>(false, 0);
#endif
}

void TFrmPrincipal::ConsultarLanamentos1Click() {
    if (DMBanco)
        DMBanco->PedidoAtual = 0;
#if TEM_PESQUISALANCAMENTO
    // A separate top-level window, brought back while it is open.
    AbrirPesquisaLancamento();
#endif
}

void TFrmPrincipal::Pedidos1Click() {
#if TEM_PEDIDO
    AbrirFormulario<TFrmPedido>(false, 0);
#endif
    if (DM) {
        if (auto* q = DM->findChild<dataset::DataSet*>(QStringLiteral("Q_Pedido"))) {
            q->Close();
            q->Open();
        }
    }
}

void TFrmPrincipal::ConsultarPedidos1Click() {
#if TEM_PESQUISAPEDIDO
    AbrirFormulario<TFrmPesquisaPedido>(false, 0);
#endif
}

void TFrmPrincipal::AgendadeTelefones1Click() {
#if TEM_AGENDA
    AbrirFormulario<TFrmAgenda>(false, 0);
#endif
}

void TFrmPrincipal::Cpiadesegurana1Click() { AbrirFormulario<TFrmBackup>(true, 0); }

void TFrmPrincipal::PerfisdeAcesso1Click() {
#if TEM_PERFILACESSO
    AbrirFormulario<TFrmPerfilAcesso>(false, 0);
#endif
}

void TFrmPrincipal::ManuteodeLanamentos1Click() {
#if TEM_MANUTENCAO
    AbrirFormulario<TFrmManutencao>(true, 0);
#endif
}

void TFrmPrincipal::EfeitosVisuais2Click() {
#if TEM_CONFIGURACAO
    AbrirFormulario<TFrmConfiguracao>(true, 0);
#endif
}

// Reports: the report screen on one page, modal, destroyed when closed.
void TFrmPrincipal::abrirRelatorio([[maybe_unused]] const char* pagina) {
#if TEM_RELATORIOS
    auto* tela = new TFrmRelatorios(nullptr);
    QPointer<QWidget> guarda = tela;
    if (auto* p = tela->findChild<QWidget*>(QString::fromLatin1(pagina))) {
        if (auto* pilha = qobject_cast<QStackedWidget*>(p->parentWidget())) {
            if (auto* abas = qobject_cast<QTabWidget*>(pilha->parentWidget()))
                abas->setCurrentWidget(p);
            else
                pilha->setCurrentWidget(p);
        }
    }
    try {
        ExibirModal(tela);
    } catch (...) {
        delete guarda.data();
        throw;
    }
    delete guarda.data();
#endif
}

void TFrmPrincipal::RelaodeClientes1Click() { abrirRelatorio("TabClientes"); }
void TFrmPrincipal::PedidosdeVenda1Click() { abrirRelatorio("TabPedidos"); }
void TFrmPrincipal::Emissoras2Click() { abrirRelatorio("TabEmissoras"); }
void TFrmPrincipal::Lanamentos2Click() { abrirRelatorio("TabLancamentos"); }

#include "screens/orders/U_PesquisaPedido.h"

#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/U_Funcoes.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBGrid.h"
#include "screens/clipping/U_PesquisaLancamento.h"
#include "screens/orders/U_Pedidos.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

QString TFrmPesquisaPedido::Ordem = QStringLiteral("PED.PED_DATAENTREGA");

namespace {

const QString kOrdemInicial = QStringLiteral("PED.PED_DATAENTREGA");

const char* const kSelect = "SELECT PED.*, CLI.CLI_NOME, MID.MID_DESCRICAO, FPG.FPG_DESCRICAO, PRA.PRA_DESCRICAO, "
                            "VEN.FUN_NOME";
const char* const kJuncoes[] = {
    "FROM TB_PEDIDO PED LEFT OUTER JOIN TB_CLIENTES CLI ON PED.CLI_CODIGO = CLI.CLI_CODIGO",
    "LEFT OUTER JOIN TB_MIDIAS MID ON PED.MID_CODIGO = MID.MID_CODIGO",
    "LEFT OUTER JOIN TB_FORMAPAGAMENTO FPG ON PED.FPG_CODIGO = FPG.FPG_CODIGO",
    "LEFT OUTER JOIN TB_PRAZOS PRA ON PED.PRA_CODIGO = PRA.PRA_CODIGO",
    "LEFT OUTER JOIN V_VENDEDORES VEN ON PED.VEN_CODIGO = VEN.VEN_CODIGO",
};

enum Criterio { Cliente, Vendedor, Midia, DataEntrega, FormaPagto };

// A magnifying glass for the picture-only search button.
QIcon iconeLupa() {
    QPixmap px(20, 20);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 2));
    p.setBrush(QColor(0xd8, 0xe8, 0xf8));
    p.drawEllipse(QRectF(2, 2, 11, 11));
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 12), QPointF(18, 18));
    return QIcon(px);
}

} // namespace

// Registered here because this unit is linked wherever the order form is:
// the entry search opens the form through it when adding items to an order.
namespace {
const bool kPedidoRegistrado = [] {
    TFrmPesquisaLancamento::AbrirFormularioPedido() = [] { AbrirFormulario<TFrmPedido>(false, 0); };
    return true;
}();
} // namespace

TFrmPesquisaPedido::TFrmPesquisaPedido(QWidget* parent) : TFrmBase(parent) {
    (void)kPedidoRegistrado;
    setObjectName(QStringLiteral("FrmPesquisaPedido"));
    setWindowTitle(QStringLiteral("Localizar Pedidos"));
    SetTag(1107);

    Q_Busca = new dataset::Query(this);
    Q_Busca->setObjectName(QStringLiteral("Q_Busca"));
    if (DMBanco)
        Q_Busca->SetTransaction(&DMBanco->Trans_Clipping);
    Q_Busca->ReadOnly = true;
    InstrucaoInicial();
    Q_Busca->DefineField(QStringLiteral("PED_DATAENTREGA"), dataset::FieldType::DateTime)->DisplayFormat =
        QStringLiteral("dd/mm/yyyy");
    Q_Busca->DefineField(QStringLiteral("PED_VALOR"), dataset::FieldType::Float)->Currency = true;
    DataSource1->SetDataSet(Q_Busca);

    // Criterion and text.
    auto* g = new QGridLayout(PFundo);
    g->setContentsMargins(8, 6, 8, 6);
    g->setHorizontalSpacing(6);
    RGLocalizar = new TRadioGroup(PFundo);
    RGLocalizar->setObjectName(QStringLiteral("RGLocalizar"));
    RGLocalizar->setTitle(QStringLiteral("Localizar por: "));
    RGLocalizar->SetItems({QStringLiteral("Cliente"), QStringLiteral("Vendedor"), QStringLiteral("Mídia"),
                           QStringLiteral("Data de Entrega"), QStringLiteral("Forma de Pagto.")},
                          5);
    RGLocalizar->SetItemIndex(0);
    EdPesquisa = new QLineEdit(PFundo);
    EdPesquisa->setObjectName(QStringLiteral("EdPesquisa"));
    EdPesquisa->setMinimumWidth(320);
    Label1 = new QLabel(QStringLiteral("Localizar:"), PFundo);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(EdPesquisa);
    BBusca = new QToolButton(PFundo);
    BBusca->setObjectName(QStringLiteral("BBusca"));
    BBusca->setIcon(iconeLupa());
    BBusca->setIconSize(QSize(20, 20));
    BBusca->setToolTip(QStringLiteral("Localizar"));
    BBusca->setFocusPolicy(Qt::NoFocus);
    g->addWidget(RGLocalizar, 0, 0, 1, 3);
    g->addWidget(Label1, 1, 0);
    g->addWidget(EdPesquisa, 1, 1);
    g->addWidget(BBusca, 1, 2);
    g->setColumnStretch(1, 1);

    // Result and actions.
    auto* v = new QVBoxLayout(PBusca);
    v->setContentsMargins(6, 6, 6, 6);
    DBGrid1 = new dataset::DBGrid(PBusca);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    DBGrid1->SetRowSelect(true);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto coluna = [](const char* campo, const char* titulo, int largura,
                     Qt::Alignment alinhamento = Qt::AlignLeft | Qt::AlignVCenter) {
        dataset::GridColumn c;
        c.FieldName = QLatin1String(campo);
        c.Title = QString::fromUtf8(titulo);
        c.Width = largura;
        c.Alignment = alinhamento;
        c.ReadOnly = true;
        return c;
    };
    const auto direita = Qt::AlignRight | Qt::AlignVCenter;
    DBGrid1->SetColumns({coluna("PED_NUMERO", "Nº", 50, direita), coluna("CLI_NOME", "Cliente", 180),
                         coluna("PED_DATAENTREGA", "Data Entrega", 86), coluna("PED_HORARIO", "Horário", 64),
                         coluna("PED_VALOR", "Valor", 90, direita),
                         coluna("FPG_DESCRICAO", "Forma Pagamento", 116), coluna("PRA_DESCRICAO", "Prazo", 90),
                         coluna("MID_DESCRICAO", "Mídia", 90), coluna("FUN_NOME", "Vendedor", 120),
                         coluna("PED_STATUS", "Status", 100)});
    DBGrid1->setMinimumSize(1020, 320);
    DBGrid1->OnTitleClick = [this](dataset::DBGrid&, int c) {
        executar(DBGrid1, [this, c] { DBGrid1TitleClick(c); });
    };
    v->addWidget(DBGrid1, 1);

    auto* botoes = new QHBoxLayout;
    auto botao = [&](const char* nome, const QString& texto) {
        auto* b = new QToolButton(PBusca);
        b->setObjectName(QLatin1String(nome));
        b->setText(texto);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setMinimumSize(110, 28);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    BEditar = botao("BEditar", QStringLiteral("Editar Pedido"));
    BSair = botao("BSair", QStringLiteral("Sair"));
    botoes->addWidget(BEditar);
    botoes->addStretch(1);
    botoes->addWidget(BSair);
    v->addLayout(botoes);

    connect(BBusca, &QToolButton::clicked, this, [this] { executar(BBusca, [this] { BBuscaClick(); }); });
    connect(BEditar, &QToolButton::clicked, this, [this] { executar(BEditar, [this] { BEditarClick(); }); });
    connect(BSair, &QToolButton::clicked, this, [this] { close(); });
    EdPesquisa->installEventFilter(this);
}

TFrmPesquisaPedido::~TFrmPesquisaPedido() = default;

void TFrmPesquisaPedido::executar(QObject* remetente, const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        TratarExcecao(remetente, e);
    }
}

void TFrmPesquisaPedido::InstrucaoInicial() {
    Q_Busca->Close();
    Q_Busca->SQL.Clear();
    Q_Busca->SQL.Add(QLatin1String(kSelect));
    for (const char* l : kJuncoes) Q_Busca->SQL.Add(QLatin1String(l));
    Q_Busca->SQL.Add(QStringLiteral("ORDER BY PED.PED_DATAENTREGA"));
}

void TFrmPesquisaPedido::FormShow() {
    // Every order by delivery date, whatever the last search was.
    InstrucaoInicial();
    TFrmBase::FormShow();
    Ordem = kOrdemInicial;
    EdPesquisa->setFocus();
}

void TFrmPesquisaPedido::BBuscaClick() {
    const int criterio = RGLocalizar->ItemIndex();
    const QString texto = EdPesquisa->text();
    // A date that cannot be read stops here, before the list is closed, so
    // it keeps its last result.
    QDate data;
    if (criterio == DataEntrega && !texto.isEmpty())
        data = dataset::StrToDate(texto).date();

    Q_Busca->Close();
    Q_Busca->SQL.Clear();
    Q_Busca->SQL.Add(QLatin1String(kSelect));
    for (const char* l : kJuncoes) Q_Busca->SQL.Add(QLatin1String(l));
    Q_Busca->SQL.Add(QStringLiteral("WHERE PED.PED_CODIGO > 0"));
    // A quote typed in the box is doubled, so it stays part of the text.
    const QString t = TextoSql(TrocarAcentos(texto));
    auto like = [&t](const char* coluna) {
        return QStringLiteral("and Upper(%1) LIKE '%").arg(QLatin1String(coluna)) + t + QStringLiteral("%'");
    };
    switch (criterio) {
    case Cliente: Q_Busca->SQL.Add(like("CLI.CLI_NOME")); break;
    case Vendedor: Q_Busca->SQL.Add(like("VEN.FUN_NOME")); break;
    case Midia: Q_Busca->SQL.Add(like("MID.MID_DESCRICAO")); break;
    case DataEntrega: Q_Busca->SQL.Add(QStringLiteral("and PED.PED_DATAENTREGA = :Data")); break;
    case FormaPagto: Q_Busca->SQL.Add(like("FPG.FPG_DESCRICAO")); break;
    default: break;
    }
    Q_Busca->SQL.Add(QStringLiteral("ORDER BY ") + Ordem);
    if (criterio == DataEntrega && data.isValid())
        Q_Busca->ParamByName(QStringLiteral("Data"))->SetAsDate(data);
    Q_Busca->Open();
}

void TFrmPesquisaPedido::DBGrid1TitleClick(int coluna) {
    const auto& colunas = DBGrid1->Columns();
    if (coluna < 0 || coluna >= colunas.size())
        return;
    Ordem = colunas[coluna].FieldName;
    BBuscaClick();
}

void TFrmPesquisaPedido::BEditarClick() {
    AbrirFormulario<TFrmPedido>(false, 0);
    if (!DM || !DMBanco)
        return;
    DM->Q_Pedido->Close();
    DM->Q_Pedido->Open();
    int codigo = 0;
    if (Q_Busca->Active() && !Q_Busca->IsEmpty())
        codigo = Q_Busca->FieldByName(QStringLiteral("PED_CODIGO"))->AsInteger();
    DMBanco->PedidoAtual = codigo;
    DM->Q_Pedido->Locate(QStringLiteral("PED_CODIGO"), codigo);
}

bool TFrmPesquisaPedido::eventFilter(QObject* obj, QEvent* ev) {
    if (obj == EdPesquisa) {
        switch (ev->type()) {
        case QEvent::FocusIn: KeyPreview = false; break;    // EdPesquisaEnter
        case QEvent::FocusOut: KeyPreview = true; break;    // EdPesquisaExit
        case QEvent::KeyPress: {                           // EdPesquisaKeyPress
            auto* k = static_cast<QKeyEvent*>(ev);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                executar(EdPesquisa, [this] { BBuscaClick(); });
                return true;
            }
            break;
        }
        default: break;
        }
    }
    return TFrmBase::eventFilter(obj, ev);
}

#include "screens/clipping/U_PesquisaLancamento.h"

#include "app/U_DMBanco.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/media/Player.h"
#include "screens/clipping/U_Informe.h"
#include "screens/clipping/U_Lancamentos.h"
#include "screens/clipping/U_Play.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmPesquisaLancamento* FrmPesquisaLancamento = nullptr;

namespace {

const QString kOrdemInicial = QStringLiteral("LAN.LAN_DATA, LAN.LAN_HORA, LAN.LAN_TEMPO");

QPixmap caixa(bool marcada) {
    QPixmap px(16, 16);
    px.fill(Qt::transparent);
    QPainter p(&px);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 13, 13);
    if (marcada) {
        p.setRenderHint(QPainter::Antialiasing, true);
        QPen pena(Qt::black, 2);
        p.setPen(pena);
        p.drawPolyline(QPolygonF({QPointF(4, 8), QPointF(7, 11), QPointF(12, 4)}));
    }
    return px;
}

} // namespace

// ---------------------------------------------------------------------------

TGrupoOpcoes::TGrupoOpcoes(const QString& titulo, const QStringList& itens, QWidget* parent)
    : QGroupBox(titulo, parent), grupo_(new QButtonGroup(this)) {
    auto* g = new QGridLayout(this);
    g->setContentsMargins(8, 4, 8, 4);
    g->setVerticalSpacing(2);
    const int linhas = (int(itens.size()) + 1) / 2;
    for (int i = 0; i < itens.size(); ++i) {
        auto* b = new QRadioButton(itens[i], this);
        b->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(i));
        grupo_->addButton(b, i);
        botoes_ << b;
        g->addWidget(b, i % linhas, i / linhas);
    }
    if (!botoes_.isEmpty())
        botoes_.first()->setChecked(true);
    connect(grupo_, &QButtonGroup::idClicked, this, &TGrupoOpcoes::clicado);
}

int TGrupoOpcoes::ItemIndex() const { return grupo_->checkedId(); }

void TGrupoOpcoes::SetItemIndex(int indice) {
    if (QAbstractButton* b = grupo_->button(indice))
        b->setChecked(true);
}

QString TGrupoOpcoes::ItemTexto() const {
    QAbstractButton* b = grupo_->checkedButton();
    return b ? b->text() : QString();
}

QRadioButton* TGrupoOpcoes::Botao(int indice) const { return botoes_.value(indice); }

// ---------------------------------------------------------------------------

TFrmPesquisaLancamento::TFrmPesquisaLancamento(QWidget* parent) : TFrmBase(parent) {
    setObjectName(QStringLiteral("FrmPesquisaLancamento"));
    setWindowTitle(QStringLiteral("Localizar Lançamentos"));
    SetTag(1102);
    setProperty(kPropriedadeCentralizada, true);
    FrmPesquisaLancamento = this;

    ImagemVazia = caixa(false);
    ImagemMarcada = caixa(true);

    Q_Busca = new dataset::Query(this);
    Q_Busca->setObjectName(QStringLiteral("Q_Busca"));
    // Marks and subject edits stay in the loaded rows: nothing is written.
    Q_Busca->CachedUpdates = true;
    Q_Busca->SQL.Add(QStringLiteral("SELECT FIRST(50) Lan.*, EMI.EMI_NOME, EMI.EMI_PATH, PRG.PRG_NOME, FUN.FUN_NOME "));
    Q_Busca->SQL.Add(QString());
    Q_Busca->SQL.Add(QStringLiteral("FROM TB_LANCAMENTO LAN, TB_EMISSORAS EMI, TB_PROGRAMAS PRG, TB_FUNCIONARIOS FUN"));
    Q_Busca->SQL.Add(QString());
    Q_Busca->SQL.Add(QStringLiteral("WHERE LAN.EMI_CODIGO = EMI.EMI_CODIGO AND LAN.PRG_CODIGO = PRG.PRG_CODIGO AND "
                                    "LAN.FUN_CODIGO = FUN.FUN_CODIGO"));
    Q_Busca->SQL.Add(QString());
    Q_Busca->SQL.Add(QStringLiteral("ORDER BY LAN.LAN_DATA DESC, LAN.LAN_HORA DESC, LAN.LAN_TEMPO DESC"));
    Q_Busca->DefineField(QStringLiteral("LAN_DATA"), dataset::FieldType::DateTime)->DisplayFormat =
        QStringLiteral("dd/mm/yyyy");
    DataSource1->SetDataSet(Q_Busca);
    DataSource1->AutoEdit = true;

    // Search boxes and choices.
    auto* g = new QGridLayout(PFundo);
    g->setContentsMargins(8, 6, 8, 6);
    g->setHorizontalSpacing(6);
    EdPesquisa = new QLineEdit(PFundo);
    EdPesquisa->setObjectName(QStringLiteral("EdPesquisa"));
    BBusca = new QPushButton(QStringLiteral("Buscar"), PFundo);
    BBusca->setObjectName(QStringLiteral("BBusca"));
    edFiltro = new QLineEdit(PFundo);
    edFiltro->setObjectName(QStringLiteral("edFiltro"));
    BitBtn1 = new QPushButton(QStringLiteral("Filtrar"), PFundo);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    for (QPushButton* b : {BBusca, BitBtn1}) {
        b->setAutoDefault(false);
        b->setFocusPolicy(Qt::NoFocus);
    }
    Label1 = new QLabel(QStringLiteral("Localizar:"), PFundo);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setBuddy(EdPesquisa);
    Label2 = new QLabel(QStringLiteral("Filtrar:"), PFundo);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setBuddy(edFiltro);
    for (QLabel* l : {Label1, Label2})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    EdPesquisa->setMinimumWidth(300);
    edFiltro->setMinimumWidth(300);

    RGLocalizar = new TGrupoOpcoes(QStringLiteral("Localizar por: "),
                                   {QStringLiteral("Assunto"), QStringLiteral("Emissora"), QStringLiteral("Programa"),
                                    QStringLiteral("Funcionário"), QStringLiteral("Data"), QStringLiteral("Cod. Fita")},
                                   PFundo);
    RGLocalizar->setObjectName(QStringLiteral("RGLocalizar"));
    RGFiltrar = new TGrupoOpcoes(QStringLiteral(" Filtrar por: "),
                                 {QStringLiteral("Emissora"), QStringLiteral("Programa"), QStringLiteral("Funcionário"),
                                  QStringLiteral("Data")},
                                 PFundo);
    RGFiltrar->setObjectName(QStringLiteral("RGFiltrar"));

    g->addWidget(Label1, 0, 0);
    g->addWidget(EdPesquisa, 0, 1);
    g->addWidget(BBusca, 0, 2);
    g->addWidget(Label2, 1, 0);
    g->addWidget(edFiltro, 1, 1);
    g->addWidget(BitBtn1, 1, 2);
    g->addWidget(RGLocalizar, 0, 3, 2, 1);
    g->addWidget(RGFiltrar, 0, 4, 2, 1);
    g->setColumnStretch(1, 1);

    // Result, subject and actions.
    auto* v = new QVBoxLayout(PBusca);
    v->setContentsMargins(6, 6, 6, 6);
    DBGrid1 = new dataset::DBGrid(PBusca);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetRowSelect(true);
    DBGrid1->SetDataSource(DataSource1);
    const auto centro = Qt::AlignHCenter | Qt::AlignVCenter;
    DBGrid1->SetColumns({
        {QStringLiteral("LAN_CHECKED"), QStringLiteral(" "), centro, centro, false, 36, true},
        {QStringLiteral("LAN_DATA"), QStringLiteral("Data"), Qt::AlignLeft | Qt::AlignVCenter,
         Qt::AlignLeft | Qt::AlignVCenter, false, 84, true},
        {QStringLiteral("LAN_HORA"), QStringLiteral("Horário"), Qt::AlignLeft | Qt::AlignVCenter,
         Qt::AlignLeft | Qt::AlignVCenter, false, 70, true},
        {QStringLiteral("EMI_NOME"), QStringLiteral("Emissora"), Qt::AlignLeft | Qt::AlignVCenter,
         Qt::AlignLeft | Qt::AlignVCenter, false, 160, true},
        {QStringLiteral("PRG_NOME"), QStringLiteral("Programa"), Qt::AlignLeft | Qt::AlignVCenter,
         Qt::AlignLeft | Qt::AlignVCenter, false, 160, true},
        {QStringLiteral("LAN_CODLANCAMENTO"), QStringLiteral("Cod. Fita"), Qt::AlignLeft | Qt::AlignVCenter,
         Qt::AlignLeft | Qt::AlignVCenter, false, 100, true},
        {QStringLiteral("LAN_TEMPO"), QStringLiteral("Tempo"), Qt::AlignLeft | Qt::AlignVCenter,
         Qt::AlignLeft | Qt::AlignVCenter, false, 70, true},
        {QStringLiteral("FUN_NOME"), QStringLiteral("Funcionário"), Qt::AlignLeft | Qt::AlignVCenter,
         Qt::AlignLeft | Qt::AlignVCenter, false, 140, true},
    });
    DBGrid1->DefaultDrawing = true;  // the mark column is drawn over
    DBGrid1->setMinimumSize(860, 300);
    DBGrid1->OnDrawColumnCell = [this](QPainter& p, const QRect& r, int coluna, dataset::Field*, bool sel) {
        DBGrid1DrawColumnCell(p, r, coluna, sel);
    };
    DBGrid1->OnCellClick = [this](dataset::DBGrid&, int coluna) {
        executar(DBGrid1, [this, coluna] { DBGrid1CellClick(coluna); });
    };
    DBGrid1->OnTitleClick = [this](dataset::DBGrid&, int coluna) {
        executar(DBGrid1, [this, coluna] { DBGrid1TitleClick(coluna); });
    };
    v->addWidget(DBGrid1, 1);

    DBMemo1 = new dataset::DBMemo(PBusca);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->SetDataSource(DataSource1);
    DBMemo1->SetDataField(QStringLiteral("LAN_ASSUNTO"));
    DBMemo1->setTabChangesFocus(true);
    DBMemo1->setFixedHeight(80);
    v->addWidget(DBMemo1);

    auto* botoes = new QHBoxLayout;
    auto botao = [this, botoes](const char* nome, const QString& texto) {
        auto* b = new QPushButton(texto, PBusca);
        b->setObjectName(QLatin1String(nome));
        b->setAutoDefault(false);
        b->setMinimumHeight(28);
        botoes->addWidget(b);
        return b;
    };
    BEditar = botao("BEditar", QStringLiteral("Editar"));
    BGerar = botao("BGerar", QStringLiteral("Adicionar / Gerar Pedido"));
    BInforme = botao("BInforme", QStringLiteral("Adicionar / Gerar Informe"));
    BPlay = botao("BPlay", QStringLiteral("Reproduzir Arquivo"));
    botoes->addStretch(1);
    BSair = botao("BSair", QStringLiteral("Sair"));
    v->addLayout(botoes);
    BGerar->setEnabled(bool(AbrirFormularioPedido()));
    BGerar->setToolTip(QStringLiteral("Gera um pedido com os lançamentos marcados"));
    BInforme->setToolTip(QStringLiteral("Gera o informe do cliente com os lançamentos marcados"));

    auto pesquisar = [this](QObject* quem) { executar(quem, [this] { Pesquisar(); }); };
    connect(BBusca, &QPushButton::clicked, this, [=] { pesquisar(BBusca); });
    connect(BitBtn1, &QPushButton::clicked, this, [=] { pesquisar(BitBtn1); });
    connect(RGLocalizar, &TGrupoOpcoes::clicado, this, [=] { pesquisar(RGLocalizar); });
    connect(RGFiltrar, &TGrupoOpcoes::clicado, this, [=] { pesquisar(RGFiltrar); });
    connect(BEditar, &QPushButton::clicked, this, [this] { executar(BEditar, [this] { BEditarClick(); }); });
    connect(BPlay, &QPushButton::clicked, this, [this] { executar(BPlay, [this] { BPlayClick(); }); });
    connect(BGerar, &QPushButton::clicked, this, [this] { executar(BGerar, [this] { BGerarClick(); }); });
    connect(BInforme, &QPushButton::clicked, this, [this] { executar(BInforme, [this] { BInformeClick(); }); });
    connect(BSair, &QPushButton::clicked, this, [this] { close(); });

    EdPesquisa->installEventFilter(this);
    edFiltro->installEventFilter(this);

    QWidget::setTabOrder(EdPesquisa, edFiltro);
    QWidget::setTabOrder(edFiltro, RGLocalizar->Botao(0));
}

TFrmPesquisaLancamento::~TFrmPesquisaLancamento() {
    if (FrmPesquisaLancamento == this)
        FrmPesquisaLancamento = nullptr;
}

void TFrmPesquisaLancamento::executar(QObject* remetente, const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        TratarExcecao(remetente, e);
    }
}

void TFrmPesquisaLancamento::FormShow() {
    TFrmBase::FormShow();
    Ordem = kOrdemInicial;
    EdPesquisa->setFocus();
}

void TFrmPesquisaLancamento::FormClose(QCloseEvent* e) {
    TFrmBase::FormClose(e);
    if (e->isAccepted() && FrmPesquisaLancamento == this)
        FrmPesquisaLancamento = nullptr;
}

void TFrmPesquisaLancamento::Pesquisar() {
    Q_Busca->Close();
    Q_Busca->SQL.Clear();
    Q_Busca->SQL.Add(QStringLiteral("Select Lan.*, Emi.Emi_Nome, Emi.Emi_Path, Prg.Prg_Nome, Fun.Fun_Nome"));
    Q_Busca->SQL.Add(QStringLiteral("from TB_Lancamento Lan, TB_Emissoras Emi, TB_Programas Prg, TB_Funcionarios Fun"));
    Q_Busca->SQL.Add(QStringLiteral("Where Lan.Emi_Codigo = Emi.Emi_Codigo and Lan.Prg_Codigo = Prg.Prg_Codigo and "
                                    "Lan.Fun_Codigo = Fun.Fun_Codigo"));

    auto like = [](const char* prefixo, const QString& texto) {
        // A quote typed in the box is doubled: it stays part of the text.
        return QLatin1String(prefixo) + TextoSql(TrocarAcentos(texto)) + QStringLiteral("%'");
    };
    const QString dataLinha = QStringLiteral("and Lan.Lan_Data = :Data");
    const QString t = EdPesquisa->text();
    switch (RGLocalizar->ItemIndex()) {
    case 0: Q_Busca->SQL.Add(like("and Upper(Lan.Lan_Assunto) LIKE '%", t)); break;
    case 1: Q_Busca->SQL.Add(like("and Upper(Emi.Emi_Nome) LIKE '%", t)); break;
    case 2: Q_Busca->SQL.Add(like("and Upper(Prg.Prg_Nome) LIKE '%", t)); break;
    case 3: Q_Busca->SQL.Add(like("and Upper(Fun.Fun_Nome) LIKE '%", t)); break;
    case 4: Q_Busca->SQL.Add(dataLinha); break;
    case 5: Q_Busca->SQL.Add(like("and Upper(Lan.Lan_CodLancamento) LIKE '%", t)); break;
    default: break;
    }
    const QString f = edFiltro->text();
    if (!f.isEmpty()) {
        switch (RGFiltrar->ItemIndex()) {
        case 0: Q_Busca->SQL.Add(like("and Upper(Emi.Emi_Nome) LIKE '%", f)); break;
        case 1: Q_Busca->SQL.Add(like("and Upper(Prg.Prg_Nome) LIKE '%", f)); break;
        case 2: Q_Busca->SQL.Add(like("and Upper(Fun.Fun_Nome) LIKE '%", f)); break;
        case 3: Q_Busca->SQL.Add(dataLinha); break;
        default: break;
        }
    }
    Q_Busca->SQL.Add(QStringLiteral("Order by ") + Ordem);

    if (RGLocalizar->ItemIndex() == 4 && !t.isEmpty())
        Q_Busca->ParamByName(QStringLiteral("Data"))->SetAsDate(dataset::StrToDate(t).date());
    if (RGFiltrar->ItemIndex() == 3 && !f.isEmpty())
        Q_Busca->ParamByName(QStringLiteral("Data"))->SetAsDate(dataset::StrToDate(f).date());
    Q_Busca->Open();
}

void TFrmPesquisaLancamento::DBGrid1DrawColumnCell(QPainter& p, const QRect& r, int coluna, bool selecionada) {
    if (coluna != 0)
        return;
    p.fillRect(r, selecionada ? palette().highlight() : palette().base());
    const QPoint onde(r.left() + 10, r.top() + 1);
    p.drawPixmap(onde, ImagemVazia);
    dataset::Field* marca = Q_Busca->FindField(QStringLiteral("LAN_CHECKED"));
    if (marca && marca->AsString() != QLatin1String("0"))
        p.drawPixmap(onde, ImagemMarcada);
}

void TFrmPesquisaLancamento::DBGrid1CellClick(int coluna) {
    if (coluna != 0 || !Q_Busca->Active() || Q_Busca->IsEmpty())
        return;
    dataset::Field* marca = Q_Busca->FieldByName(QStringLiteral("LAN_CHECKED"));
    if (!Q_Busca->IsEditing())
        Q_Busca->Edit();
    marca->SetAsString(marca->AsString() == QLatin1String("0") ? QStringLiteral("1") : QStringLiteral("0"));
    Q_Busca->Post();
}

void TFrmPesquisaLancamento::DBGrid1TitleClick(int coluna) {
    const auto& colunas = DBGrid1->Columns();
    if (coluna < 0 || coluna >= colunas.size())
        return;
    Ordem = colunas[coluna].FieldName;
    Pesquisar();
}

void TFrmPesquisaLancamento::BEditarClick() {
    int codigo = 0;
    if (Q_Busca->Active() && !Q_Busca->IsEmpty())
        codigo = Q_Busca->FieldByName(QStringLiteral("LAN_CODIGO"))->AsInteger();
    auto* tela = new TFrmLancamentos(nullptr);
    ChamadaExterna = 1;
    tela->LancamentoAbrir = codigo;
    QPointer<TFrmLancamentos> guarda(tela);
    try {
        ExibirModal(tela);
    } catch (...) {
        delete guarda.data();
        throw;
    }
    delete guarda.data();
}

std::function<void()>& TFrmPesquisaLancamento::AbrirFormularioPedido() {
    static std::function<void()> abrir;
    return abrir;
}

void TFrmPesquisaLancamento::BGerarClick() { AdicionarAoPedido(*this); }

void TFrmPesquisaLancamento::BInformeClick() { AdicionarAoInforme(*this); }

void TFrmPesquisaLancamento::BPlayClick() {
    QString pasta, hora, tipo;
    QDate data;
    if (Q_Busca->Active() && !Q_Busca->IsEmpty()) {
        pasta = Q_Busca->FieldByName(QStringLiteral("EMI_PATH"))->AsString();
        data = Q_Busca->FieldByName(QStringLiteral("LAN_DATA"))->AsDateTime().date();
        hora = Q_Busca->FieldByName(QStringLiteral("LAN_HORA"))->AsString();
        tipo = Q_Busca->FieldByName(QStringLiteral("LAN_TIPO"))->AsString();
    }
    switch (Reproducao.Localizar(pasta, data, hora, tipo)) {
    case TReproducao::Resultado::PastaInexistente:
        msg::Informar(QStringLiteral("Local dos arquivos de áudio inexistente!"));
        return;
    case TReproducao::Resultado::NaoEncontrado:
        msg::Informar(QStringLiteral("Arquivo de áudio não encontrado..."));
        return;
    case TReproducao::Resultado::Encontrado:
        break;
    }
    const QString caminho = Reproducao.CaminhoEscolhido();
    TFrmPlay::AoCriarProximo([this, caminho](TFrmPlay& play) {
        media::Player* wmp = play.WMP;
        connect(wmp, &media::Player::openStateChanged, &play, [this, wmp](int estado) {
            if (estado == media::Open)
                wmp->setCurrentPosition(Reproducao.PosicaoAoAbrir());
        });
        wmp->setUrl(caminho);
    });
    AbrirFormulario<TFrmPlay>(true, 0);
}

bool TFrmPesquisaLancamento::eventFilter(QObject* obj, QEvent* ev) {
    if (obj == EdPesquisa || obj == edFiltro) {
        switch (ev->type()) {
        case QEvent::FocusIn: KeyPreview = false; break;
        case QEvent::FocusOut: KeyPreview = true; break;
        case QEvent::KeyPress: {
            auto* k = static_cast<QKeyEvent*>(ev);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                executar(obj, [this] { Pesquisar(); });
                return true;
            }
            break;
        }
        default: break;
        }
    }
    return TFrmBase::eventFilter(obj, ev);
}

TFrmPesquisaLancamento* AbrirPesquisaLancamento() {
    if (DMBanco)
        DMBanco->PedidoAtual = 0;
    if (!FrmPesquisaLancamento) {
        auto* w = new TFrmPesquisaLancamento(nullptr);
        w->setAttribute(Qt::WA_DeleteOnClose);
        w->show();
        return w;
    }
    FrmPesquisaLancamento->show();
    FrmPesquisaLancamento->raise();
    FrmPesquisaLancamento->activateWindow();
    return FrmPesquisaLancamento;
}

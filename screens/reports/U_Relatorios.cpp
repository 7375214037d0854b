#include "screens/reports/U_Relatorios.h"

#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/data/DataSource.h"
#include "platform/data/EditMask.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/TableDataset.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/report/DataSetPipeline.h"
#include "platform/report/PainterOutput.h"
#include "platform/widgets/ColorEdit.h"
#include "screens/base/U_FormBase.h"

#include <QDate>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QShowEvent>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString kMascaraData = QStringLiteral("!99/99/0099;1;_");
const QString kNaoHaItens = QStringLiteral("Não há nenhum item no relatório!");
const QString kSemModelo = QStringLiteral("Arquivo de relatório não encontrado!");

// "prefixo'valor'" with the value's quotes doubled.
QString filtro(const QString& prefixo, const QString& valor) {
    return prefixo + TextoSql(valor) + QLatin1Char('\'');
}

QString ordem(const TRadioGroup* rg, const QStringList& colunas) {
    const int i = rg->ItemIndex();
    return QStringLiteral("Order by ") + colunas.value(i < 0 ? 0 : i, colunas.first());
}

QDate dataDoTexto(const QLineEdit* e) { return dataset::StrToDate(e->text()).date(); }

QLineEdit* caixaData(const char* nome, QWidget* pai) {
    auto* e = new QLineEdit(pai);
    e->setObjectName(QString::fromLatin1(nome));
    e->setInputMask(dataset::EditMask::parse(kMascaraData).qtInputMask());
    dataset::StartEmptyMaskAtFirstPosition(e);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00/00/00000")) + 16);
    return e;
}

QLabel* rotulo(const QString& texto, QWidget* pai, QWidget* amigo = nullptr) {
    auto* l = new QLabel(texto, pai);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (amigo) l->setBuddy(amigo);
    return l;
}

TRadioGroup* grupoOrdem(const char* nome, const QStringList& itens, QWidget* pai) {
    auto* rg = new TRadioGroup(pai);
    rg->setObjectName(QString::fromLatin1(nome));
    rg->setTitle(QStringLiteral("Ordenar por: "));
    rg->SetItems(itens, 1);
    rg->SetItemIndex(0);
    return rg;
}

// The "Filtrar por: " group with two labelled pick boxes, one a line.
QGroupBox* grupoFiltro(const char* nome, QWidget* pai, const QString& rotulo1, QWidget* caixa1, const QString& rotulo2,
                       QWidget* caixa2) {
    auto* filtrar = new QGroupBox(QStringLiteral("Filtrar por: "), pai);
    filtrar->setObjectName(QString::fromLatin1(nome));
    auto* g = new QGridLayout(filtrar);
    caixa1->setParent(filtrar);
    caixa2->setParent(filtrar);
    g->addWidget(rotulo(rotulo1, filtrar, caixa1), 0, 0);
    g->addWidget(caixa1, 0, 1);
    g->addWidget(rotulo(rotulo2, filtrar, caixa2), 1, 0);
    g->addWidget(caixa2, 1, 1);
    g->setColumnStretch(1, 1);
    return filtrar;
}

// The "Período: " group with its two date boxes, "De:" one "a" the other.
QGroupBox* grupoPeriodo(const char* nome, QWidget* pai, QLineEdit* inicio, QLineEdit* fim) {
    auto* periodo = new QGroupBox(QStringLiteral("Período: "), pai);
    periodo->setObjectName(QString::fromLatin1(nome));
    auto* hp = new QHBoxLayout(periodo);
    inicio->setParent(periodo);
    fim->setParent(periodo);
    hp->addWidget(rotulo(QStringLiteral("De:"), periodo, inicio));
    hp->addWidget(inicio);
    hp->addWidget(rotulo(QStringLiteral("a"), periodo, fim));
    hp->addWidget(fim);
    hp->addStretch(1);
    return periodo;
}

TCaixaLista* caixaLista(const char* nome, QWidget* pai) {
    auto* c = new TCaixaLista(pai);
    c->setObjectName(QString::fromLatin1(nome));
    c->setMinimumWidth(220);
    return c;
}

} // namespace

// ---------------------------------------------------------------------------

TCaixaLista::TCaixaLista(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    setMaxVisibleItems(16);
    connect(this, &QComboBox::activated, this, [this](int i) { Escolher(i); });
}

void TCaixaLista::SetLista(dataset::DataSet* lista, const QString& campo) {
    lista_ = lista;
    campo_ = campo;
    Recarregar();
}

void TCaixaLista::Recarregar() {
    const bool b = blockSignals(true);
    clear();
    if (lista_ && lista_->Active()) {
        lista_->FetchAll();
        if (const dataset::Field* f = lista_->FindField(campo_))
            for (int r = 0; r < lista_->BufferedCount(); ++r) addItem(lista_->ValueAt(r, f).toString());
    }
    blockSignals(b);
    mostrarEscolha();
}

void TCaixaLista::Escolher(int indice) {
    if (indice < 0 || indice >= count()) return;
    texto_ = itemText(indice);
    mostrarEscolha();
    emit escolhido(indice);
}

void TCaixaLista::mostrarEscolha() {
    const bool b = blockSignals(true);
    setCurrentIndex(texto_.isEmpty() ? -1 : findText(texto_, Qt::MatchExactly | Qt::MatchCaseSensitive));
    blockSignals(b);
    update();
}

void TCaixaLista::paintEvent(QPaintEvent*) {
    QStylePainter p(this);
    p.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    opt.currentText = texto_;
    opt.currentIcon = QIcon();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    p.drawControl(QStyle::CE_ComboBoxLabel, opt);
}

// ---------------------------------------------------------------------------

TPipelineRegistro::TPipelineRegistro(QString nome, dataset::DataSet* dados)
    : report::Pipeline(std::move(nome)), ds_(dados) {}

QStringList TPipelineRegistro::fieldNames() const {
    QStringList nomes;
    if (ds_)
        for (int i = 0; i < ds_->FieldCount(); ++i) nomes << ds_->Fields(i)->FieldName();
    return nomes;
}

bool TPipelineRegistro::atEnd() const {
    if (fim_ || !ds_ || !ds_->Active()) return true;
    return !ds_->IsEditing() && ds_->IsEmpty();
}

QVariant TPipelineRegistro::value(int campo) const {
    if (atEnd() || campo < 0 || campo >= ds_->FieldCount()) return QVariant();
    return ds_->Fields(campo)->Value();
}

// ---------------------------------------------------------------------------

TFrmRelatorios::Visualizador TFrmRelatorios::Visualizar = [](const report::Report& r, QWidget* pai) {
    report::preview(r, pai);
};

dataset::Query* TFrmRelatorios::novaConsulta(const char* nome, const QStringList& linhas) {
    auto* q = new dataset::Query(this);
    q->setObjectName(QString::fromLatin1(nome));
    for (const QString& l : linhas) q->SQL.Add(l);
    return q;
}

TFrmRelatorios::TFrmRelatorios(QWidget* parent) : QDialog(parent) {
    Q_INIT_RESOURCE(relatorios);
    setObjectName(QStringLiteral("FrmRelatorios"));
    setWindowTitle(QStringLiteral("Relatório"));
    setProperty(kPropriedadeCentralizada, true);

    // Pick lists; a city list follows the current row of its state list.
    Q_EstadoCli = novaConsulta("Q_EstadoCli", {QStringLiteral("SELECT CLI_ESTADO FROM TB_CLIENTES"),
                                               QStringLiteral("GROUP BY CLI_ESTADO"), QStringLiteral("ORDER BY CLI_ESTADO")});
    DS_EstadoCli = new dataset::DataSource(this);
    DS_EstadoCli->setObjectName(QStringLiteral("DS_EstadoCli"));
    DS_EstadoCli->SetDataSet(Q_EstadoCli);
    Q_CidadeCli = novaConsulta("Q_CidadeCli",
                               {QStringLiteral("SELECT CLI_CIDADE FROM TB_CLIENTES"), QStringLiteral("WHERE CLI_ESTADO = :CLI_ESTADO"),
                                QStringLiteral("GROUP BY CLI_CIDADE"), QStringLiteral("ORDER BY CLI_CIDADE")});
    Q_CidadeCli->SetDataSource(DS_EstadoCli);
    Q_EstadoEmi = novaConsulta("Q_EstadoEmi", {QStringLiteral("SELECT EMI_UF FROM TB_EMISSORAS"),
                                               QStringLiteral("GROUP BY EMI_UF"), QStringLiteral("ORDER BY EMI_UF")});
    DS_EstadoEmi = new dataset::DataSource(this);
    DS_EstadoEmi->setObjectName(QStringLiteral("DS_EstadoEmi"));
    DS_EstadoEmi->SetDataSet(Q_EstadoEmi);
    Q_CidadeEmi = novaConsulta("Q_CidadeEmi",
                               {QStringLiteral("SELECT EMI_CIDADE FROM TB_EMISSORAS"), QStringLiteral("WHERE EMI_UF = :EMI_UF"),
                                QStringLiteral("GROUP BY EMI_CIDADE"), QStringLiteral("ORDER BY EMI_CIDADE")});
    Q_CidadeEmi->SetDataSource(DS_EstadoEmi);
    Q_Emissoras = novaConsulta("Q_Emissoras",
                               {QStringLiteral("SELECT EMI_NOME FROM TB_EMISSORAS"), QStringLiteral("ORDER BY EMI_NOME")});
    Q_Funcionarios = novaConsulta("Q_Funcionarios", {QStringLiteral("SELECT FUN_NOME FROM TB_FUNCIONARIOS"),
                                                     QStringLiteral("WHERE FUN_TIPO < 1"), QStringLiteral("ORDER BY FUN_NOME")});
    Q_Clientes = novaConsulta("Q_Clientes",
                              {QStringLiteral("Select Cli_Nome from TB_Clientes"), QStringLiteral("Order by Cli_Nome")});

    // Report queries.
    Q_RelClientes = novaConsulta("Q_RelClientes");
    Q_RelEmissoras = novaConsulta("Q_RelEmissoras");
    Q_RelLancamentos = novaConsulta("Q_RelLancamentos");
    Q_RelLancamentos->AddCalculatedField(QStringLiteral("DATA_INICIO"), dataset::FieldType::String, 10);
    Q_RelLancamentos->AddCalculatedField(QStringLiteral("DATA_FIM"), dataset::FieldType::String, 10);
    Q_RelLancamentos->OnCalcFields = [this](dataset::DataSet& ds) { Q_RelLancamentosCalcFields(ds); };
    Q_RelPedidos = novaConsulta("Q_RelPedidos");
    Q_RelPedidos->AddCalculatedField(QStringLiteral("DATAINICIO"), dataset::FieldType::String, 10);
    Q_RelPedidos->AddCalculatedField(QStringLiteral("DATAFIM"), dataset::FieldType::String, 10);
    Q_RelPedidos->OnCalcFields = [this](dataset::DataSet& ds) { Q_RelPedidosCalcFields(ds); };
    DS_Relatorio = new dataset::DataSource(this);
    DS_Relatorio->setObjectName(QStringLiteral("DS_Relatorio"));

    empresa_ = std::make_unique<TPipelineRegistro>(
        QStringLiteral("DBEmpresa"), DMBanco ? static_cast<dataset::DataSet*>(DMBanco->TB_Empresa) : nullptr);

    // Pages, their tabs hidden: the opener brings one to the front.
    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(6, 6, 6, 6);
    raiz->setSpacing(6);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->tabBar()->hide();
    raiz->addWidget(PageControl1, 1);
    auto pagina = [this](const char* nome, const QString& titulo) {
        auto* p = new QWidget;
        p->setObjectName(QString::fromLatin1(nome));
        PageControl1->addTab(p, titulo);
        return p;
    };
    TabClientes = pagina("TabClientes", QStringLiteral("Clientes"));
    TabEmissoras = pagina("TabEmissoras", QStringLiteral("Emissoras"));
    TabLancamentos = pagina("TabLancamentos", QStringLiteral("Lançamentos"));
    TabPedidos = pagina("TabPedidos", QStringLiteral("Pedidos"));
    montarClientes();
    montarEmissoras();
    montarLancamentos();
    montarPedidos();

    // Bottom panel.
    auto* painel = new QFrame(this);
    painel->setObjectName(QStringLiteral("Panel1"));
    painel->setFrameShape(QFrame::StyledPanel);
    auto* h = new QHBoxLayout(painel);
    h->setContentsMargins(6, 4, 6, 4);
    auto botao = [painel](const char* nome, const QString& texto, const QString& icone) {
        auto* b = new QToolButton(painel);
        b->setObjectName(QString::fromLatin1(nome));
        b->setText(texto);
        b->setIcon(QIcon(icone));
        b->setIconSize(QSize(20, 20));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        b->setMinimumWidth(96);
        return b;
    };
    SpeedButton1 = botao("SpeedButton1", QStringLiteral("Imprimir"), QStringLiteral(":/relatorios/icons/imprimir.svg"));
    SpeedButton2 = botao("SpeedButton2", QStringLiteral("Fechar"), QStringLiteral(":/relatorios/icons/fechar.svg"));
    h->addStretch(1);
    h->addWidget(SpeedButton1);
    h->addWidget(SpeedButton2);
    raiz->addWidget(painel);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { SpeedButton1Click(); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { SpeedButton2Click(); });

    setFixedSize(sizeHint().expandedTo(QSize(480, 0)));
}

TFrmRelatorios::~TFrmRelatorios() {
    // The report must not keep pointers to pipelines that go with us.
    Relatorio.removePipeline(QStringLiteral("Base"));
    Relatorio.removePipeline(QStringLiteral("DBEmpresa"));
}

void TFrmRelatorios::montarClientes() {
    auto* v = new QVBoxLayout(TabClientes);
    dbEstadoCli = caixaLista("dbEstadoCli", TabClientes);
    DBCidadeCli = caixaLista("DBCidadeCli", TabClientes);
    QGroupBox* filtrar = grupoFiltro("GroupBox1", TabClientes, QStringLiteral("Estado: "), dbEstadoCli, QStringLiteral("Cidade:"), DBCidadeCli);
    RGOrdenaCli = grupoOrdem("RGOrdenaCli", {QStringLiteral("Nome"), QStringLiteral("Cidade"), QStringLiteral("Estado")},
                             TabClientes);
    EdColor = new widgets::ColorEdit(TabClientes);
    EdColor->setObjectName(QStringLiteral("EdColor"));
    EdColor->setColor(Qt::black);
    auto* linhaCor = new QHBoxLayout;
    linhaCor->addWidget(rotulo(QStringLiteral("Cor:"), TabClientes, EdColor));
    linhaCor->addWidget(EdColor);
    linhaCor->addStretch(1);
    v->addWidget(filtrar);
    v->addWidget(RGOrdenaCli);
    v->addLayout(linhaCor);
    v->addStretch(1);
    dbEstadoCli->SetLista(Q_EstadoCli, QStringLiteral("CLI_ESTADO"));
    DBCidadeCli->SetLista(Q_CidadeCli, QStringLiteral("CLI_CIDADE"));
    connect(dbEstadoCli, &TCaixaLista::escolhido, this,
            [this](int linha) { escolherEstado(Q_EstadoCli, Q_CidadeCli, DBCidadeCli, linha); });
}

void TFrmRelatorios::montarEmissoras() {
    auto* v = new QVBoxLayout(TabEmissoras);
    dbEstadoEmi = caixaLista("dbEstadoEmi", TabEmissoras);
    dbCidadeEmi = caixaLista("dbCidadeEmi", TabEmissoras);
    QGroupBox* filtrar = grupoFiltro("GroupBox2", TabEmissoras, QStringLiteral("Estado: "), dbEstadoEmi, QStringLiteral("Cidade:"), dbCidadeEmi);
    RGOrdenaEmi = grupoOrdem("RGOrdenaEmi", {QStringLiteral("Nome"), QStringLiteral("Cidade"), QStringLiteral("Estado")},
                             TabEmissoras);
    v->addWidget(filtrar);
    v->addWidget(RGOrdenaEmi);
    v->addStretch(1);
    dbEstadoEmi->SetLista(Q_EstadoEmi, QStringLiteral("EMI_UF"));
    dbCidadeEmi->SetLista(Q_CidadeEmi, QStringLiteral("EMI_CIDADE"));
    connect(dbEstadoEmi, &TCaixaLista::escolhido, this,
            [this](int linha) { escolherEstado(Q_EstadoEmi, Q_CidadeEmi, dbCidadeEmi, linha); });
}

void TFrmRelatorios::montarLancamentos() {
    auto* v = new QVBoxLayout(TabLancamentos);
    MEDataInicio = caixaData("MEDataInicio", TabLancamentos);
    MEDataFim = caixaData("MEDataFim", TabLancamentos);
    QGroupBox* periodo = grupoPeriodo("GroupBox3", TabLancamentos, MEDataInicio, MEDataFim);
    dbEmissoras = caixaLista("dbEmissoras", TabLancamentos);
    dbFuncionarios = caixaLista("dbFuncionarios", TabLancamentos);
    QGroupBox* filtrar = grupoFiltro("GroupBox4", TabLancamentos, QStringLiteral("Emissora: "), dbEmissoras, QStringLiteral("Funcionário:"), dbFuncionarios);
    RGOrdenaLan = grupoOrdem("RGOrdenaLan", {QStringLiteral("Data"), QStringLiteral("Emissora"), QStringLiteral("Funcionário")},
                             TabLancamentos);
    v->addWidget(periodo);
    v->addWidget(filtrar);
    v->addWidget(RGOrdenaLan);
    v->addStretch(1);
    dbEmissoras->SetLista(Q_Emissoras, QStringLiteral("EMI_NOME"));
    dbFuncionarios->SetLista(Q_Funcionarios, QStringLiteral("FUN_NOME"));
}

void TFrmRelatorios::montarPedidos() {
    auto* v = new QVBoxLayout(TabPedidos);
    MEDataInicioPed = caixaData("MEDataInicioPed", TabPedidos);
    MEDataFimPed = caixaData("MEDataFimPed", TabPedidos);
    QGroupBox* periodo = grupoPeriodo("GroupBox5", TabPedidos, MEDataInicioPed, MEDataFimPed);
    auto* filtrar = new QGroupBox(QStringLiteral("Filtrar por: "), TabPedidos);
    filtrar->setObjectName(QStringLiteral("GroupBox6"));
    auto* g = new QGridLayout(filtrar);
    dbClientes = caixaLista("dbClientes", filtrar);
    dbVendedor = caixaLista("dbVendedor", filtrar);
    DBStatus = new QComboBox(filtrar);
    DBStatus->setObjectName(QStringLiteral("DBStatus"));
    DBStatus->addItems({QStringLiteral("Em Andamento"), QStringLiteral("Realizado"), QStringLiteral("Cancelado")});
    DBStatus->setCurrentIndex(-1);
    DBSituacao = new QComboBox(filtrar);
    DBSituacao->setObjectName(QStringLiteral("DBSituacao"));
    DBSituacao->addItems({QStringLiteral("Recebido"), QStringLiteral("A Receber")});
    DBSituacao->setCurrentIndex(-1);
    g->addWidget(rotulo(QStringLiteral("Cliente: "), filtrar, dbClientes), 0, 0);
    g->addWidget(dbClientes, 0, 1, 1, 3);
    g->addWidget(rotulo(QStringLiteral("Vendedor:"), filtrar, dbVendedor), 1, 0);
    g->addWidget(dbVendedor, 1, 1, 1, 3);
    g->addWidget(rotulo(QStringLiteral("Status:"), filtrar, DBStatus), 2, 0);
    g->addWidget(DBStatus, 2, 1);
    g->addWidget(rotulo(QStringLiteral("Situação:"), filtrar, DBSituacao), 2, 2);
    g->addWidget(DBSituacao, 2, 3);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    RadioGroup1 = grupoOrdem("RadioGroup1", {QStringLiteral("Data"), QStringLiteral("Cliente"), QStringLiteral("Vendedor")},
                             TabPedidos);
    v->addWidget(periodo);
    v->addWidget(filtrar);
    v->addWidget(RadioGroup1);
    v->addStretch(1);
    dbClientes->SetLista(Q_Clientes, QStringLiteral("CLI_NOME"));
    dbVendedor->SetLista(Q_Funcionarios, QStringLiteral("FUN_NOME"));
}

QWidget* TFrmRelatorios::PaginaAtual() const { return PageControl1->currentWidget(); }

dataset::Query* TFrmRelatorios::ConsultaDaPagina(QWidget* pagina) const {
    if (pagina == TabClientes) return Q_RelClientes;
    if (pagina == TabEmissoras) return Q_RelEmissoras;
    if (pagina == TabLancamentos) return Q_RelLancamentos;
    if (pagina == TabPedidos) return Q_RelPedidos;
    return nullptr;
}

// ---------------------------------------------------------------------------
// Showing and closing

void TFrmRelatorios::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    try {
        FormShow();
    } catch (const std::exception& erro) {
        TratarExcecao(this, erro);
    }
}

// Closing, Esc and "Fechar" all end here.
void TFrmRelatorios::done(int resultado) {
    FormClose();
    QDialog::done(resultado);
}

void TFrmRelatorios::abrirLista(dataset::Query* q) {
    q->Close();
    q->Open();
    q->FetchAll();
}

void TFrmRelatorios::FormShow() {
    QWidget* p = PaginaAtual();
    const QString hoje = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    if (p == TabClientes) {
        abrirLista(Q_EstadoCli);
        abrirLista(Q_CidadeCli);
        dbEstadoCli->Recarregar();
        DBCidadeCli->Recarregar();
    } else if (p == TabEmissoras) {
        abrirLista(Q_EstadoEmi);
        abrirLista(Q_CidadeEmi);
        dbEstadoEmi->Recarregar();
        dbCidadeEmi->Recarregar();
    } else if (p == TabLancamentos) {
        abrirLista(Q_Emissoras);
        abrirLista(Q_Funcionarios);
        dbEmissoras->Recarregar();
        dbFuncionarios->Recarregar();
        MEDataInicio->setText(hoje);
        MEDataFim->setText(MEDataInicio->text());
    } else if (p == TabPedidos) {
        abrirLista(Q_Clientes);
        abrirLista(Q_Funcionarios);
        dbClientes->Recarregar();
        dbVendedor->Recarregar();
        MEDataInicioPed->setText(hoje);
        MEDataFimPed->setText(MEDataInicioPed->text());
    }
}

void TFrmRelatorios::FormClose() {
    DS_Relatorio->SetDataSet(nullptr);
    for (dataset::Query* q : {Q_RelClientes, Q_RelEmissoras, Q_RelLancamentos, Q_RelPedidos, Q_CidadeCli, Q_EstadoCli,
                              Q_CidadeEmi, Q_EstadoEmi, Q_Emissoras, Q_Funcionarios, Q_Clientes})
        q->Close();
}

// A picked state becomes the current row of its list; the city list
// follows it.
void TFrmRelatorios::escolherEstado(dataset::Query* estados, dataset::Query* cidades, TCaixaLista* caixaCidades,
                                    int linha) {
    try {
        if (!estados->Active()) return;
        estados->MoveToRow(linha);
        if (cidades->Active()) cidades->FetchAll();
        caixaCidades->Recarregar();
    } catch (const std::exception& e) {
        TratarExcecao(sender() ? sender() : this, e);
    }
}

// ---------------------------------------------------------------------------
// Statements

void TFrmRelatorios::montarRelClientes() {
    dataset::StringList& s = Q_RelClientes->SQL;
    s.Add(QStringLiteral("Select Cli_Nome, Cli_Cidade, Cli_Estado, Cli_Fone from Tb_Clientes Where Cli_Codigo > 0"));
    if (!dbEstadoCli->Texto().isEmpty()) s.Add(filtro(QStringLiteral("And Cli_Estado = '"), dbEstadoCli->Texto()));
    if (!DBCidadeCli->Texto().isEmpty()) s.Add(filtro(QStringLiteral("And Cli_Cidade = '"), DBCidadeCli->Texto()));
    s.Add(ordem(RGOrdenaCli, {QStringLiteral("Cli_Nome"), QStringLiteral("Cli_Cidade"), QStringLiteral("Cli_Estado")}));
}

void TFrmRelatorios::montarRelEmissoras() {
    dataset::StringList& s = Q_RelEmissoras->SQL;
    s.Add(QStringLiteral("Select Emi_Nome, Emi_Cidade, Emi_UF, Emi_Fone from Tb_Emissoras Where Emi_Codigo > 0"));
    if (!dbEstadoEmi->Texto().isEmpty()) s.Add(filtro(QStringLiteral("And Emi_UF = '"), dbEstadoEmi->Texto()));
    if (!dbCidadeEmi->Texto().isEmpty()) s.Add(filtro(QStringLiteral("And Emi_Cidade = '"), dbCidadeEmi->Texto()));
    s.Add(ordem(RGOrdenaEmi, {QStringLiteral("Emi_Nome"), QStringLiteral("Emi_Cidade"), QStringLiteral("Emi_UF")}));
}

void TFrmRelatorios::montarRelLancamentos() {
    dataset::StringList& s = Q_RelLancamentos->SQL;
    s.Add(QStringLiteral("Select Lan.Lan_Data, Lan.Lan_Hora, Lan.Lan_Assunto, Lan.Lan_Tempo, Lan.Lan_CodLancamento, "
                         "Emi.Emi_Nome, Prg.Prg_Nome, Fun.Fun_Nome"));
    s.Add(QStringLiteral("From TB_Lancamento Lan, TB_Emissoras Emi, TB_Programas Prg, TB_Funcionarios Fun"));
    s.Add(QStringLiteral("Where Lan.Emi_Codigo = Emi.Emi_Codigo and Lan.Prg_Codigo = Prg.Prg_Codigo and "
                         "Lan.Fun_Codigo = Fun.Fun_Codigo"));
    s.Add(QStringLiteral("And Lan.Lan_Data Between :DataInicial and :DataFinal"));
    if (!dbEmissoras->Texto().isEmpty()) s.Add(filtro(QStringLiteral("And Emi.Emi_Nome = '"), dbEmissoras->Texto()));
    if (!dbFuncionarios->Texto().isEmpty())
        s.Add(filtro(QStringLiteral("And Fun.Fun_Nome = '"), dbFuncionarios->Texto()));
    s.Add(ordem(RGOrdenaLan, {QStringLiteral("Lan.Lan_Data"), QStringLiteral("Emi.Emi_Nome"), QStringLiteral("Fun.Fun_Nome")}));
    Q_RelLancamentos->ParamByName(QStringLiteral("DataInicial"))->SetAsDate(dataDoTexto(MEDataInicio));
    Q_RelLancamentos->ParamByName(QStringLiteral("DataFinal"))->SetAsDate(dataDoTexto(MEDataFim));
}

void TFrmRelatorios::montarRelPedidos() {
    dataset::StringList& s = Q_RelPedidos->SQL;
    s.Add(QStringLiteral("Select Ped.Ped_Numero, Ped.Ped_Status, Ped.Ped_Valor, Ped.Ped_DataEntrega, Ped.Ped_Horario, "
                         "Ped.Ped_Pago, Cli.Cli_Nome, Ven.Fun_Nome, Mid.Mid_Descricao, FPG.FPG_Descricao, "
                         "Pra.Pra_Descricao"));
    s.Add(QStringLiteral("From TB_Pedido Ped"));
    s.Add(QStringLiteral("left outer join TB_Clientes Cli on Ped.Cli_Codigo = Cli.Cli_Codigo"));
    s.Add(QStringLiteral("left outer join V_Vendedores Ven on Ped.Ven_Codigo = Ven.Ven_Codigo"));
    s.Add(QStringLiteral("left outer join TB_Midias Mid on Ped.Mid_Codigo = Mid.Mid_Codigo"));
    s.Add(QStringLiteral("left outer join TB_FormaPagamento FPG on Ped.FPG_Codigo = FPG.FPG_Codigo"));
    s.Add(QStringLiteral("left outer join TB_Prazos Pra on Ped.Pra_Codigo = Pra.Pra_Codigo"));
    s.Add(QStringLiteral("Where Ped.Ped_DataEntrega Between :DataInicial and :DataFinal"));
    if (!dbClientes->Texto().isEmpty()) s.Add(filtro(QStringLiteral("And Cli.Cli_Nome = '"), dbClientes->Texto()));
    if (!dbVendedor->Texto().isEmpty()) s.Add(filtro(QStringLiteral("And Ven.Fun_Nome = '"), dbVendedor->Texto()));
    if (DBStatus->currentIndex() >= 0)
        s.Add(filtro(QStringLiteral("And Ped.Ped_Status = '"), DBStatus->currentText()));
    if (DBSituacao->currentIndex() >= 0 && DBSituacao->currentText() == QLatin1String("Recebido"))
        s.Add(QStringLiteral("And Ped.Ped_Pago = 1"));
    else
        s.Add(QStringLiteral("And (Ped.Ped_Pago <> 1 or Ped.Ped_pago is null)"));
    s.Add(ordem(RadioGroup1, {QStringLiteral("Ped.Ped_DataEntrega"), QStringLiteral("Cli.Cli_Nome"),
                              QStringLiteral("Ven.Fun_Nome")}));
    Q_RelPedidos->ParamByName(QStringLiteral("DataInicial"))->SetAsDate(dataDoTexto(MEDataInicioPed));
    Q_RelPedidos->ParamByName(QStringLiteral("DataFinal"))->SetAsDate(dataDoTexto(MEDataFimPed));
}

void TFrmRelatorios::Q_RelLancamentosCalcFields(dataset::DataSet& ds) {
    ds.FieldByName(QStringLiteral("DATA_INICIO"))->SetAsString(MEDataInicio->text());
    ds.FieldByName(QStringLiteral("DATA_FIM"))->SetAsString(MEDataFim->text());
}

void TFrmRelatorios::Q_RelPedidosCalcFields(dataset::DataSet& ds) {
    ds.FieldByName(QStringLiteral("DATAINICIO"))->SetAsString(MEDataInicioPed->text());
    ds.FieldByName(QStringLiteral("DATAFIM"))->SetAsString(MEDataFimPed->text());
}

// ---------------------------------------------------------------------------
// Printing

void TFrmRelatorios::Imprimir() {
    QWidget* pagina = PaginaAtual();
    dataset::Query* q = ConsultaDaPagina(pagina);
    if (!q) return;
    q->Close();
    q->SQL.Clear();
    QString modelo;
    if (pagina == TabClientes) {
        montarRelClientes();
        modelo = QStringLiteral("RP_Clientes.rtm");
    } else if (pagina == TabEmissoras) {
        montarRelEmissoras();
        modelo = QStringLiteral("RP_Emissoras.rtm");
    } else if (pagina == TabLancamentos) {
        montarRelLancamentos();
        modelo = QStringLiteral("RP_Lancamentos.rtm");
    } else {
        montarRelPedidos();
        modelo = QStringLiteral("RP_Pedidos.rtm");
    }
    q->Open();
    if (q->IsEmpty()) {
        msg::Informar(kNaoHaItens);
        return;
    }
    DS_Relatorio->SetDataSet(q);
    const QString arquivo = CaminhoNaPasta(QStringLiteral("Relatorios/") + modelo);
    if (!QFileInfo(arquivo).isFile()) {
        msg::Informar(kSemModelo);
        return;
    }
    Relatorio.loadTemplate(arquivo);
    Relatorio.recolour(EdColor->color());
    Relatorio.removePipeline(QStringLiteral("Base"));  // before the old one goes
    base_ = std::make_unique<report::DataSetPipeline>(QStringLiteral("Base"), q);
    Relatorio.addPipeline(base_.get());
    Relatorio.addPipeline(empresa_.get());
    if (Visualizar) Visualizar(Relatorio, this);
}

void TFrmRelatorios::SpeedButton1Click() {
    try {
        Imprimir();
    } catch (const std::exception& e) {
        TratarExcecao(SpeedButton1, e);
    }
}

void TFrmRelatorios::SpeedButton2Click() { close(); }

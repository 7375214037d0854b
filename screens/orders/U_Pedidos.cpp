#include "screens/orders/U_Pedidos.h"

#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/Ambiente.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/TableDataset.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/report/DataSetPipeline.h"
#include "platform/report/PainterOutput.h"
#include "platform/report/TextWriter.h"
#include "platform/widgets/ColorEdit.h"
#include "screens/clipping/U_PesquisaLancamento.h"
#include "screens/registers/U_Clientes.h"

#if __has_include("screens/orders/U_PesquisaPedido.h")
#include "screens/orders/U_PesquisaPedido.h"
#define TEM_PESQUISAPEDIDO 1
#endif

#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

// ---------------------------------------------------------------------------

TPipelineRegistroAtual::TPipelineRegistroAtual(QString nome, dataset::DataSet* dados)
    : report::Pipeline(std::move(nome)), ds_(dados) {}

QStringList TPipelineRegistroAtual::fieldNames() const {
    QStringList nomes;
    if (ds_)
        for (int i = 0; i < ds_->FieldCount(); ++i) nomes << ds_->Fields(i)->FieldName();
    return nomes;
}

bool TPipelineRegistroAtual::atEnd() const {
    if (fim_ || !ds_ || !ds_->Active()) return true;
    return !ds_->IsEditing() && ds_->IsEmpty();
}

QVariant TPipelineRegistroAtual::value(int campo) const {
    if (atEnd() || campo < 0 || campo >= ds_->FieldCount()) return QVariant();
    return ds_->Fields(campo)->Value();
}

// ---------------------------------------------------------------------------

TFrmPedido::Visualizador TFrmPedido::Visualizar = [](const report::Report& r, QWidget* pai) {
    report::preview(r, pai);
};

namespace {

const QString kDinheiro = QStringLiteral("$#,0.00;($#,0.00)");
const QString kData = QStringLiteral("dd/mm/yyyy");

dataset::Query* novaConsulta(QObject* dono, const char* nome, const QStringList& linhas) {
    auto* q = new dataset::Query(dono);
    q->setObjectName(QLatin1String(nome));
    if (DMBanco)
        q->SetTransaction(&DMBanco->Trans_Clipping);
    for (const QString& l : linhas) q->SQL.Add(l);
    return q;
}

dataset::DataSource* novaFonte(QObject* dono, const char* nome, dataset::DataSet* ds) {
    auto* s = new dataset::DataSource(dono);
    s->setObjectName(QLatin1String(nome));
    s->SetDataSet(ds);
    return s;
}

void reabrir(dataset::DataSet* ds) {
    if (!ds) return;
    ds->Close();
    ds->Open();
    ds->FetchAll();
}

// Helpers that place the elements of the built-in layout.
struct Faixa {
    report::Band& b;
    report::Label& rotulo(double x, double y, double w, const QString& texto, double tamanho = 10,
                          bool negrito = false) {
        auto& l = b.add<report::Label>(QRectF(x, y, w, tamanho > 10 ? tamanho * 0.5 : 5));
        l.text = texto;
        l.font.size = tamanho;
        l.font.bold = negrito;
        return l;
    }
    report::DBText& campo(double x, double y, double w, const QString& pipeline, const QString& nome,
                          const QString& formato = QString(), double tamanho = 10) {
        auto& t = b.add<report::DBText>(QRectF(x, y, w, tamanho > 10 ? tamanho * 0.5 : 5));
        t.pipeline = pipeline;
        t.field = nome;
        t.displayFormat = formato;
        t.font.size = tamanho;
        return t;
    }
    report::Line& linha(double x, double y, double w, report::LineStyle estilo = report::LineStyle::Solid) {
        auto& l = b.add<report::Line>(QRectF(x, y, w, 0.5));
        l.style = estilo;
        l.penWidth = 0.5;
        return l;
    }
};

} // namespace

QString TFrmPedido::ArquivoModelo() {
    return CaminhoNaPasta(QStringLiteral("Relatorios/RP_PedidoVenda.rtm"));
}

void TFrmPedido::MontarLayout(report::Report& r) {
    using report::HAlign;
    r.clearLayout();
    r.name = QStringLiteral("Pedido de Venda");
    r.mainPipeline = QStringLiteral("DBItensPedido");
    r.page = report::PageSetup();  // A4 portrait, 6.35 mm margins
    const double largura = r.page.contentWidth();
    const QString emp = QStringLiteral("DBEmpresa");
    const QString ped = QStringLiteral("Base1");

    // Title: company header, the order, its client and terms.
    Faixa t{r.title};
    auto& logo = r.title.add<report::Image>(QRectF(0, 0, 35, 26), QStringLiteral("ImgLogo"));
    logo.pipeline = emp;
    logo.field = QStringLiteral("EMP_PATHLOGO");
    logo.stretch = true;
    auto centro = [&](double y, const QString& campo, double tamanho, bool negrito) {
        auto& c = t.campo(37, y, largura - 74, emp, campo, QString(), tamanho);
        c.align = HAlign::Center;
        c.font.bold = negrito;
    };
    centro(0, QStringLiteral("EMP_NOMECOMPLETO"), 14, true);
    centro(7.5, QStringLiteral("EMP_ENDERECOCOMPLETO"), 10, false);
    centro(12.5, QStringLiteral("EMP_CIDADEUF"), 10, false);
    t.rotulo(52, 17.5, 11, QStringLiteral("Fone:"));
    t.campo(63, 17.5, 40, emp, QStringLiteral("EMP_FONE"));
    t.rotulo(104, 17.5, 12, QStringLiteral("CNPJ:"));
    t.campo(116, 17.5, 40, emp, QStringLiteral("EMP_CNPJ"));
    centro(22.5, QStringLiteral("EMP_EMAILWEB"), 10, false);
    t.linha(0, 28.5, largura);

    t.rotulo(33, 31, 88, QStringLiteral("Pedido de Venda   Nº"), 18, true).align = HAlign::Right;
    t.campo(123, 31, 40, ped, QStringLiteral("PED_NUMERO"), QString(), 18).font.bold = true;

    double y = 42;
    const double passo = 5.5;
    t.rotulo(0, y, 22, QStringLiteral("Solicitante:"));
    t.campo(22, y, 66, ped, QStringLiteral("PED_NOMESOLICITANTE"));
    t.rotulo(89, y, 11, QStringLiteral("Fone:"));
    t.campo(100, y, 34, ped, QStringLiteral("PED_FONESOLICITANTE"));
    t.rotulo(135, y, 12, QStringLiteral("Email:"));
    t.campo(147, y, largura - 147, ped, QStringLiteral("PED_EMAILSOLICITANTE"));
    y += passo;
    t.rotulo(0, y, 22, QStringLiteral("Empresa:"));
    t.campo(22, y, 120, ped, QStringLiteral("CLI_NOME")).font.bold = true;
    y += passo;
    t.rotulo(0, y, 22, QStringLiteral("Endereço:"));
    t.campo(22, y, 120, ped, QStringLiteral("CLI_ENDERECO"));
    y += passo;
    t.rotulo(0, y, 22, QStringLiteral("Bairro:"));
    t.campo(22, y, 66, ped, QStringLiteral("CLI_BAIRRO"));
    t.rotulo(89, y, 11, QStringLiteral("CEP:"));
    t.campo(100, y, 34, ped, QStringLiteral("CLI_CEP"));
    y += passo;
    t.rotulo(0, y, 22, QStringLiteral("Cidade:"));
    t.campo(22, y, 66, ped, QStringLiteral("CLI_CIDADE"));
    t.rotulo(89, y, 11, QStringLiteral("UF:"));
    t.campo(100, y, 10, ped, QStringLiteral("CLI_ESTADO"));
    y += passo;
    t.rotulo(0, y, 22, QStringLiteral("CNPJ:"));
    t.campo(22, y, 66, ped, QStringLiteral("CLI_CGCCPF"));
    t.rotulo(89, y, 38, QStringLiteral("Inscrição Estadual:"));
    t.campo(127, y, 40, ped, QStringLiteral("CLI_INSCRICAO"));
    y += passo;
    t.rotulo(0, y, 22, QStringLiteral("A/C de:"));
    t.campo(22, y, 66, ped, QStringLiteral("CLI_CONTATO"));
    t.rotulo(89, y, 11, QStringLiteral("Fone:"));
    t.campo(100, y, 34, ped, QStringLiteral("CLI_FONE"));
    t.rotulo(135, y, 17, QStringLiteral("Celular:"));
    t.campo(152, y, largura - 152, ped, QStringLiteral("CLI_CELULAR"));
    y += passo;
    t.rotulo(0, y, 22, QStringLiteral("Mídia:"));
    t.campo(22, y, 66, ped, QStringLiteral("MID_DESCRICAO"));
    t.rotulo(89, y, 25, QStringLiteral("Quantidade: "));
    t.campo(114, y, 20, ped, QStringLiteral("PED_QUANTIDADE"));
    t.rotulo(135, y, 13, QStringLiteral("Valor:"));
    t.campo(148, y, largura - 148, ped, QStringLiteral("PED_VALOR"), kDinheiro);
    y += passo;
    t.rotulo(0, y, 40, QStringLiteral("Forma de Pagamento:"));
    t.campo(40, y, 48, ped, QStringLiteral("FPG_DESCRICAO"));
    t.rotulo(89, y, 13, QStringLiteral("Prazo:"));
    t.campo(102, y, 60, ped, QStringLiteral("PRA_DESCRICAO"));
    y += passo;
    t.rotulo(0, y, 27, QStringLiteral("Vendedor (a):"));
    t.campo(27, y, 61, ped, QStringLiteral("FUN_NOME"));
    t.rotulo(89, y, 11, QStringLiteral("Data:"));
    t.campo(100, y, 34, ped, QStringLiteral("PED_DATAENTREGA"), kData);
    t.rotulo(135, y, 17, QStringLiteral("Horário:"));
    t.campo(152, y, 25, ped, QStringLiteral("PED_HORARIO"));
    y += passo + 1.5;
    t.linha(0, y, largura);
    auto& titulo = t.rotulo(0, y + 1.5, largura, QStringLiteral("Lançamentos"), 12, true);
    titulo.align = HAlign::Center;
    r.title.height = y + 8.5;

    // Column titles on every page.
    struct Coluna { const char* titulo; const char* campo; double x, w; };
    const Coluna colunas[] = {
        {"Data", "LAN_DATA", 0, 22},         {"Horário", "LAN_HORA", 22, 18},
        {"Emissora", "EMI_NOME", 40, 34},    {"Programa", "PRG_NOME", 74, 38},
        {"Vel.", "LAN_VELOCIDADE", 112, 8},  {"Cod.", "LAN_CODLANCAMENTO", 120, 30},
        {"Tempo", "LAN_TEMPO", 150, 18},     {"Funcionário", "FUN_NOME", 168, largura - 168},
    };
    Faixa h{r.pageHeader};
    for (const Coluna& c : colunas) h.rotulo(c.x, 1, c.w, QString::fromUtf8(c.titulo), 10, true);
    h.linha(0, 6.5, largura);
    r.pageHeader.height = 7.5;

    // One item: the entry's data, its subject below in full.
    Faixa d{r.detail};
    for (const Coluna& c : colunas)
        d.campo(c.x, 0.5, c.w, QString(), QString::fromLatin1(c.campo),
                QLatin1String(c.campo) == QLatin1String("LAN_DATA") ? kData : QString());
    d.rotulo(0, 5.5, 18, QStringLiteral("Assunto: "), 10, true);
    auto& assunto = r.detail.add<report::DBMemo>(QRectF(18, 5.5, largura - 18, 5), QStringLiteral("MemoAssunto"));
    assunto.field = QStringLiteral("LAN_ASSUNTO");
    d.linha(0, 11, largura, report::LineStyle::Dot);
    r.detail.height = 12;

    // Page footer.
    Faixa f{r.pageFooter};
    f.linha(0, 0.5, largura);
    f.rotulo(0, 1.5, 60, QStringLiteral("Zbvlo Clipping"));
    f.rotulo(largura - 37, 1.5, 18, QStringLiteral("Página:")).align = HAlign::Right;
    auto& pagina = r.pageFooter.add<report::SystemVariable>(QRectF(largura - 18, 1.5, 18, 5), QStringLiteral("Pagina"));
    pagina.value = report::SystemValue::PageNumber;
    pagina.align = HAlign::Right;
    r.pageFooter.height = 7;

    // Summary: the tear-off delivery stub.
    Faixa s{r.summary};
    // Blanks to write in by hand, then the cutting line under its label.
    const QString espaco(24, QLatin1Char('_'));
    s.rotulo(0, 3, 22, QStringLiteral("PRODUÇÃO:"), 10, true);
    s.rotulo(22, 3, 56, espaco);
    s.rotulo(82, 3, 12, QStringLiteral("DATA:"), 10, true);
    s.rotulo(94, 3, 40, espaco.left(16));
    s.rotulo(138, 3, 19, QStringLiteral("HORÁRIO:"), 10, true);
    s.rotulo(157, 3, largura - 157, espaco.left(16));
    s.rotulo(0, 10, 20, QStringLiteral("Destacar:"));
    s.linha(0, 15.5, largura, report::LineStyle::Dash);
    y = 18;
    s.rotulo(0, y, 23, QStringLiteral("Nº PEDIDO:"), 10, true);
    s.campo(23, y, 10, ped, QStringLiteral("PED_NUMERO"));
    s.rotulo(34, y, 20, QStringLiteral("ENTREGA:"), 10, true);
    s.campo(54, y, 29, ped, QStringLiteral("CLI_CONTATO"));
    s.rotulo(84, y, 13, QStringLiteral("FONE:"), 10, true);
    s.campo(97, y, 25, ped, QStringLiteral("CLI_FONECONTATO"));
    s.rotulo(123, y, 13, QStringLiteral("DATA:"), 10, true);
    s.campo(136, y, 21, ped, QStringLiteral("PED_DATAENTREGA"), kData);
    s.rotulo(158, y, 21, QStringLiteral("HORÁRIO:"), 10, true);
    s.campo(179, y, largura - 179, ped, QStringLiteral("PED_HORARIO"));
    y += passo;
    s.rotulo(0, y, 21, QStringLiteral("EMPRESA:"), 10, true);
    s.campo(21, y, 99, ped, QStringLiteral("CLI_NOME"));
    s.rotulo(121, y, 30, QStringLiteral("FORMA PAGTO:"), 10, true);
    s.campo(151, y, largura - 151, ped, QStringLiteral("FPG_DESCRICAO"));
    y += passo;
    s.rotulo(0, y, 23, QStringLiteral("ENDEREÇO:"), 10, true);
    auto& endereco =
        r.summary.add<report::DBMemo>(QRectF(23, y, largura - 23, 5), QStringLiteral("MemoEnderecoEntrega"));
    endereco.pipeline = ped;
    endereco.field = QStringLiteral("ENDEREÇOENTREGACOMPLETO");
    y += passo;
    s.rotulo(0, y, 18, QStringLiteral("BAIRRO:"), 10, true);
    s.campo(18, y, 44, ped, QStringLiteral("CLI_BAIRROENTREGA"));
    s.rotulo(63, y, 17, QStringLiteral("CIDADE:"), 10, true);
    s.campo(80, y, 60, ped, QStringLiteral("CLI_CIDADEENTREGA"));
    s.rotulo(141, y, 8, QStringLiteral("UF:"), 10, true);
    s.campo(149, y, 10, ped, QStringLiteral("CLI_ESTADOENTREGA"));
    s.rotulo(160, y, 10, QStringLiteral("CEP:"), 10, true);
    s.campo(170, y, largura - 170, ped, QStringLiteral("CLI_CEPENTREGA"));
    r.summary.height = y + 7;
}

// ---------------------------------------------------------------------------

TFrmPedido::TFrmPedido(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmPedido"));
    setWindowTitle(QStringLiteral("Pedido de Venda"));
    SetTag(1106);

    // Lookup lists.
    Q_Clientes = novaConsulta(this, "Q_Clientes",
                              {QStringLiteral("select * from TB_Clientes"), QStringLiteral("order by cli_nome")});
    Q_Clientes->ReadOnly = true;
    Q_Funcionarios =
        novaConsulta(this, "Q_Funcionarios", {QStringLiteral("SELECT * FROM TB_Funcionarios where FUN_TIPO <> 1")});
    Q_Funcionarios->ReadOnly = true;
    Q_Vendedores = novaConsulta(this, "Q_Vendedores", {QStringLiteral("SELECT * FROM TB_VENDEDORES")});
    Q_Vendedores->ReadOnly = true;
    Q_Vendedores->AddLookupField(QStringLiteral("FUN_NOME"), QStringLiteral("FUN_CODIGO"), Q_Funcionarios,
                                 QStringLiteral("FUN_CODIGO"), QStringLiteral("FUN_NOME"), dataset::FieldType::String,
                                 45);
    DS_Clientes = novaFonte(this, "DS_Clientes", Q_Clientes);
    DS_Vendedores = novaFonte(this, "DS_Vendedores", Q_Vendedores);
    DS_Midias = novaFonte(this, "DS_Midias", DM ? DM->Q_Midias : nullptr);
    DS_FormaPagto = novaFonte(this, "DS_FormaPagto", DM ? DM->Q_FormaPagto : nullptr);
    Q_Prazo = novaConsulta(this, "Q_Prazo",
                           {QStringLiteral("SELECT * FROM TB_PRAZOS"), QStringLiteral("WHERE FPG_CODIGO = :FPG_CODIGO")});
    Q_Prazo->ReadOnly = true;
    Q_Prazo->SetDataSource(DS_FormaPagto);
    DS_Prazo = novaFonte(this, "DS_Prazo", Q_Prazo);

    // Print queries.
    Q_Pedido = novaConsulta(
        this, "Q_Pedido",
        {QStringLiteral(
             "SELECT PED.PED_CODIGO, PED.PED_VALOR, PED.PED_DATAENTREGA, PED.PED_HORARIO, PED.PED_NUMERO, "
             "PED.PED_STATUS, PED.PED_QUANTIDADE, PED.PED_NOMESOLICITANTE, PED.PED_FONESOLICITANTE, "
             "PED.PED_EMAILSOLICITANTE, CLI.CLI_NOME, CLI.CLI_ENDERECO, CLI.CLI_BAIRRO, CLI.CLI_CIDADE, "
             "CLI.CLI_ESTADO, CLI.CLI_CGCCPF, CLI.CLI_INSCRICAO, CLI.CLI_FONE, CLI.CLI_CELULAR, CLI.CLI_CONTATO, "
             "CLI.CLI_FONECONTATO, CLI.CLI_CEP, CLI.CLI_ENDERECOENTREGA, CLI.CLI_COMPLEMENTOENTREGA, "
             "CLI.CLI_BAIRROENTREGA, CLI.CLI_CIDADEENTREGA, CLI.CLI_ESTADOENTREGA, CLI.CLI_CEPENTREGA, "
             "MID.MID_DESCRICAO, FPG.FPG_DESCRICAO, PRA.PRA_DESCRICAO, VEN.FUN_NOME"),
         QStringLiteral("FROM TB_PEDIDO PED "),
         QStringLiteral("LEFT OUTER JOIN TB_CLIENTES CLI ON PED.CLI_CODIGO = CLI.CLI_CODIGO"),
         QStringLiteral("LEFT OUTER JOIN TB_MIDIAS MID ON PED.MID_CODIGO = MID.MID_CODIGO"),
         QStringLiteral("LEFT OUTER JOIN TB_FORMAPAGAMENTO FPG ON PED.FPG_CODIGO = FPG.FPG_CODIGO"),
         QStringLiteral("LEFT OUTER JOIN TB_PRAZOS PRA ON PED.PRA_CODIGO = PRA.PRA_CODIGO"),
         QStringLiteral("LEFT OUTER JOIN V_VENDEDORES VEN ON PED.VEN_CODIGO = VEN.VEN_CODIGO"),
         QStringLiteral("WHERE PED.PED_CODIGO = :CODPEDIDO")});
    Q_Pedido->ReadOnly = true;
    Q_Pedido->DefineField(QStringLiteral("PED_VALOR"), dataset::FieldType::Float)->DisplayFormat = kDinheiro;
    Q_Pedido->AddCalculatedField(QStringLiteral("ENDEREÇOENTREGACOMPLETO"), dataset::FieldType::String, 200);
    Q_Pedido->OnCalcFields = [this](dataset::DataSet& ds) { Q_PedidoCalcFields(ds); };
    DS_ImpPedido = novaFonte(this, "DS_ImpPedido", Q_Pedido);

    Q_ItensPedido = novaConsulta(
        this, "Q_ItensPedido",
        {QStringLiteral("SELECT IPD.*, LAN.LAN_CODLANCAMENTO, LAN.LAN_DATA, LAN.LAN_HORA, LAN.LAN_TEMPO, "
                        "LAN.LAN_VELOCIDADE, LAN.LAN_ASSUNTO, PRG.PRG_NOME, EMI.EMI_NOME, FUN.FUN_NOME"),
         QStringLiteral("FROM TB_ITENSPEDIDO IPD, TB_LANCAMENTO LAN, TB_PROGRAMAS PRG, TB_EMISSORAS EMI, "
                        "TB_FUNCIONARIOS FUN"),
         QStringLiteral("WHERE IPD.PED_CODIGO = :PED_CODIGO AND IPD.LAN_CODIGO = LAN.LAN_CODIGO AND LAN.PRG_CODIGO = "
                        "PRG.PRG_CODIGO AND LAN.EMI_CODIGO = EMI.EMI_CODIGO AND LAN.FUN_CODIGO = FUN.FUN_CODIGO"),
         QStringLiteral("ORDER BY LAN.LAN_DATA, LAN.LAN_HORA, LAN.LAN_TEMPO")});
    Q_ItensPedido->ReadOnly = true;
    Q_ItensPedido->SetDataSource(DS_ImpPedido);

    // The items follow the order through their data source; the engine is
    // not told of a master, so an order without items still prints its
    // header and stub with the order's data.
    DBEmpresa = std::make_unique<TPipelineRegistroAtual>(
        QStringLiteral("DBEmpresa"), DMBanco ? static_cast<dataset::DataSet*>(DMBanco->TB_Empresa) : nullptr);
    Base1 = std::make_unique<report::DataSetPipeline>(QStringLiteral("Base1"), Q_Pedido);
    DBItensPedido = std::make_unique<report::DataSetPipeline>(QStringLiteral("DBItensPedido"), Q_ItensPedido);
    for (report::Report* r : {&RPPedido, &RPArquivo}) {
        MontarLayout(*r);
        r->addPipeline(DBEmpresa.get());
        r->addPipeline(Base1.get());
        r->addPipeline(DBItensPedido.get());
    }

    // The tool bar edits the order; the grid below lists its items.
    dataset::DataSource* pedido = DM ? DM->DS_Pedido : nullptr;
    for (dataset::DBSpeedButton* b :
         {SBNovo, SBSalvar, SBAlterar, SBCancelar, SBExcluir, SBPrimeiro, SBAnterior, SBProximo, SBUltimo})
        b->SetDataSource(pedido);
    DataSource1->SetDataSet(DM ? DM->Q_ItensPedido : nullptr);
    if (pedido)
        connect(pedido, &dataset::DataSource::stateChanged, this, [this] {
            DataSource1StateChange();
            AtualizarBotoes();
        });

    // Order panel.
    auto* grade = new QGridLayout(PFundo);
    grade->setContentsMargins(8, 8, 8, 8);
    grade->setHorizontalSpacing(6);
    grade->setVerticalSpacing(5);

    auto editar = [&](const char* nome, const QString& campo, int largura) {
        auto* e = new dataset::DBEdit(PFundo);
        e->setObjectName(QLatin1String(nome));
        e->SetDataSource(pedido);
        e->SetDataField(campo);
        LarguraEmCaracteres(e, largura);
        return e;
    };
    auto lista = [&](const char* nome, const QString& campo, dataset::DataSource* fonte, const QString& chave,
                     const QString& mostra, int largura) {
        auto* c = new dataset::DBLookupComboBox(PFundo);
        c->setObjectName(QLatin1String(nome));
        c->SetDataSource(pedido);
        c->SetDataField(campo);
        c->SetListSource(fonte);
        c->SetKeyField(chave);
        c->SetListField(mostra);
        LarguraEmCaracteres(c, largura);
        return c;
    };

    DBLookupComboBox1 = lista("DBLookupComboBox1", QStringLiteral("CLI_CODIGO"), DS_Clientes,
                              QStringLiteral("CLI_CODIGO"), QStringLiteral("CLI_NOME"), 40);
    SBBuscaCliente = new QToolButton(PFundo);
    SBBuscaCliente->setObjectName(QStringLiteral("SBBuscaCliente"));
    SBBuscaCliente->setText(QStringLiteral("..."));
    SBBuscaCliente->setToolTip(QStringLiteral("Localizar cliente (F2)"));
    SBBuscaCliente->setFocusPolicy(Qt::NoFocus);
    auto* cliente = new QWidget(PFundo);
    auto* lc = new QHBoxLayout(cliente);
    lc->setContentsMargins(0, 0, 0, 0);
    lc->setSpacing(2);
    lc->addWidget(DBLookupComboBox1);
    lc->addWidget(SBBuscaCliente);
    lc->addStretch(1);
    AdicionarCampo(grade, 0, 0, QStringLiteral("Cliente"), cliente, 3)->setBuddy(DBLookupComboBox1);

    DBEdit4 = editar("DBEdit4", QStringLiteral("PED_NUMERO"), 10);
    DBEdit4->setEnabled(false);
    DBEdit4->setReadOnly(true);
    DBEdit4->ReadOnlyControl = true;
    DBEdit4->setFocusPolicy(Qt::NoFocus);
    AdicionarCampo(grade, 0, 4, QStringLiteral("Número"), DBEdit4);

    DBEdit1 = editar("DBEdit1", QStringLiteral("PED_VALOR"), 14);
    AdicionarCampo(grade, 1, 0, QStringLiteral("Valor"), DBEdit1);
    DBLookupComboBox2 = lista("DBLookupComboBox2", QStringLiteral("MID_CODIGO"), DS_Midias,
                              QStringLiteral("MID_CODIGO"), QStringLiteral("MID_DESCRICAO"), 24);
    AdicionarCampo(grade, 1, 2, QStringLiteral("Mídia"), DBLookupComboBox2);
    DBStatus = new dataset::DBComboBox(PFundo);
    DBStatus->setObjectName(QStringLiteral("DBStatus"));
    DBStatus->SetStyle(dataset::DBComboBox::DropDownList);
    DBStatus->SetItems({QStringLiteral("Em Andamento"), QStringLiteral("Realizado"), QStringLiteral("Cancelado")});
    DBStatus->SetDataSource(pedido);
    DBStatus->SetDataField(QStringLiteral("PED_STATUS"));
    LarguraEmCaracteres(DBStatus, 17);
    AdicionarCampo(grade, 1, 4, QStringLiteral("Status"), DBStatus);

    DBLookupComboBox3 = lista("DBLookupComboBox3", QStringLiteral("VEN_CODIGO"), DS_Vendedores,
                              QStringLiteral("VEN_CODIGO"), QStringLiteral("FUN_NOME"), 40);
    AdicionarCampo(grade, 2, 0, QStringLiteral("Vendedor(a)"), DBLookupComboBox3, 3);
    DBEdit5 = editar("DBEdit5", QStringLiteral("PED_QUANTIDADE"), 10);
    AdicionarCampo(grade, 2, 4, QStringLiteral("Quantidade"), DBEdit5);

    DBEdit2 = editar("DBEdit2", QStringLiteral("PED_DATAENTREGA"), 11);
    AdicionarCampo(grade, 3, 0, QStringLiteral("Data de Entrega"), DBEdit2);
    DBEdit3 = editar("DBEdit3", QStringLiteral("PED_HORARIO"), 9);
    AdicionarCampo(grade, 3, 2, QStringLiteral("Horário "), DBEdit3);
    DBCheckBox1 = new dataset::DBCheckBox(PFundo);
    DBCheckBox1->setObjectName(QStringLiteral("DBCheckBox1"));
    DBCheckBox1->setText(QStringLiteral("Pago"));
    DBCheckBox1->SetDataSource(pedido);
    DBCheckBox1->SetDataField(QStringLiteral("PED_PAGO"));
    DBCheckBox1->ValueChecked = QStringLiteral("1");
    DBCheckBox1->ValueUnchecked = QStringLiteral("0");
    grade->addWidget(DBCheckBox1, 3, 5);

    DBLookupComboBox4 = lista("DBLookupComboBox4", QStringLiteral("FPG_CODIGO"), DS_FormaPagto,
                              QStringLiteral("FPG_CODIGO"), QStringLiteral("FPG_DESCRICAO"), 24);
    AdicionarCampo(grade, 4, 0, QStringLiteral("Forma de Pagamento"), DBLookupComboBox4);
    DBLookupComboBox5 = lista("DBLookupComboBox5", QStringLiteral("PRA_CODIGO"), DS_Prazo,
                              QStringLiteral("PRA_CODIGO"), QStringLiteral("PRA_DESCRICAO"), 24);
    AdicionarCampo(grade, 4, 2, QStringLiteral("Prazo"), DBLookupComboBox5, 3);

    DBEdit6 = editar("DBEdit6", QStringLiteral("PED_NOMESOLICITANTE"), 40);
    AdicionarCampo(grade, 5, 0, QStringLiteral("Solicitante"), DBEdit6, 3);
    DBEdit8 = editar("DBEdit8", QStringLiteral("PED_FONESOLICITANTE"), 16);
    AdicionarCampo(grade, 5, 4, QStringLiteral("Fone do solicitante"), DBEdit8, 2);
    DBEdit7 = editar("DBEdit7", QStringLiteral("PED_EMAILSOLICITANTE"), 40);
    AdicionarCampo(grade, 6, 0, QStringLiteral("Email do solicitante"), DBEdit7, 3);
    grade->setColumnStretch(6, 1);

    // Items and the form's buttons.
    auto* baixo = new QVBoxLayout(PBusca);
    baixo->setContentsMargins(6, 6, 6, 6);
    GroupBox1 = new QGroupBox(QStringLiteral("Conteúdo do Pedido: "), PBusca);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* lg = new QVBoxLayout(GroupBox1);
    DBGrid1 = new dataset::DBGrid(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    auto coluna = [](const char* campo, const char* titulo, int largura) {
        dataset::GridColumn c;
        c.FieldName = QLatin1String(campo);
        c.Title = QString::fromUtf8(titulo);
        c.Width = largura;
        c.ReadOnly = true;
        return c;
    };
    DBGrid1->SetColumns({coluna("LAN_DATA", "Data", 80), coluna("LAN_HORA", "Hora", 64),
                         coluna("LAN_TEMPO", "Tempo", 64), coluna("EMI_NOME", "Emissora", 170),
                         coluna("PRG_NOME", "Programa", 170), coluna("LAN_VELOCIDADE", "Velocidade", 72),
                         coluna("LAN_CODLANCAMENTO", "Cod. Fita", 110)});
    DBGrid1->SetRowSelect(true);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid1->setFixedHeight(200);
    lg->addWidget(DBGrid1);
    baixo->addWidget(GroupBox1);

    auto* botoes = new QHBoxLayout;
    botoes->setSpacing(4);
    auto botao = [&](const char* nome, const QString& texto) {
        auto* b = new QToolButton(PBusca);
        b->setObjectName(QLatin1String(nome));
        b->setText(texto);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setMinimumHeight(28);
        b->setFocusPolicy(Qt::NoFocus);
        botoes->addWidget(b);
        return b;
    };
    SpeedButton1 = botao("SpeedButton1", QStringLiteral("&Adicionar Lançamento"));
    SpeedButton4 = botao("SpeedButton4", QStringLiteral("E&xcluir Lançamento"));
    SpeedButton2 = botao("SpeedButton2", QStringLiteral("&Pesquisar Pedidos"));
    botoes->addStretch(1);
    auto* cor = new QLabel(QStringLiteral("Cor"), PBusca);
    EdColor = new widgets::ColorEdit(PBusca);
    EdColor->setObjectName(QStringLiteral("EdColor"));
    EdColor->setColor(Qt::black);
    cor->setBuddy(EdColor);
    botoes->addWidget(cor);
    botoes->addWidget(EdColor);
    SpeedButton3 = botao("SpeedButton3", QStringLiteral("&Imprimir Pedido"));
    SpeedButton5 = botao("SpeedButton5", QStringLiteral("&Gerar Arquivo"));
    baixo->addLayout(botoes);

    connect(SBBuscaCliente, &QToolButton::clicked, this,
            [this] { executar(SBBuscaCliente, [this] { SBBuscaClienteClick(); }); });
    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { executar(SpeedButton1, [this] { SpeedButton1Click(); }); });
    connect(SpeedButton2, &QToolButton::clicked, this,
            [this] { executar(SpeedButton2, [this] { SpeedButton2Click(); }); });
    connect(SpeedButton3, &QToolButton::clicked, this,
            [this] { executar(SpeedButton3, [this] { SpeedButton3Click(); }); });
    connect(SpeedButton4, &QToolButton::clicked, this,
            [this] { executar(SpeedButton4, [this] { SpeedButton4Click(); }); });
    connect(SpeedButton5, &QToolButton::clicked, this,
            [this] { executar(SpeedButton5, [this] { SpeedButton5Click(); }); });
    DBLookupComboBox2->OnCloseUp = [this](dataset::DBLookupComboBox&) {
        executar(DBLookupComboBox2, [this] { DBLookupComboBox2CloseUp(); });
    };

    setTabOrder(DBLookupComboBox1, DBEdit1);
    setTabOrder(DBEdit1, DBLookupComboBox2);
    setTabOrder(DBLookupComboBox2, DBStatus);
    setTabOrder(DBStatus, DBLookupComboBox3);
    setTabOrder(DBLookupComboBox3, DBEdit5);
    setTabOrder(DBEdit5, DBEdit2);
    setTabOrder(DBEdit2, DBEdit3);
    setTabOrder(DBEdit3, DBCheckBox1);
    setTabOrder(DBCheckBox1, DBLookupComboBox4);
    setTabOrder(DBLookupComboBox4, DBLookupComboBox5);
    setTabOrder(DBLookupComboBox5, DBEdit6);
    setTabOrder(DBEdit6, DBEdit8);
    setTabOrder(DBEdit8, DBEdit7);

    FormCreate();
    DataSource1StateChange();
    AtualizarBotoes();
}

TFrmPedido::~TFrmPedido() = default;

void TFrmPedido::executar(QObject* remetente, const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        TratarExcecao(remetente, e);
    }
}

void TFrmPedido::FormCreate() {
    reabrir(Q_Clientes);
    reabrir(Q_Funcionarios);
    reabrir(Q_Vendedores);
    if (DM) {
        reabrir(DM->Q_Midias);
        reabrir(DM->Q_FormaPagto);
        reabrir(DM->Q_Prazo);
    }
    if (DMBanco && DMBanco->TB_Empresa && !DMBanco->TB_Empresa->Active())
        DMBanco->TB_Empresa->Open();
    reabrir(Q_Prazo);
}

void TFrmPedido::FormShow() {
    TFrmBaseFilha::FormShow();
    // The callers reopen the order list after opening the form; one that
    // has not been opened yet is opened here so that the tool bar works.
    if (DM && !DM->Q_Pedido->Active())
        DM->Q_Pedido->Open();
    DataSource1StateChange();
    AtualizarBotoes();
}

bool TFrmPedido::FormKeyDown(QKeyEvent* e) {
    const bool buscaCliente = e->key() == Qt::Key_F2 && DBLookupComboBox1->hasFocus();
    const bool tratada = TFrmBaseFilha::FormKeyDown(e);
    if (buscaCliente) {
        executar(DBLookupComboBox1, [this] { SBBuscaClienteClick(); });
        return true;
    }
    return tratada;
}

void TFrmPedido::DataSource1StateChange() {
    PFundo->setEnabled(DM && DM->Q_Pedido->IsEditing());
}

void TFrmPedido::SBNovoAfterAction(ResultadoAcao& r) {
    if (r.Falhou || !DM || DM->Q_Pedido->GetState() != dataset::State::Insert)
        return;
    DBStatus->setCurrentIndex(0);
    DM->Q_Pedido->FieldByName(QStringLiteral("PED_STATUS"))->SetAsString(QStringLiteral("Em Andamento"));
    DBLookupComboBox1->setFocus();
}

void TFrmPedido::SBSalvarBeforeAction() {
    if (DM && DM->Q_Pedido->GetState() == dataset::State::Edit)
        ExigirDireito(QStringLiteral("DIR_ALTERAR"));
}

void TFrmPedido::SBExcluirAfterAction(ResultadoAcao& r) {
    if (r.Falhou || !DM)
        return;
    DM->Q_Pedido->Close();
    DM->Q_Pedido->Open();
}

void TFrmPedido::DBLookupComboBox2CloseUp() {
    if (!DM || !DM->Q_Pedido->IsEditing() || !DM->Q_Midias->Active())
        return;
    // The price of the medium the order shows; with none chosen the amount
    // stays as it is.
    const QVariant midia = DM->Q_Pedido->FieldByName(QStringLiteral("MID_CODIGO"))->Value();
    if (midia.isNull() || !DM->Q_Midias->Locate(QStringLiteral("MID_CODIGO"), midia))
        return;
    DM->Q_Pedido->FieldByName(QStringLiteral("PED_VALOR"))
        ->SetValue(DM->Q_Midias->FieldByName(QStringLiteral("MID_VALOR"))->Value());
}

void TFrmPedido::SBBuscaClienteClick() {
    QPointer<TFrmClientes> tela = new TFrmClientes(this);
    ChamadaExterna = 1;
    bool escolhido = false;
    try {
        ExibirModal(tela);
        escolhido = tela && tela->result() == QDialog::Accepted;
    } catch (...) {
        delete tela.data();
        ChamadaExterna = 0;
        throw;
    }
    delete tela.data();
    ChamadaExterna = 0;
    if (!DM || !DM->Q_Pedido->Active())
        return;
    if (escolhido && DM->ClienteEscolhido > 0) {
        DM->Q_Pedido->Edit();
        DM->Q_Pedido->FieldByName(QStringLiteral("CLI_CODIGO"))->SetAsInteger(DM->ClienteEscolhido);
        // A client registered during the search joins the list.
        reabrir(Q_Clientes);
    }
    DM->Q_Pedido->Edit();
}

void TFrmPedido::SpeedButton1Click() {
    if (!DM)
        return;
    dataset::Query* pedido = DM->Q_Pedido;
    if (!pedido->Active())
        pedido->Open();
    // The order is saved before items refer to it; with no order at all a
    // new one is begun.
    pedido->Edit();
    Pressionar(SBSalvar);
    const dataset::Field* codigo = pedido->FieldByName(QStringLiteral("PED_CODIGO"));
    if (!codigo->IsNull())
        DMBanco->PedidoAtual = codigo->AsInteger();

    QPointer<TFrmPesquisaLancamento> tela = new TFrmPesquisaLancamento(this);
    try {
        ExibirModal(tela);
    } catch (...) {
        delete tela.data();
        throw;
    }
    delete tela.data();
}

void TFrmPedido::SpeedButton2Click() {
#if TEM_PESQUISAPEDIDO
    AbrirFormulario<TFrmPesquisaPedido>(false, 0);
#endif
}

void TFrmPedido::SpeedButton4Click() {
    if (msg::Perguntar(QStringLiteral("Confirma a Exclusão?"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        return;
    dataset::Query* itens = DM ? DM->Q_ItensPedido : nullptr;
    if (!itens || !itens->Active() || itens->IsEmpty())
        return;
    itens->Delete();
}

void TFrmPedido::Q_PedidoCalcFields(dataset::DataSet& ds) {
    const QString endereco = ds.FieldByName(QStringLiteral("CLI_ENDERECOENTREGA"))->AsString();
    const QString complemento = ds.FieldByName(QStringLiteral("CLI_COMPLEMENTOENTREGA"))->AsString();
    ds.FieldByName(QStringLiteral("ENDEREÇOENTREGACOMPLETO"))
        ->SetAsString(complemento.isEmpty() ? endereco : endereco + QStringLiteral(" - ") + complemento);
}

bool TFrmPedido::PrepararImpressao(bool itensPrimeiro) {
    Q_Pedido->Close();
    Q_ItensPedido->Close();
    dataset::Param* p = Q_Pedido->ParamByName(QStringLiteral("CODPEDIDO"));
    p->Clear();
    if (DM && DM->Q_Pedido->Active() && !DM->Q_Pedido->IsEmpty()) {
        const dataset::Field* codigo = DM->Q_Pedido->FieldByName(QStringLiteral("PED_CODIGO"));
        if (!codigo->IsNull())
            p->SetAsInteger(codigo->AsInteger());
    }
    if (itensPrimeiro) {
        Q_ItensPedido->Open();
        Q_Pedido->Open();
    } else {
        Q_Pedido->Open();
        Q_ItensPedido->Open();
    }
    if (Q_Pedido->IsEmpty()) {
        msg::Informar(QStringLiteral("Não há nenhum item no relatório!"));
        return false;
    }
    if (!QFileInfo::exists(ArquivoModelo())) {
        msg::Informar(QStringLiteral("Arquivo de relatório não encontrado!"));
        return false;
    }
    return true;
}

void TFrmPedido::SpeedButton3Click() {
    if (SBSalvar->isEnabled())
        Pressionar(SBSalvar);
    if (!PrepararImpressao(false))
        return;
    RPPedido.loadTemplate(ArquivoModelo());
    RPPedido.recolour(EdColor->color());
    Visualizar(RPPedido, this);
}

void TFrmPedido::SpeedButton5Click() {
    if (!PrepararImpressao(true))
        return;
    const QString numero = Q_Pedido->FieldByName(QStringLiteral("PED_NUMERO"))->AsString();
    const QString arquivo =
        msg::SalvarArquivo(this, QStringLiteral("Gerar Arquivo"),
                           QDir(PastaExecutavel()).filePath(QStringLiteral("Pedido%1.txt").arg(numero)),
                           QStringLiteral("Arquivos de texto (*.txt);;Todos os arquivos (*)"));
    if (arquivo.isEmpty())
        return;
    report::writeText(RPArquivo, arquivo);
}

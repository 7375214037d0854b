#include "screens/clipping/U_Informe.h"

#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/Ambiente.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/TableDataset.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/report/DataSetPipeline.h"
#include "platform/report/PainterOutput.h"
#include "platform/report/RtfWriter.h"
#include "platform/widgets/ColorEdit.h"
#include "screens/clipping/U_PesquisaLancamento.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QToolButton>
#include <QVBoxLayout>

TFrmInforme* FrmInforme = nullptr;

TFrmInforme::Visualizador TFrmInforme::Visualizar = [](const report::Report& r, QWidget* pai) {
    report::preview(r, pai);
};

namespace {

const QString kInforme = QStringLiteral("DataSetInforme");
const QString kEmpresa = QStringLiteral("DBEmpresa");
const QString kFuncionario = QStringLiteral("DBFuncionario");
const QString kData = QStringLiteral("dd/mm/yyyy");

const QStringList kCamposEmpresa{
    QStringLiteral("EMP_NOMECOMPLETO"), QStringLiteral("EMP_ENDERECOCOMPLETO"), QStringLiteral("EMP_CIDADEUF"),
    QStringLiteral("EMP_FONE"),         QStringLiteral("EMP_CNPJ"),             QStringLiteral("EMP_EMAILWEB"),
    QStringLiteral("EMP_NOME"),         QStringLiteral("EMP_PATHLOGO")};

// Places the elements of a band.
struct Faixa {
    report::Band& b;
    report::Label& rotulo(double x, double y, double w, const QString& texto, bool negrito = false,
                          double tamanho = 10) {
        auto& l = b.add<report::Label>(QRectF(x, y, w, tamanho > 10 ? tamanho * 0.5 : 5));
        l.text = texto;
        l.font.bold = negrito;
        l.font.size = tamanho;
        return l;
    }
    report::DBText& campo(double x, double y, double w, const QString& pipeline, const QString& nome,
                          bool negrito = false, double tamanho = 10) {
        auto& t = b.add<report::DBText>(QRectF(x, y, w, tamanho > 10 ? tamanho * 0.5 : 5));
        t.pipeline = pipeline;
        t.field = nome;
        t.font.bold = negrito;
        t.font.size = tamanho;
        return t;
    }
    report::Line& linha(double x, double y, double w) {
        auto& l = b.add<report::Line>(QRectF(x, y, w, 0.3));
        l.penWidth = 0.5;
        return l;
    }
    report::Shape& caixa(const QRectF& r) {
        auto& s = b.add<report::Shape>(r);
        s.penWidth = 0.75;
        return s;
    }
};

// "INFORME" in the middle and the print date and time at the right.
void tituloInforme(Faixa& t, double y, double largura) {
    auto& titulo = t.rotulo(0, y, largura, QStringLiteral("INFORME"), true, 12);
    titulo.font.italic = true;
    titulo.align = report::HAlign::Center;
    const QColor marinho(0, 0, 0x80);
    auto& rotulo = t.rotulo(largura - 48, y + 1, 10, QStringLiteral("Data:"), false, 9);
    rotulo.font.family = QStringLiteral("Times New Roman");
    rotulo.font.color = marinho;
    auto& quando = t.b.add<report::SystemVariable>(QRectF(largura - 38, y + 1, 38, 4.5), QStringLiteral("DataHora"));
    quando.value = report::SystemValue::PrintDateTime;
    quando.font.family = QStringLiteral("Times New Roman");
    quando.font.size = 9;
    quando.font.color = marinho;
    quando.align = report::HAlign::Right;
}

// Groups, detail and closing block: the same in both layouts.
void corpoInforme(report::Report& r) {
    const double largura = r.page.contentWidth();
    // Each level's box a little further in than the one above it.
    struct Quebra { const char* campo; const char* nome; double recuo; };
    for (const Quebra q : {Quebra{"LAN_DATA", "GrupoData", 0}, Quebra{"EMI_NOME", "GrupoEmissora", 4},
                           Quebra{"PRG_NOME", "GrupoPrograma", 8}}) {
        report::Group& g = r.addGroup(kInforme, QLatin1String(q.campo), QLatin1String(q.nome));
        g.keepTogether = true;
        Faixa h{g.header};
        h.caixa(QRectF(q.recuo, 1, largura - q.recuo, 6.5));
        auto& t = h.campo(q.recuo + 2, 1.8, largura - q.recuo - 4, kInforme, QLatin1String(q.campo), true);
        t.font.italic = true;
        if (QLatin1String(q.campo) == QLatin1String("LAN_DATA"))
            t.displayFormat = kData;
        g.header.height = 8.5;
    }

    Faixa d{r.detail};
    d.rotulo(10, 0.8, 11, QStringLiteral("Hora:"), true);
    d.campo(21, 0.8, 22, kInforme, QStringLiteral("LAN_HORA"));
    d.rotulo(48, 0.8, 14, QStringLiteral("Tempo:"), true);
    d.campo(62, 0.8, 22, kInforme, QStringLiteral("LAN_TEMPO"));
    d.rotulo(10, 5.8, 20, QStringLiteral("Assunto:"), true);
    auto& assunto = r.detail.add<report::DBMemo>(QRectF(10, 10.8, largura - 10, 5), QStringLiteral("MemoAssunto"));
    assunto.pipeline = kInforme;
    assunto.field = QStringLiteral("LAN_ASSUNTO");
    r.detail.height = 17;

    Faixa s{r.summary};
    s.rotulo(0, 8, 60, QStringLiteral("Atenciosamente,"));
    s.campo(0, 20, 120, kFuncionario, QStringLiteral("FUN_NOME"));
    s.rotulo(0, 25.5, 120, QStringLiteral("Departamento de Pesquisas e Vendas"), true, 11);
    s.campo(0, 31.5, 120, kEmpresa, QStringLiteral("EMP_NOME"), true, 11);
    r.summary.height = 38;
}

void iniciarLayout(report::Report& r) {
    r.clearLayout();
    r.name = QStringLiteral("Informe");
    r.mainPipeline = kInforme;
    r.page = report::PageSetup();  // A4 portrait, 6.35 mm margins
}

// Runs f on every row of the search result whose mark is "1", first to
// last; a pending edit (the subject memo) is posted first.
void percorrerMarcados(dataset::DataSet* busca, const std::function<void(dataset::DataSet&)>& f) {
    if (!busca || !busca->Active())
        return;
    busca->CheckBrowseMode();
    busca->DisableControls();
    try {
        dataset::Field* marca = busca->FieldByName(QStringLiteral("LAN_CHECKED"));
        for (busca->First(); !busca->Eof(); busca->Next())
            if (marca->AsString() == QLatin1String("1"))
                f(*busca);
    } catch (...) {
        busca->EnableControls();
        throw;
    }
    busca->EnableControls();
}

} // namespace

// ---------------------------------------------------------------------------

void TFrmInforme::MontarLayoutCompleto(report::Report& r) {
    using report::HAlign;
    iniciarLayout(r);
    const double largura = r.page.contentWidth();

    // Boxed company header: logo at the left, the company's lines centred
    // to its right between thin rules.
    Faixa t{r.title};
    t.caixa(QRectF(0, 0, largura, 36));
    auto& logo = r.title.add<report::Image>(QRectF(1.5, 1.5, 36, 33), QStringLiteral("ImgLogo"));
    logo.pipeline = kEmpresa;
    logo.field = QStringLiteral("EMP_PATHLOGO");
    logo.stretch = true;
    const double x0 = 40;
    const double w = largura - x0 - 1.5;
    auto& faixa = r.title.add<report::Shape>(QRectF(x0, 1.5, w, 6.5), QStringLiteral("FaixaEmpresa"));
    faixa.penWidth = 0;
    faixa.filled = true;
    faixa.fillColor = QColor(0x80, 0x80, 0x80);
    auto centro = [&](double y, const QString& campo) -> report::DBText& {
        auto& c = t.campo(x0, y, w, kEmpresa, campo, true);
        c.align = HAlign::Center;
        return c;
    };
    centro(2.2, QStringLiteral("EMP_NOMECOMPLETO")).font.color = Qt::white;
    t.linha(x0, 8.5, w);
    centro(9.5, QStringLiteral("EMP_ENDERECOCOMPLETO"));
    t.linha(x0, 15, w);
    centro(16, QStringLiteral("EMP_CIDADEUF"));
    t.linha(x0, 21.5, w);
    const double meio = x0 + w / 2;
    t.rotulo(meio - 74, 22.5, 12, QStringLiteral("Fone:"), true).align = HAlign::Right;
    t.campo(meio - 61, 22.5, 58, kEmpresa, QStringLiteral("EMP_FONE"), true);
    t.rotulo(meio + 1, 22.5, 12, QStringLiteral("CNPJ:"), true).align = HAlign::Right;
    t.campo(meio + 14, 22.5, 58, kEmpresa, QStringLiteral("EMP_CNPJ"), true);
    t.linha(x0, 28, w);
    centro(29, QStringLiteral("EMP_EMAILWEB"));
    tituloInforme(t, 39, largura);
    r.title.height = 47;

    corpoInforme(r);
}

void TFrmInforme::MontarLayoutResumido(report::Report& r) {
    iniciarLayout(r);
    Faixa t{r.title};
    tituloInforme(t, 0, r.page.contentWidth());
    r.title.height = 9;
    corpoInforme(r);
}

// ---------------------------------------------------------------------------

TFrmInforme::TFrmInforme(QWidget* parent) : TFrmBase(parent) {
    setObjectName(QStringLiteral("FrmInforme"));
    setWindowTitle(QStringLiteral("Informe"));
    setProperty(kPropriedadeCentralizada, true);
    FrmInforme = this;

    using dataset::FieldType;
    DataSetInforme = new dataset::MemoryTable(this);
    DataSetInforme->setObjectName(QStringLiteral("DataSetInforme"));
    DataSetInforme->AddFieldDef(QStringLiteral("LAN_DATA"), FieldType::DateTime);
    DataSetInforme->AddFieldDef(QStringLiteral("LAN_HORA"), FieldType::String, 8);
    DataSetInforme->AddFieldDef(QStringLiteral("LAN_TEMPO"), FieldType::String, 8);
    DataSetInforme->AddFieldDef(QStringLiteral("LAN_ASSUNTO"), FieldType::String, 1024);
    DataSetInforme->AddFieldDef(QStringLiteral("EMI_NOME"), FieldType::String, 20);
    DataSetInforme->AddFieldDef(QStringLiteral("PRG_NOME"), FieldType::String, 45);
    DataSetInforme->AddFieldDef(QStringLiteral("FUN_NOME"), FieldType::String, 45);
    DataSetInforme->FieldByName(QStringLiteral("LAN_DATA"))->DisplayFormat = kData;
    DataSetInforme->CreateDataSet();
    DataSource1->SetDataSet(DataSetInforme);

    Q_Funcionario = new dataset::Query(this);
    Q_Funcionario->setObjectName(QStringLiteral("Q_Funcionario"));
    if (DMBanco)
        Q_Funcionario->SetTransaction(&DMBanco->Trans_Clipping);
    Q_Funcionario->ReadOnly = true;
    Q_Funcionario->SQL.Add(QStringLiteral("SELECT FUN_NOME FROM TB_FUNCIONARIOS WHERE FUN_CODIGO = :FUN_CODIGO"));

    // Content.
    auto* cima = new QVBoxLayout(PFundo);
    cima->setContentsMargins(6, 6, 6, 6);
    GroupBox1 = new QGroupBox(QStringLiteral("Conteúdo do Informe: "), PFundo);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* lg = new QVBoxLayout(GroupBox1);
    DBGrid1 = new dataset::DBGrid(GroupBox1);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    DBGrid1->SetRowSelect(true);
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto coluna = [](const char* campo, const char* titulo, int largura) {
        dataset::GridColumn c;
        c.FieldName = QLatin1String(campo);
        c.Title = QString::fromUtf8(titulo);
        c.Width = largura;
        c.ReadOnly = true;
        return c;
    };
    DBGrid1->SetColumns({coluna("LAN_DATA", "Data", 84), coluna("LAN_HORA", "Hora", 66),
                         coluna("LAN_TEMPO", "Tempo", 66), coluna("EMI_NOME", "Emissora", 160),
                         coluna("PRG_NOME", "Programa", 190), coluna("FUN_NOME", "Funcionário", 160)});
    DBGrid1->setMinimumSize(760, 300);
    lg->addWidget(DBGrid1);
    cima->addWidget(GroupBox1);

    // Actions.
    auto* botoes = new QHBoxLayout(PBusca);
    botoes->setContentsMargins(6, 6, 6, 6);
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
    botoes->addStretch(1);
    auto* cor = new QLabel(QStringLiteral("Cor:"), PBusca);
    EdColor = new widgets::ColorEdit(PBusca);
    EdColor->setObjectName(QStringLiteral("EdColor"));
    EdColor->setColor(Qt::black);
    cor->setBuddy(EdColor);
    botoes->addWidget(cor);
    botoes->addWidget(EdColor);
    BInforme = botao("BInforme", QStringLiteral("&Imprimir Informe"));
    BArquivo = botao("BArquivo", QStringLiteral("&Gerar Arquivo"));
    botoes->addSpacing(12);
    SpeedButton2 = botao("SpeedButton2", QStringLiteral("&Sair"));

    connect(BInforme, &QToolButton::clicked, this, [this] { executar(BInforme, [this] { BInformeClick(); }); });
    connect(BArquivo, &QToolButton::clicked, this, [this] { executar(BArquivo, [this] { BArquivoClick(); }); });
    connect(SpeedButton1, &QToolButton::clicked, this,
            [this] { executar(SpeedButton1, [this] { SpeedButton1Click(); }); });
    connect(SpeedButton4, &QToolButton::clicked, this,
            [this] { executar(SpeedButton4, [this] { SpeedButton4Click(); }); });
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { close(); });

    // Reports and what feeds them.
    MontarLayoutCompleto(RPInforme);
    MontarLayoutResumido(RPArquivo);
    pipeInforme_ = std::make_unique<report::DataSetPipeline>(kInforme, DataSetInforme);
    pipeFuncionario_ = std::make_unique<report::DataSetPipeline>(kFuncionario, Q_Funcionario);
    pipeEmpresa_ = std::make_unique<report::MemoryPipeline>(kEmpresa, kCamposEmpresa);
    for (report::Report* r : {&RPInforme, &RPArquivo}) {
        r->addPipeline(pipeInforme_.get());
        r->addPipeline(pipeEmpresa_.get());
        r->addPipeline(pipeFuncionario_.get());
    }
}

TFrmInforme::~TFrmInforme() {
    if (FrmInforme == this)
        FrmInforme = nullptr;
}

void TFrmInforme::executar(QObject* remetente, const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        TratarExcecao(remetente, e);
    }
}

void TFrmInforme::FormShow() {
    // The rows live only in the table: showing the screen again keeps them.
    if (!DataSetInforme->Active())
        DataSetInforme->Open();
    AtualizarFuncionario();
}

void TFrmInforme::FormClose(QCloseEvent* e) {
    TFrmBase::FormClose(e);
    if (e->isAccepted() && FrmInforme == this)
        FrmInforme = nullptr;
}

void TFrmInforme::Limpar() {
    DataSetInforme->Close();
    DataSetInforme->Open();
    DataSetInforme->EmptyDataSet();
}

void TFrmInforme::AdicionarLinha(const dataset::DataSet& busca) {
    auto valor = [&busca](const char* campo) { return busca.FieldByName(QLatin1String(campo))->Value(); };
    dataset::MemoryTable* t = DataSetInforme;
    if (!t->Active())
        t->Open();
    t->Append();
    try {
        t->FieldByName(QStringLiteral("LAN_DATA"))->SetValue(valor("LAN_DATA"));
        t->FieldByName(QStringLiteral("LAN_HORA"))->SetValue(valor("LAN_HORA"));
        t->FieldByName(QStringLiteral("LAN_TEMPO"))->SetValue(valor("LAN_TEMPO"));
        t->FieldByName(QStringLiteral("LAN_ASSUNTO"))->SetValue(valor("LAN_ASSUNTO"));
        const QVariant emissora = valor("EMI_NOME");
        if (emissora.isNull())
            t->FieldByName(QStringLiteral("EMI_NOME"))->Clear();
        else
            t->FieldByName(QStringLiteral("EMI_NOME"))->SetAsString(emissora.toString().left(20));
        t->FieldByName(QStringLiteral("PRG_NOME"))->SetValue(valor("PRG_NOME"));
        t->FieldByName(QStringLiteral("FUN_NOME"))->SetValue(valor("FUN_NOME"));
        t->Post();
    } catch (...) {
        if (t->IsEditing())
            t->Cancel();
        throw;
    }
}

void TFrmInforme::AtualizarFuncionario() {
    Q_Funcionario->Close();
    dataset::Param* p = Q_Funcionario->ParamByName(QStringLiteral("FUN_CODIGO"));
    p->Clear();
    // The login query stays on the signed-in user's row; without one (the
    // maintenance login, no users) the name is empty.
    dataset::Query* login = DMBanco ? DMBanco->Q_Usuarios : nullptr;
    if (login && login->Active() && !login->IsEmpty()) {
        const dataset::Field* codigo = login->FindField(QStringLiteral("FUN_CODIGO"));
        if (codigo && !codigo->IsNull())
            p->SetAsInteger(codigo->AsInteger());
    }
    Q_Funcionario->Open();
}

bool TFrmInforme::PrepararImpressao() {
    AtualizarFuncionario();
    DataSetInforme->CheckBrowseMode();
    if (DataSetInforme->IsEmpty()) {
        msg::Informar(QStringLiteral("Não há nenhum item no relatório!"));
        return false;
    }
    // The company record as it stands now, read without moving it.
    pipeEmpresa_->clearRows();
    dataset::DataSet* empresa = DMBanco ? DMBanco->TB_Empresa : nullptr;
    if (empresa && !empresa->Active())
        empresa->Open();
    if (empresa && !empresa->IsEmpty()) {
        QVector<QVariant> linha;
        for (const QString& campo : kCamposEmpresa) {
            const dataset::Field* f = empresa->FindField(campo);
            linha << (f ? f->Value() : QVariant());
        }
        pipeEmpresa_->addRow(linha);
    }
    const QColor cor = EdColor->color();
    RPInforme.recolour(cor);
    RPArquivo.recolour(cor);
    return true;
}

void TFrmInforme::BInformeClick() {
    if (!PrepararImpressao())
        return;
    if (Visualizar)
        Visualizar(RPInforme, this);
}

void TFrmInforme::BArquivoClick() {
    if (!PrepararImpressao())
        return;
    const QString arquivo =
        msg::SalvarArquivo(this, QStringLiteral("Gerar Arquivo"),
                           QDir(PastaExecutavel()).filePath(QStringLiteral("Informe.rtf")),
                           QStringLiteral("Documentos RTF (*.rtf);;Todos os arquivos (*)"));
    if (arquivo.isEmpty())
        return;
    report::writeRtf(RPArquivo, arquivo);
}

void TFrmInforme::SpeedButton1Click() {
    QPointer<TFrmPesquisaLancamento> tela = new TFrmPesquisaLancamento(this);
    try {
        ExibirModal(tela);
    } catch (...) {
        delete tela.data();
        throw;
    }
    delete tela.data();
}

void TFrmInforme::SpeedButton4Click() {
    if (DataSetInforme->Active() && !DataSetInforme->IsEmpty())
        DataSetInforme->Delete();
}

// ---------------------------------------------------------------------------

void AdicionarAoInforme(TFrmPesquisaLancamento& busca) {
    TFrmInforme* tela = FrmInforme;
    if (tela) {
        AbrirFormulario<TFrmInforme>(false, 0);  // brought to the front
    } else {
        tela = AbrirFormulario<TFrmInforme>(false, 0);
        if (!tela)
            tela = FrmInforme;
        if (!tela)
            return;
        tela->Limpar();
    }
    QPointer<TFrmInforme> guarda(tela);
    percorrerMarcados(busca.Q_Busca, [&](dataset::DataSet& linha) {
        if (guarda)
            guarda->AdicionarLinha(linha);
    });
    busca.close();
    if (guarda)
        guarda->AtualizarFuncionario();
}

void AdicionarAoPedido(TFrmPesquisaLancamento& busca) {
    if (const auto& abrir = TFrmPesquisaLancamento::AbrirFormularioPedido())
        abrir();
    if (!DM || !DMBanco)
        return;
    dataset::Query* pedido = DM->Q_Pedido;
    pedido->Close();
    pedido->Open();
    // The current order, unless it has gone meanwhile (deleted here or on
    // another workstation): items are then added to a new order rather
    // than to a code that no longer exists.
    const bool existe =
        DMBanco->PedidoAtual > 0 && pedido->Locate(QStringLiteral("PED_CODIGO"), DMBanco->PedidoAtual);
    if (!existe) {
        // Code, PedidoAtual, number and paid flag come from the order's own
        // rule; the order is written at once.
        pedido->Append();
        pedido->Post();
    }
    pedido->Edit();

    dataset::TableDataset* itens = DM->TB_ItensPedido;
    if (!itens->Active())
        itens->Open();
    percorrerMarcados(busca.Q_Busca, [&](dataset::DataSet& linha) {
        const int lancamento = linha.FieldByName(QStringLiteral("LAN_CODIGO"))->AsInteger();
        itens->Append();
        try {
            itens->FieldByName(QStringLiteral("IPD_CODIGO"))
                ->SetAsInteger(DMBanco->ProximoCodigo(QStringLiteral("GEN_ITENSPEDIDO")));
            itens->FieldByName(QStringLiteral("PED_CODIGO"))->SetAsInteger(DMBanco->PedidoAtual);
            itens->FieldByName(QStringLiteral("LAN_CODIGO"))->SetAsInteger(lancamento);
            itens->Post();
        } catch (...) {
            if (itens->IsEditing())
                itens->Cancel();
            throw;
        }
    });
    DM->Q_ItensPedido->Close();
    DM->Q_ItensPedido->Open();
    busca.close();
}

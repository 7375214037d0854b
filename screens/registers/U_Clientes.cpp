#include "U_Clientes.h"

#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"

#include <QButtonGroup>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char* const kColunas[] = {
    "CLI_CODIGO", "CLI_NOME", "CLI_ENDERECO", "CLI_BAIRRO", "CLI_CIDADE", "CLI_ESTADO", "CLI_CGCCPF",
    "CLI_INSCRICAO", "CLI_FONE", "CLI_FAX", "CLI_RAZAOSOCIAL", "CLI_EMAIL", "CLI_WEB", "CLI_PESSOA",
    "CLI_CELULAR", "CLI_CLIENTEDESDE", "CLI_VALOR", "CLI_CONTATO", "CLI_FONECONTATO", "CLI_FUNCAOCONTATO",
    "CLI_CEP", "CLI_OBS", "CLI_VIGENCIACONTRATO", "CLI_ENDERECOENTREGA", "CLI_BAIRROENTREGA",
    "CLI_CIDADEENTREGA", "CLI_ESTADOENTREGA", "CLI_CEPENTREGA", "CLI_COMPLEMENTOENTREGA"};

const QStringList kEstados = {"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MG", "MS", "MT", "PA",
                              "PB", "PE", "PI", "PR", "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"};

const QString kMascaraCnpj = QStringLiteral("99.999.999/9999-99;1;_");
const QString kMascaraCpf = QStringLiteral("999.999.999-99;1;_");

// One condition prefix column per option of "Localizar por: ".
const char* const kColunasBusca[] = {"Cli_Nome", "Cli_RazaoSocial", "Cli_Cidade", "Cli_Fone", "Cli_CGCCPF"};

QLabel* Rotulo(const QString& texto, QWidget* pai) {
    auto* l = new QLabel(texto, pai);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

} // namespace

TFrmClientes::TFrmClientes(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmClientes"));
    setWindowTitle(QStringLiteral("Clientes"));
    SetTag(1001);

    // Dataset.
    Up_Clientes = new dataset::UpdateSql(this);
    Up_Clientes->setObjectName(QStringLiteral("Up_Clientes"));
    QStringList colunas;
    for (const char* c : kColunas)
        colunas << QLatin1String(c);
    Up_Clientes->SetTableStatements(QStringLiteral("TB_CLIENTES"), QStringLiteral("CLI_CODIGO"), colunas);

    Q_Clientes = new dataset::Query(this);
    Q_Clientes->setObjectName(QStringLiteral("Q_Clientes"));
    if (DMBanco)
        Q_Clientes->SetTransaction(&DMBanco->Trans_Clipping);
    Q_Clientes->SQL.Add(QStringLiteral("select * from TB_Clientes"));
    Q_Clientes->SQL.Add(QStringLiteral("order by cli_nome"));
    Q_Clientes->CachedUpdates = true;
    Q_Clientes->ForcedRefresh = true;
    Q_Clientes->UpdateObject = Up_Clientes;
    Q_Clientes->SetGeneratorField(QStringLiteral("CLI_CODIGO"), QStringLiteral("GEN_CLIENTES"), 1);
    {
        using dataset::FieldType;
        Q_Clientes->DefineField(QStringLiteral("CLI_CODIGO"), FieldType::Integer)->Required = true;
        Q_Clientes->DefineField(QStringLiteral("CLI_NOME"), FieldType::String, 45)->DisplayLabel = QStringLiteral("Nome");
        Q_Clientes->DefineField(QStringLiteral("CLI_CEP"), FieldType::String, 10)->EditMask =
            QStringLiteral("99.999-999;1;_");
        for (const char* nome : {"CLI_VIGENCIACONTRATO", "CLI_CLIENTEDESDE"}) {
            auto* f = Q_Clientes->DefineField(QLatin1String(nome), FieldType::DateTime);
            f->EditMask = QStringLiteral("99/99/9999;1;_");
            f->DisplayFormat = QStringLiteral("dd/mm/yyyy");
        }
        Q_Clientes->DefineField(QStringLiteral("CLI_VALOR"), FieldType::Float)->Currency = true;
    }
    Q_Clientes->OnNewRecord = [this](dataset::DataSet& ds) { Q_ClientesNewRecord(ds); };
    Q_Clientes->BeforePost = [this](dataset::DataSet& ds) { Q_ClientesBeforePost(ds); };
    Q_Clientes->AfterPost = [this](dataset::DataSet& ds) { Q_ClientesAfterPost(ds); };
    Q_Clientes->AfterDelete = [this](dataset::DataSet& ds) { Q_ClientesAfterDelete(ds); };
    DataSource1->SetDataSet(Q_Clientes);

    // Record panel: two tabs.
    auto* lf = new QVBoxLayout(PFundo);
    PageControl1 = new QTabWidget(PFundo);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    lf->addWidget(PageControl1);
    auto* tab1 = new QWidget;
    tab1->setObjectName(QStringLiteral("TabSheet1"));
    auto* tab2 = new QWidget;
    tab2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(tab1, QStringLiteral("Dados Principais"));
    PageControl1->addTab(tab2, QStringLiteral("Dados Adicionais"));

    auto edit = [this](QWidget* pai, const char* nome, const char* campo, int largura,
                       dataset::CharCase caixa = dataset::CharCase::Normal) {
        auto* e = new dataset::DBEdit(pai);
        e->setObjectName(QLatin1String(nome));
        e->SetDataSource(DataSource1);
        e->SetDataField(QLatin1String(campo));
        e->SetCharCase(caixa);
        if (largura > 0)
            e->setFixedWidth(largura);
        return e;
    };
    auto estados = [this](QWidget* pai, const char* nome, const char* campo) {
        auto* c = new dataset::DBComboBox(pai);
        c->setObjectName(QLatin1String(nome));
        c->SetStyle(dataset::DBComboBox::DropDownList);
        c->SetItems(kEstados);
        c->SetDataSource(DataSource1);
        c->SetDataField(QLatin1String(campo));
        c->setFixedWidth(60);
        return c;
    };
    using dataset::CharCase;

    auto* g1 = new QGridLayout(tab1);
    DBCliente = edit(tab1, "DBCliente", "CLI_NOME", 0, CharCase::Upper);
    DBRazao = edit(tab1, "DBRazao", "CLI_RAZAOSOCIAL", 0, CharCase::Upper);
    DBEndereco = edit(tab1, "DBEndereco", "CLI_ENDERECO", 0);
    DBBairro = edit(tab1, "DBBairro", "CLI_BAIRRO", 170);
    DBCep = edit(tab1, "DBCep", "CLI_CEP", 90);
    DBCidade = edit(tab1, "DBCidade", "CLI_CIDADE", 200, CharCase::Upper);
    DBComboBox1 = estados(tab1, "DBComboBox1", "CLI_ESTADO");
    RGPessoa = new dataset::DBRadioGroup(tab1);
    RGPessoa->setObjectName(QStringLiteral("RGPessoa"));
    RGPessoa->setTitle(QStringLiteral("Pessoa"));
    RGPessoa->SetItems({QStringLiteral("Física"), QStringLiteral("Jurídica")}, {QStringLiteral("F"), QStringLiteral("J")});
    RGPessoa->SetColumns(2);
    RGPessoa->SetDataSource(DataSource1);
    RGPessoa->SetDataField(QStringLiteral("CLI_PESSOA"));
    RGPessoa->OnExit = [this](dataset::DBRadioGroup&) { RGPessoaExit(); };
    DBCPF = edit(tab1, "DBCPF", "CLI_CGCCPF", 150);
    DBInscricao = edit(tab1, "DBInscricao", "CLI_INSCRICAO", 130);
    DBFone = edit(tab1, "DBFone", "CLI_FONE", 150);
    DBFax = edit(tab1, "DBFax", "CLI_FAX", 150);
    DBCelular = edit(tab1, "DBCelular", "CLI_CELULAR", 150);
    DBEmail = edit(tab1, "DBEmail", "CLI_EMAIL", 0, CharCase::Lower);
    int r = 0;
    g1->addWidget(Rotulo(QStringLiteral("Nome:"), tab1), r, 0);
    g1->addWidget(DBCliente, r++, 1, 1, 3);
    g1->addWidget(Rotulo(QStringLiteral("Endereço:"), tab1), r, 0);
    g1->addWidget(DBEndereco, r++, 1, 1, 3);
    g1->addWidget(Rotulo(QStringLiteral("Bairro:"), tab1), r, 0);
    g1->addWidget(DBBairro, r, 1, Qt::AlignLeft);
    g1->addWidget(Rotulo(QStringLiteral("CEP:"), tab1), r, 2);
    g1->addWidget(DBCep, r++, 3, Qt::AlignLeft);
    g1->addWidget(Rotulo(QStringLiteral("Cidade:"), tab1), r, 0);
    g1->addWidget(DBCidade, r, 1, Qt::AlignLeft);
    g1->addWidget(Rotulo(QStringLiteral("UF:"), tab1), r, 2);
    g1->addWidget(DBComboBox1, r++, 3, Qt::AlignLeft);
    g1->addWidget(RGPessoa, r++, 1, 1, 1, Qt::AlignLeft);
    g1->addWidget(Rotulo(QStringLiteral("CPF/CNPJ:"), tab1), r, 0);
    g1->addWidget(DBCPF, r, 1, Qt::AlignLeft);
    g1->addWidget(Rotulo(QStringLiteral("RG/IE:"), tab1), r, 2);
    g1->addWidget(DBInscricao, r++, 3, Qt::AlignLeft);
    g1->addWidget(Rotulo(QStringLiteral("Razão Social:"), tab1), r, 0);
    g1->addWidget(DBRazao, r++, 1, 1, 3);
    g1->addWidget(Rotulo(QStringLiteral("Fone:"), tab1), r, 0);
    g1->addWidget(DBFone, r, 1, Qt::AlignLeft);
    g1->addWidget(Rotulo(QStringLiteral("Fax:"), tab1), r, 2);
    g1->addWidget(DBFax, r++, 3, Qt::AlignLeft);
    g1->addWidget(Rotulo(QStringLiteral("Celular:"), tab1), r, 0);
    g1->addWidget(DBCelular, r++, 1, Qt::AlignLeft);
    g1->addWidget(Rotulo(QStringLiteral("E-Mail:"), tab1), r, 0);
    g1->addWidget(DBEmail, r++, 1, 1, 3);
    g1->setColumnStretch(1, 1);
    g1->setRowStretch(r, 1);

    auto* g2 = new QGridLayout(tab2);
    DBVigencia = edit(tab2, "DBVigencia", "CLI_VIGENCIACONTRATO", 90);
    DBClienteDesde = edit(tab2, "DBClienteDesde", "CLI_CLIENTEDESDE", 90);
    DBValor = edit(tab2, "DBValor", "CLI_VALOR", 110);
    DBWeb = edit(tab2, "DBWeb", "CLI_WEB", 0, CharCase::Lower);
    r = 0;
    g2->addWidget(Rotulo(QStringLiteral("Vigência:"), tab2), r, 0);
    g2->addWidget(DBVigencia, r, 1, Qt::AlignLeft);
    g2->addWidget(Rotulo(QStringLiteral("Cliente desde: "), tab2), r, 2);
    g2->addWidget(DBClienteDesde, r, 3, Qt::AlignLeft);
    g2->addWidget(Rotulo(QStringLiteral("Valor:"), tab2), r, 4);
    g2->addWidget(DBValor, r++, 5, Qt::AlignLeft);
    g2->addWidget(Rotulo(QStringLiteral("Site:"), tab2), r, 0);
    g2->addWidget(DBWeb, r++, 1, 1, 5);

    auto* gbContato = new QGroupBox(QStringLiteral("Contato: "), tab2);
    gbContato->setObjectName(QStringLiteral("GBContato"));
    auto* gc = new QGridLayout(gbContato);
    DBContato = edit(gbContato, "DBContato", "CLI_CONTATO", 0);
    DBFuncaoContato = edit(gbContato, "DBFuncaoContato", "CLI_FUNCAOCONTATO", 150);
    DBFoneContato = edit(gbContato, "DBFoneContato", "CLI_FONECONTATO", 150);
    gc->addWidget(Rotulo(QStringLiteral("Nome:"), gbContato), 0, 0);
    gc->addWidget(DBContato, 0, 1, 1, 3);
    gc->addWidget(Rotulo(QStringLiteral("Função: "), gbContato), 1, 0);
    gc->addWidget(DBFuncaoContato, 1, 1, Qt::AlignLeft);
    gc->addWidget(Rotulo(QStringLiteral("Fone:"), gbContato), 1, 2);
    gc->addWidget(DBFoneContato, 1, 3, Qt::AlignLeft);
    gc->setColumnStretch(1, 1);
    g2->addWidget(gbContato, r++, 0, 1, 6);

    auto* gbEntrega = new QGroupBox(QStringLiteral("Dados para Entrega: "), tab2);
    gbEntrega->setObjectName(QStringLiteral("GBEntrega"));
    auto* ge = new QGridLayout(gbEntrega);
    DBEnderecoEntrega = edit(gbEntrega, "DBEnderecoEntrega", "CLI_ENDERECOENTREGA", 0);
    DBBairroEntrega = edit(gbEntrega, "DBBairroEntrega", "CLI_BAIRROENTREGA", 170);
    DBCidadeEntrega = edit(gbEntrega, "DBCidadeEntrega", "CLI_CIDADEENTREGA", 200, CharCase::Upper);
    DBComboBox2 = estados(gbEntrega, "DBComboBox2", "CLI_ESTADOENTREGA");
    DBCepEntrega = edit(gbEntrega, "DBCepEntrega", "CLI_CEPENTREGA", 90);
    DBComplementoEntrega = edit(gbEntrega, "DBComplementoEntrega", "CLI_COMPLEMENTOENTREGA", 0);
    ge->addWidget(Rotulo(QStringLiteral("Endereço:"), gbEntrega), 0, 0);
    ge->addWidget(DBEnderecoEntrega, 0, 1, 1, 3);
    ge->addWidget(Rotulo(QStringLiteral("Bairro:"), gbEntrega), 1, 0);
    ge->addWidget(DBBairroEntrega, 1, 1, Qt::AlignLeft);
    ge->addWidget(Rotulo(QStringLiteral("Cidade:"), gbEntrega), 1, 2);
    ge->addWidget(DBCidadeEntrega, 1, 3, Qt::AlignLeft);
    ge->addWidget(Rotulo(QStringLiteral("UF:"), gbEntrega), 2, 0);
    ge->addWidget(DBComboBox2, 2, 1, Qt::AlignLeft);
    ge->addWidget(Rotulo(QStringLiteral("CEP:"), gbEntrega), 2, 2);
    ge->addWidget(DBCepEntrega, 2, 3, Qt::AlignLeft);
    ge->addWidget(Rotulo(QStringLiteral("Complemento:"), gbEntrega), 3, 0);
    ge->addWidget(DBComplementoEntrega, 3, 1, 1, 3);
    ge->setColumnStretch(1, 1);
    g2->addWidget(gbEntrega, r++, 0, 1, 6);

    auto* gbObs = new QGroupBox(QStringLiteral("Observações: "), tab2);
    gbObs->setObjectName(QStringLiteral("GBObs"));
    auto* lo = new QVBoxLayout(gbObs);
    DBMemo1 = new dataset::DBMemo(gbObs);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->SetDataSource(DataSource1);
    DBMemo1->SetDataField(QStringLiteral("CLI_OBS"));
    DBMemo1->setFixedHeight(60);
    DBMemo1->installEventFilter(this);
    lo->addWidget(DBMemo1);
    g2->addWidget(gbObs, r++, 0, 1, 6);
    g2->setColumnStretch(5, 1);
    g2->setRowStretch(r, 1);

    // Search panel.
    auto* lb = new QVBoxLayout(PBusca);
    GBRelacao = new QGroupBox(QStringLiteral("Relação: "), PBusca);
    GBRelacao->setObjectName(QStringLiteral("GBRelacao"));
    lb->addWidget(GBRelacao);
    auto* lr = new QVBoxLayout(GBRelacao);
    auto* linha = new QHBoxLayout;
    linha->addWidget(new QLabel(QStringLiteral("Pesquisa:"), GBRelacao));
    EdPesquisa = new TEditMaiusculas(GBRelacao);
    EdPesquisa->setObjectName(QStringLiteral("EdPesquisa"));
    EdPesquisa->setFixedWidth(560);
    EdPesquisa->installEventFilter(this);
    linha->addWidget(EdPesquisa);
    SBConfirmar = new QPushButton(QStringLiteral("&Confirmar"), GBRelacao);
    SBConfirmar->setObjectName(QStringLiteral("SBConfirmar"));
    SBConfirmar->setFixedWidth(82);
    SBConfirmar->setDefault(true);
    SBConfirmar->setVisible(false);
    linha->addWidget(SBConfirmar);
    linha->addStretch();
    lr->addLayout(linha);

    RGLocalizar = new QGroupBox(QStringLiteral("Localizar por: "), GBRelacao);
    RGLocalizar->setObjectName(QStringLiteral("RGLocalizar"));
    RGLocalizarItens = new QButtonGroup(RGLocalizar);
    auto* ll = new QHBoxLayout(RGLocalizar);
    const QStringList opcoes = {QStringLiteral("Nome Fantasia"), QStringLiteral("Razão Social"), QStringLiteral("Cidade"),
                                QStringLiteral("Telefone"), QStringLiteral("CNPJ")};
    for (int i = 0; i < opcoes.size(); ++i) {
        auto* b = new QRadioButton(opcoes[i], RGLocalizar);
        b->setObjectName(QStringLiteral("RGLocalizar%1").arg(i));
        RGLocalizarItens->addButton(b, i);
        ll->addWidget(b);
    }
    ll->addStretch();
    RGLocalizarItens->button(0)->setChecked(true);
    lr->addWidget(RGLocalizar);

    DBGrid1 = new dataset::DBGrid(GBRelacao);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    {
        dataset::GridColumn nome;
        nome.FieldName = QStringLiteral("CLI_NOME");
        nome.Title = QStringLiteral("Nome");
        nome.TitleBold = true;
        nome.Width = 340;
        dataset::GridColumn fone;
        fone.FieldName = QStringLiteral("CLI_FONE");
        fone.Title = QStringLiteral("Fone");
        fone.Alignment = Qt::AlignCenter;
        fone.TitleAlignment = Qt::AlignCenter;
        fone.TitleBold = true;
        fone.Width = 130;
        dataset::GridColumn celular = fone;
        celular.FieldName = QStringLiteral("CLI_CELULAR");
        celular.Title = QStringLiteral("Celular");
        DBGrid1->SetColumns({nome, fone, celular});
    }
    DBGrid1->SetRowSelect(true);
    DBGrid1->setMinimumHeight(150);
    DBGrid1->OnDblClick = [this](dataset::DBGrid&) {
        if (!SBConfirmar->isHidden())
            SBConfirmar->click();
    };
    lr->addWidget(DBGrid1);

    connect(EdPesquisa, &QLineEdit::textChanged, this, [this] { EdPesquisaChange(); });
    connect(RGLocalizarItens, &QButtonGroup::idClicked, this, [this](int) { EdPesquisaChange(); });
    connect(SBConfirmar, &QPushButton::clicked, this, [this] { SBConfirmarClick(); });

    setTabOrder(DBCliente, DBEndereco);
    setTabOrder(DBEndereco, DBBairro);
    setTabOrder(DBBairro, DBCep);
    setTabOrder(DBCep, DBCidade);
    setTabOrder(DBCidade, DBComboBox1);
    setTabOrder(DBComboBox1, RGPessoa);
    setTabOrder(RGPessoa, DBCPF);
    setTabOrder(DBCPF, DBInscricao);
    setTabOrder(DBInscricao, DBRazao);
    setTabOrder(DBRazao, DBFone);
    setTabOrder(DBFone, DBFax);
    setTabOrder(DBFax, DBCelular);
    setTabOrder(DBCelular, DBEmail);
    setTabOrder(DBVigencia, DBClienteDesde);
    setTabOrder(DBClienteDesde, DBValor);
    setTabOrder(DBValor, DBWeb);
    setTabOrder(DBWeb, DBContato);
    setTabOrder(DBContato, DBFuncaoContato);
    setTabOrder(DBFuncaoContato, DBFoneContato);
    setTabOrder(DBFoneContato, DBEnderecoEntrega);
    setTabOrder(DBEnderecoEntrega, DBBairroEntrega);
    setTabOrder(DBBairroEntrega, DBCidadeEntrega);
    setTabOrder(DBCidadeEntrega, DBComboBox2);
    setTabOrder(DBComboBox2, DBCepEntrega);
    setTabOrder(DBCepEntrega, DBComplementoEntrega);
    setTabOrder(DBComplementoEntrega, DBMemo1);
}

TFrmClientes::~TFrmClientes() = default;

int TFrmClientes::Localizar() const { return RGLocalizarItens->checkedId(); }

void TFrmClientes::SetLocalizar(int opcao) {
    if (QAbstractButton* b = RGLocalizarItens->button(opcao))
        b->click();
}

void TFrmClientes::FormShow() {
    TFrmBaseFilha::FormShow();
    if (ChamadaExterna == 1 && SBConfirmar->isHidden()) {
        SBConfirmar->setVisible(true);
        EdPesquisa->setFixedWidth(EdPesquisa->width() - 88);
    }
    EdPesquisa->setFocus();
}

void TFrmClientes::EdPesquisaChange() {
    int opcao = Localizar();
    if (opcao < 0 || opcao > 4)
        opcao = 0;
    Q_Clientes->Close();
    Q_Clientes->SQL.Clear();
    Q_Clientes->SQL.Add(QStringLiteral("Select * from tb_Clientes where "));
    Q_Clientes->SQL.Add(CondicaoLike(QLatin1String(kColunasBusca[opcao]), EdPesquisa->text()));
    Q_Clientes->SQL.Add(QStringLiteral("Order by Cli_nome"));
    Q_Clientes->Open();
}

void TFrmClientes::RGPessoaExit() {
    if (RGPessoa->ItemIndex() == 0) {
        DBCPF->SetEditMask(kMascaraCpf);
        DBRazao->setEnabled(false);
        DBCPF->setFocus();
    } else {
        DBCPF->SetEditMask(kMascaraCnpj);
        DBRazao->setEnabled(true);
    }
}

void TFrmClientes::SBConfirmarClick() {
    if (DM)
        DM->ClienteEscolhido = Q_Clientes->IsEmpty() ? 0 : Q_Clientes->FieldByName(QStringLiteral("CLI_CODIGO"))->AsInteger();
    done(QDialog::Accepted);
}

bool TFrmClientes::FormKeyPress(QKeyEvent* e) {
    // In the picker, Enter in the search box confirms while "&Confirmar" is
    // the default button.
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && EdPesquisa->hasFocus() &&
        !SBConfirmar->isHidden() && SBConfirmar->isDefault()) {
        SBConfirmar->click();
        return true;
    }
    return TFrmBaseFilha::FormKeyPress(e);
}

bool TFrmClientes::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::FocusOut) {
        const Qt::FocusReason motivo = static_cast<QFocusEvent*>(e)->reason();
        const bool saiu = motivo != Qt::ActiveWindowFocusReason && motivo != Qt::PopupFocusReason;
        if (o == EdPesquisa && !SBConfirmar->isHidden()) {
            SBConfirmar->setDefault(false);
            SBConfirmar->setAutoDefault(false);
        } else if (o == DBMemo1 && saiu && Q_Clientes->IsEditing()) {
            // Let the memo write its text first, then ask.
            QMetaObject::invokeMethod(this, [this] { ConfirmarGravacao(); }, Qt::QueuedConnection);
        }
    }
    return TFrmBaseFilha::eventFilter(o, e);
}

void TFrmClientes::SBNovoAfterAction(ResultadoAcao& r) {
    if (r.Falhou)
        return;
    PageControl1->setCurrentIndex(0);
    DBCliente->setFocus();
}

void TFrmClientes::SBSalvarBeforeAction() {
    // The alter right is checked as in every register; a new client is not
    // checked again.
    TFrmBaseFilha::SBSalvarBeforeAction();
    if (Q_Clientes->GetState() != dataset::State::Insert)
        return;
    Q_Clientes->UpdateRecord();
    const QLocale local;
    const QString nome = local.toUpper(Q_Clientes->FieldByName(QStringLiteral("CLI_NOME"))->AsString());
    const QString cidade = local.toUpper(Q_Clientes->FieldByName(QStringLiteral("CLI_CIDADE"))->AsString());
    const QString uf = local.toUpper(DBComboBox1->currentText());
    if (DM && DM->ClienteCadastrado(nome, cidade, uf)) {
        msg::Informar(QStringLiteral("Cliente já cadastrado!"));
        clip::Abort();
    }
}

void TFrmClientes::SBExcluirBeforeAction() {
    TFrmBaseFilha::SBExcluirBeforeAction();
    const msg::Botao r = msg::Perguntar(
        QStringLiteral("Todos os pedidos deste clientes serão excluidos!\r\rDeseja realmente excluir?"),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QStringLiteral("Atenção"), msg::Icone::Aviso);
    if (r != QMessageBox::Yes)
        clip::Abort();
}

void TFrmClientes::Q_ClientesNewRecord(dataset::DataSet& ds) {
    ds.FieldByName(QStringLiteral("CLI_PESSOA"))->SetAsString(QStringLiteral("J"));
}

void TFrmClientes::Q_ClientesBeforePost(dataset::DataSet& ds) {
    if (ds.FieldByName(QStringLiteral("CLI_NOME"))->AsString().trimmed().isEmpty()) {
        msg::Informar(QStringLiteral("O Nome do Cliente não foi informado!"));
        clip::Abort();
    }
    acaoPost_ = ds.GetState() == dataset::State::Insert ? QStringLiteral("I") : QStringLiteral("A");
}

void TFrmClientes::Q_ClientesAfterPost(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    DMBanco->Trans_Clipping.commitRetaining();
    ExecutarAgenda(acaoPost_);
}

void TFrmClientes::Q_ClientesAfterDelete(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    DMBanco->Trans_Clipping.commitRetaining();
    ExecutarAgenda(QStringLiteral("A"));
}

void TFrmClientes::ExecutarAgenda(const QString& acao) {
    if (!DM)
        return;
    dataset::Query* proc = DM->Proc_Cliente_Agenda;
    const bool vazio = Q_Clientes->IsEmpty();
    auto valor = [&](const char* campo) {
        return vazio ? QString() : Q_Clientes->FieldByName(QLatin1String(campo))->AsString();
    };
    const std::pair<const char*, const char*> parametros[] = {
        {"NOME", "CLI_NOME"},     {"FAX", "CLI_FAX"},     {"CELULAR", "CLI_CELULAR"}, {"CIDADE", "CLI_CIDADE"},
        {"UF", "CLI_ESTADO"},     {"CEP", "CLI_CEP"},     {"EMAIL", "CLI_EMAIL"},     {"WEB", "CLI_WEB"},
        {"OBS", "CLI_OBS"},       {"BAIRRO", "CLI_BAIRRO"}, {"FONE", "CLI_FONE"},     {"ENDERECO", "CLI_ENDERECO"}};
    for (const auto& [param, campo] : parametros)
        proc->ParamByName(QLatin1String(param))->SetAsString(valor(campo));
    proc->ParamByName(QStringLiteral("ACAO"))->SetAsString(acao);
    proc->ExecSQL();
}

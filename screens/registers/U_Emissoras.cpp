#include "screens/registers/U_Emissoras.h"

#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/widgets/FolderTree.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QStringList kColunas = {
    QStringLiteral("EMI_CODIGO"),      QStringLiteral("EMI_NOME"),        QStringLiteral("EMI_ENDERECO"),
    QStringLiteral("EMI_BAIRRO"),      QStringLiteral("EMI_CIDADE"),      QStringLiteral("EMI_UF"),
    QStringLiteral("EMI_CNPJ"),        QStringLiteral("EMI_INSCRICAO"),   QStringLiteral("EMI_FONE"),
    QStringLiteral("EMI_FAX"),         QStringLiteral("EMI_RAZAOSOCIAL"), QStringLiteral("EMI_EMAIL"),
    QStringLiteral("EMI_WEB"),         QStringLiteral("EMI_CONTATO"),     QStringLiteral("EMI_FONECONTATO"),
    QStringLiteral("EMI_FUNCAOCONTATO"), QStringLiteral("EMI_CEP"),       QStringLiteral("EMI_OBS"),
    QStringLiteral("EMI_PATH")};

const QStringList kUFs = {"AC", "AL", "AM", "AP", "BA", "CE", "DF", "ES", "GO", "MA", "MG", "MS", "MT", "PA",
                          "PB", "PE", "PI", "PR", "RJ", "RN", "RO", "RR", "RS", "SC", "SE", "SP", "TO"};

QString lista(const QStringList& nomes, const QString& prefixo) {
    QStringList r;
    for (const QString& n : nomes)
        r << prefixo + n;
    return r.join(QStringLiteral(", "));
}

} // namespace

QStringList TFrmEmissoras::CondicoesPesquisa() {
    return {QStringLiteral("Upper(Emi_Nome) LIKE '%"), QStringLiteral("Upper(Emi_RazaoSocial) LIKE '%"),
            QStringLiteral("Upper(Emi_Cidade) LIKE '%"), QStringLiteral("Upper(Emi_Fone) LIKE '%"),
            QStringLiteral("Upper(Emi_CNPJ) LIKE '%")};
}

TFrmEmissoras::TFrmEmissoras(QWidget* parent) : TFrmBaseFilha(parent) {
    setObjectName(QStringLiteral("FrmEmissoras"));
    setWindowTitle(QStringLiteral("Cadastro de Emissoras"));
    SetTag(1004);

    // Data.
    Up_Emissoras = new dataset::UpdateSql(this);
    Up_Emissoras->setObjectName(QStringLiteral("Up_Emissoras"));
    Up_Emissoras->InsertSQL.Add(QStringLiteral("insert into TB_EMISSORAS"));
    Up_Emissoras->InsertSQL.Add(QStringLiteral("(") + kColunas.join(QStringLiteral(", ")) + QStringLiteral(")"));
    Up_Emissoras->InsertSQL.Add(QStringLiteral("values"));
    Up_Emissoras->InsertSQL.Add(QStringLiteral("(") + lista(kColunas, QStringLiteral(":")) + QStringLiteral(")"));
    QStringList sets;
    for (const QString& c : kColunas)
        sets << c + QStringLiteral(" = :") + c;
    Up_Emissoras->ModifySQL.Add(QStringLiteral("update TB_EMISSORAS"));
    Up_Emissoras->ModifySQL.Add(QStringLiteral("set"));
    Up_Emissoras->ModifySQL.Add(sets.join(QStringLiteral(", ")));
    Up_Emissoras->ModifySQL.Add(QStringLiteral("where"));
    Up_Emissoras->ModifySQL.Add(QStringLiteral("EMI_CODIGO = :OLD_EMI_CODIGO"));
    Up_Emissoras->DeleteSQL.Add(QStringLiteral("delete from TB_EMISSORAS"));
    Up_Emissoras->DeleteSQL.Add(QStringLiteral("where"));
    Up_Emissoras->DeleteSQL.Add(QStringLiteral("EMI_CODIGO = :OLD_EMI_CODIGO"));
    Up_Emissoras->RefreshSQL.Add(QStringLiteral("Select ") + kColunas.join(QStringLiteral(", ")));
    Up_Emissoras->RefreshSQL.Add(QStringLiteral("from TB_EMISSORAS"));
    Up_Emissoras->RefreshSQL.Add(QStringLiteral("where EMI_CODIGO = :EMI_CODIGO"));

    Q_Emissoras = new dataset::Query(this);
    Q_Emissoras->setObjectName(QStringLiteral("Q_Emissoras"));
    Q_Emissoras->SQL.Add(QStringLiteral("SELECT * FROM TB_EMISSORAS"));
    Q_Emissoras->CachedUpdates = true;
    Q_Emissoras->ForcedRefresh = true;
    Q_Emissoras->UpdateObject = Up_Emissoras;
    Q_Emissoras->SetGeneratorField(QStringLiteral("EMI_CODIGO"), QStringLiteral("GEN_EMISSORAS"));
    Q_Emissoras->DefineField(QStringLiteral("EMI_NOME"), dataset::FieldType::String, 45)->Required = true;
    Q_Emissoras->AfterPost = [this](dataset::DataSet& ds) { Q_EmissorasAfterDelete(ds); };
    Q_Emissoras->AfterDelete = [this](dataset::DataSet& ds) { Q_EmissorasAfterDelete(ds); };
    DataSource1->SetDataSet(Q_Emissoras);

    // Record panel: two tabs.
    auto* fundo = new QVBoxLayout(PFundo);
    fundo->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(PFundo);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    fundo->addWidget(PageControl1);

    auto editar = [this](const char* nome, const QString& campo, int largura) {
        auto* e = new dataset::DBEdit(this);
        if (nome)
            e->setObjectName(QLatin1String(nome));
        else
            e->setObjectName(QStringLiteral("DB") + campo);
        e->SetDataSource(DataSource1);
        e->SetDataField(campo);
        LarguraEmCaracteres(e, largura);
        return e;
    };

    auto* pagina1 = new QWidget;
    pagina1->setObjectName(QStringLiteral("TabSheet1"));
    auto* l1 = new QVBoxLayout(pagina1);
    auto* grupo1 = new QGroupBox(QStringLiteral(" Dados Principais: "), pagina1);
    grupo1->setObjectName(QStringLiteral("GroupBox1"));
    l1->addWidget(grupo1);
    auto* g1 = new QGridLayout(grupo1);
    DBEdit1 = editar("DBEdit1", QStringLiteral("EMI_NOME"), 45);
    AdicionarCampo(g1, 0, 0, QStringLiteral("Nome:"), DBEdit1, 3);
    AdicionarCampo(g1, 1, 0, QStringLiteral("Endereço:"), editar(nullptr, QStringLiteral("EMI_ENDERECO"), 45), 3);
    AdicionarCampo(g1, 2, 0, QStringLiteral("Bairro:"), editar(nullptr, QStringLiteral("EMI_BAIRRO"), 20));
    AdicionarCampo(g1, 3, 0, QStringLiteral("Cidade:"), editar(nullptr, QStringLiteral("EMI_CIDADE"), 25));
    DBComboBox1 = new dataset::DBComboBox(this);
    DBComboBox1->setObjectName(QStringLiteral("DBComboBox1"));
    DBComboBox1->SetStyle(dataset::DBComboBox::DropDownList);
    DBComboBox1->SetItems(kUFs);
    DBComboBox1->SetDataSource(DataSource1);
    DBComboBox1->SetDataField(QStringLiteral("EMI_UF"));
    LarguraEmCaracteres(DBComboBox1, 5);
    AdicionarCampo(g1, 3, 2, QStringLiteral("UF:"), DBComboBox1);
    AdicionarCampo(g1, 4, 0, QStringLiteral("Fone:"), editar(nullptr, QStringLiteral("EMI_FONE"), 20));
    AdicionarCampo(g1, 4, 2, QStringLiteral("Fax:"), editar(nullptr, QStringLiteral("EMI_FAX"), 20));
    AdicionarCampo(g1, 5, 0, QStringLiteral("CEP:"), editar(nullptr, QStringLiteral("EMI_CEP"), 10));
    AdicionarCampo(g1, 6, 0, QStringLiteral("E-Mail:"), editar(nullptr, QStringLiteral("EMI_EMAIL"), 45), 3);
    g1->setColumnStretch(4, 1);
    l1->addStretch(1);
    PageControl1->addTab(pagina1, QStringLiteral("Dados Principais"));

    auto* pagina2 = new QWidget;
    pagina2->setObjectName(QStringLiteral("TabSheet2"));
    auto* l2 = new QVBoxLayout(pagina2);
    auto* grupo2 = new QGroupBox(QStringLiteral(" Dados Adicionais: "), pagina2);
    grupo2->setObjectName(QStringLiteral("GroupBox2"));
    l2->addWidget(grupo2);
    auto* g2 = new QGridLayout(grupo2);
    AdicionarCampo(g2, 0, 0, QStringLiteral("Razão Social: "), editar(nullptr, QStringLiteral("EMI_RAZAOSOCIAL"), 45),
                   3);
    AdicionarCampo(g2, 1, 0, QStringLiteral("CNPJ:"), editar(nullptr, QStringLiteral("EMI_CNPJ"), 18));
    AdicionarCampo(g2, 1, 2, QStringLiteral("Inscrição Estadual:"),
                   editar(nullptr, QStringLiteral("EMI_INSCRICAO"), 15));
    AdicionarCampo(g2, 2, 0, QStringLiteral("Home-Page:"), editar(nullptr, QStringLiteral("EMI_WEB"), 45), 3);
    AdicionarCampo(g2, 3, 0, QStringLiteral("Contato:"), editar(nullptr, QStringLiteral("EMI_CONTATO"), 45), 3);
    AdicionarCampo(g2, 4, 0, QStringLiteral("Fone:"), editar(nullptr, QStringLiteral("EMI_FONECONTATO"), 20));
    AdicionarCampo(g2, 4, 2, QStringLiteral("Função:"), editar(nullptr, QStringLiteral("EMI_FUNCAOCONTATO"), 20));
    DBMemo1 = new dataset::DBMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->SetDataSource(DataSource1);
    DBMemo1->SetDataField(QStringLiteral("EMI_OBS"));
    DBMemo1->setFixedHeight(60);
    AdicionarCampo(g2, 5, 0, QStringLiteral("Observação:"), DBMemo1, 3)->setAlignment(Qt::AlignRight | Qt::AlignTop);

    auto* pasta = new QWidget(grupo2);
    auto* lp = new QHBoxLayout(pasta);
    lp->setContentsMargins(0, 0, 0, 0);
    lp->setSpacing(2);
    DBEdit5 = editar("DBEdit5", QStringLiteral("EMI_PATH"), 45);
    BitBtn1 = new QToolButton(pasta);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setText(QStringLiteral("..."));
    BitBtn1->setToolTip(QStringLiteral("Pasta"));
    lp->addWidget(DBEdit5);
    lp->addWidget(BitBtn1);
    lp->addStretch(1);
    AdicionarCampo(g2, 6, 0, QStringLiteral("Pasta: "), pasta, 3)->setBuddy(DBEdit5);
    TreeView = new widgets::FolderTree(grupo2);
    TreeView->setObjectName(QStringLiteral("TreeView"));
    TreeView->setFixedHeight(180);
    TreeView->setVisible(false);
    g2->addWidget(TreeView, 7, 1, 1, 3);
    g2->setColumnStretch(4, 1);
    l2->addStretch(1);
    PageControl1->addTab(pagina2, QStringLiteral("Dados Adicionais"));

    connect(BitBtn1, &QToolButton::clicked, this, [this] { BitBtn1Click(); });
    connect(TreeView, &widgets::FolderTree::folderChosen, this, [this](const QString&) {
        try {
            TreeViewDblClick();
        } catch (const std::exception& e) {
            TratarExcecao(TreeView, e);
        }
    });

    // Search panel.
    auto* busca = new QGridLayout(PBusca);
    busca->setContentsMargins(6, 6, 6, 6);
    EdPesquisa = new TEditMaiusculas(PBusca);
    EdPesquisa->setObjectName(QStringLiteral("EdPesquisa"));
    AdicionarCampo(busca, 0, 0, QStringLiteral("Pesquisa:"), EdPesquisa);
    RGLocalizar = new TRadioGroup(PBusca);
    RGLocalizar->setObjectName(QStringLiteral("RGLocalizar"));
    RGLocalizar->setTitle(QStringLiteral("Localizar por: "));
    RGLocalizar->SetItems({QStringLiteral("Nome"), QStringLiteral("Razão Social"), QStringLiteral("Cidade"),
                           QStringLiteral("Telefone"), QStringLiteral("CNPJ")},
                          5);
    RGLocalizar->SetItemIndex(0);
    busca->addWidget(RGLocalizar, 1, 0, 1, 2);
    DBGrid1 = new dataset::DBGrid(PBusca);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->SetDataSource(DataSource1);
    dataset::GridColumn nome;
    nome.FieldName = QStringLiteral("EMI_NOME");
    nome.Title = QStringLiteral("Nome");
    nome.Width = 380;
    dataset::GridColumn fone;
    fone.FieldName = QStringLiteral("EMI_FONE");
    fone.Title = QStringLiteral("Fone");
    fone.Alignment = Qt::AlignCenter;
    fone.TitleAlignment = Qt::AlignCenter;
    fone.Width = 150;
    DBGrid1->SetColumns({nome, fone});
    DBGrid1->SetRowSelect(true);
    DBGrid1->setFixedHeight(180);
    busca->addWidget(DBGrid1, 2, 0, 1, 2);

    connect(EdPesquisa, &QLineEdit::textChanged, this, [this] {
        try {
            EdPesquisaChange();
        } catch (const std::exception& e) {
            TratarExcecao(EdPesquisa, e);
        }
    });
    RGLocalizar->OnClick = [this](TRadioGroup&) { EdPesquisaChange(); };

    setTabOrder(EdPesquisa, DBGrid1);
    Q_Emissoras->Close();
    Q_Emissoras->Open();
}

TFrmEmissoras::~TFrmEmissoras() = default;

void TFrmEmissoras::EdPesquisaChange() {
    const int opcao = qMax(0, RGLocalizar->ItemIndex());
    Q_Emissoras->Close();
    Q_Emissoras->SQL.Clear();
    Q_Emissoras->SQL.Add(QStringLiteral("Select * from TB_Emissoras where "));
    Q_Emissoras->SQL.Add(CondicoesPesquisa().value(opcao) + TextoSql(EdPesquisa->text()) + QStringLiteral("%'"));
    Q_Emissoras->Open();
}

void TFrmEmissoras::BitBtn1Click() {
    TreeView->setVisible(TreeView->isHidden());
}

void TFrmEmissoras::TreeViewDblClick() {
    if (!Q_Emissoras->IsEditing())
        Q_Emissoras->Edit();
    Q_Emissoras->FieldByName(QStringLiteral("EMI_PATH"))->SetAsString(TreeView->selectedPath());
    TreeView->setVisible(false);
}

void TFrmEmissoras::SBNovoAfterAction(ResultadoAcao& r) {
    if (!r.Falhou) {
        PageControl1->setCurrentIndex(0);
        DBEdit1->setFocus();
    }
}

void TFrmEmissoras::SBExcluirBeforeAction() {
    TFrmBaseFilha::SBExcluirBeforeAction();
    const QString texto = QStringLiteral("Todos os lançamentos relacionados a esta emissora serão excluidos!")
                          + QStringLiteral("\r\r") + QStringLiteral("Deseja realmente excluir?");
    if (msg::Perguntar(texto, QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QStringLiteral("Atenção"),
                       msg::Icone::Aviso)
        != QMessageBox::Yes)
        clip::Abort();
}

void TFrmEmissoras::Q_EmissorasAfterDelete(dataset::DataSet& ds) {
    AplicarEConfirmar(ds);
}

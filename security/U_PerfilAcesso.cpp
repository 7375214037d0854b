#include "U_PerfilAcesso.h"

#include "app/U_DMBanco.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <class B>
B* botaoBarra(B* b, QHBoxLayout* barra, const char* nome, const QString& legenda, const QString& dica) {
    b->setObjectName(QLatin1String(nome));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setText(legenda);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    if (!dica.isEmpty())
        b->setToolTip(dica);
    b->setMinimumHeight(26);
    barra->addWidget(b);
    return b;
}

} // namespace

TFrmPerfilAcesso::TFrmPerfilAcesso(QWidget* parent) : TFrmBase(parent) {
    setObjectName(QStringLiteral("FrmPerfilAcesso"));
    setWindowTitle(QStringLiteral("Perfil de Acesso"));
    setProperty(kPropriedadeCentralizada, true);
    SetTag(1105);

    if (DMBanco)
        DataSource1->SetDataSet(DMBanco->Q_PerfilAcesso);
    // Typing a name starts editing the profile (renaming).
    DataSource1->AutoEdit = true;
    DS_Acessos = new dataset::DataSource(this);
    DS_Acessos->setObjectName(QStringLiteral("DS_Acessos"));
    if (DMBanco)
        DS_Acessos->SetDataSet(DMBanco->Q_Direitos);

    // Tool bar.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* barra = new QHBoxLayout(Panel1);
    barra->setContentsMargins(2, 2, 2, 2);
    barra->setSpacing(1);
    using B = dataset::DBSpeedButton;
    SBNovo = botaoBarra(new B(B::Append, Panel1), barra, "SBNovo", QStringLiteral("&Novo"), QStringLiteral("Insere"));
    SBSalvar = botaoBarra(new B(B::Post, Panel1), barra, "SBSalvar", QStringLiteral("&Gravar"), QString());
    SBCancelar = botaoBarra(new B(B::Cancel, Panel1), barra, "SBCancelar", QStringLiteral("&Cancelar"), QString());
    SBExcluir = botaoBarra(new B(B::Delete, Panel1), barra, "SBExcluir", QStringLiteral("&Excluir"), QString());
    SBSair = botaoBarra(new QToolButton(Panel1), barra, "SBSair", QStringLiteral("Fechar"), QString());
    barra->addStretch(1);
    LayoutPrincipal()->insertWidget(0, Panel1);

    // Name and quick settings.
    auto* fundo = new QVBoxLayout(PFundo);
    fundo->setContentsMargins(6, 6, 6, 6);
    auto* nome = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("Nome do Perfil: "), PFundo);
    Label1->setObjectName(QStringLiteral("Label1"));
    DbNome = new dataset::DBEdit(PFundo);
    DbNome->setObjectName(QStringLiteral("DbNome"));
    DbNome->SetDataSource(DataSource1);
    DbNome->SetDataField(QStringLiteral("FUN_NOME"));
    Label1->setBuddy(DbNome);
    nome->addWidget(Label1);
    nome->addWidget(DbNome, 1);
    fundo->addLayout(nome);
    auto* ajustes = new QHBoxLayout;
    BSemAcesso = new QPushButton(QStringLiteral("Sem acesso"), PFundo);
    BSemAcesso->setObjectName(QStringLiteral("BSemAcesso"));
    Bleitura = new QPushButton(QStringLiteral("Somente Leitura"), PFundo);
    Bleitura->setObjectName(QStringLiteral("Bleitura"));
    BAcessoTotal = new QPushButton(QStringLiteral("Acesso Total"), PFundo);
    BAcessoTotal->setObjectName(QStringLiteral("BAcessoTotal"));
    for (QPushButton* b : {BSemAcesso, Bleitura, BAcessoTotal}) {
        b->setAutoDefault(false);
        ajustes->addWidget(b);
    }
    ajustes->addStretch(1);
    fundo->addLayout(ajustes);

    // Profiles on the left, the rights of the chosen one on the right.
    auto* busca = new QHBoxLayout(PBusca);
    busca->setContentsMargins(4, 4, 4, 4);
    GroupBox2 = new QGroupBox(QStringLiteral("Perfis: "), PBusca);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto* perfis = new QVBoxLayout(GroupBox2);
    SpeedButton1 = new QToolButton(GroupBox2);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setText(QStringLiteral("Definir Acessos"));
    SpeedButton1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    SpeedButton1->setMinimumHeight(26);
    SpeedButton1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    DBGrid2 = new dataset::DBGrid(GroupBox2);
    DBGrid2->setObjectName(QStringLiteral("DBGrid2"));
    DBGrid2->SetDataSource(DataSource1);
    dataset::GridColumn coluna;
    coluna.FieldName = QStringLiteral("FUN_NOME");
    coluna.Title = QStringLiteral("Nome");
    coluna.TitleAlignment = Qt::AlignCenter;
    coluna.Width = 250;
    DBGrid2->SetColumns({coluna});
    DBGrid2->SetRowSelect(true);
    DBGrid2->setMinimumSize(280, 380);
    perfis->addWidget(SpeedButton1);
    perfis->addWidget(DBGrid2, 1);
    GroupBox1 = new QGroupBox(QStringLiteral("Acessos: "), PBusca);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* acessos = new QVBoxLayout(GroupBox1);
    TreeSeguranca = new TTreeSeguranca(GroupBox1);
    TreeSeguranca->SetImages(TTreeSeguranca::ImagensPadrao());
    TreeSeguranca->SetDataSource(DS_Acessos);
    TreeSeguranca->setMinimumSize(340, 400);
    acessos->addWidget(TreeSeguranca);
    busca->addWidget(GroupBox2);
    busca->addWidget(GroupBox1, 1);
    habilitarAcessos(false);

    // Data buttons: every press goes through Pressionar.
    for (B* b : {SBNovo, SBSalvar, SBCancelar, SBExcluir}) {
        b->SetDataSource(DataSource1);
        disconnect(b, &QAbstractButton::clicked, b, nullptr);
        connect(b, &QAbstractButton::clicked, this, [this, b] { clicar(b); });
    }
    SBNovo->BeforeAction = [](B& b) {
        if (dataset::DataSet* ds = b.GetDataSource()->GetDataSet())
            ds->Last();
    };
    SBNovo->AfterAction = [this](B&, bool& falhou) {
        if (!falhou)
            DbNome->setFocus();
    };
    SBSalvar->BeforeAction = [this](B& b) {
        b.GetDataSource()->GetDataSet()->FieldByName(QStringLiteral("FUN_TIPO"))->SetAsInteger(1);
        TreeSeguranca->GravarDireitos();
    };
    SBSalvar->AfterAction = [this](B&, bool& falhou) {
        if (!falhou)
            AplicarDireitosPrincipal(JanelaPrincipal());
    };
    SBCancelar->AfterAction = [this](B&, bool& falhou) {
        if (!falhou)
            habilitarAcessos(false);
    };
    SBExcluir->OnClick = [](B&) {
        if (msg::Perguntar(QStringLiteral("Confirma a Exclusão?"), QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::No)
            != QMessageBox::Yes)
            clip::Abort();
    };
    SBExcluir->AfterAction = [this](B&, bool&) { conferirPerfil(); };
    connect(SBSair, &QToolButton::clicked, this, [this] { close(); });

    auto ligar = [this](QAbstractButton* b, void (TFrmPerfilAcesso::*acao)()) {
        connect(b, &QAbstractButton::clicked, this, [this, b, acao] {
            try {
                (this->*acao)();
            } catch (const std::exception& e) {
                TratarExcecao(b, e);
            }
        });
    };
    ligar(SpeedButton1, &TFrmPerfilAcesso::SpeedButton1Click);
    ligar(BAcessoTotal, &TFrmPerfilAcesso::BAcessoTotalClick);
    ligar(BSemAcesso, &TFrmPerfilAcesso::BSemAcessoClick);
    ligar(Bleitura, &TFrmPerfilAcesso::BleituraClick);
    DBGrid2->OnCellClick = [this](dataset::DBGrid&, int) { DBGrid2CellClick(); };
    TreeSeguranca->OnDblClick = [this](TTreeSeguranca&) { TreeSegurancaDblClick(); };

    connect(DataSource1, &dataset::DataSource::stateChanged, this, [this] { conferirPerfil(); });
    connect(DataSource1, &dataset::DataSource::scrolled, this, [this] { conferirPerfil(); });
    connect(DataSource1, &dataset::DataSource::dataChanged, this, [this](dataset::Field* f) {
        if (!f)
            conferirPerfil();
    });
    atualizarBotoes();
}

TFrmPerfilAcesso::~TFrmPerfilAcesso() {
    // The profiles' dataset belongs to DMBanco and outlives the screen.
    if (dataset::DataSet* ds = DataSetPrincipal(); ds && ds->IsEditing())
        ds->Cancel();
}

void TFrmPerfilAcesso::FormShow() {
    TFrmBase::FormShow();
    conferirPerfil();
}

int TFrmPerfilAcesso::perfilAtual() const {
    dataset::DataSet* ds = DataSetPrincipal();
    if (!ds || !ds->Active() || ds->IsEmpty() || ds->GetState() == dataset::State::Insert)
        return 0;
    dataset::Field* f = ds->FieldByName(QStringLiteral("FUN_CODIGO"));
    return f->IsNull() ? 0 : f->AsInteger();
}

void TFrmPerfilAcesso::atualizarBotoes() {
    for (dataset::DBSpeedButton* b : {SBNovo, SBSalvar, SBCancelar, SBExcluir})
        b->UpdateEnabled();
    // Rights belong to a stored profile: none for an empty list or a new,
    // unsaved row.
    SpeedButton1->setEnabled(perfilAtual() > 0);
}

// The tree and the quick settings stay usable only for the profile they
// were built for.
void TFrmPerfilAcesso::conferirPerfil() {
    atualizarBotoes();
    if (TreeSeguranca->isEnabled() && perfilAtual() != TreeSeguranca->Usuario())
        habilitarAcessos(false);
}

void TFrmPerfilAcesso::habilitarAcessos(bool sim) {
    TreeSeguranca->setEnabled(sim);
    for (QPushButton* b : {BSemAcesso, Bleitura, BAcessoTotal})
        b->setEnabled(sim);
}

void TFrmPerfilAcesso::SpeedButton1Click() {
    const int perfil = perfilAtual();
    if (perfil <= 0)
        return;
    TreeSeguranca->SetPrincipal(JanelaPrincipal());
    TreeSeguranca->SetUsuario(perfil);
    TreeSeguranca->Montar();
    habilitarAcessos(!TreeSeguranca->isEnabled());
}

void TFrmPerfilAcesso::DBGrid2CellClick() { habilitarAcessos(false); }

void TFrmPerfilAcesso::editarPerfil() {
    dataset::DataSet* ds = DataSetPrincipal();
    if (ds && ds->Active() && !ds->IsEmpty() && !ds->IsEditing())
        ds->Edit();
}

void TFrmPerfilAcesso::TreeSegurancaDblClick() { editarPerfil(); }

void TFrmPerfilAcesso::ajustar(const AjusteDireitos& ajuste) {
    TreeSeguranca->AplicarAjuste(ajuste, DS_Acessos);
    editarPerfil();
}

void TFrmPerfilAcesso::BAcessoTotalClick() { ajustar(AjusteDireitos::AcessoTotal()); }
void TFrmPerfilAcesso::BSemAcessoClick() { ajustar(AjusteDireitos::SemAcesso()); }
void TFrmPerfilAcesso::BleituraClick() { ajustar(AjusteDireitos::SomenteLeitura()); }

void TFrmPerfilAcesso::Pressionar(QAbstractButton* botao) {
    auto* b = qobject_cast<dataset::DBSpeedButton*>(botao);
    if (!b) {
        botao->click();
        return;
    }
    try {
        b->Press();
    } catch (...) {
        atualizarBotoes();
        throw;
    }
    atualizarBotoes();
}

void TFrmPerfilAcesso::clicar(QAbstractButton* botao) {
    if (!botao->isEnabled())
        return;
    try {
        Pressionar(botao);
    } catch (const std::exception& e) {
        TratarExcecao(botao, e);
    }
}

void TFrmPerfilAcesso::FormClose(QCloseEvent* e) {
    TFrmBase::FormClose(e);
    dataset::DataSet* ds = DataSetPrincipal();
    if (!ds || !ds->IsEditing())
        return;
    const auto resposta = msg::Perguntar(QStringLiteral("Deseja salvar as alterações?"),
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
    if (resposta == QMessageBox::Yes) {
        e->ignore();
        try {
            Pressionar(SBSalvar);
        } catch (const clip::EAbort&) {
            return;
        }
        e->accept();
    } else if (resposta == QMessageBox::No) {
        Pressionar(SBCancelar);
    } else {
        e->ignore();
    }
}

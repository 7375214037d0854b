#include "U_Direitos.h"

#include "app/U_DMBanco.h"
#include "platform/data/Query.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/DataSource.h"
#include "platform/data/widgets/DBControls.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QStyle>
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
    b->setToolTip(dica);
    b->setMinimumHeight(26);
    barra->addWidget(b);
    return b;
}

} // namespace

TFrmDireitos::TFrmDireitos(dataset::DataSet* funcionarios, QWidget* parent)
    : TFrmBase(parent), funcionarios_(funcionarios) {
    setObjectName(QStringLiteral("FrmDireitos"));
    setWindowTitle(QStringLiteral("Direitos do Usuário"));
    setProperty(kPropriedadeCentralizada, true);

    DS_Usuario = new dataset::DataSource(this);
    DS_Usuario->setObjectName(QStringLiteral("DS_Usuario"));
    DS_Usuario->SetDataSet(funcionarios);
    if (DMBanco)
        DataSource1->SetDataSet(DMBanco->Q_Direitos);

    // Tool bar.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* barra = new QHBoxLayout(Panel1);
    barra->setContentsMargins(2, 2, 2, 2);
    barra->setSpacing(1);
    using B = dataset::DBSpeedButton;
    SBSalvar = botaoBarra(new B(B::Post, Panel1), barra, "SBSalvar", QStringLiteral("&Gravar"),
                          QStringLiteral("Salvar (F3)"));
    SBCancelar = botaoBarra(new B(B::Cancel, Panel1), barra, "SBCancelar", QStringLiteral("&Cancelar"),
                            QStringLiteral("Cancelar (F4)"));
    SBSair = botaoBarra(new QToolButton(Panel1), barra, "SBSair", QStringLiteral("Fechar"),
                        QStringLiteral("Fechar (Esc)"));
    barra->addStretch(1);
    LayoutPrincipal()->insertWidget(0, Panel1);

    // Quick settings and the employee's name.
    auto* fundo = new QVBoxLayout(PFundo);
    fundo->setContentsMargins(6, 6, 6, 6);
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
    fundo->addLayout(ajustes);
    auto* nome = new QHBoxLayout;
    Label1 = new QLabel(QStringLiteral("Usuário:"), PFundo);
    Label1->setObjectName(QStringLiteral("Label1"));
    DbNome = new dataset::DBEdit(PFundo);
    DbNome->setObjectName(QStringLiteral("DbNome"));
    DbNome->SetDataSource(DS_Usuario);
    DbNome->SetDataField(QStringLiteral("FUN_NOME"));
    DbNome->setEnabled(false);
    nome->addWidget(Label1);
    nome->addWidget(DbNome, 1);
    fundo->addLayout(nome);

    // The tree.
    auto* busca = new QVBoxLayout(PBusca);
    busca->setContentsMargins(4, 4, 4, 4);
    GroupBox1 = new QGroupBox(QStringLiteral("Acessos: "), PBusca);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto* grupo = new QVBoxLayout(GroupBox1);
    TreeSeguranca = new TTreeSeguranca(GroupBox1);
    TreeSeguranca->SetImages(TTreeSeguranca::ImagensPadrao());
    TreeSeguranca->SetDataSource(DataSource1);
    TreeSeguranca->setMinimumSize(360, 420);
    TreeSeguranca->setEnabled(false);
    grupo->addWidget(TreeSeguranca);
    busca->addWidget(GroupBox1);

    // The data buttons: a press goes through Pressionar, so that its errors
    // reach the handler like every other action's.
    for (B* b : {SBSalvar, SBCancelar}) {
        b->SetDataSource(DS_Usuario);
        disconnect(b, &QAbstractButton::clicked, b, nullptr);
        connect(b, &QAbstractButton::clicked, this, [this, b] { clicar(b); });
    }
    SBSalvar->BeforeAction = [this](B&) { TreeSeguranca->GravarDireitos(); };
    SBSalvar->AfterAction = [this](B&, bool& falhou) {
        if (!falhou)
            AplicarDireitosPrincipal(TreeSeguranca->PrincipalMontagem());
    };
    SBCancelar->AfterAction = [this](B&, bool& falhou) {
        if (!falhou)
            alternarEdicao();
    };
    connect(SBSair, &QToolButton::clicked, this, [this] { close(); });
    auto ligar = [this](QPushButton* b, void (TFrmDireitos::*acao)()) {
        connect(b, &QPushButton::clicked, this, [this, b, acao] {
            try {
                (this->*acao)();
            } catch (const std::exception& e) {
                TratarExcecao(b, e);
            }
        });
    };
    ligar(BAcessoTotal, &TFrmDireitos::BAcessoTotalClick);
    ligar(BSemAcesso, &TFrmDireitos::BSemAcessoClick);
    ligar(Bleitura, &TFrmDireitos::BleituraClick);
    TreeSeguranca->OnDblClick = [this](TTreeSeguranca&) { TreeSegurancaDblClick(); };
}

TFrmDireitos::~TFrmDireitos() = default;

void TFrmDireitos::Abrir(QWidget* parent, dataset::DataSet* funcionarios) {
    if (!funcionarios || !funcionarios->Active() || funcionarios->IsEmpty())
        return;
    TFrmDireitos tela(funcionarios, parent);
    ExibirModal(&tela);
}

void TFrmDireitos::FormShow() {
    TFrmBase::FormShow();
    if (!ativado_) {
        ativado_ = true;
        FormActivate();
    }
}

void TFrmDireitos::FormActivate() {
    QWidget* principal = JanelaPrincipal();
    TreeSeguranca->SetPrincipal(principal);
    dataset::Field* codigo = funcionarios_ ? funcionarios_->FindField(QStringLiteral("FUN_CODIGO")) : nullptr;
    TreeSeguranca->SetUsuario(codigo && !codigo->IsNull() ? codigo->AsInteger() : 0);
    TreeSeguranca->Montar();
    alternarEdicao();
    editarUsuario();
}

// The tree goes from disabled to enabled on opening and back on cancel;
// the two data buttons follow the employee record's state.
void TFrmDireitos::alternarEdicao() {
    TreeSeguranca->setEnabled(!TreeSeguranca->isEnabled());
    SBSalvar->UpdateEnabled();
    SBCancelar->UpdateEnabled();
}

void TFrmDireitos::editarUsuario() {
    if (funcionarios_ && funcionarios_->Active() && !funcionarios_->IsEditing())
        funcionarios_->Edit();
}

void TFrmDireitos::TreeSegurancaDblClick() { editarUsuario(); }

void TFrmDireitos::ajustar(const AjusteDireitos& ajuste) {
    TreeSeguranca->AplicarAjuste(ajuste, DataSource1);
    editarUsuario();
}

void TFrmDireitos::BAcessoTotalClick() { ajustar(AjusteDireitos::AcessoTotal()); }
void TFrmDireitos::BSemAcessoClick() { ajustar(AjusteDireitos::SemAcesso()); }
void TFrmDireitos::BleituraClick() { ajustar(AjusteDireitos::SomenteLeitura()); }

void TFrmDireitos::Pressionar(QAbstractButton* botao) {
    if (auto* b = qobject_cast<dataset::DBSpeedButton*>(botao)) {
        b->Press();
        SBSalvar->UpdateEnabled();
        SBCancelar->UpdateEnabled();
    } else {
        botao->click();
    }
}

void TFrmDireitos::clicar(QAbstractButton* botao) {
    if (!botao->isEnabled())
        return;
    try {
        Pressionar(botao);
    } catch (const std::exception& e) {
        SBSalvar->UpdateEnabled();
        SBCancelar->UpdateEnabled();
        TratarExcecao(botao, e);
    }
}

bool TFrmDireitos::FormKeyDown(QKeyEvent* e) {
    if (TFrmBase::FormKeyDown(e))
        return true;
    QAbstractButton* b = e->key() == Qt::Key_F3 ? SBSalvar : e->key() == Qt::Key_F4 ? SBCancelar : nullptr;
    if (!b || !b->isEnabled())
        return false;
    clicar(b);
    return true;
}

void TFrmDireitos::FormClose(QCloseEvent* e) {
    TFrmBase::FormClose(e);
    if (!TreeSeguranca->Alterado() || !SBSalvar->isEnabled())
        return;
    const auto resposta = msg::Perguntar(QStringLiteral("Deseja salvar as alterações?"),
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
    if (resposta == QMessageBox::Cancel) {
        e->ignore();
    } else if (resposta == QMessageBox::Yes) {
        e->ignore();
        try {
            Pressionar(SBSalvar);
        } catch (const clip::EAbort&) {
            return;
        }
        e->accept();
    }
}

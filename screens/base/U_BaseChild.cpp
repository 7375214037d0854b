#include "screens/base/U_BaseChild.h"

#include "app/U_DMBanco.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/DataSource.h"
#include "platform/firebird/Transaction.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

// ---------------------------------------------------------------------------
// Rights checks

namespace {
VerificadorAcesso& verificador() {
    static VerificadorAcesso v;
    return v;
}
} // namespace

void DefinirVerificadorAcesso(VerificadorAcesso v) {
    verificador() = std::move(v);
}

bool VerificadorAcessoInstalado() {
    return bool(verificador());
}

bool VerificarDireito(int tela, const QString& campo) {
    if (!DMBanco || DMBanco->UsuarioAtual == 0)
        return true;
    if (!verificador())
        throw clip::Exception(QStringLiteral("A verificação de direitos de acesso não está disponível."));
    return verificador()(tela, campo);
}

// ---------------------------------------------------------------------------
// Helpers of the register screens

void AplicarEConfirmar(dataset::DataSet& ds) {
    ds.ApplyUpdates();
    if (fb::Transaction* t = ds.Transaction())
        t->commitRetaining();
}

QLabel* AdicionarCampo(QGridLayout* grade, int linha, int coluna, const QString& rotulo, QWidget* campo,
                       int colunas) {
    auto* l = new QLabel(rotulo, grade->parentWidget());
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    l->setBuddy(campo);
    grade->addWidget(l, linha, coluna);
    grade->addWidget(campo, linha, coluna + 1, 1, colunas);
    return l;
}

void LarguraEmCaracteres(QWidget* w, int n) {
    const QFontMetrics fm(w->font());
    w->setFixedWidth(fm.averageCharWidth() * n + 16);
}

// ---------------------------------------------------------------------------

namespace {

template <class B>
B* novoBotao(B* b, QHBoxLayout* barra, const char* nome, const QString& legenda, const QString& dica,
             QStyle::StandardPixmap icone = QStyle::SP_CustomBase) {
    b->setObjectName(QLatin1String(nome));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    if (!legenda.isEmpty()) {
        b->setText(legenda);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    } else {
        b->setIcon(b->style()->standardIcon(icone));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    if (!dica.isEmpty())
        b->setToolTip(dica);
    b->setMinimumHeight(26);
    barra->addWidget(b);
    return b;
}

void separador(QWidget* pai, QHBoxLayout* barra) {
    auto* s = new QFrame(pai);
    s->setFrameShape(QFrame::VLine);
    s->setFrameShadow(QFrame::Sunken);
    barra->addWidget(s);
}

} // namespace

TFrmBaseFilha::TFrmBaseFilha(QWidget* parent) : TFrmBase(parent) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto* barra = new QHBoxLayout(Panel1);
    barra->setContentsMargins(2, 2, 2, 2);
    barra->setSpacing(1);

    using B = dataset::DBSpeedButton;
    auto dados = [this](B::Action a) { return new B(a, Panel1); };
    SBNovo = novoBotao(dados(B::Append), barra, "SBNovo", QStringLiteral("&Novo"), QStringLiteral("Insere"));
    SBSalvar = novoBotao(dados(B::Post), barra, "SBSalvar", QStringLiteral("&Gravar"), QStringLiteral("Salva"));
    SBAlterar = novoBotao(dados(B::Edit), barra, "SBAlterar", QStringLiteral("&Alterar"), QStringLiteral("Edita"));
    SBCancelar =
        novoBotao(dados(B::Cancel), barra, "SBCancelar", QStringLiteral("&Cancelar"), QStringLiteral("Cancela"));
    SBExcluir = novoBotao(dados(B::Delete), barra, "SBExcluir", QStringLiteral("&Excluir"), QStringLiteral("Exclui"));
    SBImprimir = novoBotao(new QToolButton(Panel1), barra, "SBImprimir", QStringLiteral("&Imprimir"), QString());
    SBImprimir->setVisible(false);
    separador(Panel1, barra);
    SBPrimeiro = novoBotao(dados(B::First), barra, "SBPrimeiro", QString(), QStringLiteral("Primeiro"),
                           QStyle::SP_MediaSkipBackward);
    SBAnterior = novoBotao(dados(B::Prior), barra, "SBAnterior", QString(), QStringLiteral("Anterior"),
                           QStyle::SP_MediaSeekBackward);
    SBProximo = novoBotao(dados(B::Next), barra, "SBProximo", QString(), QStringLiteral("Próximo"),
                          QStyle::SP_MediaSeekForward);
    SBUltimo = novoBotao(dados(B::Last), barra, "SBUltimo", QString(), QStringLiteral("Último"),
                         QStyle::SP_MediaSkipForward);
    separador(Panel1, barra);
    SBSair = novoBotao(new QToolButton(Panel1), barra, "SBSair", QStringLiteral("Fechar"), QString());
    barra->addStretch(1);

    LayoutPrincipal()->insertWidget(0, Panel1);

    ligarBotao(SBNovo, [this] { SBNovoClick(); }, [this] { SBNovoBeforeAction(); },
               [this](ResultadoAcao& r) { SBNovoAfterAction(r); });
    ligarBotao(SBSalvar, [this] { SBSalvarClick(); }, [this] { SBSalvarBeforeAction(); },
               [this](ResultadoAcao& r) { SBSalvarAfterAction(r); });
    ligarBotao(SBAlterar, [this] { SBAlterarClick(); }, [this] { SBAlterarBeforeAction(); },
               [this](ResultadoAcao& r) { SBAlterarAfterAction(r); });
    ligarBotao(SBCancelar, [this] { SBCancelarClick(); }, [this] { SBCancelarBeforeAction(); },
               [this](ResultadoAcao& r) { SBCancelarAfterAction(r); });
    ligarBotao(SBExcluir, [this] { SBExcluirClick(); }, [this] { SBExcluirBeforeAction(); },
               [this](ResultadoAcao& r) { SBExcluirAfterAction(r); });
    for (B* b : {SBPrimeiro, SBAnterior, SBProximo, SBUltimo})
        ligarBotao(b, {}, {}, [this, b](ResultadoAcao& r) { NavegacaoAfterAction(b, r); });
    for (QToolButton* b : {SBImprimir, SBSair})
        connect(b, &QToolButton::clicked, this, [this, b] { aoClicar(b); });

    ligarDataSource();
    PFundo->setEnabled(false);
    AtualizarBotoes();
}

TFrmBaseFilha::~TFrmBaseFilha() = default;

void TFrmBaseFilha::ligarBotao(dataset::DBSpeedButton* b, std::function<void()> click, std::function<void()> antes,
                               std::function<void(ResultadoAcao&)> depois) {
    b->SetDataSource(DataSource1);
    // A mouse click goes through Pressionar, so every press (mouse, keys,
    // close question) reports its errors the same way.
    disconnect(b, &QAbstractButton::clicked, b, nullptr);
    connect(b, &QAbstractButton::clicked, this, [this, b] { aoClicar(b); });
    if (click)
        b->OnClick = [click](dataset::DBSpeedButton&) { click(); };
    b->BeforeAction = [this, antes](dataset::DBSpeedButton&) {
        erroAntes_ = nullptr;
        try {
            if (antes)
                antes();
        } catch (...) {
            erroAntes_ = std::current_exception();
            throw;
        }
    };
    b->AfterAction = [this, depois](dataset::DBSpeedButton&, bool& falhou) {
        falhou_ = falhou;
        ResultadoAcao r;
        r.Falhou = falhou;
        if (falhou)
            r.Erro = erroAntes_;
        erroAntes_ = nullptr;
        if (depois)
            depois(r);
        falhou = r.Falhou;
    };
}

void TFrmBaseFilha::ligarDataSource() {
    connect(DataSource1, &dataset::DataSource::stateChanged, this, [this] {
        try {
            DataSource1StateChange();
        } catch (const std::exception& e) {
            TratarExcecao(DataSource1, e);
        }
    });
    connect(DataSource1, &dataset::DataSource::dataSetChanged, this, [this] { DataSource1StateChange(); });
}

void TFrmBaseFilha::AtualizarBotoes() {
    for (dataset::DBSpeedButton* b :
         {SBNovo, SBSalvar, SBAlterar, SBCancelar, SBExcluir, SBPrimeiro, SBAnterior, SBProximo, SBUltimo})
        b->UpdateEnabled();
}

void TFrmBaseFilha::DataSource1StateChange() {
    dataset::DataSet* ds = DataSetPrincipal();
    PFundo->setEnabled(ds && ds->IsEditing());
}

void TFrmBaseFilha::aoClicar(QAbstractButton* botao) {
    if (!botao->isEnabled())
        return;
    try {
        Pressionar(botao);
    } catch (const std::exception& e) {
        TratarExcecao(botao, e);
    }
}

bool TFrmBaseFilha::Pressionar(QAbstractButton* botao) {
    if (botao == SBSair) {
        SBSairClick();
        return true;
    }
    if (botao == SBImprimir) {
        SBImprimirClick();
        return true;
    }
    auto* b = qobject_cast<dataset::DBSpeedButton*>(botao);
    if (!b) {
        botao->click();
        return true;
    }
    falhou_ = false;
    // A failure that the after-action does not clear is thrown from here.
    try {
        b->Press();
    } catch (...) {
        AtualizarBotoes();
        throw;
    }
    AtualizarBotoes();
    return !falhou_;
}

void TFrmBaseFilha::ExigirDireito(const QString& campo) {
    if (!VerificarDireito(Tag(), campo))
        clip::Abort();
}

void TFrmBaseFilha::SBExcluirClick() {
    if (msg::Perguntar(QStringLiteral("Confirma a Exclusão?"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        != QMessageBox::Yes)
        clip::Abort();
}

void TFrmBaseFilha::SBSairClick() {
    close();
}

void TFrmBaseFilha::SBNovoBeforeAction() {
    ExigirDireito(QStringLiteral("DIR_INCLUIR"));
}

void TFrmBaseFilha::SBSalvarBeforeAction() {
    dataset::DataSet* ds = DataSetPrincipal();
    if (ds && ds->GetState() == dataset::State::Edit)
        ExigirDireito(QStringLiteral("DIR_ALTERAR"));
}

void TFrmBaseFilha::SBExcluirBeforeAction() {
    ExigirDireito(QStringLiteral("DIR_EXCLUIR"));
}

void TFrmBaseFilha::ConfirmarGravacao() {
    if (msg::Perguntar(QStringLiteral("Gravar?"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        != QMessageBox::Yes)
        return;
    if (SBSalvar->isEnabled())
        aoClicar(SBSalvar);
}

bool TFrmBaseFilha::FormKeyDown(QKeyEvent* e) {
    if (TFrmBase::FormKeyDown(e))
        return true;
    QToolButton* botao = nullptr;
    switch (e->key()) {
    case Qt::Key_F2: botao = SBNovo; break;
    case Qt::Key_F3: botao = SBSalvar; break;
    case Qt::Key_F4: botao = SBCancelar; break;
    case Qt::Key_F5: botao = SBExcluir; break;
    case Qt::Key_F6:
        if (SBImprimir->isHidden())
            return false;
        aoClicar(SBImprimir);
        return true;
    default: return false;
    }
    if (!botao->isEnabled())
        return false;
    aoClicar(botao);
    return true;
}

void TFrmBaseFilha::FormClose(QCloseEvent* e) {
    TFrmBase::FormClose(e);
    dataset::DataSet* ds = DataSetPrincipal();
    if (!ds || !ds->IsEditing())
        return;
    const auto resposta = msg::Perguntar(QStringLiteral("Deseja salvar as alterações?"),
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
    if (resposta == QMessageBox::Yes) {
        e->ignore();
        try {
            if (!Pressionar(SBSalvar))
                return;
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

#include "screens/base/U_BaseChild.h"

#include "app/U_DMBanco.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/core/Exception.h"
#include "platform/data/DataSource.h"

#include <QCloseEvent>
#include <QFrame>
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

namespace {

QToolButton* novoBotao(QWidget* pai, QHBoxLayout* barra, const char* nome, const QString& legenda,
                       const QString& dica, QStyle::StandardPixmap icone = QStyle::SP_CustomBase) {
    auto* b = new QToolButton(pai);
    b->setObjectName(QLatin1String(nome));
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    if (!legenda.isEmpty()) {
        b->setText(legenda);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    } else {
        b->setIcon(pai->style()->standardIcon(icone));
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

    SBNovo = novoBotao(Panel1, barra, "SBNovo", QStringLiteral("&Novo"), QStringLiteral("Insere"));
    SBSalvar = novoBotao(Panel1, barra, "SBSalvar", QStringLiteral("&Gravar"), QStringLiteral("Salva"));
    SBAlterar = novoBotao(Panel1, barra, "SBAlterar", QStringLiteral("&Alterar"), QStringLiteral("Edita"));
    SBCancelar = novoBotao(Panel1, barra, "SBCancelar", QStringLiteral("&Cancelar"), QStringLiteral("Cancela"));
    SBExcluir = novoBotao(Panel1, barra, "SBExcluir", QStringLiteral("&Excluir"), QStringLiteral("Exclui"));
    SBImprimir = novoBotao(Panel1, barra, "SBImprimir", QStringLiteral("&Imprimir"), QString());
    SBImprimir->setVisible(false);
    separador(Panel1, barra);
    SBPrimeiro = novoBotao(Panel1, barra, "SBPrimeiro", QString(), QStringLiteral("Primeiro"),
                           QStyle::SP_MediaSkipBackward);
    SBAnterior = novoBotao(Panel1, barra, "SBAnterior", QString(), QStringLiteral("Anterior"),
                           QStyle::SP_MediaSeekBackward);
    SBProximo = novoBotao(Panel1, barra, "SBProximo", QString(), QStringLiteral("Próximo"),
                          QStyle::SP_MediaSeekForward);
    SBUltimo = novoBotao(Panel1, barra, "SBUltimo", QString(), QStringLiteral("Último"),
                         QStyle::SP_MediaSkipForward);
    separador(Panel1, barra);
    SBSair = novoBotao(Panel1, barra, "SBSair", QStringLiteral("Fechar"), QString());
    barra->addStretch(1);

    LayoutPrincipal()->insertWidget(0, Panel1);

    for (QToolButton* b : {SBNovo, SBSalvar, SBAlterar, SBCancelar, SBExcluir, SBImprimir, SBPrimeiro, SBAnterior,
                           SBProximo, SBUltimo, SBSair})
        connect(b, &QToolButton::clicked, this, [this, b] { aoClicar(b); });

    ligarDataSource();
    PFundo->setEnabled(false);
    AtualizarBotoes();
}

TFrmBaseFilha::~TFrmBaseFilha() = default;

void TFrmBaseFilha::ligarDataSource() {
    auto atualizar = [this] { AtualizarBotoes(); };
    connect(DataSource1, &dataset::DataSource::stateChanged, this, [this] {
        AtualizarBotoes();
        try {
            DataSource1StateChange();
        } catch (const std::exception& e) {
            TratarExcecao(DataSource1, e);
        }
    });
    connect(DataSource1, &dataset::DataSource::dataChanged, this, atualizar);
    connect(DataSource1, &dataset::DataSource::scrolled, this, atualizar);
    connect(DataSource1, &dataset::DataSource::dataSetChanged, this, [this] {
        AtualizarBotoes();
        DataSource1StateChange();
    });
}

void TFrmBaseFilha::AtualizarBotoes() {
    dataset::DataSet* ds = DataSetPrincipal();
    const bool ativo = ds && ds->Active() && DataSource1->Enabled;
    const bool editando = ativo && ds->IsEditing();
    const bool somenteLeitura = ativo && !ds->CanModify();
    const bool vazio = ativo && ds->IsEmpty();
    const bool inicio = ativo && ds->Bof();
    const bool fim = ativo && ds->Eof();

    SBNovo->setEnabled(ativo && !somenteLeitura && !editando);
    SBSalvar->setEnabled(editando);
    SBAlterar->setEnabled(ativo && !somenteLeitura && !editando && !vazio);
    SBCancelar->setEnabled(editando);
    SBExcluir->setEnabled(ativo && !somenteLeitura && !editando && !vazio);
    SBPrimeiro->setEnabled(ativo && !inicio && !editando && !vazio);
    SBAnterior->setEnabled(ativo && !inicio && !editando && !vazio);
    SBProximo->setEnabled(ativo && !fim && !editando && !vazio);
    SBUltimo->setEnabled(ativo && !fim && !editando && !vazio);
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

    dataset::DataSet* ds = DataSetPrincipal();
    std::function<void()> antes, operacao;
    std::function<void(ResultadoAcao&)> depois;
    auto op = [ds](void (dataset::DataSet::*f)()) {
        return [ds, f] {
            if (ds)
                (ds->*f)();
        };
    };

    if (botao == SBNovo) {
        SBNovoClick();
        antes = [this] { SBNovoBeforeAction(); };
        operacao = op(&dataset::DataSet::Append);
        depois = [this](ResultadoAcao& r) { SBNovoAfterAction(r); };
    } else if (botao == SBSalvar) {
        SBSalvarClick();
        antes = [this] { SBSalvarBeforeAction(); };
        operacao = op(&dataset::DataSet::Post);
        depois = [this](ResultadoAcao& r) { SBSalvarAfterAction(r); };
    } else if (botao == SBAlterar) {
        SBAlterarClick();
        antes = [this] { SBAlterarBeforeAction(); };
        operacao = op(&dataset::DataSet::Edit);
        depois = [this](ResultadoAcao& r) { SBAlterarAfterAction(r); };
    } else if (botao == SBCancelar) {
        SBCancelarClick();
        antes = [this] { SBCancelarBeforeAction(); };
        operacao = op(&dataset::DataSet::Cancel);
        depois = [this](ResultadoAcao& r) { SBCancelarAfterAction(r); };
    } else if (botao == SBExcluir) {
        SBExcluirClick();
        antes = [this] { SBExcluirBeforeAction(); };
        operacao = op(&dataset::DataSet::Delete);
        depois = [this](ResultadoAcao& r) { SBExcluirAfterAction(r); };
    } else if (botao == SBPrimeiro || botao == SBAnterior || botao == SBProximo || botao == SBUltimo) {
        antes = [] {};
        operacao = op(botao == SBPrimeiro    ? &dataset::DataSet::First
                      : botao == SBAnterior ? &dataset::DataSet::Prior
                      : botao == SBProximo  ? &dataset::DataSet::Next
                                            : &dataset::DataSet::Last);
        depois = [this, botao](ResultadoAcao& r) { NavegacaoAfterAction(botao, r); };
    } else {
        botao->click();
        return true;
    }

    ResultadoAcao r;
    try {
        antes();
        operacao();
    } catch (...) {
        r.Falhou = true;
        r.Erro = std::current_exception();
    }
    const bool falhou = r.Falhou;
    depois(r);
    AtualizarBotoes();
    if (r.Falhou) {
        if (r.Erro)
            std::rethrow_exception(r.Erro);
        clip::Abort();
    }
    return !falhou;
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

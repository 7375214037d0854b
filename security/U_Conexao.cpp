#include "U_Conexao.h"

#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/data/Query.h"
#include "platform/firebird/Codec.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProxyStyle>
#include <QScreen>
#include <QToolButton>
#include <memory>

std::function<void()> TFrmConexao::Encerrar = [] { QCoreApplication::exit(0); };

namespace {

const QString kUsuarioManutencao = QStringLiteral("ZBVLO");
const QString kSenhaManutencao = QStringLiteral("QUARTZIL");

// Hidden characters shown as "*".
class EstiloSenha : public QProxyStyle {
public:
    explicit EstiloSenha(QObject* dono) : QProxyStyle() { setParent(dono); }
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, ret);
    }
};

// Size of the picture (conexao.svg); the boxes lie on its two white fields.
constexpr int kLargura = 520;
constexpr int kAltura = 320;

} // namespace

TFrmConexao::TFrmConexao(QWidget* parent, std::function<void()> aplicarDireitos)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), aplicarDireitos_(std::move(aplicarDireitos)) {
    Q_INIT_RESOURCE(conexao);
    setObjectName(QStringLiteral("FrmConexao"));
    setWindowTitle(QStringLiteral("Zbvlo Clipping"));
    setFixedSize(kLargura, kAltura);
    setModal(true);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(0, 0, kLargura, kAltura);
    Panel1->setAutoFillBackground(true);
    QPalette pal = Panel1->palette();
    pal.setColor(QPalette::Window, Qt::white);
    Panel1->setPalette(pal);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(0, 0, kLargura, kAltura);
    Image1->setPixmap(QPixmap(QStringLiteral(":/conexao/conexao.svg")));

    auto caixa = [this](const char* nome, int y) {
        auto* e = new QLineEdit(Panel1);
        e->setObjectName(QString::fromLatin1(nome));
        e->setFrame(false);
        e->setGeometry(287, y, 180, 22);
        e->setStyleSheet(QStringLiteral("QLineEdit { background: white; color: #0f2a4a; border: none; }"));
        e->installEventFilter(this);
        return e;
    };
    EdUsuario = caixa("EdUsuario", 120);
    EdUsuario->setMaxLength(15);
    EdSenha = caixa("EdSenha", 172);
    EdSenha->setEchoMode(QLineEdit::Password);
    EdSenha->setMaxLength(10);
    // One "*" per typed character (the style's default is a dot).
    EdSenha->setStyle(new EstiloSenha(EdSenha));

    auto botao = [this](const char* nome, const QString& texto, int x) {
        auto* b = new QToolButton(Panel1);
        b->setObjectName(QString::fromLatin1(nome));
        b->setText(texto);
        b->setGeometry(x, 222, 90, 30);
        b->setAutoRaise(false);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    SBOk = botao("SBOk", QStringLiteral("OK"), 282);
    QFont negrito = SBOk->font();
    negrito.setBold(true);
    SBOk->setFont(negrito);
    SBOk->setStyleSheet(QStringLiteral(
        "QToolButton { background: #16456e; color: white; border: 1px solid #0f2a4a; border-radius: 4px; }"
        "QToolButton:hover { background: #1f6f8b; } QToolButton:pressed { background: #0f2a4a; }"));
    SBFechar = botao("SBFechar", QStringLiteral("&Fechar"), 382);
    SBFechar->setStyleSheet(QStringLiteral(
        "QToolButton { background: #eef3f8; color: #16456e; border: 1px solid #9fb3c8; border-radius: 4px; }"
        "QToolButton:hover { background: #ffffff; } QToolButton:pressed { background: #d8e2ec; }"));
    connect(SBOk, &QToolButton::clicked, this, [this] { SBOkClick(); });
    connect(SBFechar, &QToolButton::clicked, this, [this] { SBFecharClick(); });

    setTabOrder(EdUsuario, EdSenha);
    setTabOrder(EdSenha, SBOk);
    setTabOrder(SBOk, SBFechar);
    EdUsuario->setFocus();

    if (QScreen* tela = QGuiApplication::primaryScreen()) {
        QRect g(QPoint(0, 0), size());
        g.moveCenter(tela->availableGeometry().center());
        move(g.topLeft());
    }
}

bool TFrmConexao::ExecutarLogin(QWidget* dono, const std::function<void()>& aplicarDireitos) {
    dataset::Query* funcionarios = DM->Q_Funcionarios;
    funcionarios->Close();
    funcionarios->Open();
    const bool vazio = funcionarios->IsEmpty();
    if (vazio) {
        DMBanco->UsuarioAtual = 0;
        DMBanco->PerfilAtual = 0;
        return true;
    }
    std::unique_ptr<TFrmConexao> dlg(new TFrmConexao(dono, aplicarDireitos));
    dlg->exec();
    return !dlg->Fechado();
}

bool TFrmConexao::FormCloseQuery() {
    const QString usuario = EdUsuario->text();
    const QString senha = EdSenha->text();
    if (usuario == kUsuarioManutencao && senha == kSenhaManutencao) {
        DMBanco->UsuarioAtual = 0;
        DMBanco->PerfilAtual = 0;
        return true;
    }
    const QString codificada = CodificarSenha(senha, kChaveSenha);
    dataset::Query* q = DMBanco->Q_Usuarios;
    q->Close();
    // A name the database cannot hold matches nobody.
    bool achou = false;
    if (fb::codec::canEncode(usuario) && fb::codec::canEncode(codificada)) {
        q->ParamByName(QStringLiteral("USUARIO"))->SetAsString(usuario);
        q->ParamByName(QStringLiteral("SENHA"))->SetAsString(codificada);
        q->Open();
        achou = !q->IsEmpty();
    }
    if (!achou) {
        msg::Informar(QStringLiteral("Acesso não permitido a este usuário. Tente novamente."));
        return false;
    }
    DMBanco->UsuarioAtual = q->FieldByName(QStringLiteral("FUN_CODIGO"))->AsInteger();
    dataset::Field* perfil = q->FieldByName(QStringLiteral("FUN_PERFILACESSO"));
    DMBanco->PerfilAtual = perfil->IsNull() ? 0 : perfil->AsInteger();
    try {
        if (aplicarDireitos_)
            aplicarDireitos_();
    } catch (...) {
        msg::Informar(QStringLiteral("É necessário definir direitos para este usuário!"));
        return false;
    }
    return true;
}

bool TFrmConexao::podeFechar() {
    if (liberado_)
        return true;
    try {
        liberado_ = FormCloseQuery();
    } catch (const std::exception& e) {
        // Database errors go to the application-wide handler; the dialog stays.
        TratarExcecao(this, e);
        liberado_ = false;
    }
    return liberado_;
}

void TFrmConexao::done(int r) {
    if (podeFechar())
        QDialog::done(r);
}

void TFrmConexao::closeEvent(QCloseEvent* e) {
    if (podeFechar())
        QDialog::closeEvent(e);
    else
        e->ignore();
}

bool TFrmConexao::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        const bool enter = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
        if (o == EdUsuario && enter && k->modifiers() == Qt::NoModifier) {
            focusNextChild();
            return true;
        }
        if (o == EdUsuario && k->key() == Qt::Key_Escape) {
            close();
            return true;
        }
        if (o == EdSenha && enter && k->modifiers() == Qt::NoModifier) {
            SBOk->click();
            return true;
        }
        if (o == EdSenha && k->key() == Qt::Key_Escape)
            return true;
    }
    return QDialog::eventFilter(o, e);
}

void TFrmConexao::SBOkClick() { close(); }

void TFrmConexao::SBFecharClick() {
    fechado_ = true;
    liberado_ = true;
    if (Encerrar)
        Encerrar();
    QDialog::done(QDialog::Rejected);
}

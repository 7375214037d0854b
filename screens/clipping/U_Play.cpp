#include "screens/clipping/U_Play.h"

#include "common/U_Funcoes.h"
#include "platform/media/Player.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
std::function<void(TFrmPlay&)>& preparacao() {
    static std::function<void(TFrmPlay&)> f;
    return f;
}
} // namespace

void TFrmPlay::AoCriarProximo(std::function<void(TFrmPlay&)> preparar) { preparacao() = std::move(preparar); }

TFrmPlay::TFrmPlay(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FrmPlay"));
    setWindowTitle(QStringLiteral("Play"));
    setProperty(kPropriedadeCentralizada, true);
    resize(480, 360);

    auto* raiz = new QVBoxLayout(this);
    raiz->setContentsMargins(0, 0, 0, 0);
    PTocar = new QFrame(this);
    PTocar->setObjectName(QStringLiteral("PTocar"));
    PTocar->setFrameShape(QFrame::Panel);
    PTocar->setFrameShadow(QFrame::Raised);
    PTocar->setLineWidth(2);
    raiz->addWidget(PTocar);

    auto* painel = new QVBoxLayout(PTocar);
    painel->setContentsMargins(6, 6, 6, 6);
    WMP = media::createPlayer(PTocar);
    WMP->setObjectName(QStringLiteral("WMP"));
    media::PlayerSettings s;  // no file, automatic start, rate 1, one play, volume 50, full interface
    s.url.clear();
    s.autoStart = true;
    s.rate = 1.0;
    s.playCount = 1;
    s.volume = 50;
    s.uiMode = media::UiMode::Full;
    s.contextMenu = true;
    s.errorDialogs = false;
    s.stretchToFit = false;
    s.fullScreen = false;
    WMP->setSettings(s);
    painel->addWidget(WMP, 1);

    auto* linha = new QHBoxLayout;
    linha->addStretch();
    BFechar = new QPushButton(QStringLiteral("&Fechar"), PTocar);
    BFechar->setObjectName(QStringLiteral("BFechar"));
    BFechar->setAutoDefault(false);
    connect(BFechar, &QPushButton::clicked, this, &QDialog::close);
    linha->addWidget(BFechar);
    linha->addStretch();
    painel->addLayout(linha);

    if (auto f = std::exchange(preparacao(), nullptr))
        f(*this);
}

TFrmPlay::~TFrmPlay() {
    if (WMP)
        WMP->stop();
}

void TFrmPlay::setVisible(bool visible) {
    // The modal launcher gives every window a title bar; this one has none.
    if (visible && !(windowFlags() & Qt::FramelessWindowHint))
        setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    QDialog::setVisible(visible);
}

#include "screens/agenda/U_Lembretes.h"

#include "app/U_Dm.h"
#include "common/Ambiente.h"
#include "common/U_Funcoes.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "screens/agenda/U_CadLembretes.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSoundEffect>
#include <QUrl>
#include <QVBoxLayout>

TFrmLembretes* FrmLembretes = nullptr;

namespace {

std::function<QDateTime()>& relogio() {
    static std::function<QDateTime()> r;
    return r;
}

std::function<void(const QString&)>& tocador() {
    static std::function<void(const QString&)> t;
    return t;
}

// One sound effect for the whole run; a file that cannot be played gives
// the default sound.
void tocarNoSistema(const QString& arquivo) {
    if (arquivo.isEmpty()) {
        QApplication::beep();
        return;
    }
    static QPointer<QSoundEffect> efeito;
    if (!efeito) {
        efeito = new QSoundEffect(qApp);
        QObject::connect(efeito, &QSoundEffect::statusChanged, efeito, [] {
            if (efeito && efeito->status() == QSoundEffect::Error)
                QApplication::beep();
        });
    }
    const QUrl url = QUrl::fromLocalFile(arquivo);
    if (efeito->source() != url)
        efeito->setSource(url);
    efeito->setLoopCount(1);
    efeito->play();
}

} // namespace

void DefinirRelogioLembretes(std::function<QDateTime()> r) {
    relogio() = std::move(r);
}

void DefinirTocadorAlarme(std::function<void(const QString&)> t) {
    tocador() = std::move(t);
}

void TocarAlarme() {
    const QString caminho = CaminhoNaPasta(QStringLiteral("alarme.wav"));
    const QString arquivo = QFileInfo(caminho).isFile() ? caminho : QString();
    if (tocador())
        tocador()(arquivo);
    else
        tocarNoSistema(arquivo);
}

// ---------------------------------------------------------------------------

TFrmLembretes::TFrmLembretes(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                          | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("FrmLembretes"));
    setWindowTitle(QStringLiteral("Lembretes"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A window made while a modal one runs would be blocked by it; this one
    // is answered first instead.
    if (QApplication::activeModalWidget())
        setWindowModality(Qt::ApplicationModal);

    DS_Lembretes = new dataset::DataSource(this);
    DS_Lembretes->setObjectName(QStringLiteral("DS_Lembretes"));
    DS_Lembretes->SetDataSet(DM ? DM->Q_Lembretes : nullptr);

    auto* layout = new QVBoxLayout(this);
    Label1 = new QLabel(QStringLiteral("Mensagem:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(Label1);
    DBMemo1 = new dataset::DBMemo(this);
    DBMemo1->setObjectName(QStringLiteral("DBMemo1"));
    DBMemo1->ReadOnlyControl = true;
    DBMemo1->SetDataSource(DS_Lembretes);
    DBMemo1->SetDataField(QStringLiteral("LEM_MENSAGEM"));
    Label1->setBuddy(DBMemo1);
    layout->addWidget(DBMemo1, 1);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    auto botao = [&](const char* nome, const QString& texto, void (TFrmLembretes::*acao)()) {
        auto* b = new QPushButton(texto, this);
        b->setObjectName(QLatin1String(nome));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, b, acao] { executar(b, acao); });
        botoes->addWidget(b);
        return b;
    };
    BitBtn2 = botao("BitBtn2", QStringLiteral("Excluir"), &TFrmLembretes::BitBtn2Click);
    BitBtn1 = botao("BitBtn1", QStringLiteral("Alterar"), &TFrmLembretes::BitBtn1Click);
    BitBtn3 = botao("BitBtn3", QStringLiteral("Fechar"), &TFrmLembretes::BitBtn3Click);
    layout->addLayout(botoes);
    resize(420, 240);
}

TFrmLembretes::~TFrmLembretes() {
    if (FrmLembretes == this)
        FrmLembretes = nullptr;
}

void TFrmLembretes::executar(QPushButton* botao, void (TFrmLembretes::*acao)()) {
    try {
        (this->*acao)();
    } catch (const std::exception& e) {
        TratarExcecao(botao, e);
    }
}

void TFrmLembretes::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (e->spontaneous() || tocou_)
        return;
    tocou_ = true;
    // Centred on the screen the first time it shows.
    if (QScreen* tela = screen() ? screen() : QGuiApplication::primaryScreen()) {
        QRect g = frameGeometry();
        g.moveCenter(tela->availableGeometry().center());
        move(g.topLeft());
    }
    TocarAlarme();
}

void TFrmLembretes::closeEvent(QCloseEvent* e) {
    if (FrmLembretes == this)
        FrmLembretes = nullptr;
    e->accept();
}

// Alterar: the register on this reminder, in the main window.
void TFrmLembretes::BitBtn1Click() {
    if (QMainWindow* principal = JanelaPrincipal(); principal && principal->isMinimized())
        principal->setWindowState(principal->windowState() & ~Qt::WindowMinimized);
    AbrirFormulario<TFrmCadLembretes>(false, 1);
    close();
}

// Excluir: deletes the reminder shown (applied and committed at once).
void TFrmLembretes::BitBtn2Click() {
    dataset::Query* q = DM ? DM->Q_Lembretes : nullptr;
    if (q && q->Active() && !q->IsEmpty()) {
        q->Edit();
        q->Delete();
    }
    close();
}

void TFrmLembretes::BitBtn3Click() {
    close();
}

// ---------------------------------------------------------------------------

void VerificarLembretesDevidos(QWidget* principal, QObject* origem) {
    static bool emCurso = false;
    if (emCurso || !DM)
        return;
    emCurso = true;
    struct Fim {
        ~Fim() { emCurso = false; }
    } fim;
    try {
        dataset::Query* q = DM->Q_Lembretes;
        q->Close();
        q->ParamByName(QStringLiteral("DATAEHORA"))
            ->SetAsDateTime(relogio() ? relogio()() : QDateTime::currentDateTime());
        q->ParamByName(QStringLiteral("IP"))->SetAsString(ObterIPLocal());
        q->Open();
        if (q->IsEmpty())
            return;
        if (!FrmLembretes)
            FrmLembretes = new TFrmLembretes(nullptr);
        if (principal) {
            principal->show();
            principal->raise();
            principal->activateWindow();
        }
        FrmLembretes->show();
        FrmLembretes->raise();
        FrmLembretes->activateWindow();
    } catch (const std::exception& e) {
        TratarExcecao(origem ? origem : static_cast<QObject*>(principal), e);
    }
}

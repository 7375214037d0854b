#include "U_Backup.h"

#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "db/Schema.h"
#include "platform/firebird/Service.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QTime>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

std::function<void()> TFrmBackup::Encerrar = [] { QCoreApplication::exit(0); };
std::function<QDate()> TFrmBackup::Hoje = [] { return QDate::currentDate(); };

TFrmBackup::TFrmBackup(QWidget* parent) : QDialog(parent), automatico_(ChamadaExterna != 0) {
    Q_INIT_RESOURCE(principal);
    setObjectName(QStringLiteral("FrmBackup"));
    setWindowTitle(QStringLiteral("Cópia de segurança (Backup)"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* coluna = new QVBoxLayout(this);
    coluna->setContentsMargins(10, 10, 10, 10);
    coluna->setSpacing(8);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setMinimumSize(520, 240);
    coluna->addWidget(Memo1, 1);

    reStatus = new QTextEdit(this);
    reStatus->setObjectName(QStringLiteral("reStatus"));
    reStatus->setReadOnly(true);
    reStatus->setFixedHeight(76);
    reStatus->setFocusPolicy(Qt::NoFocus);
    coluna->addWidget(reStatus);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch(1);
    BBackup = new QToolButton(this);
    BBackup->setObjectName(QStringLiteral("BBackup"));
    BBackup->setText(QStringLiteral("Iniciar cópia de segurança (Backup)"));
    BBackup->setIcon(QIcon(QStringLiteral(":/principal/icons/backup.svg")));
    BBackup->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BBackup->setIconSize(QSize(22, 22));
    BBackup->setMinimumHeight(32);
    BFechar = new QToolButton(this);
    BFechar->setObjectName(QStringLiteral("BFechar"));
    BFechar->setText(QStringLiteral("Fechar"));
    BFechar->setIcon(QIcon(QStringLiteral(":/principal/icons/sair.svg")));
    BFechar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    BFechar->setIconSize(QSize(22, 22));
    BFechar->setMinimumHeight(32);
    BFechar->setMinimumWidth(90);
    botoes->addWidget(BBackup);
    botoes->addWidget(BFechar);
    coluna->addLayout(botoes);

    connect(BBackup, &QToolButton::clicked, this, [this] { BBackupClick(); });
    connect(BFechar, &QToolButton::clicked, this, [this] { BFecharClick(); });
    resize(560, 400);
}

QString TFrmBackup::NomeDia(const QDate& data) {
    static const char* const nomes[] = {"Segunda", "Terca", "Quarta", "Quinta", "Sexta", "Sabado", "Domingo"};
    const int d = data.dayOfWeek();  // 1 = Monday .. 7 = Sunday
    return d >= 1 && d <= 7 ? QString::fromLatin1(nomes[d - 1]) : QString();
}

QString TFrmBackup::PastaDia(const QDate& data) {
    return CaminhoNaPasta(QStringLiteral("Copiadb/") + NomeDia(data));
}

QString TFrmBackup::ArquivoBackup(const QDate& data) {
    const QString semExtensao = PastaDia(data) + QStringLiteral("/BackupVexilClipping");
    const QFileInfo fi(semExtensao);
    return fi.path() + QLatin1Char('/') + fi.completeBaseName() + QStringLiteral(".gbk");
}

QString TFrmBackup::BancoBackup() { return CaminhoNaPasta(QStringLiteral("Vexildb/Clippingdb.fdb")); }

void TFrmBackup::adicionarStatus(const QString& texto, const QColor& cor, int tamanho) {
    QTextCursor c = reStatus->textCursor();
    c.movePosition(QTextCursor::End);
    QTextCharFormat f;
    f.setForeground(cor);
    f.setFontPointSize(tamanho);
    if (!reStatus->document()->isEmpty())
        c.insertBlock();
    c.setCharFormat(f);
    c.insertText(texto, f);
    reStatus->setTextCursor(c);
}

void TFrmBackup::BBackupClick() {
    iniciado_ = true;
    try {
        reStatus->clear();
        const QDate hoje = Hoje ? Hoje() : QDate::currentDate();
        const QString pasta = PastaDia(hoje);
        if (!QDir().mkpath(pasta))
            throw clip::Exception(QStringLiteral("Cannot create folder %1").arg(pasta));
        const QString host = DMBanco ? DMBanco->HostServidor : QString();
        const QString banco = BancoBackup();
        const QString arquivo = ArquivoBackup(hoje);

        {
            // Attached here, detached at the end of the block.
            fb::Service Backup(host, db::kUsuarioBanco, db::kSenhaBanco);
            adicionarStatus(
                QStringLiteral("Backup iniciado às %1 horas").arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))),
                QColor(0, 128, 0), 10);
            adicionarStatus(QStringLiteral("Aguarde..."), Qt::red, 10);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            Memo1->clear();
            Backup.backup(banco, arquivo, [this](const QString& linha) { Memo1->appendPlainText(linha); });
            adicionarStatus(
                QStringLiteral("Backup Finalizado às %1 horas").arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss"))),
                QColor(0, 128, 0), 10);
        }
        msg::Informar(QStringLiteral("Backup realizado com sucesso!"));
        if (automatico_ && Encerrar)
            Encerrar();
    } catch (...) {
        msg::Informar(QStringLiteral("Não foi possível efetuar o Backup!"));
    }
    close();
}

void TFrmBackup::BFecharClick() { close(); }

void TFrmBackup::paintEvent(QPaintEvent* e) {
    QDialog::paintEvent(e);
    if (automatico_ && !iniciado_) {
        iniciado_ = true;
        // Pressed once the paint is over: the backup runs its own loops.
        QTimer::singleShot(0, this, [this] { BBackupClick(); });
    }
}

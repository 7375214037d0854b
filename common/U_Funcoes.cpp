#include "U_Funcoes.h"
#include "Ambiente.h"
#include "Mensagens.h"

#include "platform/core/Exception.h"
#include "platform/firebird/Codec.h"
#include "platform/firebird/Error.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QLocale>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QNetworkInterface>
#include <QPointer>
#include <QScreen>
#include <QStringDecoder>

#include <cmath>
#include <cxxabi.h>
#include <cstdlib>
#include <typeinfo>

quint8 ChamadaExterna = 0;

// ---------------------------------------------------------------------------
// Form launcher

namespace {

QPointer<QMainWindow>& janelaPrincipal() {
    static QPointer<QMainWindow> j;
    return j;
}

bool centralizado(const QWidget* w) {
    return w->property(kPropriedadeCentralizada).toBool();
}

// Quits a local event loop once the watched window is hidden or destroyed.
class FimModal : public QObject {
public:
    FimModal(QWidget* w, QEventLoop& loop) : loop_(loop) {
        w->installEventFilter(this);
        connect(w, &QObject::destroyed, &loop, &QEventLoop::quit);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Hide && !static_cast<QWidget*>(o)->isVisible())
            loop_.quit();
        return false;
    }

private:
    QEventLoop& loop_;
};

} // namespace

void DefinirJanelaPrincipal(QMainWindow* janela) {
    janelaPrincipal() = janela;
}

QMainWindow* JanelaPrincipal() {
    return janelaPrincipal();
}

QMdiArea* AreaMdi() {
    QMainWindow* j = janelaPrincipal();
    return j ? qobject_cast<QMdiArea*>(j->centralWidget()) : nullptr;
}

int ArredondarPar(double v) {
    // The default floating-point rounding mode sends halves to the even
    // neighbour.
    return int(std::nearbyint(v));
}

void ExibirModal(QWidget* w) {
    if (auto* d = qobject_cast<QDialog*>(w)) {
        d->exec();
        return;
    }
    QPointer<QWidget> guarda(w);
    QEventLoop loop;
    FimModal fim(w, loop);
    w->setWindowModality(Qt::ApplicationModal);
    w->show();
    if (guarda && w->isVisible())
        loop.exec(QEventLoop::DialogExec);
}

QWidget* detail::abrirFormulario(const std::function<QWidget*()>& criar, const std::function<bool(QWidget*)>& daClasse,
                                 bool modal, int chamada) {
    ChamadaExterna = quint8(chamada);
    QMainWindow* principal = JanelaPrincipal();
    const QRect fp = principal ? principal->frameGeometry() : QRect();

    if (modal) {
        QPointer<QWidget> w = criar();
        const bool posicionada = w->testAttribute(Qt::WA_Moved);
        // A window of its own, kept above the main window.
        w->setParent(principal, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        if (!w->testAttribute(Qt::WA_Resized))
            w->adjustSize();
        if (centralizado(w)) {
            QScreen* tela = principal && principal->screen() ? principal->screen() : QGuiApplication::primaryScreen();
            QRect area = tela ? tela->availableGeometry() : QRect();
            QRect g = w->frameGeometry();
            g.moveCenter(area.center());
            w->move(g.topLeft());
        } else {
            // The top is fixed; a screen without a place of its own is
            // centred across the main window.
            const int esquerda =
                posicionada || !principal ? w->x() : fp.left() + (fp.width() - w->frameGeometry().width()) / 2;
            w->move(esquerda, ArredondarPar((fp.height() - w->frameGeometry().height()) / 2.0 + 35));
        }
        try {
            ExibirModal(w);
        } catch (...) {
            delete w.data();
            throw;
        }
        delete w.data();
        return nullptr;
    }

    QMdiArea* mdi = AreaMdi();
    if (!mdi)
        throw clip::Exception(QStringLiteral("A janela principal não foi criada."));
    for (QMdiSubWindow* sub : mdi->subWindowList(QMdiArea::CreationOrder)) {
        QWidget* c = sub->widget();
        if (c && daClasse(c)) {
            sub->show();
            sub->showNormal();
            c->show();
            mdi->setActiveSubWindow(sub);
            return nullptr;
        }
    }

    QWidget* w = criar();
    if (!w->testAttribute(Qt::WA_Resized))
        w->adjustSize();
    w->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* sub = mdi->addSubWindow(w);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    // A screen that closes itself takes its MDI frame along.
    QObject::connect(w, &QObject::destroyed, sub, &QObject::deleteLater);
    sub->show();
    const QRect fs = sub->frameGeometry();
    if (centralizado(w)) {
        const QRect area = mdi->viewport()->rect();
        sub->move(qMax(0, (area.width() - fs.width()) / 2), qMax(0, (area.height() - fs.height()) / 2));
    } else {
        const int topo = ArredondarPar((fp.height() - fs.height()) / 2.0 - 50);
        const int esquerda = ArredondarPar((fp.width() - fs.width()) / 2.0) - 12;
        // A title bar above or left of the area could not be reached.
        sub->move(qMax(0, esquerda), qMax(0, topo));
    }
    return w;
}

// ---------------------------------------------------------------------------
// Passwords

QString CodificarSenha(const QString& texto, int chave) {
    const auto k = static_cast<unsigned char>(chave & 0xFF);
    QByteArray bytes;
    bytes.reserve(texto.size());
    for (QChar ch : texto) {
        const QString s(ch);
        bytes.append(fb::codec::canEncode(s) ? fb::codec::encode(s) : QByteArray("?"));
    }
    for (char& c : bytes)
        c = char(static_cast<unsigned char>(~static_cast<unsigned char>(static_cast<unsigned char>(c) - k)));
    return fb::codec::decode(bytes);
}

// ---------------------------------------------------------------------------
// Workstation

QString EscolherIPLocal(const QList<QHostAddress>& doNome, const QList<QHostAddress>& dasInterfaces) {
    const auto ipv4 = [](const QHostAddress& a) { return a.protocol() == QAbstractSocket::IPv4Protocol; };
    QHostAddress primeiro;
    for (const QHostAddress& a : doNome)
        if (ipv4(a)) {
            primeiro = a;
            break;
        }
    if (!primeiro.isNull() && !primeiro.isLoopback())
        return primeiro.toString();
    for (const QHostAddress& a : dasInterfaces)
        if (ipv4(a) && !a.isLoopback())
            return a.toString();
    return primeiro.isNull() ? QStringLiteral("127.0.0.1") : primeiro.toString();
}

namespace {
std::function<QString()>& fonteIPLocal() {
    static std::function<QString()> f;
    return f;
}
} // namespace

void DefinirIPLocal(std::function<QString()> fonte) {
    fonteIPLocal() = std::move(fonte);
}

QString ObterIPLocal() {
    if (fonteIPLocal())
        return fonteIPLocal()();
    const QHostInfo info = QHostInfo::fromName(QHostInfo::localHostName());
    QList<QHostAddress> dasInterfaces;
    for (const QNetworkInterface& i : QNetworkInterface::allInterfaces()) {
        if (!i.flags().testFlag(QNetworkInterface::IsUp))
            continue;
        for (const QNetworkAddressEntry& e : i.addressEntries())
            dasInterfaces << e.ip();
    }
    return EscolherIPLocal(info.addresses(), dasInterfaces);
}

// ---------------------------------------------------------------------------
// Text helpers

void ListarSkins(const QString& pasta, QComboBox* combo) {
    QStringList nomes;
    const QDir dir(pasta);
    if (dir.exists()) {
        const QStringList arquivos =
            dir.entryList({QStringLiteral("*.skn")}, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        for (const QString& a : arquivos)
            if (a.contains(QLatin1Char('.')))
                nomes << a.left(a.size() - 4);
    }
    nomes.sort(Qt::CaseInsensitive);
    combo->clear();
    combo->addItems(nomes);
}

QString RemoverAtalho(const QString& texto) {
    QString r = texto;
    r.remove(QLatin1Char('&'));
    return r;
}

QString TrocarAcentos(const QString& texto) {
    static const QList<ushort> acentos = [] {
        QList<ushort> c{170, 186, 218, 250};
        for (auto [de, ate] : {std::pair{192, 195}, {199, 202}, {204, 206}, {211, 213},
                               {224, 227}, {231, 234}, {236, 238}, {243, 245}})
            for (int i = de; i <= ate; ++i)
                c << ushort(i);
        return c;
    }();
    QString r = texto;
    for (QChar& ch : r) {
        const ushort u = ch.unicode();
        if (u >= 'a' && u <= 'z')
            ch = QChar(u - 'a' + 'A');
        else if (acentos.contains(u))
            ch = QLatin1Char('_');
    }
    return r;
}

QString LerValorIni(const QString& arquivo, const QString& secao, const QString& chave, const QString& padrao) {
    QFile f(arquivo);
    if (!f.open(QIODevice::ReadOnly))
        return padrao;
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString texto = utf8.decode(bytes);
    if (utf8.hasError())
        texto = fb::codec::decode(bytes);
    bool naSecao = false;
    for (QString linha : texto.split(QRegularExpression(QStringLiteral("\r\n|\r|\n")))) {
        linha = linha.trimmed();
        if (linha.startsWith(QChar(0xFEFF)))
            linha = linha.mid(1).trimmed();
        if (linha.startsWith(QLatin1Char('['))) {
            const qsizetype fim = linha.indexOf(QLatin1Char(']'));
            naSecao = fim > 0 && linha.mid(1, fim - 1).trimmed().compare(secao, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!naSecao || linha.startsWith(QLatin1Char(';')))
            continue;
        const qsizetype igual = linha.indexOf(QLatin1Char('='));
        if (igual > 0 && linha.left(igual).trimmed().compare(chave, Qt::CaseInsensitive) == 0)
            return linha.mid(igual + 1).trimmed();
    }
    return padrao;
}

// ---------------------------------------------------------------------------
// Errors

QString NomeClasseErro(const std::exception& e) {
    if (auto* c = dynamic_cast<const clip::Exception*>(&e))
        return c->className();
    const char* bruto = typeid(e).name();
    int status = 0;
    char* nome = abi::__cxa_demangle(bruto, nullptr, nullptr, &status);
    QString r = QString::fromUtf8(status == 0 && nome ? nome : bruto);
    std::free(nome);
    return r;
}

QString MensagemErro(const std::exception& e) {
    if (auto* c = dynamic_cast<const clip::Exception*>(&e))
        return c->message();
    return QString::fromUtf8(e.what());
}

QString ComPontoFinal(const QString& texto) {
    if (texto.isEmpty() || texto.back().unicode() <= u'.')
        return texto;
    return texto + QLatin1Char('.');
}

void ExibirErro(const std::exception& e) {
    msg::InformarErro(ComPontoFinal(MensagemErro(e)));
}

void TratarErro(const QString& tela, const QString& usuario, const std::exception& e) {
    const QString m = MensagemErro(e);
    QString curta;
    if (dynamic_cast<const clip::EConvertError*>(&e)) {
        if (m.contains(QLatin1String("date and time")))
            curta = QStringLiteral("Informe uma data válida");
        else if (m.contains(QLatin1String("is not a valid time")))
            curta = QStringLiteral("Informe uma hora válida");
        else if (m.contains(QLatin1String("is not a valid date")))
            curta = QStringLiteral("Informe uma data válida");
    } else if (dynamic_cast<const fb::Error*>(&e) || dynamic_cast<const clip::EDatabaseError*>(&e)) {
        if (m.contains(QLatin1String("FOREIGN KEY")))
            curta = QStringLiteral("Ação não permitida! Existem dependências deste registro");
        else if (m.contains(QLatin1String("PRIMARY")))
            curta = QStringLiteral("Já existe um registro com esse código");
        else if (m.contains(QLatin1String("UPDATE FAILED")))
            curta = QStringLiteral("Alteração não efetuada");
    }
    if (curta.isEmpty())
        ExibirErro(e);
    else
        msg::Informar(curta);
    GravarLogErro(tela, usuario, m, NomeClasseErro(e), QString());
}

namespace {

std::function<QDateTime()>& relogioLog() {
    static std::function<QDateTime()> r;
    return r;
}

// Windows-1252; a character it cannot hold is written as "?".
QByteArray emWindows1252(const QString& texto) {
    if (fb::codec::canEncode(texto))
        return fb::codec::encode(texto);
    QByteArray r;
    for (QChar ch : texto) {
        const QString s(ch);
        r += fb::codec::canEncode(s) ? fb::codec::encode(s) : QByteArray("?");
    }
    return r;
}

} // namespace

void DefinirRelogioLog(std::function<QDateTime()> relogio) {
    relogioLog() = std::move(relogio);
}

int GravarLogErro(const QString& tela, const QString& usuario, const QString& descricao, const QString& tipoErro,
                  const QString& processo) {
    try {
        const QString caminho = CaminhoNaPasta(QStringLiteral("Erros.log"));
        const bool existia = QFileInfo::exists(caminho);
        QFile f(caminho);
        if (!f.open(existia ? (QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)
                            : (QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)))
            return -1;
        const auto linha = [&f](QString texto) {
            // A message of several lines (the server's status text) keeps
            // the file's line ends.
            texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
            texto.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
            const QByteArray b = emWindows1252(texto) + "\r\n";
            return f.write(b) == b.size();
        };

        QStringList linhas;
        if (existia) {
            linhas << QString(62, QLatin1Char('-')) << QString();
        } else {
            linhas << QStringLiteral("Vexil Sistemas - ") + TituloAplicacao()
                   << QStringLiteral("Fone: (11) 3555-0142 - E-mail: suporte@vexilsistemas.com.br")
                   << QStringLiteral("Rua das Acácias, 1200 - Sala 4 - Centro")
                   << QStringLiteral("CEP 01310-000 - São Paulo - SP") << QString(62, QLatin1Char('=')) << QString();
        }
        const QDateTime agora = relogioLog() ? relogioLog()() : QDateTime::currentDateTime();
        QString dataHora = agora.date().toString(QStringLiteral("dd/MM/yyyy"));
        if (agora.time() != QTime(0, 0))
            dataHora += QLatin1Char(' ') + agora.time().toString(QStringLiteral("hh:mm:ss"));
        linhas << QStringLiteral("Data/Hora............: ") + dataHora << QStringLiteral("Tela...........: ") + tela
               << QStringLiteral("Usuario..........: ") + usuario
               << QStringLiteral("Tipo de Erro...........: ") + tipoErro
               << QStringLiteral("Descrição..........: ") + descricao << QStringLiteral("Processo....: ") + processo
               << QString();
        for (const QString& l : linhas)
            if (!linha(l))
                return -1;
        f.close();
        return f.error() == QFileDevice::NoError ? 0 : -1;
    } catch (...) {
        return -1;
    }
}

namespace {
std::function<int()>& usuarioTratador() {
    static std::function<int()> u;
    return u;
}
} // namespace

void InstalarTratadorErros(std::function<int()> usuarioAtual) {
    usuarioTratador() = usuarioAtual ? std::move(usuarioAtual) : [] { return 0; };
}

void RemoverTratadorErros() {
    usuarioTratador() = nullptr;
}

bool TratadorErrosInstalado() {
    return bool(usuarioTratador());
}

void TratarExcecao(QObject* remetente, const std::exception& e) {
    if (dynamic_cast<const clip::EAbort*>(&e))
        return;
    if (!TratadorErrosInstalado()) {
        ExibirErro(e);
        return;
    }
    const QString tela = remetente ? remetente->objectName() : QString();
    TratarErro(tela, QString::number(usuarioTratador()()), e);
}

void AplicarFormatosProcesso() {
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
}

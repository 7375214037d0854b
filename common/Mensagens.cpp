#include "Mensagens.h"
#include "Ambiente.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>

namespace msg {

namespace {

Respondedor& respondedor() {
    static Respondedor r;
    return r;
}

RespondedorArquivo& respondedorArquivo() {
    static RespondedorArquivo r;
    return r;
}

QMessageBox::Icon iconeQt(Icone i) {
    switch (i) {
    case Icone::Informacao: return QMessageBox::Information;
    case Icone::Aviso: return QMessageBox::Warning;
    case Icone::Erro: return QMessageBox::Critical;
    case Icone::Pergunta: return QMessageBox::Question;
    case Icone::Nenhum: break;
    }
    return QMessageBox::NoIcon;
}

// The button that Esc presses.
Botao botaoEscape(Botoes b) {
    for (Botao c : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok, QMessageBox::Abort, QMessageBox::Ignore})
        if (b.testFlag(c))
            return c;
    return QMessageBox::NoButton;
}

QWidget* janelaAtiva() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w)
        w = QApplication::activeWindow();
    return w;
}

} // namespace

Botao Mostrar(const Mensagem& m) {
    if (respondedor())
        return respondedor()(m);
    // The label breaks lines only at line feeds; texts may separate their
    // parts with carriage returns alone.
    QString texto = m.texto;
    texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(iconeQt(m.icone), m.titulo, texto, m.botoes, janelaAtiva());
    if (m.padrao != QMessageBox::NoButton)
        box.setDefaultButton(m.padrao);
    const Botao esc = botaoEscape(m.botoes);
    if (esc != QMessageBox::NoButton)
        box.setEscapeButton(esc);
    static const std::pair<Botao, const char*> textos[] = {
        {QMessageBox::Ok, "OK"},           {QMessageBox::Yes, "&Sim"},         {QMessageBox::No, "&Não"},
        {QMessageBox::Cancel, "Cancelar"}, {QMessageBox::Abort, "&Anular"},    {QMessageBox::Retry, "&Repetir"},
        {QMessageBox::Ignore, "&Ignorar"}, {QMessageBox::YesToAll, "Sim para &todos"},
        {QMessageBox::NoToAll, "Nã&o para todos"}, {QMessageBox::Close, "&Fechar"}};
    for (const auto& [b, t] : textos)
        if (QAbstractButton* botao = box.button(b))
            botao->setText(QString::fromUtf8(t));
    box.setWindowModality(m.modalTarefa ? Qt::ApplicationModal : Qt::WindowModal);
    const int r = box.exec();
    return r == QMessageBox::NoButton ? esc : Botao(r);
}

void Informar(const QString& texto) {
    Mensagem m;
    m.texto = texto;
    m.titulo = TituloAplicacao();
    Mostrar(m);
}

void InformarErro(const QString& texto) {
    Mensagem m;
    m.texto = texto;
    m.titulo = TituloAplicacao();
    m.icone = Icone::Erro;
    Mostrar(m);
}

void Avisar(const QString& texto, const QString& titulo) {
    Mensagem m;
    m.texto = texto;
    m.titulo = titulo;
    m.icone = Icone::Aviso;
    Mostrar(m);
}

Botao Perguntar(const QString& texto, Botoes botoes, Botao padrao, const QString& titulo, Icone icone) {
    Mensagem m;
    m.texto = texto;
    m.titulo = titulo;
    m.icone = icone;
    m.botoes = botoes;
    m.padrao = padrao;
    m.modalTarefa = true;
    return Mostrar(m);
}

bool Confirmar(const QString& texto, Botao padrao) {
    return Perguntar(texto, QMessageBox::Yes | QMessageBox::No, padrao) == QMessageBox::Yes;
}

void InstalarRespondedor(Respondedor r) {
    respondedor() = std::move(r);
}

namespace {
QString dialogo(QWidget* pai, const DialogoArquivo& d) {
    if (respondedorArquivo())
        return respondedorArquivo()(d);
    switch (d.tipo) {
    case DialogoArquivo::Tipo::Abrir: return QFileDialog::getOpenFileName(pai, d.titulo, d.pasta, d.filtro);
    case DialogoArquivo::Tipo::Salvar: return QFileDialog::getSaveFileName(pai, d.titulo, d.pasta, d.filtro);
    case DialogoArquivo::Tipo::EscolherPasta: return QFileDialog::getExistingDirectory(pai, d.titulo, d.pasta);
    }
    return QString();
}
} // namespace

QString AbrirArquivo(QWidget* pai, const QString& titulo, const QString& pasta, const QString& filtro) {
    return dialogo(pai, {DialogoArquivo::Tipo::Abrir, titulo, pasta, filtro});
}

QString SalvarArquivo(QWidget* pai, const QString& titulo, const QString& pasta, const QString& filtro) {
    return dialogo(pai, {DialogoArquivo::Tipo::Salvar, titulo, pasta, filtro});
}

QString EscolherPasta(QWidget* pai, const QString& titulo, const QString& pasta) {
    return dialogo(pai, {DialogoArquivo::Tipo::EscolherPasta, titulo, pasta, QString()});
}

void InstalarRespondedorArquivo(RespondedorArquivo r) {
    respondedorArquivo() = std::move(r);
}

Roteiro::Roteiro() {
    InstalarRespondedor([this](const Mensagem& m) {
        mensagens_.append(m);
        if (aoMostrar_)
            aoMostrar_(m);
        if (!respostas_.isEmpty())
            return respostas_.takeFirst();
        if (m.padrao != QMessageBox::NoButton)
            return m.padrao;
        return m.botoes.testFlag(QMessageBox::Ok) ? Botao(QMessageBox::Ok) : botaoEscape(m.botoes);
    });
    InstalarRespondedorArquivo([this](const DialogoArquivo& d) {
        dialogos_.append(d);
        return caminhos_.isEmpty() ? QString() : caminhos_.takeFirst();
    });
}

Roteiro::~Roteiro() {
    InstalarRespondedor({});
    InstalarRespondedorArquivo({});
}

Roteiro& Roteiro::responder(Botao b) {
    respostas_.append(b);
    return *this;
}

Roteiro& Roteiro::responderArquivo(const QString& caminho) {
    caminhos_.append(caminho);
    return *this;
}

QStringList Roteiro::textos() const {
    QStringList t;
    for (const Mensagem& m : mensagens_)
        t << m.texto;
    return t;
}

} // namespace msg

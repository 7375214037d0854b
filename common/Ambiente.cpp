#include "Ambiente.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString& pastaDefinida() {
    static QString pasta;
    return pasta;
}
QString& titulo() {
    static QString t = QStringLiteral("Zbvlo Clipping");
    return t;
}
QString comBarra(QString p) {
    if (!p.endsWith(QLatin1Char('/')))
        p += QLatin1Char('/');
    return p;
}
} // namespace

QString PastaExecutavel() {
    if (!pastaDefinida().isEmpty())
        return pastaDefinida();
    return comBarra(QDir::fromNativeSeparators(QCoreApplication::applicationDirPath()));
}

void DefinirPastaExecutavel(const QString& pasta) {
    pastaDefinida() = pasta.isEmpty() ? QString() : comBarra(QDir::fromNativeSeparators(QDir(pasta).absolutePath()));
}

QString CaminhoNaPasta(const QString& nome) {
    return PastaExecutavel() + nome;
}

QString TituloAplicacao() {
    return titulo();
}

void DefinirTituloAplicacao(const QString& t) {
    titulo() = t;
}

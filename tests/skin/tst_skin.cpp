#include "platform/skin/SkinData.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList avisos;
void capturar(QtMsgType tipo, const QMessageLogContext&, const QString& texto) {
    if (tipo != QtDebugMsg && tipo != QtInfoMsg)
        avisos << texto;
}

void escrever(const QString& arquivo, const QByteArray& conteudo) {
    QFile f(arquivo);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(conteudo);
}

QColor corTexto(QWidget* w) {
    return w->palette().color(QPalette::Text);
}

} // namespace

class TstSkin : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void ativarReestilizaJanelasAbertas();
    void trocaEmExecucao();
    void arquivoAusenteDaAparenciaPadrao_data();
    void arquivoAusenteDaAparenciaPadrao();
    void nomeSemDiferencaDeCaixa();
    void skinsDistribuidas();
};

void TstSkin::cleanup() {
    qApp->setStyleSheet(QString());
}

void TstSkin::ativarReestilizaJanelasAbertas() {
    QTemporaryDir dir;
    escrever(dir.filePath("Vermelho.skn"), "QLineEdit { color: #ff0000; }");
    QLineEdit a, b;
    a.show();
    b.show();
    const QColor padrao = corTexto(&a);
    skin::SkinData sd;
    QSignalSpy mudou(&sd, &skin::SkinData::changed);
    sd.setSkinFile(dir.filePath("Vermelho.skn"));
    QVERIFY(!sd.active());
    QCOMPARE(qApp->styleSheet(), QString());
    sd.activate();
    QVERIFY(sd.active());
    QCOMPARE(corTexto(&a), QColor(0xff, 0, 0));
    QCOMPARE(corTexto(&b), QColor(0xff, 0, 0));
    // A window opened afterwards takes it as well.
    QLineEdit c;
    c.show();
    QCOMPARE(corTexto(&c), QColor(0xff, 0, 0));
    sd.deactivate();
    QVERIFY(!sd.active());
    QCOMPARE(qApp->styleSheet(), QString());
    QCOMPARE(corTexto(&a), padrao);
    QCOMPARE(mudou.count(), 2);
}

void TstSkin::trocaEmExecucao() {
    QTemporaryDir dir;
    escrever(dir.filePath("Vermelho.skn"), "QLineEdit { color: #ff0000; }");
    escrever(dir.filePath("Verde.skn"), "QLineEdit { color: #00ff00; }");
    QLineEdit e;
    e.show();
    skin::SkinData sd;
    sd.setSkinFile(dir.filePath("Vermelho.skn"));
    sd.activate();
    QCOMPARE(corTexto(&e), QColor(0xff, 0, 0));
    sd.setSkinFile(dir.filePath("Verde.skn"));
    QCOMPARE(corTexto(&e), QColor(0, 0xff, 0));
    // The file is read again on activation.
    escrever(dir.filePath("Verde.skn"), "QLineEdit { color: #0000ff; }");
    sd.activate();
    QCOMPARE(corTexto(&e), QColor(0, 0, 0xff));
}

void TstSkin::arquivoAusenteDaAparenciaPadrao_data() {
    QTest::addColumn<QString>("arquivo");
    QTest::newRow("arquivo inexistente") << "Sumiu.skn";
    QTest::newRow("nome vazio") << ".skn";
    QTest::newRow("pasta inexistente") << "nao/existe/Escuro.skn";
    QTest::newRow("é uma pasta") << "pasta.skn";
}

void TstSkin::arquivoAusenteDaAparenciaPadrao() {
    QFETCH(QString, arquivo);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("pasta.skn");
    qApp->setStyleSheet(QStringLiteral("QLineEdit { color: #ff0000; }"));
    avisos.clear();
    auto anterior = qInstallMessageHandler(capturar);
    skin::SkinData sd;
    sd.setSkinFile(dir.filePath(arquivo));
    sd.activate();
    qInstallMessageHandler(anterior);
    QVERIFY(sd.active());
    QCOMPARE(sd.styleSheet(), QString());
    QCOMPARE(qApp->styleSheet(), QString());
    QVERIFY2(avisos.isEmpty(), qPrintable(avisos.join('\n')));
}

void TstSkin::nomeSemDiferencaDeCaixa() {
    QTemporaryDir dir;
    escrever(dir.filePath("Escuro.skn"), "QLineEdit { color: #ff0000; }");
    QCOMPARE(skin::SkinData::resolve(dir.filePath("escuro.SKN")), dir.filePath("Escuro.skn"));
    QCOMPARE(skin::SkinData::resolve(dir.filePath("Escuro.skn")), dir.filePath("Escuro.skn"));
    QCOMPARE(skin::SkinData::resolve(dir.filePath("Escur.skn")), QString());
    skin::SkinData sd;
    sd.setSkinFile(dir.filePath("ESCURO.skn"));
    sd.activate();
    QCOMPARE(qApp->styleSheet(), QStringLiteral("QLineEdit { color: #ff0000; }"));
}

void TstSkin::skinsDistribuidas() {
    const QDir dir(QStringLiteral(CLIP_SKINS_DIR));
    const QStringList skins = dir.entryList({"*.skn"}, QDir::Files, QDir::Name);
    for (const char* esperado : {"Claro.skn", "Escuro.skn", "Zbvlo.skn"})
        QVERIFY2(skins.contains(QString::fromLatin1(esperado)), esperado);
    QWidget janela;
    auto* campo = new QLineEdit(&janela);
    janela.show();
    QSet<QRgb> fundos;
    for (const QString& s : skins) {
        avisos.clear();
        auto anterior = qInstallMessageHandler(capturar);
        skin::SkinData sd;
        sd.setSkinFile(dir.filePath(s));
        sd.activate();
        QApplication::processEvents();
        janela.grab();
        qInstallMessageHandler(anterior);
        QVERIFY2(!sd.styleSheet().isEmpty(), qPrintable(s));
        // Qt reports a style sheet it cannot parse as a warning.
        QVERIFY2(avisos.isEmpty(), qPrintable(s + ": " + avisos.join('\n')));
        fundos.insert(janela.palette().color(QPalette::Window).rgb());
        QVERIFY(campo->palette().color(QPalette::Base) != campo->palette().color(QPalette::Text));
    }
    QCOMPARE(fundos.size(), int(skins.size()));
}

QTEST_MAIN(TstSkin)
#include "tst_skin.moc"

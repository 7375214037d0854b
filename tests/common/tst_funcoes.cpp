#include "common/U_Funcoes.h"

#include "platform/firebird/Codec.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QNetworkInterface>
#include <QTemporaryDir>
#include <QTest>

class TstFuncoes : public QObject {
    Q_OBJECT
private slots:
    void codificarSenha_data();
    void codificarSenha();
    void codificarSenhaFormula();
    void trocarAcentos_data();
    void trocarAcentos();
    void removerAtalho_data();
    void removerAtalho();
    void listarSkins();
    void escolherIPLocal_data();
    void escolherIPLocal();
    void obterIPLocalDaMaquina();
    void arredondarPar_data();
    void arredondarPar();
    void lerValorIni_data();
    void lerValorIni();
};

void TstFuncoes::codificarSenha_data() {
    QTest::addColumn<QString>("texto");
    QTest::newRow("vazio") << QString();
    QTest::newRow("ascii") << QStringLiteral("segredo123");
    QTest::newRow("sinais") << QStringLiteral(" !~}{|`@");
    QTest::newRow("acentos") << QStringLiteral("ação€ÿ");
}

void TstFuncoes::codificarSenha() {
    QFETCH(QString, texto);
    const QString c = CodificarSenha(texto, kChaveSenha);
    QCOMPARE(c.size(), texto.size());
    QCOMPARE(CodificarSenha(c, kChaveSenha), texto);
    if (!texto.isEmpty())
        QVERIFY(c != texto);
    // The stored form has to be valid database text.
    QVERIFY(fb::codec::canEncode(c));
}

void TstFuncoes::codificarSenhaFormula() {
    // Each byte becomes (K - c - 1) mod 256, K the key's low byte.
    QCOMPARE(CodificarSenha(QStringLiteral("A"), 0x141), QString(QChar(0x41 - 0x41 - 1 + 256)));
    QCOMPARE(CodificarSenha(QStringLiteral("a"), kChaveSenha), QString(QChar((kChaveSenha - 'a' - 1) & 0xFF)));
    // Printable ASCII lands on printable Latin-1 with the system's key.
    for (char c = ' '; c <= '~'; ++c) {
        const ushort u = CodificarSenha(QString(QLatin1Char(c))).at(0).unicode();
        QVERIFY2(u >= 0xA0 && u <= 0xFF, qPrintable(QString(QLatin1Char(c))));
    }
}

void TstFuncoes::trocarAcentos_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("ação") << QStringLiteral("ação") << QStringLiteral("A__O");
    QTest::newRow("MÚSICA") << QStringLiteral("MÚSICA") << QStringLiteral("M_SICA");
    QTest::newRow("Müller") << QStringLiteral("Müller") << QStringLiteral("MüLLER");
    QTest::newRow("ordinais") << QStringLiteral("1ª 2º") << QStringLiteral("1_ 2_");
    QTest::newRow("fora do conjunto") << QStringLiteral("ÄËÏÖÑñÒÙÛû") << QStringLiteral("ÄËÏÖÑñÒÙÛû");
    QTest::newRow("maiúsculas") << QStringLiteral("ÀÁÂÃÇÈÉÊÌÍÎÓÔÕÚ") << QString(15, QLatin1Char('_'));
    QTest::newRow("minúsculas") << QStringLiteral("àáâãçèéêìíîóôõú") << QString(15, QLatin1Char('_'));
    QTest::newRow("outros") << QStringLiteral("o'brien 50%") << QStringLiteral("O'BRIEN 50%");
}

void TstFuncoes::trocarAcentos() {
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    QCOMPARE(TrocarAcentos(texto), esperado);
}

void TstFuncoes::removerAtalho_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("menu") << QStringLiteral("C&onfiguração") << QStringLiteral("Configuração");
    QTest::newRow("só &") << QStringLiteral("&&&") << QString();
    QTest::newRow("sem &") << QStringLiteral("Clientes") << QStringLiteral("Clientes");
    QTest::newRow("vários") << QStringLiteral("&A & &B&") << QStringLiteral("A  B");
}

void TstFuncoes::removerAtalho() {
    QFETCH(QString, texto);
    QFETCH(QString, esperado);
    QCOMPARE(RemoverAtalho(texto), esperado);
}

void TstFuncoes::listarSkins() {
    QTemporaryDir dir;
    for (const char* nome : {"escuro.skn", "Claro.SKN", "Zbvlo.skn", "leiame.txt", "azul.skn.bak"}) {
        QFile f(dir.filePath(QString::fromLatin1(nome)));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QDir(dir.path()).mkdir(QStringLiteral("pasta.skn"));
    QComboBox combo;
    combo.addItem(QStringLiteral("antigo"));
    ListarSkins(dir.path() + QLatin1Char('/'), &combo);
    QStringList itens;
    for (int i = 0; i < combo.count(); ++i)
        itens << combo.itemText(i);
    QCOMPARE(itens, (QStringList{"Claro", "escuro", "Zbvlo"}));

    ListarSkins(dir.filePath(QStringLiteral("nao-existe/")), &combo);
    QCOMPARE(combo.count(), 0);
}

void TstFuncoes::escolherIPLocal_data() {
    QTest::addColumn<QStringList>("doNome");
    QTest::addColumn<QStringList>("interfaces");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("nome resolve para a rede") << QStringList{"192.168.0.7", "10.0.0.2"}
                                              << QStringList{"127.0.0.1", "10.0.0.2"} << "192.168.0.7";
    QTest::newRow("ipv6 antes") << QStringList{"fe80::1", "192.168.0.7"} << QStringList{} << "192.168.0.7";
    QTest::newRow("nome em loopback") << QStringList{"127.0.1.1"}
                                      << QStringList{"127.0.0.1", "::1", "fe80::2", "10.1.2.3", "10.9.9.9"}
                                      << "10.1.2.3";
    QTest::newRow("só loopback") << QStringList{"127.0.1.1"} << QStringList{"127.0.0.1"} << "127.0.1.1";
    QTest::newRow("nome não resolve") << QStringList{} << QStringList{"127.0.0.1", "172.16.5.4"} << "172.16.5.4";
    QTest::newRow("nada") << QStringList{} << QStringList{} << "127.0.0.1";
}

void TstFuncoes::escolherIPLocal() {
    QFETCH(QStringList, doNome);
    QFETCH(QStringList, interfaces);
    QFETCH(QString, esperado);
    const auto enderecos = [](const QStringList& l) {
        QList<QHostAddress> r;
        for (const QString& s : l)
            r << QHostAddress(s);
        return r;
    };
    QCOMPARE(EscolherIPLocal(enderecos(doNome), enderecos(interfaces)), esperado);
}

void TstFuncoes::obterIPLocalDaMaquina() {
    const QString ip = ObterIPLocal();
    QHostAddress a;
    QVERIFY2(a.setAddress(ip) && a.protocol() == QAbstractSocket::IPv4Protocol, qPrintable(ip));
    bool temRede = false;
    for (const QHostAddress& i : QNetworkInterface::allAddresses())
        temRede |= i.protocol() == QAbstractSocket::IPv4Protocol && !i.isLoopback();
    if (temRede)
        QVERIFY2(!a.isLoopback(), qPrintable(ip));
}

void TstFuncoes::arredondarPar_data() {
    QTest::addColumn<double>("valor");
    QTest::addColumn<int>("esperado");
    QTest::newRow("84.5") << 84.5 << 84;
    QTest::newRow("85.5") << 85.5 << 86;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("2.4") << 2.4 << 2;
    QTest::newRow("2.6") << 2.6 << 3;
}

void TstFuncoes::arredondarPar() {
    QFETCH(double, valor);
    QFETCH(int, esperado);
    QCOMPARE(ArredondarPar(valor), esperado);
}

void TstFuncoes::lerValorIni_data() {
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<QString>("esperado");
    QTest::newRow("valor") << QByteArray("[Skin]\r\nSkin=Escuro\r\n") << "Escuro";
    QTest::newRow("lf e brancos") << QByteArray("[ skin ]\n  SKIN = Claro  \n") << "Claro";
    QTest::newRow("vazio") << QByteArray("[Skin]\r\nSkin=\r\n") << "";
    QTest::newRow("sem chave") << QByteArray("[Skin]\r\nOutra=1\r\n") << "padrão";
    QTest::newRow("outra seção") << QByteArray("[Cores]\r\nSkin=Azul\r\n[Skin]\r\n") << "padrão";
    QTest::newRow("latin-1") << QByteArray("[Skin]\r\nSkin=Cora\xe7\xe3o\r\n") << "Coração";
}

void TstFuncoes::lerValorIni() {
    QFETCH(QByteArray, conteudo);
    QFETCH(QString, esperado);
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("Skin.ini")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(conteudo);
    f.close();
    QCOMPARE(LerValorIni(f.fileName(), QStringLiteral("Skin"), QStringLiteral("Skin"), QStringLiteral("padrão")),
             esperado);
}

QTEST_MAIN(TstFuncoes)
#include "tst_funcoes.moc"

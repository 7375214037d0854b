#include "support/TempDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "app/U_PrincipalProvisorio.h"
#include "common/Ambiente.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/data/DataSet.h"
#include "platform/data/TableDataset.h"
#include "platform/firebird/Error.h"
#include "platform/skin/SkinData.h"

#include <QFile>
#include <QMdiArea>
#include <QTest>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <QTimer>

using testsupport::TempDatabase;

namespace {

void escrever(const QString& arquivo, const QByteArray& conteudo) {
    QFile f(arquivo);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(conteudo);
}

const QString kMensagemConexao = QStringLiteral("Não foi possível conectar com a Base de Dados");

} // namespace

class TstInicializacao : public QObject {
    Q_OBJECT
private slots:
    void cleanup();
    void inicioNoBancoEmbutido();
    void arquivoDeLocalizacao_data();
    void arquivoDeLocalizacao();
    void localizacaoEHost_data();
    void localizacaoEHost();
    void falhaDeConexao_data();
    void falhaDeConexao();
    void erroNaCriacaoSoMostra();
    void skinIni_data();
    void skinIni();
    void proximoCodigo_data();
    void proximoCodigo();
    void proximoCodigoGeradorInexistente();
    void proximoNumeroPedido();
    void execucaoCompleta();
    void sinalDeTerminoEncerraEmOrdem();  // last: the engine is shut down after it
};

void TstInicializacao::cleanup() {
    LiberarModulosDados();
    RemoverTratadorErros();
    DefinirJanelaPrincipal(nullptr);
    DefinirPastaExecutavel(QString());
    qApp->setStyleSheet(QString());
    QLocale::setDefault(QLocale::c());
}

void TstInicializacao::inicioNoBancoEmbutido() {
    TempDatabase db;
    DefinirPastaExecutavel(db.folder());
    msg::Roteiro roteiro;
    QLocale::setDefault(QLocale::c());
    IniciarAplicacao();
    QCOMPARE(TituloAplicacao(), QStringLiteral("Zbvlo Clipping"));
    QVERIFY(CriarModulosDados());
    QVERIFY(DMBanco && DM);
    QVERIFY(roteiro.mensagens().isEmpty());
    QVERIFY(DMBanco->DB_Clipping.isConnected());
    QVERIFY(DMBanco->Trans_Clipping.isActive());
    QCOMPARE(DMBanco->NomeBanco, db.path());
    QCOMPARE(DMBanco->HostServidor, QString());
    QCOMPARE(DMBanco->ModuloAtual, 0);
    QCOMPARE(DMBanco->UsuarioAtual, 0);
    QCOMPARE(DMBanco->PerfilAtual, 0);
    QCOMPARE(DMBanco->PedidoAtual, 0);
    QVERIFY(!DMBanco->sd1->active());
    QVERIFY(DMBanco->TB_Empresa->Active());
    QCOMPARE(dataset::DefaultTransaction(), &DMBanco->Trans_Clipping);
    // The handler and the formats come with the main window, not before.
    QVERIFY(!TratadorErrosInstalado());
    QCOMPARE(QLocale().name(), QStringLiteral("C"));
}

void TstInicializacao::arquivoDeLocalizacao_data() {
    QTest::addColumn<QByteArray>("antes");
    QTest::addColumn<QByteArray>("depois");
    QTest::addColumn<QString>("host");  // %1 stands for the database path
    QTest::newRow("só o caminho") << QByteArray() << QByteArray("\r\n") << "";
    QTest::newRow("sem fim de linha") << QByteArray() << QByteArray() << "";
    QTest::newRow("brancos em volta") << QByteArray("  \t") << QByteArray("   \r\nservidor:3050\r\n")
                                      << "  \t%1   \r\nservidor";
    QTest::newRow("várias linhas, lf") << QByteArray() << QByteArray("\nlinha dois\nhost:x\n")
                                       << "%1\r\nlinha dois\r\nhost";
}

void TstInicializacao::arquivoDeLocalizacao() {
    QFETCH(QByteArray, antes);
    QFETCH(QByteArray, depois);
    QFETCH(QString, host);
    TempDatabase db;
    DefinirPastaExecutavel(db.folder());
    escrever(db.folder() + "/BaseClipping.ini", antes + QFile::encodeName(db.path()) + depois);
    msg::Roteiro roteiro;
    QVERIFY(CriarModulosDados());
    QVERIFY(roteiro.mensagens().isEmpty());
    QCOMPARE(DMBanco->NomeBanco, db.path());
    QCOMPARE(DMBanco->HostServidor, QString(host).replace(QStringLiteral("%1"), db.path()));
}

void TstInicializacao::localizacaoEHost_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("host");
    QTest::newRow("host:caminho") << "servidor:/dados/Clippingdb.fdb\r\n"
                                  << "servidor:/dados/Clippingdb.fdb" << "servidor";
    QTest::newRow("endereço") << "192.168.0.10:C:\\Vexil\\Clippingdb.fdb" << "192.168.0.10:C:\\Vexil\\Clippingdb.fdb"
                              << "192.168.0.10";
    QTest::newRow("letra de unidade") << "C:\\Vexildb\\Clippingdb.fdb" << "C:\\Vexildb\\Clippingdb.fdb" << "C";
    QTest::newRow("brancos em volta") << "  servidor:/x.fdb \x01\r\n" << "servidor:/x.fdb" << "  servidor";
    QTest::newRow("dois-pontos na segunda linha") << "/dados/x.fdb\r\nservidor:y" << "/dados/x.fdb"
                                                  << "/dados/x.fdb\r\nservidor";
    QTest::newRow("sem dois-pontos") << "/dados/x.fdb\r\noutra\r\n" << "/dados/x.fdb" << "";
    QTest::newRow("primeira linha vazia") << "\r\nservidor:/x.fdb" << "" << "\r\nservidor";
    QTest::newRow("vazio") << "" << "" << "";
}

void TstInicializacao::localizacaoEHost() {
    QFETCH(QString, texto);
    QFETCH(QString, nome);
    QFETCH(QString, host);
    QTemporaryDir dir;
    const QString arquivo = dir.filePath("BaseClipping.ini");
    escrever(arquivo, texto.toUtf8());
    const QStringList linhas = TDMBanco::LerLinhas(arquivo);
    QCOMPARE(TDMBanco::LocalizacaoBanco(linhas), nome);
    QCOMPARE(TDMBanco::CalcularHostServidor(linhas), host);
}

void TstInicializacao::falhaDeConexao_data() {
    QTest::addColumn<bool>("existe");
    QTest::addColumn<QByteArray>("conteudo");
    QTest::newRow("sem arquivo") << false << QByteArray();
    QTest::newRow("arquivo vazio") << true << QByteArray();
    QTest::newRow("só brancos") << true << QByteArray("   \r\n");
    QTest::newRow("caminho errado") << true << QByteArray("/nao/existe/Clippingdb.fdb\r\n");
    QTest::newRow("servidor recusa") << true << QByteArray("127.0.0.1/1:/nao/existe/Clippingdb.fdb\r\n");
}

void TstInicializacao::falhaDeConexao() {
    QFETCH(bool, existe);
    QFETCH(QByteArray, conteudo);
    QTemporaryDir dir;
    DefinirPastaExecutavel(dir.path());
    if (existe)
        escrever(dir.filePath("BaseClipping.ini"), conteudo);
    msg::Roteiro roteiro;
    bool criouJanela = false;
    const int r = ExecutarAplicacao([&] {
        criouJanela = true;
        return new TFrmPrincipalProvisorio;
    });
    QCOMPARE(r, 1);
    QVERIFY(!criouJanela);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
    QVERIFY(!DMBanco && !DM);
    QCOMPARE(roteiro.mensagens().size(), 1);
    const msg::Mensagem& m = roteiro.ultima();
    QCOMPARE(m.texto, kMensagemConexao);
    QCOMPARE(m.titulo, QStringLiteral("Zbvlo Clipping"));
    QCOMPARE(m.icone, msg::Icone::Nenhum);
    QVERIFY(!TratadorErrosInstalado());
    QVERIFY(!QFile::exists(dir.filePath("Erros.log")));
}

void TstInicializacao::erroNaCriacaoSoMostra() {
    TempDatabase db;
    db.exec("drop table TB_EMPRESA");
    DefinirPastaExecutavel(db.folder());
    msg::Roteiro roteiro;
    // Not a connection failure: shown as it is, not logged, start-up goes on.
    QVERIFY(CriarModulosDados());
    QVERIFY(DMBanco && DM);
    QCOMPARE(roteiro.mensagens().size(), 1);
    QCOMPARE(roteiro.ultima().icone, msg::Icone::Erro);
    QVERIFY2(roteiro.ultima().texto.contains("TB_EMPRESA"), qPrintable(roteiro.ultima().texto));
    QVERIFY(roteiro.ultima().texto.endsWith('.'));
    QVERIFY(!QFile::exists(db.folder() + "/Erros.log"));
    QVERIFY(DMBanco->DB_Clipping.isConnected());
}

void TstInicializacao::skinIni_data() {
    QTest::addColumn<bool>("existe");
    QTest::addColumn<QByteArray>("conteudo");
    QTest::addColumn<bool>("ativo");
    QTest::addColumn<QString>("arquivo");  // relative to the executable folder
    QTest::addColumn<bool>("comFolha");
    QTest::newRow("sem Skin.ini") << false << QByteArray() << false << "" << false;
    QTest::newRow("Nenhum") << true << QByteArray("[Skin]\r\nSkin=Nenhum\r\n") << false << "" << false;
    QTest::newRow("valor vazio") << true << QByteArray("[Skin]\r\nSkin=\r\n") << true << "skins/.skn" << false;
    QTest::newRow("sem chave") << true << QByteArray("[Skin]\r\n") << true << "skins/.skn" << false;
    QTest::newRow("nenhum minúsculo") << true << QByteArray("[Skin]\r\nSkin=nenhum\r\n") << true
                                      << "skins/nenhum.skn" << false;
    QTest::newRow("skin existente") << true << QByteArray("[Skin]\r\nSkin=Escuro\r\n") << true
                                    << "skins/Escuro.skn" << true;
    QTest::newRow("outra caixa") << true << QByteArray("[Skin]\r\nSkin=escuro\r\n") << true << "skins/escuro.skn"
                                 << true;
    QTest::newRow("arquivo ausente") << true << QByteArray("[Skin]\r\nSkin=Sumiu\r\n") << true << "skins/Sumiu.skn"
                                     << false;
}

void TstInicializacao::skinIni() {
    QFETCH(bool, existe);
    QFETCH(QByteArray, conteudo);
    QFETCH(bool, ativo);
    QFETCH(QString, arquivo);
    QFETCH(bool, comFolha);
    TempDatabase db;
    DefinirPastaExecutavel(db.folder());
    const QByteArray folha = "QWidget { background: #202020; color: #f0f0f0; }";
    escrever(db.folder() + "/skins/Escuro.skn", folha);
    QFile::remove(db.folder() + "/Skin.ini");
    if (existe)
        escrever(db.folder() + "/Skin.ini", conteudo);
    msg::Roteiro roteiro;
    QVERIFY(CriarModulosDados());
    QVERIFY(roteiro.mensagens().isEmpty());
    QCOMPARE(DMBanco->sd1->active(), ativo);
    if (ativo)
        QCOMPARE(DMBanco->sd1->skinFile(), db.folder() + "/" + arquivo);
    QCOMPARE(qApp->styleSheet(), comFolha ? QString::fromLatin1(folha) : QString());
}

void TstInicializacao::proximoCodigo_data() {
    QTest::addColumn<int>("valor");
    QTest::addColumn<int>("esperado");
    QTest::addColumn<int>("depois");
    QTest::newRow("em 0") << 0 << 1 << 1;
    QTest::newRow("em -1") << -1 << 1 << 0;
    QTest::newRow("em 41") << 41 << 42 << 42;
}

void TstInicializacao::proximoCodigo() {
    QFETCH(int, valor);
    QFETCH(int, esperado);
    QFETCH(int, depois);
    TempDatabase db;
    db.exec(QStringLiteral("SET GENERATOR GEN_PEDIDO TO %1").arg(valor));
    DefinirPastaExecutavel(db.folder());
    QVERIFY(CriarModulosDados());
    QCOMPARE(DMBanco->ProximoCodigo(QStringLiteral("GEN_PEDIDO")), esperado);
    QCOMPARE(db.scalar("select gen_id(GEN_PEDIDO, 0) from RDB$DATABASE").toInt(), depois);
}

void TstInicializacao::proximoCodigoGeradorInexistente() {
    TempDatabase db;
    DefinirPastaExecutavel(db.folder());
    QVERIFY(CriarModulosDados());
    QVERIFY_THROWS_EXCEPTION(fb::Error, DMBanco->ProximoCodigo(QStringLiteral("GEN_NAO_EXISTE")));
    // The connection stays usable.
    QCOMPARE(DMBanco->ProximoCodigo(QStringLiteral("GEN_EMPRESA")), 1);
}

void TstInicializacao::proximoNumeroPedido() {
    TempDatabase db;
    DefinirPastaExecutavel(db.folder());
    QVERIFY(CriarModulosDados());
    QCOMPARE(DMBanco->ProximoNumeroPedido(), 1);
    db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO) values (1, 41)");
    db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO) values (2, 7)");
    QCOMPARE(DMBanco->ProximoNumeroPedido(), 42);
}

void TstInicializacao::execucaoCompleta() {
    TempDatabase db;
    DefinirPastaExecutavel(db.folder());
    msg::Roteiro roteiro;
    QLocale::setDefault(QLocale::c());
    QString titulo, localidade;
    bool tratador = false, maximizada = false, registrada = false;
    const int r = ExecutarAplicacao([&] {
        auto* j = new TFrmPrincipalProvisorio;
        QTimer::singleShot(0, j, [&, j] {
            titulo = j->windowTitle();
            localidade = QLocale().name();
            tratador = TratadorErrosInstalado();
            maximizada = j->isMaximized();
            registrada = JanelaPrincipal() == j && AreaMdi() == j->MDIArea;
            j->close();
        });
        return j;
    });
    QCOMPARE(r, 0);
    QVERIFY(roteiro.mensagens().isEmpty());
    QCOMPARE(titulo, QStringLiteral("Zbvlo Clipping"));
    QCOMPARE(localidade, QStringLiteral("pt_BR"));
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    QCOMPARE(QLocale().toString(QDate(2008, 3, 5), QLocale::ShortFormat), QStringLiteral("05/03/2008"));
    QVERIFY(tratador);
    QVERIFY(maximizada);
    QVERIFY(registrada);
    // Everything is released when the run ends.
    QVERIFY(!DMBanco && !DM && !JanelaPrincipal());
}

// A termination signal while a modal box is open: every loop is left, the
// run returns 0 and everything is released.
void TstInicializacao::sinalDeTerminoEncerraEmOrdem() {
    TempDatabase db;
    DefinirPastaExecutavel(db.folder());
    bool caixaAberta = false;
    const int r = ExecutarAplicacao([&] {
        auto* j = new TFrmPrincipalProvisorio;
        QTimer::singleShot(0, j, [&, j] {
            QTimer::singleShot(50, [&] {
                caixaAberta = QApplication::activeModalWidget() != nullptr;
                ::raise(SIGTERM);
            });
            msg::Informar(QStringLiteral("aberta"));  // a real box, left by the signal
        });
        return j;
    });
    QCOMPARE(r, 0);
    QVERIFY(caixaAberta);
    QVERIFY(EncerradoPorSinal());
    QVERIFY(!DMBanco && !DM && !JanelaPrincipal());
    DefinirPastaExecutavel(QString());
}

// The test library's own crash handler would take the termination signal.
int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    QStringList args = app.arguments();
    args << QStringLiteral("-nocrashhandler");
    TstInicializacao t;
    const int r = QTest::qExec(&t, args);
    // The last case's signal shut the engine down: no exit clean-up after it.
    std::fflush(nullptr);
    std::_Exit(r);
}

#include "tst_inicializacao.moc"

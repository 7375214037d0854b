#include "SessaoCadastro.h"

#include "common/Aplicacao.h"
#include "platform/data/TableDataset.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/skin/SkinData.h"
#include "screens/registers/U_Configuracao.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QToolButton>

namespace {

void escrever(const QString& arquivo, const QByteArray& conteudo) {
    QFile f(arquivo);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(conteudo);
}

QByteArray ler(const QString& arquivo) {
    QFile f(arquivo);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList itens(const QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i)
        l << c->itemText(i);
    return l;
}


} // namespace

class TstConfiguracao : public QObject {
    Q_OBJECT
private slots:
    void colunasCompostas_data();
    void colunasCompostas();
    void primeiroUsoInsereEmpresaComLogo();
    void listaDeSkins_data();
    void listaDeSkins();
    void gravarSkin_data();
    void gravarSkin();
    void semNomeFantasiaFicaAberta();
};

void TstConfiguracao::colunasCompostas_data() {
    QTest::addColumn<QStringList>("valores");  // razão, nome, endereço, bairro, CEP, cidade, UF, e-mail, web
    QTest::addColumn<QStringList>("esperado"); // nome completo, endereço completo, cidade/UF, e-mail/web
    QTest::newRow("completa") << QStringList{"ZBV LTDA", "ZBV", "RUA A, 1", "CENTRO", "01.001-000", "SAO PAULO",
                                             "SP", "a@b.com", "www.b.com"}
                              << QStringList{"ZBV LTDA - ZBV", "RUA A, 1 - CENTRO - CEP: 01.001-000",
                                             "SAO PAULO - SP", "a@b.com - www.b.com"};
    QTest::newRow("vazios") << QStringList{"", "ZBV", "", "", "", "", "", "", ""}
                            << QStringList{" - ZBV", " -  - CEP: ", " - ", " - "};
    const QString cidade25 = QString(25, QLatin1Char('C'));
    QTest::newRow("cidade 25 + UF = 30") << QStringList{"", "N", "", "", "", cidade25, "SP", "", ""}
                                         << QStringList{" - N", " -  - CEP: ", cidade25 + " - SP", " - "};
    const QString r45 = QString(45, QLatin1Char('R')), n45 = QString(45, QLatin1Char('N'));
    const QString e45 = QString(45, QLatin1Char('E')), b20 = QString(20, QLatin1Char('B'));
    QTest::newRow("cortadas em 90 e 80")
        << QStringList{r45, n45, e45, b20, "01.001-000", "X", "RJ", "", ""}
        << QStringList{(r45 + " - " + n45).left(90), (e45 + " - " + b20 + " - CEP: 01.001-000").left(80), "X - RJ",
                       " - "};
}

void TstConfiguracao::colunasCompostas() {
    QFETCH(QStringList, valores);
    QFETCH(QStringList, esperado);
    SessaoCadastro s;
    dataset::DataSet* t = DMBanco->TB_Empresa;
    t->Append();
    const char* campos[] = {"EMP_RAZAOSOCIAL", "EMP_NOME", "EMP_ENDERECO", "EMP_BAIRRO", "EMP_CEP",
                            "EMP_CIDADE", "EMP_UF", "EMP_EMAIL", "EMP_WEB"};
    t->FieldByName(QStringLiteral("EMP_CODIGO"))->SetAsInteger(1);
    for (int i = 0; i < 9; ++i)
        if (!valores[i].isEmpty())
            t->FieldByName(QLatin1String(campos[i]))->SetAsString(valores[i]);
    t->Post();
    DMBanco->Trans_Clipping.commitRetaining();
    const char* compostas[] = {"EMP_NOMECOMPLETO", "EMP_ENDERECOCOMPLETO", "EMP_CIDADEUF", "EMP_EMAILWEB"};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(s.db.scalar(QStringLiteral("select %1 from TB_EMPRESA").arg(QLatin1String(compostas[i]))).toString(),
                 esperado[i]);
}

void TstConfiguracao::primeiroUsoInsereEmpresaComLogo() {
    SessaoCadastro s;
    s.db.exec(QStringLiteral("set generator GEN_EMPRESA to 6"));
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    const QString logo = QDir(s.db.folder()).filePath(QStringLiteral("logo.png"));
    QVERIFY(img.save(logo));
    s.roteiro.responderArquivo(logo);

    auto* tela = new TFrmConfiguracao;
    tela->show();
    QCOMPARE(DMBanco->TB_Empresa->GetState(), dataset::State::Insert);
    QCOMPARE(DMBanco->TB_Empresa->FieldByName(QStringLiteral("EMP_CODIGO"))->AsInteger(), 7);
    digitar(tela->DBEdit1, QStringLiteral("Zbvlo Monitoramento"));
    digitar(tela->DBEdit4, QStringLiteral("Campinas"));
    QTest::mouseClick(tela->SpeedButton4, Qt::LeftButton);
    QCOMPARE(s.roteiro.dialogos().size(), 1);
    QCOMPARE(s.roteiro.dialogos().first().titulo, QStringLiteral("Selecionar Logotipo"));
    QVERIFY(tela->DBImage2->HasPicture());
    QTest::mouseClick(tela->SpeedButton1, Qt::LeftButton);
    QTRY_VERIFY(!tela->isVisible());
    delete tela;

    QCOMPARE(s.db.count(QStringLiteral("TB_EMPRESA")), 1);
    QCOMPARE(s.db.scalar(QStringLiteral("select EMP_CODIGO from TB_EMPRESA")).toInt(), 7);
    QCOMPARE(s.db.scalar(QStringLiteral("select EMP_CIDADEUF from TB_EMPRESA")).toString(),
             QStringLiteral("Campinas - "));
    QCOMPARE(s.db.scalar(QStringLiteral("select EMP_PATHLOGO from TB_EMPRESA")).toByteArray(), ler(logo));
    QCOMPARE(DMBanco->TB_Empresa->GetState(), dataset::State::Browse);

    // Opening again shows the saved row, no new one.
    TFrmConfiguracao outra;
    outra.show();
    QCOMPARE(DMBanco->TB_Empresa->GetState(), dataset::State::Browse);
    QCOMPARE(outra.DBEdit1->text(), QStringLiteral("Zbvlo Monitoramento"));
}

void TstConfiguracao::listaDeSkins_data() {
    QTest::addColumn<QStringList>("arquivos");  // files in skins/ ("-" : no skins folder)
    QTest::addColumn<QByteArray>("skinIni");    // empty: no Skin.ini
    QTest::addColumn<QStringList>("lista");
    QTest::addColumn<QString>("escolhido");
    QTest::newRow("ordenada com Nenhum") << QStringList{"Verde.skn", "azul.skn", "leia.txt"}
                                         << QByteArray("[Skin]\r\nSkin=VERDE\r\n")
                                         << QStringList{"azul", "Nenhum", "Verde"} << QStringLiteral("Verde");
    QTest::newRow("sem Skin.ini: Nenhum") << QStringList{"azul.skn"} << QByteArray()
                                          << QStringList{"azul", "Nenhum"} << QStringLiteral("Nenhum");
    QTest::newRow("arquivo sumiu") << QStringList{"azul.skn"} << QByteArray("[Skin]\r\nSkin=sumiu\r\n")
                                   << QStringList{"azul", "Nenhum"} << QString();
    QTest::newRow("sem pasta skins") << QStringList{"-"} << QByteArray("[Skin]\r\nSkin=azul\r\n")
                                     << QStringList{"Nenhum"} << QString();
}

void TstConfiguracao::listaDeSkins() {
    QFETCH(QStringList, arquivos);
    QFETCH(QByteArray, skinIni);
    QFETCH(QStringList, lista);
    QFETCH(QString, escolhido);
    SessaoCadastro s;
    const QDir pasta(s.db.folder());
    if (arquivos == QStringList{"-"})
        QVERIFY(QDir(pasta.filePath(QStringLiteral("skins"))).removeRecursively());
    else
        for (const QString& a : arquivos)
            escrever(pasta.filePath(QStringLiteral("skins/") + a), "QWidget {}");
    if (skinIni.isEmpty())
        QFile::remove(pasta.filePath(QStringLiteral("Skin.ini")));
    else
        escrever(pasta.filePath(QStringLiteral("Skin.ini")), skinIni);
    TFrmConfiguracao tela;
    QCOMPARE(itens(tela.cbSkin), lista);
    QCOMPARE(tela.cbSkin->currentText(), escolhido);
    QCOMPARE(tela.cbSkin->currentIndex() < 0, escolhido.isEmpty());
}

void TstConfiguracao::gravarSkin_data() {
    QTest::addColumn<QByteArray>("antes");
    QTest::addColumn<bool>("ativoAntes");
    QTest::addColumn<QString>("escolha");  // empty: keep what the box shows
    QTest::addColumn<QByteArray>("depois");
    QTest::addColumn<bool>("ativoDepois");
    QTest::addColumn<QString>("arquivoSkin");  // skin file of sd1 afterwards (relative)
    QTest::newRow("Nenhum remove") << QByteArray("[Skin]\r\nSkin=azul\r\n") << true << QStringLiteral("Nenhum")
                                   << QByteArray("[Skin]\r\nSkin=Nenhum\r\n") << false << QStringLiteral("skins/azul.skn");
    QTest::newRow("troca e ativa") << QByteArray("[Skin]\r\nSkin=Nenhum\r\n") << false << QStringLiteral("verde")
                                   << QByteArray("[Skin]\r\nSkin=verde\r\n") << true << QStringLiteral("skins/verde.skn");
    // Unchanged: the file is rewritten (here from LF to CRLF, other keys
    // kept) and the skin component is not touched.
    QTest::newRow("sem mudança") << QByteArray("[Outra]\nX=1\n[Skin]\nSkin=azul\n") << true << QString()
                                 << QByteArray("[Outra]\r\nX=1\r\n[Skin]\r\nSkin=azul\r\n") << true
                                 << QStringLiteral("skins/azul.skn");
    QTest::newRow("sumiu grava vazio") << QByteArray("[Skin]\r\nSkin=sumiu\r\n") << false << QString()
                                       << QByteArray("[Skin]\r\nSkin=\r\n") << true << QStringLiteral("skins/.skn");
    QTest::newRow("sem Skin.ini") << QByteArray() << false << QStringLiteral("Nenhum")
                                  << QByteArray("[Skin]\r\nSkin=Nenhum\r\n") << false << QString();
}

void TstConfiguracao::gravarSkin() {
    QFETCH(QByteArray, antes);
    QFETCH(bool, ativoAntes);
    QFETCH(QString, escolha);
    QFETCH(QByteArray, depois);
    QFETCH(bool, ativoDepois);
    QFETCH(QString, arquivoSkin);
    SessaoCadastro s;
    const QDir pasta(s.db.folder());
    escrever(pasta.filePath(QStringLiteral("skins/azul.skn")), "QWidget { color: blue; }");
    escrever(pasta.filePath(QStringLiteral("skins/verde.skn")), "QWidget { color: green; }");
    const QString ini = pasta.filePath(QStringLiteral("Skin.ini"));
    if (antes.isEmpty())
        QFile::remove(ini);
    else
        escrever(ini, antes);
    DMBanco->sd1->deactivate();
    DMBanco->sd1->setSkinFile(QString());
    if (ativoAntes) {
        DMBanco->sd1->setSkinFile(pasta.filePath(QStringLiteral("skins/azul.skn")));
        DMBanco->sd1->activate();
    }
    s.db.exec(QStringLiteral("insert into TB_EMPRESA (EMP_CODIGO, EMP_NOME) values (1, 'ZBV')"));
    DMBanco->TB_Empresa->Close();
    DMBanco->TB_Empresa->Open();

    auto* tela = new TFrmConfiguracao;
    tela->show();
    if (!escolha.isEmpty())
        tela->cbSkin->setCurrentText(escolha);
    QTest::mouseClick(tela->SpeedButton1, Qt::LeftButton);
    QTRY_VERIFY(!tela->isVisible());
    delete tela;
    QCOMPARE(ler(ini), depois);
    QCOMPARE(DMBanco->sd1->active(), ativoDepois);
    QCOMPARE(DMBanco->sd1->skinFile(), arquivoSkin.isEmpty() ? QString() : pasta.filePath(arquivoSkin));
    QCOMPARE(s.db.scalar(QStringLiteral("select EMP_NOMECOMPLETO from TB_EMPRESA")).toString(), QStringLiteral(" - ZBV"));
}

void TstConfiguracao::semNomeFantasiaFicaAberta() {
    SessaoCadastro s;
    auto* tela = new TFrmConfiguracao;
    tela->show();
    digitar(tela->DBEdit4, QStringLiteral("Santos"));
    tela->cbSkin->setCurrentText(QStringLiteral("Nenhum"));
    QTest::mouseClick(tela->SpeedButton1, Qt::LeftButton);
    QCOMPARE(s.roteiro.textos().size(), 1);
    QVERIFY2(s.roteiro.textos().first().contains(QStringLiteral("EMP_NOME")), qPrintable(s.roteiro.textos().first()));
    QVERIFY(tela->isVisible());
    QCOMPARE(DMBanco->TB_Empresa->GetState(), dataset::State::Insert);
    QCOMPARE(tela->DBEdit4->text(), QStringLiteral("Santos"));
    QCOMPARE(s.db.count(QStringLiteral("TB_EMPRESA")), 0);
    // The skin choice was already written.
    QCOMPARE(ler(QDir(s.db.folder()).filePath(QStringLiteral("Skin.ini"))), QByteArray("[Skin]\r\nSkin=Nenhum\r\n"));
    // "Fechar" leaves the row as typed.
    QTest::mouseClick(tela->SpeedButton3, Qt::LeftButton);
    QTRY_VERIFY(!tela->isVisible());
    delete tela;
    QCOMPARE(DMBanco->TB_Empresa->GetState(), dataset::State::Insert);
    QCOMPARE(DMBanco->TB_Empresa->FieldByName(QStringLiteral("EMP_CIDADE"))->AsString(), QStringLiteral("Santos"));
}

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstConfiguracao t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_configuracao.moc"

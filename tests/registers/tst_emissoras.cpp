#include "base/SessaoTeste.h"

#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/widgets/FolderTree.h"
#include "screens/registers/U_Emissoras.h"
#include "screens/registers/U_Programas.h"

#include <QDir>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

using Botao = msg::Botao;

QStringList valores(dataset::DataSet* ds, const QString& campo) {
    QStringList r;
    for (ds->First(); !ds->Eof(); ds->Next())
        r << ds->FieldByName(campo)->AsString();
    r.sort();
    return r;
}

void emissoras(SessaoTeste& s) {
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_RAZAOSOCIAL, EMI_CIDADE, EMI_FONE, EMI_CNPJ) "
              "values (1, 'RADIO ALFA', 'ALFA LTDA', 'SAO PAULO', '1111-1111', '11.111.111/0001-11')");
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_CIDADE) values (2, 'TV BETA', 'Campinas')");
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_RAZAOSOCIAL, EMI_CIDADE, EMI_FONE) "
              "values (3, 'O''BRIEN FM', 'O''BRIEN RADIO', 'SANTOS', '3333')");
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_FONE) values (4, '100% RADIO', '4444')");
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (5, '1000 WATTS')");
}

const QString kDeleteEmissora = QStringLiteral(
    "Todos os lançamentos relacionados a esta emissora serão excluidos!\r\rDeseja realmente excluir?");
const QString kDeletePrograma = QStringLiteral(
    "Todos os lançamentos relacionados a este programa serão excluidos!\r\rDeseja realmente excluir?");

} // namespace

class TstEmissoras : public QObject {
    Q_OBJECT
private slots:
    void pesquisa_data();
    void pesquisa();
    void trocarOpcaoRefazPesquisa();
    void pastaDaArvore_data();
    void pastaDaArvore();
    void novaEmissora();
    void excluirEmissora_data();
    void excluirEmissora();
    void programasMostramEmissora();
    void pesquisaDeProgramas_data();
    void pesquisaDeProgramas();
    void excluirPrograma();
    void sairDaObservacaoPerguntaGravar();
};

void TstEmissoras::pesquisa_data() {
    QTest::addColumn<int>("opcao");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("achadas");
    const QStringList todas{"100% RADIO", "1000 WATTS", "O'BRIEN FM", "RADIO ALFA", "TV BETA"};
    QTest::newRow("nome vazio") << 0 << "" << todas;
    QTest::newRow("nome") << 0 << "radio" << QStringList{"100% RADIO", "RADIO ALFA"};
    QTest::newRow("razao vazia: so nao nulas") << 1 << "" << QStringList{"O'BRIEN FM", "RADIO ALFA"};
    QTest::newRow("cidade minuscula no banco") << 2 << "camp" << QStringList{"TV BETA"};
    QTest::newRow("telefone vazio sem nulos") << 3 << "" << QStringList{"100% RADIO", "O'BRIEN FM", "RADIO ALFA"};
    QTest::newRow("cnpj") << 4 << "0001" << QStringList{"RADIO ALFA"};
    QTest::newRow("aspa") << 0 << "o'brien" << QStringList{"O'BRIEN FM"};
    QTest::newRow("aspa na razao") << 1 << "O'B" << QStringList{"O'BRIEN FM"};
    QTest::newRow("injecao") << 0 << "'; DELETE FROM TB_EMISSORAS; --" << QStringList{};
    QTest::newRow("curinga") << 0 << "100%" << QStringList{"100% RADIO", "1000 WATTS"};
}

void TstEmissoras::pesquisa() {
    QFETCH(int, opcao);
    QFETCH(QString, texto);
    QFETCH(QStringList, achadas);
    SessaoTeste s;
    emissoras(s);
    TFrmEmissoras f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QCOMPARE(f.RGLocalizar->ItemIndex(), 0);
    QCOMPARE(f.RGLocalizar->title(), QStringLiteral("Localizar por: "));
    f.findChild<QRadioButton*>(QStringLiteral("RGLocalizar%1").arg(opcao))->click();
    QTest::keyClicks(f.EdPesquisa, texto);
    QCOMPARE(f.EdPesquisa->text(), texto.toUpper());
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QCOMPARE(valores(f.Q_Emissoras, "EMI_NOME"), achadas);
    QCOMPARE(f.Q_Emissoras->SQL.Count(), 2);
    QCOMPARE(f.Q_Emissoras->SQL[0], QStringLiteral("Select * from TB_Emissoras where "));
    QVERIFY(f.Q_Emissoras->SQL[1].startsWith(TFrmEmissoras::CondicoesPesquisa()[opcao]));
    QCOMPARE(s.db.count("TB_EMISSORAS"), 5);
}

void TstEmissoras::trocarOpcaoRefazPesquisa() {
    SessaoTeste s;
    emissoras(s);
    TFrmEmissoras f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QTest::keyClicks(f.EdPesquisa, "SA");
    QCOMPARE(valores(f.Q_Emissoras, "EMI_NOME"), QStringList{});
    f.findChild<QRadioButton*>("RGLocalizar2")->click();
    QCOMPARE(valores(f.Q_Emissoras, "EMI_NOME"), (QStringList{"O'BRIEN FM", "RADIO ALFA"}));
    // Each keystroke re-queries at once.
    QTest::keyClick(f.EdPesquisa, 'n');
    QCOMPARE(valores(f.Q_Emissoras, "EMI_NOME"), QStringList{"O'BRIEN FM"});
    // The grid shows the result.
    QCOMPARE(f.DBGrid1->model()->rowCount(), 1);
    QCOMPARE(f.DBGrid1->model()->index(0, 0).data().toString(), QStringLiteral("O'BRIEN FM"));
    QCOMPARE(f.DBGrid1->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Fone"));
}

void TstEmissoras::pastaDaArvore_data() {
    QTest::addColumn<QString>("pasta");   // "" none, "/" root, "sub" a temporary folder
    QTest::newRow("raiz") << "/";
    QTest::newRow("subpasta") << "sub";
    QTest::newRow("nenhuma") << "";
}

void TstEmissoras::pastaDaArvore() {
    QFETCH(QString, pasta);
    SessaoTeste s;
    emissoras(s);
    QTemporaryDir tmp;
    QVERIFY(QDir(tmp.path()).mkpath("Gravacoes/Radio"));
    QString esperado = pasta;
    if (pasta == "sub")
        esperado = QDir(tmp.path()).canonicalPath() + "/Gravacoes/Radio";
    TFrmEmissoras f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QVERIFY(f.TreeView->isHidden());
    QVERIFY(!f.BitBtn1->isEnabled());  // fields are typed in only after Alterar
    f.SBAlterar->click();
    f.BitBtn1->click();
    QVERIFY(!f.TreeView->isHidden());
    if (esperado.isEmpty())
        f.TreeView->clearSelection();
    else
        QVERIFY(f.TreeView->setSelectedPath(esperado));
    f.TreeViewDblClick();
    QVERIFY(f.TreeView->isHidden());
    QVERIFY(f.Q_Emissoras->GetState() == dataset::State::Edit);
    QCOMPARE(f.DBEdit5->text(), esperado);
    f.SBSalvar->click();
    QVERIFY(s.roteiro->mensagens().isEmpty());
    const int codigo = f.Q_Emissoras->FieldByName("EMI_CODIGO")->AsInteger();
    const QVariant gravado = s.db.scalar(QString("select EMI_PATH from TB_EMISSORAS where EMI_CODIGO = %1").arg(codigo));
    QCOMPARE(gravado.toString(), esperado);
}

void TstEmissoras::novaEmissora() {
    SessaoTeste s;
    TFrmEmissoras f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QCOMPARE(f.windowTitle(), QStringLiteral("Cadastro de Emissoras"));
    QCOMPARE(f.Tag(), 1004);
    QCOMPARE(f.DBComboBox1->count(), 27);
    QCOMPARE(f.DBComboBox1->itemText(0), QStringLiteral("AC"));
    QCOMPARE(f.DBComboBox1->itemText(26), QStringLiteral("TO"));
    f.PageControl1->setCurrentIndex(1);
    f.SBNovo->click();
    QCOMPARE(f.PageControl1->currentIndex(), 0);
    QCOMPARE(QApplication::focusWidget(), f.DBEdit1);
    // Without a name: the data layer's refusal, still inserting.
    f.SBSalvar->click();
    QCOMPARE(s.roteiro->mensagens().size(), 1);
    QVERIFY(s.roteiro->ultima().texto.contains("Field 'EMI_NOME' must have a value"));
    QVERIFY(f.Q_Emissoras->GetState() == dataset::State::Insert);
    QTest::keyClicks(f.DBEdit1, "Radio Gama");
    QTest::keyClick(f.DBEdit1, Qt::Key_Enter);
    QTest::keyClicks(QApplication::focusWidget(), "Rua A");
    f.SBSalvar->click();
    QCOMPARE(s.roteiro->mensagens().size(), 1);
    QCOMPARE(s.db.scalar("select EMI_NOME || '/' || EMI_ENDERECO from TB_EMISSORAS").toString(),
             QStringLiteral("Radio Gama/Rua A"));
    QCOMPARE(s.db.scalar("select EMI_CODIGO from TB_EMISSORAS").toInt(),
             s.db.scalar("select gen_id(GEN_EMISSORAS, 0) from RDB$DATABASE").toInt());
}

void TstEmissoras::excluirEmissora_data() {
    QTest::addColumn<int>("aviso");
    QTest::addColumn<int>("emissoras");
    QTest::addColumn<int>("lancamentos");
    QTest::newRow("sim") << int(QMessageBox::Yes) << 1 << 1;
    QTest::newRow("nao") << int(QMessageBox::No) << 2 << 3;
}

void TstEmissoras::excluirEmissora() {
    QFETCH(int, aviso);
    QFETCH(int, emissoras);
    QFETCH(int, lancamentos);
    SessaoTeste s;
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'A RADIO')");
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (2, 'B RADIO')");
    s.db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'JORNAL', 2)");
    for (int i = 1; i <= 3; ++i)
        s.db.exec(QString("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO) "
                          "values (%1, '2024-01-0%1', %2, 1)")
                      .arg(i)
                      .arg(i == 3 ? 2 : 1));
    TFrmEmissoras f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QVERIFY(f.Q_Emissoras->Locate("EMI_CODIGO", 1));
    s.roteiro->responder(QMessageBox::Yes).responder(Botao(aviso));
    f.SBExcluir->click();
    QCOMPARE(s.roteiro->textos(), (QStringList{"Confirma a Exclusão?", kDeleteEmissora}));
    const msg::Mensagem& m = s.roteiro->ultima();
    QCOMPARE(m.titulo, QStringLiteral("Atenção"));
    QCOMPARE(m.icone, msg::Icone::Aviso);
    QCOMPARE(m.padrao, QMessageBox::No);
    QCOMPARE(s.db.count("TB_EMISSORAS"), emissoras);
    QCOMPARE(s.db.count("TB_LANCAMENTO"), lancamentos);
    QCOMPARE(s.db.count("TB_PROGRAMAS"), 1);
}

void TstEmissoras::programasMostramEmissora() {
    SessaoTeste s;
    s.db.exec("alter table TB_PROGRAMAS drop constraint FK_PROGRAMAS_EMISSORAS");
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'RADIO ALFA')");
    s.db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'A JORNAL', 1)");
    s.db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (2, 'B SEM EMISSORA', null)");
    s.db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (3, 'C EMISSORA APAGADA', 99)");
    s.db.exec("set generator GEN_PROGRAMAS to 3");
    TFrmProgramas f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QCOMPARE(f.windowTitle(), QStringLiteral("Cadastro de Programas"));
    QCOMPARE(f.Tag(), 1005);
    auto* modelo = f.DBGrid1->model();
    QCOMPARE(modelo->rowCount(), 3);
    QCOMPARE(modelo->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Emissora"));
    QCOMPARE(modelo->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Programa"));
    QMap<QString, QString> porPrograma;
    for (int r = 0; r < 3; ++r)
        porPrograma[modelo->index(r, 1).data().toString()] = modelo->index(r, 0).data().toString();
    QCOMPARE(porPrograma.value("A JORNAL"), QStringLiteral("RADIO ALFA"));
    QCOMPARE(porPrograma.value("B SEM EMISSORA"), QString());
    QCOMPARE(porPrograma.value("C EMISSORA APAGADA"), QString());
    // A program without a station can be saved.
    f.SBNovo->click();
    QCOMPARE(QApplication::focusWidget(), f.DBLookupComboBox1);
    QTest::keyClicks(f.DBEdit1, "D NOVO");
    f.SBSalvar->click();
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QCOMPARE(s.db.count("TB_PROGRAMAS", "PRG_NOME = 'D NOVO' and EMI_CODIGO is null"), 1);
}

void TstEmissoras::pesquisaDeProgramas_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("achados");
    QTest::newRow("vazio") << "" << QStringList{"JORNAL DA MANHA", "O'BRIEN SHOW"};
    QTest::newRow("parte") << "manha" << QStringList{"JORNAL DA MANHA"};
    QTest::newRow("aspa") << "o'b" << QStringList{"O'BRIEN SHOW"};
    QTest::newRow("injecao") << "'; DELETE FROM TB_PROGRAMAS; --" << QStringList{};
}

void TstEmissoras::pesquisaDeProgramas() {
    QFETCH(QString, texto);
    QFETCH(QStringList, achados);
    SessaoTeste s;
    s.db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME) values (1, 'Jornal da Manha')");
    s.db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME) values (2, 'O''BRIEN SHOW')");
    TFrmProgramas f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QTest::keyClicks(f.edPesquisa, "x");
    QTest::keyClick(f.edPesquisa, Qt::Key_Backspace);
    QTest::keyClicks(f.edPesquisa, texto);
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QStringList r = valores(f.Q_Programas, "PRG_NOME");
    for (QString& n : r)
        n = n.toUpper();
    QCOMPARE(r, achados);
    QCOMPARE(s.db.count("TB_PROGRAMAS"), 2);
}

void TstEmissoras::excluirPrograma() {
    SessaoTeste s;
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'A RADIO')");
    s.db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'JORNAL', 1)");
    s.db.exec("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO) values (1, '2024-01-01', 1, 1)");
    TFrmProgramas f;
    QVERIFY(SessaoTeste::mostrar(&f));
    s.roteiro->responder(QMessageBox::Yes).responder(QMessageBox::Yes);
    f.SBExcluir->click();
    QCOMPARE(s.roteiro->textos(), (QStringList{"Confirma a Exclusão?", kDeletePrograma}));
    QCOMPARE(s.roteiro->ultima().titulo, QStringLiteral("Atenção"));
    QCOMPARE(s.db.count("TB_PROGRAMAS"), 0);
    QCOMPARE(s.db.count("TB_LANCAMENTO"), 0);
    QCOMPARE(s.db.count("TB_EMISSORAS"), 1);
}

void TstEmissoras::sairDaObservacaoPerguntaGravar() {
    SessaoTeste s;
    TFrmProgramas f;
    QVERIFY(SessaoTeste::mostrar(&f));
    f.SBNovo->click();
    QTest::keyClicks(f.DBEdit1, "ESPORTE");
    f.DBMemo1->setFocus();
    QTest::keyClicks(f.DBMemo1, "ao vivo");
    s.roteiro->responder(QMessageBox::Yes);
    QTest::keyClick(f.DBMemo1, Qt::Key_Return);  // Enter moves on
    QTRY_COMPARE(s.roteiro->mensagens().size(), 1);
    QCOMPARE(s.roteiro->ultima().texto, QStringLiteral("Gravar?"));
    QCOMPARE(s.db.scalar("select PRG_NOME || '/' || PRG_OBS from TB_PROGRAMAS").toString(),
             QStringLiteral("ESPORTE/ao vivo"));
}

QTEST_MAIN(TstEmissoras)
#include "tst_emissoras.moc"

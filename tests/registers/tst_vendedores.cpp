#include "base/SessaoTeste.h"

#include "app/U_Dm.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "screens/registers/U_FormaPagto.h"
#include "screens/registers/U_Midias.h"
#include "screens/registers/U_Prazos.h"
#include "screens/registers/U_Vendedores.h"

#include <QPushButton>

namespace {

QStringList valores(dataset::DataSet* ds, const QString& campo) {
    QStringList r;
    for (ds->First(); !ds->Eof(); ds->Next())
        r << ds->FieldByName(campo)->AsString();
    r.sort();
    return r;
}

void funcionarios(SessaoTeste& s) {
    s.db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_CIDADE, FUN_TIPO) values (1, 'ANA', 'SANTOS', 0)");
    s.db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (2, 'O''BRIEN', 0)");
    s.db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (3, null, 0)");
    s.db.exec("set generator GEN_FUNCIONARIOS to 3");
}

// The picker answers with this code (null: cancelled) and counts its calls.
struct Seletor {
    QVariant codigo;
    int chamadas = 0;
    Seletor() {
        DefinirSeletorFuncionario([this](QWidget*) {
            ++chamadas;
            return codigo;
        });
    }
    ~Seletor() { DefinirSeletorFuncionario({}); }
};

} // namespace

class TstVendedores : public QObject {
    Q_OBJECT
private slots:
    void novoVendedor();
    void mesmoFuncionarioDuasVezes();
    void cancelarSeletor();
    void pesquisa_data();
    void pesquisa();
    void funcionarioApagadoSaiDaLista();
    void lookups_data();
    void lookups();
    void prazoSemFormaDePagamento();
};

void TstVendedores::novoVendedor() {
    SessaoTeste s;
    funcionarios(s);
    Seletor sel;
    sel.codigo = 1;
    TFrmVendedores f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QCOMPARE(f.windowTitle(), QStringLiteral("Vendedores"));
    QCOMPARE(f.Tag(), 1003);
    QCOMPARE(f.BBuscar->text(), QStringLiteral("Buscar Funcionário"));
    f.SBNovo->click();  // presses BBuscar itself
    QCOMPARE(sel.chamadas, 1);
    QCOMPARE(f.DBNome->text(), QStringLiteral("ANA"));
    QVERIFY(f.DBNome->isReadOnly());
    QCOMPARE(QApplication::focusWidget(), f.dbComissao);
    QTest::keyClicks(f.dbComissao, "2,5");
    f.SBSalvar->click();
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QCOMPARE(s.db.scalar("select FUN_CODIGO from TB_VENDEDORES").toInt(), 1);
    QCOMPARE(s.db.scalar("select VEN_COMISSAO from TB_VENDEDORES").toDouble(), 2.5);
    // Reopened after the save: the joined employee columns are there.
    QVERIFY(f.Q_Vendedores->GetState() == dataset::State::Browse);
    QCOMPARE(f.Q_Vendedores->FieldByName("FUN_NOME")->AsString(), QStringLiteral("ANA"));
    QCOMPARE(f.DBGrid1->model()->index(0, 0).data().toString(), QStringLiteral("ANA"));
    // Editing the commission writes TB_VENDEDORES only (the employee row is untouched).
    f.SBAlterar->click();
    f.dbComissao->selectAll();
    QTest::keyClicks(f.dbComissao, "3");
    f.SBSalvar->click();
    QCOMPARE(s.db.scalar("select VEN_COMISSAO from TB_VENDEDORES").toDouble(), 3.0);
    QCOMPARE(s.db.scalar("select FUN_NOME || FUN_CIDADE from TB_FUNCIONARIOS where FUN_CODIGO = 1").toString(),
             QStringLiteral("ANASANTOS"));
    QCOMPARE(f.UP_Vendedores->InsertSQL[0], QStringLiteral("insert into TB_VENDEDORES"));
}

void TstVendedores::mesmoFuncionarioDuasVezes() {
    SessaoTeste s;
    funcionarios(s);
    Seletor sel;
    sel.codigo = 2;
    TFrmVendedores f;
    QVERIFY(SessaoTeste::mostrar(&f));
    for (int i = 0; i < 2; ++i) {
        f.SBNovo->click();
        f.SBSalvar->click();
    }
    QVERIFY(s.roteiro->mensagens().isEmpty());
    QCOMPARE(s.db.count("TB_VENDEDORES", "FUN_CODIGO = 2"), 2);
    QCOMPARE(f.Q_Vendedores->RecordCount(), 2);
}

void TstVendedores::cancelarSeletor() {
    SessaoTeste s;
    funcionarios(s);
    Seletor sel;  // cancelled
    TFrmVendedores f;
    QVERIFY(SessaoTeste::mostrar(&f));
    f.SBNovo->click();
    QCOMPARE(sel.chamadas, 1);
    QVERIFY(f.Q_Vendedores->FieldByName("FUN_CODIGO")->IsNull());
    QCOMPARE(f.DBNome->text(), QString());
    f.SBSalvar->click();
    QCOMPARE(s.roteiro->mensagens().size(), 1);
    QVERIFY(s.roteiro->ultima().texto.contains("Field 'FUN_CODIGO' must have a value"));
    QVERIFY(f.Q_Vendedores->GetState() == dataset::State::Insert);
    // Picking now completes it.
    sel.codigo = 1;
    f.BBuscar->click();
    f.SBSalvar->click();
    QCOMPARE(s.roteiro->mensagens().size(), 1);
    QCOMPARE(s.db.count("TB_VENDEDORES", "FUN_CODIGO = 1"), 1);
}

void TstVendedores::pesquisa_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("achados");
    QTest::newRow("vazio: so com nome") << "" << QStringList{"ANA", "O'BRIEN"};
    QTest::newRow("parte") << "an" << QStringList{"ANA"};
    QTest::newRow("aspa") << "O'BRIEN" << QStringList{"O'BRIEN"};
    QTest::newRow("injecao") << "'; DELETE FROM TB_VENDEDORES; --" << QStringList{};
}

void TstVendedores::pesquisa() {
    QFETCH(QString, texto);
    QFETCH(QStringList, achados);
    SessaoTeste s;
    funcionarios(s);
    for (int i = 1; i <= 3; ++i)
        s.db.exec(QString("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO, VEN_COMISSAO) values (%1, %1, 1)").arg(i));
    TFrmVendedores f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QCOMPARE(f.Q_Vendedores->RecordCount(), 3);
    QTest::keyClicks(f.EdPesquisa, texto.isEmpty() ? QStringLiteral("x") : texto);
    if (texto.isEmpty())
        QTest::keyClick(f.EdPesquisa, Qt::Key_Backspace);
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QCOMPARE(valores(f.Q_Vendedores, "FUN_NOME"), achados);
    QCOMPARE(s.db.count("TB_VENDEDORES"), 3);
}

void TstVendedores::funcionarioApagadoSaiDaLista() {
    SessaoTeste s;
    funcionarios(s);
    s.db.exec("alter table TB_VENDEDORES drop constraint FK_VENDEDORES_FUNCIONARIOS");
    s.db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO) values (1, 1)");
    s.db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO) values (2, 2)");
    s.db.exec("delete from TB_FUNCIONARIOS where FUN_CODIGO = 1");
    TFrmVendedores f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QCOMPARE(valores(f.Q_Vendedores, "FUN_NOME"), QStringList{"O'BRIEN"});
    QCOMPARE(s.db.count("TB_VENDEDORES"), 2);
}

void TstVendedores::lookups_data() {
    QTest::addColumn<QString>("tela");
    QTest::addColumn<QString>("tabela");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("titulo");
    QTest::addColumn<int>("codigo");
    QTest::addColumn<bool>("navegacao");
    QTest::newRow("midias") << "midias" << "TB_MIDIAS" << "MID_DESCRICAO" << "Cadastro de Mídias" << 1009 << true;
    QTest::newRow("formas") << "formas" << "TB_FORMAPAGAMENTO" << "FPG_DESCRICAO" << "Formas de Pagamento" << 1007
                            << false;
    QTest::newRow("prazos") << "prazos" << "TB_PRAZOS" << "PRA_DESCRICAO" << "Prazos" << 1008 << false;
}

void TstVendedores::lookups() {
    QFETCH(QString, tela);
    QFETCH(QString, tabela);
    QFETCH(QString, campo);
    QFETCH(QString, titulo);
    QFETCH(int, codigo);
    QFETCH(bool, navegacao);
    SessaoTeste s;
    s.db.exec("insert into TB_FORMAPAGAMENTO values (gen_id(GEN_FORMAPAGAMENTO, 1), 'BOLETO')");
    std::unique_ptr<TFrmBaseFilha> f;
    if (tela == "midias")
        f.reset(new TFrmMidias);
    else if (tela == "formas")
        f.reset(new TFrmFormaPagto);
    else
        f.reset(new TFrmPrazos);
    QVERIFY(SessaoTeste::mostrar(f.get()));
    QCOMPARE(f->windowTitle(), titulo);
    QCOMPARE(f->Tag(), codigo);
    QCOMPARE(!f->SBPrimeiro->isHidden(), navegacao);
    QCOMPARE(!f->SBUltimo->isHidden(), navegacao);
    f->SBNovo->click();
    // Without a description: the data layer's refusal.
    if (tela == "prazos") {
        auto* combo = f->findChild<dataset::DBLookupComboBox*>("DBLookupComboBox1");
        QCOMPARE(combo->count(), 1);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->Text(), QStringLiteral("BOLETO"));
    }
    QWidget* descricao = QApplication::focusWidget();
    f->SBSalvar->click();
    QCOMPARE(s.roteiro->mensagens().size(), 1);
    QVERIFY2(s.roteiro->ultima().texto.contains(QString("Field '%1' must have a value").arg(campo)),
             qPrintable(s.roteiro->ultima().texto));
    QVERIFY(f->DataSetPrincipal()->IsEditing());
    auto* edicao = f->findChild<dataset::DBEdit*>(tela == "midias" ? "DBEdit2" : "DBEdit1");
    if (tela != "prazos")
        QCOMPARE(descricao, edicao);
    QTest::keyClicks(edicao, "NOVO");
    if (tela == "midias")
        QTest::keyClicks(f->findChild<dataset::DBEdit*>("DBEdit1"), "150,5");
    f->SBSalvar->click();
    QCOMPARE(s.roteiro->mensagens().size(), 1);
    QCOMPARE(s.db.count(tabela, campo + " = 'NOVO'"), 1);
    if (tela == "midias")
        QCOMPARE(s.db.scalar("select MID_VALOR from TB_MIDIAS").toDouble(), 150.5);
    if (tela == "prazos") {
        QCOMPARE(s.db.scalar("select FPG_CODIGO from TB_PRAZOS").toInt(), 1);
        QCOMPARE(f->findChild<dataset::DBGrid*>("DBGrid1")->model()->index(0, 0).data().toString(),
                 QStringLiteral("BOLETO"));
    }
    // Delete: only the base confirmation.
    s.roteiro->responder(QMessageBox::Yes);
    f->SBExcluir->click();
    QCOMPARE(s.roteiro->mensagens().size(), 2);
    QCOMPARE(s.roteiro->ultima().texto, QStringLiteral("Confirma a Exclusão?"));
    QCOMPARE(s.db.count(tabela), tabela == "TB_FORMAPAGAMENTO" ? 1 : 0);
    // The shared dataset stays open after the screen goes.
    dataset::DataSet* ds = f->DataSetPrincipal();
    f.reset();
    QVERIFY(ds->Active());
}

void TstVendedores::prazoSemFormaDePagamento() {
    SessaoTeste s;
    s.db.exec("alter table TB_PRAZOS drop constraint FK_PRAZOS_FORMAPAGAMENTO");
    s.db.exec("insert into TB_FORMAPAGAMENTO values (1, 'CHEQUE')");
    s.db.exec("insert into TB_PRAZOS values (1, 1, '30 DIAS')");
    s.db.exec("insert into TB_PRAZOS values (2, 9, '60 DIAS')");
    TFrmPrazos f;
    QVERIFY(SessaoTeste::mostrar(&f));
    auto* modelo = f.DBGrid1->model();
    QCOMPARE(modelo->rowCount(), 2);
    QCOMPARE(modelo->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Forma de Pagamento"));
    QMap<QString, QString> porPrazo;
    for (int r = 0; r < 2; ++r)
        porPrazo[modelo->index(r, 1).data().toString()] = modelo->index(r, 0).data().toString();
    QCOMPARE(porPrazo.value("30 DIAS"), QStringLiteral("CHEQUE"));
    QCOMPARE(porPrazo.value("60 DIAS"), QString());
}

QTEST_MAIN(TstVendedores)
#include "tst_vendedores.moc"

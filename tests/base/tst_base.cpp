#include "base/SessaoTeste.h"

#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "screens/base/U_BaseChild.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

// A small register over TB_FORMAPAGAMENTO: an edit, a memo and a grid.
class TFrmTeste : public TFrmBaseFilha {
public:
    explicit TFrmTeste(QWidget* parent = nullptr) : TFrmBaseFilha(parent) {
        setObjectName(QStringLiteral("FrmTeste"));
        SetTag(1007);
        up = new dataset::UpdateSql(this);
        up->InsertSQL.Add(QStringLiteral("insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values "
                                         "(:FPG_CODIGO, :FPG_DESCRICAO)"));
        up->ModifySQL.Add(QStringLiteral("update TB_FORMAPAGAMENTO set FPG_DESCRICAO = :FPG_DESCRICAO "
                                         "where FPG_CODIGO = :OLD_FPG_CODIGO"));
        up->DeleteSQL.Add(QStringLiteral("delete from TB_FORMAPAGAMENTO where FPG_CODIGO = :OLD_FPG_CODIGO"));
        q = new dataset::Query(this);
        q->setObjectName(QStringLiteral("Q_Teste"));
        q->SQL.Add(QStringLiteral("SELECT * FROM TB_FORMAPAGAMENTO order by FPG_CODIGO"));
        q->CachedUpdates = true;
        q->UpdateObject = up;
        q->SetGeneratorField(QStringLiteral("FPG_CODIGO"), QStringLiteral("GEN_FORMAPAGAMENTO"));
        q->AfterPost = [](dataset::DataSet& ds) { AplicarEConfirmar(ds); };
        q->AfterDelete = [](dataset::DataSet& ds) { AplicarEConfirmar(ds); };
        DataSource1->SetDataSet(q);

        auto* g = new QGridLayout(PFundo);
        edit = new dataset::DBEdit(PFundo);
        edit->setObjectName(QStringLiteral("DBEdit1"));
        edit->SetDataSource(DataSource1);
        edit->SetDataField(QStringLiteral("FPG_DESCRICAO"));
        g->addWidget(edit, 0, 0);
        memo = new QPlainTextEdit(PFundo);
        memo->setObjectName(QStringLiteral("Memo1"));
        g->addWidget(memo, 1, 0);
        auto* l = new QVBoxLayout(PBusca);
        grid = new dataset::DBGrid(PBusca);
        grid->setObjectName(QStringLiteral("DBGrid1"));
        grid->SetDataSource(DataSource1);
        l->addWidget(grid);
        depois = new QLineEdit(PBusca);
        depois->setObjectName(QStringLiteral("EdDepois"));
        l->addWidget(depois);
        setTabOrder(edit, memo);
        setTabOrder(memo, grid);
        setTabOrder(grid, depois);
    }
    dataset::UpdateSql* up;
    dataset::Query* q;
    dataset::DBEdit* edit;
    QPlainTextEdit* memo;
    dataset::DBGrid* grid;
    QLineEdit* depois;
};

using Botao = msg::Botao;

} // namespace

class TstBase : public QObject {
    Q_OBJECT
private slots:
    void textoDaPesquisa_data();
    void textoDaPesquisa();
    void barraDeFerramentas();
    void botoesSeguemODataset();
    void fecharEditando_data();
    void fecharEditando();
    void escNaoEditandoFecha();
    void f5EmCadastroVazio();
    void excluirSemDireito_data();
    void excluirSemDireito();
    void incluirSemAlterar();
    void ctrlDeleteNaGrade();
    void enterMoveOFoco();
    void teclasDeFuncao();
    void confirmarGravacao_data();
    void confirmarGravacao();
};

void TstBase::textoDaPesquisa_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("condicao");
    QTest::newRow("vazio") << "" << "Upper(Emi_Nome) LIKE '%%'";
    QTest::newRow("simples") << "RADIO" << "Upper(Emi_Nome) LIKE '%RADIO%'";
    QTest::newRow("aspa") << "O'BRIEN" << "Upper(Emi_Nome) LIKE '%O''BRIEN%'";
    QTest::newRow("injecao") << "'; DELETE FROM TB_EMISSORAS; --"
                             << "Upper(Emi_Nome) LIKE '%''; DELETE FROM TB_EMISSORAS; --%'";
    QTest::newRow("duas aspas") << "''" << "Upper(Emi_Nome) LIKE '%''''%'";
    QTest::newRow("curinga") << "100%" << "Upper(Emi_Nome) LIKE '%100%%'";
}

void TstBase::textoDaPesquisa() {
    QFETCH(QString, texto);
    QFETCH(QString, condicao);
    QCOMPARE(CondicaoLike(QStringLiteral("Emi_Nome"), texto), condicao);
    TEditMaiusculas ed;
    QTest::keyClicks(&ed, QStringLiteral("abc d"));
    ed.insert(QStringLiteral("ção"));
    QCOMPARE(ed.text(), QStringLiteral("ABC DÇÃO"));
}

void TstBase::barraDeFerramentas() {
    SessaoTeste s;
    QVERIFY(s.ok);
    TFrmTeste f;
    const QList<std::tuple<const char*, QString, QString>> esperado = {
        {"SBNovo", "&Novo", "Insere"},       {"SBSalvar", "&Gravar", "Salva"},   {"SBAlterar", "&Alterar", "Edita"},
        {"SBCancelar", "&Cancelar", "Cancela"}, {"SBExcluir", "&Excluir", "Exclui"}, {"SBImprimir", "&Imprimir", ""},
        {"SBPrimeiro", "", "Primeiro"},       {"SBAnterior", "", "Anterior"},     {"SBProximo", "", "Próximo"},
        {"SBUltimo", "", "Último"},           {"SBSair", "Fechar", ""}};
    QToolButton* anterior = nullptr;
    for (const auto& [nome, legenda, dica] : esperado) {
        auto* b = f.Panel1->findChild<QToolButton*>(QLatin1String(nome));
        QVERIFY2(b, nome);
        QCOMPARE(b->text(), legenda);
        QCOMPARE(b->toolTip(), dica);
        if (anterior)
            QVERIFY2(anterior->geometry().x() < b->geometry().x() || !f.isVisible(), nome);
        anterior = b;
    }
    QVERIFY(f.SBImprimir->isHidden());
    QCOMPARE(f.property("tag").toInt(), 1007);
    QVERIFY(f.ASair->shortcut() == QKeySequence(Qt::Key_Escape));
    QCOMPARE(f.ASair->text(), QStringLiteral("Sair"));
    QVERIFY(!(f.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(f.windowFlags() & Qt::WindowMinimizeButtonHint);
}

void TstBase::botoesSeguemODataset() {
    SessaoTeste s;
    TFrmTeste f;
    QVERIFY(SessaoTeste::mostrar(&f));
    auto estados = [&] {
        QString r;
        for (QToolButton* b : {(QToolButton*)f.SBNovo, (QToolButton*)f.SBSalvar, (QToolButton*)f.SBAlterar,
                               (QToolButton*)f.SBCancelar, (QToolButton*)f.SBExcluir, (QToolButton*)f.SBPrimeiro,
                               (QToolButton*)f.SBAnterior, (QToolButton*)f.SBProximo, (QToolButton*)f.SBUltimo})
            r += b->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return r;
    };
    // Empty: only new.
    QCOMPARE(estados(), QStringLiteral("100000000"));
    QVERIFY(!f.PFundo->isEnabled());
    f.SBNovo->click();
    QCOMPARE(estados(), QStringLiteral("010100000"));
    QVERIFY(f.PFundo->isEnabled());
    QTest::keyClicks(f.edit, QStringLiteral("A VISTA"));
    f.SBSalvar->click();
    QVERIFY(s.roteiro->mensagens().isEmpty());
    QVERIFY(!f.PFundo->isEnabled());
    s.db.exec(QStringLiteral("insert into TB_FORMAPAGAMENTO values (gen_id(GEN_FORMAPAGAMENTO, 1), 'BOLETO')"));
    f.hide();
    f.show();  // reopens: two rows, at the first
    QCOMPARE(f.q->RecordCount(), 2);
    f.q->First();
    QCOMPARE(estados(), QStringLiteral("101010011"));
    f.SBUltimo->click();
    QCOMPARE(estados(), QStringLiteral("101011100"));
    QCOMPARE(s.roteiro->mensagens().size(), 0);
}

void TstBase::fecharEditando_data() {
    QTest::addColumn<int>("usuario");   // 0, or 5 without the alter right
    QTest::addColumn<int>("resposta");
    QTest::addColumn<bool>("aberta");
    QTest::addColumn<QString>("gravado");
    QTest::addColumn<int>("mensagens");
    QTest::newRow("cancelar") << 0 << int(QMessageBox::Cancel) << true << "DINHEIRO" << 1;
    QTest::newRow("sim grava") << 0 << int(QMessageBox::Yes) << false << "CHEQUE" << 1;
    QTest::newRow("sim recusado") << 5 << int(QMessageBox::Yes) << true << "DINHEIRO" << 2;
    QTest::newRow("nao") << 5 << int(QMessageBox::No) << false << "DINHEIRO" << 1;
}

void TstBase::fecharEditando() {
    QFETCH(int, usuario);
    QFETCH(int, resposta);
    QFETCH(bool, aberta);
    QFETCH(QString, gravado);
    QFETCH(int, mensagens);
    SessaoTeste s;
    s.db.exec(QStringLiteral("insert into TB_FORMAPAGAMENTO values (1, 'DINHEIRO')"));
    if (usuario)
        s.entrar(usuario, 1007, 1, 0, 1);
    QPointer<TFrmTeste> f = new TFrmTeste;
    QVERIFY(SessaoTeste::mostrar(f));
    f->SBAlterar->click();
    QVERIFY(f->q->IsEditing());
    f->edit->selectAll();
    QTest::keyClicks(f->edit, QStringLiteral("CHEQUE"));
    s.roteiro->limpar();
    s.roteiro->responder(Botao(resposta));
    QTest::keyClick(f->edit, Qt::Key_Escape);
    SessaoTeste::liberarFechadas();
    QCOMPARE(s.roteiro->mensagens().size(), mensagens);
    const msg::Mensagem& m = s.roteiro->mensagens().first();
    QCOMPARE(m.texto, QStringLiteral("Deseja salvar as alterações?"));
    QCOMPARE(m.titulo, QStringLiteral("Confirmação"));
    QCOMPARE(m.botoes, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(m.padrao, QMessageBox::No);
    QCOMPARE(m.icone, msg::Icone::Pergunta);
    if (mensagens > 1)
        QCOMPARE(s.roteiro->mensagens().at(1).texto, MensagemAcessoNegado());
    QCOMPARE(!f.isNull(), aberta);
    if (aberta) {
        QVERIFY(f->q->IsEditing());
        QCOMPARE(f->edit->text(), QStringLiteral("CHEQUE"));
    }
    QCOMPARE(s.db.scalar(QStringLiteral("select FPG_DESCRICAO from TB_FORMAPAGAMENTO")).toString(), gravado);
    delete f.data();
}

void TstBase::escNaoEditandoFecha() {
    SessaoTeste s;
    QPointer<TFrmTeste> f = new TFrmTeste;
    QVERIFY(SessaoTeste::mostrar(f));
    QTest::keyClick(f->grid, Qt::Key_Escape);
    SessaoTeste::liberarFechadas();
    QVERIFY(f.isNull());
    QVERIFY(s.roteiro->mensagens().isEmpty());
}

void TstBase::f5EmCadastroVazio() {
    SessaoTeste s;
    TFrmTeste f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QVERIFY(!f.SBExcluir->isEnabled());
    QTest::keyClick(f.grid, Qt::Key_F5);
    QVERIFY(s.roteiro->mensagens().isEmpty());
    QCOMPARE(f.q->GetState(), dataset::State::Browse);
}

void TstBase::excluirSemDireito_data() {
    QTest::addColumn<int>("excluir");
    QTest::addColumn<int>("resposta");
    QTest::addColumn<QStringList>("textos");
    QTest::addColumn<int>("restam");
    const QString confirma = QStringLiteral("Confirma a Exclusão?");
    QTest::newRow("sem direito") << 0 << int(QMessageBox::Yes) << QStringList{confirma, MensagemAcessoNegado()} << 1;
    QTest::newRow("com direito") << 1 << int(QMessageBox::Yes) << QStringList{confirma} << 0;
    QTest::newRow("nao confirma") << 1 << int(QMessageBox::No) << QStringList{confirma} << 1;
}

void TstBase::excluirSemDireito() {
    QFETCH(int, excluir);
    QFETCH(int, resposta);
    QFETCH(QStringList, textos);
    QFETCH(int, restam);
    SessaoTeste s;
    s.db.exec(QStringLiteral("insert into TB_FORMAPAGAMENTO values (1, 'DINHEIRO')"));
    s.entrar(7, 1007, 1, 1, excluir);
    TFrmTeste f;
    QVERIFY(SessaoTeste::mostrar(&f));
    s.roteiro->responder(Botao(resposta));
    QTest::keyClick(f.grid, Qt::Key_F5);
    QCOMPARE(s.roteiro->textos(), textos);
    const msg::Mensagem& m = s.roteiro->mensagens().first();
    QCOMPARE(m.padrao, QMessageBox::No);
    QCOMPARE(m.titulo, QStringLiteral("Confirmação"));
    QCOMPARE(s.db.count(QStringLiteral("TB_FORMAPAGAMENTO")), restam);
    QCOMPARE(f.q->IsEmpty(), restam == 0);
}

void TstBase::incluirSemAlterar() {
    SessaoTeste s;
    s.entrar(8, 1007, 1, 0, 0);
    TFrmTeste f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QTest::keyClick(f.grid, Qt::Key_F2);
    QVERIFY(f.q->GetState() == dataset::State::Insert);
    QTest::keyClicks(f.edit, QStringLiteral("PIX"));
    QTest::keyClick(f.edit, Qt::Key_F3);
    QVERIFY(s.roteiro->mensagens().isEmpty());
    QCOMPARE(s.db.scalar(QStringLiteral("select FPG_DESCRICAO from TB_FORMAPAGAMENTO")).toString(),
             QStringLiteral("PIX"));
    // Anyone may start editing; the save of an existing record is refused.
    f.SBAlterar->click();
    f.edit->selectAll();
    QTest::keyClicks(f.edit, QStringLiteral("DEPOSITO"));
    f.SBSalvar->click();
    QCOMPARE(s.roteiro->textos(), QStringList{MensagemAcessoNegado()});
    QVERIFY(f.q->GetState() == dataset::State::Edit);
    QCOMPARE(s.db.scalar(QStringLiteral("select FPG_DESCRICAO from TB_FORMAPAGAMENTO")).toString(),
             QStringLiteral("PIX"));
    f.SBCancelar->click();
}

void TstBase::ctrlDeleteNaGrade() {
    SessaoTeste s;
    s.db.exec(QStringLiteral("insert into TB_FORMAPAGAMENTO values (1, 'DINHEIRO')"));
    TFrmTeste f;
    QVERIFY(SessaoTeste::mostrar(&f));
    f.grid->setFocus();
    QTest::keyClick(f.grid, Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(s.roteiro->mensagens().isEmpty());
    QCOMPARE(s.db.count(QStringLiteral("TB_FORMAPAGAMENTO")), 1);
    QCOMPARE(f.q->RecordCount(), 1);
}

void TstBase::enterMoveOFoco() {
    SessaoTeste s;
    TFrmTeste f;
    QVERIFY(SessaoTeste::mostrar(&f));
    f.SBNovo->click();
    f.edit->setFocus();
    QTest::keyClick(f.edit, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.memo);
    QTest::keyClick(f.memo, Qt::Key_Return);
    QCOMPARE(f.memo->toPlainText(), QString());
    QCOMPARE(QApplication::focusWidget(), f.grid);
    QTest::keyClick(f.grid, Qt::Key_Enter);
    QCOMPARE(QApplication::focusWidget(), f.depois);
    // Switched off, Enter reaches the control.
    f.KeyPreview = false;
    f.memo->setFocus();
    QTest::keyClick(f.memo, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), f.memo);
    QCOMPARE(f.memo->toPlainText(), QStringLiteral("\n"));
    f.KeyPreview = true;
    f.SBCancelar->click();
}

void TstBase::teclasDeFuncao() {
    SessaoTeste s;
    TFrmTeste f;
    QVERIFY(SessaoTeste::mostrar(&f));
    f.edit->setFocus();
    QTest::keyClick(f.depois, Qt::Key_F2, Qt::ShiftModifier);  // modifiers are not checked
    QVERIFY(f.q->GetState() == dataset::State::Insert);
    QTest::keyClick(f.depois, Qt::Key_F2);  // disabled while inserting: nothing
    QTest::keyClick(f.depois, Qt::Key_F4);
    QVERIFY(f.q->GetState() == dataset::State::Browse);
    QVERIFY(f.q->IsEmpty());
    // F3 on a new record without a description: the data layer's refusal.
    QTest::keyClick(f.depois, Qt::Key_F2);
    QTest::keyClick(f.depois, Qt::Key_F3);
    QCOMPARE(s.roteiro->mensagens().size(), 1);
    QVERIFY2(s.roteiro->ultima().texto.contains(QStringLiteral("Field 'FPG_DESCRICAO' must have a value")),
             qPrintable(s.roteiro->ultima().texto));
    QVERIFY(f.q->GetState() == dataset::State::Insert);
    QCOMPARE(s.db.count(QStringLiteral("TB_FORMAPAGAMENTO")), 0);
    f.SBCancelar->click();
}

void TstBase::confirmarGravacao_data() {
    QTest::addColumn<int>("resposta");
    QTest::addColumn<int>("gravados");
    QTest::newRow("sim") << int(QMessageBox::Yes) << 1;
    QTest::newRow("nao") << int(QMessageBox::No) << 0;
}

void TstBase::confirmarGravacao() {
    QFETCH(int, resposta);
    QFETCH(int, gravados);
    SessaoTeste s;
    TFrmTeste f;
    QVERIFY(SessaoTeste::mostrar(&f));
    f.SBNovo->click();
    QTest::keyClicks(f.edit, QStringLiteral("CARTAO"));
    s.roteiro->responder(Botao(resposta));
    f.ConfirmarGravacao();
    QCOMPARE(s.roteiro->mensagens().size(), 1);
    QCOMPARE(s.roteiro->ultima().texto, QStringLiteral("Gravar?"));
    QCOMPARE(s.roteiro->ultima().padrao, QMessageBox::Yes);
    QCOMPARE(s.db.count(QStringLiteral("TB_FORMAPAGAMENTO")), gravados);
    QCOMPARE(f.q->IsEditing(), gravados == 0);
    if (f.q->IsEditing())
        f.SBCancelar->click();
}

QTEST_MAIN(TstBase)
#include "tst_base.moc"

#include "SessaoCadastro.h"

#include "app/U_Dm.h"
#include "common/Aplicacao.h"
#include "platform/core/Exception.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/data/widgets/DBSpeedButton.h"
#include "platform/firebird/Statement.h"
#include "screens/registers/U_Clientes.h"
#include "security/UClassSeguranca.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {

// Presses a tool bar button; false when the press was cancelled silently.
bool pressionar(TFrmClientes& tela, QAbstractButton* botao) {
    try {
        return tela.Pressionar(botao);
    } catch (const clip::EAbort&) {
        return false;
    }
}

QStringList nomesNaGrade(dataset::DataSet* ds) {
    QStringList l;
    ds->First();
    while (!ds->Eof()) {
        l << ds->FieldByName(QStringLiteral("CLI_NOME"))->AsString();
        ds->Next();
    }
    return l;
}

void mostrar(QWidget& tela) {
    tela.show();
    QApplication::setActiveWindow(&tela);
    QVERIFY(QTest::qWaitForWindowActive(&tela));
}

// A value as the session's own transaction sees it: the agenda procedure
// runs after the commit, so other connections see it at the next one.
QVariant naSessao(const QString& sql) {
    fb::Statement st(DMBanco->Trans_Clipping, sql);
    st.open();
    return st.fetch() ? st.value(0) : QVariant();
}

QString parametro(const char* nome) { return DM->Proc_Cliente_Agenda->ParamByName(QLatin1String(nome))->AsString(); }

} // namespace

class TstClientes : public QObject {
    Q_OBJECT
private slots:
    void duplicado_data();
    void duplicado();
    void alterarParaIgualAOutroEhAceito();
    void nomeObrigatorio();
    void pessoaEMascara_data();
    void pessoaEMascara();
    void agendaAposGravarEExcluir();
    void pesquisa_data();
    void pesquisa();
    void modoEscolha();
    void direitosDeIncluirEAlterar();
    void sairDaObservacaoPerguntaGravar();
};

void TstClientes::duplicado_data() {
    QTest::addColumn<QString>("nome");
    QTest::addColumn<QString>("cidade");
    QTest::addColumn<QString>("uf");
    QTest::addColumn<bool>("recusado");
    QTest::newRow("mesmo nome, cidade e UF") << "Acme" << "santos" << "SP" << true;
    QTest::newRow("outra cidade") << "ACME" << "SAO VICENTE" << "SP" << false;
    QTest::newRow("outra UF") << "ACME" << "SANTOS" << "RJ" << false;
    QTest::newRow("existente sem cidade nem UF") << "BETA" << "" << "" << false;
    QTest::newRow("acentos maiúsculos") << "ação" << "são paulo" << "SP" << true;
}

void TstClientes::duplicado() {
    QFETCH(QString, nome);
    QFETCH(QString, cidade);
    QFETCH(QString, uf);
    QFETCH(bool, recusado);
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO) values (1, 'ACME', 'SANTOS', 'SP')"));
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (2, 'BETA')"));
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO) values (3, 'AÇÃO', 'SÃO PAULO', 'SP')"));
    s.db.exec(QStringLiteral("set generator GEN_CLIENTES to 10"));
    TFrmClientes tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBNovo));
    digitar(tela.DBCliente, nome);
    digitar(tela.DBCidade, cidade);
    if (!uf.isEmpty())
        tela.Q_Clientes->FieldByName(QStringLiteral("CLI_ESTADO"))->SetAsString(uf);
    QCOMPARE(pressionar(tela, tela.SBSalvar), !recusado);
    QCOMPARE(s.roteiro.textos(), recusado ? QStringList{QStringLiteral("Cliente já cadastrado!")} : QStringList());
    QCOMPARE(tela.Q_Clientes->GetState(), recusado ? dataset::State::Insert : dataset::State::Browse);
    QCOMPARE(s.db.count(QStringLiteral("TB_CLIENTES")), recusado ? 3 : 4);
    if (!recusado)
        QCOMPARE(s.db.scalar(QStringLiteral("select CLI_PESSOA from TB_CLIENTES where CLI_CODIGO = 11")).toString(),
                 QStringLiteral("J"));
}

void TstClientes::alterarParaIgualAOutroEhAceito() {
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO) values (1, 'ACME', 'SANTOS', 'SP')"));
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO) values (2, 'BETA', 'SANTOS', 'SP')"));
    TFrmClientes tela;
    mostrar(tela);
    QVERIFY(tela.Q_Clientes->Locate(QStringLiteral("CLI_CODIGO"), 2));
    QVERIFY(pressionar(tela, tela.SBAlterar));
    tela.DBCliente->selectAll();
    digitar(tela.DBCliente, QStringLiteral("acme"));
    QVERIFY(pressionar(tela, tela.SBSalvar));
    QVERIFY(s.roteiro.textos().isEmpty());
    QCOMPARE(s.db.count(QStringLiteral("TB_CLIENTES"), QStringLiteral("CLI_NOME = 'ACME'")), 2);
    QCOMPARE(parametro("ACAO"), QStringLiteral("A"));
}

void TstClientes::nomeObrigatorio() {
    SessaoCadastro s;
    TFrmClientes tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBNovo));
    QVERIFY(!pressionar(tela, tela.SBSalvar));
    QCOMPARE(s.roteiro.textos(), QStringList{QStringLiteral("O Nome do Cliente não foi informado!")});
    QCOMPARE(tela.Q_Clientes->GetState(), dataset::State::Insert);
    QCOMPARE(s.db.count(QStringLiteral("TB_CLIENTES")), 0);
}

void TstClientes::pessoaEMascara_data() {
    QTest::addColumn<int>("item");  // -1: the group is never left
    QTest::addColumn<QString>("digitado");
    QTest::addColumn<QString>("gravado");
    QTest::addColumn<bool>("razaoHabilitada");
    QTest::newRow("física: CPF") << 0 << "12345678901" << "123.456.789-01" << false;
    QTest::newRow("jurídica: CNPJ") << 1 << "12345678000190" << "12.345.678/0001-90" << true;
    QTest::newRow("sem sair do grupo: sem máscara") << -1 << "1234" << "1234" << true;
}

void TstClientes::pessoaEMascara() {
    QFETCH(int, item);
    QFETCH(QString, digitado);
    QFETCH(QString, gravado);
    QFETCH(bool, razaoHabilitada);
    SessaoCadastro s;
    TFrmClientes tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBNovo));
    QCOMPARE(tela.PageControl1->currentIndex(), 0);
    QCOMPARE(tela.RGPessoa->ItemIndex(), 1);  // a new client is a company
    QVERIFY(tela.DBCPF->inputMask().isEmpty());
    digitar(tela.DBCliente, QStringLiteral("CLIENTE"));
    if (item >= 0) {
        tela.RGPessoa->Button(item)->setFocus();
        QTest::mouseClick(tela.RGPessoa->Button(item), Qt::LeftButton);
        tela.DBFone->setFocus();
        QApplication::processEvents();
        if (item == 0)
            QCOMPARE(QApplication::focusWidget(), tela.DBCPF);
        QVERIFY(!tela.DBCPF->inputMask().isEmpty());
    }
    QCOMPARE(tela.DBRazao->isEnabled(), razaoHabilitada);
    tela.DBCPF->setFocus();
    tela.DBCPF->home(false);
    digitar(tela.DBCPF, digitado);
    QVERIFY(pressionar(tela, tela.SBSalvar));
    const QString cpf = s.db.scalar(QStringLiteral("select CLI_CGCCPF from TB_CLIENTES")).toString();
    QCOMPARE(cpf, gravado);
    QCOMPARE(s.db.scalar(QStringLiteral("select CLI_PESSOA from TB_CLIENTES")).toString(),
             item == 0 ? QStringLiteral("F") : QStringLiteral("J"));
    // The mask stays for the next client.
    QVERIFY(pressionar(tela, tela.SBNovo));
    QCOMPARE(tela.DBCPF->inputMask().isEmpty(), item < 0);
}

void TstClientes::agendaAposGravarEExcluir() {
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_FONE, CLI_CIDADE) values (1, 'ZULU', '3333-0000', 'SANTOS')"));
    s.db.exec(QStringLiteral("set generator GEN_CLIENTES to 10"));
    TFrmClientes tela;
    mostrar(tela);

    // New client: "I", its data in the agenda.
    QVERIFY(pressionar(tela, tela.SBNovo));
    digitar(tela.DBCliente, QStringLiteral("alfa"));
    digitar(tela.DBFone, QStringLiteral("1111-2222"));
    tela.Q_Clientes->FieldByName(QStringLiteral("CLI_OBS"))->SetAsString(QStringLiteral("cliente antigo"));
    QVERIFY(pressionar(tela, tela.SBSalvar));
    QCOMPARE(parametro("ACAO"), QStringLiteral("I"));
    QCOMPARE(naSessao(QStringLiteral("select AGE_TELEFONE from TB_AGENDA where AGE_NOME = 'ALFA'")).toString(),
             QStringLiteral("1111-2222"));
    QCOMPARE(naSessao(QStringLiteral("select AGE_OBS from TB_AGENDA where AGE_NOME = 'ALFA'")).toString(),
             QStringLiteral("cliente antigo"));

    // Changed client: "A", the agenda row updated.
    QVERIFY(pressionar(tela, tela.SBAlterar));
    tela.DBFone->selectAll();
    digitar(tela.DBFone, QStringLiteral("9999-8888"));
    QVERIFY(pressionar(tela, tela.SBSalvar));
    QCOMPARE(parametro("ACAO"), QStringLiteral("A"));
    QCOMPARE(naSessao(QStringLiteral("select count(*) from TB_AGENDA where AGE_NOME = 'ALFA'")).toInt(), 1);
    QCOMPARE(naSessao(QStringLiteral("select AGE_TELEFONE from TB_AGENDA where AGE_NOME = 'ALFA'")).toString(),
             QStringLiteral("9999-8888"));

    // Delete: confirmation, warning, then the client current afterwards with "A".
    QVERIFY(tela.Q_Clientes->Locate(QStringLiteral("CLI_NOME"), QStringLiteral("ALFA")));
    s.roteiro.limpar();
    s.roteiro.responder(QMessageBox::Yes).responder(QMessageBox::No);
    QVERIFY(!pressionar(tela, tela.SBExcluir));
    QCOMPARE(s.roteiro.mensagens().size(), 2);
    QCOMPARE(s.roteiro.mensagens()[0].texto, QStringLiteral("Confirma a Exclusão?"));
    const msg::Mensagem& aviso = s.roteiro.mensagens()[1];
    QCOMPARE(aviso.texto, QStringLiteral("Todos os pedidos deste clientes serão excluidos!\r\rDeseja realmente excluir?"));
    QCOMPARE(aviso.titulo, QStringLiteral("Atenção"));
    QCOMPARE(aviso.icone, msg::Icone::Aviso);
    QCOMPARE(aviso.padrao, QMessageBox::No);
    QCOMPARE(s.db.count(QStringLiteral("TB_CLIENTES")), 2);

    s.roteiro.responder(QMessageBox::Yes).responder(QMessageBox::Yes);
    QVERIFY(pressionar(tela, tela.SBExcluir));
    QCOMPARE(s.db.count(QStringLiteral("TB_CLIENTES")), 1);
    QCOMPARE(parametro("ACAO"), QStringLiteral("A"));
    QCOMPARE(parametro("NOME"), QStringLiteral("ZULU"));
    QCOMPARE(parametro("FONE"), QStringLiteral("3333-0000"));
    QCOMPARE(naSessao(QStringLiteral("select AGE_CIDADE from TB_AGENDA where AGE_NOME = 'ZULU'")).toString(),
             QStringLiteral("SANTOS"));

    // The last client: empty texts.
    s.roteiro.responder(QMessageBox::Yes).responder(QMessageBox::Yes);
    QVERIFY(pressionar(tela, tela.SBExcluir));
    QCOMPARE(s.db.count(QStringLiteral("TB_CLIENTES")), 0);
    QCOMPARE(parametro("NOME"), QString());
    QCOMPARE(parametro("FONE"), QString());
}

void TstClientes::pesquisa_data() {
    QTest::addColumn<int>("opcao");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("nomes");
    QTest::newRow("nome fantasia") << 0 << "AR" << QStringList{"ARAUJO", "MARIA"};
    QTest::newRow("vazio: todos com nome, por nome") << 0 << "" << QStringList{"ARAUJO", "MARIA", "O'BRIEN", "ZECA"};
    QTest::newRow("razão social") << 1 << "LTDA" << QStringList{"MARIA", "ZECA"};
    QTest::newRow("razão vazia: sem nulos") << 1 << "" << QStringList{"MARIA", "ZECA"};
    QTest::newRow("cidade, também sem nome") << 2 << "SANTO" << QStringList{"", "ARAUJO", "ZECA"};
    QTest::newRow("telefone") << 3 << "3232" << QStringList{"O'BRIEN"};
    QTest::newRow("cnpj") << 4 << "0001" << QStringList{"ZECA"};
    QTest::newRow("aspas") << 0 << "O'BR" << QStringList{"O'BRIEN"};
    QTest::newRow("injeção") << 0 << "'; DELETE FROM TB_CLIENTES; --" << QStringList{};
}

void TstClientes::pesquisa() {
    QFETCH(int, opcao);
    QFETCH(QString, texto);
    QFETCH(QStringList, nomes);
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_FONE) values (1, 'ZECA', 'santos', '1111')"));
    s.db.exec(QStringLiteral("update TB_CLIENTES set CLI_RAZAOSOCIAL = 'Zeca Ltda', CLI_CGCCPF = '12.345.678/0001-90' where CLI_CODIGO = 1"));
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_RAZAOSOCIAL) values (2, 'MARIA', 'RIO', 'MARIA LTDA')"));
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE) values (3, 'ARAUJO', 'SANTOS')"));
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_FONE) values (4, 'O''BRIEN', '3232-1')"));
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_CIDADE) values (5, 'SANTOS')"));
    TFrmClientes tela;
    mostrar(tela);
    tela.SetLocalizar(opcao);
    tela.EdPesquisa->clear();
    digitar(tela.EdPesquisa, texto);
    tela.EdPesquisaChange();
    QCOMPARE(nomesNaGrade(tela.Q_Clientes), nomes);
    QCOMPARE(tela.Q_Clientes->SQL.Count(), 3);
    QCOMPARE(tela.Q_Clientes->SQL[0], QStringLiteral("Select * from tb_Clientes where "));
    QCOMPARE(tela.Q_Clientes->SQL[2], QStringLiteral("Order by Cli_nome"));
    QCOMPARE(s.db.count(QStringLiteral("TB_CLIENTES")), 5);
}

void TstClientes::modoEscolha() {
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (7, 'ALFA')"));
    s.db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (9, 'BRAVO')"));
    {
        TFrmClientes normal;
        mostrar(normal);
        QVERIFY(normal.SBConfirmar->isHidden());
        const int largura = normal.EdPesquisa->width();
        ChamadaExterna = 1;
        TFrmClientes tela;
        mostrar(tela);
        QVERIFY(!tela.SBConfirmar->isHidden());
        QCOMPARE(tela.EdPesquisa->width(), largura - 88);
        QCOMPARE(QApplication::focusWidget(), tela.EdPesquisa);
        // Enter in the search box confirms.
        digitar(tela.EdPesquisa, QStringLiteral("BRA"));
        QTest::keyClick(tela.EdPesquisa, Qt::Key_Return);
        QCOMPARE(tela.result(), int(QDialog::Accepted));
        QCOMPARE(DM->ClienteEscolhido, 9);
    }
    {
        DM->ClienteEscolhido = 0;
        TFrmClientes tela;
        mostrar(tela);
        // Leaving the search box: Enter no longer confirms.
        tela.DBGrid1->setFocus();
        QVERIFY(!tela.SBConfirmar->isDefault());
        QVERIFY(tela.Q_Clientes->Locate(QStringLiteral("CLI_CODIGO"), 7));
        QTest::keyClick(tela.EdPesquisa, Qt::Key_Return);
        QCOMPARE(DM->ClienteEscolhido, 0);
        // A double-click on the grid confirms the current client.
        const QRect celula = tela.DBGrid1->CellRect(0, 0);
        QTest::mouseDClick(tela.DBGrid1->viewport(), Qt::LeftButton, Qt::NoModifier, celula.center());
        QCOMPARE(DM->ClienteEscolhido, 7);
        QCOMPARE(tela.result(), int(QDialog::Accepted));
    }
}

// Saving a changed client checks the alter right like every register; a new
// client needs only the insert right.
void TstClientes::direitosDeIncluirEAlterar() {
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (5, 'OPERADOR', 0)"));
    s.db.exec(QStringLiteral("insert into TB_DIREITOS (DIR_CODIGO, USU_CODIGO, TEL_MODULO, TEL_CODIGO, DIR_ACESSO, "
                             "DIR_INCLUIR, DIR_ALTERAR, DIR_EXCLUIR, DIR_RELATORIO) values (1, 5, 0, 1001, 1, 1, 0, 0, 0)"));
    s.db.exec(QStringLiteral("set generator GEN_CLIENTES to 10"));
    InstalarVerificadorAcesso();
    DMBanco->UsuarioAtual = 5;
    TFrmClientes tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBNovo));
    digitar(tela.DBCliente, QStringLiteral("NOVO"));
    QVERIFY(pressionar(tela, tela.SBSalvar));
    QVERIFY(s.roteiro.textos().isEmpty());
    QCOMPARE(s.db.count(QStringLiteral("TB_CLIENTES")), 1);

    QVERIFY(pressionar(tela, tela.SBAlterar));
    digitar(tela.DBCliente, QStringLiteral(" ALTERADO"));
    QVERIFY(!pressionar(tela, tela.SBSalvar));
    QCOMPARE(s.roteiro.textos(), QStringList{MensagemAcessoNegado()});
    QCOMPARE(tela.Q_Clientes->GetState(), dataset::State::Edit);
    QCOMPARE(s.db.scalar(QStringLiteral("select CLI_NOME from TB_CLIENTES")).toString(), QStringLiteral("NOVO"));

    // Without the delete right: the confirmation, then the refusal, nothing deleted.
    QVERIFY(pressionar(tela, tela.SBCancelar));
    s.roteiro.limpar();
    s.roteiro.responder(QMessageBox::Yes);
    QVERIFY(!pressionar(tela, tela.SBExcluir));
    QCOMPARE(s.roteiro.textos(), (QStringList{QStringLiteral("Confirma a Exclusão?"), MensagemAcessoNegado()}));
    QCOMPARE(s.db.count(QStringLiteral("TB_CLIENTES")), 1);
    DMBanco->UsuarioAtual = 0;
}

void TstClientes::sairDaObservacaoPerguntaGravar() {
    SessaoCadastro s;
    TFrmClientes tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBNovo));
    digitar(tela.DBCliente, QStringLiteral("MEMO"));
    tela.PageControl1->setCurrentIndex(1);
    tela.DBMemo1->setFocus();
    digitar(tela.DBMemo1, QStringLiteral("nota"));
    s.roteiro.responder(QMessageBox::Yes);
    tela.DBComplementoEntrega->setFocus();
    QTRY_COMPARE(s.roteiro.textos(), QStringList{QStringLiteral("Gravar?")});
    QTRY_COMPARE(s.db.count(QStringLiteral("TB_CLIENTES")), 1);
    QCOMPARE(s.db.scalar(QStringLiteral("select CLI_OBS from TB_CLIENTES")).toString(), QStringLiteral("nota"));
}

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstClientes t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_clientes.moc"

#include "SessaoCadastro.h"

#include "common/Aplicacao.h"
#include "platform/core/Exception.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBSpeedButton.h"
#include "screens/registers/U_Funcionarios.h"
#include "security/UClassSeguranca.h"

#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace {

bool pressionar(TFrmFuncionarios& tela, QAbstractButton* botao) {
    try {
        return tela.Pressionar(botao);
    } catch (const clip::EAbort&) {
        return false;
    }
}

void mostrar(QWidget& tela) {
    tela.show();
    QApplication::setActiveWindow(&tela);
    QVERIFY(QTest::qWaitForWindowActive(&tela));
}

QStringList nomes(dataset::DataSet* ds) {
    QStringList l;
    for (ds->First(); !ds->Eof(); ds->Next())
        l << ds->FieldByName(QStringLiteral("FUN_NOME"))->AsString();
    return l;
}

const QString kMensagemSenhas = QStringLiteral("Os campos Senha e confirmar Senha estão incorretos!");

} // namespace

class TstFuncionarios : public QObject {
    Q_OBJECT
private slots:
    void senhas_data();
    void senhas();
    void novoUsuarioEntraPeloLogin();
    void nomeObrigatorio();
    void perfilEDireitos();
    void exclusao();
    void listagemEPesquisa_data();
    void listagemEPesquisa();
    void escolher();
    void definirDireitosSemPermissao();
};

void TstFuncionarios::senhas_data() {
    QTest::addColumn<QString>("senha");
    QTest::addColumn<QString>("confirmacao");
    QTest::addColumn<QString>("gravada");  // in clear; stored scrambled
    QTest::addColumn<bool>("mensagem");
    QTest::newRow("ambas no marcador") << "407918" << "407918" << "velha" << false;
    QTest::newRow("nova igual nas duas") << "nova1" << "nova1" << "nova1" << false;
    QTest::newRow("diferentes") << "nova1" << "nova2" << "velha" << true;
    QTest::newRow("só a confirmação mudou") << "407918" << "outra" << "velha" << false;
    QTest::newRow("dez caracteres") << "0123456789" << "0123456789" << "0123456789" << false;
}

void TstFuncionarios::senhas() {
    QFETCH(QString, senha);
    QFETCH(QString, confirmacao);
    QFETCH(QString, gravada);
    QFETCH(bool, mensagem);
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO, FUN_LOGIN, FUN_SENHA) "
                             "values (1, 'ANA', 0, 'ana', '%1')")
                  .arg(CodificarSenha(QStringLiteral("velha"))));
    TFrmFuncionarios tela;
    mostrar(tela);
    QCOMPARE(tela.MESenha->text(), TFrmFuncionarios::kSenhaPadrao);
    QCOMPARE(tela.MEConfSenha->echoMode(), QLineEdit::Password);
    QVERIFY(pressionar(tela, tela.SBAlterar));
    digitar(tela.DbCargo, QStringLiteral("Operadora"));
    tela.MESenha->setText(senha);
    tela.MEConfSenha->setText(confirmacao);
    QVERIFY(pressionar(tela, tela.SBSalvar));
    QCOMPARE(s.roteiro.textos(), mensagem ? QStringList{kMensagemSenhas} : QStringList());
    QCOMPARE(s.db.scalar(QStringLiteral("select FUN_SENHA from TB_FUNCIONARIOS")).toString(), CodificarSenha(gravada));
    QCOMPARE(s.db.scalar(QStringLiteral("select FUN_CARGO from TB_FUNCIONARIOS")).toString(), QStringLiteral("Operadora"));
    QCOMPARE(tela.MESenha->text(), TFrmFuncionarios::kSenhaPadrao);
    QCOMPARE(tela.MEConfSenha->text(), TFrmFuncionarios::kSenhaPadrao);
}

void TstFuncionarios::novoUsuarioEntraPeloLogin() {
    SessaoCadastro s;
    s.db.exec(QStringLiteral("set generator GEN_FUNCIONARIOS to 4"));
    TFrmFuncionarios tela;
    mostrar(tela);
    tela.MESenha->setText(QStringLiteral("lixo"));
    QVERIFY(pressionar(tela, tela.SBNovo));
    QCOMPARE(tela.MESenha->text(), TFrmFuncionarios::kSenhaPadrao);
    QCOMPARE(QApplication::focusWidget(), tela.DbNome);
    digitar(tela.DbNome, QStringLiteral("Bruno Líder"));
    digitar(tela.DbLogin, QStringLiteral("bruno"));
    digitar(tela.DbEmail, QStringLiteral("Bruno@Zbv.COM"));
    tela.MESenha->setText(QStringLiteral("S3nha!"));
    tela.MEConfSenha->setText(QStringLiteral("S3nha!"));
    QVERIFY(pressionar(tela, tela.SBSalvar));
    QCOMPARE(s.db.scalar(QStringLiteral("select FUN_TIPO from TB_FUNCIONARIOS where FUN_CODIGO = 5")).toInt(), 0);
    QCOMPARE(s.db.scalar(QStringLiteral("select FUN_EMAIL from TB_FUNCIONARIOS where FUN_CODIGO = 5")).toString(),
             QStringLiteral("bruno@zbv.com"));
    const QString guardada = s.db.scalar(QStringLiteral("select FUN_SENHA from TB_FUNCIONARIOS")).toString();
    QCOMPARE(guardada.size(), 6);
    QVERIFY(guardada != QStringLiteral("S3nha!"));

    // The login query finds the user with the scrambled typed password.
    dataset::Query* login = DMBanco->Q_Usuarios;
    login->Close();
    login->ParamByName(QStringLiteral("USUARIO"))->SetAsString(QStringLiteral("bruno"));
    login->ParamByName(QStringLiteral("SENHA"))->SetAsString(CodificarSenha(QStringLiteral("S3nha!")));
    login->Open();
    QVERIFY(!login->IsEmpty());
    QCOMPARE(login->FieldByName(QStringLiteral("FUN_CODIGO"))->AsInteger(), 5);
    login->Close();
}

void TstFuncionarios::nomeObrigatorio() {
    SessaoCadastro s;
    TFrmFuncionarios tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBNovo));
    QVERIFY(!pressionar(tela, tela.SBSalvar));
    QCOMPARE(s.roteiro.textos(), QStringList{QStringLiteral("O Nome do Funcionário não foi informado!")});
    QCOMPARE(tela.Q_Funcionarios->GetState(), dataset::State::Insert);
    QCOMPARE(s.db.count(QStringLiteral("TB_FUNCIONARIOS")), 0);
}

void TstFuncionarios::perfilEDireitos() {
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (1, 'OPERADOR', 1)"));
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (2, 'CARLA', 0)"));
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO, FUN_PERFILACESSO) "
                             "values (3, 'DANI', 0, 1)"));
    TFrmFuncionarios tela;
    mostrar(tela);
    // The button's own state (the record panel is disabled while browsing).
    auto proprio = [&tela] { return tela.BDireitos->isEnabledTo(tela.PFundo); };
    QCOMPARE(DMBanco->Q_PerfilAcesso->RecordCount(), 1);
    QVERIFY(tela.Q_Funcionarios->Locate(QStringLiteral("FUN_CODIGO"), 2));
    QVERIFY(proprio());
    QVERIFY(tela.Q_Funcionarios->Locate(QStringLiteral("FUN_CODIGO"), 3));
    QVERIFY(!proprio());
    QCOMPARE(tela.DBLookupComboBox1->Text(), QStringLiteral("OPERADOR"));

    // Clearing the profile enables the button at once; choosing one disables it.
    QVERIFY(pressionar(tela, tela.SBAlterar));
    QTest::mouseClick(tela.SpeedButton4, Qt::LeftButton);
    QVERIFY(tela.Q_Funcionarios->IsEditing());
    QVERIFY(tela.Q_Funcionarios->FieldByName(QStringLiteral("FUN_PERFILACESSO"))->IsNull());
    QVERIFY(proprio());
    tela.Q_Funcionarios->FieldByName(QStringLiteral("FUN_PERFILACESSO"))->SetAsInteger(1);
    QVERIFY(!proprio());
    tela.Q_Funcionarios->FieldByName(QStringLiteral("FUN_PERFILACESSO"))->SetAsInteger(0);
    QVERIFY(proprio());
    QTest::mouseClick(tela.SpeedButton4, Qt::LeftButton);
    QVERIFY(pressionar(tela, tela.SBSalvar));
    QVERIFY(s.db.scalar(QStringLiteral("select FUN_PERFILACESSO from TB_FUNCIONARIOS where FUN_CODIGO = 3")).isNull());

    // "Definir Direitos" checks the alter right (session 0 passes) and opens
    // the editor when one is installed.
    QVERIFY(pressionar(tela, tela.SBAlterar));
    int aberto = 0;
    TFrmFuncionarios::AbrirDireitosUsuario = [&](TFrmFuncionarios& t) { aberto = t.FuncionarioAtual(); };
    QTest::mouseClick(tela.BDireitos, Qt::LeftButton);
    TFrmFuncionarios::AbrirDireitosUsuario = nullptr;
    QCOMPARE(aberto, 3);
    QVERIFY(s.roteiro.textos().isEmpty());
}

void TstFuncionarios::exclusao() {
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (1, 'ANA', 0)"));
    TFrmFuncionarios tela;
    mostrar(tela);
    tela.MESenha->setText(QStringLiteral("x"));
    s.roteiro.responder(QMessageBox::Yes).responder(QMessageBox::No);
    QVERIFY(!pressionar(tela, tela.SBExcluir));
    QCOMPARE(tela.MESenha->text(), TFrmFuncionarios::kSenhaPadrao);
    QCOMPARE(s.roteiro.mensagens().size(), 2);
    QCOMPARE(s.roteiro.mensagens()[0].texto, QStringLiteral("Confirma a Exclusão?"));
    const msg::Mensagem& aviso = s.roteiro.mensagens()[1];
    QCOMPARE(aviso.texto,
             QStringLiteral("Todos os lançamentos efetuados por este funcionário serão excluidos!\r\rDeseja realmente excluir?"));
    QCOMPARE(aviso.titulo, QStringLiteral("Atenção"));
    QCOMPARE(aviso.icone, msg::Icone::Aviso);
    QCOMPARE(aviso.padrao, QMessageBox::No);
    QCOMPARE(s.db.count(QStringLiteral("TB_FUNCIONARIOS")), 1);
    s.roteiro.responder(QMessageBox::Yes).responder(QMessageBox::Yes);
    QVERIFY(pressionar(tela, tela.SBExcluir));
    QCOMPARE(s.db.count(QStringLiteral("TB_FUNCIONARIOS")), 0);
}

void TstFuncionarios::listagemEPesquisa_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("lista");
    QTest::newRow("vazio: sem perfis nem tipo nulo") << "" << QStringList{"ANA", "O'HARA", "MARIANA"};
    QTest::newRow("contém") << "ANA" << QStringList{"ANA", "MARIANA"};
    QTest::newRow("aspas") << "O'H" << QStringList{"O'HARA"};
}

void TstFuncionarios::listagemEPesquisa() {
    QFETCH(QString, texto);
    QFETCH(QStringList, lista);
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (1, 'ANA', 0)"));
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (2, 'O''HARA', 0)"));
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (3, 'MARIANA', 0)"));
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (4, 'ANALISTAS', 1)"));
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME) values (5, 'ANASTACIO')"));
    TFrmFuncionarios tela;
    mostrar(tela);
    if (texto.isEmpty())
        tela.edPesquisaChange();
    else
        digitar(tela.edPesquisa, texto);
    QStringList achados = nomes(tela.Q_Funcionarios);
    achados.sort();
    lista.sort();
    QCOMPARE(achados, lista);
}

void TstFuncionarios::escolher() {
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (3, 'ANA', 0)"));
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (8, 'BIA', 0)"));
    int largura = 0;
    {
        TFrmFuncionarios normal;
        mostrar(normal);
        QVERIFY(normal.SBConfirmar->isHidden());
        largura = normal.edPesquisa->width();
    }
    bool visto = false;
    QTimer::singleShot(0, this, [&] {
        auto* tela = qobject_cast<TFrmFuncionarios*>(QApplication::activeModalWidget());
        QVERIFY(tela);
        visto = true;
        QVERIFY(!tela->SBConfirmar->isHidden());
        QCOMPARE(tela->edPesquisa->width(), largura - 88);
        QVERIFY(tela->Q_Funcionarios->Locate(QStringLiteral("FUN_CODIGO"), 8));
        QTest::mouseClick(tela->SBConfirmar, Qt::LeftButton);
    });
    QCOMPARE(TFrmFuncionarios::Escolher(), 8);
    QVERIFY(visto);
    QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
    QCOMPARE(TFrmFuncionarios::Escolher(), 0);
}

void TstFuncionarios::definirDireitosSemPermissao() {
    SessaoCadastro s;
    s.db.exec(QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (5, 'OPERADOR', 0)"));
    InstalarVerificadorAcesso();
    DMBanco->UsuarioAtual = 5;
    TFrmFuncionarios tela;
    mostrar(tela);
    QVERIFY(pressionar(tela, tela.SBAlterar));
    bool aberto = false;
    TFrmFuncionarios::AbrirDireitosUsuario = [&](TFrmFuncionarios&) { aberto = true; };
    QTest::mouseClick(tela.BDireitos, Qt::LeftButton);
    TFrmFuncionarios::AbrirDireitosUsuario = nullptr;
    DMBanco->UsuarioAtual = 0;
    QVERIFY(!aberto);
    QCOMPARE(s.roteiro.textos(), QStringList{MensagemAcessoNegado()});
}

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstFuncionarios t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_funcionarios.moc"

#include "SessaoTeste.h"

#include "platform/data/Query.h"
#include "security/U_Conexao.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <stdexcept>

namespace {

const QString kNegado = QStringLiteral("Acesso não permitido a este usuário. Tente novamente.");

void preencher(SessaoTeste& s) {
    s.funcionario(5, "ana", "senha1");
    s.funcionario(6, "zbvlo", "QUARTZIL", 0, 9);
    s.funcionario(9, "perfil", "perfil", 1);
    s.funcionario(0, "zero", "zero");
    s.funcionario(-3, "neg", "neg");
    s.funcionario(7, " bob", "pw ");
    s.funcionario(8, "caio", "c", 0, 0);
}

// Runs f once on the next modal login dialog, from inside its loop, while
// the returned watcher lives.
std::unique_ptr<QTimer> aoAbrirLogin(std::function<void(TFrmConexao&)> f) {
    auto t = std::make_unique<QTimer>();
    t->setInterval(20);
    QTimer* p = t.get();
    QObject::connect(p, &QTimer::timeout, [p, f] {
        if (auto* d = qobject_cast<TFrmConexao*>(QApplication::activeModalWidget())) {
            p->stop();
            f(*d);
        }
    });
    t->start();
    return t;
}

} // namespace

class TstConexao : public QObject {
    Q_OBJECT
private slots:
    void init();
    void tentativas_data();
    void tentativas();
    void falhaAoAplicarDireitos();
    void teclas();
    void fechar();
    void semFuncionariosNaoPergunta_data();
    void semFuncionariosNaoPergunta();
    void loginPeloPassoDeLogin();
    void imagem();
};

void TstConexao::init() { TFrmConexao::Encerrar = [] {}; }

void TstConexao::tentativas_data() {
    QTest::addColumn<QString>("usuario");
    QTest::addColumn<QString>("senha");
    QTest::addColumn<bool>("entra");
    QTest::addColumn<int>("codigo");
    QTest::addColumn<int>("perfil");
    QTest::addColumn<bool>("aplicou");
    QTest::newRow("manutenção") << "ZBVLO" << "QUARTZIL" << true << 0 << 0 << false;
    QTest::newRow("zbvlo minúsculo vai ao banco") << "zbvlo" << "QUARTZIL" << true << 6 << 9 << true;
    QTest::newRow("manutenção com senha errada") << "ZBVLO" << "quartzil" << false << -1 << -1 << false;
    QTest::newRow("manutenção com branco") << "ZBVLO " << "QUARTZIL" << false << -1 << -1 << false;
    QTest::newRow("perfil nulo") << "ana" << "senha1" << true << 5 << 0 << true;
    QTest::newRow("perfil 0") << "caio" << "c" << true << 8 << 0 << true;
    QTest::newRow("senha errada") << "ana" << "senha2" << false << -1 << -1 << false;
    QTest::newRow("maiúsculas contam") << "ANA" << "senha1" << false << -1 << -1 << false;
    QTest::newRow("código 0 nunca entra") << "zero" << "zero" << false << -1 << -1 << false;
    QTest::newRow("código negativo nunca entra") << "neg" << "neg" << false << -1 << -1 << false;
    QTest::newRow("brancos fazem parte") << " bob" << "pw " << true << 7 << 0 << true;
    QTest::newRow("sem os brancos") << "bob" << "pw" << false << -1 << -1 << false;
    QTest::newRow("perfil não é usuário") << "perfil" << "perfil" << true << 9 << 0 << true;
    QTest::newRow("aspas no nome") << "a' OR '1'='1" << "x' OR '1'='1" << false << -1 << -1 << false;
    QTest::newRow("fora do conjunto") << QString::fromUtf8("ana\u4e2d") << "senha1" << false << -1 << -1 << false;
}

void TstConexao::tentativas() {
    QFETCH(QString, usuario);
    QFETCH(QString, senha);
    QFETCH(bool, entra);
    QFETCH(int, codigo);
    QFETCH(int, perfil);
    QFETCH(bool, aplicou);
    SessaoTeste s;
    QVERIFY(s.ok);
    preencher(s);
    DMBanco->UsuarioAtual = -1;
    DMBanco->PerfilAtual = -1;
    int aplicacoes = 0;
    msg::Roteiro roteiro;
    TFrmConexao dlg(nullptr, [&] { ++aplicacoes; });
    dlg.show();
    dlg.EdUsuario->setText(usuario);
    dlg.EdSenha->setText(senha);
    dlg.SBOk->click();
    QCOMPARE(dlg.isVisible(), !entra);
    QCOMPARE(DMBanco->UsuarioAtual, codigo);
    QCOMPARE(DMBanco->PerfilAtual, perfil);
    QCOMPARE(aplicacoes, aplicou ? 1 : 0);
    if (entra) {
        QVERIFY(roteiro.mensagens().isEmpty());
        // The login query stays on the user's row after a database login.
        QCOMPARE(DMBanco->Q_Usuarios->Active(), codigo != 0 || usuario != "ZBVLO");
    } else {
        QCOMPARE(roteiro.textos(), QStringList{kNegado});
        QCOMPARE(dlg.EdUsuario->text(), usuario.left(15));
        QCOMPARE(dlg.EdSenha->text(), senha.left(10));
    }
}

void TstConexao::falhaAoAplicarDireitos() {
    SessaoTeste s;
    QVERIFY(s.ok);
    preencher(s);
    msg::Roteiro roteiro;
    bool falhar = true;
    TFrmConexao dlg(nullptr, [&] {
        if (falhar)
            throw std::runtime_error("sem direitos");
    });
    dlg.show();
    dlg.EdUsuario->setText("ana");
    dlg.EdSenha->setText("senha1");
    dlg.SBOk->click();
    QVERIFY(dlg.isVisible());
    QCOMPARE(roteiro.textos(), QStringList{QStringLiteral("É necessário definir direitos para este usuário!")});
    QCOMPARE(DMBanco->UsuarioAtual, 5);  // set before the rights, kept
    // A close request of any kind runs the check again.
    falhar = false;
    dlg.close();
    QVERIFY(!dlg.isVisible());
}

void TstConexao::teclas() {
    SessaoTeste s;
    QVERIFY(s.ok);
    preencher(s);
    msg::Roteiro roteiro;
    TFrmConexao dlg;
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    QVERIFY(QTest::qWaitForWindowActive(&dlg));
    dlg.EdUsuario->setFocus();
    QTest::keyClicks(dlg.EdUsuario, "ana");
    QTest::keyClick(dlg.EdUsuario, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dlg.EdSenha);
    QCOMPARE(dlg.EdUsuario->text(), QStringLiteral("ana"));
    QTest::keyClicks(dlg.EdSenha, "senha2");
    QCOMPARE(dlg.EdSenha->displayText(), QStringLiteral("******"));
    // Esc in the password box does nothing.
    QTest::keyClick(dlg.EdSenha, Qt::Key_Escape);
    QVERIFY(dlg.isVisible());
    QVERIFY(roteiro.mensagens().isEmpty());
    // Enter in the password box presses OK: the check runs.
    QTest::keyClick(dlg.EdSenha, Qt::Key_Return);
    QVERIFY(dlg.isVisible());
    QCOMPARE(roteiro.textos(), QStringList{kNegado});
    // Esc in the user box runs the check too.
    dlg.EdSenha->setText("senha1");
    QTest::keyClick(dlg.EdUsuario, Qt::Key_Escape);
    QVERIFY(!dlg.isVisible());
    QCOMPARE(DMBanco->UsuarioAtual, 5);
    QCOMPARE(roteiro.mensagens().size(), 1);
}

void TstConexao::fechar() {
    SessaoTeste s;
    QVERIFY(s.ok);
    preencher(s);
    int encerrou = 0;
    TFrmConexao::Encerrar = [&] { ++encerrou; };
    msg::Roteiro roteiro;
    DMBanco->UsuarioAtual = -1;
    TFrmConexao dlg;
    dlg.show();
    dlg.EdUsuario->setText("ana");
    dlg.SBFechar->click();
    QVERIFY(!dlg.isVisible());
    QVERIFY(dlg.Fechado());
    QCOMPARE(encerrou, 1);
    QCOMPARE(DMBanco->UsuarioAtual, -1);
    QVERIFY(roteiro.mensagens().isEmpty());
    QCOMPARE(dlg.SBFechar->text(), QStringLiteral("&Fechar"));
    QCOMPARE(dlg.SBOk->text(), QStringLiteral("OK"));
    QVERIFY(dlg.SBOk->font().bold());
}

void TstConexao::semFuncionariosNaoPergunta_data() {
    QTest::addColumn<bool>("perfis");
    QTest::newRow("tabela vazia") << false;
    QTest::newRow("só perfis") << true;
}

void TstConexao::semFuncionariosNaoPergunta() {
    QFETCH(bool, perfis);
    SessaoTeste s;
    QVERIFY(s.ok);
    if (perfis) {
        s.funcionario(9, "perfil", "perfil", 1);
        s.funcionario(10, "outro", "outro", 1);
    }
    DMBanco->UsuarioAtual = -1;
    DMBanco->PerfilAtual = -1;
    bool dialogo = false;
    auto vigia = aoAbrirLogin([&](TFrmConexao& d) {
        dialogo = true;
        d.SBFechar->click();
    });
    int aplicacoes = 0;
    QVERIFY(TFrmConexao::ExecutarLogin(nullptr, [&] { ++aplicacoes; }));
    QVERIFY(!dialogo);
    QCOMPARE(DMBanco->UsuarioAtual, 0);
    QCOMPARE(DMBanco->PerfilAtual, 0);
    QCOMPARE(aplicacoes, 0);
}

void TstConexao::loginPeloPassoDeLogin() {
    SessaoTeste s;
    QVERIFY(s.ok);
    preencher(s);
    msg::Roteiro roteiro;
    auto vigia = aoAbrirLogin([](TFrmConexao& d) {
        d.EdUsuario->setText("zbvlo");
        d.EdSenha->setText("QUARTZIL");
        d.SBOk->click();
    });
    int aplicacoes = 0;
    QVERIFY(TFrmConexao::ExecutarLogin(nullptr, [&] { ++aplicacoes; }));
    QCOMPARE(DMBanco->UsuarioAtual, 6);
    QCOMPARE(DMBanco->PerfilAtual, 9);
    QCOMPARE(aplicacoes, 1);
    QCOMPARE(DMBanco->Q_Usuarios->FieldByName("FUN_CODIGO")->AsInteger(), 6);

    int encerrou = 0;
    TFrmConexao::Encerrar = [&] { ++encerrou; };
    auto vigia2 = aoAbrirLogin([](TFrmConexao& d) { d.SBFechar->click(); });
    QVERIFY(!TFrmConexao::ExecutarLogin(nullptr, [] {}));
    QCOMPARE(encerrou, 1);
}

void TstConexao::imagem() {
    SessaoTeste s;
    TFrmConexao dlg;
    QVERIFY(dlg.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(!dlg.Image1->pixmap().isNull());
    QCOMPARE(dlg.Image1->pixmap().size(), dlg.size());
    QCOMPARE(dlg.Panel1->palette().color(QPalette::Window), QColor(Qt::white));
    QWidget* primeiro = dlg.EdUsuario;
    QCOMPARE(primeiro->nextInFocusChain(), dlg.EdSenha);
    if (!qEnvironmentVariableIsEmpty("CLIP_CAPTURAS"))
        dlg.grab().save(qEnvironmentVariable("CLIP_CAPTURAS") + "/conexao.png");
}

QTEST_MAIN(TstConexao)
#include "tst_conexao.moc"

#include "ArvoreTeste.h"

#include "common/Aplicacao.h"
#include "platform/core/Exception.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "screens/registers/U_Funcionarios.h"
#include "security/U_Direitos.h"
#include "security/U_PerfilAcesso.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

// The user rights editor and the access-profile register.
class TstEditoresDireitos : public QObject {
    Q_OBJECT
private slots:
    void usuarioAjusteEGravar_data();
    void usuarioAjusteEGravar();
    void usuarioAjusteECancelar();
    void usuarioDuploCliqueEGravar();
    void abertoPeloCadastro();
    void perfilCriarRenomearExcluir();
    void perfilDefinirAcessos();
    void perfilDireitosValemParaUsuarios();
    void perfilFecharPergunta();
    void captura();
};

namespace {

struct Cenario {
    SessaoTeste s;
    JanelaTeste j;
    msg::Roteiro roteiro;
    Cenario() { InstalarVerificadorAcesso(); }
    ~Cenario() {
        DMBanco->UsuarioAtual = 0;
        DMBanco->PerfilAtual = 0;
    }
    QStringList gravadas(int dono) { return LinhasDireitos(s.db.transaction(), dono); }
    QStringList pendentes(int dono) { return LinhasDireitos(DMBanco->Trans_Clipping, dono); }
};

void mostrar(QWidget& tela) {
    tela.show();
    QApplication::setActiveWindow(&tela);
    QVERIFY(QTest::qWaitForWindowExposed(&tela));
}

// The employees screen on employee codigo.
std::unique_ptr<TFrmFuncionarios> cadastro(int codigo) {
    auto tela = std::make_unique<TFrmFuncionarios>();
    tela->show();
    if (codigo)
        tela->Q_Funcionarios->Locate(QStringLiteral("FUN_CODIGO"), codigo);
    return tela;
}

// Runs f once on the next modal window of class T, from inside its loop.
template <class T>
std::unique_ptr<QTimer> aoAbrir(std::function<void(T&)> f) {
    auto t = std::make_unique<QTimer>();
    t->setInterval(20);
    QTimer* p = t.get();
    QObject::connect(p, &QTimer::timeout, [p, f] {
        if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget())) {
            p->stop();
            f(*d);
        }
    });
    t->start();
    return t;
}

bool menuVisivel(QAction* a) { return a->isVisible(); }

// A screen on the heap: a closed non-modal screen deletes itself.
template <class T>
struct Tela {
    QPointer<T> p;
    template <class... A>
    explicit Tela(A&&... a) : p(new T(std::forward<A>(a)...)) {}
    ~Tela() { delete p.data(); }
    T* operator->() const { return p.data(); }
    T& operator*() const { return *p; }
};

} // namespace

void TstEditoresDireitos::usuarioAjusteEGravar_data() {
    QTest::addColumn<QString>("botao");
    QTest::addColumn<QStringList>("gravado");
    QTest::addColumn<bool>("menus");     // Cadastro visible, BClientes enabled after the save
    QTest::addColumn<bool>("incluir");   // may insert clients
    QTest::newRow("Acesso Total") << "BAcessoTotal" << TodasAsLinhas("1,1,1,1,1") << true << true;
    QTest::newRow("Somente Leitura") << "Bleitura" << TodasAsLinhas("1,0,0,0,1") << true << false;
    QTest::newRow("Sem acesso") << "BSemAcesso" << QStringList{} << false << false;
}

void TstEditoresDireitos::usuarioAjusteEGravar() {
    QFETCH(QString, botao);
    QFETCH(QStringList, gravado);
    QFETCH(bool, menus);
    QFETCH(bool, incluir);
    Cenario c;
    QVERIFY(c.s.ok);
    c.s.funcionario(5, "ana", "x");
    c.s.funcionario(6, "bia", "x");
    c.s.direito(5, 1001, 1, 0, 0, 0, 0);
    c.s.direito(6, 1001);
    // Ana edits her own rights while logged in.
    DMBanco->UsuarioAtual = 6;
    c.j.w->AplicarDireitos();
    QVERIFY(!c.j.w->BFuncionarios->isEnabled());
    auto func = cadastro(5);
    Tela<TFrmDireitos> ed(func->Q_Funcionarios, func.get());
    mostrar(*ed);
    QCOMPARE(ed->windowTitle(), QStringLiteral("Direitos do Usuário"));
    QCOMPARE(ed->DbNome->text(), QStringLiteral("Pessoa 5"));
    QVERIFY(!ed->DbNome->isEnabled());
    QVERIFY(ed->TreeSeguranca->isEnabled());
    QCOMPARE(ed->TreeSeguranca->Usuario(), 5);
    QCOMPARE(ed->TreeSeguranca->PrincipalMontagem(), c.j.w.get());
    QCOMPARE(IconeDe(*ed->TreeSeguranca, 1001), int(IcTelaPermitida));
    QCOMPARE(func->Q_Funcionarios->GetState(), dataset::State::Edit);
    QVERIFY(ed->SBSalvar->isEnabled() && ed->SBCancelar->isEnabled());

    DMBanco->UsuarioAtual = 5;
    QTest::mouseClick(ed->findChild<QPushButton*>(botao), Qt::LeftButton);
    QCOMPARE(c.pendentes(5), gravado);
    QTest::mouseClick(ed->SBSalvar, Qt::LeftButton);
    QVERIFY(c.roteiro.textos().isEmpty());
    QCOMPARE(func->Q_Funcionarios->GetState(), dataset::State::Browse);
    QVERIFY(!ed->SBSalvar->isEnabled());
    // Committed by the employee's post; the other owner untouched.
    QCOMPARE(c.gravadas(5), gravado);
    QCOMPARE(c.gravadas(6), QStringList{"1001:1,1,1,1,1"});
    // The menu and tool bar followed at once, and the checks read the rows.
    QCOMPARE(menuVisivel(c.j.w->File1->menuAction()), menus);
    QCOMPARE(menuVisivel(c.j.w->RelaodeClientes1), menus);
    QCOMPARE(c.j.w->BClientes->isEnabled(), menus);
    QCOMPARE(c.j.w->BFuncionarios->isEnabled(), menus);
    QCOMPARE(VerificarAcessoSessao(1001, "DIR_ACESSO", false), menus);
    QCOMPARE(VerificarAcessoSessao(1001, "DIR_INCLUIR", false), incluir);
    QCOMPARE(VerificarAcessoSessao(1204, "DIR_RELATORIO", false), menus);
}

void TstEditoresDireitos::usuarioAjusteECancelar() {
    Cenario c;
    QVERIFY(c.s.ok);
    c.s.funcionario(5, "ana", "x");
    auto func = cadastro(5);
    {
        Tela<TFrmDireitos> ed(func->Q_Funcionarios, func.get());
        mostrar(*ed);
        QTest::mouseClick(ed->BAcessoTotal, Qt::LeftButton);
        QTest::mouseClick(ed->SBCancelar, Qt::LeftButton);
        QVERIFY(!ed->TreeSeguranca->isEnabled());
        QVERIFY(!ed->SBSalvar->isEnabled() && !ed->SBCancelar->isEnabled());
        QCOMPARE(func->Q_Funcionarios->GetState(), dataset::State::Browse);
        ed->close();
        QVERIFY(c.roteiro.textos().isEmpty());
    }
    // The rows stay written in the open transaction, committed by the next
    // save anywhere.
    QVERIFY(c.gravadas(5).isEmpty());
    QCOMPARE(c.pendentes(5).size(), CodigosMenu().size());
    QVERIFY(func->Pressionar(func->SBAlterar));
    QVERIFY(func->Pressionar(func->SBSalvar));
    QCOMPARE(c.gravadas(5), TodasAsLinhas("1,1,1,1,1"));
}

void TstEditoresDireitos::usuarioDuploCliqueEGravar() {
    Cenario c;
    QVERIFY(c.s.ok);
    c.s.funcionario(5, "ana", "x");
    c.s.direito(5, 10);
    c.s.direito(5, 1001);
    auto func = cadastro(5);
    Tela<TFrmDireitos> ed(func->Q_Funcionarios, func.get());
    mostrar(*ed);
    TTreeSeguranca* t = ed->TreeSeguranca;
    // Save, then a double-click puts the record back into editing.
    QTest::mouseClick(ed->SBSalvar, Qt::LeftButton);
    QCOMPARE(func->Q_Funcionarios->GetState(), dataset::State::Browse);
    t->setCurrentItem(t->NoDoCodigo(1001));
    t->DblClick();
    QCOMPARE(func->Q_Funcionarios->GetState(), dataset::State::Edit);
    t->setCurrentItem(t->NoDoCodigo(1004));
    t->DblClick();
    QCOMPARE(c.pendentes(5), (QStringList{"10:1,1,1,1,1", "1001:1,1,1,1,1"}));
    // Closing with unsaved switches asks; Yes saves.
    c.roteiro.responder(QMessageBox::Yes);
    ed->close();
    QCOMPARE(c.roteiro.textos(), QStringList{"Deseja salvar as alterações?"});
    QTRY_VERIFY(!ed.p);
    QCOMPARE(c.gravadas(5), (QStringList{"10:1,1,1,1,1", "1004:1,0,0,0,0"}));

    // A failed post (no name) keeps the editor in editing; the rows already
    // written stay pending.
    c.roteiro.limpar();
    Tela<TFrmDireitos> ed2(func->Q_Funcionarios, func.get());
    mostrar(*ed2);
    func->Q_Funcionarios->FieldByName("FUN_NOME")->Clear();
    ed2->TreeSeguranca->setCurrentItem(ed2->TreeSeguranca->NoDoCodigo(1004));
    ed2->TreeSeguranca->DblClick();
    QTest::mouseClick(ed2->SBSalvar, Qt::LeftButton);
    QCOMPARE(c.roteiro.textos(), QStringList{"O Nome do Funcionário não foi informado!"});
    QCOMPARE(func->Q_Funcionarios->GetState(), dataset::State::Edit);
    QVERIFY(ed2->SBSalvar->isEnabled());
    QCOMPARE(c.gravadas(5), (QStringList{"10:1,1,1,1,1", "1004:1,0,0,0,0"}));
    QCOMPARE(c.pendentes(5), QStringList{"10:1,1,1,1,1"});
}

void TstEditoresDireitos::abertoPeloCadastro() {
    Cenario c;
    QVERIFY(c.s.ok);
    c.s.funcionario(3, "perfil", "", 1);
    c.s.funcionario(5, "ana", "x");
    c.s.funcionario(7, "caio", "x", 0, 3);
    c.s.direito(5, 1101);
    auto func = cadastro(5);
    // "Definir Direitos" opens the editor modally on the employee.
    QString titulo, nome;
    int dono = 0;
    auto vigia = aoAbrir<TFrmDireitos>([&](TFrmDireitos& ed) {
        titulo = ed.windowTitle();
        nome = ed.DbNome->text();
        dono = ed.TreeSeguranca->Usuario();
        ed.close();
    });
    QVERIFY(func->Pressionar(func->SBAlterar));
    QTest::mouseClick(func->BDireitos, Qt::LeftButton);
    QCOMPARE(titulo, QStringLiteral("Direitos do Usuário"));
    QCOMPARE(nome, QStringLiteral("Pessoa 5"));
    QCOMPARE(dono, 5);
    QVERIFY(func->findChildren<TFrmDireitos*>().isEmpty());  // freed

    // An employee with a profile has no rights of his own to define.
    QVERIFY(func->Pressionar(func->SBCancelar));
    QVERIFY(func->Q_Funcionarios->Locate("FUN_CODIGO", 7));
    QVERIFY(!func->BDireitos->isEnabledTo(func->PFundo));

    // A new employee is saved (as an employee) before his rights are edited.
    QVERIFY(func->Pressionar(func->SBNovo));
    func->Q_Funcionarios->FieldByName("FUN_NOME")->SetAsString("Novo");
    dono = 0;
    vigia = aoAbrir<TFrmDireitos>([&](TFrmDireitos& ed) {
        dono = ed.TreeSeguranca->Usuario();
        QTest::mouseClick(ed.BAcessoTotal, Qt::LeftButton);
        QTest::mouseClick(ed.SBSalvar, Qt::LeftButton);
        ed.close();
    });
    QTest::mouseClick(func->BDireitos, Qt::LeftButton);
    QVERIFY(dono > 0 && dono != 3 && dono != 5 && dono != 7);
    QCOMPARE(c.s.db.scalar(QStringLiteral("SELECT FUN_TIPO FROM TB_FUNCIONARIOS WHERE FUN_CODIGO = %1").arg(dono)).toInt(),
             0);
    QCOMPARE(c.gravadas(dono), TodasAsLinhas("1,1,1,1,1"));
    QVERIFY(c.roteiro.textos().isEmpty());
}

void TstEditoresDireitos::perfilCriarRenomearExcluir() {
    Cenario c;
    QVERIFY(c.s.ok);
    // Opened from the main menu as a child window (no employee yet: no
    // login when the main window shows).
    c.j.w->show();
    QVERIFY(QTest::qWaitForWindowExposed(c.j.w.get()));
    QTest::qWait(50);
    c.j.w->PerfisdeAcesso1->trigger();
    TFrmPerfilAcesso* tela = nullptr;
    for (QMdiSubWindow* sub : c.j.w->MDIArea->subWindowList())
        if (auto* p = qobject_cast<TFrmPerfilAcesso*>(sub->widget()))
            tela = p;
    QVERIFY(tela);
    QCOMPARE(tela->windowTitle(), QStringLiteral("Perfil de Acesso"));
    QCOMPARE(tela->Tag(), 1105);
    QVERIFY(!tela->TreeSeguranca->isEnabled());
    QVERIFY(!tela->BAcessoTotal->isEnabled());
    QVERIFY(tela->SBNovo->isEnabled() && !tela->SBExcluir->isEnabled() && !tela->SBSalvar->isEnabled());
    QVERIFY(!tela->SpeedButton1->isEnabled());

    // Create.
    QTest::mouseClick(tela->SBNovo, Qt::LeftButton);
    QCOMPARE(DMBanco->Q_PerfilAcesso->GetState(), dataset::State::Insert);
    QVERIFY(!tela->SpeedButton1->isEnabled());
    QTest::keyClicks(tela->DbNome, "Vendas");
    QTest::mouseClick(tela->SBSalvar, Qt::LeftButton);
    QVERIFY(c.roteiro.textos().isEmpty());
    const int codigo = c.s.db.scalar("SELECT FUN_CODIGO FROM TB_FUNCIONARIOS WHERE FUN_NOME = 'Vendas'").toInt();
    QVERIFY(codigo > 0);
    QCOMPARE(c.s.db.scalar(QStringLiteral("SELECT FUN_TIPO FROM TB_FUNCIONARIOS WHERE FUN_CODIGO = %1").arg(codigo)).toInt(), 1);
    QVERIFY(tela->SpeedButton1->isEnabled() && tela->SBExcluir->isEnabled());
    QCOMPARE(tela->DBGrid2->Model()->rowCount(), 1);
    QCOMPARE(tela->DBGrid2->Model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("Nome"));

    // Rename: typing starts editing.
    tela->DbNome->selectAll();
    QTest::keyClicks(tela->DbNome, "Gerencia");
    QCOMPARE(DMBanco->Q_PerfilAcesso->GetState(), dataset::State::Edit);
    QTest::mouseClick(tela->SBSalvar, Qt::LeftButton);
    QCOMPARE(c.s.db.scalar(QStringLiteral("SELECT FUN_NOME FROM TB_FUNCIONARIOS WHERE FUN_CODIGO = %1").arg(codigo)).toString(),
             QStringLiteral("Gerencia"));
    QCOMPARE(c.s.db.count("TB_FUNCIONARIOS"), 1);

    // Delete: No keeps it, Yes removes the profile but not its rights rows.
    c.s.direito(codigo, 1001);
    c.roteiro.responder(QMessageBox::No);
    QTest::mouseClick(tela->SBExcluir, Qt::LeftButton);
    const msg::Mensagem& pergunta = c.roteiro.ultima();
    QCOMPARE(pergunta.texto, QStringLiteral("Confirma a Exclusão?"));
    QCOMPARE(pergunta.titulo, QStringLiteral("Confirmação"));
    QCOMPARE(pergunta.icone, msg::Icone::Pergunta);
    QCOMPARE(pergunta.padrao, QMessageBox::No);
    QCOMPARE(c.s.db.count("TB_FUNCIONARIOS", "FUN_TIPO = 1"), 1);
    c.roteiro.responder(QMessageBox::Yes);
    QTest::mouseClick(tela->SBExcluir, Qt::LeftButton);
    QCOMPARE(c.s.db.count("TB_FUNCIONARIOS", "FUN_TIPO = 1"), 0);
    QCOMPARE(c.s.db.count("TB_DIREITOS", QStringLiteral("USU_CODIGO = %1").arg(codigo)), 1);
    QVERIFY(!tela->SBExcluir->isEnabled() && !tela->SpeedButton1->isEnabled());
    QCOMPARE(c.roteiro.textos().size(), 2);
    tela->close();
}

void TstEditoresDireitos::perfilDefinirAcessos() {
    Cenario c;
    QVERIFY(c.s.ok);
    c.s.funcionario(3, "", "", 1);
    c.s.funcionario(4, "", "", 1);
    c.s.direito(3, 1001, 1, 0, 0, 0, 0);
    TFrmPerfilAcesso tela;
    mostrar(tela);
    dataset::DataSet* ds = DMBanco->Q_PerfilAcesso;
    QVERIFY(ds->Locate("FUN_CODIGO", 3));
    const auto usaveis = [&tela] {
        return tela.TreeSeguranca->isEnabled() && tela.BSemAcesso->isEnabled() && tela.Bleitura->isEnabled()
               && tela.BAcessoTotal->isEnabled();
    };
    const auto desligados = [&tela] {
        return !tela.TreeSeguranca->isEnabled() && !tela.BSemAcesso->isEnabled() && !tela.Bleitura->isEnabled()
               && !tela.BAcessoTotal->isEnabled();
    };
    QTest::mouseClick(tela.SpeedButton1, Qt::LeftButton);
    QVERIFY(usaveis());
    QCOMPARE(tela.TreeSeguranca->Usuario(), 3);
    QCOMPARE(IconeDe(*tela.TreeSeguranca, 1001), int(IcTelaPermitida));
    // A second press switches off what the first switched on.
    QTest::mouseClick(tela.SpeedButton1, Qt::LeftButton);
    QVERIFY(desligados());
    // A click on the grid switches off, and so does leaving the profile.
    QTest::mouseClick(tela.SpeedButton1, Qt::LeftButton);
    QVERIFY(usaveis());
    const QRect celula = tela.DBGrid2->CellRect(ds->CurrentRow(), 0);
    QTest::mouseClick(tela.DBGrid2->viewport(), Qt::LeftButton, {}, celula.center());
    QVERIFY(desligados());
    QTest::mouseClick(tela.SpeedButton1, Qt::LeftButton);
    QVERIFY(ds->Locate("FUN_CODIGO", 4));
    QVERIFY(desligados());
    QVERIFY(ds->Locate("FUN_CODIGO", 3));
    QTest::mouseClick(tela.SpeedButton1, Qt::LeftButton);
    QVERIFY(usaveis());

    // A double-click on the tree edits the profile; cancel switches off.
    tela.TreeSeguranca->setCurrentItem(tela.TreeSeguranca->NoDoCodigo(1002));
    tela.TreeSeguranca->DblClick();
    QCOMPARE(ds->GetState(), dataset::State::Edit);
    QTest::mouseClick(tela.SBCancelar, Qt::LeftButton);
    QVERIFY(desligados());
    QVERIFY(c.roteiro.textos().isEmpty());

    // "Somente Leitura" and "Gravar": the profile's rows, committed.
    QTest::mouseClick(tela.SpeedButton1, Qt::LeftButton);
    QTest::mouseClick(tela.Bleitura, Qt::LeftButton);
    QCOMPARE(ds->GetState(), dataset::State::Edit);
    QTest::mouseClick(tela.SBSalvar, Qt::LeftButton);
    QCOMPARE(c.gravadas(3), TodasAsLinhas("1,0,0,0,1"));
    QVERIFY(c.gravadas(4).isEmpty());
    QCOMPARE(c.s.db.scalar("SELECT FUN_TIPO FROM TB_FUNCIONARIOS WHERE FUN_CODIGO = 3").toInt(), 1);
}

void TstEditoresDireitos::perfilDireitosValemParaUsuarios() {
    Cenario c;
    QVERIFY(c.s.ok);
    c.s.funcionario(3, "", "", 1);
    c.s.funcionario(7, "caio", "x", 0, 3);
    c.s.direito(7, 1002);  // own rows are ignored while he has a profile
    DMBanco->UsuarioAtual = 7;
    DMBanco->PerfilAtual = 3;
    c.j.w->AplicarDireitos();
    QVERIFY(!menuVisivel(c.j.w->File1->menuAction()));
    QVERIFY(!c.j.w->BFuncionarios->isEnabled());
    {
        Tela<TFrmPerfilAcesso> tela;
        mostrar(*tela);
        QVERIFY(DMBanco->Q_PerfilAcesso->Locate("FUN_CODIGO", 3));
        QTest::mouseClick(tela->SpeedButton1, Qt::LeftButton);
        // Only "Cadastro" and "Clientes" with every operation.
        TTreeSeguranca* t = tela->TreeSeguranca;
        for (const char* op : {"Incluir", "Alterar", "Excluir"}) {
            for (int i = 0; i < t->NoDoCodigo(1001)->childCount(); ++i)
                if (t->NoDoCodigo(1001)->child(i)->text(0) == QLatin1String(op))
                    t->setCurrentItem(t->NoDoCodigo(1001)->child(i));
            t->DblClick();
        }
        t->setCurrentItem(t->NoDoCodigo(10));
        t->DblClick();
        QTest::mouseClick(tela->SBSalvar, Qt::LeftButton);
        tela->close();
    }
    QCOMPARE(c.gravadas(3), (QStringList{"10:1,0,0,0,0", "1001:1,1,1,1,0"}));
    QVERIFY(menuVisivel(c.j.w->File1->menuAction()));
    QVERIFY(menuVisivel(c.j.w->Clientes1));
    QVERIFY(!menuVisivel(c.j.w->Funcionrios1));
    QVERIFY(c.j.w->BClientes->isEnabled());
    QVERIFY(!c.j.w->BFuncionarios->isEnabled());
    QVERIFY(VerificarAcessoSessao(1001, "DIR_EXCLUIR", false));
    // Deleting the profile leaves its rows: its users keep its rights.
    c.s.db.exec("DELETE FROM TB_FUNCIONARIOS WHERE FUN_CODIGO = 3");
    QVERIFY(VerificarAcessoSessao(1001, "DIR_INCLUIR", false));
}

void TstEditoresDireitos::perfilFecharPergunta() {
    Cenario c;
    QVERIFY(c.s.ok);
    c.s.funcionario(3, "", "", 1);
    auto* tela = new TFrmPerfilAcesso;
    QPointer<TFrmPerfilAcesso> guarda = tela;
    mostrar(*tela);
    QVERIFY(DMBanco->Q_PerfilAcesso->Locate("FUN_CODIGO", 3));
    tela->DbNome->selectAll();
    QTest::keyClicks(tela->DbNome, "Financeiro");
    // Cancel keeps the screen open; Yes saves and closes.
    c.roteiro.responder(QMessageBox::Cancel);
    tela->close();
    QVERIFY(tela->isVisible());
    c.roteiro.responder(QMessageBox::Yes);
    tela->close();
    QTRY_VERIFY(!guarda);
    QCOMPARE(c.roteiro.textos(), (QStringList{"Deseja salvar as alterações?", "Deseja salvar as alterações?"}));
    QCOMPARE(c.s.db.scalar("SELECT FUN_NOME FROM TB_FUNCIONARIOS WHERE FUN_CODIGO = 3").toString(),
             QStringLiteral("Financeiro"));
    QCOMPARE(DMBanco->Q_PerfilAcesso->GetState(), dataset::State::Browse);
}

void TstEditoresDireitos::captura() {
    // CLIP_CAPTURAS=<folder> writes pictures of both editors there.
    if (qEnvironmentVariableIsEmpty("CLIP_CAPTURAS"))
        QSKIP("CLIP_CAPTURAS not set");
    const QString pasta = qEnvironmentVariable("CLIP_CAPTURAS");
    Cenario c;
    c.s.funcionario(3, "", "", 1);
    c.s.funcionario(4, "", "", 1);
    c.s.direito(3, 10);
    c.s.direito(3, 1001, 1, 1, 0, 1, 0);
    c.s.direito(3, 1203);
    c.j.w->resize(1280, 800);
    c.j.w->show();
    QTest::qWait(50);
    c.j.w->PerfisdeAcesso1->trigger();
    QTest::qWait(50);
    TFrmPerfilAcesso* tela = c.j.w->findChild<TFrmPerfilAcesso*>();
    QVERIFY(tela);
    QVERIFY(DMBanco->Q_PerfilAcesso->Locate("FUN_CODIGO", 3));
    QTest::mouseClick(tela->SpeedButton1, Qt::LeftButton);
    tela->TreeSeguranca->expandAll();
    QTest::qWait(100);
    c.j.w->grab().save(pasta + "/perfilacesso.png");
    tela->close();

    c.s.funcionario(5, "ana", "x");
    auto func = cadastro(5);
    Tela<TFrmDireitos> ed(func->Q_Funcionarios, func.get());
    mostrar(*ed);
    ed->TreeSeguranca->expandAll();
    QTest::qWait(100);
    ed->grab().save(pasta + "/direitos.png");
}

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstEditoresDireitos t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_editoresdireitos.moc"

#include "security/SessaoTeste.h"

#include "platform/data/Query.h"
#include "screens/agenda/U_Aniversariantes.h"
#include "screens/clipping/U_PesquisaLancamento.h"
#include "screens/base/U_BaseChild.h"
#include "screens/base/U_Principal.h"
#include "screens/maintenance/U_Backup.h"
#include "security/U_Conexao.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QDialog>
#include <QFile>
#include <QPushButton>
#include <QTableView>
#include <QWindow>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>

namespace {

// Runs f once on the next modal window of class T, from inside its loop,
// while the returned watcher lives.
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

struct Janela {
    Janela() {
        TFrmPrincipal::Encerrar = [this] { ++encerrou; };
        TFrmBackup::Encerrar = [] {};
        w = std::make_unique<TFrmPrincipal>();
    }
    ~Janela() {
        w.reset();
        TFrmPrincipal::Encerrar = [] {};
    }
    std::unique_ptr<TFrmPrincipal> w;
    int encerrou = 0;
};

} // namespace

class TstPrincipal : public QObject {
    Q_OBJECT
private slots:
    void itensDoMenu();
    void barraDeFerramentas();
    void passoDeCriacao();
    void aplicarDireitos();
    void semFuncionariosTudoDisponivel();
    void aniversariantes_data();
    void aniversariantes();
    void relogioDentroDeModal();
    void abrirDuasVezes();
    void fecharRodaBackupEEncerra_data();
    void fecharRodaBackupEEncerra();
    void captura();
};

void TstPrincipal::itensDoMenu() {
    SessaoTeste s;
    QVERIFY(s.ok);
    Janela j;
    struct Item { const char* nome; const char* menu; const char* texto; int tag; int tipo; };
    const Item esperado[] = {
        {"File1", "", "Cadastro", 10, 0},
        {"Clientes1", "File1", "Clientes", 1001, 1},
        {"Funcionrios1", "File1", "Funcionários", 1002, 1},
        {"Vendedores1", "File1", "Vendedores", 1003, 1},
        {"Emissoras1", "File1", "Emissoras", 1004, 1},
        {"Programas1", "File1", "Programas", 1005, 1},
        {"Lembretes1", "File1", "Lembretes", 1006, 1},
        {"FormadePagamento1", "File1", "Forma de Pagamento", 1007, 1},
        {"Prazos1", "File1", "Prazos", 1008, 1},
        {"Mdias1", "File1", "Mídias", 1009, 1},
        {"N1", "File1", "-", 0, 0},
        {"Sair1", "File1", "Sair", 0, 0},
        {"Ferramentas1", "", "Utilitarios", 11, 0},
        {"Lanamentos1", "Ferramentas1", "Lançamentos", 1101, 1},
        {"ConsultarLanamentos1", "Ferramentas1", "Consultar Lançamentos", 1102, 1},
        {"N3", "Ferramentas1", "-", 0, 0},
        {"Pedidos1", "Ferramentas1", "Pedidos", 1106, 1},
        {"ConsultarPedidos1", "Ferramentas1", "Consultar Pedidos", 1107, 1},
        {"N2", "Ferramentas1", "-", 0, 0},
        {"AgendadeTelefones1", "Ferramentas1", "Agenda de Telefones", 1103, 1},
        {"Cpiadesegurana1", "Ferramentas1", "Cópia de segurança (Backup)", 1104, 1},
        {"PerfisdeAcesso1", "Ferramentas1", "Perfis de Acesso", 1105, 1},
        {"N4", "Ferramentas1", "-", 0, 0},
        {"ManuteodeLanamentos1", "Ferramentas1", "Manuteção de Dados", 1108, 1},
        {"Relatrios1", "", "&Relatórios", 12, 0},
        {"RelaodeClientes1", "Relatrios1", "Relação de Clientes", 1201, 2},
        {"PedidosdeVenda1", "Relatrios1", "Pedidos de Venda", 1202, 2},
        {"Emissoras2", "Relatrios1", "Emissoras", 1203, 2},
        {"Lanamentos2", "Relatrios1", "Lançamentos", 1204, 2},
        {"Window1", "", "C&onfiguração", 13, 0},
        {"EfeitosVisuais2", "Window1", "&Empresa, Efeitos Visuais e Rede", 1301, 1},
    };
    const QList<QAction*>& itens = j.w->ItensMenu();
    QCOMPARE(itens.size(), int(std::size(esperado)));
    QStringList topo;
    for (QAction* a : j.w->MainMenu->actions())
        topo << a->objectName();
    QCOMPARE(topo, (QStringList{"File1", "Ferramentas1", "Relatrios1", "Window1"}));
    for (int i = 0; i < itens.size(); ++i) {
        const Item& e = esperado[i];
        QAction* a = itens[i];
        const QString nome = QString::fromLatin1(e.nome);
        QCOMPARE(a->objectName(), nome);
        QCOMPARE(TFrmPrincipal::Tag(a), e.tag);
        QCOMPARE(TFrmPrincipal::Tipo(a), e.tipo);
        if (QString::fromUtf8(e.texto) == "-")
            QVERIFY2(a->isSeparator(), e.nome);
        else
            QCOMPARE(a->text(), QString::fromUtf8(e.texto));
        if (*e.menu) {
            auto* menu = j.w->findChild<QMenu*>(QString::fromLatin1(e.menu));
            QVERIFY(menu);
            QVERIFY2(menu->actions().contains(a), e.nome);
        } else {
            QVERIFY(a->menu());
        }
    }
    // Order inside each submenu is the table's order.
    QStringList cadastro;
    for (QAction* a : j.w->File1->actions())
        cadastro << a->objectName();
    QCOMPARE(cadastro.first(), QStringLiteral("Clientes1"));
    QCOMPARE(cadastro.last(), QStringLiteral("Sair1"));
}

void TstPrincipal::barraDeFerramentas() {
    SessaoTeste s;
    Janela j;
    QStringList ordem;
    for (QObject* o : j.w->Panel1->children())
        if (auto* w = qobject_cast<QWidget*>(o); w && !w->objectName().isEmpty())
            ordem << w->objectName();
    QCOMPARE(ordem, (QStringList{"BClientes", "BFuncionarios", "BVendedores", "BEmissoras", "BProgramas", "Bevel1",
                                 "BLancamentos", "BConsultaLancamento", "Bevel2", "BPedidos", "BConsultaPedidos",
                                 "Bevel4", "BAgenda", "BConfiguracao", "Bevel3", "BSair", "PDataHora"}));
    struct B { QToolButton* b; const char* dica; int tag; };
    const B botoes[] = {{j.w->BClientes, "Clientes", 1001}, {j.w->BFuncionarios, "Funcionários", 1002},
                        {j.w->BVendedores, "Vendedores", 1003}, {j.w->BEmissoras, "Emissoras", 1004},
                        {j.w->BProgramas, "Programas", 1005}, {j.w->BLancamentos, "Lançamentos", 1101},
                        {j.w->BConsultaLancamento, "Consultar Lançamentos", 1102}, {j.w->BPedidos, "Pedidos", 1106},
                        {j.w->BConsultaPedidos, "Consultar Pedidos", 1107},
                        {j.w->BAgenda, "Agenda de Telefones", 1103}, {j.w->BConfiguracao, "Configuração", 1301},
                        {j.w->BSair, "Sair", 0}};
    for (const B& b : botoes) {
        QCOMPARE(b.b->toolTip(), QString::fromUtf8(b.dica));
        QCOMPARE(TFrmPrincipal::Tag(b.b), b.tag);
        QVERIFY2(!b.b->icon().isNull() && !b.b->icon().pixmap(32).isNull(), b.dica);
    }
    QCOMPARE(j.w->ERelogioSistema->text(), QStringLiteral("00:00:00"));
    QVERIFY(!j.w->ERelogioSistema->isEnabled());
    QVERIFY(j.w->ERelogioSistema->isReadOnly());
    QVERIFY(j.w->ERelogioSistema->font().bold());
    QVERIFY(j.w->EDataSistema->font().bold());
    QVERIFY(j.w->EDataSistema->calendarPopup());
    QVERIFY(!(j.w->EDataSistema->focusPolicy() & Qt::TabFocus));
    QCOMPARE(j.w->TimerRelogio->interval(), 1000);
    QCOMPARE(j.w->TLembretes->interval(), 60000);
    QVERIFY(j.w->TimerRelogio->isActive() && j.w->TLembretes->isActive());
}

void TstPrincipal::passoDeCriacao() {
    SessaoTeste s;
    Janela j;
    QCOMPARE(j.w->windowTitle(), QStringLiteral("Zbvlo Clipping"));
    QVERIFY(TratadorErrosInstalado());
    QCOMPARE(JanelaPrincipal(), j.w.get());
    QCOMPARE(AreaMdi(), j.w->MDIArea);
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
    QCOMPARE(QDate(2026, 3, 4).toString(QLocale().dateFormat(QLocale::ShortFormat)), QStringLiteral("04/03/2026"));
    QVERIFY(VerificadorAcessoInstalado());
    QCOMPARE(j.w->EDataSistema->locale().language(), QLocale::Portuguese);
}

void TstPrincipal::aplicarDireitos() {
    SessaoTeste s;
    QVERIFY(s.ok);
    s.funcionario(5, "ana", "x");
    s.direito(5, 1001);
    s.direito(5, 1204);
    s.direito(5, 12);
    s.direito(5, 1102, 2);  // flag 2 denies
    Janela j;
    DMBanco->UsuarioAtual = 5;
    j.w->AplicarDireitos();
    for (QAction* a : j.w->ItensMenu()) {
        const int tag = TFrmPrincipal::Tag(a);
        const bool visivel = tag == 0 || tag == 1001 || tag == 1204 || tag == 12;
        QVERIFY2(a->isVisible() == visivel, qPrintable(a->objectName()));
    }
    QVERIFY(!j.w->File1->menuAction()->isVisible());
    QVERIFY(j.w->Sair1->isVisible() && j.w->N1->isVisible());
    for (QToolButton* b : j.w->BotoesDireitos())
        QVERIFY2(b->isEnabled() == (b == j.w->BClientes), qPrintable(b->objectName()));
    QVERIFY(j.w->BSair->isEnabled());

    // A profile replaces the user's own rows.
    s.funcionario(9, "perfil", "p", 1);
    s.direito(9, 1101);
    DMBanco->PerfilAtual = 9;
    j.w->AplicarDireitos();
    QVERIFY(j.w->Lanamentos1->isVisible());
    QVERIFY(!j.w->Clientes1->isVisible());
    QVERIFY(j.w->BLancamentos->isEnabled());
    QVERIFY(!j.w->BClientes->isEnabled());
}

void TstPrincipal::semFuncionariosTudoDisponivel() {
    SessaoTeste s;
    QVERIFY(s.ok);
    s.funcionario(9, "perfil", "p", 1);
    Janela j;
    msg::Roteiro roteiro;
    auto vigia = aoAbrir<TFrmConexao>([](TFrmConexao& d) { d.SBFechar->click(); });
    j.w->FormShow();
    QVERIFY(vigia->isActive());  // no login dialog came up
    QCOMPARE(DMBanco->UsuarioAtual, 0);
    for (QAction* a : j.w->ItensMenu())
        QVERIFY(a->isVisible());
    for (QToolButton* b : j.w->BotoesDireitos())
        QVERIFY(b->isEnabled());
    QVERIFY(roteiro.mensagens().isEmpty());
}

void TstPrincipal::aniversariantes_data() {
    QTest::addColumn<bool>("hoje");
    QTest::newRow("aniversário hoje") << true;
    QTest::newRow("ninguém hoje") << false;
}

void TstPrincipal::aniversariantes() {
    QFETCH(bool, hoje);
    SessaoTeste s;
    QVERIFY(s.ok);
    const QDate d = hoje ? QDate::currentDate() : QDate::currentDate().addDays(1);
    s.db.exec(QStringLiteral("INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_TELEFONE, AGE_DIAANIVERSARIO, "
                             "AGE_MESANIVERSARIO) VALUES (1, 'Contato', '3333-4444', %1, %2)")
                  .arg(d.day()).arg(d.month()));
    s.db.exec(QStringLiteral("INSERT INTO TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_FONE, FUN_TIPO, "
                             "FUN_DIAANIVERSARIO, FUN_MESANIVERSARIO) VALUES (3, 'Colega', '9999', 0, %1, %2)")
                  .arg(d.day()).arg(d.month()));
    s.db.exec("INSERT INTO TB_AGENDA (AGE_CODIGO, AGE_NOME, AGE_DIAANIVERSARIO, AGE_MESANIVERSARIO) "
              "VALUES (2, 'Outro dia', 31, 2)");
    Janela j;
    QStringList vistos;
    bool sempreNoTopo = false;
    QString titulo;
    auto vigiaLogin = aoAbrir<TFrmConexao>([](TFrmConexao& d) {
        d.EdUsuario->setText("ZBVLO");
        d.EdSenha->setText("QUARTZIL");
        d.SBOk->click();
    });
    auto vigia = aoAbrir<TFrmAniversariantes>([&](TFrmAniversariantes& w) {
        QAbstractItemModel* m = w.DBGrid1->model();
        for (int r = 0; r < m->rowCount(); ++r)
            vistos << m->index(r, 0).data().toString() + "|" + m->index(r, 1).data().toString();
        vistos << m->headerData(0, Qt::Horizontal).toString() + "|" + m->headerData(1, Qt::Horizontal).toString();
        sempreNoTopo = w.windowHandle() && (w.windowHandle()->flags() & Qt::WindowStaysOnTopHint);
        titulo = w.windowTitle();
        w.BFechar->click();
    });
    j.w->FormShow();
    QVERIFY(!vigiaLogin->isActive());
    if (hoje) {
        QVERIFY(!vigia->isActive());
        QCOMPARE(vistos, (QStringList{"Contato|3333-4444", "Colega|9999", "Nome|Fone"}));
        QVERIFY(sempreNoTopo);
        QCOMPARE(titulo, QStringLiteral("Aniversariantes do Dia"));
    } else {
        QVERIFY(vigia->isActive());
        QVERIFY(vistos.isEmpty());
    }
}

void TstPrincipal::relogioDentroDeModal() {
    SessaoTeste s;
    Janela j;
    QCOMPARE(j.w->ERelogioSistema->text(), QStringLiteral("00:00:00"));
    j.w->EDataSistema->setDate(QDate(2001, 1, 1));
    QDialog modal;
    QString visto;
    QDate data;
    QTimer olhar;
    olhar.setInterval(50);
    connect(&olhar, &QTimer::timeout, [&] {
        if (j.w->ERelogioSistema->text() != QLatin1String("00:00:00")) {
            visto = j.w->ERelogioSistema->text();
            data = j.w->EDataSistema->date();
            modal.accept();
        }
    });
    olhar.start();
    QTimer::singleShot(10000, &modal, &QDialog::reject);  // safety net only
    modal.exec();
    QVERIFY(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d$").match(visto).hasMatch());
    QCOMPARE(data, QDate::currentDate());
}

void TstPrincipal::abrirDuasVezes() {
    SessaoTeste s;
    QVERIFY(s.ok);
    Janela j;
    j.w->show();
    msg::Roteiro roteiro;
    j.w->BEmissoras->click();
    QCOMPARE(j.w->MDIArea->subWindowList().size(), 1);
    QMdiSubWindow* primeira = j.w->MDIArea->subWindowList().first();
    primeira->showMinimized();
    j.w->Emissoras1->trigger();
    QCOMPARE(j.w->MDIArea->subWindowList().size(), 1);
    QCOMPARE(j.w->MDIArea->subWindowList().first(), primeira);
    QVERIFY(!primeira->isMinimized());
    j.w->Clientes1->trigger();
    QCOMPARE(j.w->MDIArea->subWindowList().size(), 2);
    j.w->BClientes->click();
    QCOMPARE(j.w->MDIArea->subWindowList().size(), 2);

    // The entry search: a window of its own, not an MDI child, made once.
    DMBanco->PedidoAtual = 7;
    j.w->BConsultaLancamento->click();
    QCOMPARE(DMBanco->PedidoAtual, 0);
    QWidget* pesquisa = FrmPesquisaLancamento;
    QVERIFY(pesquisa && pesquisa->isVisible() && pesquisa->isWindow());
    j.w->ConsultarLanamentos1->trigger();
    QCOMPARE(static_cast<QWidget*>(FrmPesquisaLancamento), pesquisa);
    QCOMPARE(j.w->MDIArea->subWindowList().size(), 2);
    pesquisa->close();
    QTest::qWait(0);
}

void TstPrincipal::fecharRodaBackupEEncerra_data() {
    QTest::addColumn<int>("como");
    QTest::addColumn<QString>("host");
    QTest::newRow("botão de fechar") << 0 << "";
    QTest::newRow("BSair") << 1 << "";
    QTest::newRow("Sair1") << 2 << "";
    QTest::newRow("servidor inalcançável") << 0 << "127.0.0.1/1";
}

void TstPrincipal::fecharRodaBackupEEncerra() {
    QFETCH(int, como);
    QFETCH(QString, host);
    SessaoTeste s;
    QVERIFY(s.ok);
    DMBanco->HostServidor = host;
    Janela j;
    j.w->show();
    msg::Roteiro roteiro;
    bool automatico = false;
    roteiro.aoMostrar([&](const msg::Mensagem&) {
        auto* b = qobject_cast<TFrmBackup*>(QApplication::activeModalWidget());
        automatico = b && b->Automatico();
    });
    if (como == 0)
        j.w->close();
    else if (como == 1)
        j.w->BSair->click();
    else
        j.w->Sair1->trigger();
    QVERIFY(automatico);
    QCOMPARE(ChamadaExterna, quint8(1));
    QCOMPARE(roteiro.textos(), QStringList{host.isEmpty() ? QStringLiteral("Backup realizado com sucesso!")
                                                         : QStringLiteral("Não foi possível efetuar o Backup!")});
    QCOMPARE(j.encerrou, 1);
    QCOMPARE(QFile::exists(TFrmBackup::ArquivoBackup(QDate::currentDate())), host.isEmpty());
    // A second close request does not run the backup again.
    roteiro.limpar();
    j.w->close();
    QVERIFY(roteiro.mensagens().isEmpty());
    QCOMPARE(j.encerrou, 1);
}

void TstPrincipal::captura() {
    // CLIP_CAPTURAS=<folder> writes a picture of the main window there.
    if (qEnvironmentVariableIsEmpty("CLIP_CAPTURAS"))
        QSKIP("CLIP_CAPTURAS not set");
    SessaoTeste s;
    Janela j;
    j.w->resize(1280, 720);
    j.w->show();
    j.w->TimerRelogioTimer();
    j.w->BEmissoras->click();
    QTest::qWait(100);
    j.w->grab().save(qEnvironmentVariable("CLIP_CAPTURAS") + "/principal.png");
    j.w->File1->popup(j.w->mapToGlobal(QPoint(0, j.w->MainMenu->height())));
    QTest::qWait(100);
    j.w->File1->grab().save(qEnvironmentVariable("CLIP_CAPTURAS") + "/cadastro.png");
    j.w->File1->hide();
}

QTEST_MAIN(TstPrincipal)
#include "tst_principal.moc"

#include "ArvoreTeste.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

// The rights tree over the real main window's menu.
class TstTreeSeguranca : public QObject {
    Q_OBJECT
private slots:
    void montarDoMenu();
    void itemNovoDoMenu();
    void carregarDireitos();
    void duploClique_data();
    void duploClique();
    void duploCliqueComMouse();
    void religarGravaNovaLinha();
    void ajusteRapido_data();
    void ajusteRapido();
    void semDonoNadaGrava();
};

namespace {

struct Arvore {
    SessaoTeste s;
    JanelaTeste j;
    TTreeSeguranca t;
    Arvore() { t.SetDataSource(DMBanco->DS_Direitos); }
    void montar(int dono) {
        t.SetPrincipal(j.w.get());
        t.SetUsuario(dono);
        t.Montar();
    }
    QStringList linhas(int dono) { return LinhasDireitos(DMBanco->Trans_Clipping, dono); }
};

QStringList legendas(QTreeWidgetItem* no) {
    QStringList r;
    for (int i = 0; i < no->childCount(); ++i)
        r << no->child(i)->text(0);
    return r;
}

} // namespace

void TstTreeSeguranca::montarDoMenu() {
    Arvore a;
    QVERIFY(a.s.ok);
    a.s.funcionario(5, "ana", "x");
    a.montar(5);
    QCOMPARE(a.t.topLevelItemCount(), 1);
    TNoSeguranca* raiz = a.t.Raiz();
    QCOMPARE(raiz->text(0), QStringLiteral("Menu Principal"));
    QVERIFY(raiz->Raiz);
    QCOMPARE(raiz->Imagem(), int(IcMenuPermitido));
    QCOMPARE(legendas(raiz), (QStringList{"Cadastro", "Utilitarios", "Relatórios", "Configuração"}));
    QCOMPARE(legendas(raiz->child(0)),
             (QStringList{"Clientes", "Funcionários", "Vendedores", "Emissoras", "Programas", "Lembretes",
                          "Forma de Pagamento", "Prazos", "Mídias"}));
    QCOMPARE(legendas(raiz->child(1)),
             (QStringList{"Lançamentos", "Consultar Lançamentos", "Pedidos", "Consultar Pedidos", "Agenda de Telefones",
                          "Cópia de segurança (Backup)", "Perfis de Acesso", "Manuteção de Dados"}));
    QCOMPARE(legendas(raiz->child(2)),
             (QStringList{"Relação de Clientes", "Pedidos de Venda", "Emissoras", "Lançamentos"}));
    QCOMPARE(legendas(raiz->child(3)), (QStringList{"Empresa, Efeitos Visuais e Rede"}));

    // Codes in menu order, each node with its own code's record; an owner
    // without rows sees everything denied; nothing expanded.
    QList<int> codigos;
    for (TNoSeguranca* no : a.t.Nos()) {
        QVERIFY(!no->isExpanded());
        if (no->Raiz)
            continue;
        if (no->Operacao()) {
            QVERIFY(!no->Direito);
            QCOMPARE(no->Imagem(), int(IcOperacaoNegada));
            continue;
        }
        QVERIFY(no->Direito);
        QCOMPARE(no->Direito->Tela, no->Codigo);
        QCOMPARE(no->Direito->Usuario, 5);
        QCOMPARE(no->Imagem(), no->Tipo == 0 ? int(IcMenuNegado) : no->Tipo == 1 ? int(IcTelaNegada) : int(IcRelatorioNegado));
        QCOMPARE(legendas(no).size(), no->Tipo == 0 ? no->childCount() : no->Tipo == 1 ? 3 : 1);
        if (no->Tipo == 1)
            QCOMPARE(legendas(no), (QStringList{"Incluir", "Alterar", "Excluir"}));
        if (no->Tipo == 2)
            QCOMPARE(legendas(no), (QStringList{"Permitir"}));
        codigos << no->Codigo;
    }
    QCOMPARE(codigos, CodigosMenu());
    // The same caption twice: two nodes, each with its own code.
    QCOMPARE(a.t.NoDoCodigo(1004)->text(0), QStringLiteral("Emissoras"));
    QCOMPARE(a.t.NoDoCodigo(1203)->text(0), QStringLiteral("Emissoras"));
    QCOMPARE(a.t.NoDoCodigo(1204)->parent()->text(0), QStringLiteral("Relatórios"));
    QCOMPARE(a.t.PrincipalMontagem(), a.j.w.get());
}

void TstTreeSeguranca::itemNovoDoMenu() {
    Arvore a;
    QVERIFY(a.s.ok);
    a.s.funcionario(5, "ana", "x");
    a.s.direito(5, 1401, 1, 1, 0, 0, 0);
    // A menu item added with a code and a kind shows up; one of an unknown
    // kind does not.
    QMenu* novo = a.j.w->MainMenu->addMenu(QStringLiteral("&Extras"));
    novo->menuAction()->setProperty("Tag", 14);
    QAction* tela = novo->addAction(QStringLiteral("&Cotações"));
    tela->setProperty("Tag", 1401);
    tela->setProperty("HelpContext", 1);
    QAction* outro = novo->addAction(QStringLiteral("Outro"));
    outro->setProperty("Tag", 1402);
    outro->setProperty("HelpContext", 3);
    a.montar(5);
    TNoSeguranca* extras = a.t.NoDoCodigo(14);
    QVERIFY(extras);
    QCOMPARE(extras->text(0), QStringLiteral("Extras"));
    QCOMPARE(legendas(extras), QStringList{"Cotações"});
    QCOMPARE(IconeDe(a.t, 1401), int(IcTelaPermitida));
    QCOMPARE(IconeDe(a.t, 1401, "Incluir"), int(IcOperacaoPermitida));
    QCOMPARE(IconeDe(a.t, 1401, "Alterar"), int(IcOperacaoNegada));
    QVERIFY(!a.t.NoDoCodigo(1402));
}

void TstTreeSeguranca::carregarDireitos() {
    Arvore a;
    QVERIFY(a.s.ok);
    a.s.funcionario(5, "ana", "x");
    a.s.funcionario(6, "bia", "x");
    a.s.direito(5, 1001, 1, 1, 0, 1, 0);
    a.s.direito(5, 12, 1, 0, 0, 0, 0);
    a.s.direito(5, 1202, 1, 0, 0, 0, 1);
    a.s.direito(5, 1102, 2, 1, 1, 1, 1);  // any value other than 0 shows allowed
    a.s.direito(6, 1002);                 // another owner's row
    a.montar(5);
    QCOMPARE(IconeDe(a.t, 1001), int(IcTelaPermitida));
    QCOMPARE(IconeDe(a.t, 1001, "Incluir"), int(IcOperacaoPermitida));
    QCOMPARE(IconeDe(a.t, 1001, "Alterar"), int(IcOperacaoNegada));
    QCOMPARE(IconeDe(a.t, 1001, "Excluir"), int(IcOperacaoPermitida));
    QCOMPARE(IconeDe(a.t, 10), int(IcMenuNegado));
    QCOMPARE(IconeDe(a.t, 12), int(IcMenuPermitido));
    QCOMPARE(IconeDe(a.t, 1202), int(IcRelatorioPermitido));
    QCOMPARE(IconeDe(a.t, 1202, "Permitir"), int(IcOperacaoPermitida));
    QCOMPARE(IconeDe(a.t, 1201), int(IcRelatorioNegado));
    QCOMPARE(IconeDe(a.t, 1102), int(IcTelaPermitida));
    QCOMPARE(IconeDe(a.t, 1002), int(IcTelaNegada));
    QCOMPARE(a.t.NoDoCodigo(1001)->Direito->Excluir, 1);
    QCOMPARE(int(a.t.ListaDireitos().size()), 4);
    // A rebuild for the other owner replaces every node.
    a.montar(6);
    QCOMPARE(IconeDe(a.t, 1001), int(IcTelaNegada));
    QCOMPARE(IconeDe(a.t, 1002), int(IcTelaPermitida));
}

void TstTreeSeguranca::duploClique_data() {
    QTest::addColumn<QList<int>>("linhas");   // codes with every flag 1 before
    QTest::addColumn<int>("alvo");            // node's code (0: the root)
    QTest::addColumn<QString>("operacao");    // operation under it, or empty
    QTest::addColumn<QStringList>("icones");  // "code[/operation]=icon" after the click
    QTest::addColumn<QStringList>("gravado"); // the owner's rows after GravarDireitos

    const QStringList todos = {"10:1,1,1,1,1", "1001:1,1,1,1,1"};
    QTest::newRow("raiz nada muda") << QList<int>{10, 1001} << 0 << QString() << QStringList{"10=0", "1001=1"} << todos;
    QTest::newRow("tela permitida negada")
        << QList<int>{10, 1001} << 1001 << QString()
        << QStringList{"1001=6", "1001/Incluir=4", "1001/Excluir=4", "10=0"} << QStringList{"10:1,1,1,1,1"};
    QTest::newRow("tela negada sob menu negado")
        << QList<int>{} << 1003 << QString() << QStringList{"1003=1", "10=0", "1001=6"}
        << QStringList{"10:1,0,0,0,0", "1003:1,0,0,0,0"};
    QTest::newRow("relatorio negado permitido")
        << QList<int>{12} << 1203 << QString() << QStringList{"1203=2", "1203/Permitir=4", "1004=6"}
        << QStringList{"12:1,1,1,1,1", "1203:1,0,0,0,0"};
    QTest::newRow("operacao liga tela negada")
        << QList<int>{} << 1001 << QStringLiteral("Alterar")
        << QStringList{"1001=1", "1001/Alterar=3", "1001/Incluir=4", "10=5"} << QStringList{"1001:1,0,1,0,0"};
    QTest::newRow("operacao desligada tela fica")
        << QList<int>{10, 1001} << 1001 << QStringLiteral("Excluir")
        << QStringList{"1001=1", "1001/Excluir=4", "1001/Incluir=3"}
        << QStringList{"10:1,1,1,1,1", "1001:1,1,1,0,1"};
    QTest::newRow("permitir liga relatorio")
        << QList<int>{} << 1204 << QStringLiteral("Permitir") << QStringList{"1204=2", "1204/Permitir=3", "1101=6"}
        << QStringList{"1204:1,0,0,0,1"};
    QTest::newRow("menu negado permitido") << QList<int>{} << 11 << QString() << QStringList{"11=0", "1101=6"}
                                           << QStringList{"11:1,0,0,0,0"};
    // Denying a top-level menu denies what is under it, as the tree shows.
    QTest::newRow("menu permitido negado")
        << QList<int>{10, 1001, 1005, 11, 1101} << 10 << QString()
        << QStringList{"10=5", "1001=6", "1001/Incluir=4", "1005=6", "11=0", "1101=1"}
        << QStringList{"11:1,1,1,1,1", "1101:1,1,1,1,1"};
}

void TstTreeSeguranca::duploClique() {
    QFETCH(QList<int>, linhas);
    QFETCH(int, alvo);
    QFETCH(QString, operacao);
    QFETCH(QStringList, icones);
    QFETCH(QStringList, gravado);
    Arvore a;
    QVERIFY(a.s.ok);
    a.s.funcionario(5, "ana", "x");
    for (int c : linhas)
        a.s.direito(5, c);
    a.montar(5);
    int chamadas = 0;
    a.t.OnDblClick = [&](TTreeSeguranca&) { ++chamadas; };
    QTreeWidgetItem* item = alvo == 0 ? a.t.Raiz() : a.t.NoDoCodigo(alvo);
    QVERIFY(item);
    if (!operacao.isEmpty())
        for (int i = 0; i < item->childCount(); ++i)
            if (item->child(i)->text(0) == operacao)
                item = item->child(i);
    a.t.setCurrentItem(item);
    a.t.DblClick();
    QCOMPARE(chamadas, 1);
    for (const QString& e : icones) {
        const QStringList partes = e.split('=');
        const QStringList no = partes[0].split('/');
        QCOMPARE(IconeDe(a.t, no[0].toInt(), no.value(1)), partes[1].toInt());
    }
    QCOMPARE(a.t.Raiz()->Imagem(), int(IcMenuPermitido));
    // Nothing reaches the database before GravarDireitos.
    QCOMPARE(a.linhas(5).size(), linhas.size());
    a.t.GravarDireitos();
    QCOMPARE(a.linhas(5), gravado);
}

void TstTreeSeguranca::duploCliqueComMouse() {
    Arvore a;
    QVERIFY(a.s.ok);
    a.s.funcionario(5, "ana", "x");
    a.montar(5);
    a.t.resize(300, 600);
    a.t.show();
    QVERIFY(QTest::qWaitForWindowExposed(&a.t));
    a.t.expandAll();
    bool evento = false;
    a.t.OnDblClick = [&](TTreeSeguranca& t) {
        evento = true;
        QCOMPARE(t.currentItem()->text(0), QStringLiteral("Clientes"));
        QCOMPARE(t.No(t.currentItem())->Imagem(), int(IcTelaNegada));  // still as before
    };
    const QRect r = a.t.visualItemRect(a.t.NoDoCodigo(1001));
    QTest::mouseClick(a.t.viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(a.t.viewport(), Qt::LeftButton, {}, r.center());
    QVERIFY(evento);
    QCOMPARE(IconeDe(a.t, 1001), int(IcTelaPermitida));
    QVERIFY(a.t.Alterado());
    a.t.GravarDireitos();
    QVERIFY(!a.t.Alterado());
    QCOMPARE(a.linhas(5), (QStringList{"10:1,0,0,0,0", "1001:1,0,0,0,0"}));
}

void TstTreeSeguranca::religarGravaNovaLinha() {
    Arvore a;
    QVERIFY(a.s.ok);
    a.s.funcionario(5, "ana", "x");
    a.s.direito(5, 1001);
    const int antes = a.s.db.scalar("SELECT DIR_CODIGO FROM TB_DIREITOS WHERE TEL_CODIGO = 1001").toInt();
    a.montar(5);
    a.t.setCurrentItem(a.t.NoDoCodigo(1001));
    a.t.DblClick();
    a.t.GravarDireitos();
    QVERIFY(a.linhas(5).isEmpty());
    a.t.DblClick();
    a.t.GravarDireitos();
    // Its operations were denied with it; the report flag, shown nowhere
    // for a screen, stays.
    QCOMPARE(a.linhas(5), (QStringList{"10:1,0,0,0,0", "1001:1,0,0,0,1"}));
    fb::Statement q(DMBanco->Trans_Clipping,
                    QStringLiteral("SELECT DIR_CODIGO FROM TB_DIREITOS WHERE USU_CODIGO = 5 AND TEL_CODIGO = 1001"));
    q.open();
    QVERIFY(q.fetch());
    QVERIFY(q.value(0).toInt() != antes);
    // Saving the same tree again keeps one row per code.
    a.t.GravarDireitos();
    QCOMPARE(a.linhas(5).size(), 2);
}

void TstTreeSeguranca::ajusteRapido_data() {
    QTest::addColumn<int>("ajuste");  // 0 total, 1 none, 2 read-only
    QTest::addColumn<QStringList>("gravado");
    QTest::addColumn<QList<int>>("icones");  // root, top-level, screen, report, Incluir, Permitir
    QTest::newRow("Acesso Total") << 0 << TodasAsLinhas("1,1,1,1,1") << QList<int>{0, 0, 1, 2, 3, 3};
    QTest::newRow("Sem acesso") << 1 << QStringList{} << QList<int>{5, 5, 6, 7, 4, 4};
    QTest::newRow("Somente Leitura") << 2 << TodasAsLinhas("1,0,0,0,1") << QList<int>{0, 0, 1, 2, 4, 3};
}

void TstTreeSeguranca::ajusteRapido() {
    QFETCH(int, ajuste);
    QFETCH(QStringList, gravado);
    QFETCH(QList<int>, icones);
    Arvore a;
    QVERIFY(a.s.ok);
    a.s.funcionario(5, "ana", "x");
    a.s.funcionario(6, "bia", "x");
    a.s.direito(5, 1001, 1, 0, 1, 0, 0);
    a.s.direito(5, 1203, 1, 0, 0, 0, 0);
    a.s.direito(6, 1001);
    a.montar(5);
    const AjusteDireitos ajustes[] = {AjusteDireitos::AcessoTotal(), AjusteDireitos::SemAcesso(),
                                      AjusteDireitos::SomenteLeitura()};
    a.t.AplicarAjuste(ajustes[ajuste], DMBanco->DS_Direitos);
    // Written at once, in the open transaction only.
    QCOMPARE(a.linhas(5), gravado);
    QCOMPARE(a.s.db.count("TB_DIREITOS", "USU_CODIGO = 5"), 2);
    QCOMPARE(a.linhas(6), QStringList{"1001:1,1,1,1,1"});
    QCOMPARE(a.t.Raiz()->Imagem(), icones[0]);
    QCOMPARE(IconeDe(a.t, 12), icones[1]);
    QCOMPARE(IconeDe(a.t, 1004), icones[2]);
    QCOMPARE(IconeDe(a.t, 1203), icones[3]);
    QCOMPARE(IconeDe(a.t, 1101, "Incluir"), icones[4]);
    QCOMPARE(IconeDe(a.t, 1202, "Permitir"), icones[5]);
    // Each node keeps its own code's record, also for repeated captions.
    for (int c : {1004, 1203, 1101, 1204})
        QCOMPARE(a.t.NoDoCodigo(c)->Direito->Tela, c);
    // Saving the tree afterwards leaves the same rows.
    a.t.GravarDireitos();
    QCOMPARE(a.linhas(5), gravado);
    DMBanco->Trans_Clipping.commitRetaining();
    QCOMPARE(a.s.db.count("TB_DIREITOS", "USU_CODIGO = 5"), int(gravado.size()));
}

void TstTreeSeguranca::semDonoNadaGrava() {
    Arvore a;
    QVERIFY(a.s.ok);
    a.montar(0);
    a.t.AplicarAjuste(AjusteDireitos::AcessoTotal(), DMBanco->DS_Direitos);
    a.t.GravarDireitos();
    QCOMPARE(a.s.db.count("TB_DIREITOS"), 0);
    // Before any build there is nothing to switch or write.
    TTreeSeguranca vazia;
    vazia.DblClick();
    vazia.GravarDireitos();
    QCOMPARE(vazia.topLevelItemCount(), 0);
}

QTEST_MAIN(TstTreeSeguranca)
#include "tst_treeseguranca.moc"

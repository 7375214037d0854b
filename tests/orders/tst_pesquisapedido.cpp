#include "base/SessaoTeste.h"

#include "app/U_Dm.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBGrid.h"
#include "screens/orders/U_Pedidos.h"
#include "screens/orders/U_PesquisaPedido.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QToolButton>

namespace {

// A session with a main window for the launcher and these orders (number:
// client, seller, medium, payment form, delivery date):
//   3: João Lima, Bruno, CD, Boleto, 08/03/2026
//   1: (none at all), 09/03/2026
//   5: ACME, Ana, DVD, Cartão, 10/03/2026
//   9: D'ÁVILA, Ana, -, -, 11/03/2026
//   7: JOAO SILVA, -, -, -, 12/03/2026
struct Sessao : SessaoTeste {
    std::unique_ptr<QMainWindow> janela;

    Sessao() {
        janela = std::make_unique<QMainWindow>();
        janela->setCentralWidget(new QMdiArea);
        PrepararJanelaPrincipal(janela.get());
        janela->resize(1200, 800);
        janela->show();
        QTest::qWaitForWindowExposed(janela.get());
        db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (7, 'Ana', 0)");
        db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (8, 'Bruno', 0)");
        db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO, VEN_COMISSAO) values (1, 7, 5)");
        db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO, VEN_COMISSAO) values (2, 8, 3)");
        db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (1, 'ACME')");
        db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (2, 'João Lima')"));
        db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (3, 'JOAO SILVA')");
        db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (4, 'D''ÁVILA')"));
        db.exec("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO, MID_VALOR) values (1, 'CD', 50)");
        db.exec("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO, MID_VALOR) values (2, 'DVD', 80)");
        db.exec("insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (1, 'Boleto')");
        db.exec(QStringLiteral("insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (2, 'Cartão')"));
        db.exec("insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (1, 1, '30 dias')");
        auto pedido = [this](int codigo, int numero, const char* cli, const char* ven, const char* mid,
                             const char* fpg, const char* data) {
            db.exec(QStringLiteral("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, CLI_CODIGO, VEN_CODIGO, "
                                   "MID_CODIGO, FPG_CODIGO, PED_DATAENTREGA, PED_VALOR, PED_STATUS) values "
                                   "(%1, %2, %3, %4, %5, %6, '%7', %2, 'Realizado')")
                        .arg(codigo)
                        .arg(numero)
                        .arg(QLatin1String(cli), QLatin1String(ven), QLatin1String(mid), QLatin1String(fpg),
                             QLatin1String(data)));
        };
        pedido(1, 5, "1", "1", "2", "2", "2026-03-10");
        pedido(2, 3, "2", "2", "1", "1", "2026-03-08");
        pedido(3, 7, "3", "null", "null", "null", "2026-03-12");
        pedido(4, 1, "null", "null", "null", "null", "2026-03-09");
        pedido(5, 9, "4", "1", "null", "null", "2026-03-11");
    }
    ~Sessao() {
        DefinirJanelaPrincipal(nullptr);
        janela.reset();
    }

    QMdiArea* mdi() const { return static_cast<QMdiArea*>(janela->centralWidget()); }
    template <class T> QList<T*> abertas() const {
        QList<T*> r;
        for (QMdiSubWindow* s : mdi()->subWindowList())
            if (auto* t = qobject_cast<T*>(s->widget())) r << t;
        return r;
    }
};

QList<int> numeros(dataset::Query* q) {
    QList<int> r;
    if (!q->Active()) return r;
    for (q->First(); !q->Eof(); q->Next()) r << q->FieldByName("PED_NUMERO")->AsInteger();
    return r;
}

void buscar(TFrmPesquisaPedido& f, int criterio, const QString& texto) {
    f.RGLocalizar->SetItemIndex(criterio);
    f.EdPesquisa->setText(texto);
    SessaoTeste::clicar(&f, "BBusca");
}

const QStringList kJuncoes{
    "SELECT PED.*, CLI.CLI_NOME, MID.MID_DESCRICAO, FPG.FPG_DESCRICAO, PRA.PRA_DESCRICAO, VEN.FUN_NOME",
    "FROM TB_PEDIDO PED LEFT OUTER JOIN TB_CLIENTES CLI ON PED.CLI_CODIGO = CLI.CLI_CODIGO",
    "LEFT OUTER JOIN TB_MIDIAS MID ON PED.MID_CODIGO = MID.MID_CODIGO",
    "LEFT OUTER JOIN TB_FORMAPAGAMENTO FPG ON PED.FPG_CODIGO = FPG.FPG_CODIGO",
    "LEFT OUTER JOIN TB_PRAZOS PRA ON PED.PRA_CODIGO = PRA.PRA_CODIGO",
    "LEFT OUTER JOIN V_VENDEDORES VEN ON PED.VEN_CODIGO = VEN.VEN_CODIGO"};

} // namespace

class TstPesquisaPedido : public QObject {
    Q_OBJECT
private slots:
    void abertura();
    void buscas_data();
    void buscas();
    void dataInvalidaMantemLista();
    void ordenarPorColuna();
    void enterBusca();
    void editarPedido_data();
    void editarPedido();
    void abertaPeloPedido();
};

// Every order, missing names included, by delivery date; the grid's titles.
void TstPesquisaPedido::abertura() {
    Sessao s;
    TFrmPesquisaPedido::Ordem = QStringLiteral("CLI_NOME");
    TFrmPesquisaPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QCOMPARE(f.windowTitle(), QStringLiteral("Localizar Pedidos"));
    QCOMPARE(f.Tag(), 1107);
    QCOMPARE(f.Q_Busca->SQL.Lines(), kJuncoes + QStringList{"ORDER BY PED.PED_DATAENTREGA"});
    QCOMPARE(numeros(f.Q_Busca), (QList<int>{3, 1, 5, 9, 7}));
    QCOMPARE(TFrmPesquisaPedido::Ordem, QStringLiteral("PED.PED_DATAENTREGA"));
    QCOMPARE(f.RGLocalizar->ItemIndex(), 0);
    QVERIFY(f.EdPesquisa->hasFocus());
    QStringList titulos;
    for (const auto& c : f.DBGrid1->Columns()) titulos << c.Title;
    const QStringList esperados{"Nº",    "Cliente", "Data Entrega", "Horário",  "Valor",
                                "Forma Pagamento", "Prazo", "Mídia", "Vendedor", "Status"};
    QCOMPARE(titulos, esperados);
    QVERIFY(s.roteiro->mensagens().isEmpty());
    // CLIP_CAPTURA=folder saves a picture of the screen.
    if (qEnvironmentVariableIsSet("CLIP_CAPTURA"))
        f.grab().save(qEnvironmentVariable("CLIP_CAPTURA") + "/pesquisapedido.png");
}

void TstPesquisaPedido::buscas_data() {
    QTest::addColumn<int>("criterio");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("linha");
    QTest::addColumn<QList<int>>("esperados");
    QTest::newRow("cliente") << 0 << "acm" << "and Upper(CLI.CLI_NOME) LIKE '%ACM%'" << QList<int>{5};
    QTest::newRow("cliente vazio: so quem tem cliente")
        << 0 << "" << "and Upper(CLI.CLI_NOME) LIKE '%%'" << QList<int>{3, 5, 9, 7};
    QTest::newRow("acento casa com e sem") << 0 << "joão" << "and Upper(CLI.CLI_NOME) LIKE '%JO_O%'"
                                           << QList<int>{3, 7};
    QTest::newRow("aspas dobradas") << 0 << "d'áv" << "and Upper(CLI.CLI_NOME) LIKE '%D''_V%'" << QList<int>{9};
    QTest::newRow("aspas sem par") << 0 << "x' or 1=1 or ''='" << "and Upper(CLI.CLI_NOME) LIKE '%X'' OR 1=1 OR ''''=''%'"
                                   << QList<int>{};
    QTest::newRow("vendedor") << 1 << "ana" << "and Upper(VEN.FUN_NOME) LIKE '%ANA%'" << QList<int>{5, 9};
    QTest::newRow("midia") << 2 << "d" << "and Upper(MID.MID_DESCRICAO) LIKE '%D%'" << QList<int>{3, 5};
    QTest::newRow("data") << 3 << "10/03/2026" << "and PED.PED_DATAENTREGA = :Data" << QList<int>{5};
    QTest::newRow("data vazia") << 3 << "" << "and PED.PED_DATAENTREGA = :Data" << QList<int>{};
    QTest::newRow("forma de pagamento") << 4 << "cartão" << "and Upper(FPG.FPG_DESCRICAO) LIKE '%CART_O%'"
                                        << QList<int>{5};
}

// Each criterion adds its line; text through TrocarAcentos, quotes doubled.
void TstPesquisaPedido::buscas() {
    QFETCH(int, criterio);
    QFETCH(QString, texto);
    QFETCH(QString, linha);
    QFETCH(QList<int>, esperados);
    Sessao s;
    TFrmPesquisaPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    buscar(f, criterio, texto);
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    const QStringList instrucao =
        kJuncoes + QStringList{"WHERE PED.PED_CODIGO > 0", linha, "ORDER BY PED.PED_DATAENTREGA"};
    QCOMPARE(f.Q_Busca->SQL.Lines(), instrucao);
    QCOMPARE(numeros(f.Q_Busca), esperados);
}

void TstPesquisaPedido::dataInvalidaMantemLista() {
    Sessao s;
    TFrmPesquisaPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    buscar(f, 0, "o");
    const QList<int> antes = numeros(f.Q_Busca);
    QCOMPARE(antes, (QList<int>{3, 7}));
    buscar(f, 3, "31/02/2026");
    QCOMPARE(s.roteiro->textos(), QStringList{"Informe uma data válida"});
    QVERIFY(f.Q_Busca->Active());
    QCOMPARE(numeros(f.Q_Busca), antes);
}

// A title click sorts by its field, kept by later searches until the screen
// is shown again; every column gives a statement the database takes.
void TstPesquisaPedido::ordenarPorColuna() {
    Sessao s;
    TFrmPesquisaPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    for (int c = 0; c < f.DBGrid1->Columns().size(); ++c) {
        f.DBGrid1->OnTitleClick(*f.DBGrid1, c);
        QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
        QCOMPARE(f.Q_Busca->SQL.Lines().last(), "ORDER BY " + f.DBGrid1->Columns()[c].FieldName);
        QCOMPARE(f.Q_Busca->RecordCount(), 4);  // the criterion "Cliente" with an empty box
    }
    f.DBGrid1->OnTitleClick(*f.DBGrid1, 0);
    QCOMPARE(numeros(f.Q_Busca), (QList<int>{3, 5, 7, 9}));
    f.DBGrid1->OnTitleClick(*f.DBGrid1, 1);
    QCOMPARE(numeros(f.Q_Busca), (QList<int>{5, 9, 7, 3}));  // ACME, D'ÁVILA, JOAO SILVA, João Lima
    buscar(f, 1, "");
    QCOMPARE(f.Q_Busca->SQL.Lines().last(), QStringLiteral("ORDER BY CLI_NOME"));
    QCOMPARE(numeros(f.Q_Busca), (QList<int>{5, 9, 3}));

    f.hide();
    QVERIFY(SessaoTeste::mostrar(&f));
    QCOMPARE(TFrmPesquisaPedido::Ordem, QStringLiteral("PED.PED_DATAENTREGA"));
    QCOMPARE(numeros(f.Q_Busca), (QList<int>{3, 1, 5, 9, 7}));
}

// Enter in the box searches (the screen's Enter-moves-on is off there) and
// the key preview comes back when the box is left.
void TstPesquisaPedido::enterBusca() {
    Sessao s;
    TFrmPesquisaPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QVERIFY(f.EdPesquisa->hasFocus());
    QVERIFY(!f.KeyPreview);
    QTest::keyClicks(f.EdPesquisa, "bol");
    f.RGLocalizar->SetItemIndex(4);
    QTest::keyClick(f.EdPesquisa, Qt::Key_Return);
    QVERIFY(f.EdPesquisa->hasFocus());
    QCOMPARE(numeros(f.Q_Busca), QList<int>{3});
    f.DBGrid1->setFocus();
    QVERIFY(f.KeyPreview);
}

void TstPesquisaPedido::editarPedido_data() {
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<int>("linha");
    QTest::addColumn<int>("codigo");
    QTest::newRow("terceira linha") << "" << 2 << 5;
    QTest::newRow("lista vazia") << "nenhum" << -1 << 0;
}

// The order form opens on the chosen order (an empty list leaves it on the
// first); the search stays open behind it.
void TstPesquisaPedido::editarPedido() {
    QFETCH(QString, cliente);
    QFETCH(int, linha);
    QFETCH(int, codigo);
    Sessao s;
    auto* f = AbrirFormulario<TFrmPesquisaPedido>(false, 0);
    QVERIFY(f);
    DMBanco->PedidoAtual = 99;
    buscar(*f, 0, cliente);
    if (linha >= 0) f->Q_Busca->SetRecNo(linha + 1);
    else QVERIFY(f->Q_Busca->IsEmpty());
    SessaoTeste::clicar(f, "BEditar");
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QCOMPARE(DMBanco->PedidoAtual, codigo);
    QCOMPARE(s.abertas<TFrmPedido>().size(), 1);
    QCOMPARE(s.abertas<TFrmPesquisaPedido>().size(), 1);
    if (codigo) QCOMPARE(DM->Q_Pedido->FieldByName("PED_CODIGO")->AsInteger(), codigo);
    else QCOMPARE(DM->Q_Pedido->RecNo(), 1);
    QCOMPARE(DM->Q_Pedido->GetState(), dataset::State::Browse);

    // A second order from the same search: the open form follows it.
    if (linha >= 0) {
        f->Q_Busca->First();
        SessaoTeste::clicar(f, "BEditar");
        QCOMPARE(s.abertas<TFrmPedido>().size(), 1);
        QCOMPARE(DMBanco->PedidoAtual, 2);
        QCOMPARE(DM->Q_Pedido->FieldByName("PED_NUMERO")->AsInteger(), 3);
    }
}

void TstPesquisaPedido::abertaPeloPedido() {
    Sessao s;
    auto* pedido = AbrirFormulario<TFrmPedido>(false, 0);
    QVERIFY(pedido);
    SessaoTeste::clicar(pedido, "SpeedButton2");
    SessaoTeste::clicar(pedido, "SpeedButton2");
    const auto buscas = s.abertas<TFrmPesquisaPedido>();
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QCOMPARE(buscas.size(), 1);
    QCOMPARE(numeros(buscas.first()->Q_Busca), (QList<int>{3, 1, 5, 9, 7}));
    SessaoTeste::clicar(buscas.first(), "BSair");
    SessaoTeste::liberarFechadas();
    QVERIFY(s.abertas<TFrmPesquisaPedido>().isEmpty());
}

QTEST_MAIN(TstPesquisaPedido)
#include "tst_pesquisapedido.moc"

#include "base/SessaoTeste.h"

#include "app/U_Dm.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/TableDataset.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/report/Page.h"
#include "platform/report/PainterOutput.h"
#include "platform/widgets/ColorEdit.h"
#include "screens/clipping/U_PesquisaLancamento.h"
#include "screens/orders/U_Pedidos.h"
#include "screens/registers/U_Clientes.h"

#include <QFile>
#include <QPainter>
#include <QAbstractItemView>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QToolButton>

namespace {

using Botao = msg::Botao;

const QString kNaoHa = QStringLiteral("Não há nenhum item no relatório!");
const QString kSemModelo = QStringLiteral("Arquivo de relatório não encontrado!");

// Lookup rows, a company, two clients, entries and two orders (codes 1 and
// 2, numbers 5 and 41); order 1 has three items, order 2 none.
void dados(SessaoTeste& s, bool pedidos = true) {
    auto& db = s.db;
    db.exec("insert into TB_EMPRESA (EMP_CODIGO, EMP_NOME, EMP_NOMECOMPLETO, EMP_ENDERECOCOMPLETO, EMP_CIDADEUF, "
            "EMP_FONE, EMP_CNPJ, EMP_EMAILWEB) values (1, 'Clip', 'CLIPAGEM LTDA - Clip', 'Rua das Ondas, 10', "
            "'Recife - PE', '81 3333-0000', '11.222.333/0001-44', 'contato@clip - www.clip')");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (7, 'Ana', 0)");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (8, 'Bruno', 0)");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (9, 'Perfil Vendas', 1)");
    db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO, VEN_COMISSAO) values (1, 7, 5)");
    db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO, VEN_COMISSAO) values (2, 8, 3)");
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CONTATO, CLI_FONECONTATO, CLI_ENDERECOENTREGA, "
            "CLI_COMPLEMENTOENTREGA, CLI_BAIRROENTREGA, CLI_CIDADEENTREGA, CLI_ESTADOENTREGA, CLI_CEPENTREGA) values "
            "(1, 'ACME', 'Carla', '81 9999-1111', 'Rua A, 5', 'Fundos', 'Boa Vista', 'Recife', 'PE', '50.000-000')");
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_ENDERECOENTREGA) values (2, 'BETA', 'Av. B, 9')");
    db.exec("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO, MID_VALOR) values (1, 'CD', 50)");
    db.exec("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO, MID_VALOR) values (2, 'DVD', 80.5)");
    db.exec("insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (1, 'Boleto')");
    db.exec("insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (2, 'Cartão')");
    db.exec("insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (1, 1, '30 dias')");
    db.exec("insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (2, 1, '60 dias')");
    db.exec("insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (3, 2, 'À vista')");
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'RADIO X')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (10, 'JORNAL Y', 1)");
    auto lancamento = [&](int codigo, const char* data, const char* hora, const char* tempo, const QString& assunto) {
        db.exec(QStringLiteral("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, LAN_HORA, LAN_TEMPO, EMI_CODIGO, "
                               "PRG_CODIGO, FUN_CODIGO, LAN_VELOCIDADE, LAN_CODLANCAMENTO, LAN_ASSUNTO) values "
                               "(%1, '%2', '%3', '%4', 1, 10, 8, '2', 'F%1', '%5')")
                    .arg(codigo)
                    .arg(QLatin1String(data), QLatin1String(hora), QLatin1String(tempo), assunto));
    };
    lancamento(1, "2026-03-05", "10:00:00", "00:02:00", "Terceiro");
    lancamento(2, "2026-03-04", "18:00:00", "00:01:00", "Primeiro");
    lancamento(3, "2026-03-05", "10:00:00", "00:01:30", QStringLiteral("Segundo, ") + QString("longo ").repeated(60));
    DMBanco->TB_Empresa->Close();
    DMBanco->TB_Empresa->Open();
    if (!pedidos)
        return;
    db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, CLI_CODIGO, MID_CODIGO, VEN_CODIGO, FPG_CODIGO, "
            "PRA_CODIGO, PED_VALOR, PED_DATAENTREGA, PED_HORARIO, PED_STATUS, PED_QUANTIDADE, PED_PAGO, "
            "PED_NOMESOLICITANTE, PED_FONESOLICITANTE, PED_EMAILSOLICITANTE) values (1, 5, 1, 2, 1, 1, 2, 1234.5, "
            "'2026-03-10', '14:30:00', 'Em Andamento', 3, 1, 'Davi', '81 8888-2222', 'davi@acme')");
    db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, CLI_CODIGO, FPG_CODIGO) values (2, 41, 2, 2)");
    db.exec("insert into TB_ITENSPEDIDO (IPD_CODIGO, PED_CODIGO, LAN_CODIGO) values (1, 1, 1)");
    db.exec("insert into TB_ITENSPEDIDO (IPD_CODIGO, PED_CODIGO, LAN_CODIGO) values (2, 1, 2)");
    db.exec("insert into TB_ITENSPEDIDO (IPD_CODIGO, PED_CODIGO, LAN_CODIGO) values (3, 1, 3)");
    db.exec("set generator GEN_PEDIDO to 2");
    db.exec("set generator GEN_ITENSPEDIDO to 3");
}

void copiarModelo(SessaoTeste& s) {
    const QString destino = s.db.folder() + QStringLiteral("/Relatorios/RP_PedidoVenda.rtm");
    QFile::remove(destino);
    QVERIFY(QFile::copy(QStringLiteral(MODELOS_DIR "/RP_PedidoVenda.rtm"), destino));
}

// The pages the preview would have shown.
struct Visor {
    int vezes = 0;
    QVector<report::Page> paginas;
    TFrmPedido::Visualizador anterior = TFrmPedido::Visualizar;
    Visor() {
        TFrmPedido::Visualizar = [this](const report::Report& r, QWidget*) {
            ++vezes;
            report::PageCollector c;
            r.run(c);
            paginas = c.pages;
        };
    }
    ~Visor() { TFrmPedido::Visualizar = anterior; }
    QStringList linhas() const {
        QStringList l;
        for (const report::Page& p : paginas) l += p.textLines();
        return l;
    }
};

QStringList itens(const QComboBox* c) {
    QStringList r;
    for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
    return r;
}

// Picks an item of a lookup box as the user does: the list opens, the
// item is highlighted and Enter takes it (the list closes before the item
// is handed over).
void escolher(dataset::DBLookupComboBox* c, const QString& texto) {
    const int i = c->findText(texto);
    QVERIFY2(i >= 0, qPrintable(texto));
    c->showPopup();
    QVERIFY(c->view()->isVisible());
    c->view()->setCurrentIndex(c->model()->index(i, 0));
    QTest::keyClick(c->view(), Qt::Key_Return);
    QCoreApplication::processEvents();
    QVERIFY(!c->view()->isVisible());
    QCOMPARE(c->currentText(), texto);
}

dataset::Query* pedido() { return DM->Q_Pedido; }

// Runs f on the modal window of class T as soon as it is up.
template <class T>
void naJanelaModal(std::function<void(T*)> f, bool* vista) {
    QTimer::singleShot(0, [f, vista] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        if (vista) *vista = w != nullptr;
        if (w) f(w);
        else if (QWidget* outra = QApplication::activeModalWidget()) outra->close();
    });
}

} // namespace

class TstPedidos : public QObject {
    Q_OBJECT
private slots:
    void init() { TFrmPedido::Visualizar = [](const report::Report&, QWidget*) { QFAIL("preview not replaced"); }; }

    void novoPedido_data();
    void novoPedido();
    void gravarPedidoEscreveTodasAsColunas();
    void direitos_data();
    void direitos();
    void midiaSubstituiValor_data();
    void midiaSubstituiValor();
    void prazoSegueFormaPagamento();
    void buscaCliente_data();
    void buscaCliente();
    void adicionarLancamento_data();
    void adicionarLancamento();
    void excluirLancamento_data();
    void excluirLancamento();
    void excluirPedidoLevaItens();
    void fecharEditandoNaoPergunta();
    void imprimir_data();
    void imprimir();
    void enderecoEntrega_data();
    void enderecoEntrega();
    void imprimirRecusado_data();
    void imprimirRecusado();
    void gerarArquivo_data();
    void gerarArquivo();
    void modeloSegueLayoutInterno();
};

void TstPedidos::novoPedido_data() {
    QTest::addColumn<bool>("comPedidos");
    QTest::addColumn<int>("numero");
    QTest::addColumn<int>("codigo");
    QTest::newRow("banco vazio") << false << 1 << 1;
    QTest::newRow("maior numero 41") << true << 42 << 3;
}

// "&Novo" fills code, number, paid flag and status before anything is
// typed; a cancelled order has consumed its code but not its number.
void TstPedidos::novoPedido() {
    QFETCH(bool, comPedidos);
    QFETCH(int, numero);
    QFETCH(int, codigo);
    SessaoTeste s;
    dados(s, comPedidos);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QCOMPARE(f.windowTitle(), QStringLiteral("Pedido de Venda"));
    QCOMPARE(f.Tag(), 1106);
    QVERIFY(!f.PFundo->isEnabled());
    QVERIFY(f.SBImprimir->isHidden());

    SessaoTeste::clicar(&f, "SBNovo");
    QCOMPARE(pedido()->GetState(), dataset::State::Insert);
    QVERIFY(f.PFundo->isEnabled());
    QCOMPARE(pedido()->FieldByName("PED_CODIGO")->AsInteger(), codigo);
    QCOMPARE(DMBanco->PedidoAtual, codigo);
    QCOMPARE(pedido()->FieldByName("PED_NUMERO")->AsInteger(), numero);
    QCOMPARE(pedido()->FieldByName("PED_PAGO")->AsInteger(), 0);
    QCOMPARE(pedido()->FieldByName("PED_STATUS")->AsString(), QStringLiteral("Em Andamento"));
    QCOMPARE(f.DBStatus->currentText(), QStringLiteral("Em Andamento"));
    QCOMPARE(f.DBEdit4->text(), QString::number(numero));
    QCOMPARE(f.DBGrid1->model()->rowCount(), 0);

    SessaoTeste::clicar(&f, "SBCancelar");
    SessaoTeste::clicar(&f, "SBNovo");
    QCOMPARE(pedido()->FieldByName("PED_CODIGO")->AsInteger(), codigo + 1);
    QCOMPARE(pedido()->FieldByName("PED_NUMERO")->AsInteger(), numero);
    SessaoTeste::clicar(&f, "SBSalvar");
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QCOMPARE(s.db.scalar(QString("select PED_NUMERO from TB_PEDIDO where PED_CODIGO = %1").arg(codigo + 1)).toInt(),
             numero);
    QCOMPARE(s.db.scalar(QString("select PED_STATUS from TB_PEDIDO where PED_CODIGO = %1").arg(codigo + 1)).toString(),
             QStringLiteral("Em Andamento"));
    QVERIFY(!f.PFundo->isEnabled());
}

// Every control writes its column; the two key columns are required.
void TstPedidos::gravarPedidoEscreveTodasAsColunas() {
    SessaoTeste s;
    dados(s, false);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    SessaoTeste::clicar(&f, "SBNovo");
    escolher(f.DBLookupComboBox1, "BETA");
    escolher(f.DBLookupComboBox2, "CD");
    QCOMPARE(f.DBEdit1->text(), QStringLiteral("50,00"));
    f.DBEdit1->selectAll();
    QTest::keyClicks(f.DBEdit1, "1234,5");
    escolher(f.DBLookupComboBox3, "Bruno");
    QTest::keyClicks(f.DBEdit2, "10032026");
    QTest::keyClicks(f.DBEdit3, "143000");
    escolher(f.DBLookupComboBox4, "Cartão");
    QCOMPARE(itens(f.DBLookupComboBox5), QStringList{"À vista"});
    escolher(f.DBLookupComboBox5, "À vista");
    f.DBStatus->setCurrentIndex(1);
    emit f.DBStatus->activated(1);
    QTest::keyClicks(f.DBEdit5, "3");
    f.DBCheckBox1->click();
    QTest::keyClicks(f.DBEdit6, "Davi");
    QTest::keyClicks(f.DBEdit7, "davi@beta");
    QTest::keyClicks(f.DBEdit8, "81 8888");
    SessaoTeste::clicar(&f, "SBSalvar");
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));

    const QString linha = s.db
                              .scalar("select CLI_CODIGO || '|' || VEN_CODIGO || '|' || MID_CODIGO || '|' || "
                                      "cast(PED_VALOR * 100 as integer) || '|' || PED_DATAENTREGA || '|' || PED_HORARIO || '|' || FPG_CODIGO || '|' || "
                                      "PRA_CODIGO || '|' || PED_NUMERO || '|' || PED_STATUS || '|' || PED_QUANTIDADE "
                                      "|| '|' || PED_PAGO || '|' || PED_NOMESOLICITANTE || '|' || "
                                      "PED_EMAILSOLICITANTE || '|' || PED_FONESOLICITANTE from TB_PEDIDO "
                                      "where PED_CODIGO = 1")
                              .toString();
    QCOMPARE(linha, QStringLiteral("2|2|1|123450|10-MAR-2026|14:30:00|2|3|1|Realizado|3|1|Davi|davi@beta|81 8888"));
    // Shown as money while browsing.
    QCOMPARE(f.DBEdit1->text(), QStringLiteral("R$ 1.234,50"));

    QVERIFY(pedido()->FieldByName("PED_CODIGO")->Required);
    dataset::Field* numero = pedido()->FieldByName("PED_NUMERO");
    QVERIFY(numero->Required);
    pedido()->Edit();
    numero->Clear();
    QVERIFY_THROWS_EXCEPTION(std::exception, pedido()->Post());
    pedido()->Cancel();
    QCOMPARE(s.db.scalar("select PED_NUMERO from TB_PEDIDO where PED_CODIGO = 1").toInt(), 1);
}

void TstPedidos::direitos_data() {
    QTest::addColumn<int>("incluir");
    QTest::addColumn<int>("alterar");
    QTest::addColumn<QString>("botao");
    QTest::addColumn<bool>("gravou");
    QTest::newRow("novo sem direito de incluir") << 0 << 1 << "SBNovo" << false;
    QTest::newRow("novo so com incluir") << 1 << 0 << "SBNovo" << true;
    QTest::newRow("alterar sem direito de alterar") << 1 << 0 << "SBAlterar" << false;
    QTest::newRow("alterar com direito") << 0 << 1 << "SBAlterar" << true;
}

// The base screen's checks run on the order with the form's screen code.
void TstPedidos::direitos() {
    QFETCH(int, incluir);
    QFETCH(int, alterar);
    QFETCH(QString, botao);
    QFETCH(bool, gravou);
    SessaoTeste s;
    dados(s);
    s.entrar(20, 1106, incluir, alterar, 0);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    SessaoTeste::clicar(&f, qPrintable(botao));
    if (pedido()->IsEditing()) {
        pedido()->FieldByName("PED_QUANTIDADE")->SetAsInteger(77);
        SessaoTeste::clicar(&f, "SBSalvar");
    }
    QCOMPARE(s.db.count("TB_PEDIDO", "PED_QUANTIDADE = 77"), gravou ? 1 : 0);
    QCOMPARE(s.roteiro->mensagens().isEmpty(), gravou);
}

void TstPedidos::midiaSubstituiValor_data() {
    QTest::addColumn<QString>("digitado");
    QTest::addColumn<QString>("midia");
    QTest::addColumn<double>("valor");
    QTest::newRow("sem valor") << "" << "CD" << 50.0;
    QTest::newRow("valor digitado antes") << "999" << "DVD" << 80.5;
    QTest::newRow("mesma midia de novo") << "12" << "DVD" << 80.5;
}

void TstPedidos::midiaSubstituiValor() {
    QFETCH(QString, digitado);
    QFETCH(QString, midia);
    QFETCH(double, valor);
    SessaoTeste s;
    dados(s);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    SessaoTeste::clicar(&f, "SBAlterar");
    if (!digitado.isEmpty()) {
        f.DBEdit1->setFocus();
        f.DBEdit1->selectAll();
        QTest::keyClicks(f.DBEdit1, digitado);
        f.DBEdit1->UpdateRecord();
    }
    escolher(f.DBLookupComboBox2, midia);
    QCOMPARE(pedido()->FieldByName("PED_VALOR")->AsFloat(), valor);
    // The amount stays editable.
    f.DBEdit1->selectAll();
    QTest::keyClicks(f.DBEdit1, "7");
    SessaoTeste::clicar(&f, "SBSalvar");
    QCOMPARE(s.db.scalar("select PED_VALOR from TB_PEDIDO where PED_CODIGO = 1").toDouble(), 7.0);
}

// The term list offers only the terms of the order's payment form; a term
// chosen before stays when the payment form changes.
void TstPedidos::prazoSegueFormaPagamento() {
    SessaoTeste s;
    dados(s);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QCOMPARE(f.DBLookupComboBox4->currentText(), QStringLiteral("Boleto"));
    QCOMPARE(itens(f.DBLookupComboBox5), (QStringList{"30 dias", "60 dias"}));
    QCOMPARE(f.DBLookupComboBox5->currentText(), QStringLiteral("60 dias"));
    SessaoTeste::clicar(&f, "SBProximo");
    QCOMPARE(itens(f.DBLookupComboBox5), QStringList{"À vista"});
    SessaoTeste::clicar(&f, "SBPrimeiro");
    SessaoTeste::clicar(&f, "SBAlterar");
    escolher(f.DBLookupComboBox4, "Cartão");
    QCOMPARE(itens(f.DBLookupComboBox5), QStringList{"À vista"});
    QCOMPARE(pedido()->FieldByName("PRA_CODIGO")->AsInteger(), 2);
    QCOMPARE(f.DBLookupComboBox5->currentIndex(), -1);
}

void TstPedidos::buscaCliente_data() {
    QTest::addColumn<bool>("confirmar");
    QTest::addColumn<bool>("pelaTecla");
    QTest::addColumn<int>("cliente");
    QTest::newRow("confirmado pelo botao") << true << false << 3;
    QTest::newRow("confirmado com F2") << true << true << 3;
    QTest::newRow("fechado sem confirmar") << false << false << 1;
}

// The clients register opens as a picker; a client registered there joins
// the list of the client box.
void TstPedidos::buscaCliente() {
    QFETCH(bool, confirmar);
    QFETCH(bool, pelaTecla);
    QFETCH(int, cliente);
    SessaoTeste s;
    dados(s);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    SessaoTeste::clicar(&f, "SBAlterar");
    s.db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (3, 'GAMA')");
    bool vista = false;
    quint8 chamada = 0;
    naJanelaModal<TFrmClientes>(
        [&](TFrmClientes* c) {
            chamada = ChamadaExterna;
            QVERIFY(c->Q_Clientes->Locate("CLI_CODIGO", 3));
            if (confirmar)
                c->SBConfirmar->click();
            else
                c->close();
        },
        &vista);
    if (pelaTecla) {
        f.DBLookupComboBox1->setFocus();
        QTest::keyClick(f.DBLookupComboBox1, Qt::Key_F2);
    } else {
        SessaoTeste::clicar(&f, "SBBuscaCliente");
    }
    QVERIFY(vista);
    QCOMPARE(int(chamada), 1);
    QCOMPARE(int(ChamadaExterna), 0);
    QCOMPARE(pedido()->GetState(), dataset::State::Edit);
    QCOMPARE(pedido()->FieldByName("CLI_CODIGO")->AsInteger(), cliente);
    QCOMPARE(f.DBLookupComboBox1->currentText(), QString(confirmar ? "GAMA" : "ACME"));
    QVERIFY(f.findChildren<TFrmClientes*>().isEmpty());
}

void TstPedidos::adicionarLancamento_data() {
    QTest::addColumn<bool>("comPedidos");
    QTest::addColumn<int>("pedidoAtual");
    QTest::newRow("sem pedido: cria e grava") << false << 1;
    QTest::newRow("pedido atual") << true << 1;
}

// The order is saved first and becomes PedidoAtual; the entry search opens
// modally and what it adds to that order shows in the grid afterwards.
void TstPedidos::adicionarLancamento() {
    QFETCH(bool, comPedidos);
    QFETCH(int, pedidoAtual);
    SessaoTeste s;
    dados(s, comPedidos);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    const int antes = f.DBGrid1->model()->rowCount();
    if (comPedidos) {
        SessaoTeste::clicar(&f, "SBAlterar");
        pedido()->FieldByName("PED_NOMESOLICITANTE")->SetAsString("Novo nome");
    }
    DMBanco->PedidoAtual = 0;
    bool vista = false;
    naJanelaModal<TFrmPesquisaLancamento>(
        [&](TFrmPesquisaLancamento* p) {
            // What adding the marked entries does to the current order.
            QCOMPARE(s.db.count("TB_PEDIDO", QString("PED_CODIGO = %1").arg(DMBanco->PedidoAtual)), 1);
            DM->TB_ItensPedido->Open();
            DM->TB_ItensPedido->Append();
            DM->TB_ItensPedido->FieldByName("IPD_CODIGO")->SetAsInteger(DMBanco->ProximoCodigo("GEN_ITENSPEDIDO"));
            DM->TB_ItensPedido->FieldByName("PED_CODIGO")->SetAsInteger(DMBanco->PedidoAtual);
            DM->TB_ItensPedido->FieldByName("LAN_CODIGO")->SetAsInteger(2);
            DM->TB_ItensPedido->Post();
            DM->Q_ItensPedido->Close();
            DM->Q_ItensPedido->Open();
            p->close();
        },
        &vista);
    SessaoTeste::clicar(&f, "SpeedButton1");
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QVERIFY(vista);
    QCOMPARE(DMBanco->PedidoAtual, pedidoAtual);
    QCOMPARE(pedido()->GetState(), dataset::State::Browse);
    QCOMPARE(s.db.count("TB_ITENSPEDIDO", QString("PED_CODIGO = %1").arg(pedidoAtual)), antes + 1);
    QCOMPARE(f.DBGrid1->model()->rowCount(), antes + 1);
    if (comPedidos) {
        QCOMPARE(s.db.count("TB_PEDIDO"), 2);
        QCOMPARE(s.db.scalar("select PED_NOMESOLICITANTE from TB_PEDIDO where PED_CODIGO = 1").toString(),
                 QStringLiteral("Novo nome"));
    } else {
        // A new order made this way has no status.
        QCOMPARE(s.db.count("TB_PEDIDO", "PED_NUMERO = 1 and PED_PAGO = 0 and PED_STATUS is null"), 1);
    }
    QVERIFY(f.findChildren<TFrmPesquisaLancamento*>().isEmpty());
}

void TstPedidos::excluirLancamento_data() {
    QTest::addColumn<int>("pedidoCodigo");
    QTest::addColumn<int>("resposta");
    QTest::addColumn<int>("ficam");
    QTest::newRow("sim") << 1 << int(QMessageBox::Yes) << 2;
    QTest::newRow("nao") << 1 << int(QMessageBox::No) << 3;
    QTest::newRow("lista vazia") << 2 << int(QMessageBox::Yes) << 0;
}

void TstPedidos::excluirLancamento() {
    QFETCH(int, pedidoCodigo);
    QFETCH(int, resposta);
    QFETCH(int, ficam);
    SessaoTeste s;
    dados(s);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QVERIFY(pedido()->Locate("PED_CODIGO", pedidoCodigo));
    if (pedidoCodigo == 1) {
        QCOMPARE(f.DBGrid1->model()->rowCount(), 3);
        QCOMPARE(f.DBGrid1->model()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("Cod. Fita"));
        QVERIFY(DM->Q_ItensPedido->Locate("LAN_CODIGO", 2));
    }
    s.roteiro->responder(Botao(resposta));
    SessaoTeste::clicar(&f, "SpeedButton4");
    QCOMPARE(s.roteiro->mensagens().size(), 1);
    const msg::Mensagem& m = s.roteiro->ultima();
    QCOMPARE(m.texto, QStringLiteral("Confirma a Exclusão?"));
    QCOMPARE(m.titulo, QStringLiteral("Confirmação"));
    QCOMPARE(m.padrao, QMessageBox::No);
    QCOMPARE(m.botoes, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(s.db.count("TB_ITENSPEDIDO", QString("PED_CODIGO = %1").arg(pedidoCodigo)), ficam);
    QCOMPARE(f.DBGrid1->model()->rowCount(), ficam);
    if (resposta == QMessageBox::Yes && ficam)
        QCOMPARE(s.db.count("TB_ITENSPEDIDO", "LAN_CODIGO = 2"), 0);
    QCOMPARE(s.db.count("TB_LANCAMENTO"), 3);
}

// The order goes with its items; the list starts again on the first order.
void TstPedidos::excluirPedidoLevaItens() {
    SessaoTeste s;
    dados(s);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    s.roteiro->responder(QMessageBox::Yes);
    SessaoTeste::clicar(&f, "SBExcluir");
    QCOMPARE(s.roteiro->ultima().texto, QStringLiteral("Confirma a Exclusão?"));
    QCOMPARE(s.db.count("TB_PEDIDO"), 1);
    QCOMPARE(s.db.count("TB_ITENSPEDIDO"), 0);
    QVERIFY(pedido()->Active());
    QCOMPARE(pedido()->RecNo(), 1);
    QCOMPARE(pedido()->FieldByName("PED_CODIGO")->AsInteger(), 2);
    QCOMPARE(f.DBGrid1->model()->rowCount(), 0);
}

// The closing question concerns the item list, so an order being edited is
// left as it is, unsaved.
void TstPedidos::fecharEditandoNaoPergunta() {
    SessaoTeste s;
    dados(s);
    QPointer<TFrmPedido> f = new TFrmPedido;
    QVERIFY(SessaoTeste::mostrar(f));
    SessaoTeste::clicar(f, "SBAlterar");
    pedido()->FieldByName("PED_QUANTIDADE")->SetAsInteger(99);
    f->close();
    SessaoTeste::liberarFechadas();
    QVERIFY(f.isNull());
    QVERIFY(s.roteiro->mensagens().isEmpty());
    QCOMPARE(pedido()->GetState(), dataset::State::Edit);
    QCOMPARE(s.db.count("TB_PEDIDO", "PED_QUANTIDADE = 99"), 0);
    pedido()->Close();
    pedido()->Open();
    QCOMPARE(s.db.count("TB_PEDIDO", "PED_QUANTIDADE = 99"), 0);
}

void TstPedidos::imprimir_data() {
    QTest::addColumn<QColor>("cor");
    QTest::newRow("preto") << QColor(Qt::black);
    QTest::newRow("vermelho") << QColor(Qt::red);
    QTest::newRow("azul-marinho") << QColor("#000080");
}

// The preview gets the order's data, every item sorted by date, time and
// duration with its subject in full, the stub, and the chosen ink on every
// label, data text, memo and line (the page number keeps its own).
void TstPedidos::imprimir() {
    QFETCH(QColor, cor);
    SessaoTeste s;
    dados(s);
    copiarModelo(s);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    f.EdColor->setColor(cor);
    // An order being edited is saved first.
    SessaoTeste::clicar(&f, "SBAlterar");
    pedido()->FieldByName("PED_NOMESOLICITANTE")->SetAsString("Davi Souza");
    Visor v;
    SessaoTeste::clicar(&f, "SpeedButton3");
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QCOMPARE(v.vezes, 1);
    QCOMPARE(pedido()->GetState(), dataset::State::Browse);
    // CLIP_CAPTURA=folder saves pictures of the form and of the first page.
    if (qEnvironmentVariableIsSet("CLIP_CAPTURA") && !v.paginas.isEmpty()) {
        const QString pasta = qEnvironmentVariable("CLIP_CAPTURA");
        f.grab().save(pasta + "/pedido.png");
        const report::Page& p = v.paginas.first();
        const double dpi = 120;
        QImage img(QSize(int(p.size.width() * dpi / 25.4), int(p.size.height() * dpi / 25.4)), QImage::Format_RGB32);
        img.setDotsPerMeterX(int(dpi / 0.0254));
        img.setDotsPerMeterY(int(dpi / 0.0254));
        img.fill(Qt::white);
        QPainter pintor(&img);
        report::paintPage(pintor, p);
        pintor.end();
        img.save(pasta + "/pagina.png");
    }
    QCOMPARE(s.db.count("TB_PEDIDO", "PED_NOMESOLICITANTE = 'Davi Souza'"), 1);

    const QString texto = v.linhas().join('\n');
    for (const char* esperado :
         {"CLIPAGEM LTDA - Clip", "Recife - PE", "Pedido de Venda   Nº 5", "Davi Souza", "ACME", "DVD",
          "$1.234,50", "Boleto", "60 dias", "Ana", "10/03/2026", "14:30:00", "Lançamentos", "Funcionário",
          "Zbvlo Clipping", "PRODUÇÃO:", "Destacar:", "Carla", "81 9999-1111", "Rua A, 5 - Fundos", "Boa Vista",
          "50.000-000"})
        QVERIFY2(texto.contains(QString::fromUtf8(esperado)), esperado);
    // Items in date, time and duration order; the subject in full.
    const qsizetype p1 = texto.indexOf("Primeiro"), p2 = texto.indexOf("Segundo"), p3 = texto.indexOf("Terceiro");
    QVERIFY(p1 > 0 && p1 < p2 && p2 < p3);
    QCOMPARE(texto.count("longo"), 60);
    QVERIFY(texto.contains("04/03/2026"));
    QVERIFY(texto.contains("Bruno"));

    int textos = 0, linhas = 0;
    for (const report::Page& p : v.paginas)
        for (const report::PageItem& i : p.items) {
            if (i.type == report::PageItem::Text && i.source != report::ElementKind::SystemVariable) {
                QCOMPARE(i.font.color, cor);
                ++textos;
            } else if (i.type == report::PageItem::Text) {
                QCOMPARE(i.font.color, QColor(Qt::black));
            } else if (i.type == report::PageItem::Line) {
                QCOMPARE(i.penColor, cor);
                ++linhas;
            }
        }
    QVERIFY(textos > 50);
    QVERIFY(linhas >= 5);
}

void TstPedidos::enderecoEntrega_data() {
    QTest::addColumn<int>("codigo");
    QTest::addColumn<QString>("endereco");
    QTest::newRow("com complemento") << 1 << "Rua A, 5 - Fundos";
    QTest::newRow("sem complemento") << 2 << "Av. B, 9";
}

// The delivery address of the stub, and an order without items still
// prints its header and stub.
void TstPedidos::enderecoEntrega() {
    QFETCH(int, codigo);
    QFETCH(QString, endereco);
    SessaoTeste s;
    dados(s);
    copiarModelo(s);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    QVERIFY(pedido()->Locate("PED_CODIGO", codigo));
    Visor v;
    SessaoTeste::clicar(&f, "SpeedButton3");
    QCOMPARE(v.vezes, 1);
    QCOMPARE(f.Q_Pedido->FieldByName("ENDEREÇOENTREGACOMPLETO")->AsString(), endereco);
    const QString texto = v.linhas().join('\n');
    QVERIFY(texto.contains(QStringLiteral("ENDEREÇO: ") + endereco));
    QVERIFY(texto.contains(f.Q_Pedido->FieldByName("CLI_NOME")->AsString()));
}

void TstPedidos::imprimirRecusado_data() {
    QTest::addColumn<bool>("semPedido");
    QTest::addColumn<bool>("comModelo");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("sem modelo") << false << false << kSemModelo;
    QTest::newRow("sem pedido") << true << true << kNaoHa;
}

// Neither button prints anything then; the file button asks for no file.
void TstPedidos::imprimirRecusado() {
    QFETCH(bool, semPedido);
    QFETCH(bool, comModelo);
    QFETCH(QString, mensagem);
    SessaoTeste s;
    dados(s, !semPedido);
    if (comModelo)
        copiarModelo(s);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    Visor v;
    for (const char* botao : {"SpeedButton3", "SpeedButton5"}) {
        s.roteiro->limpar();
        SessaoTeste::clicar(&f, botao);
        QCOMPARE(s.roteiro->textos(), QStringList{mensagem});
        QVERIFY(s.roteiro->dialogos().isEmpty());
    }
    QCOMPARE(v.vezes, 0);
}

void TstPedidos::gerarArquivo_data() {
    QTest::addColumn<bool>("escolhido");
    QTest::newRow("arquivo escolhido") << true;
    QTest::newRow("dialogo cancelado") << false;
}

// The text device writes the built-in layout into the chosen file; the
// order being edited is not saved first.
void TstPedidos::gerarArquivo() {
    QFETCH(bool, escolhido);
    SessaoTeste s;
    dados(s);
    copiarModelo(s);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    f.EdColor->setColor(Qt::red);
    SessaoTeste::clicar(&f, "SBAlterar");
    pedido()->FieldByName("PED_NOMESOLICITANTE")->SetAsString("Outro");
    const QString arquivo = s.db.folder() + "/pedido 5.txt";
    if (escolhido)
        s.roteiro->responderArquivo(arquivo);
    SessaoTeste::clicar(&f, "SpeedButton5");
    QVERIFY2(s.roteiro->mensagens().isEmpty(), qPrintable(s.roteiro->textos().join("|")));
    QCOMPARE(s.roteiro->dialogos().size(), 1);
    QCOMPARE(s.roteiro->dialogos()[0].tipo, msg::DialogoArquivo::Tipo::Salvar);
    QCOMPARE(pedido()->GetState(), dataset::State::Edit);
    QCOMPARE(s.db.count("TB_PEDIDO", "PED_NOMESOLICITANTE = 'Outro'"), 0);
    QCOMPARE(QFile::exists(arquivo), escolhido);
    if (!escolhido)
        return;
    QFile file(arquivo);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    if (qEnvironmentVariableIsSet("PEDIDO_TXT")) {
        QFile copia(qEnvironmentVariable("PEDIDO_TXT"));
        if (copia.open(QIODevice::WriteOnly)) copia.write(bytes);
    }
    QVERIFY(bytes.contains("\r\n"));
    QVERIFY(QRegularExpression("Pedido de Venda   N\\x{BA} +5\\r\\n")
                .match(QString::fromLatin1(bytes))
                .hasMatch());  // Windows-1252
    QVERIFY(bytes.contains("Lan\xE7" "amentos"));
    QVERIFY(bytes.contains("Davi"));
    const qsizetype p1 = bytes.indexOf("Primeiro"), p2 = bytes.indexOf("Segundo"), p3 = bytes.indexOf("Terceiro");
    QVERIFY(p1 > 0 && p1 < p2 && p2 < p3);
    QVERIFY(bytes.contains("Rua A, 5 - Fundos"));
}

// The template prints what the built-in layout prints.
void TstPedidos::modeloSegueLayoutInterno() {
    SessaoTeste s;
    dados(s);
    copiarModelo(s);
    TFrmPedido f;
    QVERIFY(SessaoTeste::mostrar(&f));
    Visor v;
    SessaoTeste::clicar(&f, "SpeedButton3");
    QCOMPARE(v.vezes, 1);
    report::PageCollector interno;
    f.RPArquivo.run(interno);
    QCOMPARE(v.paginas.size(), interno.pages.size());
    for (int i = 0; i < v.paginas.size(); ++i)
        QCOMPARE(v.paginas[i].textLines(), interno.pages[i].textLines());
}

QTEST_MAIN(TstPedidos)
#include "tst_pedidos.moc"

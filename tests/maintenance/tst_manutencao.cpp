#include "registers/SessaoCadastro.h"

#include "app/U_DMBanco.h"
#include "common/Aplicacao.h"
#include "common/U_Funcoes.h"
#include "platform/firebird/Statement.h"
#include "screens/maintenance/U_Manutencao.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QToolButton>

namespace {

const QDate kLimite(2008, 3, 10);

// Entries, orders and items around the limit date 10/03/2008:
//   entries  1: 09/03/2008   2: 10/03/2008 00:00   3: 10/03/2008 15:30
//            4: 01/01/2000   5: 11/03/2008
//   orders   1: 09/03/2008   2: 10/03/2008   3: no delivery date   4: 01/01/2008
//   items    1: order 2, entry 1   2: order 1, entry 5   3: order 2, entry 5
//            4: order 4, entry 4
void dados(SessaoCadastro& s) {
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'RADIO')");
    s.db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'JORNAL', 1)");
    s.db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (1, 'OPERADOR', 0)");
    const char* entradas[] = {"2008-03-09", "2008-03-10", "2008-03-10 15:30", "2000-01-01", "2008-03-11"};
    for (int i = 0; i < 5; ++i)
        s.db.exec(QStringLiteral("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO) "
                                 "values (%1, '%2', 1, 1, 1)")
                      .arg(i + 1)
                      .arg(QLatin1String(entradas[i])));
    const char* entregas[] = {"'2008-03-09'", "'2008-03-10'", "NULL", "'2008-01-01'"};
    for (int i = 0; i < 4; ++i)
        s.db.exec(QStringLiteral("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, PED_DATAENTREGA) values (%1, %1, %2)")
                      .arg(i + 1)
                      .arg(QLatin1String(entregas[i])));
    const int itens[][2] = {{2, 1}, {1, 5}, {2, 5}, {4, 4}};
    for (int i = 0; i < 4; ++i)
        s.db.exec(QStringLiteral("insert into TB_ITENSPEDIDO (IPD_CODIGO, PED_CODIGO, LAN_CODIGO) values (%1, %2, %3)")
                      .arg(i + 1)
                      .arg(itens[i][0])
                      .arg(itens[i][1]));
}

// The codes left in a table, as "1 2 3", read through another connection.
QString codigos(SessaoCadastro& s, const QString& tabela, const QString& chave) {
    fb::Attachment outra = s.db.connectAgain();
    fb::Transaction tra(outra);
    fb::Statement st(tra, QStringLiteral("select %1 from %2 order by %1").arg(chave, tabela));
    st.open();
    QStringList l;
    while (st.fetch())
        l << st.value(0).toString();
    return l.join(' ');
}

QString restantes(SessaoCadastro& s) {
    return codigos(s, "TB_LANCAMENTO", "LAN_CODIGO") + " / " + codigos(s, "TB_PEDIDO", "PED_CODIGO") + " / " +
           codigos(s, "TB_ITENSPEDIDO", "IPD_CODIGO");
}

// Items that point to no entry or no order.
int orfaos(SessaoCadastro& s) {
    return s.db.count("TB_ITENSPEDIDO",
                      "not exists (select 1 from TB_LANCAMENTO L where L.LAN_CODIGO = TB_ITENSPEDIDO.LAN_CODIGO) "
                      "or not exists (select 1 from TB_PEDIDO P where P.PED_CODIGO = TB_ITENSPEDIDO.PED_CODIGO)");
}

void mostrar(QWidget& tela) {
    tela.show();
    QApplication::setActiveWindow(&tela);
    QVERIFY(QTest::qWaitForWindowActive(&tela));
}

// The error handler of a running application, for clicks that fail.
struct Tratador {
    Tratador() { InstalarTratadorErros([] { return 0; }); }
    ~Tratador() { RemoverTratadorErros(); }
};

const QString kTudo = QStringLiteral("1 2 3 4 5 / 1 2 3 4 / 1 2 3 4");
const QString kSucesso = QStringLiteral("Manutenção efetuada com sucesso");

} // namespace

class TstManutencao : public QObject {
    Q_OBJECT
private slots:
    void init() { TFrmManutencao::Hoje = [] { return kLimite; }; }
    void cleanup() { TFrmManutencao::Hoje = [] { return QDate::currentDate(); }; }
    void tela();
    void purga_data();
    void purga();
    void dataInvalida_data();
    void dataInvalida();
    void falhaDesfazAPurga();
    void pedidoAtual_data();
    void pedidoAtual();
};

void TstManutencao::tela() {
    SessaoCadastro s;
    TFrmManutencao t;
    mostrar(t);
    QCOMPARE(t.windowTitle(), QStringLiteral("Manutenção"));
    QVERIFY(!t.cbLancamento->isChecked());
    QVERIFY(!t.CBPedidos->isChecked());
    QCOMPARE(t.DT1->date(), kLimite);
    QCOMPARE(t.DT1->text(), QStringLiteral("10/03/2008"));
    QVERIFY(t.DT1->calendarPopup());
    QCOMPARE(t.SpeedButton1->text(), QStringLiteral("Excluir"));
    QCOMPARE(t.SpeedButton2->text(), QStringLiteral("Sair"));
    t.SpeedButton2->click();
    QVERIFY(!t.isVisible());
}

void TstManutencao::purga_data() {
    QTest::addColumn<bool>("lancamentos");
    QTest::addColumn<bool>("pedidos");
    QTest::addColumn<QDate>("limite");
    QTest::addColumn<int>("resposta");
    QTest::addColumn<QString>("pergunta");
    QTest::addColumn<QString>("resto");
    const int sim = QMessageBox::Yes, nao = QMessageBox::No;
    // Entries on the limit date stay whatever their time; items go with
    // their entry or their order.
    QTest::newRow("lançamentos") << true << false << kLimite << sim
                                 << "Lançamentos a excluir: 2\r\rConfirma a exclusão dos registros anteriores a 10/03/2008?"
                                 << "2 3 5 / 1 2 3 4 / 2 3";
    QTest::newRow("pedidos, sem entrega ficam")
        << false << true << kLimite << sim
        << "Pedidos a excluir: 2\r\rConfirma a exclusão dos registros anteriores a 10/03/2008?"
        << "1 2 3 4 5 / 2 3 / 1 3";
    QTest::newRow("ambos")
        << true << true << kLimite << sim
        << "Lançamentos a excluir: 2\rPedidos a excluir: 2\r\rConfirma a exclusão dos registros anteriores a 10/03/2008?"
        << "2 3 5 / 2 3 / 3";
    QTest::newRow("ambos, um dia depois")
        << true << true << kLimite.addDays(1) << sim
        << "Lançamentos a excluir: 4\rPedidos a excluir: 3\r\rConfirma a exclusão dos registros anteriores a 11/03/2008?"
        << "5 / 3 / ";
    QTest::newRow("resposta não") << true << true << kLimite << nao
                                  << "Lançamentos a excluir: 2\rPedidos a excluir: 2\r\rConfirma a exclusão dos "
                                     "registros anteriores a 10/03/2008?"
                                  << kTudo;
    QTest::newRow("nenhuma caixa") << false << false << kLimite << sim << QString() << kTudo;
    QTest::newRow("nada antes da data") << true << true << QDate(1999, 12, 31) << sim << QString() << kTudo;
}

void TstManutencao::purga() {
    QFETCH(bool, lancamentos);
    QFETCH(bool, pedidos);
    QFETCH(QDate, limite);
    QFETCH(int, resposta);
    QFETCH(QString, pergunta);
    QFETCH(QString, resto);
    SessaoCadastro s;
    dados(s);
    TFrmManutencao t;
    mostrar(t);
    t.cbLancamento->setChecked(lancamentos);
    t.CBPedidos->setChecked(pedidos);
    t.DT1->setDate(limite);
    s.roteiro.responder(QMessageBox::StandardButton(resposta));
    t.SpeedButton1->click();

    const bool perguntou = !pergunta.isEmpty();
    const bool feito = !perguntou || resposta == QMessageBox::Yes;
    QStringList esperado;
    if (perguntou)
        esperado << pergunta;
    if (feito)
        esperado << kSucesso;
    QCOMPARE(s.roteiro.textos(), esperado);
    if (perguntou) {
        const msg::Mensagem& m = s.roteiro.mensagens().first();
        QCOMPARE(m.titulo, QStringLiteral("Confirmação"));
        QCOMPARE(m.padrao, QMessageBox::No);
    }
    QCOMPARE(t.isVisible(), !feito);
    // Committed: another connection sees the result.
    QCOMPARE(restantes(s), resto);
    QCOMPARE(orfaos(s), 0);
}

void TstManutencao::dataInvalida_data() {
    QTest::addColumn<int>("tecla");
    QTest::newRow("dia apagado") << int(Qt::Key_Backspace);
    QTest::newRow("dia apagado com Delete") << int(Qt::Key_Delete);
}

// A date box whose text is no complete date deletes nothing, even though
// the box still holds its last date.
void TstManutencao::dataInvalida() {
    QFETCH(int, tecla);
    SessaoCadastro s;
    Tratador tratador;
    dados(s);
    TFrmManutencao t;
    mostrar(t);
    t.cbLancamento->setChecked(true);
    t.CBPedidos->setChecked(true);
    t.DT1->setFocus();
    t.DT1->setCurrentSection(QDateTimeEdit::DaySection);
    t.DT1->setSelectedSection(QDateTimeEdit::DaySection);
    QTest::keyClick(t.DT1, Qt::Key(tecla));
    QVERIFY2(!t.DT1->hasAcceptableInput(), qPrintable(t.DT1->text()));
    QCOMPARE(t.DT1->date(), kLimite);
    s.roteiro.responder(QMessageBox::Yes);
    QTest::mouseClick(t.SpeedButton1, Qt::LeftButton);
    QCOMPARE(s.roteiro.textos(), QStringList{"Informe uma data válida"});
    QVERIFY(t.isVisible());
    QCOMPARE(restantes(s), kTudo);
}

// The orders' statement fails after the entries were deleted: nothing of
// the purge is left, not even after the next commit of another screen.
void TstManutencao::falhaDesfazAPurga() {
    SessaoCadastro s;
    Tratador tratador;
    dados(s);
    s.db.exec("create exception E_PEDIDO_PRESO 'pedido preso'");
    s.db.exec("create trigger TRG_PEDIDO_PRESO for TB_PEDIDO before delete as begin exception E_PEDIDO_PRESO; end");
    TFrmManutencao t;
    mostrar(t);
    t.cbLancamento->setChecked(true);
    t.CBPedidos->setChecked(true);
    s.roteiro.responder(QMessageBox::Yes);
    QTest::mouseClick(t.SpeedButton1, Qt::LeftButton);
    const QStringList textos = s.roteiro.textos();
    QCOMPARE(textos.size(), 2);
    QVERIFY2(textos[1].contains("pedido preso"), qPrintable(textos[1]));
    QVERIFY(!textos.contains(kSucesso));
    QVERIFY(t.isVisible());
    DMBanco->Trans_Clipping.commitRetaining();
    QCOMPARE(restantes(s), kTudo);

    // Without the failure the same purge goes through.
    s.db.exec("drop trigger TRG_PEDIDO_PRESO");
    s.roteiro.limpar();
    s.roteiro.responder(QMessageBox::Yes);
    QTest::mouseClick(t.SpeedButton1, Qt::LeftButton);
    QCOMPARE(s.roteiro.textos().last(), kSucesso);
    QCOMPARE(restantes(s), QStringLiteral("2 3 5 / 2 3 / 3"));
}

void TstManutencao::pedidoAtual_data() {
    QTest::addColumn<int>("pedido");
    QTest::addColumn<bool>("pedidos");
    QTest::addColumn<int>("depois");
    QTest::newRow("excluído") << 1 << true << 0;
    QTest::newRow("fica") << 2 << true << 2;
    QTest::newRow("só lançamentos") << 1 << false << 1;
    QTest::newRow("ainda não gravado") << 99 << true << 99;
}

// The order the entry search adds to goes back to "new" when it is purged.
void TstManutencao::pedidoAtual() {
    QFETCH(int, pedido);
    QFETCH(bool, pedidos);
    QFETCH(int, depois);
    SessaoCadastro s;
    dados(s);
    DMBanco->PedidoAtual = pedido;
    TFrmManutencao t;
    mostrar(t);
    t.cbLancamento->setChecked(true);
    t.CBPedidos->setChecked(pedidos);
    s.roteiro.responder(QMessageBox::Yes);
    t.SpeedButton1->click();
    QCOMPARE(s.roteiro.textos().last(), kSucesso);
    QCOMPARE(DMBanco->PedidoAtual, depois);
}

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstManutencao t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_manutencao.moc"

#include "SessaoHostil.h"

#include "app/U_Dm.h"

#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBControls.h"
#include "screens/agenda/U_Agenda.h"
#include "screens/agenda/U_CadLembretes.h"
#include "screens/base/U_FormBase.h"
#include "screens/clipping/U_Lancamentos.h"
#include "screens/clipping/U_PesquisaLancamento.h"
#include "screens/orders/U_PesquisaPedido.h"
#include "screens/registers/U_Clientes.h"
#include "screens/registers/U_Emissoras.h"
#include "screens/registers/U_Funcionarios.h"
#include "screens/registers/U_Programas.h"
#include "screens/registers/U_Vendedores.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

const QString kDataInvalida = QStringLiteral("Informe uma data válida");
const QString kHoraInvalida = QStringLiteral("Informe uma hora válida");
const QString kNaoGravavel = QStringLiteral("não pode ser gravado no banco de dados");

// A search box of a screen: how to make the screen, the box, how to choose
// one of its options and how to run the search once the text is in.
struct Caixa {
    std::function<QWidget*()> criar;
    QString caixa;
    QString consulta;
    int opcoes;
    std::function<void(QWidget*, int)> escolher;
    std::function<void(QWidget*)> buscar;  // empty: the search follows the typing
    QList<int> opcoesDeData;
    std::function<dataset::Query*()> consultaCompartilhada;  // a query not owned by the screen
};

QMap<QString, Caixa> caixas() {
    QMap<QString, Caixa> m;
    m["clientes"] = {[] { return new TFrmClientes; }, "EdPesquisa", "Q_Clientes", 5,
                     [](QWidget* w, int i) { static_cast<TFrmClientes*>(w)->SetLocalizar(i); }, {}, {}};
    m["emissoras"] = {[] { return new TFrmEmissoras; }, "EdPesquisa", "Q_Emissoras", 5,
                      [](QWidget* w, int i) { static_cast<TFrmEmissoras*>(w)->RGLocalizar->SetItemIndex(i); }, {}, {}};
    m["vendedores"] = {[] { return new TFrmVendedores; }, "EdPesquisa", "Q_Vendedores", 1, {}, {}, {}};
    m["programas"] = {[] { return new TFrmProgramas; }, "edPesquisa", "Q_Programas", 1, {}, {}, {}};
    m["funcionarios"] = {[] { return new TFrmFuncionarios; }, "edPesquisa", "Q_Funcionarios", 1, {}, {}, {}};
    m["lancamentos"] = {[] { return new TFrmPesquisaLancamento; }, "EdPesquisa", "Q_Busca", 6,
                        [](QWidget* w, int i) { static_cast<TFrmPesquisaLancamento*>(w)->RGLocalizar->SetItemIndex(i); },
                        [](QWidget* w) { static_cast<TFrmPesquisaLancamento*>(w)->BBusca->click(); },
                        {4}};
    m["lancamentos filtro"] = {[] { return new TFrmPesquisaLancamento; }, "edFiltro", "Q_Busca", 4,
                               [](QWidget* w, int i) {
                                   auto* t = static_cast<TFrmPesquisaLancamento*>(w);
                                   t->RGLocalizar->SetItemIndex(0);
                                   t->RGFiltrar->SetItemIndex(i);
                               },
                               [](QWidget* w) { static_cast<TFrmPesquisaLancamento*>(w)->BBusca->click(); },
                               {3}};
    m["pedidos"] = {[] { return new TFrmPesquisaPedido; }, "EdPesquisa", "Q_Busca", 5,
                    [](QWidget* w, int i) { static_cast<TFrmPesquisaPedido*>(w)->RGLocalizar->SetItemIndex(i); },
                    [](QWidget* w) { static_cast<TFrmPesquisaPedido*>(w)->BBusca->click(); },
                    {3}};
    m["agenda"] = {[] { return new TFrmAgenda; }, "EdPesquisa", "", 4,
                   [](QWidget* w, int i) { static_cast<TFrmAgenda*>(w)->RGLocalizar->SetItemIndex(i); }, {}, {},
                   [] { return DM->Q_Agenda; }};
    return m;
}

// Runs f from the event loop, so that what it lets out reaches the
// application-wide handler as in the program.
void peloLaco(QObject* contexto, std::function<void()> f) {
    bool feito = false;
    QMetaObject::invokeMethod(
        contexto, [&] { struct Fim { bool& f; ~Fim() { f = true; } } fim{feito}; f(); }, Qt::QueuedConnection);
    QTRY_VERIFY(feito);
}

} // namespace

class TstEntradaHostil : public QObject {
    Q_OBJECT
private slots:
    void pesquisas_data();
    void pesquisas();
    void camposDoLancamento_data();
    void camposDoLancamento();
    void camposDoLembrete_data();
    void camposDoLembrete();
};

// Every search box, every option, every hostile text. "linhas" is the rows
// found when the box searches the hostile row's own text column (option 0),
// -1 when only safety is checked.
void TstEntradaHostil::pesquisas_data() {
    QTest::addColumn<QString>("tela");
    QTest::addColumn<int>("opcao");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("linhas");
    QTest::addColumn<QString>("mensagem");

    struct Entrada { const char* nome; QString texto; int linhas; QString mensagem; };
    const QList<Entrada> entradas = {
        {"aspa", "'", 1, {}},
        {"aspas duplas", "''", 0, {}},
        {"aspa dupla", "\"", 0, {}},
        {"porcento", "%", 2, {}},
        {"sublinhado", "_", 2, {}},
        {"porcento e sublinhado", "50%_X", 1, {}},
        {"injecao", "'; DELETE FROM TB_LANCAMENTO; --", 1, {}},
        {"barra invertida", "\\", 0, {}},
        {"longo", QString(2000, 'A'), 0, {}},
        {"controle", QString::fromUtf8("\x01\x1b\t\r\n"), 0, {}},
        {"acentos", QString::fromUtf8("ÁGUA"), 1, {}},
        {"fora do latin-1", QString::fromUtf8("ΩΜΈΓΑ"), -1, kNaoGravavel},
        {"data impossivel", "31/02/2008", 0, kDataInvalida},
        {"data zero", "00/00/0000", 0, kDataInvalida},
        {"hora impossivel", "25:61:00", 0, kDataInvalida},
        {"letras", "ABC", 0, kDataInvalida},
    };
    const auto m = caixas();
    for (auto it = m.begin(); it != m.end(); ++it)
        for (int opcao = 0; opcao < it->opcoes; ++opcao)
            for (const Entrada& e : entradas) {
                const bool deData = it->opcoesDeData.contains(opcao);
                // Only a date option refuses the date-like texts; the text
                // options search them as text.
                QString mensagem = e.mensagem;
                if (mensagem == kDataInvalida && !deData) mensagem.clear();
                if (deData) mensagem = kDataInvalida;
                const bool propria = opcao == 0 && !it.key().endsWith("filtro");
                QTest::addRow("%s %d %s", qPrintable(it.key()), opcao, e.nome)
                    << it.key() << opcao << e.texto << (propria && !deData ? e.linhas : -1) << mensagem;
            }
}

void TstEntradaHostil::pesquisas() {
    QFETCH(QString, tela);
    QFETCH(int, opcao);
    QFETCH(QString, texto);
    QFETCH(int, linhas);
    QFETCH(QString, mensagem);

    SessaoHostil s;
    const QStringList antes = s.retrato();
    const Caixa c = caixas().value(tela);
    msg::Roteiro roteiro;
    std::unique_ptr<QWidget> w(c.criar());
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    auto* caixa = w->findChild<QLineEdit*>(c.caixa);
    auto* q = c.consultaCompartilhada ? c.consultaCompartilhada() : w->findChild<dataset::Query*>(c.consulta);
    QVERIFY(caixa && q);
    if (c.escolher) peloLaco(w.get(), [&] { c.escolher(w.get(), opcao); });
    roteiro.limpar();
    peloLaco(caixa, [&] { caixa->setText(texto); });
    if (c.buscar) peloLaco(w.get(), [&] { c.buscar(w.get()); });

    if (mensagem.isEmpty()) {
        QVERIFY2(roteiro.mensagens().isEmpty(), qPrintable(roteiro.textos().join(" | ")));
    } else {
        QVERIFY2(!roteiro.mensagens().isEmpty(), "no message");
        for (const QString& t : roteiro.textos()) QVERIFY2(t.contains(mensagem), qPrintable(t));
    }
    if (linhas >= 0) {
        QVERIFY(q->Active());
        q->FetchAll();
        QCOMPARE(q->BufferedCount(), linhas);
    }
    QVERIFY(w->isVisible());
    w.reset();
    QCOMPARE(s.retrato(), antes);
}

// The date, time and duration boxes of the entry register: every refused
// value gives its message and stores nothing.
void TstEntradaHostil::camposDoLancamento_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("mensagem");
    for (const char* campo : {"DBEdit1"}) {
        QTest::addRow("%s 31/02/2008", campo) << campo << "31022008" << kDataInvalida;
        QTest::addRow("%s 00/00/0000", campo) << campo << "00000000" << kDataInvalida;
        // The mask takes no letters: the date stays empty, which the entry
        // may not be.
        QTest::addRow("%s letters", campo) << campo << "ab/cd/efgh" << "Field 'LAN_DATA' must have a value.";
        QTest::addRow("%s empty", campo) << campo << "" << "Field 'LAN_DATA' must have a value.";
    }
    for (const char* campo : {"DBEdit5", "DBEdit2"}) {
        QTest::addRow("%s 25:61:00", campo) << campo << "256100" << kHoraInvalida;
        QTest::addRow("%s 99:99:99", campo) << campo << "999999" << kHoraInvalida;
        QTest::addRow("%s 12:60:00", campo) << campo << "126000" << kHoraInvalida;
    }
}

void TstEntradaHostil::camposDoLancamento() {
    QFETCH(QString, campo);
    QFETCH(QString, texto);
    QFETCH(QString, mensagem);
    SessaoHostil s;
    const QStringList antes = s.retrato();
    msg::Roteiro roteiro;
    roteiro.responder(QMessageBox::No);  // "Gravar?" on leaving the subject
    auto t = std::make_unique<TFrmLancamentos>();
    t->show();
    t->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.get()));
    auto digitar = [](QWidget* w, const QString& x) {
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            e->selectAll();
            e->del();
            e->home(false);
        }
        QTest::keyClicks(w, x);
    };
    digitar(t->DBEdit1, "05032008");
    digitar(t->DBEdit5, "143000");
    digitar(t->DBEdit2, "000130");
    t->DBRadioGroup1->Button(0)->click();
    for (dataset::DBLookupComboBox* c : {t->DBLookupComboBox1, t->DBLookupComboBox2}) {
        const int i = c->findText("BRASIL");
        QVERIFY(i >= 0);
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    digitar(t->DBEdit4, "12");
    digitar(t->DBEdit3, "F9");
    digitar(t->findChild<QWidget*>(campo), texto);
    roteiro.limpar();
    peloLaco(t.get(), [&] { t->SBSalvar->click(); });
    QVERIFY2(!roteiro.mensagens().isEmpty(), "no message");
    QVERIFY2(roteiro.textos().contains(mensagem), qPrintable(roteiro.textos().join(" | ")));
    QVERIFY(t->isVisible());
    t.reset();
    QCOMPARE(s.retrato(), antes);
}

// The reminders register's message, date and time: a refused value gives
// its message, the reminder stays in editing and nothing is stored.
void TstEntradaHostil::camposDoLembrete_data() {
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("mensagem");
    QTest::newRow("data 31/02/2008") << "DBEdit1" << "31022008" << kDataInvalida;
    QTest::newRow("data 00/00/0000") << "DBEdit1" << "00000000" << kDataInvalida;
    QTest::newRow("data letras") << "DBEdit1" << "ab/cd/efgh" << kDataInvalida;
    QTest::newRow("data vazia") << "DBEdit1" << "" << kDataInvalida;
    QTest::newRow("hora 25:61") << "DBEdit2" << "2561" << kHoraInvalida;
    QTest::newRow("hora 99:99") << "DBEdit2" << "9999" << kHoraInvalida;
    QTest::newRow("hora vazia") << "DBEdit2" << "" << kHoraInvalida;
    QTest::newRow("mensagem fora do latin-1") << "DBMemo1" << QString::fromUtf8("ΩΜΈΓΑ") << kNaoGravavel;
}

void TstEntradaHostil::camposDoLembrete() {
    QFETCH(QString, campo);
    QFETCH(QString, texto);
    QFETCH(QString, mensagem);
    SessaoHostil s;
    const QStringList antes = s.retrato();
    msg::Roteiro roteiro;
    auto t = std::make_unique<TFrmCadLembretes>();
    t->show();
    t->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(t.get()));
    peloLaco(t.get(), [&] { t->SBNovo->click(); });
    auto digitar = [](QWidget* w, const QString& x) {
        w->setFocus();
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            e->selectAll();
            e->del();
            e->home(false);
        }
        if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
            // Typed as an input method would: key clicks carry ASCII only.
            m->selectAll();
            m->insertPlainText(x);
        } else {
            QTest::keyClicks(w, x);
        }
    };
    digitar(t->DBMemo1, "LEMBRETE");
    digitar(t->DBEdit1, "05032008");
    digitar(t->DBEdit2, "1430");
    digitar(t->findChild<QWidget*>(campo), texto);
    roteiro.limpar();
    peloLaco(t.get(), [&] { t->SBSalvar->click(); });
    QVERIFY2(!roteiro.mensagens().isEmpty(), "no message");
    for (const QString& m : roteiro.textos()) QVERIFY2(m.contains(mensagem), qPrintable(m));
    // Refused on the post, the reminder is still being edited; refused on
    // writing, it waits in the cache: either way what was typed is kept.
    QVERIFY(DM->Q_CadLembretes->IsEditing() || DM->Q_CadLembretes->UpdatesPending());
    QVERIFY(t->isVisible());
    roteiro.responder(QMessageBox::No);  // the closing question
    t.reset();
    QCOMPARE(s.retrato(), antes);
}

// The embedded engine's own exit handler can hang at process exit once every
// database is gone; the result is final by then.
int main(int argc, char** argv) {
    int r;
    {
        Aplicacao app(argc, argv);
        TstEntradaHostil t;
        r = QTest::qExec(&t, argc, argv);
    }
    std::fflush(nullptr);
    std::_Exit(r);
}

#include "tst_entrada_hostil.moc"

#include "support/TempDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/media/FakePlayer.h"
#include "platform/widgets/ColorEdit.h"
#include "screens/agenda/U_Lembretes.h"
#include "screens/base/U_Principal.h"
#include "screens/clipping/U_Informe.h"
#include "screens/orders/U_Pedidos.h"
#include "screens/reports/U_Relatorios.h"
#include "screens/maintenance/U_Backup.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

namespace {

// The run's seed; CLIP_SEMENTE picks another one for an exploratory run.
quint32 semente() {
    bool ok = false;
    const quint32 s = qEnvironmentVariable("CLIP_SEMENTE").toUInt(&ok);
    return ok ? s : 20080305u;
}
constexpr int kAcoes = 1500;

// Rows that every enforced reference of the schema points at, each one the
// query for the rows that point nowhere. A deleted profile's code in its
// users and its rights rows stay by design, so they are not checked.
const char* const kOrfaos[] = {
    "select count(*) from TB_PROGRAMAS p where p.EMI_CODIGO is not null and not exists "
    "(select 1 from TB_EMISSORAS e where e.EMI_CODIGO = p.EMI_CODIGO)",
    "select count(*) from TB_LANCAMENTO l where not exists (select 1 from TB_EMISSORAS e where e.EMI_CODIGO = l.EMI_CODIGO)",
    "select count(*) from TB_LANCAMENTO l where not exists (select 1 from TB_PROGRAMAS p where p.PRG_CODIGO = l.PRG_CODIGO)",
    "select count(*) from TB_LANCAMENTO l where l.FUN_CODIGO is not null and not exists "
    "(select 1 from TB_FUNCIONARIOS f where f.FUN_CODIGO = l.FUN_CODIGO)",
    "select count(*) from TB_VENDEDORES v where not exists (select 1 from TB_FUNCIONARIOS f where f.FUN_CODIGO = v.FUN_CODIGO)",
    "select count(*) from TB_PRAZOS p where p.FPG_CODIGO is not null and not exists "
    "(select 1 from TB_FORMAPAGAMENTO f where f.FPG_CODIGO = p.FPG_CODIGO)",
    "select count(*) from TB_PEDIDO p where p.CLI_CODIGO is not null and not exists "
    "(select 1 from TB_CLIENTES c where c.CLI_CODIGO = p.CLI_CODIGO)",
    "select count(*) from TB_PEDIDO p where p.VEN_CODIGO is not null and not exists "
    "(select 1 from TB_VENDEDORES v where v.VEN_CODIGO = p.VEN_CODIGO)",
    "select count(*) from TB_PEDIDO p where p.MID_CODIGO is not null and not exists "
    "(select 1 from TB_MIDIAS m where m.MID_CODIGO = p.MID_CODIGO)",
    "select count(*) from TB_PEDIDO p where p.FPG_CODIGO is not null and not exists "
    "(select 1 from TB_FORMAPAGAMENTO f where f.FPG_CODIGO = p.FPG_CODIGO)",
    "select count(*) from TB_PEDIDO p where p.PRA_CODIGO is not null and not exists "
    "(select 1 from TB_PRAZOS r where r.PRA_CODIGO = p.PRA_CODIGO)",
    "select count(*) from TB_ITENSPEDIDO i where not exists (select 1 from TB_PEDIDO p where p.PED_CODIGO = i.PED_CODIGO)",
    "select count(*) from TB_ITENSPEDIDO i where not exists (select 1 from TB_LANCAMENTO l where l.LAN_CODIGO = i.LAN_CODIGO)",
};

// Buttons that print or play, which the run leaves alone.
bool deixar(const QWidget* w) {
    const QString n = w->objectName();
    return n.contains(QLatin1String("Imprimir")) || n == QLatin1String("BPlay") || n == QLatin1String("BSair");
}

// Random clicks, keys and answers from a fixed seed, one action per turn
// of the event loop; the turns go on inside modal screens too.
class Macaco : public QObject {
public:
    Macaco(TFrmPrincipal* principal, quint32 semente) : principal_(principal), rng_(semente) {
        msg::InstalarRespondedor([this](const msg::Mensagem& m) {
            ++mensagens;
            QList<msg::Botao> botoes;
            for (msg::Botao b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
                if (m.botoes.testFlag(b)) botoes << b;
            return botoes.isEmpty() ? msg::Botao(QMessageBox::Ok) : botoes.at(int(rng_.bounded(quint32(botoes.size()))));
        });
        msg::InstalarRespondedorArquivo([](const msg::DialogoArquivo&) { return QString(); });
        // Every screen of the menu, the backup and the closing aside.
        for (QAction* a : principal->ItensMenu())
            if (TFrmPrincipal::Tag(a) > 99 && a != principal->Cpiadesegurana1) telas_ << a;
    }
    ~Macaco() override {
        msg::InstalarRespondedor({});
        msg::InstalarRespondedorArquivo({});
    }

    void iniciar() { QTimer::singleShot(0, this, [this] { vez(); }); }

    int acoes = 0;
    QSet<QString> abertas;
    int telas() const { return int(telas_.size()); }
    int mensagens = 0;
    bool terminou = false;

private:
    int sorteio(int n) { return n <= 0 ? 0 : int(rng_.bounded(quint32(n))); }

    // The window the user would be working in.
    QWidget* alvo() {
        if (QWidget* m = QApplication::activeModalWidget()) return m;
        QList<QWidget*> janelas;
        for (QMdiSubWindow* s : principal_->MDIArea->subWindowList())
            if (s->widget()) janelas << s->widget();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != principal_ && w->isVisible() && !qobject_cast<QMdiSubWindow*>(w) && w->parentWidget() == nullptr &&
                w->inherits("QDialog") == false && !w->inherits("QMenu"))
                janelas << w;
        return janelas.isEmpty() ? nullptr : janelas.at(sorteio(int(janelas.size())));
    }

    void vez() {
        if (acoes >= kAcoes) {
            encerrar();
            return;
        }
        ++acoes;
        // The next turn is queued first, so that it also runs inside a modal
        // screen that this action opens.
        QTimer::singleShot(0, this, [this] { vez(); });
        QWidget* w = alvo();
        const int tipo = sorteio(10);
        if (!w || (tipo == 0 && !QApplication::activeModalWidget())) {
            QAction* tela = telas_.at(sorteio(int(telas_.size())));
            abertas << tela->objectName();
            tela->trigger();
            return;
        }
        QList<QWidget*> controles;
        for (QWidget* c : w->findChildren<QWidget*>())
            if (c->isVisible() && c->isEnabled() && !deixar(c) &&
                (qobject_cast<QAbstractButton*>(c) || qobject_cast<QLineEdit*>(c) || qobject_cast<QPlainTextEdit*>(c) ||
                 qobject_cast<QComboBox*>(c) || qobject_cast<QAbstractItemView*>(c)))
                controles << c;
        if (controles.isEmpty()) {
            QTest::keyClick(w, Qt::Key_Escape);
            return;
        }
        QWidget* c = controles.at(sorteio(int(controles.size())));
        if (tipo <= 4) {
            if (auto* b = qobject_cast<QAbstractButton*>(c)) {
                b->click();
                return;
            }
            if (auto* cb = qobject_cast<QComboBox*>(c)) {
                if (cb->count() > 0) {
                    const int i = sorteio(cb->count());
                    cb->setCurrentIndex(i);
                    emit cb->activated(i);
                }
                return;
            }
        }
        static const Qt::Key teclas[] = {Qt::Key_Return, Qt::Key_Tab, Qt::Key_Escape, Qt::Key_F2, Qt::Key_F3,
                                         Qt::Key_F4,     Qt::Key_F5,  Qt::Key_Down,   Qt::Key_Up, Qt::Key_Delete};
        static const QString texto = QStringLiteral("0123456789/:ABCXYZ'%_ ");
        c->setFocus();
        if (sorteio(3) == 0)
            QTest::keyClick(c, teclas[sorteio(int(std::size(teclas)))]);
        else
            for (int i = 0, n = 1 + sorteio(6); i < n; ++i) QTest::keyClicks(c, QString(texto.at(sorteio(int(texto.size())))));
    }

    // Every modal screen is closed, innermost first; then the run is over.
    void encerrar() {
        if (QWidget* m = QApplication::activeModalWidget()) {
            m->close();
            QTimer::singleShot(0, this, [this] { encerrar(); });
            return;
        }
        terminou = true;
    }

    TFrmPrincipal* principal_;
    QRandomGenerator rng_;
    QList<QAction*> telas_;
};

} // namespace

class TstMacaco : public QObject {
    Q_OBJECT
private slots:
    void macaco();
};

void TstMacaco::macaco() {
    testsupport::TempDatabase db;
    DefinirPastaExecutavel(db.folder());
    IniciarAplicacao();
    QVERIFY(CriarModulosDados());
    media::FakePlayerFactory tocadores;
    // Previews, colour choices and the alarm stay inside the run.
    int previas = 0;
    auto previa = [&previas](const report::Report&, QWidget*) { ++previas; };
    const auto previaPedido = TFrmPedido::Visualizar, previaRelatorio = TFrmRelatorios::Visualizar,
               previaInforme = TFrmInforme::Visualizar;
    TFrmPedido::Visualizar = previa;
    TFrmRelatorios::Visualizar = previa;
    TFrmInforme::Visualizar = previa;
    widgets::ColorChooser corAnterior = widgets::setColorChooser([](const QColor& c, QWidget*) { return c; });
    DefinirTocadorAlarme([](const QString&) {});
    TFrmPrincipal::Encerrar = [] {};
    TFrmBackup::Encerrar = [] {};
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'RADIO X')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (10, 'JORNAL Y', 1)");
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_PESSOA) values (1, 'CLIENTE', 'J')");
    db.exec("insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (1, 'BOLETO')");
    db.exec("insert into TB_PRAZOS (PRA_CODIGO, PRA_DESCRICAO, FPG_CODIGO) values (1, '30 DIAS', 1)");
    db.exec("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (1, 'DVD')");
    db.exec("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, LAN_HORA, LAN_TEMPO, EMI_CODIGO, PRG_CODIGO, "
            "LAN_ASSUNTO, LAN_TIPO) values (1, '2008-03-05', '14:37:20', '00:01:00', 1, 10, 'REUNIAO', 'A')");
    {
        auto principal = std::make_unique<TFrmPrincipal>();
        principal->show();  // no employee yet: no login
        Macaco macaco(principal.get(), semente());
        macaco.iniciar();
        QTRY_VERIFY_WITH_TIMEOUT(macaco.terminou, 180000);
        QCOMPARE(macaco.acoes, kAcoes);
        qInfo("seed %u, %d actions, %d messages answered, %d of %d screens opened", semente(), macaco.acoes,
              macaco.mensagens, int(macaco.abertas.size()), macaco.telas());
        QVERIFY(principal->isVisible());
        QVERIFY(!QApplication::activeModalWidget());
        // Still answering: a screen opens from the menu.
        principal->Clientes1->trigger();
        QTRY_VERIFY(!principal->MDIArea->subWindowList().isEmpty());
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != principal.get() && w->isVisible() && !w->inherits("QMenu")) w->close();
        principal->MDIArea->closeAllSubWindows();
        QTest::qWait(0);
        principal.reset();
    }
    widgets::setColorChooser(corAnterior);
    TFrmPedido::Visualizar = previaPedido;
    TFrmRelatorios::Visualizar = previaRelatorio;
    TFrmInforme::Visualizar = previaInforme;
    DefinirTocadorAlarme({});
    qInfo("%d previews", previas);
    for (const char* sql : kOrfaos) QVERIFY2(db.scalar(QLatin1String(sql)).toInt() == 0, sql);
    TFrmPrincipal::Encerrar = [] {};
    RemoverTratadorErros();
    DefinirJanelaPrincipal(nullptr);
    LiberarModulosDados();
    DefinirPastaExecutavel(QString());
}

// The embedded engine's own exit handler can hang at process exit once every
// database is gone; the result is final by then.
int main(int argc, char** argv) {
    int r;
    {
        Aplicacao app(argc, argv);
        TstMacaco t;
        r = QTest::qExec(&t, argc, argv);
    }
    std::fflush(nullptr);
    std::_Exit(r);
}

#include "tst_macaco.moc"

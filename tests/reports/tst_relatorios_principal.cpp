#include "Sessao.h"

#include "common/Mensagens.h"
#include "platform/data/Query.h"
#include "platform/report/Page.h"
#include "screens/base/U_Principal.h"
#include "screens/maintenance/U_Backup.h"
#include "screens/reports/U_Relatorios.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

// The main window's report items: each opens the report screen modally on
// the page of its list and destroys it when it closes.
class TstRelatoriosPrincipal : public QObject {
    Q_OBJECT
private slots:
    void itens_data();
    void itens();
};

void TstRelatoriosPrincipal::itens_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("pagina");
    QTest::addColumn<QString>("impresso");  // a text of the printed list
    QTest::newRow("Relação de Clientes") << "RelaodeClientes1" << "TabClientes" << "Cliente Um";
    QTest::newRow("Pedidos de Venda") << "PedidosdeVenda1" << "TabPedidos" << "Relação de Pedidos";
    QTest::newRow("Emissoras") << "Emissoras2" << "TabEmissoras" << "Rádio Um";
    QTest::newRow("Lançamentos") << "Lanamentos2" << "TabLancamentos" << "Relação de Lançamentos";
}

void TstRelatoriosPrincipal::itens() {
    QFETCH(QString, item);
    QFETCH(QString, pagina);
    QFETCH(QString, impresso);
    SessaoRelatorios s(false);
    QVERIFY(s.ok);
    const QString hoje = QDate::currentDate().toString(Qt::ISODate);
    s.db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_ESTADO) values (1, 'Cliente Um', 'PR')");
    s.db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_UF) values (1, 'Rádio Um', 'PR')");
    s.db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'Jornal', 1)");
    s.db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (1, 'Ana', 0)");
    s.db.exec(QStringLiteral("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO) "
                             "values (1, '%1', 1, 1, 1)").arg(hoje));
    s.db.exec(QStringLiteral("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, CLI_CODIGO, PED_DATAENTREGA) "
                             "values (1, 1, 1, '%1')").arg(hoje));
    msg::Roteiro roteiro;
    TFrmPrincipal::Encerrar = [] {};
    TFrmBackup::Encerrar = [] {};
    auto principal = std::make_unique<TFrmPrincipal>();
    auto* acao = principal->findChild<QAction*>(item);
    QVERIFY(acao);

    QStringList impressos;
    TFrmRelatorios::Visualizar = [&](const report::Report& r, QWidget*) {
        report::PageCollector c;
        r.run(c);
        for (const report::Page& p : c.pages) impressos += p.textLines();
    };
    QPointer<TFrmRelatorios> aberta;
    QString paginaVista, titulo;
    bool modal = false;
    QTimer vigia;
    vigia.setInterval(20);
    connect(&vigia, &QTimer::timeout, [&] {
        auto* t = qobject_cast<TFrmRelatorios*>(QApplication::activeModalWidget());
        if (!t) return;
        vigia.stop();
        aberta = t;
        modal = t->isModal();
        titulo = t->windowTitle();
        paginaVista = t->PageControl1->currentWidget()->objectName();
        t->SpeedButton1->click();  // prints the list of the page showing
        t->SpeedButton2->click();
    });
    vigia.start();
    acao->trigger();
    QVERIFY(!vigia.isActive());
    QCOMPARE(paginaVista, pagina);
    QCOMPARE(titulo, QString("Relatório"));
    QVERIFY(modal);
    QVERIFY(aberta.isNull());  // destroyed on closing
    QCOMPARE(roteiro.textos(), QStringList{});
    QVERIFY2(impressos.join('\n').contains(impresso), qPrintable(impressos.join('\n')));
    TFrmRelatorios::Visualizar = nullptr;
    principal.reset();
    TFrmPrincipal::Encerrar = [] {};
}

QTEST_MAIN(TstRelatoriosPrincipal)
#include "tst_relatorios_principal.moc"

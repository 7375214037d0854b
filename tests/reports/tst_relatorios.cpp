#include "Sessao.h"

#include "app/U_DMBanco.h"
#include "common/Mensagens.h"
#include "platform/data/TableDataset.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/report/Page.h"
#include "platform/report/PainterOutput.h"
#include "platform/widgets/ColorEdit.h"
#include "screens/base/U_FormBase.h"
#include "screens/reports/U_Relatorios.h"

#include <QBuffer>
#include <QComboBox>
#include <QDate>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

const QString kNaoHa = QStringLiteral("Não há nenhum item no relatório!");

// Pages a print would have shown in the preview.
struct Visor {
    int vezes = 0;
    QVector<report::Page> paginas;
    QString nome;
    Visor() {
        TFrmRelatorios::Visualizar = [this](const report::Report& r, QWidget*) {
            ++vezes;
            nome = r.name;
            report::PageCollector c;
            r.run(c);
            paginas = c.pages;
        };
    }
    ~Visor() { TFrmRelatorios::Visualizar = nullptr; }
    QStringList linhas() const {
        QStringList l;
        for (const report::Page& p : paginas) l += p.textLines();
        return l;
    }
    bool contem(const QString& texto) const {
        for (const QString& l : linhas())
            if (l.contains(texto)) return true;
        return false;
    }
};

QStringList coluna(dataset::Query* q, const char* campo) {
    QStringList r;
    if (!q->Active()) return r;
    q->FetchAll();
    const dataset::Field* f = q->FieldByName(QString::fromLatin1(campo));
    for (int i = 0; i < q->BufferedCount(); ++i) r << q->ValueAt(i, f).toString();
    return r;
}

QStringList itens(const QComboBox* c) {
    QStringList r;
    for (int i = 0; i < c->count(); ++i) r << c->itemText(i);
    return r;
}

} // namespace

class TstRelatorios : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void tela();
    void listasDeEscolha();
    void clientes_data();
    void clientes();
    void emissoras_data();
    void emissoras();
    void lancamentos_data();
    void lancamentos();
    void pedidos_data();
    void pedidos();
    void periodoDeHoje();
    void dataInvalida_data();
    void dataInvalida();
    void linhasDoRelatorio();
    void empresaEmEdicao();
    void cor();
    void semModelo_data();
    void semModelo();
    void filtroPermaneceEntreImpressoes();
    void previa();
    void captura();

private:
    TFrmRelatorios* abrir(QWidget* pagina = nullptr);
    TFrmRelatorios* abrir(const char* pagina);
    void escolher(TCaixaLista* caixa, const QString& texto);
    void imprimir() { tela_->SpeedButton1->click(); }

    std::unique_ptr<SessaoRelatorios> s_;
    std::unique_ptr<msg::Roteiro> roteiro_;
    std::unique_ptr<Visor> visor_;
    std::unique_ptr<TFrmRelatorios> tela_;
};

void TstRelatorios::init() {
    s_ = std::make_unique<SessaoRelatorios>();
    QVERIFY(s_->ok);
    roteiro_ = std::make_unique<msg::Roteiro>();
    visor_ = std::make_unique<Visor>();
    auto& db = s_->db;
    // Clients: codes 0 and below are never listed.
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO, CLI_FONE) values "
            "(0, 'Cliente Zero', 'Curitiba', 'PR', '0')");
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO) values "
            "(-3, 'Cliente Negativo', 'Curitiba', 'PR')");
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO, CLI_FONE) values "
            "(1, 'Alfa Ltda', 'Curitiba', 'PR', '(41) 1111-1111')");
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO) values (2, 'Beta SA', 'Londrina', 'PR')");
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO) values "
            "(3, 'Gama d''Ouro', 'Olho d''Água', 'PB')");
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO) values (4, 'Delta', 'Santos', 'SP')");
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_CIDADE, CLI_ESTADO) values (5, 'Épsilon', 'Campinas', 'SP')");
    // Stations.
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_CIDADE, EMI_UF, EMI_FONE) values "
            "(0, 'Emissora Zero', 'Curitiba', 'PR', '0')");
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_CIDADE, EMI_UF, EMI_FONE) values "
            "(1, 'Rádio Alfa', 'Curitiba', 'PR', '(41) 3030-3030')");
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_CIDADE, EMI_UF) values (2, 'TV Beta', 'Londrina', 'PR')");
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME, EMI_CIDADE, EMI_UF) values "
            "(3, 'Rádio d''Oeste', 'Santos', 'SP')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (10, 'Jornal', 1)");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (20, 'Esporte', 2)");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (30, 'Oeste Hoje', 3)");
    // Employees (one of them a profile, one with no kind) and sellers.
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (7, 'Ana', 0)");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (8, 'Bruno', 0)");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (9, 'Carlos', 0)");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (20, 'Perfil Gerente', 1)");
    db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO, VEN_COMISSAO) values (1, 7, 5)");
    db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO, VEN_COMISSAO) values (2, 8, 5)");
    // Entries: E1 first day of the period, E3 last day, E4 and E5 outside,
    // E7 without employee.
    auto lan = [&](int c, const char* data, int emi, int prg, const char* fun, const char* assunto) {
        db.exec(QStringLiteral("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, LAN_HORA, LAN_TEMPO, EMI_CODIGO, "
                               "PRG_CODIGO, FUN_CODIGO, LAN_ASSUNTO, LAN_CODLANCAMENTO) values (%1, '%2', '10:00:00', "
                               "'00:01:30', %3, %4, %5, '%6', 'E%1')")
                    .arg(c)
                    .arg(QString::fromLatin1(data))
                    .arg(emi)
                    .arg(prg)
                    .arg(QString::fromLatin1(fun), QString::fromUtf8(assunto)));
    };
    lan(1, "2008-03-05", 1, 10, "7", "Abertura da feira");
    lan(2, "2008-03-07", 2, 20, "8", "Final do campeonato");
    lan(3, "2008-03-10", 1, 10, "8", "Chuva no litoral");
    lan(4, "2008-03-04", 1, 10, "7", "Antes do período");
    lan(5, "2008-03-11", 2, 20, "7", "Depois do período");
    lan(6, "2008-03-06", 3, 30, "7", "Safra no oeste");
    lan(7, "2008-03-06", 1, 10, "null", "Sem funcionário");
    // Orders: P5 outside the period, P4 with nothing but its number.
    db.exec("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (1, 'DVD')");
    db.exec("insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (1, 'Boleto')");
    db.exec("insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (1, 1, '30 dias')");
    auto ped = [&](int n, const char* cli, const char* ven, const char* data, const char* pago, const char* status,
                   double valor) {
        db.exec(QStringLiteral("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, CLI_CODIGO, VEN_CODIGO, MID_CODIGO, "
                               "FPG_CODIGO, PRA_CODIGO, PED_DATAENTREGA, PED_HORARIO, PED_PAGO, PED_STATUS, PED_VALOR) "
                               "values (%1, %1, %2, %3, 1, 1, 1, '%4', '15:00:00', %5, %6, %7)")
                    .arg(n)
                    .arg(QString::fromLatin1(cli), QString::fromLatin1(ven), QString::fromLatin1(data),
                         QString::fromLatin1(pago), QString::fromUtf8(status))
                    .arg(valor));
    };
    ped(1, "1", "1", "2008-03-05", "0", "'Em Andamento'", 100);
    ped(2, "2", "2", "2008-03-10", "null", "'Realizado'", 250.5);
    ped(3, "3", "1", "2008-03-07", "1", "'Realizado'", 70);
    ped(5, "1", "2", "2008-03-11", "0", "'Realizado'", 40);
    db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, PED_DATAENTREGA, PED_PAGO, PED_STATUS, PED_VALOR) values "
            "(4, 4, '2008-03-06', 0, 'Cancelado', 10)");
}

void TstRelatorios::cleanup() {
    tela_.reset();
    visor_.reset();
    roteiro_.reset();
    s_.reset();
}

TFrmRelatorios* TstRelatorios::abrir(QWidget* pagina) {
    tela_ = std::make_unique<TFrmRelatorios>();
    if (pagina) tela_->PageControl1->setCurrentWidget(pagina);
    tela_->show();
    return tela_.get();
}

TFrmRelatorios* TstRelatorios::abrir(const char* pagina) {
    tela_ = std::make_unique<TFrmRelatorios>();
    QWidget* p = tela_->findChild<QWidget*>(QString::fromLatin1(pagina));
    if (!p) qFatal("no page %s", pagina);
    tela_->PageControl1->setCurrentWidget(p);
    tela_->show();
    return tela_.get();
}

void TstRelatorios::escolher(TCaixaLista* caixa, const QString& texto) {
    if (texto.isEmpty()) return;
    const int i = caixa->findText(texto, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(i >= 0, qPrintable(caixa->objectName() + ": " + texto + " not in " + itens(caixa).join('|')));
    caixa->Escolher(i);
}

void TstRelatorios::tela() {
    TFrmRelatorios* t = abrir("TabClientes");
    QCOMPARE(t->windowTitle(), QString("Relatório"));
    QVERIFY(!t->PageControl1->tabBar()->isVisible());
    QCOMPARE(t->PageControl1->count(), 4);
    QCOMPARE(t->SpeedButton1->text(), QString("Imprimir"));
    QCOMPARE(t->SpeedButton2->text(), QString("Fechar"));
    for (TRadioGroup* rg : {t->RGOrdenaCli, t->RGOrdenaEmi, t->RGOrdenaLan, t->RadioGroup1}) {
        QCOMPARE(rg->title(), QString("Ordenar por: "));
        QCOMPARE(rg->ItemIndex(), 0);
    }
    QCOMPARE(t->RGOrdenaLan->Items(), (QStringList{"Data", "Emissora", "Funcionário"}));
    QCOMPARE(t->RadioGroup1->Items(), (QStringList{"Data", "Cliente", "Vendedor"}));
    QCOMPARE(itens(t->DBStatus), (QStringList{"Em Andamento", "Realizado", "Cancelado"}));
    QCOMPARE(itens(t->DBSituacao), (QStringList{"Recebido", "A Receber"}));
    QCOMPARE(t->DBStatus->currentIndex(), -1);
    QCOMPARE(t->DBSituacao->currentIndex(), -1);
    QCOMPARE(t->EdColor->color(), QColor(Qt::black));
    t->SpeedButton2->click();
    QVERIFY(!t->isVisible());
    QVERIFY(!t->Q_EstadoCli->Active());
    // Esc closes it too.
    t = abrir("TabEmissoras");
    QVERIFY(t->Q_EstadoEmi->Active());
    QTest::keyClick(t, Qt::Key_Escape);
    QVERIFY(!t->isVisible());
    QVERIFY(!t->Q_EstadoEmi->Active());
}

// The lists of the page showing are read when the screen is shown; a city
// list holds the cities of the current state.
void TstRelatorios::listasDeEscolha() {
    TFrmRelatorios* t = abrir("TabClientes");
    QCOMPARE(itens(t->dbEstadoCli), (QStringList{"PB", "PR", "SP"}));
    QCOMPARE(itens(t->DBCidadeCli), QStringList{"Olho d'Água"});  // of the first state
    QCOMPARE(t->dbEstadoCli->Texto(), QString());
    QVERIFY(!t->Q_Emissoras->Active());  // other pages' lists stay closed
    // Picking with the keyboard as a user does.
    t->dbEstadoCli->setFocus();
    QTest::keyClick(t->dbEstadoCli, Qt::Key_Down);
    QCOMPARE(t->dbEstadoCli->Texto(), QString("PB"));
    QCOMPARE(itens(t->DBCidadeCli), QStringList{"Olho d'Água"});
    QTest::keyClick(t->dbEstadoCli, Qt::Key_Down);
    QCOMPARE(t->dbEstadoCli->Texto(), QString("PR"));
    QCOMPARE(itens(t->DBCidadeCli), (QStringList{"Curitiba", "Londrina"}));
    t->close();

    t = abrir("TabEmissoras");
    QCOMPARE(itens(t->dbEstadoEmi), (QStringList{"PR", "SP"}));
    QCOMPARE(itens(t->dbCidadeEmi), (QStringList{"Curitiba", "Londrina"}));
    escolher(t->dbEstadoEmi, "SP");
    QCOMPARE(itens(t->dbCidadeEmi), QStringList{"Santos"});
    t->close();

    t = abrir("TabLancamentos");
    QCOMPARE(itens(t->dbEmissoras), (QStringList{"Emissora Zero", "Rádio Alfa", "Rádio d'Oeste", "TV Beta"}));
    QCOMPARE(itens(t->dbFuncionarios), (QStringList{"Ana", "Bruno", "Carlos"}));  // no profiles
    t->close();

    t = abrir("TabPedidos");
    QCOMPARE(itens(t->dbClientes).size(), 7);
    QCOMPARE(itens(t->dbVendedor), (QStringList{"Ana", "Bruno", "Carlos"}));  // every employee
}

void TstRelatorios::clientes_data() {
    QTest::addColumn<QString>("estado");
    QTest::addColumn<QString>("cidade");
    QTest::addColumn<QString>("outroEstado");  // picked after the city
    QTest::addColumn<int>("ordem");
    QTest::addColumn<QStringList>("filtros");
    QTest::addColumn<QStringList>("nomes");

    QTest::newRow("all by name") << "" << "" << "" << 0 << QStringList{}
                                 << QStringList{"Alfa Ltda", "Beta SA", "Delta", "Gama d'Ouro", "Épsilon"};
    QTest::newRow("state") << "PR" << "" << "" << 0 << QStringList{"And Cli_Estado = 'PR'"}
                           << QStringList{"Alfa Ltda", "Beta SA"};
    QTest::newRow("state and city") << "PR" << "Londrina" << "" << 0
                                    << QStringList{"And Cli_Estado = 'PR'", "And Cli_Cidade = 'Londrina'"}
                                    << QStringList{"Beta SA"};
    QTest::newRow("city of the first state, quote doubled")
        << "" << "Olho d'Água" << "" << 0 << QStringList{"And Cli_Cidade = 'Olho d''Água'"} << QStringList{"Gama d'Ouro"};
    QTest::newRow("city, then another state") << "PR" << "Curitiba" << "SP" << 0
                                              << QStringList{"And Cli_Estado = 'SP'", "And Cli_Cidade = 'Curitiba'"}
                                              << QStringList{};
    QTest::newRow("by city") << "" << "" << "" << 1 << QStringList{}
                             << QStringList{"Épsilon", "Alfa Ltda", "Beta SA", "Gama d'Ouro", "Delta"};
    QTest::newRow("by state") << "" << "" << "" << 2 << QStringList{} << QStringList{"PB", "PR", "PR", "SP", "SP"};
    QTest::newRow("state by city") << "SP" << "" << "" << 1 << QStringList{"And Cli_Estado = 'SP'"}
                                   << QStringList{"Épsilon", "Delta"};
}

void TstRelatorios::clientes() {
    QFETCH(QString, estado);
    QFETCH(QString, cidade);
    QFETCH(QString, outroEstado);
    QFETCH(int, ordem);
    QFETCH(QStringList, filtros);
    QFETCH(QStringList, nomes);
    TFrmRelatorios* t = abrir("TabClientes");
    escolher(t->dbEstadoCli, estado);
    escolher(t->DBCidadeCli, cidade);
    escolher(t->dbEstadoCli, outroEstado);
    t->RGOrdenaCli->SetItemIndex(ordem);
    imprimir();
    const QString ordens[] = {"Order by Cli_Nome", "Order by Cli_Cidade", "Order by Cli_Estado"};
    QCOMPARE(t->Q_RelClientes->SQL.Lines(),
             QStringList{"Select Cli_Nome, Cli_Cidade, Cli_Estado, Cli_Fone from Tb_Clientes Where Cli_Codigo > 0"} + filtros +
                 QStringList{ordens[ordem]});
    if (nomes.isEmpty()) {
        QCOMPARE(roteiro_->textos(), QStringList{kNaoHa});
        QCOMPARE(visor_->vezes, 0);
        QVERIFY(t->isVisible());
        return;
    }
    QCOMPARE(roteiro_->textos(), QStringList{});
    QCOMPARE(coluna(t->Q_RelClientes, ordem == 2 ? "CLI_ESTADO" : "CLI_NOME"), nomes);
    QCOMPARE(visor_->vezes, 1);
    for (const QString& n : coluna(t->Q_RelClientes, "CLI_NOME")) QVERIFY2(visor_->contem(n), qPrintable(n));
    QVERIFY(!visor_->contem("Cliente Zero"));
}

void TstRelatorios::emissoras_data() {
    QTest::addColumn<QString>("estado");
    QTest::addColumn<QString>("cidade");
    QTest::addColumn<int>("ordem");
    QTest::addColumn<QStringList>("filtros");
    QTest::addColumn<QStringList>("nomes");

    QTest::newRow("all by name") << "" << "" << 0 << QStringList{}
                                 << QStringList{"Rádio Alfa", "Rádio d'Oeste", "TV Beta"};
    QTest::newRow("state") << "SP" << "" << 0 << QStringList{"And Emi_UF = 'SP'"} << QStringList{"Rádio d'Oeste"};
    QTest::newRow("state and city") << "PR" << "Londrina" << 0
                                    << QStringList{"And Emi_UF = 'PR'", "And Emi_Cidade = 'Londrina'"}
                                    << QStringList{"TV Beta"};
    QTest::newRow("by city") << "" << "" << 1 << QStringList{} << QStringList{"Rádio Alfa", "TV Beta", "Rádio d'Oeste"};
    QTest::newRow("by state") << "" << "" << 2 << QStringList{} << QStringList{"PR", "PR", "SP"};
}

void TstRelatorios::emissoras() {
    QFETCH(QString, estado);
    QFETCH(QString, cidade);
    QFETCH(int, ordem);
    QFETCH(QStringList, filtros);
    QFETCH(QStringList, nomes);
    TFrmRelatorios* t = abrir("TabEmissoras");
    escolher(t->dbEstadoEmi, estado);
    escolher(t->dbCidadeEmi, cidade);
    t->RGOrdenaEmi->SetItemIndex(ordem);
    imprimir();
    const QString ordens[] = {"Order by Emi_Nome", "Order by Emi_Cidade", "Order by Emi_UF"};
    QCOMPARE(t->Q_RelEmissoras->SQL.Lines(),
             QStringList{"Select Emi_Nome, Emi_Cidade, Emi_UF, Emi_Fone from Tb_Emissoras Where Emi_Codigo > 0"} + filtros +
                 QStringList{ordens[ordem]});
    QCOMPARE(roteiro_->textos(), QStringList{});
    QCOMPARE(coluna(t->Q_RelEmissoras, ordem == 2 ? "EMI_UF" : "EMI_NOME"), nomes);
    QVERIFY(!visor_->contem("Emissora Zero"));
}

void TstRelatorios::lancamentos_data() {
    QTest::addColumn<QString>("emissora");
    QTest::addColumn<QString>("funcionario");
    QTest::addColumn<int>("ordem");
    QTest::addColumn<QStringList>("filtros");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QStringList>("valores");

    // 05/03 to 10/03: both ends listed, the entry without employee never.
    QTest::newRow("period by date") << "" << "" << 0 << QStringList{} << "LAN_CODLANCAMENTO"
                                    << QStringList{"E1", "E6", "E2", "E3"};
    QTest::newRow("by station") << "" << "" << 1 << QStringList{} << "EMI_NOME"
                                << QStringList{"Rádio Alfa", "Rádio Alfa", "Rádio d'Oeste", "TV Beta"};
    QTest::newRow("by employee") << "" << "" << 2 << QStringList{} << "FUN_NOME"
                                 << QStringList{"Ana", "Ana", "Bruno", "Bruno"};
    QTest::newRow("station with a quote") << "Rádio d'Oeste" << "" << 0
                                          << QStringList{"And Emi.Emi_Nome = 'Rádio d''Oeste'"} << "LAN_CODLANCAMENTO"
                                          << QStringList{"E6"};
    QTest::newRow("station and employee") << "Rádio Alfa" << "Bruno" << 0
                                          << QStringList{"And Emi.Emi_Nome = 'Rádio Alfa'", "And Fun.Fun_Nome = 'Bruno'"}
                                          << "LAN_CODLANCAMENTO" << QStringList{"E3"};
    QTest::newRow("nothing") << "" << "Carlos" << 0 << QStringList{"And Fun.Fun_Nome = 'Carlos'"} << "LAN_CODLANCAMENTO"
                             << QStringList{};
}

void TstRelatorios::lancamentos() {
    QFETCH(QString, emissora);
    QFETCH(QString, funcionario);
    QFETCH(int, ordem);
    QFETCH(QStringList, filtros);
    QFETCH(QString, campo);
    QFETCH(QStringList, valores);
    TFrmRelatorios* t = abrir("TabLancamentos");
    t->MEDataInicio->setText("05/03/2008");
    t->MEDataFim->setText("10/03/2008");
    escolher(t->dbEmissoras, emissora);
    escolher(t->dbFuncionarios, funcionario);
    t->RGOrdenaLan->SetItemIndex(ordem);
    imprimir();
    const QString ordens[] = {"Order by Lan.Lan_Data", "Order by Emi.Emi_Nome", "Order by Fun.Fun_Nome"};
    QCOMPARE(t->Q_RelLancamentos->SQL.Lines(),
             QStringList({"Select Lan.Lan_Data, Lan.Lan_Hora, Lan.Lan_Assunto, Lan.Lan_Tempo, Lan.Lan_CodLancamento, "
                          "Emi.Emi_Nome, Prg.Prg_Nome, Fun.Fun_Nome",
                          "From TB_Lancamento Lan, TB_Emissoras Emi, TB_Programas Prg, TB_Funcionarios Fun",
                          "Where Lan.Emi_Codigo = Emi.Emi_Codigo and Lan.Prg_Codigo = Prg.Prg_Codigo and "
                          "Lan.Fun_Codigo = Fun.Fun_Codigo",
                          "And Lan.Lan_Data Between :DataInicial and :DataFinal"}) +
                 filtros + QStringList{ordens[ordem]});
    QCOMPARE(t->Q_RelLancamentos->ParamByName("DataInicial")->Value().toDateTime(), QDateTime(QDate(2008, 3, 5), QTime(0, 0)));
    QCOMPARE(t->Q_RelLancamentos->ParamByName("DataFinal")->Value().toDateTime(), QDateTime(QDate(2008, 3, 10), QTime(0, 0)));
    if (valores.isEmpty()) {
        QCOMPARE(roteiro_->textos(), QStringList{kNaoHa});
        QCOMPARE(visor_->vezes, 0);
        return;
    }
    QCOMPARE(roteiro_->textos(), QStringList{});
    QCOMPARE(coluna(t->Q_RelLancamentos, qPrintable(campo)), valores);
    QCOMPARE(coluna(t->Q_RelLancamentos, "DATA_INICIO").value(0), QString("05/03/2008"));
    QCOMPARE(coluna(t->Q_RelLancamentos, "DATA_FIM").value(0), QString("10/03/2008"));
    QVERIFY(visor_->contem("Período de: 05/03/2008 a 10/03/2008"));
}

void TstRelatorios::pedidos_data() {
    QTest::addColumn<QString>("cliente");
    QTest::addColumn<QString>("vendedor");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("situacao");
    QTest::addColumn<int>("ordem");
    QTest::addColumn<QStringList>("filtros");
    QTest::addColumn<QList<int>>("numeros");

    const QString aReceber = "And (Ped.Ped_Pago <> 1 or Ped.Ped_pago is null)";
    const QString recebido = "And Ped.Ped_Pago = 1";
    QTest::newRow("nothing chosen: unpaid") << "" << "" << -1 << -1 << 0 << QStringList{aReceber} << QList<int>{1, 4, 2};
    QTest::newRow("A Receber") << "" << "" << -1 << 1 << 0 << QStringList{aReceber} << QList<int>{1, 4, 2};
    QTest::newRow("Recebido") << "" << "" << -1 << 0 << 0 << QStringList{recebido} << QList<int>{3};
    QTest::newRow("status") << "" << "" << 1 << -1 << 0
                            << QStringList{"And Ped.Ped_Status = 'Realizado'", aReceber} << QList<int>{2};
    QTest::newRow("status received") << "" << "" << 1 << 0 << 0
                                     << QStringList{"And Ped.Ped_Status = 'Realizado'", recebido} << QList<int>{3};
    QTest::newRow("status filling the column") << "" << "" << 0 << -1 << 0
                                               << QStringList{"And Ped.Ped_Status = 'Em Andamento'", aReceber}
                                               << QList<int>{1};
    QTest::newRow("client with a quote") << "Gama d'Ouro" << "" << -1 << 0 << 0
                                         << QStringList{"And Cli.Cli_Nome = 'Gama d''Ouro'", recebido} << QList<int>{3};
    QTest::newRow("seller") << "" << "Bruno" << -1 << -1 << 0 << QStringList{"And Ven.Fun_Nome = 'Bruno'", aReceber}
                            << QList<int>{2};
    QTest::newRow("employee who is no seller") << "" << "Carlos" << -1 << -1 << 0
                                               << QStringList{"And Ven.Fun_Nome = 'Carlos'", aReceber} << QList<int>{};
    QTest::newRow("by client") << "" << "" << -1 << -1 << 1 << QStringList{aReceber} << QList<int>{4, 1, 2};
    QTest::newRow("by seller") << "" << "" << -1 << -1 << 2 << QStringList{aReceber} << QList<int>{4, 1, 2};
}

void TstRelatorios::pedidos() {
    QFETCH(QString, cliente);
    QFETCH(QString, vendedor);
    QFETCH(int, status);
    QFETCH(int, situacao);
    QFETCH(int, ordem);
    QFETCH(QStringList, filtros);
    QFETCH(QList<int>, numeros);
    TFrmRelatorios* t = abrir("TabPedidos");
    t->MEDataInicioPed->setText("05/03/2008");
    t->MEDataFimPed->setText("10/03/2008");
    escolher(t->dbClientes, cliente);
    escolher(t->dbVendedor, vendedor);
    t->DBStatus->setCurrentIndex(status);
    t->DBSituacao->setCurrentIndex(situacao);
    t->RadioGroup1->SetItemIndex(ordem);
    imprimir();
    const QString ordens[] = {"Order by Ped.Ped_DataEntrega", "Order by Cli.Cli_Nome", "Order by Ven.Fun_Nome"};
    QCOMPARE(t->Q_RelPedidos->SQL.Lines(),
             QStringList({"Select Ped.Ped_Numero, Ped.Ped_Status, Ped.Ped_Valor, Ped.Ped_DataEntrega, Ped.Ped_Horario, "
                          "Ped.Ped_Pago, Cli.Cli_Nome, Ven.Fun_Nome, Mid.Mid_Descricao, FPG.FPG_Descricao, "
                          "Pra.Pra_Descricao",
                          "From TB_Pedido Ped", "left outer join TB_Clientes Cli on Ped.Cli_Codigo = Cli.Cli_Codigo",
                          "left outer join V_Vendedores Ven on Ped.Ven_Codigo = Ven.Ven_Codigo",
                          "left outer join TB_Midias Mid on Ped.Mid_Codigo = Mid.Mid_Codigo",
                          "left outer join TB_FormaPagamento FPG on Ped.FPG_Codigo = FPG.FPG_Codigo",
                          "left outer join TB_Prazos Pra on Ped.Pra_Codigo = Pra.Pra_Codigo",
                          "Where Ped.Ped_DataEntrega Between :DataInicial and :DataFinal"}) +
                 filtros + QStringList{ordens[ordem]});
    if (numeros.isEmpty()) {
        QCOMPARE(roteiro_->textos(), QStringList{kNaoHa});
        QCOMPARE(visor_->vezes, 0);
        return;
    }
    QCOMPARE(roteiro_->textos(), QStringList{});
    QList<int> lidos;
    for (const QString& n : coluna(t->Q_RelPedidos, "PED_NUMERO")) lidos << n.toInt();
    QCOMPARE(lidos, numeros);
    QCOMPARE(visor_->vezes, 1);
}

// The period boxes open on today's date; a print covers that one day.
void TstRelatorios::periodoDeHoje() {
    const QDate hoje = QDate::currentDate();
    const QString texto = hoje.toString("dd/MM/yyyy");
    s_->db.exec(QStringLiteral("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO, "
                               "LAN_CODLANCAMENTO) values (50, '%1', 1, 10, 7, 'HOJE')")
                    .arg(hoje.toString(Qt::ISODate)));
    s_->db.exec(QStringLiteral("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO, "
                               "LAN_CODLANCAMENTO) values (51, '%1', 1, 10, 7, 'ONTEM')")
                    .arg(hoje.addDays(-1).toString(Qt::ISODate)));
    s_->db.exec(QStringLiteral("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, PED_DATAENTREGA, PED_PAGO) values "
                               "(60, 60, '%1', 0)")
                    .arg(hoje.toString(Qt::ISODate)));
    TFrmRelatorios* t = abrir("TabLancamentos");
    QCOMPARE(t->MEDataInicio->text(), texto);
    QCOMPARE(t->MEDataFim->text(), texto);
    imprimir();
    QCOMPARE(coluna(t->Q_RelLancamentos, "LAN_CODLANCAMENTO"), QStringList{"HOJE"});
    t->close();

    t = abrir("TabPedidos");
    QCOMPARE(t->MEDataInicioPed->text(), texto);
    QCOMPARE(t->MEDataFimPed->text(), texto);
    imprimir();
    QCOMPARE(coluna(t->Q_RelPedidos, "PED_NUMERO"), QStringList{"60"});
    QCOMPARE(coluna(t->Q_RelPedidos, "DATAINICIO"), QStringList{texto});
    // Typing a period with the keyboard.
    t->MEDataInicioPed->setFocus();
    t->MEDataInicioPed->selectAll();
    QTest::keyClicks(t->MEDataInicioPed, "01032008");
    QCOMPARE(t->MEDataInicioPed->text(), QString("01/03/2008"));
    imprimir();
    QCOMPARE(coluna(t->Q_RelPedidos, "PED_NUMERO"), (QStringList{"1", "4", "2", "5", "60"}));  // the unpaid ones
}

void TstRelatorios::dataInvalida_data() {
    QTest::addColumn<QString>("pagina");
    QTest::addColumn<QString>("inicio");
    QTest::addColumn<QString>("fim");
    QTest::newRow("entries, no such day") << "TabLancamentos" << "32/03/2008" << "10/03/2008";
    QTest::newRow("entries, end cleared") << "TabLancamentos" << "05/03/2008" << "";
    QTest::newRow("orders, no such month") << "TabPedidos" << "05/03/2008" << "05/13/2008";
    QTest::newRow("orders, half typed") << "TabPedidos" << "05/03" << "10/03/2008";
}

void TstRelatorios::dataInvalida() {
    QFETCH(QString, pagina);
    QFETCH(QString, inicio);
    QFETCH(QString, fim);
    TFrmRelatorios* t = abrir(qPrintable(pagina));
    const bool lan = pagina == "TabLancamentos";
    (lan ? t->MEDataInicio : t->MEDataInicioPed)->setText(inicio);
    (lan ? t->MEDataFim : t->MEDataFimPed)->setText(fim);
    imprimir();
    QCOMPARE(roteiro_->textos(), QStringList{"Informe uma data válida"});
    QVERIFY(!(lan ? t->Q_RelLancamentos : t->Q_RelPedidos)->Active());
    QCOMPARE(visor_->vezes, 0);
    QVERIFY(t->isVisible());
}

// What the report receives: the rows of the list, the company header and
// the totals, on pages laid out by the template.
void TstRelatorios::linhasDoRelatorio() {
    TFrmRelatorios* t = abrir("TabPedidos");
    t->MEDataInicioPed->setText("05/03/2008");
    t->MEDataFimPed->setText("10/03/2008");
    imprimir();
    QCOMPARE(visor_->nome, QString("Relação de Pedidos"));
    QCOMPARE(visor_->paginas.size(), 1);
    QVERIFY(visor_->paginas[0].landscape);
    const QStringList l = visor_->linhas();
    QVERIFY2(l.contains("Relação de Pedidos"), qPrintable(l.join('\n')));
    QVERIFY(visor_->contem("Período de: 05/03/2008 a 10/03/2008"));
    QVERIFY(l.contains("Nº Data Horario Cliente Valor Vendedor Forma de Pagto. Prazo Mídia Status"));
    QVERIFY(l.contains("1 05/03/2008 15:00:00 Alfa Ltda $100,00 Ana Boleto 30 dias DVD Em Andamento"));
    QVERIFY(l.contains("2 10/03/2008 15:00:00 Beta SA $250,50 Bruno Boleto 30 dias DVD Realizado"));
    QVERIFY(l.contains("4 06/03/2008 $10,00 Cancelado"));  // nothing joined: empty names
    QVERIFY(l.contains("Total Geral: 3"));
    QVERIFY(l.contains("Soma Geral: $360,50"));
    QVERIFY(l.contains("Zbvlo Clipping Página: 1"));
    t->close();

    // The lists with the company header.
    t = abrir("TabClientes");
    escolher(t->dbEstadoCli, "PR");
    imprimir();
    const QStringList c = visor_->linhas();
    QVERIFY2(c.contains("Zbvlo Monitoramento Ltda - Zbvlo"), qPrintable(c.join('\n')));
    QVERIFY(c.contains("Curitiba - PR"));
    QVERIFY(c.contains("Nome Cidade UF Telefone"));
    QVERIFY(c.contains("Alfa Ltda Curitiba PR (41) 1111-1111"));
    QVERIFY(c.contains("Beta SA Londrina PR"));
    QVERIFY(c.contains("Total Geral: 2"));
    t->close();

    t = abrir("TabLancamentos");
    t->MEDataInicio->setText("05/03/2008");
    t->MEDataFim->setText("05/03/2008");
    imprimir();
    QVERIFY2(visor_->linhas().contains("05/03/2008 10:00:00 00:01:30 Rádio Alfa Jornal Ana E1 Abertura da feira"),
             qPrintable(visor_->linhas().join('\n')));
    QVERIFY(visor_->contem("Relação de Lançamentos"));
}

// The company row is read where it stands: values being edited in the
// settings print as typed, and printing neither posts nor moves the row.
void TstRelatorios::empresaEmEdicao() {
    dataset::DataSet* emp = DMBanco->TB_Empresa;
    emp->Edit();
    emp->FieldByName("EMP_NOMECOMPLETO")->SetAsString("Nome Ainda Não Gravado");
    QImage logo(40, 30, QImage::Format_RGB32);
    logo.fill(Qt::darkBlue);
    QByteArray png;
    QBuffer b(&png);
    b.open(QIODevice::WriteOnly);
    logo.save(&b, "PNG");
    emp->FieldByName("EMP_PATHLOGO")->SetValue(png);
    TFrmRelatorios* t = abrir("TabEmissoras");
    imprimir();
    QVERIFY(visor_->linhas().contains("Nome Ainda Não Gravado"));
    int figuras = 0;
    for (const report::PageItem& i : visor_->paginas.value(0).items)
        if (i.type == report::PageItem::Picture) ++figuras;
    QCOMPARE(figuras, 1);
    QCOMPARE(emp->GetState(), dataset::State::Edit);
    QCOMPARE(s_->db.scalar("select EMP_NOMECOMPLETO from TB_EMPRESA").toString(), QString("Zbvlo Monitoramento Ltda - Zbvlo"));
    emp->Cancel();
    t->close();
}

// The chosen colour goes to every text label, data text, data memo and
// line; page numbers, dates and totals keep the template's colour.
void TstRelatorios::cor() {
    TFrmRelatorios* t = abrir("TabLancamentos");
    t->MEDataInicio->setText("05/03/2008");
    t->MEDataFim->setText("10/03/2008");
    imprimir();
    for (const report::PageItem& i : visor_->paginas.value(0).items)
        if (i.type == report::PageItem::Text) QCOMPARE(i.font.color, QColor(Qt::black));
    t->close();

    // The colour box lies on the clients page.
    t = abrir("TabClientes");
    const QColor vermelho(200, 0, 0);
    widgets::setColorChooser([&](const QColor&, QWidget*) { return vermelho; });
    QVERIFY(t->EdColor->choose());
    widgets::setColorChooser({});
    imprimir();
    QCOMPARE(visor_->vezes, 2);
    int textos = 0, linhas = 0, outros = 0;
    for (const report::PageItem& i : visor_->paginas.value(0).items) {
        const auto k = i.source;
        if (i.type == report::PageItem::Text &&
            (k == report::ElementKind::Label || k == report::ElementKind::DBText || k == report::ElementKind::DBMemo)) {
            QCOMPARE(i.font.color, vermelho);
            ++textos;
        } else if (i.type == report::PageItem::Line) {
            QCOMPARE(i.penColor, vermelho);
            ++linhas;
        } else if (i.type == report::PageItem::Text) {
            QCOMPARE(i.font.color, QColor(Qt::black));  // print date, page number, total
            ++outros;
        }
    }
    QVERIFY(textos > 10);
    QVERIFY(linhas >= 2);
    QCOMPARE(outros, 3);
}

void TstRelatorios::semModelo_data() {
    QTest::addColumn<QString>("pagina");
    QTest::addColumn<QString>("modelo");
    QTest::addColumn<bool>("pasta");  // a folder where the file should be
    QTest::newRow("clients") << "TabClientes" << "RP_Clientes.rtm" << false;
    QTest::newRow("stations") << "TabEmissoras" << "RP_Emissoras.rtm" << false;
    QTest::newRow("entries") << "TabLancamentos" << "RP_Lancamentos.rtm" << false;
    QTest::newRow("orders") << "TabPedidos" << "RP_Pedidos.rtm" << false;
    QTest::newRow("a folder by that name") << "TabClientes" << "RP_Clientes.rtm" << true;
}

void TstRelatorios::semModelo() {
    QFETCH(QString, pagina);
    QFETCH(QString, modelo);
    QFETCH(bool, pasta);
    QVERIFY(QFile::remove(s_->modelo(modelo)));
    if (pasta) QVERIFY(QDir().mkpath(s_->modelo(modelo)));
    TFrmRelatorios* t = abrir(qPrintable(pagina));
    t->MEDataInicio->setText("05/03/2008");
    t->MEDataFim->setText("10/03/2008");
    t->MEDataInicioPed->setText("05/03/2008");
    t->MEDataFimPed->setText("10/03/2008");
    imprimir();
    QCOMPARE(roteiro_->textos(), QStringList{"Arquivo de relatório não encontrado!"});
    QCOMPARE(roteiro_->ultima().titulo, QString("Zbvlo Clipping"));
    QCOMPARE(visor_->vezes, 0);
    QVERIFY(t->isVisible());
}

// Each print rebuilds the statement from the filters as they stand; a value
// once picked stays.
void TstRelatorios::filtroPermaneceEntreImpressoes() {
    TFrmRelatorios* t = abrir("TabEmissoras");
    escolher(t->dbEstadoEmi, "PR");
    imprimir();
    QCOMPARE(coluna(t->Q_RelEmissoras, "EMI_NOME"), (QStringList{"Rádio Alfa", "TV Beta"}));
    t->RGOrdenaEmi->SetItemIndex(1);
    escolher(t->dbCidadeEmi, "Londrina");
    imprimir();
    QCOMPARE(coluna(t->Q_RelEmissoras, "EMI_NOME"), QStringList{"TV Beta"});
    QCOMPARE(t->Q_RelEmissoras->SQL.Lines().size(), 4);
    imprimir();
    QCOMPARE(visor_->vezes, 3);
    QVERIFY(visor_->contem("TV Beta Londrina PR"));
    QVERIFY(!visor_->contem("Rádio Alfa"));
}

// The engine's preview, shown without a modal loop, lays out the list.
void TstRelatorios::previa() {
    int paginas = -1;
    TFrmRelatorios::Visualizar = [&](const report::Report& r, QWidget* pai) {
        auto d = report::previewDialog(r, pai);
        d->show();
        QTest::qWait(50);
        if (auto* w = d->findChild<QPrintPreviewWidget*>()) paginas = w->pageCount();
        d->close();
    };
    for (int i = 0; i < 60; ++i)
        s_->db.exec(QStringLiteral("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME, CLI_ESTADO) values (%1, 'Cliente %1', 'RS')")
                        .arg(100 + i));
    TFrmRelatorios* t = abrir("TabClientes");
    imprimir();
    QCOMPARE(paginas, 2);
    paginas = -1;
    imprimir();  // a second print over a new pipeline
    QCOMPARE(paginas, 2);
    QCOMPARE(roteiro_->textos(), QStringList{});
}

void TstRelatorios::captura() {
    // CLIP_CAPTURAS=<folder> writes a picture of each page of the screen and
    // of the first page of each list there.
    if (qEnvironmentVariableIsEmpty("CLIP_CAPTURAS"))
        QSKIP("CLIP_CAPTURAS not set");
    const QString pasta = qEnvironmentVariable("CLIP_CAPTURAS");
    for (const char* pagina : {"TabClientes", "TabEmissoras", "TabLancamentos", "TabPedidos"}) {
        TFrmRelatorios* t = abrir(pagina);
        if (t->MEDataInicio->isVisible()) {
            t->MEDataInicio->setText("01/03/2008");
            t->MEDataFim->setText("31/03/2008");
            escolher(t->dbFuncionarios, "Ana");
        }
        if (t->MEDataInicioPed->isVisible()) {
            t->MEDataInicioPed->setText("01/03/2008");
            t->MEDataFimPed->setText("31/03/2008");
        }
        QTest::qWait(50);
        t->grab().save(pasta + "/" + pagina + ".png");
        imprimir();
        QVERIFY(!visor_->paginas.isEmpty());
        const report::Page& p = visor_->paginas.first();
        QImage img(QSize(int(p.size.width() / 25.4 * 110), int(p.size.height() / 25.4 * 110)), QImage::Format_RGB32);
        img.setDotsPerMeterX(int(110 / 0.0254));
        img.setDotsPerMeterY(int(110 / 0.0254));
        img.fill(Qt::white);
        QPainter painter(&img);
        report::paintPage(painter, p);
        painter.end();
        img.save(pasta + "/" + pagina + "_relatorio.png");
    }
}

QTEST_MAIN(TstRelatorios)
#include "tst_relatorios.moc"

#include "Layouts.h"

#include "platform/report/Format.h"
#include "platform/report/Measure.h"
#include "platform/report/Report.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace report;

namespace {

const QDateTime kWhen(QDate(2026, 3, 5), QTime(14, 7, 9));

QVector<Page> render(const Report& r)
{
    PageCollector c;
    r.run(c);
    return c.pages;
}

// Texts of the items that an element produced, page by page, in order.
QStringList textsOf(const QVector<Page>& pages, const QString& element, QList<int>* pageNumbers = nullptr)
{
    QStringList out;
    for (const Page& p : pages)
        for (const PageItem& it : p.items)
            if (it.type == PageItem::Text && it.element == element) {
                out << it.text;
                if (pageNumbers) *pageNumbers << p.number;
            }
    return out;
}

// A small sheet (content 80 mm high) so that page breaks are easy to follow.
Report smallReport(const QString& pipeline)
{
    Report r;
    r.page.width = 100;
    r.page.height = 100;
    r.page.marginLeft = r.page.marginRight = r.page.marginTop = r.page.marginBottom = 10;
    r.mainPipeline = pipeline;
    r.detail.height = 10;
    auto& f = r.detail.add<DBText>(QRectF(0, 0, 80, 5), QStringLiteral("value"));
    f.field = QStringLiteral("V");
    return r;
}

QString words(int from, int count)
{
    QStringList w;
    for (int i = from; i < from + count; ++i) w << QStringLiteral("palavra%1").arg(i);
    return w.join(QLatin1Char(' '));
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT

private slots:
    void formatFloat_data();
    void formatFloat();
    void formatDateTime_data();
    void formatDateTime();
    void displayText();

    void groupsBreakInRowOrder();
    void keepTogether_data();
    void keepTogether();
    void memoGrowsAndMovesToNextPage();
    void memoLongerThanPageIsSplit();
    void pageNumbersAndPrintDate();
    void countAndSumInSummary();
    void groupFooterTotalsRestart();
    void masterDetail();
    void noRows();
    void bindingErrors_data();
    void bindingErrors();

    void templateRoundTrip();
    void templateErrors_data();
    void templateErrors();
    void recolourTouchesExactKinds();

    void orderReport();
};

void TestReport::formatFloat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    const QString money = layouts::kMoney;
    QTest::newRow("money positive") << money << 1234.5 << "$1.234,50";
    QTest::newRow("money negative in parentheses") << money << -1234.5 << "($1.234,50)";
    QTest::newRow("money zero") << money << 0.0 << "$0,00";
    QTest::newRow("money millions") << money << 1234567.891 << "$1.234.567,89";
    QTest::newRow("money small") << money << 7.0 << "$7,00";
    QTest::newRow("negative rounding to zero is zero") << money << -0.001 << "$0,00";
    QTest::newRow("rounding carries into thousands") << "#,##0.00" << 999.999 << "1.000,00";
    QTest::newRow("optional decimals") << "0.##" << 2.5 << "2,5";
    QTest::newRow("single section negative") << "0" << -3.0 << "-3";
    QTest::newRow("quoted literal") << "'R$ '#,0.00" << 10.0 << "R$ 10,00";
    QTest::newRow("zero section") << "0.00;(0.00);'zero'" << 0.0 << "zero";
    QTest::newRow("no format") << "" << 2.25 << "2,25";
}

void TestReport::formatFloat()
{
    QFETCH(QString, format);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(report::formatFloat(format, value), expected);
}

void TestReport::formatDateTime_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("expected");
    const QDateTime midnight(QDate(2026, 3, 5), QTime(0, 0));
    QTest::newRow("date") << "dd/mm/yyyy" << kWhen << "05/03/2026";
    QTest::newRow("time") << "hh:nn:ss" << kWhen << "14:07:09";
    QTest::newRow("mm after hh is minutes") << "hh:mm" << kWhen << "14:07";
    QTest::newRow("short forms") << "d/m/yy" << kWhen << "5/3/26";
    QTest::newRow("c with time") << "c" << kWhen << "05/03/2026 14:07:09";
    QTest::newRow("c at midnight") << "c" << midnight << "05/03/2026";
    QTest::newRow("quoted") << "'dia' dd" << kWhen << "dia 05";
}

void TestReport::formatDateTime()
{
    QFETCH(QString, format);
    QFETCH(QDateTime, value);
    QFETCH(QString, expected);
    QCOMPARE(report::formatDateTime(format, value), expected);
}

void TestReport::displayText()
{
    QCOMPARE(report::displayText(QVariant(2.5), {}), QStringLiteral("2,5"));
    QCOMPARE(report::displayText(QVariant(42), {}), QStringLiteral("42"));
    QCOMPARE(report::displayText(QVariant(), layouts::kMoney), QString());
    QCOMPARE(report::displayText(QVariant(QDate(2026, 3, 5)), {}), QStringLiteral("05/03/2026"));
    QCOMPARE(report::displayText(QVariant(kWhen), QStringLiteral("dd/mm/yyyy")), QStringLiteral("05/03/2026"));
    QCOMPARE(report::displayText(QVariant(1500), layouts::kMoney), QStringLiteral("$1.500,00"));
}

void TestReport::groupsBreakInRowOrder()
{
    auto emp = layouts::empresa();
    MemoryPipeline fun(QStringLiteral("DBFuncionario"), {"FUN_NOME"});
    fun.addRow({"Ana Operadora"});
    MemoryPipeline inf(QStringLiteral("DBInforme"), layouts::informeFields());
    const QDateTime d1(QDate(2026, 3, 2), QTime(0, 0)), d2(QDate(2026, 3, 3), QTime(0, 0));
    // Rows as they were added: the first date comes back after the second.
    inf.addRow({d1, "08:00:00", "00:01:00", "Assunto um", "Radio A", "Manhã", "Ana"});
    inf.addRow({d1, "08:10:00", "00:02:00", "Assunto dois", "Radio A", "Manhã", "Ana"});
    inf.addRow({d1, "09:00:00", "00:03:00", "Assunto três", "Radio A", "Tarde", "Ana"});
    inf.addRow({d2, "10:00:00", "00:04:00", "Assunto quatro", "Radio A", "Tarde", "Ana"});
    inf.addRow({d1, "11:00:00", "00:05:00", "Assunto cinco", "Radio B", "Tarde", "Ana"});
    Report r = layouts::informe();
    r.addPipeline(&inf);
    r.addPipeline(emp.get());
    r.addPipeline(&fun);
    r.setPrintDateTime(kWhen);
    const auto pages = render(r);
    QCOMPARE(textsOf(pages, "hdr_LAN_DATA"), QStringList({"02/03/2026", "03/03/2026", "02/03/2026"}));
    // An outer break starts the inner groups again, even with the same value.
    QCOMPARE(textsOf(pages, "hdr_EMI_NOME"), QStringList({"Radio A", "Radio A", "Radio B"}));
    QCOMPARE(textsOf(pages, "hdr_PRG_NOME"), QStringList({"Manhã", "Tarde", "Tarde", "Tarde"}));
    QCOMPARE(textsOf(pages, "LAN_HORA"), QStringList({"08:00:00", "08:10:00", "09:00:00", "10:00:00", "11:00:00"}));
    // Headers come before their rows.
    const QStringList lines = pages.first().textLines();
    const auto at = [&](const QString& s) {
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains(s)) return i;
        return -1;
    };
    QVERIFY(at("03/03/2026") < at("10:00:00"));
    QVERIFY(at("Tarde") < at("09:00:00"));
    QVERIFY(at("Atenciosamente,") > at("11:00:00"));
    QCOMPARE(textsOf(pages, "FUN_NOME"), QStringList({"Ana Operadora"}));
}

void TestReport::keepTogether_data()
{
    QTest::addColumn<bool>("keep");
    QTest::addColumn<QList<int>>("rowPages");
    // Group A (header 5 mm + 4 rows of 10 mm) leaves 35 of 80 mm; group B
    // needs 45 mm: it does not fit in what is left but fits on a page.
    QTest::newRow("kept together") << true << QList<int>({1, 1, 1, 1, 2, 2, 2, 2});
    QTest::newRow("split") << false << QList<int>({1, 1, 1, 1, 1, 1, 1, 2});
}

void TestReport::keepTogether()
{
    QFETCH(bool, keep);
    QFETCH(QList<int>, rowPages);
    MemoryPipeline p(QStringLiteral("P"), {"G", "V"});
    for (int i = 0; i < 4; ++i) p.addRow({"A", QStringLiteral("a%1").arg(i)});
    for (int i = 0; i < 4; ++i) p.addRow({"B", QStringLiteral("b%1").arg(i)});
    Report r = smallReport("P");
    Group& g = r.addGroup({}, "G");
    g.keepTogether = keep;
    g.header.height = 5;
    g.header.add<DBText>(QRectF(0, 0, 50, 5), QStringLiteral("hdr")).field = QStringLiteral("G");
    r.addPipeline(&p);
    QList<int> pagesOfRows;
    const auto pages = render(r);
    textsOf(pages, "value", &pagesOfRows);
    QCOMPARE(pagesOfRows, rowPages);
    QList<int> headerPages;
    QCOMPARE(textsOf(pages, "hdr", &headerPages), QStringList({"A", "B"}));
    // A header is never left alone at the foot of a page.
    QCOMPARE(headerPages.last(), rowPages[4]);
}

void TestReport::memoGrowsAndMovesToNextPage()
{
    MemoryPipeline p(QStringLiteral("P"), {"V", "M"});
    p.addRow({"first", "curto"});
    p.addRow({"second", words(0, 60)});
    p.addRow({"third", "fim"});
    Report r = smallReport("P");
    auto& memo = r.detail.add<DBMemo>(QRectF(0, 5, 80, 4), QStringLiteral("memo"));
    memo.field = QStringLiteral("M");
    auto& below = r.detail.add<Label>(QRectF(0, 9.5, 20, 4), QStringLiteral("below"));
    below.text = QStringLiteral("---");
    r.detail.height = 14;
    r.addPipeline(&p);
    const auto pages = render(r);
    QList<int> valuePages;
    QCOMPARE(textsOf(pages, "value", &valuePages), QStringList({"first", "second", "third"}));
    // The long row does not fit under the first one: it starts the next page
    // whole, and the last row no longer fits under it.
    QCOMPARE(valuePages, QList<int>({1, 2, 3}));
    QList<int> memoPages;
    const QStringList memoLines = textsOf(pages, "memo", &memoPages);
    QCOMPARE(memoPages.count(2), memoLines.size() - 2);
    QVERIFY(memoLines.size() > 5);
    QCOMPARE(memoLines.join(QLatin1Char(' ')), QStringLiteral("curto ") + words(0, 60) + QStringLiteral(" fim"));
    // The label under the memo moved down below the memo's last line.
    double lastMemoBottom = 0, belowTop = 0;
    for (const PageItem& it : pages[1].items) {
        if (it.element == "memo" && it.text.contains("palavra59")) lastMemoBottom = it.rect.bottom();
        if (it.element == "below" && belowTop == 0) belowTop = it.rect.top();
    }
    QVERIFY(lastMemoBottom > 0);
    QVERIFY(belowTop >= lastMemoBottom - 0.01);
}

void TestReport::memoLongerThanPageIsSplit()
{
    MemoryPipeline p(QStringLiteral("P"), {"V", "M"});
    p.addRow({"only", words(0, 400)});
    Report r = smallReport("P");
    r.pageFooter.height = 6;
    r.pageFooter.add<SystemVariable>(QRectF(0, 1, 20, 5), QStringLiteral("pageNo"));
    auto& memo = r.detail.add<DBMemo>(QRectF(0, 5, 80, 4), QStringLiteral("memo"));
    memo.field = QStringLiteral("M");
    r.addPipeline(&p);
    const auto pages = render(r);
    QVERIFY(pages.size() >= 3);
    QCOMPARE(textsOf(pages, "memo").join(QLatin1Char(' ')), words(0, 400));
    // Nothing of the body runs into the footer or past the sheet.
    for (const Page& pg : pages)
        for (const PageItem& it : pg.items)
            if (it.element == "memo") QVERIFY2(it.rect.bottom() <= 90 - 6 + 0.01, qPrintable(it.text));
    QCOMPARE(r.pageCount(), int(pages.size()));
}

void TestReport::pageNumbersAndPrintDate()
{
    MemoryPipeline p(QStringLiteral("P"), {"V"});
    for (int i = 0; i < 20; ++i) p.addRow({QStringLiteral("row%1").arg(i)});
    Report r = smallReport("P");
    r.title.height = 6;
    auto& dt = r.title.add<SystemVariable>(QRectF(0, 0, 60, 5), QStringLiteral("date"));
    dt.value = SystemValue::PrintDateTime;
    r.pageFooter.height = 6;
    r.pageFooter.add<SystemVariable>(QRectF(0, 1, 20, 5), QStringLiteral("pageNo")).value = SystemValue::PageNumber;
    r.pageFooter.add<SystemVariable>(QRectF(40, 1, 30, 5), QStringLiteral("ofM")).value = SystemValue::PageNofM;
    r.addPipeline(&p);
    r.setPrintDateTime(kWhen);
    const auto pages = render(r);
    // Title 6 mm, footer 6 mm: 68 mm for rows of 10 mm, then 74 mm.
    QCOMPARE(pages.size(), 3);
    QCOMPARE(textsOf(pages, "pageNo"), QStringList({"1", "2", "3"}));
    QCOMPARE(textsOf(pages, "ofM"), QStringList({"1 de 3", "2 de 3", "3 de 3"}));
    QCOMPARE(textsOf(pages, "date"), QStringList({"05/03/2026 14:07:09"}));
    QList<int> rowPages;
    textsOf(pages, "value", &rowPages);
    QCOMPARE(rowPages.count(1), 6);
    QCOMPARE(rowPages.count(2), 7);
    QCOMPARE(rowPages.count(3), 7);
}

void TestReport::countAndSumInSummary()
{
    MemoryPipeline base(QStringLiteral("Base"), layouts::pedidosListaFields());
    const double values[] = {1234.5, 200.0, -50.25, 10000.0};
    const char* clients[] = {"Cliente Um", "Cliente Dois", nullptr, "Cliente Três"};
    for (int i = 0; i < 4; ++i)
        base.addRow({i + 1, "Em Andamento", values[i], QDateTime(QDate(2026, 3, 1 + i), QTime(0, 0)), "10:00:00", 0,
                     clients[i] ? QVariant(QString::fromUtf8(clients[i])) : QVariant(), "Vendedor", "Rádio", "Boleto",
                     "30 dias", "01/03/2026", "31/03/2026"});
    Report r = layouts::pedidosLista();
    r.addPipeline(&base);
    r.setPrintDateTime(kWhen);
    const auto pages = render(r);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages[0].landscape);
    QCOMPARE(pages[0].size, QSizeF(297, 210));
    // Every row counts, also the one without a client.
    QCOMPARE(textsOf(pages, "totalGeral"), QStringList({"4"}));
    QCOMPARE(textsOf(pages, "somaGeral"), QStringList({"$11.384,25"}));
    QCOMPARE(textsOf(pages, "PED_VALOR"), QStringList({"$1.234,50", "$200,00", "($50,25)", "$10.000,00"}));
    QCOMPARE(textsOf(pages, "PED_DATAENTREGA").first(), QStringLiteral("01/03/2026"));
    QCOMPARE(textsOf(pages, "DATAINICIO"), QStringList({"01/03/2026"}));
}

void TestReport::groupFooterTotalsRestart()
{
    MemoryPipeline p(QStringLiteral("P"), {"G", "V", "N"});
    p.addRow({"A", "a1", 1.5});
    p.addRow({"A", "a2", 2.0});
    p.addRow({"B", "b1", 10.0});
    p.addRow({"A", "a3", 4.0});
    Report r = smallReport("P");
    r.detail.height = 5;
    Group& g = r.addGroup({}, "G", "G1");
    g.footer.height = 5;
    auto& sub = g.footer.add<Calc>(QRectF(0, 0, 30, 5), QStringLiteral("sub"));
    sub.field = QStringLiteral("N");
    sub.displayFormat = layouts::kMoney;
    sub.resetGroup = QStringLiteral("G1");
    auto& cnt = g.footer.add<Calc>(QRectF(40, 0, 30, 5), QStringLiteral("cnt"));
    cnt.function = CalcFunction::Count;
    cnt.resetGroup = QStringLiteral("G1");
    r.summary.height = 5;
    auto& total = r.summary.add<Calc>(QRectF(0, 0, 30, 5), QStringLiteral("total"));
    total.field = QStringLiteral("N");
    total.displayFormat = layouts::kMoney;
    r.addPipeline(&p);
    const auto pages = render(r);
    QCOMPARE(textsOf(pages, "sub"), QStringList({"$3,50", "$10,00", "$4,00"}));
    QCOMPARE(textsOf(pages, "cnt"), QStringList({"2", "1", "1"}));
    QCOMPARE(textsOf(pages, "total"), QStringList({"$17,50"}));
}

void TestReport::masterDetail()
{
    MemoryPipeline orders(QStringLiteral("Orders"), {"ID", "NAME"});
    orders.addRow({1, "Pedido 1"});
    orders.addRow({2, "Pedido 2"});
    orders.addRow({3, "Pedido sem itens"});
    orders.addRow({4, "Pedido 4"});
    MemoryPipeline items(QStringLiteral("Items"), {"ORDER_ID", "V"});
    items.addRow({4, "d1"});
    items.addRow({1, "a1"});
    items.addRow({2, "b1"});
    items.addRow({1, "a2"});
    items.setMasterLink(&orders, {{"ORDER_ID", "ID"}});
    Report r = smallReport("Items");
    r.detail.height = 5;
    Group& g = r.addGroup("Orders", "ID");
    g.header.height = 5;
    g.header.add<DBText>(QRectF(0, 0, 50, 5), QStringLiteral("order")).pipeline = QStringLiteral("Orders");
    static_cast<DBText*>(g.header.elements.back().get())->field = QStringLiteral("NAME");
    r.summary.height = 5;
    auto& last = r.summary.add<DBText>(QRectF(0, 0, 50, 5), QStringLiteral("last"));
    last.pipeline = QStringLiteral("Orders");
    last.field = QStringLiteral("NAME");
    r.addPipeline(&orders);
    r.addPipeline(&items);
    const auto pages = render(r);
    QCOMPARE(textsOf(pages, "order"), QStringList({"Pedido 1", "Pedido 2", "Pedido 4"}));
    QCOMPARE(textsOf(pages, "value"), QStringList({"a1", "a2", "b1", "d1"}));
    QCOMPARE(textsOf(pages, "last"), QStringList({"Pedido 4"}));
    // A second run gives the same pages.
    QCOMPARE(render(r).first().describe(), pages.first().describe());
}

void TestReport::noRows()
{
    MemoryPipeline base(QStringLiteral("Base"), layouts::pedidosListaFields());
    Report r = layouts::pedidosLista();
    r.addPipeline(&base);
    const auto pages = render(r);
    QCOMPARE(pages.size(), 1);
    QCOMPARE(textsOf(pages, "lbl_Relação de Pedidos").size(), 1);
    QCOMPARE(textsOf(pages, "PED_NUMERO"), QStringList());
    QCOMPARE(textsOf(pages, "totalGeral"), QStringList({"0"}));
    QCOMPARE(textsOf(pages, "somaGeral"), QStringList({"$0,00"}));
    QCOMPARE(textsOf(pages, "pageNo"), QStringList({"1"}));
}

void TestReport::bindingErrors_data()
{
    QTest::addColumn<QString>("pipeline");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown field") << "P" << "NOPE" << "Campo 'NOPE' não encontrado no pipeline de dados 'P'";
    QTest::newRow("unknown pipeline") << "Q" << "V" << "Pipeline de dados 'Q' não encontrado";
}

void TestReport::bindingErrors()
{
    QFETCH(QString, pipeline);
    QFETCH(QString, field);
    QFETCH(QString, message);
    MemoryPipeline p(QStringLiteral("P"), {"V"});
    p.addRow({"x"});
    Report r = smallReport("P");
    auto& bad = r.summary.add<DBText>(QRectF(0, 0, 10, 5), QStringLiteral("bad"));
    bad.pipeline = pipeline;
    bad.field = field;
    r.addPipeline(&p);
    PageCollector sink;
    try {
        r.run(sink);
        QFAIL("the run should have been refused");
    } catch (const ETemplateError& e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    QVERIFY(sink.pages.isEmpty());
}

void TestReport::templateRoundTrip()
{
    auto emp = layouts::empresa();
    MemoryPipeline base(QStringLiteral("Base1"), layouts::pedidoFields());
    QVector<QVariant> order(layouts::pedidoFields().size());
    order[0] = 7;
    order[1] = 2500.0;
    order[4] = 31;
    order[10] = "Cliente";
    base.addRow(order);
    MemoryPipeline items(QStringLiteral("DBItensPedido"), layouts::itensFields());
    for (int i = 0; i < 30; ++i)
        items.addRow({i, 7, i, QStringLiteral("C%1").arg(i), QDateTime(QDate(2026, 1, 1 + i % 28), QTime(0, 0)), "08:00:00",
                      "00:01:00", "1", words(i, 5 + i * 3), "Programa", "Emissora", "Func"});
    items.setMasterLink(&base, {{"PED_CODIGO", "PED_CODIGO"}});

    Report built = layouts::pedidoVenda();
    QTemporaryDir dir;
    const QString path = dir.filePath("RP_PedidoVenda.rtm");
    built.saveTemplate(path);

    Report loaded;  // starts with another layout, which the template replaces
    loaded = layouts::pedidosLista();
    loaded.loadTemplate(path);
    QCOMPARE(loaded.toXml(), built.toXml());
    for (Report* r : {&built, &loaded}) {
        r->addPipeline(emp.get());
        r->addPipeline(&base);
        r->addPipeline(&items);
        r->setPrintDateTime(kWhen);
    }
    const auto a = render(built);
    const auto b = render(loaded);
    QVERIFY(a.size() >= 2);
    QCOMPARE(b.size(), a.size());
    for (int i = 0; i < a.size(); ++i) QCOMPARE(b[i].describe(), a[i].describe());
}

void TestReport::templateErrors_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("message");
    QTest::newRow("not xml") << QByteArray("<report><title") << "Modelo de relatório inválido";
    QTest::newRow("other root") << QByteArray("<layout/>") << "o elemento raiz deve ser <report>";
    QTest::newRow("unknown element") << QByteArray("<report><detail height='5'><button/></detail></report>")
                                     << "elemento desconhecido <button>";
    QTest::newRow("field missing") << QByteArray("<report><detail height='5'><dbtext x='0'/></detail></report>")
                                   << "falta o atributo 'field' em <dbtext>";
    QTest::newRow("bad number") << QByteArray("<report><detail height='cinco'/></report>") << "valor numérico inválido";
    QTest::newRow("bad colour") << QByteArray("<report><detail><label color='azulado'/></detail></report>") << "cor inválida";
    QTest::newRow("margins too wide") << QByteArray("<report><page width='20' marginLeft='15' marginRight='15'/></report>")
                                      << "margens maiores que a página";
    QTest::newRow("future version") << QByteArray("<report version='2'/>") << "versão 2 do formato não suportada";
}

void TestReport::templateErrors()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, message);
    Report r = layouts::pedidosLista();
    const QByteArray before = r.toXml();
    try {
        r.fromXml(xml);
        QFAIL("the template should have been refused");
    } catch (const ETemplateError& e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
    QCOMPARE(r.toXml(), before);  // the layout in place is kept
    try {
        r.loadTemplate(QStringLiteral("/nonexistent/RP_Pedidos.rtm"));
        QFAIL("a missing file should have been refused");
    } catch (const ETemplateError& e) {
        QVERIFY(e.message().contains("RP_Pedidos.rtm"));
    }
}

void TestReport::recolourTouchesExactKinds()
{
    MemoryPipeline p(QStringLiteral("P"), {"V", "M", "IMG"});
    p.addRow({"valor", "memo", layouts::logoPng()});
    Report r = smallReport("P");
    const QColor orig(10, 120, 30), red(Qt::red);
    auto& lbl = r.detail.add<Label>(QRectF(0, 5, 20, 4), QStringLiteral("label"));
    lbl.text = QStringLiteral("rótulo");
    auto& memo = r.detail.add<DBMemo>(QRectF(20, 5, 20, 4), QStringLiteral("memo"));
    memo.field = QStringLiteral("M");
    auto& line = r.detail.add<Line>(QRectF(0, 9, 50, 0), QStringLiteral("line"));
    auto& shape = r.detail.add<Shape>(QRectF(0, 0, 80, 10), QStringLiteral("shape"));
    shape.filled = true;
    shape.fillColor = orig;
    auto& img = r.detail.add<Image>(QRectF(60, 0, 10, 10), QStringLiteral("image"));
    img.field = QStringLiteral("IMG");
    auto& sys = r.pageHeader.add<SystemVariable>(QRectF(0, 0, 20, 4), QStringLiteral("sys"));
    r.pageHeader.height = 5;
    auto& calc = r.summary.add<Calc>(QRectF(0, 0, 20, 4), QStringLiteral("calc"));
    calc.function = CalcFunction::Count;
    r.summary.height = 5;
    for (TextElement* t : std::initializer_list<TextElement*>{&lbl, &memo, &sys, &calc,
                                                              static_cast<TextElement*>(r.findElement("value"))})
        t->font.color = orig;
    line.penColor = orig;
    shape.penColor = orig;
    r.addPipeline(&p);
    r.recolour(red);

    QCOMPARE(lbl.font.color, red);
    QCOMPARE(static_cast<DBText*>(r.findElement("value"))->font.color, red);
    QCOMPARE(memo.font.color, red);
    QCOMPARE(line.penColor, red);
    QCOMPARE(sys.font.color, orig);
    QCOMPARE(calc.font.color, orig);
    QCOMPARE(shape.penColor, orig);
    QCOMPARE(shape.fillColor, orig);
    QCOMPARE(r.elementsOf<DBText>().size(), 1);  // a memo is not a data text
    QCOMPARE(r.elements(ElementKind::DBMemo).size(), 1);

    const auto pages = render(r);
    for (const PageItem& it : pages[0].items) {
        const bool named = it.source == ElementKind::Label || it.source == ElementKind::DBText || it.source == ElementKind::DBMemo;
        if (it.type == PageItem::Text) QCOMPARE(it.font.color, named ? red : orig);
        if (it.type == PageItem::Line) QCOMPARE(it.penColor, red);
        if (it.type == PageItem::Rect) QCOMPARE(it.fillColor, orig);
    }
}

void TestReport::orderReport()
{
    auto emp = layouts::empresa();
    MemoryPipeline base(QStringLiteral("Base1"), layouts::pedidoFields());
    const QStringList f = layouts::pedidoFields();
    QVector<QVariant> o(f.size());
    auto set = [&](const char* name, QVariant v) { o[f.indexOf(QString::fromUtf8(name))] = std::move(v); };
    set("PED_CODIGO", 12);
    set("PED_VALOR", 1234.5);
    set("PED_DATAENTREGA", QDateTime(QDate(2026, 4, 10), QTime(0, 0)));
    set("PED_HORARIO", "15:30:00");
    set("PED_NUMERO", 345);
    set("PED_QUANTIDADE", 2);
    set("PED_NOMESOLICITANTE", "Carlos Souza");
    set("CLI_NOME", "Prefeitura de Araucária");
    set("CLI_CONTATO", "Márcia");
    set("CLI_FONECONTATO", "(41) 9999-0000");
    set("CLI_BAIRROENTREGA", "Centro");
    set("CLI_CEPENTREGA", "83700-000");
    set("FPG_DESCRICAO", "Boleto");
    set("FUN_NOME", "Vendedor Silva");
    set("ENDEREÇOENTREGACOMPLETO", "Rua XV, 10 - sala 2");
    base.addRow(o);
    QVector<QVariant> other(f.size());
    other[0] = 99;
    base.addRow(other);  // another order whose items must not show
    MemoryPipeline items(QStringLiteral("DBItensPedido"), layouts::itensFields());
    for (int i = 0; i < 25; ++i)
        items.addRow({100 + i, 12, 500 + i, QStringLiteral("K%1").arg(i, 3, 10, QLatin1Char('0')),
                      QDateTime(QDate(2026, 4, 1 + i % 9), QTime(0, 0)), QStringLiteral("%1:00:00").arg(8 + i % 10, 2, 10, QLatin1Char('0')),
                      "00:02:30", "1", QStringLiteral("Item %1: ").arg(i) + words(i * 10, 8 + (i % 4) * 25), "Jornal da Manhã",
                      "Rádio Clube", "Ana"});
    items.addRow({999, 99, 1, "X", QDateTime(QDate(2026, 4, 1), QTime(0, 0)), "00:00:00", "00:00:00", "1", "outro pedido", "P",
                  "E", "F"});
    items.setMasterLink(&base, {{"PED_CODIGO", "PED_CODIGO"}});
    Report r = layouts::pedidoVenda();
    r.addPipeline(emp.get());
    r.addPipeline(&base);
    r.addPipeline(&items);
    r.setPrintDateTime(kWhen);
    // The order report prints one order: its print query has a single row.
    base.clearRows();
    base.addRow(o);
    const auto pages = render(r);
    QVERIFY(pages.size() >= 2);

    QCOMPARE(textsOf(pages, "EMP_NOMECOMPLETO"), QStringList({QString::fromUtf8("Zbvlo Monitoramento de Mídia Ltda.")}));
    QCOMPARE(textsOf(pages, "PED_NUMERO"), QStringList({"345", "345"}));  // title and stub
    QCOMPARE(textsOf(pages, "PED_VALOR"), QStringList({"$1.234,50"}));
    QCOMPARE(textsOf(pages, "PED_DATAENTREGA"), QStringList({"10/04/2026", "10/04/2026"}));
    QStringList codes;
    for (int i = 0; i < 25; ++i) codes << QStringLiteral("K%1").arg(i, 3, 10, QLatin1Char('0'));
    QCOMPARE(textsOf(pages, "LAN_CODLANCAMENTO"), codes);
    QCOMPARE(textsOf(pages, "LAN_DATA").first(), QStringLiteral("01/04/2026"));
    QVERIFY(!textsOf(pages, "LAN_ASSUNTO").join(' ').contains("outro pedido"));
    QVERIFY(textsOf(pages, "LAN_ASSUNTO").join(' ').contains(words(240, 8)));  // last subject in full
    for (const Page& p : pages) {
        QStringList lines = p.textLines();
        const QString all = lines.join('\n');
        QVERIFY2(all.contains(QString::fromUtf8("Data Horário Emissora Programa Vel. Cod. Tempo Funcionário")), qPrintable(all));
        QVERIFY(lines.last().startsWith("Zbvlo Clipping"));
        QVERIFY(lines.last().endsWith(QStringLiteral("Página: %1").arg(p.number)));
    }
    const QString first = pages.first().textLines().join('\n');
    for (const char* s : {"Pedido de Venda   Nº 345", "Empresa: Prefeitura de Araucária", "Valor: $1.234,50",
                          "Vendedor (a): Vendedor Silva Data: 10/04/2026 Horário: 15:30:00", "Fone: (41) 3333-4444"})
        QVERIFY2(first.contains(QString::fromUtf8(s)), s);
    QVERIFY(first.indexOf(QString::fromUtf8("Lançamentos")) < first.indexOf("Data Horário"));
    // The delivery stub closes the last page, with its dashed cutting line.
    const Page& last = pages.last();
    const QString stub = last.textLines().join('\n');
    for (const char* s : {"PRODUÇÃO: DATA: HORÁRIO:", "Nº PEDIDO: 345 ENTREGA: Márcia FONE: (41) 9999-0000",
                          "ENDEREÇO: Rua XV, 10 - sala 2", "BAIRRO: Centro CIDADE: UF: CEP: 83700-000"})
        QVERIFY2(stub.contains(QString::fromUtf8(s)), s);
    bool dashed = false;
    for (const PageItem& it : last.items) dashed |= it.type == PageItem::Line && it.style == LineStyle::Dash;
    QVERIFY(dashed);
    bool logo = false;
    for (const PageItem& it : pages.first().items) logo |= it.type == PageItem::Picture && it.element == "logo";
    QVERIFY(logo);
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"

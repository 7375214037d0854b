#include "Layouts.h"

#include "platform/report/PainterOutput.h"
#include "platform/report/Rows.h"
#include "platform/report/RtfWriter.h"
#include "platform/report/TextWriter.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

using namespace report;

using TextItems = QList<QPair<QRectF, int>>;  // rectangle, alignment

namespace {

const QDateTime kWhen(QDate(2026, 3, 5), QTime(14, 7, 9));

QString simplified(QString s)
{
    return s.replace(QChar(0xA0), QLatin1Char(' ')).simplified();
}

// Checks that every text of the pages appears in `text`, in page order.
// Returns the first text that is missing or out of order, empty when all are.
QString missingInOrder(const QVector<Page>& pages, const QString& text)
{
    const QString hay = simplified(text);
    qsizetype pos = 0;
    for (const Page& p : pages) {
        for (const PageRow& row : pageRows(p))
            for (const PageItem* it : row.texts) {
                const QString needle = simplified(it->text);
                if (needle.isEmpty()) continue;
                const qsizetype at = hay.indexOf(needle, pos);
                if (at < 0) return QStringLiteral("page %1: \"%2\" (after: \"%3\")").arg(p.number).arg(needle, hay.mid(pos, 80));
                pos = at + needle.size();
            }
    }
    return {};
}

QString tool(const QString& name) { return QStandardPaths::findExecutable(name); }

QString libreOffice()
{
    QString lo = tool(QStringLiteral("libreoffice"));
    return lo.isEmpty() ? tool(QStringLiteral("soffice")) : lo;
}

// Converts with LibreOffice in headless mode; returns the converted file.
QString convert(const QString& lo, const QString& file, const QString& filter, const QString& ext, const QTemporaryDir& dir)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(lo, {QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("lo-profile")), QStringLiteral("--headless"),
                 QStringLiteral("--convert-to"), filter, QStringLiteral("--outdir"), dir.filePath(QStringLiteral("out")), file});
    if (!p.waitForFinished(180000)) return {};
    const QString out = dir.filePath(QStringLiteral("out/") + QFileInfo(file).completeBaseName() + QLatin1Char('.') + ext);
    if (!QFileInfo::exists(out)) qWarning() << p.readAll();
    return out;
}

QString readUtf8(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll());
}

int pdfPages(const QString& pdf)
{
    QProcess p;
    p.start(tool(QStringLiteral("pdfinfo")), {pdf});
    p.waitForFinished(60000);
    const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(QString::fromUtf8(p.readAll()));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

struct Rendered {
    layouts::OrderData order{40};
    layouts::InformeData informe{30};
    MemoryPipeline orders{QStringLiteral("Base"), layouts::pedidosListaFields()};
    Report orderReport = layouts::pedidoVenda();
    Report informeReport = layouts::informe();
    Report ordersList = layouts::pedidosLista();
    Rendered()
    {
        order.bind(orderReport);
        informe.bind(informeReport);
        for (int i = 0; i < 70; ++i)
            orders.addRow({i + 1, "Realizado", 100.0 * i + 0.5, QDateTime(QDate(2026, 3, 1 + i % 28), QTime(0, 0)), "10:00:00", 1,
                           QStringLiteral("Cliente %1").arg(i), "Vendedor", QString::fromUtf8("Rádio"), "Boleto", "30 dias",
                           "01/03/2026", "31/03/2026"});
        ordersList.addPipeline(&orders);
        for (Report* r : all()) r->setPrintDateTime(kWhen);
    }
    QList<Report*> all() { return {&orderReport, &informeReport, &ordersList}; }
};

QVector<Page> render(const Report& r)
{
    PageCollector c;
    r.run(c);
    return c.pages;
}

} // namespace

class TestReportOutputs : public QObject {
    Q_OBJECT

private slots:
    void rtfEscape_data();
    void rtfEscape();
    void textGrid_data();
    void textGrid();
    void textFile();
    void pdfReadByPdftotext();
    void rtfReadByLibreOffice();
    void failedRunLeavesNoFile();
    void previewRendersEveryPage();
};

void TestReportOutputs::rtfEscape_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("rtf");
    QTest::newRow("plain") << "Fone:" << QByteArray("Fone:");
    QTest::newRow("braces and backslash") << "{a}\\b" << QByteArray("\\{a\\}\\\\b");
    QTest::newRow("accents") << QString::fromUtf8("ção") << QByteArray("\\u231\\'e7\\u227\\'e3o");
    QTest::newRow("outside the code page") << QString(QChar(0x0416)) << QByteArray("\\u1046\\'3f");
    QTest::newRow("line breaks become spaces") << "a\nb" << QByteArray("a b");
}

void TestReportOutputs::rtfEscape()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, rtf);
    QCOMPARE(report::rtfEscape(text), rtf);
}

void TestReportOutputs::textGrid_data()
{
    QTest::addColumn<TextItems>("items");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("lines");
    using Items = TextItems;
    const double c = 25.4 / 12, l = 25.4 / 6;
    QTest::newRow("columns and lines")
        << Items{{QRectF(0, 0, 20, 4), 0}, {QRectF(10 * c, 0, 20, 4), 0}, {QRectF(0, 2 * l, 20, 4), 0}}
        << QStringList{"Data:", "01/02/2026", "linha 3"} << QStringList{"Data:     01/02/2026", "", "linha 3"};
    QTest::newRow("overlap moves right, nothing is cut")
        << Items{{QRectF(0, 0, 5, 4), 0}, {QRectF(2 * c, 0, 20, 4), 0}} << QStringList{"Emissora", "Programa"}
        << QStringList{"Emissora Programa"};
    QTest::newRow("right and centre")
        << Items{{QRectF(0, 0, 20 * c, 4), 2}, {QRectF(0, l, 20 * c, 4), 1}} << QStringList{"fim", "meio"}
        << QStringList{"                 fim", "        meio"};
    QTest::newRow("rows close together keep their own lines")
        << Items{{QRectF(0, 0, 20, 4), 0}, {QRectF(0, 4.1, 20, 4), 0}, {QRectF(0, 8.2, 20, 4), 0}}
        << QStringList{"a", "b", "c"} << QStringList{"a", "b", "c"};
}

void TestReportOutputs::textGrid()
{
    QFETCH(TextItems, items);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, lines);
    Page p;
    p.size = QSizeF(210, 297);
    for (int i = 0; i < items.size(); ++i) {
        PageItem it;
        it.rect = items[i].first;
        it.align = HAlign(items[i].second);
        it.text = texts[i];
        p.items << it;
    }
    QCOMPARE(textPageLines(p), lines);
}

void TestReportOutputs::textFile()
{
    Rendered r;
    const auto pages = render(r.orderReport);
    QVERIFY(pages.size() >= 3);
    QTemporaryDir dir;
    const QString path = dir.filePath("pedido.txt");
    writeText(r.orderReport, path);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY(bytes.contains("\r\n"));
    QVERIFY(bytes.contains("Arauc\xe1" "ria"));  // Windows-1252
    QString all = QString::fromLatin1(bytes);
    all.remove(QLatin1Char('\r'));
    const QStringList filePages = all.split(QLatin1Char('\f'));
    QCOMPARE(filePages.size(), pages.size());
    QVERIFY(missingInOrder(pages, all.replace(QLatin1Char('\f'), QLatin1Char('\n'))).isEmpty());
    // Values are on the lines of their labels, in their columns' order.
    const QStringList first = filePages[0].split(QLatin1Char('\n'));
    auto lineWith = [](const QStringList& lines, const QString& s) {
        for (int i = 0; i < lines.size(); ++i)
            if (lines[i].contains(s)) return i;
        return -1;
    };
    const QRegularExpression vendedor(QStringLiteral("^Vendedor \\(a\\): +Vendedor Silva +Data: +10/04/2026 +Hor\u00e1rio: +15:30:00$"));
    QVERIFY2(lineWith(first, "Vendedor (a):") >= 0 && vendedor.match(first[lineWith(first, "Vendedor (a):")]).hasMatch(),
             qPrintable(first.join('\n')));
    const int k0 = lineWith(first, layouts::OrderData::code(0));
    QVERIFY(k0 > lineWith(first, "Vendedor (a):"));
    const QRegularExpression item(QStringLiteral("^01/04/2026 +08:00:00 +R\u00e1dio Clube +Jornal da Manh\u00e3 +1 +K000 +00:02:30 +Ana$"));
    QVERIFY2(item.match(first[k0]).hasMatch(), qPrintable(first[k0]));
    QVERIFY(first[k0 + 1].startsWith(QStringLiteral("Assunto: ")));
    QVERIFY(first[k0 + 1].contains(QStringLiteral("Item 0: palavra0")));
    for (int i = 0; i < filePages.size(); ++i) {
        QStringList lines = filePages[i].split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(lines.last().startsWith("Zbvlo Clipping"));
        QVERIFY2(lines.last().endsWith(QStringLiteral("P\u00e1gina: %1").arg(i + 1)), qPrintable(lines.last()));
    }
}

void TestReportOutputs::pdfReadByPdftotext()
{
    const QString pdftotext = tool("pdftotext");
    if (pdftotext.isEmpty() || tool("pdfinfo").isEmpty()) QSKIP("pdftotext/pdfinfo not found: install poppler-utils");
    Rendered r;
    QTemporaryDir dir;
    for (Report* rep : r.all()) {
        const auto pages = render(*rep);
        const QString pdf = dir.filePath(rep->name + ".pdf");
        writePdf(*rep, pdf);
        QCOMPARE(pdfPages(pdf), int(pages.size()));
        QProcess p;
        p.start(pdftotext, {"-layout", "-enc", "UTF-8", pdf, dir.filePath(rep->name + ".txt")});
        QVERIFY(p.waitForFinished(60000));
        const QString text = readUtf8(dir.filePath(rep->name + ".txt"));
        QCOMPARE(text.count(QLatin1Char('\f')), pages.size());
        const QString missing = missingInOrder(pages, text);
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
    }
    // Arial and Times New Roman come out in their metric-compatible faces.
    if (!tool("pdffonts").isEmpty()) {
        QProcess p;
        p.start(tool("pdffonts"), {dir.filePath(r.informeReport.name + ".pdf")});
        QVERIFY(p.waitForFinished(60000));
        const QString fonts = QString::fromUtf8(p.readAll());
        for (const char* face : {"LiberationSans-Bold", "LiberationSans-BoldItalic", "LiberationSerif"})
            QVERIFY2(fonts.contains(face), qPrintable(fonts));
    }
}

void TestReportOutputs::rtfReadByLibreOffice()
{
    const QString lo = libreOffice();
    if (lo.isEmpty()) QSKIP("libreoffice not found: install libreoffice-writer-nogui");
    Rendered r;
    r.informeReport.recolour(Qt::red);
    QTemporaryDir dir;
    for (Report* rep : r.all()) {
        const auto pages = render(*rep);
        const QString rtf = dir.filePath(rep->name + ".rtf");
        writeRtf(*rep, rtf);
        const QString txt = convert(lo, rtf, "txt:Text (encoded):UTF8", "txt", dir);
        const QString missing = missingInOrder(pages, readUtf8(txt));
        QVERIFY2(missing.isEmpty(), qPrintable(missing));
        if (!tool("pdfinfo").isEmpty()) {
            const QString pdf = convert(lo, rtf, "pdf", "pdf", dir);
            QCOMPARE(pdfPages(pdf), int(pages.size()));
        }
    }
    // Fonts and colours as the word processor reads them.
    const QString fodt = readUtf8(convert(lo, dir.filePath(r.informeReport.name + ".rtf"), "fodt", "fodt", dir));
    QVERIFY(fodt.contains("fo:color=\"#ff0000\""));
    QVERIFY(fodt.contains("fo:color=\"#000080\""));  // the print date keeps its navy
    QVERIFY(fodt.contains("Times New Roman"));
    QVERIFY(fodt.contains("Arial"));
    QVERIFY(fodt.contains("fo:font-weight=\"bold\""));
    QVERIFY(fodt.contains("fo:font-style=\"italic\""));
    QVERIFY(fodt.contains("fo:background-color=\"#404040\""));  // the grey band under the company name
    QVERIFY(fodt.contains("draw:mime-type=\"image/png\""));      // the logo
}

void TestReportOutputs::failedRunLeavesNoFile()
{
    Rendered r;
    auto& bad = r.orderReport.summary.add<DBText>(QRectF(0, 0, 10, 5), "bad");
    bad.field = "NAO_EXISTE";
    QTemporaryDir dir;
    QVERIFY_THROWS_EXCEPTION(ETemplateError, writeText(r.orderReport, dir.filePath("a.txt")));
    QVERIFY_THROWS_EXCEPTION(ETemplateError, writeRtf(r.orderReport, dir.filePath("a.rtf")));
    QVERIFY(!QFileInfo::exists(dir.filePath("a.txt")));
    QVERIFY(!QFileInfo::exists(dir.filePath("a.rtf")));
    QVERIFY_THROWS_EXCEPTION(clip::Exception, writeText(r.informeReport, "/nonexistent/dir/a.txt"));
}

void TestReportOutputs::previewRendersEveryPage()
{
    Rendered r;
    const int expected = r.orderReport.pageCount();
    auto dlg = previewDialog(r.orderReport);
    int painted = 0;
    QObject::connect(dlg.get(), &QPrintPreviewDialog::paintRequested, [&](QPrinter*) { ++painted; });
    dlg->show();
    QTRY_VERIFY(painted > 0);
    auto* widget = dlg->findChild<QPrintPreviewWidget*>();
    QVERIFY(widget);
    QTRY_COMPARE(widget->pageCount(), expected);
    dlg->close();
}

QTEST_MAIN(TestReportOutputs)
#include "tst_report_outputs.moc"

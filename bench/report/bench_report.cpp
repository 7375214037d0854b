// Renders a grouped client report of many rows to PDF, RTF and text and
// prints pages per second and the peak memory of the process.
//   bench_report [rows] [output folder]

#include "Layouts.h"

#include "platform/report/PainterOutput.h"
#include "platform/report/RtfWriter.h"
#include "platform/report/TextWriter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <sys/resource.h>

namespace {

long peakKb()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

long currentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Counts pages and keeps the biggest resident size seen while they come.
class Watch : public report::PageSink {
public:
    explicit Watch(report::PageSink& inner) : inner_(inner) {}
    void begin(int n) override { inner_.begin(n); }
    void addPage(const report::Page& p) override
    {
        inner_.addPage(p);
        ++pages;
        if (pages % 10 == 1) maxRss = std::max(maxRss, currentKb());
    }
    void end() override
    {
        maxRss = std::max(maxRss, currentKb());
        inner_.end();
    }
    int pages = 0;
    long maxRss = 0;

private:
    report::PageSink& inner_;
};

template <class Sink> void measure(const char* what, const report::Report& r, Sink& sink, const QString& path, long baseline)
{
    Watch w(sink);
    QElapsedTimer t;
    t.start();
    r.run(w);
    const double secs = t.nsecsElapsed() / 1e9;
    std::printf("report_%s: %.0f pages/s  (%d pages in %.2f s, file %.1f MB, resident during run %ld KB, +%ld KB over "
                "the data, peak %ld KB)  target a few seconds, memory flat in the row count\n",
                what, w.pages / secs, w.pages, secs, QFileInfo(path).size() / 1048576.0, w.maxRss, w.maxRss - baseline,
                peakKb());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    QTemporaryDir tmp;
    const QString dir = argc > 2 ? QString::fromLocal8Bit(argv[2]) : tmp.path();

    layouts::InformeData data(rows);
    report::Report r = layouts::informe();
    data.bind(r);
    const long baseline = currentKb();
    std::printf("report: %d rows, 3 group levels, memo detail; resident with the data loaded %ld KB\n", rows, baseline);

    const QString pdf = dir + QStringLiteral("/informe.pdf");
    report::PdfSink pdfSink(pdf);
    measure("pdf", r, pdfSink, pdf, baseline);
    const QString rtf = dir + QStringLiteral("/informe.rtf");
    report::RtfSink rtfSink(rtf);
    measure("rtf", r, rtfSink, rtf, baseline);
    const QString txt = dir + QStringLiteral("/informe.txt");
    report::TextSink txtSink(txt);
    measure("text", r, txtSink, txt, baseline);
    report::PageCounter counter;
    measure("page_count", r, counter, QString(), baseline);
    return 0;
}

// Dataset layer against the raw cursor: open + FetchAll of the entry join,
// and the first page of a very large result through the grid model.
//   bench_data [--entries 100000] [--grid-rows 1000000] [--runs 3]
//   bench_data --database PATH [--runs 3]     on an existing database
// Without --database it generates its own (growing it to --grid-rows for
// the grid figure).
#include "common/BenchData.h"

#include "db/Schema.h"
#include "platform/data/DataSource.h"
#include "platform/data/GridModel.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/firebird/Attachment.h"
#include "platform/firebird/Statement.h"
#include "platform/firebird/Transaction.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QTemporaryDir>
#include <cstdio>
#include <exception>

namespace {

const QStringList kJoin = {
    "Select Lan.*, Emi.Emi_Nome, Emi.Emi_Path, Prg.Prg_Nome, Fun.Fun_Nome",
    "from TB_Lancamento Lan, TB_Emissoras Emi, TB_Programas Prg, TB_Funcionarios Fun",
    "Where Lan.Emi_Codigo = Emi.Emi_Codigo and Lan.Prg_Codigo = Prg.Prg_Codigo and Lan.Fun_Codigo = Fun.Fun_Codigo"};

// The join, limited to the first codes when limit > 0.
QStringList join(int limit) {
    QStringList l = kJoin;
    if (limit > 0) l << QStringLiteral("and Lan.Lan_Codigo <= %1").arg(limit);
    return l;
}

double rawFetch(fb::Transaction& tra, const QStringList& lines, qint64& rows, int limit = -1) {
    QElapsedTimer t;
    t.start();
    fb::Statement st(tra, lines.join("\r\n"));
    st.open();
    rows = 0;
    while ((limit < 0 || rows < limit) && st.fetch()) ++rows;
    if (st.isOpen()) st.close();
    return double(t.nsecsElapsed()) / 1e6;
}

double layerFetch(fb::Transaction& tra, const QStringList& lines, qint64& rows, qint64* growth = nullptr) {
    const qint64 before = benchdata::residentBytes();
    QElapsedTimer t;
    t.start();
    dataset::Query q;
    q.SetTransaction(&tra);
    for (const QString& l : lines) q.SQL.Add(l);
    q.Open();
    q.FetchAll();
    rows = q.BufferedCount();
    const double ms = double(t.nsecsElapsed()) / 1e6;
    if (growth) *growth = benchdata::residentBytes() - before;
    return ms;
}

struct FirstPage {
    double ms = 0;
    int rowsRead = 0;
    qint64 growth = 0;
};

// Opens the statement under a grid of 50 visible rows and waits until they
// are there and painted.
FirstPage gridFirstPage(QApplication& app, fb::Transaction& tra, const QStringList& lines) {
    dataset::Query q;
    q.SetTransaction(&tra);
    for (const QString& l : lines) q.SQL.Add(l);
    dataset::DataSource src;
    src.SetDataSet(&q);
    dataset::DBGrid grid;
    grid.SetDataSource(&src);
    grid.SetRowSelect(true);
    grid.resize(900, 50 * grid.verticalHeader()->defaultSectionSize() + 40);
    grid.show();
    app.processEvents();
    FirstPage r;
    const qint64 before = benchdata::residentBytes();
    QElapsedTimer t;
    t.start();
    q.Open();
    QElapsedTimer limit;
    limit.start();
    while (grid.Model()->rowCount() < 50 && grid.Model()->canFetchMore(QModelIndex()) && limit.elapsed() < 10000)
        app.processEvents(QEventLoop::AllEvents, 5);
    grid.repaint();
    r.ms = double(t.nsecsElapsed()) / 1e6;
    r.growth = benchdata::residentBytes() - before;
    r.rowsRead = q.BufferedCount();
    return r;
}

int entryCount(fb::Transaction& tra) {
    fb::Statement st(tra, "select count(*) from TB_LANCAMENTO");
    st.open();
    const int n = st.fetch() ? st.value(0).toInt() : 0;
    st.close();
    return n;
}

void fetchFigure(const char* name, fb::Transaction& tra, int limit, int runs) {
    const QStringList lines = join(limit);
    qint64 rawRows = 0, layerRows = 0, growth = 0;
    layerFetch(tra, lines, layerRows, &growth);  // warms the page cache; memory of one full buffer
    double raw = 1e300, layer = 1e300;
    for (int r = 0; r < runs; ++r) {
        raw = std::min(raw, rawFetch(tra, lines, rawRows));
        layer = std::min(layer, layerFetch(tra, lines, layerRows));
    }
    benchdata::figure(name, layer / raw,
                      QStringLiteral("open + FetchAll %1 ms, raw cursor %2 ms, %3 rows (raw %4), resident +%5 MB while buffered, process peak %6 MB")
                          .arg(layer, 0, 'f', 1)
                          .arg(raw, 0, 'f', 1)
                          .arg(layerRows)
                          .arg(rawRows)
                          .arg(growth / 1048576.0, 0, 'f', 0)
                          .arg(benchdata::peakResidentBytes() / 1048576.0, 0, 'f', 0),
                      "<= 1.5");
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = app.arguments();
    benchdata::Sizes sizes = benchdata::parseSizes(args);
    const QString database = benchdata::argText(args, "--database");
    const int gridRows = benchdata::argInt(args, "--grid-rows", 1000000);
    const int runs = std::max(1, benchdata::argInt(args, "--runs", 3));

    try {
        QTemporaryDir dir;
        QString path = database;
        if (path.isEmpty()) {
            path = dir.filePath("bench.fdb");
            db::criarBanco(path);
        }
        fb::Attachment att = fb::Attachment::connect(path, db::kUsuarioBanco, db::kSenhaBanco);
        QElapsedTimer gen;
        if (database.isEmpty()) {
            gen.start();
            benchdata::generate(att, sizes);
            std::printf("generated %d entries in %.1f s\n", sizes.entries, gen.elapsed() / 1000.0);
        }

        fb::Transaction tra(att);
        tra.start();
        int entries = entryCount(tra);
        // The 100 000-row join, and the whole table when it is bigger.
        const int limit = entries > 100000 ? 100000 : 0;
        fetchFigure("fetchall_join_100k", tra, limit, runs);
        if (limit) fetchFigure("fetchall_join_all", tra, 0, runs);

        if (database.isEmpty() && gridRows > entries) {
            gen.restart();
            benchdata::addEntries(att, sizes, entries + 1, gridRows - entries);
            tra.commitRetaining();
            entries = entryCount(tra);
            std::printf("grew to %d entries in %.1f s\n", entries, gen.elapsed() / 1000.0);
        }

        // The first page through the dataset alone: open and one grid batch.
        qint64 rows = 0;
        const int batch = dataset::DataSetModel(nullptr).FetchBatch;
        const double rawPage = benchdata::best(runs, [&] { return rawFetch(tra, kJoin, rows, batch + 1); });
        const double layerPage = benchdata::best(runs, [&] {
            QElapsedTimer t;
            t.start();
            dataset::Query q;
            q.SetTransaction(&tra);
            for (const QString& l : kJoin) q.SQL.Add(l);
            q.Open();
            q.FetchMore(batch);
            return double(t.nsecsElapsed()) / 1e6;
        });
        benchdata::figure("dataset_first_page", layerPage / rawPage,
                          QStringLiteral("open + %1 rows of a %2-row result %3 ms, raw %4 ms")
                              .arg(batch + 1)
                              .arg(entries)
                              .arg(layerPage, 0, 'f', 2)
                              .arg(rawPage, 0, 'f', 2),
                          "<= 1.5");

        FirstPage big = gridFirstPage(app, tra, kJoin);
        for (int r = 1; r < runs; ++r) big.ms = std::min(big.ms, gridFirstPage(app, tra, kJoin).ms);
        double small = 1e300;
        for (int r = 0; r < runs; ++r) small = std::min(small, gridFirstPage(app, tra, join(1000)).ms);
        const double raw = benchdata::best(runs, [&] { return rawFetch(tra, kJoin, rows, big.rowsRead); });
        benchdata::figure("grid_first_page", big.ms / raw,
                          QStringLiteral("grid painted with 50 rows of a %1-row result %2 ms, %3 rows read, +%4 MB "
                                         "resident; raw first %5 rows %6 ms; same grid on a 1000-row result %7 ms")
                              .arg(entries)
                              .arg(big.ms, 0, 'f', 1)
                              .arg(big.rowsRead)
                              .arg(big.growth / 1048576.0, 0, 'f', 1)
                              .arg(rows)
                              .arg(raw, 0, 'f', 1)
                              .arg(small, 0, 'f', 1),
                          "time independent of size, < 50 MB");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_data: %s\n", e.what());
        return 1;
    }
    return 0;
}

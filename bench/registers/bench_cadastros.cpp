// Opening every register screen on tables of 100 000 rows until its grid
// shows its first rows, against the raw fetch of the first page of the
// screen's own statement.
//   bench_cadastros [--database PATH] [--rows 100000] [--runs 3] [--seed N]
//                   [--only NAME] [--copy PATH]
// The rows are added to a copy of the database (of a fresh one without
// --database); the copy goes at the end unless --copy names where to keep
// it, and an existing file there is used as it is (filled up to --rows).
#include "support/TempDatabase.h"

#include "common/BenchData.h"
#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/Ambiente.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "db/Schema.h"
#include "platform/data/GridModel.h"
#include "platform/data/Query.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/firebird/Statement.h"
#include "screens/registers/U_Clientes.h"
#include "screens/registers/U_Emissoras.h"
#include "screens/registers/U_FormaPagto.h"
#include "screens/registers/U_Funcionarios.h"
#include "screens/registers/U_Midias.h"
#include "screens/registers/U_Prazos.h"
#include "screens/registers/U_Programas.h"
#include "screens/registers/U_Vendedores.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

double rawFirstRows(fb::Transaction& tra, const QString& sql, int rows) {
    QElapsedTimer t;
    t.start();
    fb::Statement st(tra, sql);
    st.open();
    for (int i = 0; i < rows && st.fetch(); ++i) {
    }
    if (st.isOpen()) st.close();
    return t.nsecsElapsed() / 1e6;
}

int inteiro(fb::Transaction& tra, const QString& sql) {
    fb::Statement st(tra, sql);
    st.open();
    const int v = st.fetch() && !st.value(0).isNull() ? st.value(0).toInt() : 0;
    if (st.isOpen()) st.close();
    return v;
}

struct Tela {
    const char* nome;
    const char* tabela;
    // Creates the screen and gives its list grid.
    std::function<std::unique_ptr<TFrmBaseFilha>(dataset::DBGrid*&)> criar;
};

template <class T, class G>
std::function<std::unique_ptr<TFrmBaseFilha>(dataset::DBGrid*&)> tela(G grade) {
    return [grade](dataset::DBGrid*& g) {
        auto f = std::make_unique<T>();
        g = grade(*f);
        return std::unique_ptr<TFrmBaseFilha>(std::move(f));
    };
}

struct Abertura {
    double ms = 0;
    int lidas = 0;      // rows read by the main dataset
    int mostradas = 0;  // rows the grid holds
    qint64 crescimento = 0;
    QString sql;
};

// From the screen's creation until its grid has the rows of its first page
// and is painted.
Abertura abrir(const Tela& t) {
    Abertura a;
    const qint64 antes = benchdata::residentBytes();
    QElapsedTimer relogio;
    relogio.start();
    dataset::DBGrid* grade = nullptr;
    std::unique_ptr<TFrmBaseFilha> f = t.criar(grade);
    f->show();
    const int visiveis = std::max(1, grade->viewport()->height() / grade->verticalHeader()->defaultSectionSize());
    QElapsedTimer limite;
    limite.start();
    while (grade->Model()->rowCount() < visiveis && grade->Model()->canFetchMore(QModelIndex()) &&
           limite.elapsed() < 30000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
    grade->repaint();
    a.ms = relogio.nsecsElapsed() / 1e6;
    a.crescimento = benchdata::residentBytes() - antes;
    a.mostradas = grade->Model()->rowCount();
    if (auto* q = dynamic_cast<dataset::Query*>(f->DataSetPrincipal())) {
        a.lidas = q->BufferedCount();
        a.sql = q->SQL.Text();
    }
    return a;
}

const Tela kTelas[] = {
    {"open_register_emissoras", "TB_EMISSORAS", tela<TFrmEmissoras>([](TFrmEmissoras& f) { return f.DBGrid1; })},
    {"open_register_programas", "TB_PROGRAMAS", tela<TFrmProgramas>([](TFrmProgramas& f) { return f.DBGrid1; })},
    {"open_register_vendedores", "TB_VENDEDORES", tela<TFrmVendedores>([](TFrmVendedores& f) { return f.DBGrid1; })},
    {"open_register_midias", "TB_MIDIAS", tela<TFrmMidias>([](TFrmMidias& f) { return f.DBGrid1; })},
    {"open_register_formapagto", "TB_FORMAPAGAMENTO",
     tela<TFrmFormaPagto>([](TFrmFormaPagto& f) { return f.DBGrid1; })},
    {"open_register_prazos", "TB_PRAZOS", tela<TFrmPrazos>([](TFrmPrazos& f) { return f.DBGrid1; })},
    {"open_register_clientes", "TB_CLIENTES", tela<TFrmClientes>([](TFrmClientes& f) { return f.DBGrid1; })},
    {"open_register_funcionarios", "TB_FUNCIONARIOS",
     tela<TFrmFuncionarios>([](TFrmFuncionarios& f) { return f.DBGrid2; })},
};

struct Medida {
    Abertura tela;
    int total = 0;
    double raw = 0;         // first page
    double rawLidas = -1;   // as many rows as the screen read, when more than a page
};

// Opens every screen (best of runs) on the database of the executable
// folder, with a session made for it.
std::vector<Medida> medir(const QString& pasta, int runs, const QString& so) {
    std::vector<Medida> r;
    DefinirPastaExecutavel(pasta);
    if (!CriarModulosDados()) throw std::runtime_error("no connection to the database");
    DMBanco->UsuarioAtual = 0;
    fb::Transaction& tra = DMBanco->Trans_Clipping;
    const int pagina = 1 + dataset::DataSetModel(nullptr).FetchBatch;
    for (const Tela& t : kTelas) {
        Medida m;
        if (!so.isEmpty() && !QString::fromLatin1(t.nome).contains(so)) {
            r.push_back(m);
            continue;
        }
        m.total = inteiro(tra, QStringLiteral("select count(*) from %1").arg(QLatin1String(t.tabela)));
        m.tela = abrir(t);
        for (int i = 1; i < runs; ++i) {
            const Abertura a = abrir(t);
            if (a.ms < m.tela.ms) {
                m.tela.ms = a.ms;
                m.tela.lidas = a.lidas;
                m.tela.mostradas = a.mostradas;
            }
        }
        m.raw = benchdata::best(runs, [&] { return rawFirstRows(tra, m.tela.sql, pagina); });
        if (m.tela.lidas > pagina) m.rawLidas = rawFirstRows(tra, m.tela.sql, m.tela.lidas);
        r.push_back(m);
    }
    LiberarModulosDados();
    DefinirPastaExecutavel(QString());
    return r;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    Aplicacao app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = app.arguments();
    const QString database = benchdata::argText(args, "--database");
    const int linhas = std::max(1, benchdata::argInt(args, "--rows", 100000));
    const int runs = std::max(1, benchdata::argInt(args, "--runs", 3));
    const benchdata::Sizes sizes = benchdata::parseSizes(args);
    const QString so = benchdata::argText(args, "--only");

    QTemporaryDir pastaCopia;
    const QString guardar = benchdata::argText(args, "--copy");
    const QString copia = guardar.isEmpty() ? QDir(pastaCopia.path()).filePath(QStringLiteral("cadastros.fdb")) : guardar;
    msg::Roteiro roteiro;
    IniciarAplicacao();
    try {
        if (!(!guardar.isEmpty() && QFile::exists(guardar))) {
            if (database.isEmpty()) {
                db::criarBanco(copia);
            } else if (!QFile::copy(database, copia)) {
                std::fprintf(stderr, "bench_cadastros: cannot copy %s\n", qPrintable(database));
                return 1;
            }
        }
        benchdata::ExecutableFolder pasta(copia);
        // The same screens first on the tables as they are.
        const std::vector<Medida> antes = medir(pasta.path(), runs, so);

        QElapsedTimer t;
        t.start();
        benchdata::setForcedWrites(copia, false);
        int escritas = 0;
        {
            fb::Attachment att = fb::Attachment::connect(copia, db::kUsuarioBanco, db::kSenhaBanco);
            escritas = benchdata::fillRegisters(att, linhas, sizes.seed);
        }
        benchdata::setForcedWrites(copia, true);
        std::printf("register tables filled to %d rows each (%d rows added) in %.1f s\n", linhas, escritas,
                    t.elapsed() / 1000.0);

        const std::vector<Medida> depois = medir(pasta.path(), runs, so);
        const int pagina = 1 + dataset::DataSetModel(nullptr).FetchBatch;
        for (size_t i = 0; i < std::size(kTelas); ++i) {
            const Medida& m = depois[i];
            if (!m.total) continue;
            QString leitura;
            if (m.rawLidas >= 0)
                leitura = QStringLiteral("; raw reading the same %1 rows %2 ms").arg(m.tela.lidas).arg(m.rawLidas, 0, 'f', 1);
            benchdata::figure(kTelas[i].nome, m.tela.ms / m.raw,
                              QStringLiteral("%1 rows: first page shown in %2 ms (%3 rows read, %4 in the grid, "
                                             "resident +%5 MB); raw first %6 rows %7 ms%8; the screen on %9 rows %10 ms")
                                  .arg(m.total)
                                  .arg(m.tela.ms, 0, 'f', 1)
                                  .arg(m.tela.lidas)
                                  .arg(m.tela.mostradas)
                                  .arg(m.tela.crescimento / 1048576.0, 0, 'f', 1)
                                  .arg(pagina)
                                  .arg(m.raw, 0, 'f', 2)
                                  .arg(leitura)
                                  .arg(antes[i].total)
                                  .arg(antes[i].tela.ms, 0, 'f', 1),
                              "time independent of size");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_cadastros: %s\n", e.what());
        return 1;
    }
    if (!roteiro.mensagens().isEmpty()) std::printf("messages: %s\n", qPrintable(roteiro.textos().join(" | ")));
    return 0;
}

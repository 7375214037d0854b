// Entry search first rows and the register's save-to-next-entry cycle,
// each against the raw client on the same work.
//   bench_lancamentos [--entries N] [--cycles N]
//   bench_lancamentos --database PATH [--cycles N] [--runs N]
// Without --database it generates its own; with it, the entries it writes
// are removed again at the end.
#include "support/TempDatabase.h"

#include "../common/BenchData.h"
#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/Ambiente.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "platform/data/Query.h"
#include "platform/firebird/Statement.h"
#include "screens/base/U_BaseChild.h"
#include "screens/clipping/U_Lancamentos.h"
#include "screens/clipping/U_PesquisaLancamento.h"

#include <QElapsedTimer>
#include <cstdio>
#include <memory>

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

} // namespace

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    benchdata::Sizes defaults;
    defaults.entries = 1000000;
    const QStringList args = app.arguments();
    const benchdata::Sizes sizes = benchdata::parseSizes(args, defaults);
    const int cycles = benchdata::argInt(args, "--cycles", 2000);
    const int runs = std::max(1, benchdata::argInt(args, "--runs", 3));
    const QString database = benchdata::argText(args, "--database");

    std::unique_ptr<testsupport::TempDatabase> temp;
    std::unique_ptr<benchdata::ExecutableFolder> pasta;
    QElapsedTimer t;
    if (database.isEmpty()) {
        temp = std::make_unique<testsupport::TempDatabase>();
        DefinirPastaExecutavel(temp->folder());
        t.start();
        benchdata::generate(temp->attachment(), sizes);
        std::printf("generated %d entries in %.1f s\n", sizes.entries, t.elapsed() / 1000.0);
    } else {
        pasta = std::make_unique<benchdata::ExecutableFolder>(database);
        DefinirPastaExecutavel(pasta->path());
    }

    IniciarAplicacao();
    if (!CriarModulosDados()) {
        std::fprintf(stderr, "bench_lancamentos: no connection to the database\n");
        return 1;
    }
    DefinirVerificadorAcesso([](int, const QString&) { return true; });
    DMBanco->UsuarioAtual = 1;
    msg::Roteiro roteiro;
    fb::Transaction& tra = DMBanco->Trans_Clipping;
    const int entradas = inteiro(tra, "select count(*) from TB_LANCAMENTO");
    const int ultimoCodigo = inteiro(tra, "select max(LAN_CODIGO) from TB_LANCAMENTO");
    const int ultimoGerador = inteiro(tra, "select gen_id(GEN_LANCAMENTO, 0) from RDB$DATABASE");

    {
        // The opening statement, shown by the screen's show step.
        double tela = 1e300;
        QString abertura;
        int linhas = 0;
        for (int r = 0; r < runs; ++r) {
            TFrmPesquisaLancamento busca;
            abertura = busca.Q_Busca->SQL.Text();
            t.restart();
            busca.show();
            tela = std::min(tela, t.nsecsElapsed() / 1e6);
            linhas = busca.Q_Busca->BufferedCount();
            busca.close();
        }
        const double raw = benchdata::best(runs, [&] { return rawFirstRows(tra, abertura, linhas); });
        benchdata::figure("search_opening_50_newest", tela / raw,
                          QStringLiteral("screen shows the 50 newest of %1 entries in %2 ms (%3 rows read), raw %4 ms")
                              .arg(entradas)
                              .arg(tela, 0, 'f', 2)
                              .arg(linhas)
                              .arg(raw, 0, 'f', 2),
                          "time independent of size");

        // Built searches over every entry: by subject (the entries' order
        // index drives the join) and by station (the stations drive it).
        struct Busca { const char* nome; int opcao; const char* como; };
        const Busca buscas[] = {{"search_subject_all_rows", 0, "subject"}, {"search_station_all_rows", 1, "station"}};
        for (const Busca& b : buscas) {
            TFrmPesquisaLancamento busca;
            busca.show();
            busca.RGLocalizar->SetItemIndex(b.opcao);  // empty text: every row
            double telaBusca = 1e300;
            for (int r = 0; r < runs; ++r) {
                t.restart();
                busca.Pesquisar();
                telaBusca = std::min(telaBusca, t.nsecsElapsed() / 1e6);
            }
            linhas = busca.Q_Busca->BufferedCount();
            const QString sql = busca.Q_Busca->SQL.Text();
            const double rawBusca = benchdata::best(runs, [&] { return rawFirstRows(tra, sql, linhas); });
            benchdata::figure(b.nome, telaBusca / rawBusca,
                              QStringLiteral("search by %1 over all %2 entries, first rows on screen %3 ms (%4 rows "
                                             "read), raw %5 ms")
                                  .arg(QLatin1String(b.como))
                                  .arg(entradas)
                                  .arg(telaBusca, 0, 'f', 2)
                                  .arg(linhas)
                                  .arg(rawBusca, 0, 'f', 2),
                              "time independent of size");
            busca.close();
        }
    }

    {
        TFrmLancamentos tela;
        tela.show();
        dataset::Query* q = DM->Q_Lancamento;
        const int programa = inteiro(tra, "select first 1 PRG_CODIGO from TB_PROGRAMAS where EMI_CODIGO = 1");
        q->FieldByName("LAN_DATA")->SetAsString("05/03/2008");
        q->FieldByName("LAN_HORA")->SetAsString("14:30:00");
        q->FieldByName("EMI_CODIGO")->SetAsInteger(1);
        q->FieldByName("PRG_CODIGO")->SetAsInteger(programa);
        q->FieldByName("LAN_ASSUNTO")->SetAsString(QString("Assunto 0"));
        tela.Pressionar(tela.SBSalvar);  // the first save carries the values from here on
        const qint64 antes = benchdata::residentBytes();
        fb::Statement ins(tra, "insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, LAN_HORA, EMI_CODIGO, PRG_CODIGO, "
                               "FUN_CODIGO, LAN_ASSUNTO) values (gen_id(GEN_LANCAMENTO, 1), :D, :H, 1, :P, 1, :A)");
        // Screen and raw in alternating blocks of 100, so that a change of the
        // machine's load or of the disk's commit latency falls on both.
        double telaCiclo = 0, raw = 0;
        for (int feitos = 0; feitos < cycles;) {
            const int bloco = std::min(100, cycles - feitos);
            t.restart();
            for (int i = feitos; i < feitos + bloco; ++i) {
                q->FieldByName("LAN_ASSUNTO")->SetAsString(QString("Assunto %1").arg(i));
                tela.Pressionar(tela.SBSalvar);
            }
            telaCiclo += t.nsecsElapsed() / 1e6;
            t.restart();
            for (int i = feitos; i < feitos + bloco; ++i) {
                ins.setParam("D", QDateTime(QDate(2008, 3, 5), QTime(0, 0)));
                ins.setParam("H", QString("14:30:00"));
                ins.setParam("P", programa);
                ins.setParam("A", QString("Assunto %1").arg(i));
                ins.execute();
                tra.commitRetaining();
            }
            raw += t.nsecsElapsed() / 1e6;
            feitos += bloco;
        }
        const qint64 crescimento = benchdata::residentBytes() - antes;
        benchdata::figure("entry_save_next_cycle", telaCiclo / raw,
                          QStringLiteral("%1 entries saved through the register %2 ms (%3 ms each, resident +%4 MB), "
                                         "raw inserts with retaining commits %5 ms (%6 ms each)")
                              .arg(cycles)
                              .arg(telaCiclo, 0, 'f', 1)
                              .arg(telaCiclo / cycles, 0, 'f', 3)
                              .arg(crescimento / 1048576.0, 0, 'f', 1)
                              .arg(raw, 0, 'f', 1)
                              .arg(raw / cycles, 0, 'f', 3),
                          "<= 2");
        q->Cancel();
    }
    if (!roteiro.mensagens().isEmpty())
        std::printf("messages: %s\n", qPrintable(roteiro.textos().join(" | ")));
    if (!database.isEmpty()) {
        // Leaves the shared database as it was for the other benchmarks.
        fb::Statement del(tra, QStringLiteral("delete from TB_LANCAMENTO where LAN_CODIGO > %1").arg(ultimoCodigo));
        del.execute();
        tra.commitRetaining();
        DMBanco->DB_Clipping.executeImmediate(QStringLiteral("set generator GEN_LANCAMENTO to %1").arg(ultimoGerador));
    }
    DefinirVerificadorAcesso(nullptr);
    LiberarModulosDados();
    return 0;
}

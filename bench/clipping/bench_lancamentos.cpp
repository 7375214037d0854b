// Entry search first rows and the register's save-to-next-entry cycle,
// each against the raw client on the same work.
//   bench_lancamentos [--entries N] [--cycles N]
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

namespace {

double rawFirstRows(fb::Transaction& tra, const QString& sql, int rows) {
    QElapsedTimer t;
    t.start();
    fb::Statement st(tra, sql);
    st.open();
    for (int i = 0; i < rows && st.fetch(); ++i) {
    }
    return t.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    benchdata::Sizes defaults;
    defaults.entries = 1000000;
    const QStringList args = app.arguments();
    const benchdata::Sizes sizes = benchdata::parseSizes(args, defaults);
    int cycles = 2000;
    if (int i = int(args.indexOf("--cycles")); i >= 0 && i + 1 < args.size())
        cycles = args[i + 1].toInt();

    testsupport::TempDatabase db;
    DefinirPastaExecutavel(db.folder());
    QElapsedTimer t;
    t.start();
    benchdata::generate(db.attachment(), sizes);
    std::printf("generated %d entries in %.1f s\n", sizes.entries, t.elapsed() / 1000.0);

    IniciarAplicacao();
    CriarModulosDados();
    DefinirVerificadorAcesso([](int, const QString&) { return true; });
    DMBanco->UsuarioAtual = 1;
    msg::Roteiro roteiro;
    fb::Transaction& tra = DMBanco->Trans_Clipping;

    {
        TFrmPesquisaLancamento busca;
        const QString abertura = busca.Q_Busca->SQL.Text();
        t.restart();
        busca.show();
        const double telaAbertura = t.nsecsElapsed() / 1e6;
        std::printf("opening statement (50 newest): screen %.2f ms, raw %.2f ms\n", telaAbertura,
                    rawFirstRows(tra, abertura, 50));

        busca.RGLocalizar->SetItemIndex(1);  // every station: all rows
        t.restart();
        busca.Pesquisar();
        const double telaBusca = t.nsecsElapsed() / 1e6;
        std::printf("built search over all rows, first rows: screen %.2f ms (%d buffered), raw %.2f ms\n", telaBusca,
                    busca.Q_Busca->BufferedCount(), rawFirstRows(tra, busca.Q_Busca->SQL.Text(), 100));
        busca.close();
    }

    {
        TFrmLancamentos tela;
        tela.show();
        dataset::Query* q = DM->Q_Lancamento;
        auto preencher = [&](int i) {
            q->FieldByName("LAN_DATA")->SetAsString("05/03/2008");
            q->FieldByName("LAN_HORA")->SetAsString("14:30:00");
            q->FieldByName("EMI_CODIGO")->SetAsInteger(1);
            q->FieldByName("PRG_CODIGO")->SetAsInteger(
                db.scalar("select first 1 PRG_CODIGO from TB_PROGRAMAS where EMI_CODIGO = 1").toInt());
            q->FieldByName("LAN_ASSUNTO")->SetAsString(QString("Assunto %1").arg(i));
        };
        preencher(0);
        const int programa = q->FieldByName("PRG_CODIGO")->AsInteger();
        tela.Pressionar(tela.SBSalvar);  // the first save carries the values from here on
        t.restart();
        for (int i = 0; i < cycles; ++i) {
            q->FieldByName("LAN_ASSUNTO")->SetAsString(QString("Assunto %1").arg(i));
            tela.Pressionar(tela.SBSalvar);
        }
        const double telaCiclo = t.nsecsElapsed() / 1e6;

        t.restart();
        fb::Statement ins(tra, "insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, LAN_HORA, EMI_CODIGO, PRG_CODIGO, "
                               "FUN_CODIGO, LAN_ASSUNTO) values (gen_id(GEN_LANCAMENTO, 1), :D, :H, 1, :P, 1, :A)");
        for (int i = 0; i < cycles; ++i) {
            ins.setParam("D", QDateTime(QDate(2008, 3, 5), QTime(0, 0)));
            ins.setParam("H", QString("14:30:00"));
            ins.setParam("P", programa);
            ins.setParam("A", QString("Assunto %1").arg(i));
            ins.execute();
            tra.commitRetaining();
        }
        const double raw = t.nsecsElapsed() / 1e6;
        std::printf("save -> next entry, %d entries: screen %.1f ms (%.3f ms each), raw inserts %.1f ms; ratio %.2f\n",
                    cycles, telaCiclo, telaCiclo / cycles, raw, telaCiclo / raw);
        q->Cancel();
    }
    if (!roteiro.mensagens().isEmpty())
        std::printf("messages: %s\n", qPrintable(roteiro.textos().join(" | ")));
    DefinirVerificadorAcesso(nullptr);
    LiberarModulosDados();
    return 0;
}

// The main window's AplicarDireitos for a user with a rights row on every
// menu item and tool bar button (one query per item), against the same
// queries run straight through fb::Statement on the same connection.
//   bench_direitos [--database PATH] [--runs N] [--repeat N]
// Without --database it works on a fresh empty database. The user and his
// rows are removed again at the end.
#include "support/TempDatabase.h"

#include "common/BenchData.h"
#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "common/Ambiente.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "platform/firebird/Statement.h"
#include "screens/base/U_Principal.h"
#include "screens/maintenance/U_Backup.h"

#include <QAction>
#include <QElapsedTimer>
#include <QToolButton>
#include <cstdio>
#include <memory>

namespace {

int inteiro(fb::Transaction& tra, const QString& sql) {
    fb::Statement st(tra, sql);
    st.open();
    const int v = st.fetch() && !st.value(0).isNull() ? st.value(0).toInt() : 0;
    if (st.isOpen()) st.close();
    return v;
}

void executar(fb::Transaction& tra, const QString& sql) {
    fb::Statement st(tra, sql);
    st.execute();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    Aplicacao app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QStringList args = app.arguments();
    const QString database = benchdata::argText(args, "--database");
    const int runs = std::max(1, benchdata::argInt(args, "--runs", 5));
    const int repeat = std::max(1, benchdata::argInt(args, "--repeat", 50));

    std::unique_ptr<testsupport::TempDatabase> temp;
    std::unique_ptr<benchdata::ExecutableFolder> pasta;
    if (database.isEmpty()) {
        temp = std::make_unique<testsupport::TempDatabase>();
        DefinirPastaExecutavel(temp->folder());
    } else {
        pasta = std::make_unique<benchdata::ExecutableFolder>(database);
        DefinirPastaExecutavel(pasta->path());
    }
    IniciarAplicacao();
    if (!CriarModulosDados()) {
        std::fprintf(stderr, "bench_direitos: no connection to the database\n");
        return 1;
    }
    msg::Roteiro roteiro;
    TFrmPrincipal::Encerrar = [] {};
    TFrmBackup::Encerrar = [] {};
    int falhas = 0;
    {
        auto janela = std::make_unique<TFrmPrincipal>();
        // The codes in the order AplicarDireitos checks them.
        QList<int> telas;
        for (QAction* a : janela->ItensMenu())
            if (TFrmPrincipal::Tag(a) != 0) telas << TFrmPrincipal::Tag(a);
        for (QToolButton* b : janela->BotoesDireitos()) telas << TFrmPrincipal::Tag(b);

        fb::Transaction& tra = DMBanco->Trans_Clipping;
        const int usuario = inteiro(tra, "select max(FUN_CODIGO) from TB_FUNCIONARIOS") + 1;
        executar(tra, QStringLiteral("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO, FUN_LOGIN) values "
                                     "(%1, 'Usuário com todos os direitos', 0, 'todos')")
                          .arg(usuario));
        QList<int> distintas;
        for (int tela : telas)
            if (!distintas.contains(tela)) distintas << tela;
        for (int tela : distintas)
            executar(tra, QStringLiteral("insert into TB_DIREITOS (DIR_CODIGO, USU_CODIGO, TEL_MODULO, TEL_CODIGO, "
                                         "DIR_ACESSO, DIR_INCLUIR, DIR_ALTERAR, DIR_EXCLUIR, DIR_RELATORIO) values "
                                         "(gen_id(GEN_DIREITOS, 1), %1, 0, %2, 1, 1, 1, 1, 1)")
                              .arg(usuario)
                              .arg(tela));
        tra.commitRetaining();
        DMBanco->UsuarioAtual = usuario;
        DMBanco->PerfilAtual = 0;
        const int direitos = inteiro(tra, "select count(*) from TB_DIREITOS");

        auto layer = [&] {
            QElapsedTimer t;
            t.start();
            for (int i = 0; i < repeat; ++i) janela->AplicarDireitos();
            return t.nsecsElapsed() / 1e6 / repeat;
        };
        // The statement VerificarAcesso prepares for each item.
        const QString sql = QStringLiteral("Select DIR_ACESSO from TB_Direitos\r\n"
                                           "Where Usu_Codigo = :Usuario and Tel_Modulo = :Modulo and Tel_Codigo = :Tela");
        int permitidos = 0;
        auto raw = [&] {
            QElapsedTimer t;
            t.start();
            for (int i = 0; i < repeat; ++i) {
                permitidos = 0;
                for (int tela : telas) {
                    fb::Statement st(tra, sql);
                    st.setParam(QStringLiteral("Usuario"), usuario);
                    st.setParam(QStringLiteral("Modulo"), 0);
                    st.setParam(QStringLiteral("Tela"), tela);
                    st.open();
                    if (st.fetch()) {
                        permitidos += st.value(0).toInt() == 1;
                        st.close();
                    }
                }
            }
            return t.nsecsElapsed() / 1e6 / repeat;
        };
        layer();  // prepares the engine's caches
        const double tLayer = benchdata::best(runs, layer);
        const double tRaw = benchdata::best(runs, raw);

        // Everything is allowed: every item stays visible and every button enabled.
        for (QAction* a : janela->ItensMenu()) falhas += !a->isVisible();
        for (QToolButton* b : janela->BotoesDireitos()) falhas += !b->isEnabled();
        if (permitidos != telas.size()) ++falhas;
        benchdata::figure("aplicar_direitos", tLayer / tRaw,
                          QStringLiteral("%1 checks (one query each) %2 ms per call, raw %3 ms; %4 rights rows in the "
                                         "table, resident %5 MB")
                              .arg(telas.size())
                              .arg(tLayer, 0, 'f', 2)
                              .arg(tRaw, 0, 'f', 2)
                              .arg(direitos)
                              .arg(benchdata::residentBytes() / 1048576.0, 0, 'f', 0));

        executar(tra, QStringLiteral("delete from TB_DIREITOS where USU_CODIGO = %1").arg(usuario));
        executar(tra, QStringLiteral("delete from TB_FUNCIONARIOS where FUN_CODIGO = %1").arg(usuario));
        tra.commitRetaining();
    }
    if (falhas) std::printf("aplicar_direitos: %d items were not allowed as they should be\n", falhas);
    if (!roteiro.mensagens().isEmpty()) std::printf("messages: %s\n", qPrintable(roteiro.textos().join(" | ")));
    LiberarModulosDados();
    return falhas ? 1 : 0;
}

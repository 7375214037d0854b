#include "ServerDatabase.h"

#include "app/Inicializacao.h"
#include "app/U_DMBanco.h"
#include "app/U_Dm.h"
#include "common/Ambiente.h"
#include "common/Aplicacao.h"
#include "common/Mensagens.h"
#include "common/U_Funcoes.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/firebird/Statement.h"
#include "platform/firebird/Transaction.h"
#include "security/UClassSeguranca.h"

#include <QFile>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using testsupport::ServerDatabase;

namespace {

int valorInteiro(fb::Transaction& t, const QString& sql) {
    fb::Statement st(t, sql);
    st.open();
    return st.fetch() ? st.value(0).toInt() : -1;
}

QString valorTexto(fb::Transaction& t, const QString& sql) {
    fb::Statement st(t, sql);
    st.open();
    return st.fetch() ? st.value(0).toString() : QString();
}

// The clients as a register screen keeps them: cached updates written by
// update statements, the key drawn from the generator when a row begins.
struct Clientes {
    dataset::UpdateSql up;
    dataset::Query q;
    explicit Clientes(fb::Transaction& t) {
        up.InsertSQL.Add("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (:CLI_CODIGO, :CLI_NOME)");
        up.ModifySQL.Add("update TB_CLIENTES set CLI_NOME = :CLI_NOME where CLI_CODIGO = :OLD_CLI_CODIGO");
        up.DeleteSQL.Add("delete from TB_CLIENTES where CLI_CODIGO = :OLD_CLI_CODIGO");
        q.SetTransaction(&t);
        q.SQL.Add("select CLI_CODIGO, CLI_NOME from TB_CLIENTES");
        q.SQL.Add("order by CLI_CODIGO");
        q.CachedUpdates = true;
        q.UpdateObject = &up;
        q.SetGeneratorField("CLI_CODIGO", "GEN_CLIENTES", 1);
    }
};

// The rights rows of one owner, written the way the rights record writes them.
struct Direitos {
    dataset::UpdateSql up;
    dataset::Query q;
    explicit Direitos(fb::Transaction& t) {
        up.InsertSQL.Add("insert into TB_DIREITOS (DIR_CODIGO, USU_CODIGO, TEL_MODULO, TEL_CODIGO, DIR_ACESSO,");
        up.InsertSQL.Add("  DIR_INCLUIR, DIR_ALTERAR, DIR_EXCLUIR, DIR_RELATORIO)");
        up.InsertSQL.Add("values (:DIR_CODIGO, :USU_CODIGO, :TEL_MODULO, :TEL_CODIGO, :DIR_ACESSO,");
        up.InsertSQL.Add("  :DIR_INCLUIR, :DIR_ALTERAR, :DIR_EXCLUIR, :DIR_RELATORIO)");
        up.ModifySQL.Add("update TB_DIREITOS set DIR_INCLUIR = :DIR_INCLUIR where DIR_CODIGO = :OLD_DIR_CODIGO");
        q.SetTransaction(&t);
        q.SQL.Add("select * from TB_DIREITOS where USU_CODIGO = 5");
        q.CachedUpdates = true;
        q.UpdateObject = &up;
        q.SetGeneratorField("DIR_CODIGO", "GEN_DIREITOS", 1);
    }
};

} // namespace

// Workstation B is the application's own session (DMBanco connected through
// BaseClipping.ini, the error handler installed); workstation A is a second
// connection with its own transaction of the same settings.
class TstServidorTelas : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void hostDaLocalizacao();
    void chavesDoGeradorNaoColidem();
    void numeroDoPedidoPodeRepetir();
    void conflitoDeBloqueioFicaPendenteEReaplica();
    void reaberturaVeAlteracaoConfirmada();
    void direitosGravadosEmAValemEmB();
    void lembretesDeANaoChegamAB();

private:
    std::unique_ptr<ServerDatabase> srv_;
    std::unique_ptr<QTemporaryDir> pasta_;
    std::unique_ptr<fb::Attachment> a_;
    std::unique_ptr<fb::Transaction> ta_;
};

void TstServidorTelas::init() {
    srv_ = std::make_unique<ServerDatabase>();
    pasta_ = std::make_unique<QTemporaryDir>();
    QFile ini(pasta_->filePath("BaseClipping.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write((srv_->location() + "\r\n").toLocal8Bit());
    ini.close();
    DefinirPastaExecutavel(pasta_->path());
    IniciarAplicacao();
    {
        msg::Roteiro semMensagens;
        QVERIFY(CriarModulosDados());
        QVERIFY(semMensagens.mensagens().isEmpty());
    }
    InstalarTratadorErros([] { return DMBanco ? DMBanco->UsuarioAtual : 0; });
    a_ = std::make_unique<fb::Attachment>(srv_->connect());
    ta_ = std::make_unique<fb::Transaction>(*a_);
}

void TstServidorTelas::cleanup() {
    ta_.reset();
    a_.reset();
    RemoverTratadorErros();
    LiberarModulosDados();
    DefinirPastaExecutavel(QString());
    pasta_.reset();
    srv_.reset();
}

void TstServidorTelas::hostDaLocalizacao() {
    QVERIFY(DMBanco->DB_Clipping.isConnected());
    QCOMPARE(DMBanco->HostServidor, QStringLiteral("localhost"));
}

void TstServidorTelas::chavesDoGeradorNaoColidem() {
    Clientes ca(*ta_), cb(DMBanco->Trans_Clipping);
    ca.q.Open();
    cb.q.Open();
    // Both begin their rows before either saves.
    for (int i = 0; i < 25; ++i) {
        ca.q.Append();
        cb.q.Append();
        ca.q.FieldByName("CLI_NOME")->SetAsString(QStringLiteral("A %1").arg(i));
        cb.q.FieldByName("CLI_NOME")->SetAsString(QStringLiteral("B %1").arg(i));
        ca.q.Post();
        cb.q.Post();
        ca.q.ApplyUpdates();
        cb.q.ApplyUpdates();
        ta_->commitRetaining();
        DMBanco->Trans_Clipping.commitRetaining();
    }
    QCOMPARE(valorInteiro(*ta_, "select count(*) from TB_CLIENTES"), 50);
    QCOMPARE(valorInteiro(*ta_, "select count(distinct CLI_CODIGO) from TB_CLIENTES"), 50);
    QCOMPARE(valorInteiro(*ta_, "select min(CLI_CODIGO) from TB_CLIENTES"), 1);
    QCOMPARE(valorInteiro(*ta_, "select max(CLI_CODIGO) from TB_CLIENTES"), 50);
}

// The order number is the highest one plus 1: two workstations that begin
// an order at once get the same number, and the database accepts both.
void TstServidorTelas::numeroDoPedidoPodeRepetir() {
    const int deB = DMBanco->ProximoNumeroPedido();
    const int deA = valorInteiro(*ta_, "Select coalesce(max(ped_numero), 0) + 1 from tb_pedido");
    QCOMPARE(deB, 1);
    QCOMPARE(deA, deB);
    fb::Statement insA(*ta_, "insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO) values (gen_id(GEN_PEDIDO, 1), 1)");
    insA.execute();
    fb::Statement insB(DMBanco->Trans_Clipping,
                       QStringLiteral("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO) values (%1, %2)")
                           .arg(DMBanco->ProximoCodigo("GEN_PEDIDO"))
                           .arg(deB));
    insB.execute();
    ta_->commitRetaining();
    DMBanco->Trans_Clipping.commitRetaining();
    QCOMPARE(valorInteiro(*ta_, "select count(*) from TB_PEDIDO where PED_NUMERO = 1"), 2);
    QCOMPARE(valorInteiro(*ta_, "select count(distinct PED_CODIGO) from TB_PEDIDO"), 2);
    QCOMPARE(DMBanco->ProximoNumeroPedido(), 2);
}

void TstServidorTelas::conflitoDeBloqueioFicaPendenteEReaplica() {
    fb::Statement(*ta_, "insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (1, 'ORIGINAL')").execute();
    ta_->commitRetaining();

    Clientes ca(*ta_), cb(DMBanco->Trans_Clipping);
    ca.q.Open();
    cb.q.Open();
    ca.q.Edit();
    ca.q.FieldByName("CLI_NOME")->SetAsString(QStringLiteral("DE A"));
    ca.q.Post();
    ca.q.ApplyUpdates();  // applied, not committed

    // B saves from a button, as a register does: post, then apply and
    // commit in the after-post rule.
    cb.q.AfterPost = [](dataset::DataSet& ds) {
        ds.ApplyUpdates();
        DMBanco->Trans_Clipping.commitRetaining();
    };
    QPushButton salvar;
    salvar.setObjectName("SBSalvar");
    connect(&salvar, &QPushButton::clicked, [&] {
        if (!cb.q.IsEditing()) cb.q.Edit();
        cb.q.FieldByName("CLI_NOME")->SetAsString(QStringLiteral("DE B"));
        cb.q.Post();
    });
    {
        msg::Roteiro roteiro;
        QMetaObject::invokeMethod(&salvar, &QPushButton::click, Qt::QueuedConnection);
        QTRY_COMPARE(roteiro.mensagens().size(), 1);  // with A still holding the row: nowait
        // The server's own text, in the generic display.
        QVERIFY2(roteiro.ultima().texto.contains("update conflicts with concurrent update"),
                 qPrintable(roteiro.ultima().texto));
        QCOMPARE(roteiro.ultima().icone, msg::Icone::Erro);
    }
    QVERIFY(QFile::exists(pasta_->filePath("Erros.log")));
    // Nothing lost: B's row still shows its change, waiting to be applied.
    QVERIFY(cb.q.UpdatesPending());
    QCOMPARE(cb.q.FieldByName("CLI_NOME")->AsString(), QStringLiteral("DE B"));

    ta_->commitRetaining();
    {
        msg::Roteiro roteiro;
        cb.q.ApplyUpdates();
        DMBanco->Trans_Clipping.commitRetaining();
        QVERIFY(roteiro.mensagens().isEmpty());
    }
    QVERIFY(!cb.q.UpdatesPending());
    QCOMPARE(valorTexto(*ta_, "select CLI_NOME from TB_CLIENTES where CLI_CODIGO = 1"), QStringLiteral("DE B"));
}

void TstServidorTelas::reaberturaVeAlteracaoConfirmada() {
    fb::Statement(*ta_, "insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (1, 'ORIGINAL')").execute();
    ta_->commitRetaining();
    Clientes ca(*ta_), cb(DMBanco->Trans_Clipping);
    cb.q.Open();
    QCOMPARE(cb.q.FieldByName("CLI_NOME")->AsString(), QStringLiteral("ORIGINAL"));
    ca.q.Open();
    ca.q.Edit();
    ca.q.FieldByName("CLI_NOME")->SetAsString(QStringLiteral("NOVO"));
    ca.q.Post();
    ca.q.ApplyUpdates();
    cb.q.Close();
    cb.q.Open();
    QCOMPARE(cb.q.FieldByName("CLI_NOME")->AsString(), QStringLiteral("ORIGINAL"));  // not committed yet
    ta_->commitRetaining();
    cb.q.Close();
    cb.q.Open();
    QCOMPARE(cb.q.FieldByName("CLI_NOME")->AsString(), QStringLiteral("NOVO"));
}

void TstServidorTelas::direitosGravadosEmAValemEmB() {
    fb::Statement(*ta_, "insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO, FUN_LOGIN) values (5, 'Ana', 0, 'ana')")
        .execute();
    ta_->commitRetaining();
    auto podeIncluir = [] {
        return VerificarAcesso(DMBanco->DB_Clipping, 5, 0, 0, 1001, QStringLiteral("DIR_INCLUIR"), false);
    };
    QVERIFY(!podeIncluir());

    Direitos da(*ta_);
    da.q.Open();
    da.q.Append();
    da.q.FieldByName("USU_CODIGO")->SetAsInteger(5);
    da.q.FieldByName("TEL_MODULO")->SetAsInteger(0);
    da.q.FieldByName("TEL_CODIGO")->SetAsInteger(1001);
    for (const char* f : {"DIR_ACESSO", "DIR_INCLUIR", "DIR_ALTERAR", "DIR_EXCLUIR", "DIR_RELATORIO"})
        da.q.FieldByName(f)->SetAsInteger(1);
    da.q.Post();
    da.q.ApplyUpdates();
    QVERIFY(!podeIncluir());  // not committed on A yet
    ta_->commitRetaining();
    QVERIFY(podeIncluir());

    da.q.Edit();
    da.q.FieldByName("DIR_INCLUIR")->SetAsInteger(0);
    da.q.Post();
    da.q.ApplyUpdates();
    ta_->commitRetaining();
    QVERIFY(!podeIncluir());
}

// A's reminder, saved through A's reminder datasets with A's address, is
// due on A and neither listed nor due on B with B's address.
void TstServidorTelas::lembretesDeANaoChegamAB() {
    QString ip = QStringLiteral("10.0.0.1");
    DefinirIPLocal([&ip] { return ip; });
    struct Restaurar {
        ~Restaurar() { DefinirIPLocal({}); }
    } restaurar;
    const QDateTime agora(QDate(2008, 3, 5), QTime(14, 30), Qt::LocalTime);
    auto devidos = [&agora](TDM& dm) {
        dm.Q_Lembretes->Close();
        dm.Q_Lembretes->ParamByName("DATAEHORA")->SetAsDateTime(agora);
        dm.Q_Lembretes->ParamByName("IP")->SetAsString(ObterIPLocal());
        dm.Q_Lembretes->Open();
        return dm.Q_Lembretes->RecordCount();
    };

    TDM dmA;
    dmA.Q_CadLembretes->SetTransaction(ta_.get());
    dmA.Q_Lembretes->SetTransaction(ta_.get());
    dmA.Q_CadLembretes->Open();
    dmA.Q_CadLembretes->Append();
    dmA.Q_CadLembretes->FieldByName("LEM_MENSAGEM")->SetAsString(QStringLiteral("Só em A"));
    dmA.Q_CadLembretes->FieldByName("LEM_DATA")->SetAsString(QStringLiteral("05/03/2008"));
    dmA.Q_CadLembretes->FieldByName("LEM_HORA")->SetAsString(QStringLiteral("14:30"));
    dmA.Q_CadLembretes->FieldByName("LEM_IP")->SetAsString(ObterIPLocal());
    dmA.Q_CadLembretes->Post();  // applied and committed on A
    QCOMPARE(devidos(dmA), 1);

    ip = QStringLiteral("10.0.0.2");
    QCOMPARE(valorInteiro(DMBanco->Trans_Clipping, "select count(*) from TB_LEMBRETES"), 1);
    DM->Q_CadLembretes->Close();
    DM->Q_CadLembretes->Open();
    QVERIFY(DM->Q_CadLembretes->IsEmpty());
    QCOMPARE(devidos(*DM), 0);
}

int main(int argc, char** argv) {
    Aplicacao app(argc, argv);
    TstServidorTelas t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_servidor_telas.moc"

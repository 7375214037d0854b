#include "support/TempDatabase.h"

#include "db/Schema.h"
#include "platform/firebird/Error.h"
#include "platform/firebird/Statement.h"

#include <QTest>

using testsupport::TempDatabase;

namespace {

// Columns as the schema must define them: name, type (I integer, Vn
// varchar(n), DT dialect-1 date, D double, T text blob, B binary blob),
// NN, PK.
const QList<QPair<QString, QString>> kTables = {
    {"TB_FUNCIONARIOS", "FUN_CODIGO I NN PK, FUN_NOME V45, FUN_CPF V15, FUN_ENDERECO V45, FUN_BAIRRO V20, FUN_CEP V10, FUN_CIDADE V45, FUN_UF V2, FUN_FONE V20, FUN_CELULAR V20, FUN_EMAIL V45, FUN_CARGO V20, FUN_OBS V256, FUN_DIAANIVERSARIO I, FUN_MESANIVERSARIO I, FUN_RG V15, FUN_DESDE DT, FUN_TIPO I, FUN_LOGIN V15, FUN_SENHA V10, FUN_PERFILACESSO I"},
    {"TB_DIREITOS", "DIR_CODIGO I NN PK, TEL_CODIGO I, DIR_ACESSO I, DIR_INCLUIR I, DIR_ALTERAR I, DIR_EXCLUIR I, DIR_RELATORIO I, USU_CODIGO I NN, TEL_MODULO I"},
    {"TB_EMPRESA", "EMP_CODIGO I NN PK, EMP_NOME V45 NN, EMP_ENDERECO V45, EMP_BAIRRO V20, EMP_CIDADE V45, EMP_UF V2, EMP_CNPJ V18, EMP_INSCRICAO V15, EMP_FONE V20, EMP_FAX V20, EMP_RAZAOSOCIAL V45, EMP_EMAIL V45, EMP_WEB V45, EMP_CEP V10, EMP_PATHLOGO B, EMP_NOMECOMPLETO V90, EMP_ENDERECOCOMPLETO V80, EMP_CIDADEUF V50, EMP_EMAILWEB V100"},
    {"TB_CLIENTES", "CLI_CODIGO I NN PK, CLI_NOME V45, CLI_ENDERECO V45, CLI_BAIRRO V20, CLI_CIDADE V25, CLI_ESTADO V2, CLI_CGCCPF V18, CLI_INSCRICAO V15, CLI_FONE V20, CLI_FAX V20, CLI_RAZAOSOCIAL V45, CLI_EMAIL V45, CLI_WEB V45, CLI_PESSOA V1, CLI_CELULAR V20, CLI_CLIENTEDESDE DT, CLI_VALOR D, CLI_CONTATO V45, CLI_FONECONTATO V20, CLI_FUNCAOCONTATO V20, CLI_CEP V10, CLI_OBS T, CLI_VIGENCIACONTRATO DT, CLI_ENDERECOENTREGA V100, CLI_BAIRROENTREGA V20, CLI_CIDADEENTREGA V25, CLI_ESTADOENTREGA V2, CLI_CEPENTREGA V10, CLI_COMPLEMENTOENTREGA V100"},
    {"TB_EMISSORAS", "EMI_CODIGO I NN PK, EMI_NOME V45 NN, EMI_ENDERECO V45, EMI_BAIRRO V20, EMI_CIDADE V25, EMI_UF V2, EMI_CNPJ V18, EMI_INSCRICAO V15, EMI_FONE V20, EMI_FAX V20, EMI_RAZAOSOCIAL V45, EMI_EMAIL V45, EMI_WEB V45, EMI_CONTATO V45, EMI_FONECONTATO V20, EMI_FUNCAOCONTATO V20, EMI_CEP V10, EMI_OBS T, EMI_PATH V255"},
    {"TB_PROGRAMAS", "PRG_CODIGO I NN PK, PRG_NOME V45 NN, EMI_CODIGO I, PRG_OBS T"},
    {"TB_LANCAMENTO", "LAN_CODIGO I NN PK, LAN_DATA DT NN, EMI_CODIGO I NN, PRG_CODIGO I NN, FUN_CODIGO I, LAN_HORA V8, LAN_TEMPO V8, LAN_TIPO V1, LAN_CODLANCAMENTO V15, LAN_ASSUNTO V1024, LAN_VELOCIDADE V2, LAN_BLOCO V25, LAN_CHECKED V1"},
    {"TB_VENDEDORES", "VEN_CODIGO I NN PK, VEN_COMISSAO D, FUN_CODIGO I NN"},
    {"TB_MIDIAS", "MID_CODIGO I NN PK, MID_DESCRICAO V45 NN, MID_VALOR D"},
    {"TB_FORMAPAGAMENTO", "FPG_CODIGO I NN PK, FPG_DESCRICAO V45 NN"},
    {"TB_PRAZOS", "PRA_CODIGO I NN PK, FPG_CODIGO I NN, PRA_DESCRICAO V45 NN"},
    {"TB_PEDIDO", "PED_CODIGO I NN PK, CLI_CODIGO I, VEN_CODIGO I, MID_CODIGO I, PED_VALOR D, PED_DATAENTREGA DT, PED_HORARIO V8, FPG_CODIGO I, PRA_CODIGO I, PED_NUMERO I NN, PED_STATUS V12, PED_QUANTIDADE I, PED_PAGO I, PED_NOMESOLICITANTE V45, PED_EMAILSOLICITANTE V45, PED_FONESOLICITANTE V20"},
    {"TB_ITENSPEDIDO", "IPD_CODIGO I NN PK, PED_CODIGO I NN, LAN_CODIGO I NN"},
    {"TB_AGENDA", "AGE_CODIGO I NN PK, AGE_NOME V45 NN, AGE_TELEFONE V20, AGE_FAX V20, AGE_CELULAR V20, AGE_ENDERECO V45, AGE_CIDADE V45, AGE_UF V2, AGE_CEP V10, AGE_EMAIL V45, AGE_WEB V45, AGE_DIAANIVERSARIO I, AGE_MESANIVERSARIO I, AGE_MSN V45, AGE_SKYPE V45, AGE_OBS T, AGE_BAIRRO V20"},
    {"TB_LEMBRETES", "LEM_CODIGO I NN PK, LEM_MENSAGEM T, LEM_DATA DT, LEM_HORA V5, LEM_IP V15"},
};

QString describeColumns(TempDatabase& db, const QString& table) {
    fb::Statement st(db.transaction(),
                     "select trim(rf.rdb$field_name), f.rdb$field_type, f.rdb$field_sub_type, "
                     "f.rdb$character_length, coalesce(rf.rdb$null_flag, f.rdb$null_flag, 0), "
                     "(select count(*) from rdb$relation_constraints rc "
                     "  join rdb$index_segments s on s.rdb$index_name = rc.rdb$index_name "
                     "  where rc.rdb$relation_name = rf.rdb$relation_name "
                     "    and rc.rdb$constraint_type = 'PRIMARY KEY' and s.rdb$field_name = rf.rdb$field_name) "
                     "from rdb$relation_fields rf join rdb$fields f on f.rdb$field_name = rf.rdb$field_source "
                     "where rf.rdb$relation_name = :T order by rf.rdb$field_position");
    st.setParam("T", table);
    st.open();
    QStringList cols;
    while (st.fetch()) {
        QString type;
        switch (st.value(1).toInt()) {
        case 8: type = "I"; break;
        case 37: type = "V" + QString::number(st.value(3).toInt()); break;
        case 35: type = "DT"; break;
        case 27: type = "D"; break;
        case 261: type = st.value(2).toInt() == 1 ? "T" : "B"; break;
        default: type = "?" + st.value(1).toString();
        }
        QString c = st.value(0).toString() + " " + type;
        if (st.value(4).toInt()) c += " NN";
        if (st.value(5).toInt()) c += " PK";
        cols << c;
    }
    return cols.join(", ");
}

QStringList names(TempDatabase& db, const QString& sql) {
    fb::Statement st(db.transaction(), sql);
    st.open();
    QStringList out;
    while (st.fetch())
        out << st.value(0).toString().trimmed();
    return out;
}

void expectRefused(TempDatabase& db, const QString& sql, const QString& fragment) {
    try {
        db.exec(sql);
    } catch (const fb::Error& e) {
        QVERIFY2(e.message().contains(fragment), qPrintable(e.message()));
        return;
    }
    QFAIL(qPrintable("accepted: " + sql));
}

// Station 1 / program 1 / employee 1, an entry 1 with an order item, a
// client 1 with an order 1.
void seed(TempDatabase& db) {
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'Rádio Um')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'Manhã', 1)");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (1, 'Ana', 0)");
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (1, 'Cliente')");
    db.exec("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO) "
            "values (1, '05.03.2008', 1, 1, 1)");
    db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO, CLI_CODIGO) values (1, 1, 1)");
    db.exec("insert into TB_ITENSPEDIDO (IPD_CODIGO, PED_CODIGO, LAN_CODIGO) values (1, 1, 1)");
}

} // namespace

class TstSchema : public QObject {
    Q_OBJECT
private slots:
    void scriptSplitting();
    void tablesAndColumns();
    void keysGeneratorsViewProcedure();
    void defaultsAndWidths();
    void cascades_data();
    void cascades();
    void foreignKeysRefuse_data();
    void foreignKeysRefuse();
    void unenforcedReferences();
    void agendaProcedureKeepsOneRow();
};

void TstSchema::scriptSplitting() {
    const QStringList parts = db::splitScript(
        "create table a (x varchar(5) default ';');\n/* ; */ -- ;\n"
        "SET TERM ^ ;\ncreate procedure p as begin x = 1; end^\nSET TERM ; ^\nselect 1 from rdb$database;");
    QCOMPARE(parts, (QStringList{"create table a (x varchar(5) default ';')",
                                 "create procedure p as begin x = 1; end", "select 1 from rdb$database"}));
}

void TstSchema::tablesAndColumns() {
    TempDatabase db;
    QStringList expected;
    for (const auto& t : kTables) expected << t.first;
    expected.sort();
    QCOMPARE(names(db, "select rdb$relation_name from rdb$relations where coalesce(rdb$system_flag, 0) = 0 "
                       "and rdb$view_blr is null order by 1"),
             expected);
    for (const auto& t : kTables)
        QCOMPARE(describeColumns(db, t.first), t.second);
}

void TstSchema::keysGeneratorsViewProcedure() {
    TempDatabase db;
    QCOMPARE(db.scalar("select trim(rdb$constraint_name) from rdb$relation_constraints "
                       "where rdb$relation_name = 'TB_EMPRESA' and rdb$constraint_type = 'PRIMARY KEY'").toString(),
             QStringLiteral("PK_TB_EMPRESA"));
    QCOMPARE(db.scalar("select trim(rdb$constraint_name) from rdb$relation_constraints "
                       "where rdb$relation_name = 'TB_ITENSPEDIDO' and rdb$constraint_type = 'PRIMARY KEY'").toString(),
             QStringLiteral("TB_ITENSPEDIDO_PK"));

    const QStringList gens = names(db, "select rdb$generator_name from rdb$generators "
                                       "where coalesce(rdb$system_flag, 0) = 0 order by 1");
    QCOMPARE(gens, (QStringList{"GEN_AGENDA", "GEN_CLIENTES", "GEN_DIREITOS", "GEN_EMISSORAS", "GEN_EMPRESA",
                                "GEN_FORMAPAGAMENTO", "GEN_FUNCIONARIOS", "GEN_ITENSPEDIDO", "GEN_LANCAMENTO",
                                "GEN_LEMBRETES", "GEN_MIDIAS", "GEN_PEDIDO", "GEN_PRAZOS", "GEN_PROGRAMAS",
                                "GEN_VENDEDORES"}));
    for (const QString& g : gens) {
        QCOMPARE(db.scalar("select gen_id(" + g + ", 1) from rdb$database").toInt(), 1);
        QCOMPARE(db.scalar("select gen_id(" + g + ", 1) from rdb$database").toInt(), 2);
    }

    const QStringList viewCols = names(db, "select rdb$field_name from rdb$relation_fields "
                                           "where rdb$relation_name = 'V_VENDEDORES' order by rdb$field_position");
    QVERIFY(viewCols.mid(0, 2) == (QStringList{"VEN_CODIGO", "FUN_NOME"}));

    QCOMPARE(names(db, "select rdb$parameter_name from rdb$procedure_parameters "
                       "where rdb$procedure_name = 'PROC_CLIENTE_AGENDA' and rdb$parameter_type = 0 "
                       "order by rdb$parameter_number"),
             (QStringList{"NOME", "FONE", "FAX", "CELULAR", "ENDERECO", "CIDADE", "UF", "CEP", "EMAIL", "WEB", "OBS",
                          "BAIRRO", "ACAO"}));
    QCOMPARE(db.count("rdb$procedure_parameters", "rdb$procedure_name = 'PROC_CLIENTE_AGENDA' and rdb$parameter_type = 1"), 0);
    QCOMPARE(db.scalar("select rdb$character_set_name from rdb$database").toString().trimmed(), QStringLiteral("WIN1252"));
}

void TstSchema::defaultsAndWidths() {
    TempDatabase db;
    seed(db);
    QCOMPARE(db.scalar("select LAN_CHECKED from TB_LANCAMENTO where LAN_CODIGO = 1").toString(), QStringLiteral("0"));
    db.exec("update TB_PEDIDO set PED_STATUS = 'Em Andamento' where PED_CODIGO = 1");
    QCOMPARE(db.scalar("select PED_STATUS from TB_PEDIDO").toString(), QStringLiteral("Em Andamento"));
    // A seller appears in the view with the employee's name.
    db.exec("insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO, VEN_COMISSAO) values (1, 1, 2.5)");
    QCOMPARE(db.scalar("select FUN_NOME from V_VENDEDORES where VEN_CODIGO = 1").toString(), QStringLiteral("Ana"));
}

void TstSchema::cascades_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("deletion");
    QTest::addColumn<QStringList>("gone");  // "TABLE" or "TABLE|condition" left with no row
    QTest::addColumn<QStringList>("kept");
    QTest::newRow("client") << "" << "delete from TB_CLIENTES" << QStringList{"TB_PEDIDO", "TB_ITENSPEDIDO"}
                            << QStringList{"TB_LANCAMENTO"};
    QTest::newRow("order") << "" << "delete from TB_PEDIDO" << QStringList{"TB_ITENSPEDIDO"}
                           << QStringList{"TB_CLIENTES", "TB_LANCAMENTO"};
    QTest::newRow("employee") << "" << "delete from TB_FUNCIONARIOS" << QStringList{"TB_LANCAMENTO", "TB_ITENSPEDIDO"}
                              << QStringList{"TB_PEDIDO", "TB_PROGRAMAS"};
    // Entry 2 is on station 2 with a program of station 1.
    QTest::newRow("station")
        << "insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (2, 'Dois');"
           "insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO) "
           "values (2, '05.03.2008', 2, 1, 1);"
           "insert into TB_ITENSPEDIDO (IPD_CODIGO, PED_CODIGO, LAN_CODIGO) values (2, 1, 2)"
        << "delete from TB_EMISSORAS where EMI_CODIGO = 2"
        << QStringList{"TB_LANCAMENTO|LAN_CODIGO = 2", "TB_ITENSPEDIDO|LAN_CODIGO = 2"}
        << QStringList{"TB_LANCAMENTO|LAN_CODIGO = 1", "TB_ITENSPEDIDO|LAN_CODIGO = 1", "TB_PEDIDO"};
    QTest::newRow("program") << "" << "delete from TB_PROGRAMAS" << QStringList{"TB_LANCAMENTO", "TB_ITENSPEDIDO"}
                             << QStringList{"TB_EMISSORAS", "TB_PEDIDO"};
    QTest::newRow("entry") << "" << "delete from TB_LANCAMENTO" << QStringList{"TB_ITENSPEDIDO"}
                           << QStringList{"TB_PEDIDO"};
}

void TstSchema::cascades() {
    QFETCH(QString, setup);
    QFETCH(QString, deletion);
    QFETCH(QStringList, gone);
    QFETCH(QStringList, kept);
    TempDatabase db;
    seed(db);
    for (const QString& s : setup.split(';', Qt::SkipEmptyParts))
        db.exec(s);
    db.exec(deletion);
    auto rows = [&](const QString& spec) {
        const QStringList p = spec.split('|');
        return db.count(p[0], p.value(1));
    };
    for (const QString& t : gone)
        QVERIFY2(rows(t) == 0, qPrintable(t));
    for (const QString& t : kept)
        QVERIFY2(rows(t) > 0, qPrintable(t));
}

void TstSchema::foreignKeysRefuse_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("statement");
    QTest::newRow("station with programs") << "" << "delete from TB_EMISSORAS";
    QTest::newRow("employee who is a seller") << "insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO) values (1, 1)"
                                              << "delete from TB_FUNCIONARIOS";
    QTest::newRow("payment form with terms")
        << "insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (1, 'À vista');"
           "insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (1, 1, 'Hoje')"
        << "delete from TB_FORMAPAGAMENTO";
    QTest::newRow("medium in an order") << "insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO) values (1, 'CD');"
                                           "update TB_PEDIDO set MID_CODIGO = 1"
                                        << "delete from TB_MIDIAS";
    QTest::newRow("seller in an order") << "insert into TB_VENDEDORES (VEN_CODIGO, FUN_CODIGO) values (1, 1);"
                                           "update TB_PEDIDO set VEN_CODIGO = 1"
                                        << "delete from TB_VENDEDORES";
    QTest::newRow("term in an order")
        << "insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (1, 'Boleto');"
           "insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (1, 1, '30 dias');"
           "update TB_PEDIDO set FPG_CODIGO = 1, PRA_CODIGO = 1"
        << "delete from TB_PRAZOS";
    QTest::newRow("entry of a missing program") << ""
                                               << "insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, "
                                                  "PRG_CODIGO) values (9, '01.01.2009', 1, 99)";
}

void TstSchema::foreignKeysRefuse() {
    QFETCH(QString, setup);
    QFETCH(QString, statement);
    TempDatabase db;
    seed(db);
    for (const QString& s : setup.split(';', Qt::SkipEmptyParts))
        db.exec(s);
    expectRefused(db, statement, "FOREIGN KEY");
}

void TstSchema::unenforcedReferences() {
    TempDatabase db;
    seed(db);
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (2, 'Perfil', 1)");
    db.exec("update TB_FUNCIONARIOS set FUN_PERFILACESSO = 2 where FUN_CODIGO = 1");
    db.exec("insert into TB_DIREITOS (DIR_CODIGO, TEL_CODIGO, DIR_ACESSO, USU_CODIGO, TEL_MODULO) values (1, 1001, 1, 2, 0)");
    db.exec("delete from TB_FUNCIONARIOS where FUN_CODIGO = 2");
    QCOMPARE(db.scalar("select FUN_PERFILACESSO from TB_FUNCIONARIOS where FUN_CODIGO = 1").toInt(), 2);
    QCOMPARE(db.count("TB_DIREITOS"), 1);
    // A rights row may name an owner that never existed.
    db.exec("insert into TB_DIREITOS (DIR_CODIGO, TEL_CODIGO, DIR_ACESSO, USU_CODIGO) values (2, 10, 1, 777)");
    expectRefused(db, "insert into TB_PEDIDO (PED_CODIGO) values (5)", "PED_NUMERO");
}

void TstSchema::agendaProcedureKeepsOneRow() {
    TempDatabase db;
    auto call = [&](const QString& nome, const QString& fone, const QString& obs, const QString& acao) {
        fb::Statement st(db.transaction(), "execute procedure PROC_CLIENTE_AGENDA(:NOME, :FONE, :FAX, :CELULAR, "
                                           ":ENDERECO, :CIDADE, :UF, :CEP, :EMAIL, :WEB, :OBS, :BAIRRO, :ACAO)");
        st.setParam("NOME", nome);
        st.setParam("FONE", fone);
        st.setParam("CIDADE", QStringLiteral("São Paulo"));
        st.setParam("UF", "SP");
        st.setParam("CEP", "01.234-567");
        st.setParam("OBS", obs);
        st.setParam("BAIRRO", QStringLiteral("Sé"));
        st.setParam("ACAO", acao);
        st.execute();
        db.transaction().commitRetaining();
    };
    call(QStringLiteral("Padaria Pão de Açúcar"), "11 1111-1111", "primeira", "I");
    call(QStringLiteral("Padaria Pão de Açúcar"), "11 2222-2222", "alterada", "A");
    QCOMPARE(db.count("TB_AGENDA"), 1);
    QCOMPARE(db.scalar("select AGE_TELEFONE from TB_AGENDA").toString(), QStringLiteral("11 2222-2222"));
    QCOMPARE(db.scalar("select AGE_OBS from TB_AGENDA").toString(), QStringLiteral("alterada"));
    QCOMPARE(db.scalar("select AGE_CIDADE from TB_AGENDA").toString(), QStringLiteral("São Paulo"));
    QVERIFY(db.scalar("select AGE_CODIGO from TB_AGENDA").toInt() > 0);

    // A renamed client keeps its one agenda row.
    db.exec("insert into TB_CLIENTES (CLI_CODIGO, CLI_NOME) values (1, 'Padaria Pão de Açúcar')");
    db.exec("update TB_CLIENTES set CLI_NOME = 'Panificadora Açúcar' where CLI_CODIGO = 1");
    call(QStringLiteral("Panificadora Açúcar"), "11 3333-3333", "", "A");
    QCOMPARE(db.count("TB_AGENDA"), 1);
    QCOMPARE(db.scalar("select AGE_NOME from TB_AGENDA").toString(), QStringLiteral("Panificadora Açúcar"));

    // Another client gets a row of its own; an "A" for an unknown client adds one.
    call(QStringLiteral("Outro"), "", "", "I");
    call(QStringLiteral("Terceiro"), "", "", "A");
    QCOMPARE(db.count("TB_AGENDA"), 3);
}

QTEST_GUILESS_MAIN(TstSchema)
#include "tst_schema.moc"

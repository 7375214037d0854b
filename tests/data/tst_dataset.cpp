#include "support/TempDatabase.h"

#include "platform/core/Exception.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/TableDataset.h"
#include "platform/firebird/Error.h"
#include "platform/firebird/Transaction.h"

#include <QTest>

using namespace dataset;
using testsupport::TempDatabase;

namespace {

template <typename T>
std::unique_ptr<T> on(TempDatabase& db, const QString& name) {
    auto ds = std::make_unique<T>();
    ds->setObjectName(name);
    ds->SetTransaction(&db.transaction());
    return ds;
}

std::unique_ptr<Query> query(TempDatabase& db, const QString& sql, const QString& name = QStringLiteral("Q")) {
    auto q = on<Query>(db, name);
    q->SQL.Add(sql);
    return q;
}

void addPaymentForms(TempDatabase& db, int count) {
    db.attachment().executeImmediate(QStringLiteral("execute block as declare i integer = 1; begin "
                           "while (i <= %1) do begin "
                           "insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (:i, 'Forma ' || :i); "
                           "i = i + 1; end end").arg(count));
}

// Runs f and returns the message of the clip::Exception it throws.
template <typename F>
QString errorOf(F f) {
    try {
        f();
    } catch (const clip::Exception& e) {
        return e.message();
    }
    return QString();
}

} // namespace

class TstDataSet : public QObject {
    Q_OBJECT
private slots:
    void conversions_data();
    void conversions();
    void displayFormats_data();
    void displayFormats();
    void navigationIndicators_data();
    void navigationIndicators();
    void openFetchesOnlyWhatIsAsked();
    void appendDrawsGeneratorKeyCancelLeavesGap();
    void cachedUpdatesUseExactlyTheGivenStatements();
    void failedApplyKeepsChangePending_data();
    void failedApplyKeepsChangePending();
    void failedDeleteShowsRowAgain();
    void requiredFieldRefusesPost();
    void beforeEventAbortCancelsOperation_data();
    void beforeEventAbortCancelsOperation();
    void eventOrderOfInsertAndPost();
    void detailQueryFollowsMaster();
    void detailTableFollowsMasterAndTakesLink();
    void lookupFieldEmptyForMissingKey();
    void calculatedFieldPerRow();
    void locate_data();
    void locate();
    void paramsResetWhenSqlChanges();
    void execSqlWithRepeatedParameter();
    void memoryTable();
    void cancelUpdatesRestoresRows();
    void insertPositionAndQuietControls();
};

// ------------------------------------------------------------ conversions

void TstDataSet::conversions_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("asString");   // AsString after the assignment
    QTest::addColumn<QString>("error");      // expected fragment, empty when valid
    const int D = int(FieldType::DateTime), T = int(FieldType::Time), I = int(FieldType::Integer),
              F = int(FieldType::Float), DA = int(FieldType::Date);
    QTest::newRow("date") << D << "05/03/2008" << "05/03/2008" << "";
    QTest::newRow("date two-digit year") << D << "05/03/08" << "05/03/2008" << "";
    QTest::newRow("date with time") << D << "05/03/2008 14:30" << "05/03/2008 14:30:00" << "";
    QTest::newRow("date 31 Feb") << DA << "31/02/2008" << "" << "is not a valid date";
    QTest::newRow("date half typed") << DA << "12/  /    " << "" << "is not a valid date";
    QTest::newRow("date and time bad") << D << "05/03/2008 25:00" << "" << "is not a valid date and time";
    QTest::newRow("date text") << D << "ontem" << "" << "is not a valid date and time";
    QTest::newRow("time") << T << "14:30:00" << "14:30:00" << "";
    QTest::newRow("time bad") << T << "24:10:00" << "" << "is not a valid time";
    QTest::newRow("integer") << I << " 42 " << "42" << "";
    QTest::newRow("integer bad") << I << "4x2" << "" << "is not a valid integer";
    QTest::newRow("float comma") << F << "1234,5" << "1234,5" << "";
    QTest::newRow("float grouped") << F << "1.234,56" << "1234,56" << "";
    QTest::newRow("float point is not decimal") << F << "1.5" << "" << "is not a valid floating point value";
    QTest::newRow("empty is null") << F << "" << "" << "";
}

void TstDataSet::conversions() {
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(QString, asString);
    QFETCH(QString, error);
    MemoryTable t;
    t.AddFieldDef("V", FieldType(type));
    t.CreateDataSet();
    t.Append();
    Field* f = t.FieldByName("V");
    QString message;
    try {
        f->SetAsString(text);
    } catch (const clip::EConvertError& e) {
        message = e.message();
    }
    if (error.isEmpty()) {
        QCOMPARE(message, QString());
        QCOMPARE(f->AsString(), asString);
        QCOMPARE(f->IsNull(), text.trimmed().isEmpty());
    } else {
        QVERIFY2(message.contains(error), qPrintable(message));
        QVERIFY(message.contains(text));
        QVERIFY(f->IsNull());  // the refused text changed nothing
    }
}

void TstDataSet::displayFormats_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("currency");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("money") << "$#,0.00;($#,0.00)" << false << 1234.5 << "$1.234,50";
    QTest::newRow("money negative") << "$#,0.00;($#,0.00)" << false << -1234.5 << "($1.234,50)";
    QTest::newRow("money zero") << "$#,0.00;($#,0.00)" << false << 0.0 << "$0,00";
    QTest::newRow("millions") << "#,##0.00" << false << 1234567.891 << "1.234.567,89";
    QTest::newRow("optional decimals") << "0.##" << false << 2.5 << "2,5";
    QTest::newRow("currency field") << "" << true << 1234.5 << "R$ 1.234,50";
    QTest::newRow("plain") << "" << false << 0.1 << "0,1";
}

void TstDataSet::displayFormats() {
    QFETCH(QString, format);
    QFETCH(bool, currency);
    QFETCH(double, value);
    QFETCH(QString, shown);
    MemoryTable t;
    t.AddFieldDef("V", FieldType::Float);
    t.CreateDataSet();
    Field* f = t.FieldByName("V");
    f->DisplayFormat = format;
    f->Currency = currency;
    t.Append();
    f->SetAsFloat(value);
    QCOMPARE(f->DisplayText(), shown);
    // The edit text converts back to the same value.
    f->SetAsString(f->Text());
    QCOMPARE(f->AsFloat(), value);
}

// ------------------------------------------------------------ navigation

void TstDataSet::navigationIndicators_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("steps");     // operations, one per entry
    QTest::addColumn<QString>("expected");  // "bof eof recno" after each step
    QTest::newRow("empty") << 0 << "open next prior first last" << "BE0 BE0 BE0 BE0 BE0";
    QTest::newRow("one row") << 1 << "open next prior last first" << "B-1 -E1 B-1 -E1 B-1";
    QTest::newRow("three rows forward") << 3 << "open next next next next" << "B-1 --2 --3 -E3 -E3";
    QTest::newRow("back to the first by prior clears bof")
        << 3 << "open next prior prior" << "B-1 --2 --1 B-1";
    QTest::newRow("last then prior") << 3 << "open last prior" << "B-1 -E3 --2";
    QTest::newRow("first after last") << 3 << "open last first" << "B-1 -E3 B-1";
}

void TstDataSet::navigationIndicators() {
    QFETCH(int, rows);
    QFETCH(QString, steps);
    QFETCH(QString, expected);
    TempDatabase db;
    addPaymentForms(db, rows);
    auto q = query(db, "select * from TB_FORMAPAGAMENTO order by FPG_CODIGO");
    QStringList got;
    for (const QString& s : steps.split(' ')) {
        if (s == "open") q->Open();
        else if (s == "next") q->Next();
        else if (s == "prior") q->Prior();
        else if (s == "first") q->First();
        else if (s == "last") q->Last();
        got << QString("%1%2%3").arg(q->Bof() ? "B" : "-", q->Eof() ? "E" : "-").arg(q->RecNo());
    }
    QCOMPARE(got.join(' '), expected);
    QCOMPARE(q->IsEmpty(), rows == 0);
    if (rows) QCOMPARE(q->FieldByName("FPG_CODIGO")->AsInteger(), q->RecNo());
}

void TstDataSet::openFetchesOnlyWhatIsAsked() {
    TempDatabase db;
    addPaymentForms(db, 2000);
    auto q = query(db, "select * from TB_FORMAPAGAMENTO order by FPG_CODIGO");
    q->Open();
    QCOMPARE(q->BufferedCount(), 1);
    QVERIFY(!q->AllFetched());
    q->Next();
    QCOMPARE(q->BufferedCount(), 2);
    QCOMPARE(q->FetchMore(100), 100);
    QCOMPARE(q->RecNo(), 2);
    QCOMPARE(q->RecordCount(), 2000);
    QVERIFY(q->AllFetched());
    QCOMPARE(q->RecNo(), 2);  // counting does not move the cursor
    q->Last();
    QCOMPARE(q->FieldByName("FPG_DESCRICAO")->AsString(), QString("Forma 2000"));
}

// ------------------------------------------------------------ writing

void TstDataSet::appendDrawsGeneratorKeyCancelLeavesGap() {
    TempDatabase db;
    auto up = std::make_unique<UpdateSql>();
    up->InsertSQL.Add("insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (:FPG_CODIGO, :FPG_DESCRICAO)");
    auto q = query(db, "SELECT * FROM TB_FORMAPAGAMENTO", "Q_FormaPagto");
    q->CachedUpdates = true;
    q->UpdateObject = up.get();
    q->SetGeneratorField("FPG_CODIGO", "GEN_FORMAPAGAMENTO");
    int keySeenByNewRecord = -1;
    q->OnNewRecord = [&](DataSet& ds) { keySeenByNewRecord = ds.FieldByName("FPG_CODIGO")->AsInteger(); };
    q->AfterPost = [&](DataSet& ds) {
        ds.ApplyUpdates();
        db.transaction().commitRetaining();
    };
    q->Open();
    QVERIFY(q->IsEmpty());

    q->Append();
    QCOMPARE(q->GetState(), State::Insert);
    QCOMPARE(keySeenByNewRecord, 1);
    QVERIFY(!q->IsEmpty());
    q->Cancel();
    QVERIFY(q->IsEmpty());
    QVERIFY(q->Bof() && q->Eof());

    q->Append();
    QCOMPARE(q->FieldByName("FPG_CODIGO")->AsInteger(), 2);  // 1 stays unused
    q->FieldByName("FPG_DESCRICAO")->SetAsString("À vista");
    q->Post();
    QCOMPARE(q->GetState(), State::Browse);
    QVERIFY(!q->UpdatesPending());
    QCOMPARE(db.count("TB_FORMAPAGAMENTO"), 1);
    QCOMPARE(db.scalar("select FPG_DESCRICAO from TB_FORMAPAGAMENTO where FPG_CODIGO = 2").toString(),
             QString("À vista"));
    // Another workstation sees it: the commit kept the transaction open.
    QVERIFY(db.transaction().isActive());
    fb::Attachment other = db.connectAgain();
    fb::Transaction tra(other);
    fb::Statement st(tra, "select count(*) from TB_FORMAPAGAMENTO");
    st.open();
    QVERIFY(st.fetch());
    QCOMPARE(st.value(0).toInt(), 1);
}

void TstDataSet::cachedUpdatesUseExactlyTheGivenStatements() {
    TempDatabase db;
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (1, 'Ana Lúcia', 0)");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_TIPO) values (2, 'João', 0)");
    db.exec("insert into TB_VENDEDORES (VEN_CODIGO, VEN_COMISSAO, FUN_CODIGO) values (1, 5, 1)");
    db.exec("set generator GEN_VENDEDORES to 1");

    UpdateSql up;
    up.setObjectName("UP_Vendedores");
    up.InsertSQL.Add("insert into TB_VENDEDORES");
    up.InsertSQL.Add("(FUN_CODIGO, VEN_CODIGO, VEN_COMISSAO)");
    up.InsertSQL.Add("values (:FUN_CODIGO, :VEN_CODIGO, :VEN_COMISSAO)");
    up.ModifySQL.Add("update TB_VENDEDORES set FUN_CODIGO = :FUN_CODIGO, VEN_CODIGO = :VEN_CODIGO,");
    up.ModifySQL.Add("VEN_COMISSAO = :VEN_COMISSAO where VEN_CODIGO = :OLD_VEN_CODIGO");
    up.DeleteSQL.Add("delete from TB_VENDEDORES where VEN_CODIGO = :OLD_VEN_CODIGO");
    up.RefreshSQL.Add("SELECT VEN.*, FUN.* FROM TB_VENDEDORES VEN, TB_FUNCIONARIOS FUN");
    up.RefreshSQL.Add("WHERE VEN.FUN_CODIGO = FUN.FUN_CODIGO and VEN.VEN_CODIGO = :VEN_CODIGO");

    auto q = on<Query>(db, "Q_Vendedores");
    q->SQL.Add("SELECT VEN.*, FUN.* FROM TB_VENDEDORES VEN, TB_FUNCIONARIOS FUN");
    q->SQL.Add("WHERE VEN.FUN_CODIGO = FUN.FUN_CODIGO");
    q->CachedUpdates = true;
    q->ForcedRefresh = true;
    q->UpdateObject = &up;
    q->SetGeneratorField("VEN_CODIGO", "GEN_VENDEDORES");
    q->Open();
    QVERIFY(q->FindField("FUN_CODIGO_1"));  // the employee's own key column
    QCOMPARE(q->FieldByName("FUN_NOME")->AsString(), QString("Ana Lúcia"));

    // Change a written column and a joined one; nothing reaches the table
    // before the apply.
    q->Edit();
    q->FieldByName("VEN_COMISSAO")->SetAsFloat(7.5);
    q->FieldByName("FUN_NOME")->SetAsString("Outro nome");
    q->Post();
    QVERIFY(q->UpdatesPending());
    QCOMPARE(db.scalar("select VEN_COMISSAO from TB_VENDEDORES where VEN_CODIGO = 1").toDouble(), 5.0);
    q->ApplyUpdates();
    QVERIFY(!q->UpdatesPending());
    QCOMPARE(db.scalar("select VEN_COMISSAO from TB_VENDEDORES where VEN_CODIGO = 1").toDouble(), 7.5);
    QCOMPARE(db.scalar("select FUN_NOME from TB_FUNCIONARIOS where FUN_CODIGO = 1").toString(), QString("Ana Lúcia"));
    // The forced refresh re-read the joined columns from the database.
    QCOMPARE(q->FieldByName("FUN_NOME")->AsString(), QString("Ana Lúcia"));

    // A new seller: key from the generator, insert statement, refresh.
    q->Append();
    q->FieldByName("FUN_CODIGO")->SetAsInteger(2);
    q->FieldByName("VEN_COMISSAO")->SetAsFloat(3);
    q->Post();
    QCOMPARE(q->FieldByName("VEN_CODIGO")->AsInteger(), 2);
    QVERIFY(q->FieldByName("FUN_NOME")->IsNull());
    q->ApplyUpdates();
    QCOMPARE(db.count("TB_VENDEDORES", "VEN_CODIGO = 2 and FUN_CODIGO = 2"), 1);
    QCOMPARE(q->FieldByName("FUN_NOME")->AsString(), QString("João"));

    // Changing the key uses the old key in the where clause.
    q->First();
    q->Edit();
    q->FieldByName("VEN_CODIGO")->SetAsInteger(10);
    q->Post();
    q->ApplyUpdates();
    QCOMPARE(db.count("TB_VENDEDORES", "VEN_CODIGO = 1"), 0);
    QCOMPARE(db.count("TB_VENDEDORES", "VEN_CODIGO = 10"), 1);

    q->Delete();
    QCOMPARE(db.count("TB_VENDEDORES", "VEN_CODIGO = 10"), 1);
    q->ApplyUpdates();
    QCOMPARE(db.count("TB_VENDEDORES", "VEN_CODIGO = 10"), 0);
    QCOMPARE(db.count("TB_FUNCIONARIOS"), 2);
}

void TstDataSet::failedApplyKeepsChangePending_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("fragment");
    QTest::newRow("primary key") << "PK" << "PRIMARY";
    QTest::newRow("foreign key") << "FK" << "FOREIGN KEY";
}

void TstDataSet::failedApplyKeepsChangePending() {
    QFETCH(QString, table);
    QFETCH(QString, fragment);
    TempDatabase db;
    addPaymentForms(db, 1);
    db.exec("insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (1, 1, '30 dias')");
    UpdateSql up;
    up.InsertSQL.Add("insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO)");
    up.InsertSQL.Add("values (:PRA_CODIGO, :FPG_CODIGO, :PRA_DESCRICAO)");
    auto q = query(db, "SELECT * FROM TB_PRAZOS", "Q_Prazo");
    q->CachedUpdates = true;
    q->UpdateObject = &up;
    q->Open();
    q->Append();
    q->FieldByName("PRA_CODIGO")->SetAsInteger(table == "PK" ? 1 : 2);
    q->FieldByName("FPG_CODIGO")->SetAsInteger(table == "PK" ? 1 : 99);
    q->FieldByName("PRA_DESCRICAO")->SetAsString("60 dias");
    q->Post();

    QString message;
    try {
        q->ApplyUpdates();
    } catch (const fb::Error& e) {
        message = e.message();
    }
    QVERIFY2(message.contains(fragment), qPrintable(message));
    QVERIFY(message.contains("TB_PRAZOS"));  // the server's own text
    QVERIFY(q->UpdatesPending());
    QCOMPARE(q->RecordUpdateStatus(), UpdateStatus::Inserted);
    QCOMPARE(q->FieldByName("PRA_DESCRICAO")->AsString(), QString("60 dias"));

    // Put right, the same pending row is written once.
    q->Edit();
    q->FieldByName("PRA_CODIGO")->SetAsInteger(2);
    q->FieldByName("FPG_CODIGO")->SetAsInteger(1);
    q->Post();
    q->ApplyUpdates();
    QVERIFY(!q->UpdatesPending());
    QCOMPARE(db.count("TB_PRAZOS"), 2);
    q->ApplyUpdates();
    QCOMPARE(db.count("TB_PRAZOS"), 2);
}

void TstDataSet::failedDeleteShowsRowAgain() {
    TempDatabase db;
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'Rádio')");
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (2, 'TV')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'P', 1)");
    UpdateSql up;
    up.DeleteSQL.Add("delete from TB_EMISSORAS where EMI_CODIGO = :OLD_EMI_CODIGO");
    auto q = query(db, "select * from TB_EMISSORAS order by EMI_CODIGO", "Q_Emissoras");
    q->CachedUpdates = true;
    q->UpdateObject = &up;
    q->AfterDelete = [](DataSet& ds) { ds.ApplyUpdates(); };
    q->Open();
    // A program still refers to station 1: the server refuses.
    QVERIFY(errorOf([&] { q->Delete(); }).contains("FOREIGN KEY"));
    QCOMPARE(q->RecordCount(), 2);
    QCOMPARE(q->FieldByName("EMI_NOME")->AsString(), QString("Rádio"));
    QVERIFY(!q->UpdatesPending());
    // Later writes are not held up by the refused delete.
    q->Next();
    q->Delete();
    QCOMPARE(db.count("TB_EMISSORAS"), 1);
    QCOMPARE(q->RecordCount(), 1);
}

void TstDataSet::requiredFieldRefusesPost() {
    TempDatabase db;
    UpdateSql up;
    up.InsertSQL.Add("insert into TB_MIDIAS (MID_CODIGO, MID_DESCRICAO, MID_VALOR) values (:MID_CODIGO, :MID_DESCRICAO, :MID_VALOR)");
    auto q = query(db, "SELECT * FROM TB_MIDIAS", "Q_Midias");
    q->CachedUpdates = true;
    q->UpdateObject = &up;
    q->SetGeneratorField("MID_CODIGO", "GEN_MIDIAS");
    q->Open();
    // NOT NULL columns of a single-table select are required.
    QVERIFY(q->FieldByName("MID_DESCRICAO")->Required);
    QVERIFY(!q->FieldByName("MID_VALOR")->Required);
    q->Append();
    QCOMPARE(errorOf([&] { q->Post(); }), QString("Field 'MID_DESCRICAO' must have a value"));
    QCOMPARE(q->GetState(), State::Insert);
    q->FieldByName("MID_DESCRICAO")->DisplayLabel = "Mídia";
    QCOMPARE(errorOf([&] { q->Post(); }), QString("Field 'Mídia' must have a value"));
    q->FieldByName("MID_DESCRICAO")->SetAsString("CD");
    q->Post();
    QCOMPARE(q->GetState(), State::Browse);

    // In a join nothing is required unless the screen says so.
    auto j = query(db, "SELECT VEN.*, FUN.* FROM TB_VENDEDORES VEN, TB_FUNCIONARIOS FUN WHERE VEN.FUN_CODIGO = FUN.FUN_CODIGO");
    j->CachedUpdates = true;
    j->DefineField("FUN_CODIGO")->Required = true;
    j->Open();
    QVERIFY(!j->FieldByName("VEN_CODIGO")->Required);
    j->Append();
    QCOMPARE(errorOf([&] { j->Post(); }), QString("Field 'FUN_CODIGO' must have a value"));
}

void TstDataSet::beforeEventAbortCancelsOperation_data() {
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("after");  // state, row count, value of V
    QTest::newRow("insert") << "BeforeInsert" << "Browse 2 a";
    QTest::newRow("edit") << "BeforeEdit" << "Browse 2 a";
    QTest::newRow("post") << "BeforePost" << "Edit 2 z";
    QTest::newRow("delete") << "BeforeDelete" << "Browse 2 a";
    QTest::newRow("cancel") << "BeforeCancel" << "Edit 2 z";
    QTest::newRow("scroll") << "BeforeScroll" << "Browse 2 a";
}

void TstDataSet::beforeEventAbortCancelsOperation() {
    QFETCH(QString, event);
    QFETCH(QString, after);
    MemoryTable t;
    t.AddFieldDef("V", FieldType::String, 10);
    t.CreateDataSet();
    for (const char* v : {"a", "b"}) {
        t.Append();
        t.FieldByName("V")->SetAsString(v);
        t.Post();
    }
    t.First();
    auto abort = [](DataSet&) { clip::Abort(); };
    if (event == "BeforeInsert") t.BeforeInsert = abort;
    if (event == "BeforeEdit") t.BeforeEdit = abort;
    if (event == "BeforePost" || event == "BeforeCancel") {
        t.Edit();
        t.FieldByName("V")->SetAsString("z");
        (event == "BeforePost" ? t.BeforePost : t.BeforeCancel) = abort;
    }
    if (event == "BeforeDelete") t.BeforeDelete = abort;
    if (event == "BeforeScroll") t.BeforeScroll = abort;

    bool aborted = false;
    try {
        if (event == "BeforeInsert") t.Append();
        if (event == "BeforeEdit") t.Edit();
        if (event == "BeforePost") t.Post();
        if (event == "BeforeCancel") t.Cancel();
        if (event == "BeforeDelete") t.Delete();
        if (event == "BeforeScroll") t.Next();
    } catch (const clip::EAbort&) {
        aborted = true;
    }
    QVERIFY(aborted);
    const char* names[] = {"Inactive", "Browse", "Edit", "Insert", "CalcFields"};
    QCOMPARE(QString("%1 %2 %3").arg(names[int(t.GetState())]).arg(t.RecordCount()).arg(t.FieldByName("V")->AsString()),
             after);
    QCOMPARE(t.RecNo(), 1);
}

void TstDataSet::eventOrderOfInsertAndPost() {
    TempDatabase db;
    auto q = query(db, "SELECT * FROM TB_FORMAPAGAMENTO");
    UpdateSql up;
    up.InsertSQL.Add("insert into TB_FORMAPAGAMENTO values (:FPG_CODIGO, :FPG_DESCRICAO)");
    q->UpdateObject = &up;
    q->CachedUpdates = true;
    q->SetGeneratorField("FPG_CODIGO", "GEN_FORMAPAGAMENTO");
    QStringList log;
    DataSource src;
    src.SetDataSet(q.get());
    src.OnStateChange = [&](DataSource& s) { log << QString("state%1").arg(int(s.GetState())); };
    q->BeforeOpen = [&](DataSet&) { log << "BeforeOpen"; };
    q->AfterOpen = [&](DataSet&) { log << "AfterOpen"; };
    q->BeforeInsert = [&](DataSet&) { log << "BeforeInsert"; };
    q->OnNewRecord = [&](DataSet& d) { log << "OnNewRecord" + d.FieldByName("FPG_CODIGO")->AsString(); };
    q->AfterInsert = [&](DataSet&) { log << "AfterInsert"; };
    q->BeforePost = [&](DataSet&) { log << "BeforePost"; };
    q->AfterPost = [&](DataSet& d) {
        log << "AfterPost";
        d.ApplyUpdates();
    };
    q->Open();
    q->Append();
    q->FieldByName("FPG_DESCRICAO")->SetAsString("Cheque");
    q->Post();
    QCOMPARE(log.join(' '),
             QString("BeforeOpen state1 AfterOpen BeforeInsert state3 OnNewRecord1 AfterInsert BeforePost state1 AfterPost"));
    QCOMPARE(db.count("TB_FORMAPAGAMENTO"), 1);
}

// ------------------------------------------------------------ links

void TstDataSet::detailQueryFollowsMaster() {
    TempDatabase db;
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'Rádio Nacional')");
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (2, 'TV Cultura')");
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (3, 'Sem programas')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (10, 'Manhã', 1)");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (11, 'Tarde', 1)");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (20, 'Jornal', 2)");
    auto master = query(db, "SELECT EMI_CODIGO, EMI_NOME FROM TB_EMISSORAS order by EMI_CODIGO", "Q_Emissoras");
    DataSource ds;
    ds.SetDataSet(master.get());
    auto detail = on<Query>(db, "Q_Programas");
    detail->SQL.Add("SELECT PRG_CODIGO, PRG_NOME FROM TB_PROGRAMAS");
    detail->SQL.Add("WHERE EMI_CODIGO = :EMI_CODIGO order by PRG_CODIGO");
    detail->SetDataSource(&ds);
    master->Open();
    detail->Open();
    auto names = [&] {
        QStringList n;
        for (detail->First(); !detail->Eof(); detail->Next()) n << detail->FieldByName("PRG_NOME")->AsString();
        return n.join(',');
    };
    QCOMPARE(names(), QString("Manhã,Tarde"));
    master->Next();
    QCOMPARE(names(), QString("Jornal"));
    master->Next();
    QVERIFY(detail->Active());
    QVERIFY(detail->IsEmpty());
    QVERIFY(master->Locate("EMI_CODIGO", 1));
    QCOMPARE(names(), QString("Manhã,Tarde"));
    // A new master row has no key yet: the detail is empty.
    master->ReadOnly = false;
    master->CachedUpdates = true;
    master->Append();
    QVERIFY(detail->IsEmpty());
    master->Cancel();
    QCOMPARE(master->RecNo(), 3);
    QVERIFY(detail->Active());
    QVERIFY(detail->IsEmpty());
}

void TstDataSet::detailTableFollowsMasterAndTakesLink() {
    TempDatabase db;
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'Rádio')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'P', 1)");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME) values (1, 'F')");
    for (int i = 1; i <= 3; ++i)
        db.exec(QString("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO) "
                        "values (%1, '2008-03-05', 1, 1, 1)").arg(i));
    db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO) values (1, 1)");
    db.exec("insert into TB_PEDIDO (PED_CODIGO, PED_NUMERO) values (2, 2)");
    db.exec("insert into TB_ITENSPEDIDO (IPD_CODIGO, PED_CODIGO, LAN_CODIGO) values (5, 1, 1)");
    db.exec("insert into TB_ITENSPEDIDO (IPD_CODIGO, PED_CODIGO, LAN_CODIGO) values (4, 1, 2)");
    db.exec("insert into TB_ITENSPEDIDO (IPD_CODIGO, PED_CODIGO, LAN_CODIGO) values (6, 2, 3)");

    auto pedido = query(db, "SELECT * FROM TB_PEDIDO order by PED_CODIGO", "Q_Pedido");
    DataSource dsPedido;
    dsPedido.SetDataSet(pedido.get());
    auto itens = on<TableDataset>(db, "TB_ItensPedido");
    itens->TableName = "TB_ITENSPEDIDO";
    itens->MasterFields = "PED_CODIGO";
    itens->IndexFieldNames = "IPD_CODIGO";
    itens->SetMasterSource(&dsPedido);
    pedido->Open();
    itens->Open();
    auto codes = [&] {
        QStringList n;
        for (itens->First(); !itens->Eof(); itens->Next()) n << itens->FieldByName("IPD_CODIGO")->AsString();
        return n.join(',');
    };
    QCOMPARE(codes(), QString("4,5"));
    pedido->Next();
    QCOMPARE(codes(), QString("6"));

    // A new item takes the order's code and is written at once.
    itens->Append();
    QCOMPARE(itens->FieldByName("PED_CODIGO")->AsInteger(), 2);
    itens->FieldByName("IPD_CODIGO")->SetAsInteger(7);
    itens->FieldByName("LAN_CODIGO")->SetAsInteger(1);
    itens->Post();
    QCOMPARE(db.count("TB_ITENSPEDIDO", "PED_CODIGO = 2"), 2);
    itens->Edit();
    itens->FieldByName("LAN_CODIGO")->SetAsInteger(2);
    itens->Post();
    QCOMPARE(db.count("TB_ITENSPEDIDO", "IPD_CODIGO = 7 and LAN_CODIGO = 2"), 1);
    // A failed write leaves the row in editing.
    itens->Edit();
    itens->FieldByName("LAN_CODIGO")->SetAsInteger(99);
    QVERIFY(errorOf([&] { itens->Post(); }).contains("FOREIGN KEY"));
    QCOMPARE(itens->GetState(), State::Edit);
    itens->Cancel();
    itens->Delete();
    QCOMPARE(db.count("TB_ITENSPEDIDO", "IPD_CODIGO = 7"), 0);
    QCOMPARE(codes(), QString("6"));
}

void TstDataSet::lookupFieldEmptyForMissingKey() {
    TempDatabase db;
    addPaymentForms(db, 3);
    db.exec("insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (1, 1, '30 dias')");
    db.exec("insert into TB_PRAZOS (PRA_CODIGO, FPG_CODIGO, PRA_DESCRICAO) values (2, 2, '60 dias')");
    // The list lacks form 2, as if it had been deleted.
    auto formas = query(db, "SELECT * FROM TB_FORMAPAGAMENTO where FPG_CODIGO <> 2", "Q_FormaPagto");
    auto prazo = query(db, "SELECT * FROM TB_PRAZOS order by PRA_CODIGO", "Q_Prazo");
    prazo->CachedUpdates = true;
    Field* lk = prazo->AddLookupField("FORMAPAGAMENTO", "FPG_CODIGO", formas.get(), "FPG_CODIGO", "FPG_DESCRICAO",
                                      FieldType::String, 25);
    formas->Open();
    prazo->Open();
    QCOMPARE(lk->AsString(), QString("Forma 1"));
    prazo->Next();
    QVERIFY(lk->IsNull());
    QCOMPARE(lk->DisplayText(), QString());
    QCOMPARE(prazo->DisplayTextAt(0, lk), QString("Forma 1"));
    // Follows the key while editing, and the list when it changes.
    prazo->Edit();
    prazo->FieldByName("FPG_CODIGO")->SetAsInteger(3);
    QCOMPARE(lk->AsString(), QString("Forma 3"));
    prazo->Cancel();
    formas->Close();
    formas->SQL.Clear();
    formas->SQL.Add("SELECT * FROM TB_FORMAPAGAMENTO");
    formas->Open();
    QCOMPARE(lk->AsString(), QString("Forma 2"));
    QCOMPARE(errorOf([&] { prazo->Edit(); lk->SetAsString("x"); }), QString("Field 'FORMAPAGAMENTO' cannot be modified"));
}

void TstDataSet::calculatedFieldPerRow() {
    MemoryTable t;
    t.AddFieldDef("END", FieldType::String, 100);
    t.AddFieldDef("COMPL", FieldType::String, 100);
    Field* full = t.AddCalculatedField("COMPLETO", FieldType::String, 200);
    t.OnCalcFields = [](DataSet& d) {
        const QString e = d.FieldByName("END")->AsString(), c = d.FieldByName("COMPL")->AsString();
        d.FieldByName("COMPLETO")->SetAsString(c.isEmpty() ? e : e + " - " + c);
    };
    t.CreateDataSet();
    const QList<QPair<QString, QString>> rows = {{"Rua A, 1", "ap 2"}, {"Rua B, 3", ""}};
    for (const auto& r : rows) {
        t.Append();
        t.FieldByName("END")->SetAsString(r.first);
        t.FieldByName("COMPL")->SetAsString(r.second);
        t.Post();
    }
    QCOMPARE(t.DisplayTextAt(0, full), QString("Rua A, 1 - ap 2"));
    QCOMPARE(t.DisplayTextAt(1, full), QString("Rua B, 3"));
    t.First();
    t.Edit();
    t.FieldByName("COMPL")->Clear();
    t.Post();
    QCOMPARE(full->AsString(), QString("Rua A, 1"));
}

void TstDataSet::locate_data() {
    QTest::addColumn<QString>("fields");
    QTest::addColumn<QVariant>("values");
    QTest::addColumn<int>("options");
    QTest::addColumn<int>("recNo");  // 0: not found
    QTest::newRow("integer far in the cursor") << "FUN_CODIGO" << QVariant(900) << 0 << 900;
    QTest::newRow("integer as text") << "FUN_CODIGO" << QVariant("7") << 0 << 7;
    QTest::newRow("text exact") << "FUN_NOME" << QVariant("Funcionário 12") << 0 << 12;
    QTest::newRow("text case differs") << "FUN_NOME" << QVariant("FUNCIONÁRIO 12") << 0 << 0;
    QTest::newRow("text case-insensitive") << "FUN_NOME" << QVariant("FUNCIONÁRIO 12") << int(CaseInsensitive) << 12;
    QTest::newRow("partial") << "FUN_NOME" << QVariant("funcionário 3") << int(CaseInsensitive | PartialKey) << 3;
    QTest::newRow("two fields") << "FUN_DIAANIVERSARIO;FUN_MESANIVERSARIO" << QVariant(QVariantList{5, 6}) << 0 << 36;
    QTest::newRow("null key") << "FUN_CARGO" << QVariant() << 0 << 1;
    QTest::newRow("missing") << "FUN_CODIGO" << QVariant(5000) << 0 << 0;
}

void TstDataSet::locate() {
    QFETCH(QString, fields);
    QFETCH(QVariant, values);
    QFETCH(int, options);
    QFETCH(int, recNo);
    TempDatabase db;
    db.attachment().executeImmediate("execute block as declare i integer = 1; begin while (i <= 1000) do begin "
            "insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME, FUN_DIAANIVERSARIO, FUN_MESANIVERSARIO) "
            "values (:i, 'Funcionário ' || :i, mod(:i, 31), mod(:i, 10)); i = i + 1; end end");
    auto q = query(db, "select * from TB_FUNCIONARIOS order by FUN_CODIGO");
    q->Open();
    q->Next();
    QCOMPARE(q->Locate(fields, values, options), recNo > 0);
    QCOMPARE(q->RecNo(), recNo > 0 ? recNo : 2);
}

void TstDataSet::paramsResetWhenSqlChanges() {
    TempDatabase db;
    db.exec("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (1, 'E')");
    db.exec("insert into TB_PROGRAMAS (PRG_CODIGO, PRG_NOME, EMI_CODIGO) values (1, 'P', 1)");
    db.exec("insert into TB_FUNCIONARIOS (FUN_CODIGO, FUN_NOME) values (1, 'F')");
    db.exec("insert into TB_LANCAMENTO (LAN_CODIGO, LAN_DATA, EMI_CODIGO, PRG_CODIGO, FUN_CODIGO) values (1, '2008-03-06', 1, 1, 1)");
    auto q = on<Query>(db, "Q_Busca");
    auto build = [&] {
        q->Close();
        q->SQL.Clear();
        q->SQL.Add("Select * from TB_Lancamento Lan");
        q->SQL.Add("");
        q->SQL.Add("Where 1 = 1 and Lan.Lan_Data = :Data");
    };
    build();
    QCOMPARE(q->ParamCount(), 1);
    q->ParamByName("DATA")->SetAsDate(QDate(2008, 3, 6));
    q->Open();
    QCOMPARE(q->RecordCount(), 1);
    build();  // the new text has an unset parameter: no rows
    q->Open();
    QVERIFY(q->IsEmpty());
    QCOMPARE(errorOf([&] { q->ParamByName("Nada"); }), QString("Parameter 'Nada' not found"));
    // A quote bound as a parameter needs no escaping.
    q->Close();
    q->SQL.Clear();
    q->SQL.Add("select count(*) as N from TB_LANCAMENTO where Upper(LAN_ASSUNTO) LIKE :T");
    q->ParamByName("T")->SetAsString("%D'ÁGUA%");
    q->Open();
    QCOMPARE(q->FieldByName("N")->AsInteger(), 0);
}

void TstDataSet::execSqlWithRepeatedParameter() {
    TempDatabase db;
    addPaymentForms(db, 5);
    auto q = query(db, "delete from TB_FORMAPAGAMENTO where FPG_CODIGO >= :C and FPG_CODIGO < :C + 2");
    q->ParamByName("C")->SetAsInteger(2);
    q->ExecSQL();
    QCOMPARE(q->RowsAffected(), 2);
    QCOMPARE(db.count("TB_FORMAPAGAMENTO"), 3);
    auto bad = query(db, "select * from TB_NADA");
    QVERIFY(errorOf([&] { bad->Open(); }).contains("TB_NADA"));
    QVERIFY(!bad->Active());
}

void TstDataSet::memoryTable() {
    MemoryTable t;
    t.setObjectName("DataSetInforme");
    t.AddFieldDef("LAN_DATA", FieldType::DateTime);
    t.AddFieldDef("EMI_NOME", FieldType::String, 20);
    t.AddFieldDef("LAN_ASSUNTO", FieldType::String, 1024);
    t.CreateDataSet();
    QVERIFY(t.IsEmpty());
    const QStringList stations = {"Rádio Educadora do Paraná FM", "TV", "Rádio Clube"};
    for (int i = 0; i < stations.size(); ++i) {
        t.Append();
        t.FieldByName("LAN_DATA")->SetAsDateTime(QDateTime(QDate(2008, 3, 5 - i), QTime(0, 0)));
        t.FieldByName("EMI_NOME")->SetAsString(stations[i]);
        t.FieldByName("LAN_ASSUNTO")->SetAsString(QString("Reunião %1").arg(i));
        t.Post();
    }
    // Rows keep the order they were added in; text is cut to the size.
    QCOMPARE(t.RecordCount(), 3);
    t.First();
    QCOMPARE(t.FieldByName("EMI_NOME")->AsString(), QString("Rádio Educadora do P"));
    QCOMPARE(t.FieldByName("LAN_DATA")->AsString(), QString("05/03/2008"));
    t.Next();
    t.Delete();
    QCOMPARE(t.FieldByName("EMI_NOME")->AsString(), QString("Rádio Clube"));
    QCOMPARE(t.RecordCount(), 2);
    t.EmptyDataSet();
    QVERIFY(t.IsEmpty());
    t.Append();
    t.FieldByName("EMI_NOME")->SetAsString("X");
    t.Post();
    t.Close();
    t.Open();
    QVERIFY(t.IsEmpty());  // closing discards the rows
}

void TstDataSet::cancelUpdatesRestoresRows() {
    TempDatabase db;
    addPaymentForms(db, 3);
    auto q = query(db, "select * from TB_FORMAPAGAMENTO order by FPG_CODIGO");
    q->CachedUpdates = true;  // in-memory edits only, as in a search result
    q->Open();
    q->Edit();
    q->FieldByName("FPG_DESCRICAO")->SetAsString("mudada");
    q->Post();
    q->Next();
    q->Delete();
    q->Append();
    q->FieldByName("FPG_CODIGO")->SetAsInteger(9);
    q->FieldByName("FPG_DESCRICAO")->SetAsString("nova");
    q->Post();
    QCOMPARE(q->RecordCount(), 3);
    QVERIFY(q->UpdatesPending());
    QVERIFY(errorOf([&] { q->ApplyUpdates(); }).contains("No update object"));
    q->CancelUpdates();
    QVERIFY(!q->UpdatesPending());
    QStringList rows;
    for (q->First(); !q->Eof(); q->Next()) rows << q->FieldByName("FPG_DESCRICAO")->AsString();
    QCOMPARE(rows.join(','), QString("Forma 1,Forma 2,Forma 3"));
    QCOMPARE(db.count("TB_FORMAPAGAMENTO"), 3);
}

void TstDataSet::insertPositionAndQuietControls() {
    MemoryTable t;
    t.AddFieldDef("V", FieldType::String, 5);
    t.CreateDataSet();
    DataSource src;
    src.SetDataSet(&t);
    int recordEvents = 0;
    src.OnDataChange = [&](DataSource&, Field* f) { if (!f) ++recordEvents; };
    auto add = [&](const char* v, bool append) {
        append ? t.Append() : t.Insert();
        t.FieldByName("V")->SetAsString(v);
        t.Post();
    };
    add("a", true);
    add("c", true);
    t.First();
    t.Next();
    add("b", false);  // before the current row
    QCOMPARE(t.RecNo(), 2);
    QStringList rows;
    for (t.First(); !t.Eof(); t.Next()) rows << t.FieldByName("V")->AsString();
    QCOMPARE(rows.join(','), QString("a,b,c"));
    // Walking a dataset with the controls quiet tells them once, at the end.
    recordEvents = 0;
    t.DisableControls();
    for (t.First(); !t.Eof(); t.Next()) {}
    QCOMPARE(recordEvents, 0);
    t.EnableControls();
    QCOMPARE(recordEvents, 1);
    // Moving away from an unposted edit posts it; an untouched new row goes.
    t.First();
    t.Edit();
    t.FieldByName("V")->SetAsString("A");
    t.Next();
    QCOMPARE(t.GetState(), State::Browse);
    t.First();
    QCOMPARE(t.FieldByName("V")->AsString(), QString("A"));
    t.Append();
    t.First();
    QCOMPARE(t.RecordCount(), 3);
}

QTEST_GUILESS_MAIN(TstDataSet)
#include "tst_dataset.moc"

#include "support/TempDatabase.h"

#include "platform/core/Exception.h"
#include "platform/data/DataSource.h"
#include "platform/data/EditMask.h"
#include "platform/data/Query.h"
#include "platform/data/TableDataset.h"
#include "platform/data/widgets/DBControls.h"
#include "platform/data/widgets/DBGrid.h"
#include "platform/data/widgets/DBSpeedButton.h"

#include <QApplication>
#include <QBuffer>
#include <QHeaderView>
#include <QImage>
#include <QPainter>
#include <QRadioButton>
#include <QTest>

using namespace dataset;
using testsupport::TempDatabase;

namespace {

// A memory table with rows "a", "b", "c" in field V (or none).
std::unique_ptr<MemoryTable> letters(int rows) {
    auto t = std::make_unique<MemoryTable>();
    t->setObjectName("T");
    t->AddFieldDef("V", FieldType::String, 10);
    t->AddFieldDef("N", FieldType::Integer);
    t->CreateDataSet();
    for (int i = 0; i < rows; ++i) {
        t->Append();
        t->FieldByName("V")->SetAsString(QString(QChar('a' + i)));
        t->Post();
    }
    if (rows) t->First();
    return t;
}

// Types text with accents, which QTest::keyClicks cannot.
void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
    }
}

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

class TstDataWidgets : public QObject {
    Q_OBJECT
private slots:
    void buttonPressSequence_data();
    void buttonPressSequence();
    void buttonEnabledStates_data();
    void buttonEnabledStates();
    void maskTranslation_data();
    void maskTranslation();
    void maskedEditStores_data();
    void maskedEditStores();
    void clickIntoEmptyMaskStartsAtFirstPosition();
    void editFollowsStateAndCase();
    void memoWritesBeforePost();
    void comboBoxListOnly();
    void lookupComboShowsNameAndMovesList();
    void checkBoxThreeStates();
    void radioGroupStoresValues();
    void imageFromBlob();
    void gridShowsFirstPageOfLargeResult();
    void gridRowIsDatasetCursor();
    void gridOwnerDrawnColumnReadsDrawnRow();
};

// ------------------------------------------------------------ button press

void TstDataWidgets::buttonPressSequence_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("escapes");  // kind of exception out of the press
    QTest::addColumn<int>("rows");         // rows of the dataset afterwards
    QTest::newRow("plain press") << "ok" << "click before op after(ok)" << "" << 2;
    QTest::newRow("click fails") << "clickAbort" << "click" << "EAbort" << 1;
    QTest::newRow("before-action cancels") << "beforeAbort" << "click before after(failed)" << "EAbort" << 1;
    QTest::newRow("before-action error") << "beforeError" << "click before after(failed)" << "EDatabaseError" << 1;
    QTest::newRow("operation fails") << "opFails" << "click before after(failed)" << "EDatabaseError" << 1;
    QTest::newRow("after-action clears failure") << "clear" << "click before after(failed)" << "" << 1;
}

void TstDataWidgets::buttonPressSequence() {
    QFETCH(QString, scenario);
    QFETCH(QString, log);
    QFETCH(QString, escapes);
    QFETCH(int, rows);
    auto t = letters(1);
    t->FieldByName("V")->Required = true;
    DataSource src;
    src.SetDataSet(t.get());
    t->Append();
    if (scenario != "opFails") t->FieldByName("V")->SetAsString("z");
    DBSpeedButton salvar(DBSpeedButton::Post);
    salvar.setObjectName("SBSalvar");
    salvar.SetDataSource(&src);
    QVERIFY(salvar.isEnabled());
    QStringList got;
    salvar.OnClick = [&](DBSpeedButton&) {
        got << "click";
        if (scenario == "clickAbort") clip::Abort();
    };
    salvar.BeforeAction = [&](DBSpeedButton&) {
        got << "before";
        if (scenario == "beforeAbort" || scenario == "clear") clip::Abort();
        if (scenario == "beforeError") throw clip::EDatabaseError("refused");
    };
    t->BeforePost = [&](DataSet&) { got << "op"; };
    salvar.AfterAction = [&](DBSpeedButton&, bool& failed) {
        got << (failed ? "after(failed)" : "after(ok)");
        if (scenario == "clear") failed = false;
    };
    QString kind;
    try {
        salvar.Press();
    } catch (const clip::Exception& e) {
        kind = e.className();
    }
    if (scenario == "opFails") got.removeAll("op");  // BeforePost ran, then the required check refused
    QCOMPARE(got.join(' '), log);
    QCOMPARE(kind, escapes);
    if (rows == 2) QCOMPARE(t->GetState(), State::Browse);
    else QCOMPARE(t->GetState(), State::Insert);
    t->Cancel();
    QCOMPARE(t->RecordCount(), rows);
}

// ------------------------------------------------------------ enabled rule

void TstDataWidgets::buttonEnabledStates_data() {
    QTest::addColumn<QString>("situation");
    // Enabled flags of: append post edit cancel delete first prior next last
    QTest::addColumn<QString>("enabled");
    QTest::newRow("closed") << "closed" << "---------";
    QTest::newRow("open empty") << "empty" << "A--------";
    QTest::newRow("just opened") << "open" << "A-E-D--NL";
    QTest::newRow("middle row") << "middle" << "A-E-DFPNL";
    QTest::newRow("moved to the end by next") << "lastByNext" << "A-E-DFPNL";
    QTest::newRow("tried past the end") << "pastEnd" << "A-E-DFP--";
    QTest::newRow("last") << "last" << "A-E-DFP--";
    QTest::newRow("back to the first by prior") << "firstByPrior" << "A-E-DFPNL";
    QTest::newRow("editing") << "edit" << "-P-C-----";
    QTest::newRow("inserting") << "insert" << "-P-C-----";
    QTest::newRow("read-only") << "readOnly" << "-------NL";
    QTest::newRow("single row") << "single" << "A-E-D--NL";
}

void TstDataWidgets::buttonEnabledStates() {
    QFETCH(QString, situation);
    QFETCH(QString, enabled);
    auto t = letters(situation == "empty" ? 0 : situation == "single" ? 1 : 3);
    DataSource src;
    src.SetDataSet(t.get());
    const QList<DBSpeedButton::Action> actions = {DBSpeedButton::Append, DBSpeedButton::Post,  DBSpeedButton::Edit,
                                                  DBSpeedButton::Cancel, DBSpeedButton::Delete, DBSpeedButton::First,
                                                  DBSpeedButton::Prior,  DBSpeedButton::Next,  DBSpeedButton::Last};
    std::vector<std::unique_ptr<DBSpeedButton>> buttons;
    for (auto a : actions) {
        buttons.push_back(std::make_unique<DBSpeedButton>(a));
        buttons.back()->SetDataSource(&src);
    }
    // Reaching the situation through the dataset re-evaluates the buttons.
    if (situation == "closed") t->Close();
    if (situation == "readOnly") {
        t->ReadOnly = true;
        t->First();
    }
    if (situation == "open") t->First();
    if (situation == "middle") t->Next();
    if (situation == "lastByNext") { t->Next(); t->Next(); }
    if (situation == "pastEnd") { t->Next(); t->Next(); t->Next(); }
    if (situation == "last") t->Last();
    if (situation == "firstByPrior") { t->Next(); t->Prior(); }
    if (situation == "edit") t->Edit();
    if (situation == "insert") t->Insert();
    if (situation == "single") t->First();
    QString got;
    const QString letters = "APECDFPNL";
    for (size_t i = 0; i < buttons.size(); ++i) got += buttons[i]->isEnabled() ? letters[int(i)] : QChar('-');
    QCOMPARE(got, enabled);
}

// ------------------------------------------------------------ masks

void TstDataWidgets::maskTranslation_data() {
    QTest::addColumn<QString>("spec");
    QTest::addColumn<QString>("qt");
    QTest::addColumn<bool>("store");
    QTest::newRow("date, optional century") << "!99/99/9900;1;_" << "00/00/0099;_" << true;
    QTest::newRow("cpf") << "999.999.999-99;1;_" << "000.000.000-00;_" << true;
    QTest::newRow("time") << "!90:00:00;1;_" << "09:99:99;_" << true;
    QTest::newRow("not stored") << "99.999-999;0;_" << "00.000-000;_" << false;
    QTest::newRow("letters and case") << ">LLl<a;1; " << ">AAa<n; " << true;
    QTest::newRow("escaped literal") << "\\A-00;1;_" << "\\A-99;_" << true;
}

void TstDataWidgets::maskTranslation() {
    QFETCH(QString, spec);
    QFETCH(QString, qt);
    QFETCH(bool, store);
    const EditMask m = EditMask::parse(spec);
    QCOMPARE(m.qtInputMask(), qt);
    QCOMPARE(m.storeLiterals, store);
}

void TstDataWidgets::maskedEditStores_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");  // AsString after the post, or the error fragment
    const int S = int(FieldType::String), D = int(FieldType::DateTime);
    QTest::newRow("cep") << "99.999-999;1;_" << S << "80010130" << "80.010-130";
    QTest::newRow("cpf") << "999.999.999-99;1;_" << S << "12345678901" << "123.456.789-01";
    QTest::newRow("cnpj") << "99.999.999/9999-99;1;_" << S << "12345678000199" << "12.345.678/0001-99";
    QTest::newRow("literals not stored") << "99.999-999;0;_" << S << "80010130" << "80010130";
    QTest::newRow("date four-digit year") << "!99/99/9900;1;_" << D << "05032008" << "05/03/2008";
    QTest::newRow("date two-digit year") << "!99/99/9900;1;_" << D << "050308" << "05/03/2008";
    QTest::newRow("date blank is null") << "!99/99/9900;1;_" << D << "" << "";
    QTest::newRow("date half typed") << "!99/99/9900;1;_" << D << "12" << "is not a valid date";
    QTest::newRow("time text") << "!90:00:00;1;_" << S << "143000" << "14:30:00";
    QTest::newRow("time text invalid") << "!90:00:00;1;_" << S << "996000" << "is not a valid time";
}

void TstDataWidgets::maskedEditStores() {
    QFETCH(QString, mask);
    QFETCH(int, type);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    MemoryTable t;
    t.AddFieldDef("F", FieldType(type), type == int(FieldType::String) ? 18 : 0);
    t.CreateDataSet();
    t.FieldByName("F")->EditMask = mask;
    DataSource src;
    src.SetDataSet(&t);
    DBEdit edit;
    edit.SetDataSource(&src);
    edit.SetDataField("F");
    edit.show();
    t.Append();
    edit.setFocus();
    edit.home(false);
    QTest::keyClicks(&edit, typed);
    const QString error = errorOf([&] { t.Post(); });
    if (stored.startsWith("is not")) {
        QVERIFY2(error.contains(stored), qPrintable(error));
        QCOMPARE(t.GetState(), State::Insert);  // the record stays open for input
        return;
    }
    QCOMPARE(error, QString());
    QCOMPARE(t.FieldByName("F")->AsString(), stored);
    // Shown again through the mask from the stored value.
    t.Edit();
    const EditMask m = EditMask::parse(mask);
    QCOMPARE(m.valueFromDisplay(edit.displayText()), type == int(FieldType::String) ? stored : t.FieldByName("F")->Text());
}

void TstDataWidgets::clickIntoEmptyMaskStartsAtFirstPosition() {
    MemoryTable t;
    t.AddFieldDef("D", FieldType::Date, 0);
    t.CreateDataSet();
    t.FieldByName("D")->EditMask = "!99/99/0099;1;_";
    DataSource src;
    src.SetDataSet(&t);
    DBEdit edit;
    edit.SetDataSource(&src);
    edit.SetDataField("D");
    edit.resize(200, 24);
    edit.show();
    t.Append();
    // A click far right of the blanks, then typing, as a user does.
    QTest::mouseClick(&edit, Qt::LeftButton, {}, QPoint(190, 12));
    QCOMPARE(edit.cursorPosition(), 0);
    QTest::keyClicks(&edit, "05032008");
    QCOMPARE(errorOf([&] { t.Post(); }), QString());
    QCOMPARE(t.FieldByName("D")->AsDateTime().date(), QDate(2008, 3, 5));
    // A box with something in it keeps the place clicked.
    t.Edit();
    QTest::mouseClick(&edit, Qt::LeftButton, {}, QPoint(190, 12));
    QCOMPARE(edit.cursorPosition(), int(edit.displayText().size()));
}

void TstDataWidgets::editFollowsStateAndCase() {
    auto t = letters(1);
    t->FieldByName("V")->Required = false;
    DataSource src;
    src.SetDataSet(t.get());
    DBEdit edit;
    edit.SetDataSource(&src);
    edit.SetDataField("V");
    edit.SetCharCase(CharCase::Upper);
    edit.show();
    edit.setFocus();
    QCOMPARE(edit.text(), QString("a"));
    QVERIFY(edit.isReadOnly());
    QTest::keyClicks(&edit, "xyz");
    QCOMPARE(edit.text(), QString("a"));  // browsing: typing changes nothing
    QCOMPARE(t->GetState(), State::Browse);

    src.AutoEdit = true;  // where a screen asks for it, typing starts the edit
    edit.end(false);
    typeText(&edit, "çã");
    QCOMPARE(t->GetState(), State::Edit);
    QCOMPARE(edit.text(), QString("AÇÃ"));
    QCOMPARE(edit.maxLength(), 10);
    t->Post();
    QCOMPARE(t->FieldByName("V")->AsString(), QString("AÇÃ"));

    // Another row scrolled in shows its value; a cancelled edit restores.
    t->Append();
    QCOMPARE(edit.text(), QString());
    t->FieldByName("V")->SetAsString("novo");
    QCOMPARE(edit.text(), QString("novo"));
    t->Cancel();
    QCOMPARE(edit.text(), QString("AÇÃ"));
}

void TstDataWidgets::memoWritesBeforePost() {
    auto t = letters(1);
    DataSource src;
    src.SetDataSet(t.get());
    DBMemo memo;
    memo.SetDataSource(&src);
    memo.SetDataField("V");
    memo.show();
    QVERIFY(memo.isReadOnly());
    t->Edit();
    QVERIFY(!memo.isReadOnly());
    memo.setFocus();
    memo.selectAll();
    typeText(&memo, "reunião");
    t->Post();  // the post asks the control for its text first
    QCOMPARE(t->FieldByName("V")->AsString(), QString("reunião"));
    QVERIFY(memo.isReadOnly());
}

void TstDataWidgets::comboBoxListOnly() {
    auto t = letters(1);
    DataSource src;
    src.SetDataSet(t.get());
    DBComboBox uf;
    uf.SetItems({"AC", "PR", "SP"});
    uf.SetDataSource(&src);
    uf.SetDataField("V");
    uf.show();
    QCOMPARE(uf.currentIndex(), -1);  // "a" is not in the list
    t->Edit();
    uf.setFocus();
    QTest::keyClick(&uf, Qt::Key_Down);
    QCOMPARE(t->FieldByName("V")->AsString(), uf.currentText());
    t->Post();
    t->Edit();
    t->FieldByName("V")->SetAsString("SP");
    QCOMPARE(uf.currentText(), QString("SP"));
    t->Cancel();
    // In browse the box does not change the value.
    QTest::keyClick(&uf, Qt::Key_Down);
    QCOMPARE(t->GetState(), State::Browse);
    QCOMPARE(t->FieldByName("V")->AsString(), uf.currentText());
}

void TstDataWidgets::lookupComboShowsNameAndMovesList() {
    TempDatabase db;
    for (int i = 1; i <= 3; ++i)
        db.exec(QString("insert into TB_EMISSORAS (EMI_CODIGO, EMI_NOME) values (%1, 'Emissora %1')").arg(i));
    Query emissoras;
    emissoras.SetTransaction(&db.transaction());
    emissoras.SQL.Add("SELECT EMI_CODIGO, EMI_NOME FROM TB_EMISSORAS order by EMI_CODIGO");
    DataSource dsEmissoras;
    dsEmissoras.SetDataSet(&emissoras);
    MemoryTable lan;
    lan.AddFieldDef("EMI_CODIGO", FieldType::Integer);
    lan.CreateDataSet();
    DataSource dsLan;
    dsLan.SetDataSet(&lan);
    DBLookupComboBox box;
    box.SetDataSource(&dsLan);
    box.SetDataField("EMI_CODIGO");
    box.SetListSource(&dsEmissoras);
    box.SetKeyField("EMI_CODIGO");
    box.SetListField("EMI_NOME");
    emissoras.Open();
    QCOMPARE(box.count(), 3);
    lan.Append();
    lan.FieldByName("EMI_CODIGO")->SetAsInteger(2);
    QCOMPARE(box.Text(), QString("Emissora 2"));
    QCOMPARE(emissoras.RecNo(), 2);  // the list follows the key
    lan.FieldByName("EMI_CODIGO")->SetAsInteger(7);
    QCOMPARE(box.currentIndex(), -1);
    QCOMPARE(box.Text(), QString());
    int closeUps = 0;
    QString currentAtCloseUp;
    box.OnCloseUp = [&](DBLookupComboBox&) {
        ++closeUps;
        currentAtCloseUp = emissoras.FieldByName("EMI_NOME")->AsString();
    };
    box.show();
    box.showPopup();
    box.setCurrentIndex(2);
    box.hidePopup();
    QCOMPARE(closeUps, 1);
    QCOMPARE(lan.FieldByName("EMI_CODIGO")->AsInteger(), 3);
    QCOMPARE(currentAtCloseUp, QString("Emissora 3"));
    lan.Post();
    lan.Edit();
    lan.FieldByName("EMI_CODIGO")->Clear();
    QCOMPARE(box.Text(), QString());
}

void TstDataWidgets::checkBoxThreeStates() {
    MemoryTable t;
    t.AddFieldDef("PED_PAGO", FieldType::Integer);
    t.CreateDataSet();
    DataSource src;
    src.SetDataSet(&t);
    DBCheckBox pago;
    pago.SetDataSource(&src);
    pago.SetDataField("PED_PAGO");
    pago.show();
    t.Append();
    QCOMPARE(pago.checkState(), Qt::PartiallyChecked);
    pago.click();
    QCOMPARE(pago.checkState(), Qt::Checked);
    QCOMPARE(t.FieldByName("PED_PAGO")->AsInteger(), 1);
    pago.click();
    QCOMPARE(t.FieldByName("PED_PAGO")->AsString(), QString("0"));
    QCOMPARE(pago.checkState(), Qt::Unchecked);
    t.Post();
    pago.click();  // browsing: no change
    QCOMPARE(t.FieldByName("PED_PAGO")->AsInteger(), 0);
    QCOMPARE(pago.checkState(), Qt::Unchecked);
}

void TstDataWidgets::radioGroupStoresValues() {
    MemoryTable t;
    t.AddFieldDef("LAN_TIPO", FieldType::String, 1);
    t.CreateDataSet();
    DataSource src;
    src.SetDataSet(&t);
    DBRadioGroup tipo;
    tipo.SetItems({"Áudio", "Vídeo"}, {"A", "V"});
    tipo.SetColumns(2);
    tipo.SetDataSource(&src);
    tipo.SetDataField("LAN_TIPO");
    tipo.show();
    t.Append();
    QCOMPARE(tipo.ItemIndex(), -1);
    tipo.Button(1)->click();
    QCOMPARE(t.FieldByName("LAN_TIPO")->AsString(), QString("V"));
    t.FieldByName("LAN_TIPO")->SetAsString("A");
    QCOMPARE(tipo.ItemIndex(), 0);
    t.FieldByName("LAN_TIPO")->SetAsString("X");
    QCOMPARE(tipo.ItemIndex(), -1);
    t.Post();
    tipo.Button(0)->click();  // browsing
    QCOMPARE(t.FieldByName("LAN_TIPO")->AsString(), QString("X"));
    QCOMPARE(tipo.ItemIndex(), -1);
}

void TstDataWidgets::imageFromBlob() {
    TempDatabase db;
    QImage img(8, 4, QImage::Format_RGB32);
    img.fill(Qt::red);
    QByteArray png;
    QBuffer buf(&png);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, "PNG");
    TableDataset emp;
    emp.SetTransaction(&db.transaction());
    emp.TableName = "TB_EMPRESA";
    DataSource src;
    src.SetDataSet(&emp);
    DBImage logo;
    logo.SetDataSource(&src);
    logo.SetDataField("EMP_PATHLOGO");
    emp.Open();
    emp.Append();
    emp.FieldByName("EMP_CODIGO")->SetAsInteger(1);
    emp.FieldByName("EMP_NOME")->SetAsString("Empresa");
    logo.LoadPicture(png);
    emp.Post();
    QVERIFY(logo.HasPicture());
    QCOMPARE(db.scalar("select EMP_PATHLOGO from TB_EMPRESA").toByteArray(), png);
    emp.Close();
    QVERIFY(!logo.HasPicture());
    emp.Open();
    QVERIFY(logo.HasPicture());
}

// ------------------------------------------------------------ grid

void TstDataWidgets::gridShowsFirstPageOfLargeResult() {
    TempDatabase db;
    db.attachment().executeImmediate(
        "execute block as declare i integer = 1; begin while (i <= 200000) do begin "
        "insert into TB_FORMAPAGAMENTO (FPG_CODIGO, FPG_DESCRICAO) values (:i, 'Forma ' || :i); "
        "i = i + 1; end end");
    Query q;
    q.SetTransaction(&db.transaction());
    q.SQL.Add("SELECT * FROM TB_FORMAPAGAMENTO order by FPG_CODIGO");
    DataSource src;
    src.SetDataSet(&q);
    DBGrid grid;
    grid.SetDataSource(&src);
    grid.SetRowSelect(true);
    grid.SetColumns({{"FPG_CODIGO", "Código"}, {"FPG_DESCRICAO", "Descrição"}});
    grid.resize(400, 300);
    grid.show();
    DBGrid plain;  // no columns given: one per field
    plain.SetDataSource(&src);
    plain.resize(400, 300);
    plain.show();
    q.Open();
    QCoreApplication::processEvents();
    QTest::qWait(50);
    QVERIFY(grid.Model()->rowCount() >= 10);
    QVERIFY2(q.BufferedCount() < 1000, qPrintable(QString::number(q.BufferedCount())));
    QVERIFY(!q.AllFetched());
    QCOMPARE(grid.Model()->index(0, 1).data().toString(), QString("Forma 1"));
    QCOMPARE(grid.Model()->headerData(1, Qt::Horizontal).toString(), QString("Descrição"));
    QCOMPARE(grid.currentIndex().row(), 0);
    QCOMPARE(plain.Model()->columnCount(), 2);
    QCOMPARE(plain.Model()->headerData(0, Qt::Horizontal).toString(), QString("FPG_CODIGO"));
    QVERIFY(plain.Model()->rowCount() >= 10);
    // Scrolling down reads more; Last reads the rest.
    grid.scrollToBottom();
    QCoreApplication::processEvents();
    QVERIFY(q.BufferedCount() > grid.Model()->FetchBatch);
    q.Last();
    QCOMPARE(grid.Model()->rowCount(), 200000);
    QCOMPARE(grid.currentIndex().row(), 199999);
}

void TstDataWidgets::gridRowIsDatasetCursor() {
    auto t = letters(3);
    DataSource src;
    src.SetDataSet(t.get());
    DBGrid grid;
    grid.SetDataSource(&src);
    grid.SetRowSelect(true);
    grid.SetColumns({{"V", "Letra"}});
    grid.resize(200, 200);
    grid.show();
    QList<int> titleClicks, cellClicks;
    grid.OnTitleClick = [&](DBGrid&, int c) { titleClicks << c; };
    grid.OnCellClick = [&](DBGrid&, int c) { cellClicks << t->RecNo() * 10 + c; };
    QCOMPARE(grid.currentIndex().row(), 0);
    t->Next();
    QCOMPARE(grid.currentIndex().row(), 1);
    const QRect r = grid.visualRect(grid.Model()->index(2, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(t->RecNo(), 3);
    QCOMPARE(t->FieldByName("V")->AsString(), QString("c"));
    QCOMPARE(cellClicks, QList<int>{30});  // the row moved before the click handler
    QTest::mouseClick(grid.horizontalHeader()->viewport(), Qt::LeftButton, {},
                      QPoint(grid.horizontalHeader()->sectionPosition(0) + 5, 5));
    QCOMPARE(titleClicks, QList<int>{0});
    // Editing shows in the grid row; deleting removes it.
    t->Edit();
    t->FieldByName("V")->SetAsString("z");
    QCOMPARE(grid.Model()->index(2, 0).data().toString(), QString("z"));
    t->Post();
    t->Delete();
    QCOMPARE(grid.Model()->rowCount(), 2);
    QCOMPARE(grid.currentIndex().row(), 1);
}

void TstDataWidgets::gridOwnerDrawnColumnReadsDrawnRow() {
    auto t = std::make_unique<MemoryTable>();
    t->AddFieldDef("LAN_CHECKED", FieldType::String, 1);
    t->AddFieldDef("LAN_HORA", FieldType::String, 8);
    t->CreateDataSet();
    const QStringList marks = {"0", "1", "0", "1"};
    for (int i = 0; i < marks.size(); ++i) {
        t->Append();
        t->FieldByName("LAN_CHECKED")->SetAsString(marks[i]);
        t->FieldByName("LAN_HORA")->SetAsString(QString("1%1:00:00").arg(i));
        t->Post();
    }
    t->First();
    DataSource src;
    src.SetDataSet(t.get());
    DBGrid grid;
    grid.SetDataSource(&src);
    grid.SetColumns({{"LAN_CHECKED", " "}, {"LAN_HORA", "Horário"}});
    grid.resize(300, 200);
    QMap<QString, QString> drawn;  // hour of the drawn row -> mark
    grid.OnDrawColumnCell = [&](QPainter& p, const QRect& rect, int column, Field* f, bool) {
        if (column != 0) return;
        p.fillRect(rect, f->AsString() == "1" ? Qt::black : Qt::white);
        drawn[t->FieldByName("LAN_HORA")->AsString()] = f->AsString();
    };
    grid.DefaultDrawing = false;
    const QImage shot = grid.grab().toImage();
    QCOMPARE(drawn.size(), 4);
    for (int i = 0; i < marks.size(); ++i) QCOMPARE(drawn.value(QString("1%1:00:00").arg(i)), marks[i]);
    QCOMPARE(t->RecNo(), 1);  // drawing did not move the cursor
    const QPoint inMarked = grid.viewport()->mapTo(&grid, grid.visualRect(grid.Model()->index(1, 0)).center());
    QCOMPARE(QColor(shot.pixel(inMarked)), QColor(Qt::black));
}

QTEST_MAIN(TstDataWidgets)
#include "tst_datawidgets.moc"

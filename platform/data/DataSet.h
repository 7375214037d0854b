#pragma once

#include "platform/data/Field.h"
#include "platform/firebird/Statement.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace fb { class Transaction; }

namespace dataset {

class DataSource;

enum class State { Inactive, Browse, Edit, Insert, CalcFields };
enum class UpdateStatus : unsigned char { Unmodified, Modified, Inserted, Deleted };

// Options of Locate.
enum LocateOption { NoOptions = 0, CaseInsensitive = 1, PartialKey = 2 };
using LocateOptions = int;

// The transaction every dataset uses unless it is given its own.
void SetDefaultTransaction(fb::Transaction* transaction);
fb::Transaction* DefaultTransaction();

// Lines of SQL text, built line by line; a change tells the owner.
class StringList {
public:
    void Clear();
    void Add(const QString& line);
    void Insert(int index, const QString& line);
    void Delete(int index);
    int Count() const { return int(lines_.size()); }
    const QString& operator[](int i) const { return lines_[i]; }
    QString Strings(int i) const { return lines_.value(i); }
    void SetStrings(int i, const QString& line);
    QString Text() const;              // lines joined by "\r\n" after each
    void SetText(const QString& text); // split at line ends
    const QStringList& Lines() const { return lines_; }
    StringList& operator=(const QStringList& lines);

    std::function<void()> OnChange;

private:
    void changed() { if (OnChange) OnChange(); }
    QStringList lines_;
};

// A named statement parameter.
class Param {
public:
    explicit Param(QString name) : name_(std::move(name)) {}
    const QString& Name() const { return name_; }
    const QVariant& Value() const { return value_; }
    void SetValue(const QVariant& v) { value_ = v; }
    bool IsNull() const { return value_.isNull(); }
    void Clear() { value_ = QVariant(); }
    void SetAsString(const QString& v) { value_ = v; }
    void SetAsInteger(qint64 v) { value_ = (v >= INT32_MIN && v <= INT32_MAX) ? QVariant(int(v)) : QVariant(v); }
    void SetAsFloat(double v) { value_ = v; }
    void SetAsDateTime(const QDateTime& v) { value_ = v.isValid() ? QVariant(v) : QVariant(); }
    void SetAsDate(const QDate& v) { value_ = v.isValid() ? QVariant(v.startOfDay()) : QVariant(); }
    QString AsString() const { return value_.toString(); }
    int AsInteger() const { return value_.toInt(); }

private:
    QString name_;
    QVariant value_;
};

class Params {
public:
    int Count() const { return int(params_.size()); }
    Param* Items(int i) { return params_[size_t(i)].get(); }
    Param* FindParam(const QString& name) const;
    Param* ParamByName(const QString& name) const;  // throws EDatabaseError when missing
    // Rebuilds the list from the statement's ":NAME" markers; values of
    // names that stay are kept only when keepValues is true.
    void Parse(const QString& sql, bool keepValues);
    void Clear() { params_.clear(); }

private:
    std::vector<std::unique_ptr<Param>> params_;
};

// Receives row-level changes of a dataset's buffer (the grid model).
class DataSetObserver {
public:
    virtual ~DataSetObserver() = default;
    virtual void rowsAboutToBeInserted(int first, int last) = 0;
    virtual void rowsInserted() = 0;
    virtual void rowsAboutToBeRemoved(int first, int last) = 0;
    virtual void rowsRemoved() = 0;
    virtual void aboutToReset() = 0;
    virtual void reset() = 0;
    virtual void rowChanged(int row) = 0;
    virtual void currentChanged(int row) = 0;
};

// One buffered row: a value per storage slot, plus the cached-update state
// for rows that changed since they were read or applied.
struct Record {
    struct Pending {
        UpdateStatus status = UpdateStatus::Unmodified;
        quint64 seq = 0;
        fb::Row old;        // values as read or last applied
        int deletedAt = -1; // buffer position of a deleted row
    };
    fb::Row values;
    std::unique_ptr<Pending> pending;
};

// The dataset base: a buffer of rows read on demand from a cursor, the
// current-record cursor with its Bof/Eof indicators, the states Inactive,
// Browse, Edit and Insert, fields, events, cached updates and the links to
// data sources. Query, TableDataset and MemoryTable supply the cursor and
// the writes.
//
// Events are assignable; a clip::EAbort thrown in a Before* event cancels
// the operation and propagates (silently handled by the application).
class DataSet : public QObject {
    Q_OBJECT
public:
    using Event = std::function<void(DataSet&)>;

    explicit DataSet(QObject* parent = nullptr);
    ~DataSet() override;

    // Connection.
    void SetTransaction(fb::Transaction* transaction) { transaction_ = transaction; }
    fb::Transaction* Transaction() const;   // own, else the process default

    // Opening and closing.
    void Open();
    void Close();
    bool Active() const { return state_ != State::Inactive; }
    void SetActive(bool active) { active ? Open() : Close(); }
    void Refresh();  // close and reopen, staying on the same row number when possible

    // Navigation.
    void First();
    void Prior();
    void Next();
    void Last();
    int MoveBy(int distance);
    bool Bof() const { return bof_; }
    bool Eof() const { return eof_; }
    bool IsEmpty() const;
    int RecordCount();              // reads every row
    int RecNo() const;              // 1-based, 0 when empty
    void SetRecNo(int recNo);
    bool Locate(const QString& keyFields, const QVariant& keyValues, LocateOptions options = NoOptions);
    // Value(s) of resultFields on the row whose keyFields match, without
    // moving the cursor; null when none.
    QVariant Lookup(const QString& keyFields, const QVariant& keyValues, const QString& resultFields);
    void FetchAll();

    // Editing.
    void Append();
    void Insert();
    void Edit();
    void Post();
    void Cancel();
    void Delete();
    void CheckBrowseMode();   // posts a modified edit, cancels an unmodified one
    void UpdateRecord();      // asks the bound controls to write their text
    State GetState() const { return state_; }
    bool Modified() const { return modified_; }
    bool IsEditing() const { return state_ == State::Edit || state_ == State::Insert; }
    virtual bool CanModify() const;
    bool ReadOnly = false;

    // Cached updates: a post or delete only marks the row; ApplyUpdates
    // writes every pending row in the order of change. A row whose write
    // fails stays pending and the error propagates.
    bool CachedUpdates = false;
    void ApplyUpdates();
    void CommitUpdates();     // forgets the pending marks
    void CancelUpdates();     // restores rows as last read or applied
    bool UpdatesPending() const;
    UpdateStatus RecordUpdateStatus() const;

    // Key filled from a generator when a new row is begun.
    void SetGeneratorField(const QString& field, const QString& generator, int incrementBy = 1);
    QString GeneratorFieldName() const { return genField_; }

    // Re-read the row from the database after it is written.
    bool ForcedRefresh = false;

    // Fields.
    Field* FieldByName(const QString& name) const;   // throws EDatabaseError "Field 'X' not found"
    Field* FindField(const QString& name) const;
    int FieldCount() const { return int(fields_.size()); }
    Field* Fields(int i) const { return fields_[size_t(i)].get(); }
    // Fields made before Open keep their settings across every Open.
    Field* DefineField(const QString& name, FieldType type = FieldType::Unknown, int size = 0);
    Field* AddCalculatedField(const QString& name, FieldType type, int size = 0);
    Field* AddLookupField(const QString& name, const QString& keyFields, DataSet* lookupDataSet,
                          const QString& lookupKeyFields, const QString& lookupResultField,
                          FieldType type = FieldType::String, int size = 0);
    QVariant FieldValues(const QString& names) const;  // one value, or a list for "A;B"

    // Controls.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // Events.
    Event BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    Event BeforeInsert, AfterInsert, OnNewRecord;
    Event BeforeEdit, AfterEdit;
    Event BeforePost, AfterPost;
    Event BeforeCancel, AfterCancel;
    Event BeforeDelete, AfterDelete;
    Event BeforeScroll, AfterScroll;
    Event OnCalcFields;
    Event OnStateChange;

    // Buffer access for grids and reports (0-based rows, no cursor move).
    int BufferedCount() const { return int(records_.size()); }
    bool AllFetched() const { return allFetched_; }
    int FetchMore(int count);   // reads up to count further rows; returns how many
    int CurrentRow() const { return cur_; }
    void MoveToRow(int row);    // like SetRecNo(row + 1)
    QVariant ValueAt(int row, const Field* field) const;
    // Value of a data or calculated field in a row of values (update statements).
    QVariant RowValue(const fb::Row& values, const Field* field) const;
    QString DisplayTextAt(int row, const Field* field) const;
    // While alive, fields read the given buffered row (drawing a cell).
    class RowScope {
    public:
        RowScope(DataSet& ds, int row);
        ~RowScope();
        RowScope(const RowScope&) = delete;
        RowScope& operator=(const RowScope&) = delete;
    private:
        DataSet& ds_;
        int saved_;
    };

    void addObserver(DataSetObserver* o);
    void removeObserver(DataSetObserver* o);
    // Increases whenever rows, values or the open state change.
    quint64 Version() const { return version_; }

protected:
    // Supplied by the kinds of dataset.
    virtual void openCursor() = 0;                       // prepare, fill params, open
    virtual bool fetchRow(fb::Row& row) { (void)row; return false; }
    virtual void closeCursor() {}
    virtual void writeRecord(UpdateStatus kind, const fb::Row& values, const fb::Row& old) = 0;
    virtual bool refreshRecord(fb::Row& values) { (void)values; return false; }
    virtual void afterNewRecord() {}  // master link values of a detail table
    virtual bool writesImmediately() const { return !CachedUpdates; }

    // Fields from the cursor's columns: matched by name with the defined
    // ones, created for the others.
    void bindColumns(const std::vector<fb::Column>& columns);
    void bindDefinedFieldsOnly();   // for datasets without a cursor
    void notifyDataSetChanged();
    void bumpVersion() { ++version_; }
    std::vector<Record>& records() { return records_; }
    int slotCount() const { return slotCount_; }
    static int fieldSlot(const Field* f) { return f->slot_; }
    static int fieldColumn(const Field* f) { return f->column_; }

    // Master link (detail datasets).
    void setMasterSource(DataSource* source);
    DataSource* masterSource() const;
    virtual void masterChanged() {}

private:
    friend class Field;
    friend class DataSource;

    QVariant currentValue(const Field& f) const;
    qint64 nextGeneratorValue();
    void setCurrentValue(Field& f, const QVariant& v);
    QVariant lookupValue(const Field& f, const fb::Row* values) const;
    QVariant readSlot(const Field& f, int row) const;
    const fb::Row* rowValues(int row) const;

    void checkActive() const;
    void checkEditing() const;
    void setState(State s);
    void beginInsert(bool append);
    void moveTo(int row, bool fireScroll = true);
    bool fetchNext();
    int fetchBatch(int count);
    void calcRecord(fb::Row& values);
    void checkRequired() const;
    void markPending(Record& r, UpdateStatus s);
    void applyRecord(Record& r, UpdateStatus kind);
    void restoreDeleted(size_t index);
    void clearBuffer();
    void dataEvent(int kind, Field* field = nullptr);
    void fire(const Event& e) { if (e) e(*this); }

    fb::Transaction* transaction_ = nullptr;
    State state_ = State::Inactive;
    std::vector<std::unique_ptr<Field>> fields_;
    int slotCount_ = 0;
    int dataSlots_ = 0;
    std::vector<Record> records_;
    std::vector<Record> deleted_;
    fb::Row editBuf_;
    int cur_ = -1;
    int readRow_ = -1;            // RowScope override
    fb::Row* calcTarget_ = nullptr;
    int insertReturn_ = -1;       // row current before an insert
    bool bof_ = true, eof_ = true;
    bool modified_ = false;
    bool allFetched_ = true;
    quint64 seq_ = 0;
    quint64 version_ = 0;
    int disableCount_ = 0;
    bool pendingDataEvent_ = false;
    QString genField_, genName_;
    int genIncrement_ = 1;
    QList<DataSource*> sources_;
    QList<DataSetObserver*> observers_;
    QPointer<DataSource> master_;
    QMetaObject::Connection masterConn_;
};

} // namespace dataset

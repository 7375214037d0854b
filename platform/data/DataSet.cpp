#include "DataSet.h"
#include "DataSource.h"

#include "platform/core/Exception.h"
#include "platform/firebird/Statement.h"
#include "platform/firebird/Transaction.h"

#include <QSet>
#include <algorithm>

namespace dataset {

namespace {

fb::Transaction* g_defaultTransaction = nullptr;

[[noreturn]] void dbError(const QString& text) { throw clip::EDatabaseError(text); }

FieldType fieldType(fb::ColumnType t) {
    switch (t) {
    case fb::ColumnType::Integer:
    case fb::ColumnType::SmallInt: return FieldType::Integer;
    case fb::ColumnType::BigInt: return FieldType::LargeInt;
    case fb::ColumnType::Double:
    case fb::ColumnType::Float: return FieldType::Float;
    case fb::ColumnType::Char:
    case fb::ColumnType::VarChar: return FieldType::String;
    case fb::ColumnType::Timestamp: return FieldType::DateTime;
    case fb::ColumnType::Date: return FieldType::Date;
    case fb::ColumnType::Time: return FieldType::Time;
    case fb::ColumnType::TextBlob: return FieldType::Memo;
    case fb::ColumnType::BinaryBlob: return FieldType::Blob;
    case fb::ColumnType::Boolean: return FieldType::Boolean;
    case fb::ColumnType::Other: return FieldType::Unknown;
    }
    return FieldType::Unknown;
}

QStringList splitNames(const QString& names) {
    QStringList out;
    for (const QString& n : names.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!n.trimmed().isEmpty()) out << n.trimmed();
    return out;
}

bool isNumber(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Int: case QMetaType::LongLong: case QMetaType::Double: case QMetaType::Float:
    case QMetaType::Short: case QMetaType::UInt: case QMetaType::ULongLong: case QMetaType::Long:
        return true;
    default: return false;
    }
}

bool isDate(const QVariant& v) {
    return v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate;
}

// Restores a value when leaving the scope (exception-safe temporary state).
template <typename T>
struct Restore {
    T& ref;
    T saved;
    Restore(T& r, T v) : ref(r), saved(r) { ref = v; }
    ~Restore() { ref = saved; }
};

} // namespace

void SetDefaultTransaction(fb::Transaction* transaction) { g_defaultTransaction = transaction; }
fb::Transaction* DefaultTransaction() { return g_defaultTransaction; }

// ---------------------------------------------------------------- StringList

void StringList::Clear() {
    if (lines_.isEmpty()) { changed(); return; }
    lines_.clear();
    changed();
}
void StringList::Add(const QString& line) { lines_.append(line); changed(); }
void StringList::Insert(int index, const QString& line) { lines_.insert(index, line); changed(); }
void StringList::Delete(int index) { lines_.removeAt(index); changed(); }
void StringList::SetStrings(int i, const QString& line) { lines_[i] = line; changed(); }

QString StringList::Text() const {
    QString s;
    for (const QString& l : lines_) { s += l; s += QLatin1String("\r\n"); }
    return s;
}

void StringList::SetText(const QString& text) {
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines_ = t.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty()) lines_.removeLast();
    changed();
}

StringList& StringList::operator=(const QStringList& lines) { lines_ = lines; changed(); return *this; }

// ---------------------------------------------------------------- Params

Param* Params::FindParam(const QString& name) const {
    for (const auto& p : params_)
        if (p->Name().compare(name, Qt::CaseInsensitive) == 0) return p.get();
    return nullptr;
}

Param* Params::ParamByName(const QString& name) const {
    if (Param* p = FindParam(name)) return p;
    dbError(QStringLiteral("Parameter '%1' not found").arg(name));
}

void Params::Parse(const QString& sql, bool keepValues) {
    std::vector<QString> positions;
    fb::translateParams(sql, positions);
    std::vector<std::unique_ptr<Param>> next;
    for (const QString& n : positions) {
        if (n.isEmpty()) continue;
        bool seen = false;
        for (const auto& p : next) if (p->Name() == n) { seen = true; break; }
        if (seen) continue;
        auto p = std::make_unique<Param>(n);
        if (keepValues)
            if (Param* old = FindParam(n)) p->SetValue(old->Value());
        next.push_back(std::move(p));
    }
    params_ = std::move(next);
}

// ---------------------------------------------------------------- DataSet

DataSet::DataSet(QObject* parent) : QObject(parent) {}

DataSet::~DataSet() {
    for (DataSource* s : sources_) s->dataSet_ = nullptr;
    if (masterConn_) disconnect(masterConn_);
}

fb::Transaction* DataSet::Transaction() const { return transaction_ ? transaction_ : g_defaultTransaction; }

void DataSet::checkActive() const {
    if (!Active()) dbError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void DataSet::checkEditing() const {
    if (!IsEditing()) dbError(QStringLiteral("Dataset not in edit or insert mode"));
}

bool DataSet::CanModify() const { return !ReadOnly; }

void DataSet::setState(State s) {
    if (state_ == s) return;
    state_ = s;
    fire(OnStateChange);
    dataEvent(EvState);
}

void DataSet::dataEvent(int kind, Field* field) {
    if (disableCount_ > 0 && kind != EvUpdateRecord) {
        pendingDataEvent_ = true;
        return;
    }
    const QList<DataSource*> sources = sources_;
    for (DataSource* s : sources)
        if (s->Enabled && sources_.contains(s)) s->notify(kind, field);
}

void DataSet::DisableControls() { ++disableCount_; }

void DataSet::EnableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ == 0 && pendingDataEvent_) {
        pendingDataEvent_ = false;
        dataEvent(EvState);
        dataEvent(EvRecord);
        for (DataSetObserver* o : observers_) o->currentChanged(cur_);
    }
}

void DataSet::addObserver(DataSetObserver* o) { if (!observers_.contains(o)) observers_.append(o); }
void DataSet::removeObserver(DataSetObserver* o) { observers_.removeAll(o); }

void DataSet::notifyDataSetChanged() {
    bumpVersion();
    dataEvent(EvRecord);
}

// Fields ---------------------------------------------------------------

Field* DataSet::FindField(const QString& name) const {
    for (const auto& f : fields_)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0) return f.get();
    return nullptr;
}

Field* DataSet::FieldByName(const QString& name) const {
    if (Field* f = FindField(name)) return f;
    dbError(QStringLiteral("Field '%1' not found").arg(name));
}

Field* DataSet::DefineField(const QString& name, FieldType type, int size) {
    if (Field* f = FindField(name)) {
        f->defined_ = true;
        if (type != FieldType::Unknown && !Active()) { f->type_ = type; f->size_ = size; }
        return f;
    }
    if (Active()) dbError(QStringLiteral("Cannot perform this operation on an open dataset"));
    auto f = std::make_unique<Field>(this, name, type, size, FieldKind::Data);
    f->defined_ = true;
    fields_.push_back(std::move(f));
    return fields_.back().get();
}

Field* DataSet::AddCalculatedField(const QString& name, FieldType type, int size) {
    if (Active()) dbError(QStringLiteral("Cannot perform this operation on an open dataset"));
    auto f = std::make_unique<Field>(this, name, type, size, FieldKind::Calculated);
    f->defined_ = true;
    fields_.push_back(std::move(f));
    return fields_.back().get();
}

Field* DataSet::AddLookupField(const QString& name, const QString& keyFields, DataSet* lookupDataSet,
                               const QString& lookupKeyFields, const QString& lookupResultField, FieldType type,
                               int size) {
    if (Active()) dbError(QStringLiteral("Cannot perform this operation on an open dataset"));
    auto f = std::make_unique<Field>(this, name, type, size, FieldKind::Lookup);
    f->defined_ = true;
    f->KeyFields = keyFields;
    f->LookupDataSet = lookupDataSet;
    f->LookupKeyFields = lookupKeyFields;
    f->LookupResultField = lookupResultField;
    fields_.push_back(std::move(f));
    return fields_.back().get();
}

void DataSet::bindColumns(const std::vector<fb::Column>& columns) {
    std::vector<std::unique_ptr<Field>> old = std::move(fields_);
    fields_.clear();
    auto take = [&](const QString& name) -> std::unique_ptr<Field> {
        for (auto& f : old)
            if (f && f->kind_ == FieldKind::Data && f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
                return std::move(f);
        return nullptr;
    };
    QSet<QString> relations;
    for (const auto& c : columns)
        if (!c.relation.isEmpty()) relations.insert(c.relation);
    const bool singleTable = relations.size() <= 1;

    QSet<QString> used;
    for (size_t i = 0; i < columns.size(); ++i) {
        const fb::Column& c = columns[i];
        QString name = c.name;
        // A repeated name (VEN.*, FUN.* both with FUN_CODIGO) gets a suffix.
        if (used.contains(name.toUpper())) {
            int k = 1;
            while (used.contains(QStringLiteral("%1_%2").arg(name).arg(k).toUpper())) ++k;
            name = QStringLiteral("%1_%2").arg(name).arg(k);
        }
        used.insert(name.toUpper());
        std::unique_ptr<Field> f = take(name);
        const FieldType t = fieldType(c.type);
        const int size = (c.type == fb::ColumnType::Char || c.type == fb::ColumnType::VarChar) ? c.size : 0;
        if (!f) {
            f = std::make_unique<Field>(this, name, t, size, FieldKind::Data);
        } else {
            if (!f->defined_ || f->type_ == FieldType::Unknown) f->type_ = t;
            if (!f->defined_ || f->size_ == 0) f->size_ = size;
            if (!f->defined_) f->Required = false;
        }
        if (!c.nullable && singleTable) f->Required = true;
        if (f->IsNumeric() && !f->defined_) f->FieldAlignment = Alignment::Right;
        f->column_ = int(i);
        f->slot_ = int(i);
        fields_.push_back(std::move(f));
    }
    dataSlots_ = int(columns.size());
    int slot = dataSlots_;
    // Defined data fields the cursor does not have stay, holding NULL.
    for (auto& f : old)
        if (f && f->defined_ && f->kind_ == FieldKind::Data) {
            f->column_ = -1;
            f->slot_ = slot++;
            fields_.push_back(std::move(f));
        }
    for (auto& f : old)
        if (f && f->kind_ == FieldKind::Calculated) {
            f->slot_ = slot++;
            fields_.push_back(std::move(f));
        }
    for (auto& f : old)
        if (f && f->kind_ == FieldKind::Lookup) {
            f->slot_ = -1;
            fields_.push_back(std::move(f));
        }
    slotCount_ = slot;
}

void DataSet::bindDefinedFieldsOnly() {
    int slot = 0;
    std::vector<std::unique_ptr<Field>> old = std::move(fields_);
    fields_.clear();
    for (FieldKind k : {FieldKind::Data, FieldKind::Calculated, FieldKind::Lookup})
        for (auto& f : old)
            if (f && f->kind_ == k) {
                f->slot_ = k == FieldKind::Lookup ? -1 : slot++;
                f->column_ = -1;
                fields_.push_back(std::move(f));
            }
    dataSlots_ = slot;
    slotCount_ = slot;
}

QVariant DataSet::FieldValues(const QString& names) const {
    const QStringList list = splitNames(names);
    if (list.size() == 1) return FieldByName(list[0])->Value();
    QVariantList out;
    for (const QString& n : list) out << FieldByName(n)->Value();
    return out;
}

// Values ---------------------------------------------------------------

const fb::Row* DataSet::rowValues(int row) const {
    if (row < 0) return nullptr;
    if (row == cur_ && IsEditing()) return &editBuf_;
    if (size_t(row) < records_.size()) return &records_[size_t(row)].values;
    return nullptr;
}

QVariant DataSet::RowValue(const fb::Row& values, const Field* f) const {
    if (!f) return QVariant();
    if (f->kind_ == FieldKind::Lookup) return lookupValue(*f, &values);
    if (f->slot_ < 0 || size_t(f->slot_) >= values.size()) return QVariant();
    return values[size_t(f->slot_)];
}

QVariant DataSet::currentValue(const Field& f) const {
    if (calcTarget_) return RowValue(*calcTarget_, &f);
    const fb::Row* row = rowValues(readRow_ >= 0 ? readRow_ : cur_);
    return row ? RowValue(*row, &f) : QVariant();
}

QVariant DataSet::ValueAt(int row, const Field* f) const {
    const fb::Row* r = rowValues(row);
    return r ? RowValue(*r, f) : QVariant();
}

QString DataSet::DisplayTextAt(int row, const Field* f) const {
    return f ? f->FormatDisplay(ValueAt(row, f)) : QString();
}

QVariant DataSet::lookupValue(const Field& f, const fb::Row* values) const {
    DataSet* ds = f.LookupDataSet;
    if (!ds || !ds->Active() || !values) return QVariant();
    const QStringList keys = splitNames(f.KeyFields);
    QString key;
    for (const QString& k : keys) {
        Field* kf = FindField(k);
        if (!kf || kf->kind_ == FieldKind::Lookup) return QVariant();
        const QVariant v = RowValue(*values, kf);
        if (v.isNull()) return QVariant();
        key += v.toString() + QChar(0x1f);
    }
    if (f.lookupCachedFrom_ != ds || f.lookupVersion_ != ds->Version()) {
        ds->FetchAll();
        f.lookupCache_.clear();
        const QStringList lkeys = splitNames(f.LookupKeyFields);
        QList<Field*> lf;
        for (const QString& k : lkeys) lf << ds->FindField(k);
        Field* result = ds->FindField(f.LookupResultField);
        if (result && !lf.contains(nullptr)) {
            for (int r = 0; r < ds->BufferedCount(); ++r) {
                QString k;
                bool nullKey = false;
                for (Field* x : lf) {
                    const QVariant v = ds->ValueAt(r, x);
                    if (v.isNull()) { nullKey = true; break; }
                    k += v.toString() + QChar(0x1f);
                }
                if (!nullKey && !f.lookupCache_.contains(k)) f.lookupCache_.insert(k, ds->ValueAt(r, result));
            }
        }
        f.lookupCachedFrom_ = ds;
        f.lookupVersion_ = ds->Version();
    }
    return f.lookupCache_.value(key);
}

void DataSet::setCurrentValue(Field& f, const QVariant& value) {
    if (state_ == State::CalcFields && calcTarget_) {
        if (f.kind_ != FieldKind::Calculated)
            dbError(QStringLiteral("Field '%1' cannot be modified").arg(f.DisplayName()));
        (*calcTarget_)[size_t(f.slot_)] = value;
        return;
    }
    if (f.kind_ != FieldKind::Data)
        dbError(QStringLiteral("Field '%1' cannot be modified").arg(f.DisplayName()));
    checkEditing();
    if (f.ReadOnly)
        dbError(QStringLiteral("Field '%1' cannot be modified").arg(f.DisplayName()));
    QVariant v = value;
    if (f.type_ == FieldType::String && f.size_ > 0 && v.typeId() == QMetaType::QString &&
        v.toString().size() > f.size_)
        v = v.toString().left(f.size_);
    QVariant& slot = editBuf_[size_t(f.slot_)];
    QVariant previous = slot;
    slot = v;
    if (f.OnValidate) {
        try {
            f.OnValidate(f);
        } catch (...) {
            editBuf_[size_t(f.slot_)] = previous;
            throw;
        }
    }
    modified_ = true;
    bumpVersion();
    for (DataSetObserver* o : observers_) o->rowChanged(cur_);
    dataEvent(EvField, &f);
    if (f.OnChange) f.OnChange(f);
}

void DataSet::calcRecord(fb::Row& values) {
    if (!OnCalcFields) return;
    bool any = false;
    for (const auto& f : fields_)
        if (f->kind_ == FieldKind::Calculated) {
            values[size_t(f->slot_)] = QVariant();
            any = true;
        }
    if (!any) return;
    Restore<fb::Row*> target(calcTarget_, &values);
    Restore<State> st(state_, State::CalcFields);
    OnCalcFields(*this);
}

DataSet::RowScope::RowScope(DataSet& ds, int row) : ds_(ds), saved_(ds.readRow_) { ds.readRow_ = row; }
DataSet::RowScope::~RowScope() { ds_.readRow_ = saved_; }

// Opening --------------------------------------------------------------

void DataSet::clearBuffer() {
    records_.clear();
    deleted_.clear();
    editBuf_.clear();
    cur_ = -1;
    bof_ = eof_ = true;
    modified_ = false;
    allFetched_ = true;
    bumpVersion();
}

void DataSet::Open() {
    if (Active()) return;
    fire(BeforeOpen);
    for (DataSetObserver* o : observers_) o->aboutToReset();
    clearBuffer();
    allFetched_ = false;
    try {
        openCursor();
        fetchBatch(1);
    } catch (...) {
        try { closeCursor(); } catch (...) {}
        clearBuffer();
        for (DataSetObserver* o : observers_) o->reset();
        throw;
    }
    cur_ = records_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = records_.empty();
    bumpVersion();
    state_ = State::Browse;
    for (DataSetObserver* o : observers_) o->reset();
    fire(OnStateChange);
    dataEvent(EvState);
    dataEvent(EvRecord);
    fire(AfterOpen);
    fire(AfterScroll);
}

void DataSet::Close() {
    if (!Active()) return;
    fire(BeforeClose);
    for (DataSetObserver* o : observers_) o->aboutToReset();
    try { closeCursor(); } catch (...) {}
    clearBuffer();
    state_ = State::Inactive;
    for (DataSetObserver* o : observers_) o->reset();
    fire(OnStateChange);
    dataEvent(EvState);
    dataEvent(EvRecord);
    fire(AfterClose);
}

void DataSet::Refresh() {
    checkActive();
    CheckBrowseMode();
    const int row = cur_;
    DisableControls();
    try {
        Close();
        Open();
        if (row > 0) {
            while (row >= int(records_.size()) && fetchBatch(256) > 0) {}
            if (!records_.empty()) { cur_ = std::min(row, int(records_.size()) - 1); bof_ = eof_ = false; }
        }
    } catch (...) {
        EnableControls();
        throw;
    }
    EnableControls();
    for (DataSetObserver* o : observers_) o->currentChanged(cur_);
}

int DataSet::fetchBatch(int count) {
    if (allFetched_ || count <= 0) return 0;
    int n = 0;
    auto prepare = [&](fb::Row& row) {
        if (int(row.size()) < slotCount_) row.resize(size_t(slotCount_));
        calcRecord(row);
    };
    if (observers_.isEmpty()) {
        while (n < count) {
            fb::Row row;
            if (!fetchRow(row)) { allFetched_ = true; break; }
            prepare(row);
            records_.push_back(Record{std::move(row), nullptr});
            ++n;
        }
    } else {
        std::vector<Record> batch;
        batch.reserve(size_t(std::min(count, 4096)));
        try {
            while (n < count) {
                fb::Row row;
                if (!fetchRow(row)) { allFetched_ = true; break; }
                prepare(row);
                batch.push_back(Record{std::move(row), nullptr});
                ++n;
            }
        } catch (...) {
            allFetched_ = true;
            throw;
        }
        if (n > 0) {
            const int first = int(records_.size());
            for (DataSetObserver* o : observers_) o->rowsAboutToBeInserted(first, first + n - 1);
            for (auto& r : batch) records_.push_back(std::move(r));
            for (DataSetObserver* o : observers_) o->rowsInserted();
        }
    }
    if (n > 0) bumpVersion();
    return n;
}

bool DataSet::fetchNext() { return fetchBatch(1) == 1; }

int DataSet::FetchMore(int count) { return Active() ? fetchBatch(count) : 0; }

void DataSet::FetchAll() {
    if (!Active()) return;
    if (observers_.isEmpty()) {
        fetchBatch(INT32_MAX);
    } else {
        while (fetchBatch(4096) > 0) {}
    }
}

// Navigation -----------------------------------------------------------

void DataSet::moveTo(int row, bool fireScroll) {
    if (fireScroll) fire(BeforeScroll);
    cur_ = row;
    for (DataSetObserver* o : observers_) o->currentChanged(cur_);
    dataEvent(EvScroll);
    if (fireScroll) fire(AfterScroll);
}

void DataSet::First() {
    checkActive();
    CheckBrowseMode();
    fire(BeforeScroll);
    bof_ = true;
    eof_ = records_.empty();
    moveTo(records_.empty() ? -1 : 0, false);
    fire(AfterScroll);
}

void DataSet::Last() {
    checkActive();
    CheckBrowseMode();
    fire(BeforeScroll);
    FetchAll();
    eof_ = true;
    bof_ = records_.empty();
    moveTo(int(records_.size()) - 1, false);
    fire(AfterScroll);
}

void DataSet::Next() { MoveBy(1); }
void DataSet::Prior() { MoveBy(-1); }

int DataSet::MoveBy(int distance) {
    checkActive();
    CheckBrowseMode();
    if (distance == 0) return 0;
    if (records_.empty()) {
        bof_ = eof_ = true;
        dataEvent(EvScroll);
        return 0;
    }
    int target = cur_ + distance;
    if (distance > 0)
        while (target >= int(records_.size()) && fetchBatch(std::max(1, target - int(records_.size()) + 1)) > 0) {}
    bool hitEnd = false, hitStart = false;
    if (target >= int(records_.size())) { target = int(records_.size()) - 1; hitEnd = true; }
    if (target < 0) { target = 0; hitStart = true; }
    const int moved = target - cur_;
    bof_ = hitStart;
    eof_ = hitEnd;
    if (moved != 0) {
        moveTo(target, true);
    } else {
        dataEvent(EvScroll);
    }
    return moved;
}

bool DataSet::IsEmpty() const { return !Active() || records_.empty(); }

int DataSet::RecordCount() {
    if (!Active()) return 0;
    FetchAll();
    return int(records_.size());
}

int DataSet::RecNo() const { return cur_ + 1; }

void DataSet::SetRecNo(int recNo) { MoveToRow(recNo - 1); }

void DataSet::MoveToRow(int row) {
    checkActive();
    if (row == cur_ && !IsEditing()) return;
    CheckBrowseMode();
    while (row >= int(records_.size()) && fetchBatch(256) > 0) {}
    if (row < 0 || row >= int(records_.size()) || row == cur_) return;
    bof_ = eof_ = false;
    moveTo(row, true);
}

namespace {

bool valuesMatch(const Field* f, const QVariant& v, const QVariant& key, LocateOptions options) {
    if (key.isNull() || !key.isValid()) return v.isNull();
    if (v.isNull()) return false;
    if (isNumber(v) && isNumber(key)) return v.toDouble() == key.toDouble();
    if (isDate(v) && isDate(key)) return v.toDateTime() == key.toDateTime();
    QString a = f->FormatString(v);
    QString b = isDate(key) ? DateTimeToStr(key.toDateTime()) : (key.typeId() == QMetaType::Double ? FloatToStr(key.toDouble()) : key.toString());
    const Qt::CaseSensitivity cs = (options & CaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    if (options & PartialKey) return a.startsWith(b, cs);
    return a.compare(b, cs) == 0;
}

} // namespace

bool DataSet::Locate(const QString& keyFields, const QVariant& keyValues, LocateOptions options) {
    checkActive();
    CheckBrowseMode();
    const QStringList names = splitNames(keyFields);
    QList<Field*> fs;
    for (const QString& n : names) fs << FieldByName(n);
    QVariantList keys;
    if (fs.size() == 1) keys << keyValues;
    else keys = keyValues.toList();
    if (keys.size() != fs.size()) dbError(QStringLiteral("Locate: %1 key values for %2 fields").arg(keys.size()).arg(fs.size()));
    for (int i = 0;; ++i) {
        if (i >= int(records_.size()) && fetchBatch(256) == 0) break;
        bool ok = true;
        for (int k = 0; k < fs.size() && ok; ++k) ok = valuesMatch(fs[k], ValueAt(i, fs[k]), keys[k], options);
        if (ok) {
            bof_ = eof_ = false;
            if (i != cur_) moveTo(i, true);
            else dataEvent(EvScroll);
            return true;
        }
    }
    return false;
}

QVariant DataSet::Lookup(const QString& keyFields, const QVariant& keyValues, const QString& resultFields) {
    checkActive();
    const QStringList names = splitNames(keyFields);
    QList<Field*> fs;
    for (const QString& n : names) fs << FieldByName(n);
    QVariantList keys;
    if (fs.size() == 1) keys << keyValues;
    else keys = keyValues.toList();
    const QStringList results = splitNames(resultFields);
    for (int i = 0;; ++i) {
        if (i >= int(records_.size()) && fetchBatch(256) == 0) break;
        bool ok = keys.size() == fs.size();
        for (int k = 0; k < fs.size() && ok; ++k) ok = valuesMatch(fs[k], ValueAt(i, fs[k]), keys[k], NoOptions);
        if (ok) {
            if (results.size() == 1) return ValueAt(i, FieldByName(results[0]));
            QVariantList out;
            for (const QString& r : results) out << ValueAt(i, FieldByName(r));
            return out;
        }
    }
    return QVariant();
}

// Editing --------------------------------------------------------------

void DataSet::SetGeneratorField(const QString& field, const QString& generator, int incrementBy) {
    genField_ = field;
    genName_ = generator;
    genIncrement_ = incrementBy;
}

qint64 DataSet::nextGeneratorValue() {
    fb::Transaction* tra = Transaction();
    if (!tra) dbError(QStringLiteral("Dataset has no transaction"));
    fb::Statement st(*tra, QStringLiteral("select gen_id(%1, %2) from RDB$DATABASE").arg(genName_).arg(genIncrement_));
    st.execute();
    return st.value(0).toLongLong();
}

void DataSet::beginInsert(bool append) {
    checkActive();
    CheckBrowseMode();
    if (!CanModify()) dbError(QStringLiteral("Cannot modify a read-only dataset"));
    fire(BeforeInsert);
    if (append) FetchAll();
    const int pos = append ? int(records_.size()) : std::max(cur_, 0);
    for (DataSetObserver* o : observers_) o->rowsAboutToBeInserted(pos, pos);
    records_.insert(records_.begin() + pos, Record{fb::Row(size_t(slotCount_)), nullptr});
    for (DataSetObserver* o : observers_) o->rowsInserted();
    editBuf_ = fb::Row(size_t(slotCount_));
    cur_ = pos;
    bof_ = eof_ = false;
    modified_ = false;
    bumpVersion();
    for (DataSetObserver* o : observers_) o->currentChanged(cur_);
    setState(State::Insert);
    try {
        if (!genField_.isEmpty()) {
            Field* g = FieldByName(genField_);
            const qint64 v = nextGeneratorValue();
            editBuf_[size_t(g->slot_)] = g->ConvertValue(QVariant(v));
        }
        afterNewRecord();
        fire(OnNewRecord);
    } catch (...) {
        // The new row is abandoned; a drawn key stays used.
        for (DataSetObserver* o : observers_) o->rowsAboutToBeRemoved(pos, pos);
        records_.erase(records_.begin() + pos);
        for (DataSetObserver* o : observers_) o->rowsRemoved();
        editBuf_.clear();
        cur_ = records_.empty() ? -1 : std::min(pos, int(records_.size()) - 1);
        bof_ = eof_ = records_.empty();
        modified_ = false;
        for (DataSetObserver* o : observers_) o->currentChanged(cur_);
        setState(State::Browse);
        dataEvent(EvRecord);
        throw;
    }
    modified_ = false;
    calcRecord(editBuf_);
    dataEvent(EvRecord);
    fire(AfterInsert);
}

void DataSet::Append() { beginInsert(true); }
void DataSet::Insert() { beginInsert(false); }

void DataSet::Edit() {
    checkActive();
    if (IsEditing()) return;
    if (records_.empty()) { Append(); return; }
    if (!CanModify()) dbError(QStringLiteral("Cannot modify a read-only dataset"));
    fire(BeforeEdit);
    editBuf_ = records_[size_t(cur_)].values;
    modified_ = false;
    setState(State::Edit);
    fire(AfterEdit);
}

void DataSet::UpdateRecord() {
    if (!IsEditing()) return;
    dataEvent(EvUpdateRecord);
}

void DataSet::CheckBrowseMode() {
    if (!IsEditing()) return;
    UpdateRecord();
    if (modified_) Post();
    else Cancel();
}

void DataSet::checkRequired() const {
    for (const auto& f : fields_)
        if (f->kind_ == FieldKind::Data && f->Required && !f->ReadOnly && f->slot_ >= 0 &&
            editBuf_[size_t(f->slot_)].isNull())
            dbError(QStringLiteral("Field '%1' must have a value").arg(f->DisplayName()));
}

void DataSet::markPending(Record& r, UpdateStatus s) {
    if (!r.pending) {
        r.pending = std::make_unique<Record::Pending>();
        r.pending->status = UpdateStatus::Unmodified;
    }
    if (r.pending->status == UpdateStatus::Unmodified) {
        r.pending->status = s;
        r.pending->seq = ++seq_;
        if (s == UpdateStatus::Modified) r.pending->old = r.values;
    }
}

void DataSet::Post() {
    checkActive();
    UpdateRecord();
    if (!IsEditing()) return;
    fire(BeforePost);
    checkRequired();
    const bool inserting = state_ == State::Insert;
    Record& r = records_[size_t(cur_)];
    if (writesImmediately()) {
        writeRecord(inserting ? UpdateStatus::Inserted : UpdateStatus::Modified, editBuf_,
                    inserting ? editBuf_ : r.values);
        if (ForcedRefresh) refreshRecord(editBuf_);
    } else {
        markPending(r, inserting ? UpdateStatus::Inserted : UpdateStatus::Modified);
    }
    r.values = std::move(editBuf_);
    editBuf_.clear();
    calcRecord(r.values);
    modified_ = false;
    bof_ = eof_ = false;
    bumpVersion();
    state_ = State::Browse;
    fire(OnStateChange);
    for (DataSetObserver* o : observers_) o->rowChanged(cur_);
    dataEvent(EvState);
    dataEvent(EvRecord);
    fire(AfterPost);
}

void DataSet::Cancel() {
    if (!IsEditing()) return;
    fire(BeforeCancel);
    if (state_ == State::Insert) {
        const int pos = cur_;
        for (DataSetObserver* o : observers_) o->rowsAboutToBeRemoved(pos, pos);
        records_.erase(records_.begin() + pos);
        for (DataSetObserver* o : observers_) o->rowsRemoved();
        cur_ = records_.empty() ? -1 : std::min(pos, int(records_.size()) - 1);
    }
    editBuf_.clear();
    modified_ = false;
    bof_ = eof_ = records_.empty();
    bumpVersion();
    state_ = State::Browse;
    fire(OnStateChange);
    for (DataSetObserver* o : observers_) { o->rowChanged(cur_); o->currentChanged(cur_); }
    dataEvent(EvState);
    dataEvent(EvRecord);
    fire(AfterCancel);
}

void DataSet::Delete() {
    checkActive();
    if (state_ == State::Insert) { Cancel(); return; }
    if (records_.empty()) dbError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (!CanModify()) dbError(QStringLiteral("Cannot modify a read-only dataset"));
    fire(BeforeDelete);
    if (state_ == State::Edit) {
        editBuf_.clear();
        modified_ = false;
        state_ = State::Browse;
        fire(OnStateChange);
    }
    const int pos = cur_;
    Record& r = records_[size_t(pos)];
    if (writesImmediately()) {
        writeRecord(UpdateStatus::Deleted, r.values, r.values);
    } else if (!(r.pending && r.pending->status == UpdateStatus::Inserted)) {
        Record gone{std::move(r.values), std::move(r.pending)};
        if (!gone.pending) gone.pending = std::make_unique<Record::Pending>();
        gone.pending->status = UpdateStatus::Deleted;
        gone.pending->seq = ++seq_;
        gone.pending->deletedAt = pos;
        deleted_.push_back(std::move(gone));
    }
    for (DataSetObserver* o : observers_) o->rowsAboutToBeRemoved(pos, pos);
    records_.erase(records_.begin() + pos);
    for (DataSetObserver* o : observers_) o->rowsRemoved();
    if (pos >= int(records_.size()) && !allFetched_) fetchBatch(1);
    cur_ = records_.empty() ? -1 : std::min(pos, int(records_.size()) - 1);
    bof_ = eof_ = records_.empty();
    bumpVersion();
    for (DataSetObserver* o : observers_) o->currentChanged(cur_);
    dataEvent(EvState);
    dataEvent(EvRecord);
    fire(AfterDelete);
    fire(AfterScroll);
}

// Cached updates -------------------------------------------------------

void DataSet::applyRecord(Record& r, UpdateStatus kind) {
    const fb::Row& old = r.pending->old.empty() ? r.values : r.pending->old;
    writeRecord(kind, r.values, old);
}

void DataSet::ApplyUpdates() {
    checkActive();
    if (IsEditing()) Post();
    struct Item { quint64 seq; bool deleted; size_t index; };
    std::vector<Item> items;
    for (size_t i = 0; i < records_.size(); ++i)
        if (records_[i].pending && records_[i].pending->status != UpdateStatus::Unmodified)
            items.push_back({records_[i].pending->seq, false, i});
    for (size_t i = 0; i < deleted_.size(); ++i) items.push_back({deleted_[i].pending->seq, true, i});
    if (items.empty()) return;
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) { return a.seq < b.seq; });
    std::vector<size_t> appliedDeletes;
    bool refreshed = false;
    auto finish = [&] {
        std::sort(appliedDeletes.rbegin(), appliedDeletes.rend());
        for (size_t i : appliedDeletes) deleted_.erase(deleted_.begin() + qsizetype(i));
        bumpVersion();
        if (refreshed) dataEvent(EvRecord);
    };
    try {
        for (const Item& it : items) {
            if (it.deleted) {
                Record& r = deleted_[it.index];
                try {
                    applyRecord(r, UpdateStatus::Deleted);
                } catch (...) {
                    // The row is still in the database: show it again as it
                    // is there, rather than retrying the delete on every apply.
                    restoreDeleted(it.index);
                    appliedDeletes.push_back(it.index);
                    throw;
                }
                appliedDeletes.push_back(it.index);
            } else {
                Record& r = records_[it.index];
                applyRecord(r, r.pending->status);
                r.pending.reset();
                if (ForcedRefresh && refreshRecord(r.values)) {
                    calcRecord(r.values);
                    for (DataSetObserver* o : observers_) o->rowChanged(int(it.index));
                    refreshed = true;
                }
            }
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
}

void DataSet::restoreDeleted(size_t index) {
    Record& d = deleted_[index];
    const int at = std::clamp(d.pending->deletedAt, 0, int(records_.size()));
    if (!d.pending->old.empty()) d.values = std::move(d.pending->old);
    d.pending.reset();
    for (DataSetObserver* o : observers_) o->rowsAboutToBeInserted(at, at);
    records_.insert(records_.begin() + at, Record{std::move(d.values), nullptr});
    for (DataSetObserver* o : observers_) o->rowsInserted();
    if (!IsEditing()) {
        cur_ = at;
        bof_ = eof_ = false;
        for (DataSetObserver* o : observers_) o->currentChanged(cur_);
    } else if (cur_ >= at) {
        ++cur_;
    }
    dataEvent(EvRecord);
}

void DataSet::CommitUpdates() {
    for (auto& r : records_) r.pending.reset();
    deleted_.clear();
    bumpVersion();
}

void DataSet::CancelUpdates() {
    if (!Active()) return;
    if (IsEditing()) Cancel();
    for (DataSetObserver* o : observers_) o->aboutToReset();
    std::vector<Record> kept;
    kept.reserve(records_.size());
    for (auto& r : records_) {
        if (r.pending && r.pending->status == UpdateStatus::Inserted) continue;
        if (r.pending && r.pending->status == UpdateStatus::Modified) r.values = std::move(r.pending->old);
        r.pending.reset();
        kept.push_back(std::move(r));
    }
    std::sort(deleted_.begin(), deleted_.end(),
              [](const Record& a, const Record& b) { return a.pending->deletedAt < b.pending->deletedAt; });
    for (auto& d : deleted_) {
        const int at = std::clamp(d.pending->deletedAt, 0, int(kept.size()));
        if (d.pending && !d.pending->old.empty()) d.values = std::move(d.pending->old);
        d.pending.reset();
        kept.insert(kept.begin() + at, std::move(d));
    }
    deleted_.clear();
    records_ = std::move(kept);
    cur_ = records_.empty() ? -1 : std::clamp(cur_, 0, int(records_.size()) - 1);
    bof_ = eof_ = records_.empty();
    bumpVersion();
    for (DataSetObserver* o : observers_) o->reset();
    dataEvent(EvRecord);
}

bool DataSet::UpdatesPending() const {
    if (!deleted_.empty()) return true;
    for (const auto& r : records_)
        if (r.pending && r.pending->status != UpdateStatus::Unmodified) return true;
    return false;
}

UpdateStatus DataSet::RecordUpdateStatus() const {
    if (cur_ < 0 || size_t(cur_) >= records_.size()) return UpdateStatus::Unmodified;
    const Record& r = records_[size_t(cur_)];
    return r.pending ? r.pending->status : UpdateStatus::Unmodified;
}

// Master link ----------------------------------------------------------

DataSource* DataSet::masterSource() const { return master_.data(); }

void DataSet::setMasterSource(DataSource* source) {
    if (masterConn_) disconnect(masterConn_);
    master_ = source;
    if (source)
        masterConn_ = connect(source, &DataSource::dataChanged, this, [this](Field* f) {
            if (!f && master_ && master_->GetDataSet() != this) masterChanged();
        });
}

} // namespace dataset

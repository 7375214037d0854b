#include "Query.h"
#include "DataSource.h"

#include "platform/core/Exception.h"
#include "platform/firebird/Transaction.h"

namespace dataset {

namespace {
[[noreturn]] void dbError(const QString& text) { throw clip::EDatabaseError(text); }

fb::Transaction& needTransaction(const DataSet& ds) {
    fb::Transaction* tra = ds.Transaction();
    if (!tra) dbError(QStringLiteral("Dataset %1 has no transaction").arg(ds.objectName()));
    return *tra;
}

// Fills ":NAME" and ":OLD_NAME" parameters from a row of the dataset.
void bindRow(fb::Statement& st, const DataSet& ds, const fb::Row& values, const fb::Row& old) {
    for (const QString& name : st.paramNames()) {
        if (name.startsWith(QLatin1String("OLD_"))) {
            if (Field* f = ds.FindField(name.mid(4))) {
                st.setParam(name, ds.RowValue(old, f));
                continue;
            }
        }
        Field* f = ds.FindField(name);
        if (!f) dbError(QStringLiteral("Field '%1' not found").arg(name));
        st.setParam(name, ds.RowValue(values, f));
    }
}
} // namespace

// ---------------------------------------------------------------- UpdateSql

struct UpdateSql::Cached {
    QString text;
    fb::Transaction* tra = nullptr;
    std::unique_ptr<fb::Statement> stmt;
};

UpdateSql::UpdateSql(QObject* parent) : QObject(parent) {}

void UpdateSql::SetTableStatements(const QString& table, const QString& key, const QStringList& columns) {
    QStringList params, sets;
    for (const QString& c : columns) {
        params << QLatin1Char(':') + c;
        sets << QStringLiteral("  %1 = :%1").arg(c);
    }
    InsertSQL.Clear();
    InsertSQL.Add(QStringLiteral("insert into ") + table);
    InsertSQL.Add(QStringLiteral("  (") + columns.join(QStringLiteral(", ")) + QLatin1Char(')'));
    InsertSQL.Add(QStringLiteral("values"));
    InsertSQL.Add(QStringLiteral("  (") + params.join(QStringLiteral(", ")) + QLatin1Char(')'));
    ModifySQL.Clear();
    ModifySQL.Add(QStringLiteral("update ") + table);
    ModifySQL.Add(QStringLiteral("set"));
    ModifySQL.Add(sets.join(QStringLiteral(",\r\n")));
    ModifySQL.Add(QStringLiteral("where"));
    ModifySQL.Add(QStringLiteral("  %1 = :OLD_%1").arg(key));
    DeleteSQL.Clear();
    DeleteSQL.Add(QStringLiteral("delete from ") + table);
    DeleteSQL.Add(QStringLiteral("where"));
    DeleteSQL.Add(QStringLiteral("  %1 = :OLD_%1").arg(key));
    RefreshSQL.Clear();
    RefreshSQL.Add(QStringLiteral("Select * from ") + table);
    RefreshSQL.Add(QStringLiteral("where"));
    RefreshSQL.Add(QStringLiteral("  %1 = :%1").arg(key));
}
UpdateSql::~UpdateSql() = default;

fb::Statement& UpdateSql::statement(fb::Transaction& tra, int kind) {
    const StringList* lists[4] = {&InsertSQL, &ModifySQL, &DeleteSQL, &RefreshSQL};
    const QString text = lists[kind]->Text();
    if (text.trimmed().isEmpty()) {
        static const char* names[4] = {"insert", "modify", "delete", "refresh"};
        dbError(QStringLiteral("No %1 statement in %2").arg(QLatin1String(names[kind]), objectName()));
    }
    auto& c = cache_[kind];
    if (!c || c->text != text || c->tra != &tra) {
        c = std::make_unique<Cached>();
        c->stmt = std::make_unique<fb::Statement>(tra, text);
        c->text = text;
        c->tra = &tra;
    }
    return *c->stmt;
}

void UpdateSql::Apply(fb::Transaction& tra, UpdateStatus kind, const DataSet& ds, const fb::Row& values,
                      const fb::Row& old) {
    int k = kind == UpdateStatus::Inserted ? 0 : kind == UpdateStatus::Modified ? 1 : 2;
    fb::Statement& st = statement(tra, k);
    st.clearParams();
    bindRow(st, ds, values, old);
    st.execute();
}

bool UpdateSql::Refresh(fb::Transaction& tra, const DataSet& ds, const fb::Row& values, fb::Row& row,
                        std::vector<fb::Column>& columns) {
    if (RefreshSQL.Text().trimmed().isEmpty()) return false;
    fb::Statement& st = statement(tra, 3);
    st.clearParams();
    bindRow(st, ds, values, values);
    st.open();
    const bool found = st.fetch();
    if (found) {
        row = st.row();
        columns = st.columns();
    }
    st.close();
    return found;
}

// ---------------------------------------------------------------- Query

Query::Query(QObject* parent) : DataSet(parent) {
    SQL.OnChange = [this] { sqlChanged(); };
}

Query::~Query() {
    SQL.OnChange = nullptr;
}

void Query::sqlChanged() {
    Close();
    stmt_.reset();
    preparedText_.clear();
    params_.Parse(SQL.Text(), false);
}

void Query::Prepare() {
    fb::Transaction& tra = needTransaction(*this);
    const QString text = SQL.Text();
    if (stmt_ && preparedText_ == text && stmtTra_ == &tra) return;
    stmt_.reset();
    if (text.trimmed().isEmpty()) dbError(QStringLiteral("SQL statement of %1 is empty").arg(objectName()));
    stmt_ = std::make_unique<fb::Statement>(tra, text);
    preparedText_ = text;
    stmtTra_ = &tra;
}

void Query::UnPrepare() {
    Close();
    stmt_.reset();
    preparedText_.clear();
}

void Query::fillParams() {
    if (DataSource* m = masterSource()) {
        DataSet* md = m->GetDataSet();
        for (int i = 0; i < params_.Count(); ++i) {
            Param* p = params_.Items(i);
            if (!md) continue;
            if (Field* f = md->FindField(p->Name()))
                p->SetValue(md->Active() ? f->Value() : QVariant());
        }
    }
    stmt_->clearParams();
    for (int i = 0; i < params_.Count(); ++i) {
        Param* p = params_.Items(i);
        if (stmt_->hasParam(p->Name())) stmt_->setParam(p->Name(), p->Value());
    }
}

void Query::openCursor() {
    Prepare();
    if (!stmt_->hasResultSet()) dbError(QStringLiteral("Cursor not returned from query %1").arg(objectName()));
    fillParams();
    bindColumns(stmt_->columns());
    stmt_->open();
}

bool Query::fetchRow(fb::Row& row) {
    if (!stmt_ || !stmt_->fetch()) return false;
    row = stmt_->takeRow();
    return true;
}

void Query::closeCursor() {
    if (stmt_) stmt_->close();
}

void Query::ExecSQL() {
    Close();
    Prepare();
    fillParams();
    stmt_->execute();
    try {
        rowsAffected_ = stmt_->affectedRows();
    } catch (...) {
        rowsAffected_ = -1;
    }
}

bool Query::CanModify() const { return !ReadOnly && (UpdateObject != nullptr || CachedUpdates); }

void Query::writeRecord(UpdateStatus kind, const fb::Row& values, const fb::Row& old) {
    if (!UpdateObject) dbError(QStringLiteral("No update object for %1").arg(objectName()));
    UpdateObject->Apply(needTransaction(*this), kind, *this, values, old);
}

bool Query::refreshRecord(fb::Row& values) {
    if (!UpdateObject) return false;
    fb::Row row;
    std::vector<fb::Column> cols;
    if (!UpdateObject->Refresh(needTransaction(*this), *this, values, row, cols)) return false;
    for (size_t i = 0; i < cols.size(); ++i) {
        Field* f = FindField(cols[i].name);
        if (f && f->Kind() == FieldKind::Data && fieldSlot(f) >= 0) values[size_t(fieldSlot(f))] = row[i];
    }
    return true;
}

void Query::masterChanged() {
    if (!Active()) return;
    DataSource* m = masterSource();
    DataSet* md = m ? m->GetDataSet() : nullptr;
    bool same = true;
    for (int i = 0; i < params_.Count() && md; ++i) {
        Param* p = params_.Items(i);
        if (Field* f = md->FindField(p->Name())) {
            const QVariant v = md->Active() ? f->Value() : QVariant();
            if (v != p->Value() || v.isNull() != p->Value().isNull()) same = false;
        }
    }
    if (same) return;
    Close();
    Open();
}

} // namespace dataset

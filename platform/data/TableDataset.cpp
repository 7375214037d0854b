#include "TableDataset.h"
#include "DataSource.h"

#include "platform/core/Exception.h"
#include "platform/firebird/Transaction.h"

namespace dataset {

namespace {
[[noreturn]] void dbError(const QString& text) { throw clip::EDatabaseError(text); }

QStringList names(const QString& list) {
    QStringList out;
    for (const QString& n : list.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (!n.trimmed().isEmpty()) out << n.trimmed();
    return out;
}
} // namespace

// ---------------------------------------------------------------- TableDataset

TableDataset::TableDataset(QObject* parent) : DataSet(parent) {}
TableDataset::~TableDataset() = default;

bool TableDataset::CanModify() const { return !ReadOnly; }

void TableDataset::openCursor() {
    if (TableName.trimmed().isEmpty()) dbError(QStringLiteral("Table name of %1 is missing").arg(objectName()));
    fb::Transaction* tra = Transaction();
    if (!tra) dbError(QStringLiteral("Dataset %1 has no transaction").arg(objectName()));
    QString text = QStringLiteral("select * from %1").arg(TableName);
    const QStringList links = names(MasterFields);
    DataSet* md = masterSource() ? masterSource()->GetDataSet() : nullptr;
    if (md && !links.isEmpty()) {
        QStringList cond;
        for (const QString& l : links) cond << QStringLiteral("%1 = :%1").arg(l);
        text += QStringLiteral(" where ") + cond.join(QStringLiteral(" and "));
    }
    const QStringList order = names(IndexFieldNames);
    if (!order.isEmpty()) text += QStringLiteral(" order by ") + order.join(QStringLiteral(", "));
    if (!stmt_ || preparedText_ != text) {
        stmt_.reset();
        stmt_ = std::make_unique<fb::Statement>(*tra, text);
        preparedText_ = text;
    }
    stmt_->clearParams();
    lastLink_ = masterValues();
    if (md && !links.isEmpty())
        for (int i = 0; i < links.size(); ++i) stmt_->setParam(links[i], lastLink_.value(i));
    bindColumns(stmt_->columns());
    stmt_->open();
}

bool TableDataset::fetchRow(fb::Row& row) {
    if (!stmt_ || !stmt_->fetch()) return false;
    row = stmt_->takeRow();
    return true;
}

void TableDataset::closeCursor() {
    if (stmt_) stmt_->close();
}

QStringList TableDataset::keyFields() {
    if (keysTable_ == TableName.toUpper() && !keys_.isEmpty()) return keys_;
    fb::Transaction* tra = Transaction();
    fb::Statement st(*tra, QStringLiteral(
        "select s.RDB$FIELD_NAME from RDB$RELATION_CONSTRAINTS c "
        "join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
        "where c.RDB$RELATION_NAME = :T and c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' "
        "order by s.RDB$FIELD_POSITION"));
    st.setParam(QStringLiteral("T"), TableName.trimmed().toUpper());
    st.open();
    keys_.clear();
    while (st.fetch()) keys_ << st.value(0).toString().trimmed();
    keysTable_ = TableName.toUpper();
    if (keys_.isEmpty()) dbError(QStringLiteral("Table %1 has no primary key").arg(TableName));
    return keys_;
}

void TableDataset::writeRecord(UpdateStatus kind, const fb::Row& values, const fb::Row& old) {
    fb::Transaction* tra = Transaction();
    if (!tra) dbError(QStringLiteral("Dataset %1 has no transaction").arg(objectName()));
    QList<Field*> cols;
    for (int i = 0; i < FieldCount(); ++i)
        if (Fields(i)->Kind() == FieldKind::Data && fieldColumn(Fields(i)) >= 0) cols << Fields(i);
    const QStringList keys = keyFields();
    QStringList where;
    for (const QString& k : keys) where << QStringLiteral("%1 = :OLD_%1").arg(k);
    QString text;
    if (kind == UpdateStatus::Inserted) {
        QStringList n, p;
        for (Field* f : cols) { n << f->FieldName(); p << QLatin1Char(':') + f->FieldName(); }
        text = QStringLiteral("insert into %1 (%2) values (%3)").arg(TableName, n.join(QStringLiteral(", ")),
                                                                     p.join(QStringLiteral(", ")));
    } else if (kind == UpdateStatus::Modified) {
        QStringList set;
        for (Field* f : cols) set << QStringLiteral("%1 = :%1").arg(f->FieldName());
        text = QStringLiteral("update %1 set %2 where %3").arg(TableName, set.join(QStringLiteral(", ")),
                                                                where.join(QStringLiteral(" and ")));
    } else {
        text = QStringLiteral("delete from %1 where %2").arg(TableName, where.join(QStringLiteral(" and ")));
    }
    fb::Statement st(*tra, text);
    for (const QString& name : st.paramNames()) {
        if (name.startsWith(QLatin1String("OLD_"))) st.setParam(name, RowValue(old, FieldByName(name.mid(4))));
        else st.setParam(name, RowValue(values, FieldByName(name)));
    }
    st.execute();
}

bool TableDataset::refreshRecord(fb::Row& values) {
    fb::Transaction* tra = Transaction();
    const QStringList keys = keyFields();
    QStringList where;
    for (const QString& k : keys) where << QStringLiteral("%1 = :%1").arg(k);
    fb::Statement st(*tra, QStringLiteral("select * from %1 where %2").arg(TableName, where.join(QStringLiteral(" and "))));
    for (const QString& k : keys) st.setParam(k, RowValue(values, FieldByName(k)));
    st.open();
    if (!st.fetch()) return false;
    for (int i = 0; i < st.columnCount(); ++i) {
        Field* f = FindField(st.column(i).name);
        if (f && f->Kind() == FieldKind::Data && fieldSlot(f) >= 0) values[size_t(fieldSlot(f))] = st.value(i);
    }
    st.close();
    return true;
}

void TableDataset::afterNewRecord() {
    DataSet* md = masterSource() ? masterSource()->GetDataSet() : nullptr;
    if (!md || !md->Active()) return;
    for (const QString& l : names(MasterFields)) {
        Field* mine = FindField(l);
        Field* theirs = md->FindField(l);
        if (mine && theirs) mine->SetValue(theirs->Value());
    }
}

QVariantList TableDataset::masterValues() const {
    QVariantList out;
    DataSet* md = masterSource() ? masterSource()->GetDataSet() : nullptr;
    for (const QString& l : names(MasterFields)) {
        Field* f = md ? md->FindField(l) : nullptr;
        out << (md && md->Active() && f ? f->Value() : QVariant());
    }
    return out;
}

void TableDataset::masterChanged() {
    if (!Active() || MasterFields.trimmed().isEmpty()) return;
    const QVariantList now = masterValues();
    bool same = now.size() == lastLink_.size();
    for (int i = 0; same && i < now.size(); ++i)
        same = now[i].isNull() == lastLink_[i].isNull() && now[i] == lastLink_[i];
    if (same) return;
    Close();
    Open();
}

// ---------------------------------------------------------------- MemoryTable

MemoryTable::MemoryTable(QObject* parent) : DataSet(parent) {}

void MemoryTable::AddFieldDef(const QString& name, FieldType type, int size, bool required) {
    DefineField(name, type, size)->Required = required;
}

void MemoryTable::openCursor() { bindDefinedFieldsOnly(); }

void MemoryTable::EmptyDataSet() {
    if (!Active()) return;
    if (IsEditing()) Cancel();
    while (!IsEmpty()) {
        First();
        Delete();
    }
}

} // namespace dataset

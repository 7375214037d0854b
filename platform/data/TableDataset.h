#pragma once

#include "platform/data/DataSet.h"

#include <memory>

namespace dataset {

class DataSource;

// A whole table: every column, optionally restricted to the rows whose
// MasterFields equal the master source's current row and ordered by
// IndexFieldNames ("A;B"). Rows are written by statements made from the
// table's primary key; a new row takes the master's link values.
class TableDataset : public DataSet {
    Q_OBJECT
public:
    explicit TableDataset(QObject* parent = nullptr);
    ~TableDataset() override;

    QString TableName;
    QString IndexFieldNames;
    QString MasterFields;   // "A;B": same names in master and detail
    void SetMasterSource(DataSource* master) { setMasterSource(master); }
    DataSource* MasterSource() const { return masterSource(); }

    bool CanModify() const override;

protected:
    void openCursor() override;
    bool fetchRow(fb::Row& row) override;
    void closeCursor() override;
    void writeRecord(UpdateStatus kind, const fb::Row& values, const fb::Row& old) override;
    bool refreshRecord(fb::Row& values) override;
    void afterNewRecord() override;
    void masterChanged() override;

private:
    QStringList keyFields();
    QVariantList masterValues() const;
    std::unique_ptr<fb::Statement> stmt_;
    QVariantList lastLink_;
    QString preparedText_;
    QStringList keys_;
    QString keysTable_;
};

// Rows in memory only, with the fields defined before CreateDataSet/Open.
// Closing discards the rows.
class MemoryTable : public DataSet {
    Q_OBJECT
public:
    explicit MemoryTable(QObject* parent = nullptr);
    void AddFieldDef(const QString& name, FieldType type, int size = 0, bool required = false);
    void CreateDataSet() { Open(); }
    void EmptyDataSet();
    bool CanModify() const override { return !ReadOnly; }

protected:
    void openCursor() override;
    void writeRecord(UpdateStatus, const fb::Row&, const fb::Row&) override {}
    bool writesImmediately() const override { return true; }
};

} // namespace dataset

#pragma once

#include "platform/data/DataSet.h"

#include <QObject>
#include <memory>

namespace dataset {

class DataSource;

// The statements that write a query's cached rows: ":NAME" is the row's new
// value of field NAME, ":OLD_NAME" the value as read or last applied.
class UpdateSql : public QObject {
    Q_OBJECT
public:
    explicit UpdateSql(QObject* parent = nullptr);
    ~UpdateSql() override;

    StringList InsertSQL;
    StringList ModifySQL;
    StringList DeleteSQL;
    StringList RefreshSQL;

    // Fills the four statements for a whole table keyed by one column:
    // insert and update of every column given, delete and refresh by key.
    void SetTableStatements(const QString& table, const QString& key, const QStringList& columns);

    // Runs the statement of the given kind with the row's values.
    void Apply(fb::Transaction& tra, UpdateStatus kind, const DataSet& ds, const fb::Row& values,
               const fb::Row& old);
    // Runs RefreshSQL; true when it returned a row (then in row/columns).
    bool Refresh(fb::Transaction& tra, const DataSet& ds, const fb::Row& values, fb::Row& row,
                 std::vector<fb::Column>& columns);

private:
    struct Cached;
    fb::Statement& statement(fb::Transaction& tra, int kind);
    std::unique_ptr<Cached> cache_[4];
};

// A query: SQL built line by line, named parameters (filled from a master
// data source's current row for names the master has), a lazily fetched
// cursor on the dataset's transaction, and writes through an UpdateSql.
class Query : public DataSet {
    Q_OBJECT
public:
    explicit Query(QObject* parent = nullptr);
    ~Query() override;

    StringList SQL;
    Params& GetParams() { return params_; }
    Param* ParamByName(const QString& name) const { return params_.ParamByName(name); }
    int ParamCount() const { return params_.Count(); }

    UpdateSql* UpdateObject = nullptr;

    // Detail parameters come from this source's dataset.
    void SetDataSource(DataSource* master) { setMasterSource(master); }
    DataSource* GetDataSource() const { return masterSource(); }

    void Prepare();
    void UnPrepare();
    bool Prepared() const { return stmt_ != nullptr; }
    // Runs a statement without a result (or its first row, for a select).
    void ExecSQL();
    qint64 RowsAffected() const { return rowsAffected_; }

    bool CanModify() const override;

protected:
    void openCursor() override;
    bool fetchRow(fb::Row& row) override;
    void closeCursor() override;
    void writeRecord(UpdateStatus kind, const fb::Row& values, const fb::Row& old) override;
    bool refreshRecord(fb::Row& values) override;
    void masterChanged() override;

private:
    void sqlChanged();
    void fillParams();
    std::unique_ptr<fb::Statement> stmt_;
    fb::Transaction* stmtTra_ = nullptr;
    QString preparedText_;
    Params params_;
    qint64 rowsAffected_ = -1;
};

} // namespace dataset

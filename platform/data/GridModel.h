#pragma once

#include "platform/data/DataSet.h"

#include <QAbstractTableModel>
#include <QPointer>

namespace dataset {

class DataSource;

// A column of a grid: the field it shows and how.
struct GridColumn {
    QString FieldName;
    QString Title;                 // empty: the field's display name
    Qt::Alignment Alignment = Qt::AlignLeft | Qt::AlignVCenter;
    Qt::Alignment TitleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool TitleBold = false;
    int Width = 0;                 // pixels; 0: from the field's display width
    bool ReadOnly = false;
};

// Table model over a dataset's buffered rows. Rows come from the open
// cursor on demand (canFetchMore/fetchMore), so a huge result shows its
// first page without reading the rest. Without explicit columns every
// visible field is a column.
class DataSetModel : public QAbstractTableModel, private DataSetObserver {
    Q_OBJECT
public:
    explicit DataSetModel(QObject* parent = nullptr);
    ~DataSetModel() override;

    void SetDataSource(DataSource* source);
    DataSource* GetDataSource() const { return source_; }
    DataSet* GetDataSet() const;
    void SetColumns(const QList<GridColumn>& columns);
    const QList<GridColumn>& Columns() const { return columns_; }
    Field* ColumnField(int column) const;   // null when the field is absent
    int FetchBatch = 100;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    void currentRowChanged(int row);

private:
    void rowsAboutToBeInserted(int first, int last) override;
    void rowsInserted() override;
    void rowsAboutToBeRemoved(int first, int last) override;
    void rowsRemoved() override;
    void aboutToReset() override;
    void reset() override;
    void rowChanged(int row) override;
    void currentChanged(int row) override;
    void attach(DataSet* ds);
    void fieldsChanged();

    QPointer<DataSource> source_;
    QPointer<DataSet> ds_;
    QList<GridColumn> columns_;
    bool explicitColumns_ = false;
    mutable QList<Field*> fieldCache_;
    bool resetting_ = false;
};

} // namespace dataset

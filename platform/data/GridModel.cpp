#include "GridModel.h"
#include "DataSource.h"

#include <QFont>

namespace dataset {

DataSetModel::DataSetModel(QObject* parent) : QAbstractTableModel(parent) {}

DataSetModel::~DataSetModel() {
    if (ds_) ds_->removeObserver(this);
}

DataSet* DataSetModel::GetDataSet() const { return ds_; }

void DataSetModel::SetDataSource(DataSource* source) {
    if (source_ == source) return;
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        connect(source, &DataSource::dataSetChanged, this, [this] { attach(source_ ? source_->GetDataSet() : nullptr); });
        connect(source, &QObject::destroyed, this, [this] { attach(nullptr); });
    }
    attach(source ? source->GetDataSet() : nullptr);
}

void DataSetModel::attach(DataSet* ds) {
    if (ds_ == ds) return;
    beginResetModel();
    if (ds_) {
        ds_->removeObserver(this);
        disconnect(ds_, &QObject::destroyed, this, nullptr);
    }
    ds_ = ds;
    if (ds) {
        ds->addObserver(this);
        connect(ds, &QObject::destroyed, this, [this] {
            beginResetModel();
            ds_ = nullptr;
            fieldCache_.clear();
            endResetModel();
        });
    }
    fieldsChanged();
    endResetModel();
}

void DataSetModel::SetColumns(const QList<GridColumn>& columns) {
    beginResetModel();
    columns_ = columns;
    explicitColumns_ = true;
    fieldsChanged();
    endResetModel();
}

void DataSetModel::fieldsChanged() {
    fieldCache_.clear();
    if (!explicitColumns_) {
        columns_.clear();
        if (ds_)
            for (int i = 0; i < ds_->FieldCount(); ++i) {
                Field* f = ds_->Fields(i);
                if (!f->Visible) continue;
                GridColumn c;
                c.FieldName = f->FieldName();
                if (f->FieldAlignment == Alignment::Right) c.Alignment = Qt::AlignRight | Qt::AlignVCenter;
                else if (f->FieldAlignment == Alignment::Center) c.Alignment = Qt::AlignCenter;
                columns_ << c;
            }
    }
    for (const GridColumn& c : columns_) fieldCache_ << (ds_ ? ds_->FindField(c.FieldName) : nullptr);
}

Field* DataSetModel::ColumnField(int column) const {
    if (column < 0 || column >= fieldCache_.size()) return nullptr;
    return fieldCache_[column];
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !ds_ || !ds_->Active() || resetting_) return 0;
    return ds_->BufferedCount();
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return int(columns_.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !ds_ || resetting_) return QVariant();
    Field* f = ColumnField(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return f ? ds_->DisplayTextAt(index.row(), f) : QVariant();
    case Qt::EditRole:
        return f ? ds_->ValueAt(index.row(), f) : QVariant();
    case Qt::TextAlignmentRole:
        return int(columns_[index.column()].Alignment);
    default:
        return QVariant();
    }
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size()) return QVariant();
    const GridColumn& c = columns_[section];
    switch (role) {
    case Qt::DisplayRole: {
        if (!c.Title.isNull()) return c.Title;
        Field* f = ColumnField(section);
        return f ? f->DisplayName() : c.FieldName;
    }
    case Qt::TextAlignmentRole:
        return int(c.TitleAlignment);
    case Qt::FontRole:
        if (c.TitleBold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return QVariant();
    default:
        return QVariant();
    }
}

bool DataSetModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && ds_ && ds_->Active() && !ds_->AllFetched();
}

void DataSetModel::fetchMore(const QModelIndex& parent) {
    if (canFetchMore(parent)) ds_->FetchMore(FetchBatch);
}

// Row changes inside a reset (the first row read by Open) are part of it.
void DataSetModel::rowsAboutToBeInserted(int first, int last) {
    if (!resetting_) beginInsertRows(QModelIndex(), first, last);
}
void DataSetModel::rowsInserted() {
    if (!resetting_) endInsertRows();
}
void DataSetModel::rowsAboutToBeRemoved(int first, int last) {
    if (!resetting_) beginRemoveRows(QModelIndex(), first, last);
}
void DataSetModel::rowsRemoved() {
    if (!resetting_) endRemoveRows();
}

void DataSetModel::aboutToReset() {
    if (resetting_) return;
    beginResetModel();
    resetting_ = true;
}

void DataSetModel::reset() {
    if (!resetting_) return;
    resetting_ = false;
    fieldsChanged();
    endResetModel();
}

void DataSetModel::rowChanged(int row) {
    if (row < 0 || resetting_ || columns_.isEmpty() || !ds_ || row >= ds_->BufferedCount()) return;
    emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
}

void DataSetModel::currentChanged(int row) { emit currentRowChanged(row); }

} // namespace dataset

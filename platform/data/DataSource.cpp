#include "DataSource.h"

namespace dataset {

DataSource::DataSource(QObject* parent) : QObject(parent) {}

DataSource::~DataSource() {
    if (dataSet_) dataSet_->sources_.removeAll(this);
}

void DataSource::SetDataSet(DataSet* ds) {
    if (dataSet_ == ds) return;
    if (dataSet_) dataSet_->sources_.removeAll(this);
    dataSet_ = ds;
    if (ds) ds->sources_.append(this);
    emit dataSetChanged();
    notify(EvState, nullptr);
    notify(EvRecord, nullptr);
}

void DataSource::notify(int kind, Field* field) {
    switch (kind) {
    case EvState:
        if (OnStateChange) OnStateChange(*this);
        emit stateChanged();
        break;
    case EvRecord:
        if (OnDataChange) OnDataChange(*this, nullptr);
        emit dataChanged(nullptr);
        break;
    case EvField:
        if (OnDataChange) OnDataChange(*this, field);
        emit dataChanged(field);
        break;
    case EvScroll:
        emit scrolled();
        if (OnDataChange) OnDataChange(*this, nullptr);
        emit dataChanged(nullptr);
        break;
    case EvUpdateRecord:
        if (OnUpdateData) OnUpdateData(*this);
        emit updateRecord();
        break;
    default:
        break;
    }
}

} // namespace dataset

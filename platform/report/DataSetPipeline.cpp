#include "DataSetPipeline.h"

#include "platform/data/DataSet.h"

namespace report {

DataSetPipeline::DataSetPipeline(QString name, dataset::DataSet* dataSet)
    : Pipeline(std::move(name)), ds_(dataSet) {}

QStringList DataSetPipeline::fieldNames() const {
    QStringList names;
    for (int i = 0; i < ds_->FieldCount(); ++i)
        names << ds_->Fields(i)->FieldName();
    return names;
}

void DataSetPipeline::first() {
    if (!ds_->Active())
        ds_->Open();
    ds_->First();
}

void DataSetPipeline::next() { ds_->Next(); }

bool DataSetPipeline::atEnd() const { return !ds_->Active() || ds_->IsEmpty() || ds_->Eof(); }

QVariant DataSetPipeline::value(int field) const {
    if (atEnd() || field < 0 || field >= ds_->FieldCount())
        return QVariant();
    return ds_->Fields(field)->Value();
}

} // namespace report

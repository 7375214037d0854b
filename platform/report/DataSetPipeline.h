#pragma once

#include "platform/report/Pipeline.h"

namespace dataset { class DataSet; }

namespace report {

// A pipeline over a dataset of the data layer: its fields (data, lookup
// and calculated alike) by name, First/Next/Eof as the row moves, values as
// the fields hold them. A detail dataset that follows its master through a
// data source follows it here too; give it setMaster() for the engine.
class DataSetPipeline : public Pipeline {
public:
    DataSetPipeline(QString name, dataset::DataSet* dataSet);

    dataset::DataSet* dataSet() const { return ds_; }
    QStringList fieldNames() const override;
    void first() override;
    void next() override;
    bool atEnd() const override;
    QVariant value(int field) const override;
    using Pipeline::value;

private:
    dataset::DataSet* ds_;
};

} // namespace report

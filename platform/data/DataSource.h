#pragma once

#include "platform/data/DataSet.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace dataset {

// Links a dataset to the controls bound to it: tells them of state
// changes, of a changed record or field, of cursor moves, and asks them to
// write their pending text before a post.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(QObject* parent = nullptr);
    ~DataSource() override;

    DataSet* GetDataSet() const { return dataSet_; }
    void SetDataSet(DataSet* ds);
    State GetState() const { return dataSet_ ? dataSet_->GetState() : State::Inactive; }

    bool Enabled = true;
    // Typing into a bound control of a browsing dataset starts Edit only
    // when this is set.
    bool AutoEdit = false;

    std::function<void(DataSource&)> OnStateChange;
    std::function<void(DataSource&, Field*)> OnDataChange;  // field null: the whole record
    std::function<void(DataSource&)> OnUpdateData;

signals:
    void stateChanged();
    void dataChanged(dataset::Field* field);
    void scrolled();
    void updateRecord();
    void dataSetChanged();  // another dataset was attached

private:
    friend class DataSet;
    void notify(int kind, Field* field);
    QPointer<DataSet> dataSet_;
};

// Kinds of notification sent from a dataset to its sources.
enum DataEventKind { EvState = 0, EvRecord = 1, EvField = 2, EvScroll = 3, EvUpdateRecord = 4 };

} // namespace dataset

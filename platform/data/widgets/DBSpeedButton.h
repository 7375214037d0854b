#pragma once

#include "platform/data/DataSource.h"

#include <QPointer>
#include <QToolButton>
#include <functional>

namespace dataset {

// Tool bar button that runs one dataset operation. A press runs, in order:
// OnClick; BeforeAction (may cancel silently with clip::EAbort); the
// operation; AfterAction, which is told whether the before-action or the
// operation failed and may clear that failure. An error in OnClick ends the
// press at once. An uncleared failure goes on (EAbort stays silent).
// The button is enabled while its dataset is open and none of the
// operation's reasons to be disabled holds; this is re-evaluated on every
// state or position change.
class DBSpeedButton : public QToolButton {
    Q_OBJECT
public:
    enum Action { None, Insert, Append, Post, Edit, Cancel, Delete, First, Prior, Next, Last, Refresh };

    explicit DBSpeedButton(QWidget* parent = nullptr);
    DBSpeedButton(Action action, QWidget* parent = nullptr);

    void SetDataSource(DataSource* source);
    DataSource* GetDataSource() const { return source_; }
    void SetAction(Action a) { action_ = a; UpdateEnabled(); }
    Action GetAction() const { return action_; }

    std::function<void(DBSpeedButton&)> OnClick;
    std::function<void(DBSpeedButton&)> BeforeAction;
    std::function<void(DBSpeedButton&, bool& failed)> AfterAction;

    // Runs the press sequence (also what a mouse click does).
    void Press();
    // The enabled rule for the current state of the dataset.
    bool ShouldBeEnabled() const;
    void UpdateEnabled();

private:
    void runOperation();
    QPointer<DataSource> source_;
    Action action_ = None;
};

} // namespace dataset

#include "DBSpeedButton.h"

#include <exception>

namespace dataset {

DBSpeedButton::DBSpeedButton(QWidget* parent) : QToolButton(parent) {
    setAutoRaise(true);
    connect(this, &QToolButton::clicked, this, [this] { Press(); });
    UpdateEnabled();
}

DBSpeedButton::DBSpeedButton(Action action, QWidget* parent) : DBSpeedButton(parent) { SetAction(action); }

void DBSpeedButton::SetDataSource(DataSource* source) {
    if (source_ == source) return;
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        connect(source, &DataSource::stateChanged, this, &DBSpeedButton::UpdateEnabled);
        connect(source, &DataSource::dataChanged, this, [this](Field* f) { if (!f) UpdateEnabled(); });
        connect(source, &DataSource::scrolled, this, &DBSpeedButton::UpdateEnabled);
        connect(source, &DataSource::dataSetChanged, this, &DBSpeedButton::UpdateEnabled);
        connect(source, &QObject::destroyed, this, &DBSpeedButton::UpdateEnabled, Qt::QueuedConnection);
    }
    UpdateEnabled();
}

bool DBSpeedButton::ShouldBeEnabled() const {
    if (action_ == None) return isEnabled();
    DataSet* ds = source_ ? source_->GetDataSet() : nullptr;
    if (!ds || !ds->Active()) return false;
    const bool editing = ds->IsEditing();
    const bool empty = ds->IsEmpty();
    const bool canModify = ds->CanModify();
    switch (action_) {
    case Insert:
    case Append: return canModify && !editing;
    case Post:
    case Cancel: return editing;
    case Edit:
    case Delete: return canModify && !editing && !empty;
    case First:
    case Prior: return !ds->Bof() && !editing && !empty;
    case Next:
    case Last: return !ds->Eof() && !editing && !empty;
    case Refresh: return !editing;
    case None: break;
    }
    return true;
}

void DBSpeedButton::UpdateEnabled() {
    if (action_ == None) return;
    setEnabled(ShouldBeEnabled());
}

void DBSpeedButton::runOperation() {
    DataSet* ds = source_ ? source_->GetDataSet() : nullptr;
    if (!ds) return;
    switch (action_) {
    case Insert: ds->Insert(); break;
    case Append: ds->Append(); break;
    case Post: ds->Post(); break;
    case Edit: ds->Edit(); break;
    case Cancel: ds->Cancel(); break;
    case Delete: ds->Delete(); break;
    case First: ds->First(); break;
    case Prior: ds->Prior(); break;
    case Next: ds->Next(); break;
    case Last: ds->Last(); break;
    case Refresh: ds->Refresh(); break;
    case None: break;
    }
}

void DBSpeedButton::Press() {
    if (OnClick) OnClick(*this);
    std::exception_ptr error;
    try {
        if (BeforeAction) BeforeAction(*this);
        runOperation();
    } catch (...) {
        error = std::current_exception();
    }
    bool failed = error != nullptr;
    if (AfterAction) AfterAction(*this, failed);
    if (failed && error) std::rethrow_exception(error);
    UpdateEnabled();
}

} // namespace dataset

#include "DBControls.h"

#include "platform/core/Exception.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QRadioButton>
#include <algorithm>

namespace dataset {

namespace {

// Keys that change text (as opposed to moving or leaving).
bool changesText(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    if (e->matches(QKeySequence::Paste) || e->matches(QKeySequence::Cut)) return true;
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    return !e->text().isEmpty() && e->text()[0].isPrint();
}

QString applyCase(const QString& s, CharCase c) {
    switch (c) {
    case CharCase::Upper: return s.toUpper();
    case CharCase::Lower: return s.toLower();
    default: return s;
    }
}

} // namespace

// ---------------------------------------------------------------- FieldDataLink

FieldDataLink::FieldDataLink(QObject* parent) : QObject(parent) {}

void FieldDataLink::SetDataSource(DataSource* source) {
    if (source_ == source) return;
    if (source_) disconnect(source_, nullptr, this, nullptr);
    source_ = source;
    if (source) {
        connect(source, &DataSource::dataChanged, this, [this](Field* f) {
            if (updating_) return;
            if (f && f != GetField()) return;
            Modified = false;
            if (OnDataChange) OnDataChange();
        });
        connect(source, &DataSource::stateChanged, this, [this] {
            if (!Editing()) Modified = false;
            if (OnStateChange) OnStateChange();
        });
        connect(source, &DataSource::updateRecord, this, [this] {
            if (Modified && OnUpdateData) OnUpdateData();
        });
        connect(source, &DataSource::dataSetChanged, this, [this] {
            Modified = false;
            if (OnStateChange) OnStateChange();
            if (OnDataChange) OnDataChange();
        });
    }
    Modified = false;
    if (OnStateChange) OnStateChange();
    if (OnDataChange) OnDataChange();
}

void FieldDataLink::SetFieldName(const QString& name) {
    fieldName_ = name;
    Modified = false;
    if (OnStateChange) OnStateChange();
    if (OnDataChange) OnDataChange();
}

Field* FieldDataLink::GetField() const {
    DataSet* ds = GetDataSet();
    if (!ds || !ds->Active() || fieldName_.isEmpty()) return nullptr;
    return ds->FindField(fieldName_);
}

bool FieldDataLink::Active() const { return GetField() != nullptr; }

bool FieldDataLink::Editing() const {
    DataSet* ds = GetDataSet();
    return ds && ds->IsEditing();
}

bool FieldDataLink::CanEdit() const {
    Field* f = GetField();
    if (!f || f->ReadOnly || f->Kind() != FieldKind::Data) return false;
    if (Editing()) return true;
    DataSet* ds = GetDataSet();
    return source_->AutoEdit && ds->CanModify();
}

bool FieldDataLink::Edit() {
    if (!CanEdit()) return false;
    if (!Editing()) GetDataSet()->Edit();
    return Editing();
}

void FieldDataLink::Write(const std::function<void(Field&)>& write) {
    Field* f = GetField();
    if (!f) return;
    updating_ = true;
    try {
        write(*f);
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
    Modified = false;
}

// ---------------------------------------------------------------- DBEdit

namespace {
class MaskStartOnClick : public QObject {
public:
    explicit MaskStartOnClick(QLineEdit* edit) : QObject(edit) { edit->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            auto* edit = static_cast<QLineEdit*>(o);
            const QString t = edit->text();
            if (!edit->inputMask().isEmpty() && !edit->hasSelectedText() &&
                std::none_of(t.begin(), t.end(), [](QChar c) { return c.isLetterOrNumber(); }))
                edit->setCursorPosition(0);
        }
        return false;
    }
};
} // namespace

void StartEmptyMaskAtFirstPosition(QLineEdit* edit) { new MaskStartOnClick(edit); }

DBEdit::DBEdit(QWidget* parent) : QLineEdit(parent) {
    StartEmptyMaskAtFirstPosition(this);
    link_.OnDataChange = [this] { refresh(); };
    link_.OnStateChange = [this] { refresh(); };
    link_.OnUpdateData = [this] { UpdateRecord(); };
    connect(this, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (settingText_) return;
        if (charCase_ != CharCase::Normal && mask_.isEmpty()) {
            const QString t = applyCase(text, charCase_);
            if (t != text) {
                const int pos = cursorPosition();
                settingText_ = true;
                setText(t);
                setCursorPosition(pos);
                settingText_ = false;
            }
        }
        link_.Modified = true;
    });
    setReadOnly(true);
}

void DBEdit::applyMask() {
    Field* f = link_.GetField();
    const QString spec = !ownMask_.isEmpty() ? ownMask_ : (f ? f->EditMask : QString());
    if (spec == appliedMask_) return;
    appliedMask_ = spec;
    mask_ = EditMask::parse(spec);
    QString q = mask_.qtInputMask();
    if (charCase_ == CharCase::Upper && !q.isEmpty() && !q.startsWith(QLatin1Char('>'))) q.prepend(QLatin1Char('>'));
    if (charCase_ == CharCase::Lower && !q.isEmpty() && !q.startsWith(QLatin1Char('<'))) q.prepend(QLatin1Char('<'));
    settingText_ = true;
    setInputMask(q);
    settingText_ = false;
}

void DBEdit::updateReadOnly() {
    setReadOnly(ReadOnlyControl || !link_.CanEdit());
}

void DBEdit::refresh() {
    Field* f = link_.GetField();
    applyMask();
    updateReadOnly();
    if (link_.Modified) return;
    QString text;
    if (f) text = (link_.Editing() || hasFocus() || !mask_.isEmpty()) ? f->Text() : f->DisplayText();
    settingText_ = true;
    if (!mask_.isEmpty()) {
        // Fill the mask positions from the stored text.
        const QString lits = mask_.literals();
        QString display;
        int src = 0;
        for (int i = 0; i < lits.size(); ++i) {
            if (!lits[i].isNull()) {
                display += lits[i];
                if (mask_.storeLiterals && src < text.size()) ++src;
            } else {
                QChar c = src < text.size() ? text[src++] : QLatin1Char(' ');
                display += c == QLatin1Char(' ') ? mask_.blank : c;
            }
        }
        setText(display);
    } else {
        if (f && f->DataType() == FieldType::String && f->Size() > 0) setMaxLength(f->Size());
        else setMaxLength(32767);
        setText(text);
    }
    setCursorPosition(0);
    settingText_ = false;
    link_.Modified = false;
}

QString DBEdit::storedText() const {
    return mask_.isEmpty() ? text() : mask_.valueFromDisplay(displayText());
}

void DBEdit::UpdateRecord() {
    if (!link_.Modified) return;
    Field* f = link_.GetField();
    if (!f) return;
    const QString value = storedText();
    // A time typed into a text field with a time mask must be a time.
    if (!mask_.isEmpty() && !value.isEmpty() && f->DataType() == FieldType::String) {
        if (mask_.isTimeMask()) StrToTime(value);
        else if (mask_.isDateMask()) StrToDate(value);
    }
    link_.Write([&](Field& fld) { fld.SetAsString(value); });
    refresh();
}

void DBEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && link_.Modified) {
        link_.Modified = false;
        refresh();
    }
    if (changesText(e) && !ReadOnlyControl && !link_.Editing() && link_.CanEdit()) {
        const int pos = cursorPosition(), start = selectionStart(), len = selectedText().size();
        link_.Edit();
        updateReadOnly();
        if (start >= 0) setSelection(start, int(len));
        else setCursorPosition(pos);
    }
    QLineEdit::keyPressEvent(e);
}

void DBEdit::inputMethodEvent(QInputMethodEvent* e) {
    if (!ReadOnlyControl && !link_.Editing() && link_.CanEdit()) link_.Edit();
    QLineEdit::inputMethodEvent(e);
}

void DBEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (!link_.Modified) refresh();
}

void DBEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (link_.Modified && link_.Editing()) UpdateRecord();
    else if (!link_.Modified) refresh();
}

// ---------------------------------------------------------------- DBMemo

DBMemo::DBMemo(QWidget* parent) : QPlainTextEdit(parent) {
    link_.OnDataChange = [this] { refresh(); };
    link_.OnStateChange = [this] { updateReadOnly(); };
    link_.OnUpdateData = [this] { UpdateRecord(); };
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!settingText_) link_.Modified = true;
    });
    setReadOnly(true);
}

void DBMemo::updateReadOnly() { setReadOnly(ReadOnlyControl || !link_.CanEdit()); }

void DBMemo::refresh() {
    updateReadOnly();
    if (link_.Modified) return;
    Field* f = link_.GetField();
    settingText_ = true;
    QString text = f ? f->AsString() : QString();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setPlainText(text);
    settingText_ = false;
    link_.Modified = false;
}

void DBMemo::UpdateRecord() {
    if (!link_.Modified || !link_.GetField()) return;
    QString text = toPlainText();
    text.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    link_.Write([&](Field& f) { f.SetAsString(text); });
}

void DBMemo::keyPressEvent(QKeyEvent* e) {
    if (changesText(e) || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        if (!ReadOnlyControl && !link_.Editing() && link_.CanEdit()) {
            const QTextCursor cursor = textCursor();
            link_.Edit();
            updateReadOnly();
            setTextCursor(cursor);
        }
    }
    QPlainTextEdit::keyPressEvent(e);
}

void DBMemo::insertFromMimeData(const QMimeData* source) {
    if (!ReadOnlyControl && !link_.Editing() && link_.CanEdit()) link_.Edit();
    QPlainTextEdit::insertFromMimeData(source);
}

void DBMemo::focusOutEvent(QFocusEvent* e) {
    QPlainTextEdit::focusOutEvent(e);
    if (link_.Modified && link_.Editing()) UpdateRecord();
}

// ---------------------------------------------------------------- DBComboBox

DBComboBox::DBComboBox(QWidget* parent) : QComboBox(parent) {
    link_.OnDataChange = [this] { refresh(); };
    link_.OnStateChange = [this] { refresh(); };
    link_.OnUpdateData = [this] { UpdateRecord(); };
    connect(this, &QComboBox::activated, this, [this](int i) { picked(i); });
    connect(this, &QComboBox::editTextChanged, this, [this] {
        if (!settingText_ && style_ == DropDown) link_.Modified = true;
    });
}

void DBComboBox::SetStyle(Style s) {
    style_ = s;
    settingText_ = true;
    setEditable(s == DropDown);
    settingText_ = false;
    refresh();
}

void DBComboBox::SetItems(const QStringList& items) {
    settingText_ = true;
    clear();
    addItems(items);
    settingText_ = false;
    refresh();
}

void DBComboBox::refresh() {
    if (lineEdit()) lineEdit()->setReadOnly(ReadOnlyControl || !link_.CanEdit());
    if (link_.Modified) return;
    Field* f = link_.GetField();
    const QString v = f ? f->AsString() : QString();
    settingText_ = true;
    const int i = findText(v, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    setCurrentIndex(i);
    if (isEditable()) setEditText(v);
    settingText_ = false;
}

bool DBComboBox::allowChange() {
    if (ReadOnlyControl) return false;
    if (link_.Editing()) return link_.CanEdit();
    return link_.Edit();
}

void DBComboBox::picked(int index) {
    if (settingText_) return;
    if (!allowChange()) { refresh(); return; }
    const QString v = index >= 0 ? itemText(index) : QString();
    link_.Write([&](Field& f) { f.SetAsString(v); });
}

void DBComboBox::UpdateRecord() {
    if (!link_.Modified || style_ != DropDown) return;
    const QString v = currentText();
    link_.Write([&](Field& f) { f.SetAsString(v); });
}

void DBComboBox::mousePressEvent(QMouseEvent* e) {
    if (!allowChange()) { e->ignore(); return; }
    QComboBox::mousePressEvent(e);
}

void DBComboBox::keyPressEvent(QKeyEvent* e) {
    const int k = e->key();
    const bool nav = k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Return || k == Qt::Key_Enter ||
                     k == Qt::Key_Escape || k == Qt::Key_F2 || k == Qt::Key_F3 || k == Qt::Key_F4 ||
                     k == Qt::Key_F5 || k == Qt::Key_F6;
    if (!nav && !allowChange()) { e->ignore(); return; }
    QComboBox::keyPressEvent(e);
}

void DBComboBox::wheelEvent(QWheelEvent* e) { e->ignore(); }

void DBComboBox::focusOutEvent(QFocusEvent* e) {
    QComboBox::focusOutEvent(e);
    if (link_.Modified && link_.Editing()) UpdateRecord();
}

// ---------------------------------------------------------------- DBLookupComboBox

DBLookupComboBox::DBLookupComboBox(QWidget* parent) : QComboBox(parent) {
    link_.OnDataChange = [this] { refresh(); };
    link_.OnStateChange = [this] { refresh(); };
    connect(this, &QComboBox::activated, this, [this](int i) { apply(i); });
}

void DBLookupComboBox::SetListSource(DataSource* source) {
    if (list_) disconnect(list_, nullptr, this, nullptr);
    list_ = source;
    if (source) {
        connect(source, &DataSource::dataChanged, this, [this](Field*) {
            if (!updating_) reload();
        });
        connect(source, &DataSource::dataSetChanged, this, [this] { reload(); });
    }
    listVersion_ = ~0ull;
    reload();
}

void DBLookupComboBox::reload() {
    DataSet* ds = list_ ? list_->GetDataSet() : nullptr;
    if (ds == listDataSet_ && ds && ds->Version() == listVersion_) return;
    listDataSet_ = ds;
    updating_ = true;
    clear();
    if (ds && ds->Active() && !keyField_.isEmpty() && !listField_.isEmpty()) {
        ds->FetchAll();
        Field* key = ds->FindField(keyField_);
        Field* shown = ds->FindField(listField_);
        if (key && shown)
            for (int r = 0; r < ds->BufferedCount(); ++r) addItem(ds->DisplayTextAt(r, shown), ds->ValueAt(r, key));
    }
    listVersion_ = ds ? ds->Version() : ~0ull;
    updating_ = false;
    refresh();
}

QVariant DBLookupComboBox::KeyValue() const {
    Field* f = link_.GetField();
    return f ? f->Value() : QVariant();
}

void DBLookupComboBox::refresh() {
    if (updating_) return;
    DataSet* ds = list_ ? list_->GetDataSet() : nullptr;
    if (ds && (ds != listDataSet_ || ds->Version() != listVersion_)) { reload(); return; }
    Field* f = link_.GetField();
    const QVariant key = f ? f->Value() : QVariant();
    int found = -1;
    if (!key.isNull())
        for (int i = 0; i < count(); ++i)
            if (itemData(i).toString() == key.toString()) { found = i; break; }
    updating_ = true;
    setCurrentIndex(found);
    // The list's cursor follows the shown key.
    if (found >= 0 && ds && ds->Active() && !ds->IsEditing()) {
        Field* kf = ds->FindField(keyField_);
        if (kf && kf->Value().toString() != key.toString()) {
            try {
                ds->Locate(keyField_, key);
            } catch (...) {
                updating_ = false;
                throw;
            }
        }
    }
    listVersion_ = ds ? ds->Version() : ~0ull;
    updating_ = false;
}

bool DBLookupComboBox::allowChange() {
    if (ReadOnlyControl || !isEnabled()) return false;
    if (link_.Editing()) return link_.CanEdit();
    return link_.Edit();
}

void DBLookupComboBox::apply(int index) {
    if (updating_) return;
    if (!allowChange()) { refresh(); return; }
    const QVariant key = index >= 0 ? itemData(index) : QVariant();
    link_.Write([&](Field& f) { f.SetValue(key); });
    refresh();
}

void DBLookupComboBox::showPopup() {
    popupStart_ = currentIndex();
    QComboBox::showPopup();
}

void DBLookupComboBox::hidePopup() {
    QComboBox::hidePopup();
    // The pick is written before the close-up handler runs.
    const int now = currentIndex();
    if (now != popupStart_ && !updating_) {
        if (allowChange()) {
            const QVariant key = now >= 0 ? itemData(now) : QVariant();
            link_.Write([&](Field& f) { f.SetValue(key); });
        }
        refresh();
    }
    const bool escolhido = now != popupStart_;
    popupStart_ = currentIndex();
    // The list view closes the list before it hands over the item picked
    // with the mouse or Enter: then the handler runs once that has been
    // written, and only once however often the list is hidden meanwhile.
    static const char* const kPendente = "closeUpPending";
    if (!OnCloseUp || property(kPendente).toBool()) return;
    if (escolhido) {
        OnCloseUp(*this);
        return;
    }
    setProperty(kPendente, true);
    QMetaObject::invokeMethod(
        this,
        [this] {
            setProperty(kPendente, false);
            if (OnCloseUp) OnCloseUp(*this);
        },
        Qt::QueuedConnection);
}

void DBLookupComboBox::mousePressEvent(QMouseEvent* e) {
    if (!allowChange()) { e->ignore(); return; }
    QComboBox::mousePressEvent(e);
}

void DBLookupComboBox::keyPressEvent(QKeyEvent* e) {
    const int k = e->key();
    const bool nav = k == Qt::Key_Tab || k == Qt::Key_Backtab || k == Qt::Key_Return || k == Qt::Key_Enter ||
                     k == Qt::Key_Escape || (k >= Qt::Key_F1 && k <= Qt::Key_F12);
    if (!nav && !allowChange()) { e->ignore(); return; }
    QComboBox::keyPressEvent(e);
}

void DBLookupComboBox::wheelEvent(QWheelEvent* e) { e->ignore(); }

// ---------------------------------------------------------------- DBCheckBox

DBCheckBox::DBCheckBox(QWidget* parent) : QCheckBox(parent) {
    setTristate(true);
    link_.OnDataChange = [this] { refresh(); };
    link_.OnStateChange = [this] { refresh(); };
}

void DBCheckBox::refresh() {
    Field* f = link_.GetField();
    Qt::CheckState s = Qt::PartiallyChecked;
    if (f && !f->IsNull()) {
        const QString v = f->AsString();
        if (v.compare(ValueChecked, Qt::CaseInsensitive) == 0) s = Qt::Checked;
        else if (v.compare(ValueUnchecked, Qt::CaseInsensitive) == 0) s = Qt::Unchecked;
    }
    const bool b = blockSignals(true);
    setCheckState(s);
    blockSignals(b);
}

void DBCheckBox::nextCheckState() {
    if (ReadOnlyControl || !(link_.Editing() ? link_.CanEdit() : link_.Edit())) { refresh(); return; }
    const bool tick = checkState() != Qt::Checked;
    link_.Write([&](Field& f) { f.SetAsString(tick ? ValueChecked : ValueUnchecked); });
    refresh();
}

// ---------------------------------------------------------------- DBRadioGroup

DBRadioGroup::DBRadioGroup(QWidget* parent) : QGroupBox(parent) {
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    grid_ = new QGridLayout(this);
    link_.OnDataChange = [this] { refresh(); };
    link_.OnStateChange = [this] { refresh(); };
    connect(group_, &QButtonGroup::idClicked, this, [this](int id) { clicked(id); });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
        auto inside = [this](QWidget* w) { return w && (w == this || isAncestorOf(w)); };
        if (inside(old) && !inside(now) && OnExit) OnExit(*this);
    });
}

void DBRadioGroup::SetItems(const QStringList& items, const QStringList& values) {
    items_ = items;
    values_ = values;
    for (QRadioButton* b : buttons_) { group_->removeButton(b); delete b; }
    buttons_.clear();
    for (int i = 0; i < items.size(); ++i) {
        auto* b = new QRadioButton(items[i], this);
        b->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(i));
        group_->addButton(b, i);
        buttons_ << b;
    }
    layoutButtons();
    refresh();
}

void DBRadioGroup::SetColumns(int columns) {
    columns_ = std::max(1, columns);
    layoutButtons();
}

void DBRadioGroup::layoutButtons() {
    const int n = int(buttons_.size());
    const int rows = (n + columns_ - 1) / columns_;
    for (int i = 0; i < n; ++i) grid_->addWidget(buttons_[i], rows ? i % rows : 0, rows ? i / rows : 0);
}

QRadioButton* DBRadioGroup::Button(int index) const { return buttons_.value(index); }

int DBRadioGroup::ItemIndex() const { return group_->checkedId(); }

void DBRadioGroup::showIndex(int index) {
    group_->setExclusive(false);
    for (int i = 0; i < buttons_.size(); ++i) {
        const bool b = buttons_[i]->blockSignals(true);
        buttons_[i]->setChecked(i == index);
        buttons_[i]->blockSignals(b);
    }
    group_->setExclusive(true);
}

void DBRadioGroup::refresh() {
    Field* f = link_.GetField();
    int index = -1;
    if (f && !f->IsNull()) {
        const QString v = f->AsString();
        const QStringList& keys = values_.isEmpty() ? items_ : values_;
        index = int(keys.indexOf(v));
    }
    showIndex(index);
}

void DBRadioGroup::SetItemIndex(int index) {
    const QStringList& keys = values_.isEmpty() ? items_ : values_;
    link_.Write([&](Field& f) {
        if (index < 0 || index >= keys.size()) f.Clear();
        else f.SetAsString(keys[index]);
    });
    refresh();
}

void DBRadioGroup::clicked(int index) {
    if (ReadOnlyControl || !(link_.Editing() ? link_.CanEdit() : link_.Edit())) { refresh(); return; }
    SetItemIndex(index);
    if (OnChange) OnChange(*this);
}

// ---------------------------------------------------------------- DBImage

DBImage::DBImage(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    link_.OnDataChange = [this] { refresh(); };
    link_.OnStateChange = [this] { refresh(); };
}

void DBImage::refresh() {
    Field* f = link_.GetField();
    original_ = QPixmap();
    if (f && !f->IsNull()) original_.loadFromData(f->AsBytes());
    if (original_.isNull()) { setPixmap(QPixmap()); return; }
    setPixmap(Stretch && width() > 0 && height() > 0
                  ? original_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                  : original_);
}

void DBImage::LoadPicture(const QByteArray& bytes) {
    link_.Write([&](Field& f) { f.SetValue(bytes.isEmpty() ? QVariant() : QVariant(bytes)); });
    refresh();
}

void DBImage::resizeEvent(QResizeEvent* e) {
    QLabel::resizeEvent(e);
    if (!original_.isNull() && Stretch) setPixmap(original_.scaled(size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

} // namespace dataset

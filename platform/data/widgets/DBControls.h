#pragma once

#include "platform/data/DataSource.h"
#include "platform/data/EditMask.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <functional>

class QButtonGroup;
class QGridLayout;
class QRadioButton;

namespace dataset {

// Binds one control to one field of a data source's dataset. The field is
// looked up by name each time, so it survives the dataset being reopened.
class FieldDataLink : public QObject {
    Q_OBJECT
public:
    explicit FieldDataLink(QObject* parent = nullptr);

    void SetDataSource(DataSource* source);
    DataSource* GetDataSource() const { return source_; }
    void SetFieldName(const QString& name);
    const QString& FieldName() const { return fieldName_; }

    DataSet* GetDataSet() const { return source_ ? source_->GetDataSet() : nullptr; }
    Field* GetField() const;
    bool Active() const;     // dataset open and the field present
    bool Editing() const;    // dataset in edit or insert state
    // Whether the user may change the value now (or could, through AutoEdit).
    bool CanEdit() const;
    // Puts the dataset into Edit when it browses and AutoEdit is on;
    // returns whether the field can be written.
    bool Edit();

    bool Modified = false;               // the control holds text not yet written
    std::function<void()> OnDataChange;  // show the field's value
    std::function<void()> OnStateChange;
    std::function<void()> OnUpdateData;  // write the control's value

    bool Updating() const { return updating_; }
    // Writes through the field while suppressing the echo to this control.
    void Write(const std::function<void(Field&)>& write);

private:
    QPointer<DataSource> source_;
    QString fieldName_;
    bool updating_ = false;
};

enum class CharCase { Normal, Upper, Lower };

// Edit box bound to a field. The field's EditMask (or the box's own) is
// applied as an input mask; the value stored keeps the literals when the
// mask says so. Text turns upper/lower case by CharCase. Length is limited
// to the field size.
// A click into a masked box that holds nothing typed yet puts the cursor at
// its first position, so what is typed next fills the box from the left.
// Data-aware boxes do it by themselves; other masked boxes call this once.
void StartEmptyMaskAtFirstPosition(QLineEdit* edit);

class DBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DBEdit(QWidget* parent = nullptr);
    void SetDataSource(DataSource* source) { link_.SetDataSource(source); }
    DataSource* GetDataSource() const { return link_.GetDataSource(); }
    void SetDataField(const QString& name) { link_.SetFieldName(name); }
    QString DataField() const { return link_.FieldName(); }
    Field* GetField() const { return link_.GetField(); }
    void SetCharCase(CharCase c) { charCase_ = c; }
    // A mask of the box itself; empty: the field's EditMask.
    void SetEditMask(const QString& spec) { ownMask_ = spec; refresh(); }
    bool ReadOnlyControl = false;

    // Writes the pending text into the field (also done on leaving the box
    // and before a post). Throws the field's conversion error.
    void UpdateRecord();
    void refresh();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    void updateReadOnly();
    void applyMask();
    QString storedText() const;
    FieldDataLink link_;
    CharCase charCase_ = CharCase::Normal;
    QString ownMask_;
    QString appliedMask_;
    EditMask mask_;
    bool settingText_ = false;
};

// Multi-line text bound to a (text blob or string) field.
class DBMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit DBMemo(QWidget* parent = nullptr);
    void SetDataSource(DataSource* source) { link_.SetDataSource(source); }
    DataSource* GetDataSource() const { return link_.GetDataSource(); }
    void SetDataField(const QString& name) { link_.SetFieldName(name); }
    QString DataField() const { return link_.FieldName(); }
    bool ReadOnlyControl = false;
    void UpdateRecord();
    void refresh();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void updateReadOnly();
    FieldDataLink link_;
    bool settingText_ = false;
};

// Combo box bound to a text field: a drop-down list only (the stored
// value is one of the items) or an editable box.
class DBComboBox : public QComboBox {
    Q_OBJECT
public:
    enum Style { DropDown, DropDownList };
    explicit DBComboBox(QWidget* parent = nullptr);
    void SetDataSource(DataSource* source) { link_.SetDataSource(source); }
    DataSource* GetDataSource() const { return link_.GetDataSource(); }
    void SetDataField(const QString& name) { link_.SetFieldName(name); }
    QString DataField() const { return link_.FieldName(); }
    void SetStyle(Style s);
    Style GetStyle() const { return style_; }
    void SetItems(const QStringList& items);
    bool ReadOnlyControl = false;
    void UpdateRecord();
    void refresh();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    bool allowChange();
    void picked(int index);
    FieldDataLink link_;
    Style style_ = DropDownList;
    bool settingText_ = false;
};

// Combo box that stores a key and shows a name from a list dataset. The
// list dataset's cursor follows the shown key. A key missing from the list
// shows no name.
class DBLookupComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit DBLookupComboBox(QWidget* parent = nullptr);
    void SetDataSource(DataSource* source) { link_.SetDataSource(source); }
    DataSource* GetDataSource() const { return link_.GetDataSource(); }
    void SetDataField(const QString& name) { link_.SetFieldName(name); }
    QString DataField() const { return link_.FieldName(); }
    void SetListSource(DataSource* source);
    DataSource* ListSource() const { return list_; }
    void SetKeyField(const QString& name) { keyField_ = name; reload(); }
    void SetListField(const QString& name) { listField_ = name; reload(); }
    QString KeyField() const { return keyField_; }
    QString ListField() const { return listField_; }
    bool ReadOnlyControl = false;
    QVariant KeyValue() const;   // the key shown, null when none
    QString Text() const { return currentIndex() >= 0 ? currentText() : QString(); }

    std::function<void(DBLookupComboBox&)> OnCloseUp;

    void refresh();
    void reload();
    void showPopup() override;
    void hidePopup() override;

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    bool allowChange();
    void apply(int index);
    FieldDataLink link_;
    QPointer<DataSource> list_;
    QString keyField_, listField_;
    quint64 listVersion_ = ~0ull;
    QPointer<DataSet> listDataSet_;
    bool updating_ = false;
    int popupStart_ = -1;
};

// Check box bound to a field: ticked stores ValueChecked, cleared
// ValueUnchecked, NULL (or any other value) shows grey.
class DBCheckBox : public QCheckBox {
    Q_OBJECT
public:
    explicit DBCheckBox(QWidget* parent = nullptr);
    void SetDataSource(DataSource* source) { link_.SetDataSource(source); }
    DataSource* GetDataSource() const { return link_.GetDataSource(); }
    void SetDataField(const QString& name) { link_.SetFieldName(name); }
    QString DataField() const { return link_.FieldName(); }
    QString ValueChecked = QStringLiteral("1");
    QString ValueUnchecked = QStringLiteral("0");
    bool ReadOnlyControl = false;
    void refresh();

protected:
    void nextCheckState() override;

private:
    FieldDataLink link_;
};

// Group of radio buttons; each item stores its value (or its caption when
// no values are given). A value matching no item checks none.
class DBRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit DBRadioGroup(QWidget* parent = nullptr);
    void SetDataSource(DataSource* source) { link_.SetDataSource(source); }
    DataSource* GetDataSource() const { return link_.GetDataSource(); }
    void SetDataField(const QString& name) { link_.SetFieldName(name); }
    QString DataField() const { return link_.FieldName(); }
    void SetItems(const QStringList& items, const QStringList& values = {});
    QStringList Items() const { return items_; }
    QStringList Values() const { return values_; }
    void SetColumns(int columns);
    int ItemIndex() const;
    void SetItemIndex(int index);   // writes the item's value (dataset must be editable)
    QRadioButton* Button(int index) const;
    bool ReadOnlyControl = false;
    std::function<void(DBRadioGroup&)> OnChange;  // after the user picked an item
    std::function<void(DBRadioGroup&)> OnExit;    // the focus left the group
    void refresh();

private:
    void clicked(int index);
    void layoutButtons();
    void showIndex(int index);
    FieldDataLink link_;
    QStringList items_, values_;
    int columns_ = 1;
    QButtonGroup* group_;
    QGridLayout* grid_;
    QList<QRadioButton*> buttons_;
};

// Picture from a binary blob field.
class DBImage : public QLabel {
    Q_OBJECT
public:
    explicit DBImage(QWidget* parent = nullptr);
    void SetDataSource(DataSource* source) { link_.SetDataSource(source); }
    DataSource* GetDataSource() const { return link_.GetDataSource(); }
    void SetDataField(const QString& name) { link_.SetFieldName(name); }
    QString DataField() const { return link_.FieldName(); }
    bool Stretch = true;
    // Stores image bytes (the dataset must be editing).
    void LoadPicture(const QByteArray& bytes);
    bool HasPicture() const { return !pixmap().isNull(); }
    void refresh();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    FieldDataLink link_;
    QPixmap original_;
};

} // namespace dataset

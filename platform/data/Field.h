#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>

namespace dataset {

class DataSet;

enum class FieldType { Unknown, String, Integer, LargeInt, Float, Date, Time, DateTime, Memo, Blob, Boolean };
enum class FieldKind { Data, Calculated, Lookup };
enum class Alignment { Left, Right, Center };

// One column of a dataset (or a calculated / lookup value). Settings are
// plain members; values go through the methods, which read and write the
// dataset's current record (or its edit buffer while editing).
//
// Text conversions follow the process formats: dates "dd/mm/yyyy", times
// "hh:mm:ss", decimal separator ",". Text that does not convert throws
// clip::EConvertError ("'x' is not a valid date", "... time",
// "... date and time", "... integer value", "... floating point value").
class Field {
public:
    Field(DataSet* owner, QString name, FieldType type, int size = 0, FieldKind kind = FieldKind::Data);

    const QString& FieldName() const { return name_; }
    FieldType DataType() const { return type_; }
    int Size() const { return size_; }
    FieldKind Kind() const { return kind_; }
    DataSet* DataSetOwner() const { return owner_; }
    int Index() const;  // position among the dataset's fields
    bool IsBlob() const { return type_ == FieldType::Memo || type_ == FieldType::Blob; }
    bool IsNumeric() const {
        return type_ == FieldType::Integer || type_ == FieldType::LargeInt || type_ == FieldType::Float;
    }
    // Label for messages and grid titles: DisplayLabel, else the field name.
    QString DisplayName() const { return DisplayLabel.isEmpty() ? name_ : DisplayLabel; }

    // Settings.
    QString DisplayLabel;
    bool Required = false;      // NOT NULL columns start required
    bool ReadOnly = false;
    bool Visible = true;
    QString EditMask;           // "!99/99/9900;1;_" notation, see EditMask.h
    QString DisplayFormat;      // "$#,0.00;($#,0.00)" for numbers, "dd/mm/yyyy" for dates
    QString EditFormat;         // numbers: format of the edit text (empty: plain)
    bool Currency = false;      // numbers shown as money: "R$ 1.234,50"
    Alignment FieldAlignment = Alignment::Left;
    int DisplayWidth = 0;       // characters; 0 = from the size

    // Lookup fields: the value of LookupResultField in LookupDataSet on the
    // row whose LookupKeyFields equal this dataset's KeyFields ("A;B").
    DataSet* LookupDataSet = nullptr;
    QString KeyFields;
    QString LookupKeyFields;
    QString LookupResultField;

    // Events.
    std::function<void(Field&)> OnChange;    // after the value changed
    std::function<void(Field&)> OnValidate;  // before it changes; throw to refuse

    // Values of the current record.
    QVariant Value() const;
    void SetValue(const QVariant& value);
    bool IsNull() const;
    void Clear() { SetValue(QVariant()); }

    QString AsString() const;
    void SetAsString(const QString& text);
    qint64 AsLargeInt() const;
    int AsInteger() const;
    void SetAsInteger(qint64 value) { SetValue(value >= INT32_MIN && value <= INT32_MAX ? QVariant(int(value)) : QVariant(value)); }
    double AsFloat() const;
    void SetAsFloat(double value) { SetValue(value); }
    QDateTime AsDateTime() const;
    void SetAsDateTime(const QDateTime& value) { SetValue(value.isValid() ? QVariant(value) : QVariant()); }
    bool AsBoolean() const;
    void SetAsBoolean(bool value);
    QByteArray AsBytes() const;

    // Text shown in browse (display format applied) and text to edit.
    QString DisplayText() const;
    QString Text() const;
    void SetText(const QString& text) { SetAsString(text); }

    // Formatting and conversion of any value of this field (no record).
    QString FormatDisplay(const QVariant& value) const;
    QString FormatEdit(const QVariant& value) const;
    QString FormatString(const QVariant& value) const;  // AsString of a value
    QVariant ConvertText(const QString& text) const;    // throws EConvertError
    QVariant ConvertValue(const QVariant& value) const; // to the field's storage type

private:
    friend class DataSet;
    DataSet* owner_;
    QString name_;
    FieldType type_;
    int size_;
    FieldKind kind_;
    int slot_ = -1;        // storage slot in a record (data and calculated fields)
    int column_ = -1;      // source column of the cursor, -1 when none
    bool defined_ = false; // made before Open: kept across opens

    // Lookup cache, rebuilt when the lookup dataset changes.
    mutable QHash<QString, QVariant> lookupCache_;
    mutable quint64 lookupVersion_ = ~0ull;
    mutable const DataSet* lookupCachedFrom_ = nullptr;
};

// Number formatting with a format string of the form
// "positive;negative;zero": '0' digit, '#' optional digit, '.' decimal
// point, ',' thousands, "..." / '...' literal text, anything else literal.
// Output uses "," for decimals and "." for thousands.
QString FormatFloat(const QString& format, double value);
// "1234,5" style text of a double (up to 15 significant digits).
QString FloatToStr(double value);
// Dates and times in the process formats.
QString DateToStr(const QDate& date);                // dd/mm/yyyy
QString DateTimeToStr(const QDateTime& dt);          // date, plus " hh:mm:ss" when the time is not midnight
// Date/time formats of the "dd/mm/yyyy hh:nn:ss" style.
QString FormatDateTime(const QString& format, const QDateTime& dt);
// Parsers; throw clip::EConvertError with the texts above.
QDateTime StrToDate(const QString& text);
QTime StrToTime(const QString& text);
QDateTime StrToDateTime(const QString& text);
qint64 StrToInt(const QString& text);
double StrToFloat(const QString& text);

} // namespace dataset

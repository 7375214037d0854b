#include "Field.h"
#include "DataSet.h"

#include "platform/core/Exception.h"

#include <QRegularExpression>
#include <cmath>

namespace dataset {

namespace {

[[noreturn]] void convertError(const QString& text, const char* what) {
    throw clip::EConvertError(QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(what)));
}

int expandYear(int year, int digits) {
    if (digits > 2)
        return year;
    // Two-digit years fall within fifty years of today.
    const int now = QDate::currentDate().year();
    int y = (now / 100) * 100 + year;
    if (y > now + 50) y -= 100;
    else if (y <= now - 50) y += 100;
    return y;
}

bool parseDate(const QString& text, QDate& out) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2})/(\\d{1,2})(?:/(\\d{1,4}))?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    int d = m.captured(1).toInt(), mo = m.captured(2).toInt();
    int y = QDate::currentDate().year();
    if (m.capturedLength(3))
        y = expandYear(m.captured(3).toInt(), int(m.capturedLength(3)));
    out = QDate(y, mo, d);
    return out.isValid();
}

bool parseTime(const QString& text, QTime& out) {
    static const QRegularExpression re(QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const auto m = re.match(text);
    if (!m.hasMatch())
        return false;
    out = QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.capturedLength(3) ? m.captured(3).toInt() : 0);
    return out.isValid();
}

QString trimmed(const QString& s) { return s.trimmed(); }

} // namespace

// ---------------------------------------------------------------- formats

QString DateToStr(const QDate& date) { return date.isValid() ? date.toString(QStringLiteral("dd/MM/yyyy")) : QString(); }

QString DateTimeToStr(const QDateTime& dt) {
    if (!dt.isValid())
        return QString();
    QString s = DateToStr(dt.date());
    if (dt.time() != QTime(0, 0))
        s += QLatin1Char(' ') + dt.time().toString(QStringLiteral("HH:mm:ss"));
    return s;
}

QString FloatToStr(double value) {
    if (std::isnan(value) || std::isinf(value))
        return QString::number(value);
    QString s = QString::number(value, 'g', 15);
    if (s.contains(QLatin1Char('e'))) {
        // Keep plain notation for ordinary magnitudes.
        if (std::fabs(value) < 1e15 && std::fabs(value) >= 1e-4)
            s = QString::number(value, 'f', 15 - int(std::floor(std::log10(std::fabs(value)))) - 1);
        if (s.contains(QLatin1Char('.')) && !s.contains(QLatin1Char('e'))) {
            while (s.endsWith(QLatin1Char('0'))) s.chop(1);
            if (s.endsWith(QLatin1Char('.'))) s.chop(1);
        }
    }
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

QString FormatFloat(const QString& format, double value) {
    if (format.isEmpty())
        return FloatToStr(value);
    // Split into sections, honouring quotes.
    QStringList sections;
    QString cur;
    QChar quote;
    for (QChar c : format) {
        if (!quote.isNull()) {
            cur += c;
            if (c == quote) quote = QChar();
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            cur += c;
        } else if (c == QLatin1Char(';')) {
            sections << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    sections << cur;
    QString sec = sections[0];
    bool negSection = false;
    if (value < 0 && sections.size() > 1 && !sections[1].isEmpty()) {
        sec = sections[1];
        negSection = true;
    } else if (value == 0 && sections.size() > 2 && !sections[2].isEmpty()) {
        sec = sections[2];
    }

    // Scan the digit placeholders of the section.
    int intZeros = 0, decZeros = 0, decHashes = 0;
    bool thousands = false, seenDot = false, seenDigit = false;
    int firstPh = -1, lastPh = -1;
    quote = QChar();
    for (int i = 0; i < sec.size(); ++i) {
        QChar c = sec[i];
        if (!quote.isNull()) { if (c == quote) quote = QChar(); continue; }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) { quote = c; continue; }
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (firstPh < 0) firstPh = i;
            lastPh = i;
            seenDigit = true;
            if (seenDot) { if (c == QLatin1Char('0')) { decZeros += 1 + decHashes; decHashes = 0; } else ++decHashes; }
            else if (c == QLatin1Char('0')) ++intZeros;
        } else if (c == QLatin1Char('.') && !seenDot) {
            seenDot = true;
            if (firstPh < 0) firstPh = i;
            lastPh = i;
        } else if (c == QLatin1Char(',') && seenDigit && !seenDot) {
            thousands = true;
            lastPh = i;
        }
    }
    const int decimals = decZeros + decHashes;
    double v = negSection ? std::fabs(value) : value;
    QString num;
    if (firstPh >= 0) {
        QString digits = QString::number(std::fabs(v), 'f', decimals);
        QString ip = digits, fp;
        int dot = int(digits.indexOf(QLatin1Char('.')));
        if (dot >= 0) { ip = digits.left(dot); fp = digits.mid(dot + 1); }
        while (fp.size() > decZeros && fp.endsWith(QLatin1Char('0'))) fp.chop(1);
        if (ip == QLatin1String("0") && intZeros == 0) ip.clear();
        while (ip.size() < intZeros) ip.prepend(QLatin1Char('0'));
        if (thousands) {
            for (int i = int(ip.size()) - 3; i > 0; i -= 3) ip.insert(i, QLatin1Char('.'));
        }
        num = ip;
        if (!fp.isEmpty()) num += QLatin1Char(',') + fp;
        if (v < 0 && !negSection && num.contains(QRegularExpression(QStringLiteral("[1-9]"))))
            num.prepend(QLatin1Char('-'));
    }
    // Assemble literals around the number.
    QString out;
    quote = QChar();
    for (int i = 0; i < sec.size(); ++i) {
        QChar c = sec[i];
        if (!quote.isNull()) {
            if (c == quote) quote = QChar(); else out += c;
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) { quote = c; continue; }
        if (i == firstPh) out += num;
        if (firstPh >= 0 && i >= firstPh && i <= lastPh) {
            if (c == QLatin1Char('0') || c == QLatin1Char('#') || c == QLatin1Char('.') || c == QLatin1Char(','))
                continue;
        }
        out += c;
    }
    return out;
}

QString FormatDateTime(const QString& format, const QDateTime& dt) {
    if (!dt.isValid())
        return QString();
    // Translate "dd/mm/yyyy hh:nn:ss" (mm after hh is minutes) to Qt's.
    QString q;
    bool afterHour = false;
    for (int i = 0; i < format.size();) {
        QChar c = format[i].toLower();
        int n = 1;
        while (i + n < format.size() && format[i + n].toLower() == c) ++n;
        QString run = format.mid(i, n);
        if (c == QLatin1Char('d')) q += QString(n, QLatin1Char('d'));
        else if (c == QLatin1Char('y')) q += n <= 2 ? QStringLiteral("yy") : QStringLiteral("yyyy");
        else if (c == QLatin1Char('m')) q += afterHour ? QString(n, QLatin1Char('m')) : QString(n, QLatin1Char('M'));
        else if (c == QLatin1Char('n')) q += QString(n, QLatin1Char('m'));
        else if (c == QLatin1Char('h')) { q += QString(n, QLatin1Char('H')); afterHour = true; }
        else if (c == QLatin1Char('s')) q += QString(n, QLatin1Char('s'));
        else if (c.isLetter()) q += QLatin1Char('\'') + run + QLatin1Char('\'');
        else q += run;
        if (c != QLatin1Char('h') && c != QLatin1Char(':') && c.isLetter() && c != QLatin1Char('m')) afterHour = false;
        i += n;
    }
    return dt.toString(q);
}

QDateTime StrToDate(const QString& text) {
    QDate d;
    if (!parseDate(text, d))
        convertError(text, "date");
    return d.startOfDay();
}

QTime StrToTime(const QString& text) {
    QTime t;
    if (!parseTime(text, t))
        convertError(text, "time");
    return t;
}

QDateTime StrToDateTime(const QString& text) {
    const QString s = text.trimmed();
    const qsizetype sp = s.indexOf(QLatin1Char(' '));
    QDate d;
    QTime t(0, 0);
    if (sp < 0) {
        if (!parseDate(s, d))
            convertError(text, "date and time");
    } else if (!parseDate(s.left(sp), d) || !parseTime(s.mid(sp + 1), t)) {
        convertError(text, "date and time");
    }
    return QDateTime(d, t, Qt::LocalTime);
}

qint64 StrToInt(const QString& text) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    if (!ok)
        convertError(text, "integer value");
    return v;
}

double StrToFloat(const QString& text) {
    QString s = text.trimmed();
    // "1.234,56": dots group thousands when a comma is the decimal point.
    static const QRegularExpression grouped(QStringLiteral("^[+-]?\\d{1,3}(\\.\\d{3})+(,\\d*)?$"));
    if (grouped.match(s).hasMatch())
        s.remove(QLatin1Char('.'));
    static const QRegularExpression plain(QStringLiteral("^[+-]?(\\d+(,\\d*)?|,\\d+)([eE][+-]?\\d+)?$"));
    if (!plain.match(s).hasMatch())
        convertError(text, "floating point value");
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = s.toDouble(&ok);
    if (!ok)
        convertError(text, "floating point value");
    return v;
}

// ---------------------------------------------------------------- Field

Field::Field(DataSet* owner, QString name, FieldType type, int size, FieldKind kind)
    : owner_(owner), name_(std::move(name)), type_(type), size_(size), kind_(kind) {
    if (IsNumeric())
        FieldAlignment = Alignment::Right;
}

int Field::Index() const {
    for (int i = 0; i < owner_->FieldCount(); ++i)
        if (owner_->Fields(i) == this)
            return i;
    return -1;
}

QVariant Field::Value() const { return owner_->currentValue(*this); }

void Field::SetValue(const QVariant& value) { owner_->setCurrentValue(*this, ConvertValue(value)); }

bool Field::IsNull() const { return Value().isNull(); }

QVariant Field::ConvertValue(const QVariant& v) const {
    if (v.isNull() || !v.isValid())
        return QVariant();
    if (v.typeId() == QMetaType::QString && type_ != FieldType::String && type_ != FieldType::Memo &&
        type_ != FieldType::Unknown)
        return ConvertText(v.toString());
    switch (type_) {
    case FieldType::Integer:
        if (v.typeId() == QMetaType::Double) return int(std::llround(v.toDouble()));
        return v.toInt();
    case FieldType::LargeInt:
        if (v.typeId() == QMetaType::Double) return qint64(std::llround(v.toDouble()));
        return v.toLongLong();
    case FieldType::Float: return v.toDouble();
    case FieldType::Boolean: return v.toBool();
    case FieldType::Date:
    case FieldType::DateTime:
        if (v.typeId() == QMetaType::QDate) return v.toDate().startOfDay();
        return v.toDateTime();
    case FieldType::Time:
        if (v.typeId() == QMetaType::QDateTime) return v.toDateTime().time();
        return v.toTime();
    case FieldType::String:
    case FieldType::Memo:
        if (v.typeId() == QMetaType::QDateTime) return DateTimeToStr(v.toDateTime());
        if (v.typeId() == QMetaType::Double) return FloatToStr(v.toDouble());
        return v.toString();
    case FieldType::Blob:
        return v.typeId() == QMetaType::QByteArray ? v : QVariant(v.toString().toLatin1());
    case FieldType::Unknown:
        return v;
    }
    return v;
}

QVariant Field::ConvertText(const QString& text) const {
    switch (type_) {
    case FieldType::String:
    case FieldType::Memo:
    case FieldType::Unknown:
        return text;
    case FieldType::Blob:
        return text.isEmpty() ? QVariant() : QVariant(text.toLatin1());
    default:
        break;
    }
    if (trimmed(text).isEmpty())
        return QVariant();
    switch (type_) {
    case FieldType::Integer: {
        const qint64 v = StrToInt(text);
        if (v < INT32_MIN || v > INT32_MAX)
            convertError(text, "integer value");
        return int(v);
    }
    case FieldType::LargeInt: return StrToInt(text);
    case FieldType::Float: {
        QString s = text;
        if (Currency) s.remove(QStringLiteral("R$")).remove(QLatin1Char(' '));
        return StrToFloat(s);
    }
    case FieldType::Boolean: {
        const QString t = text.trimmed().toLower();
        if (t == QLatin1String("true") || t == QLatin1String("1") || t == QLatin1String("sim")) return true;
        if (t == QLatin1String("false") || t == QLatin1String("0") || t == QLatin1String("não")) return false;
        throw clip::EConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(text));
    }
    case FieldType::Date: return StrToDate(text);
    case FieldType::Time: return StrToTime(text);
    case FieldType::DateTime: return StrToDateTime(text);
    default: return text;
    }
}

QString Field::FormatString(const QVariant& v) const {
    if (v.isNull())
        return QString();
    switch (type_) {
    case FieldType::Float: return FloatToStr(v.toDouble());
    case FieldType::Date: return DateToStr(v.toDateTime().date());
    case FieldType::DateTime:
        if (v.typeId() == QMetaType::QDate) return DateToStr(v.toDate());
        return DateTimeToStr(v.toDateTime());
    case FieldType::Time: return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case FieldType::Boolean: return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case FieldType::Blob: return QString::fromLatin1(v.toByteArray());
    default:
        if (v.typeId() == QMetaType::Double) return FloatToStr(v.toDouble());
        if (v.typeId() == QMetaType::QDateTime) return DateTimeToStr(v.toDateTime());
        return v.toString();
    }
}

QString Field::FormatDisplay(const QVariant& v) const {
    if (v.isNull())
        return QString();
    if (type_ == FieldType::Float || (IsNumeric() && !DisplayFormat.isEmpty())) {
        if (!DisplayFormat.isEmpty()) return FormatFloat(DisplayFormat, v.toDouble());
        if (Currency) {
            const double x = v.toDouble();
            const QString s = FormatFloat(QStringLiteral("#,##0.00"), std::fabs(x));
            return (x < 0 ? QStringLiteral("-R$ ") : QStringLiteral("R$ ")) + s;
        }
    }
    if ((type_ == FieldType::Date || type_ == FieldType::DateTime || type_ == FieldType::Time) &&
        !DisplayFormat.isEmpty()) {
        QDateTime dt = type_ == FieldType::Time ? QDateTime(QDate(1899, 12, 30), v.toTime()) : v.toDateTime();
        return FormatDateTime(DisplayFormat, dt);
    }
    return FormatString(v);
}

QString Field::FormatEdit(const QVariant& v) const {
    if (v.isNull())
        return QString();
    if (type_ == FieldType::Float) {
        if (!EditFormat.isEmpty()) return FormatFloat(EditFormat, v.toDouble());
        if (Currency) return FormatFloat(QStringLiteral("0.00"), v.toDouble());
    }
    return FormatString(v);
}

QString Field::AsString() const { return FormatString(Value()); }

void Field::SetAsString(const QString& text) {
    owner_->setCurrentValue(*this, ConvertText(text));
}

qint64 Field::AsLargeInt() const {
    const QVariant v = Value();
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::QString) return StrToInt(v.toString());
    if (v.typeId() == QMetaType::Double) return qint64(std::llround(v.toDouble()));
    return v.toLongLong();
}

int Field::AsInteger() const { return int(AsLargeInt()); }

double Field::AsFloat() const {
    const QVariant v = Value();
    if (v.isNull()) return 0.0;
    if (v.typeId() == QMetaType::QString) return StrToFloat(v.toString());
    return v.toDouble();
}

QDateTime Field::AsDateTime() const {
    const QVariant v = Value();
    if (v.isNull()) return QDateTime();
    switch (v.typeId()) {
    case QMetaType::QString: return StrToDateTime(v.toString());
    case QMetaType::QDate: return v.toDate().startOfDay();
    case QMetaType::QTime: return QDateTime(QDate(1899, 12, 30), v.toTime());
    default: return v.toDateTime();
    }
}

bool Field::AsBoolean() const {
    const QVariant v = Value();
    if (v.isNull()) return false;
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed().toLower();
        return t == QLatin1String("1") || t == QLatin1String("true") || t == QLatin1String("s");
    }
    return v.toBool();
}

void Field::SetAsBoolean(bool value) {
    if (type_ == FieldType::String) SetValue(value ? QStringLiteral("1") : QStringLiteral("0"));
    else if (type_ == FieldType::Boolean) SetValue(value);
    else SetValue(value ? 1 : 0);
}

QByteArray Field::AsBytes() const {
    const QVariant v = Value();
    if (v.typeId() == QMetaType::QByteArray) return v.toByteArray();
    return v.toString().toLatin1();
}

QString Field::DisplayText() const { return FormatDisplay(Value()); }

QString Field::Text() const { return FormatEdit(Value()); }

} // namespace dataset


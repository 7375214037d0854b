#include "platform/report/Format.h"

#include <QByteArray>
#include <cmath>

namespace report {

namespace {

FormatSettings& settingsRef()
{
    static FormatSettings s;
    return s;
}

// Splits a picture at ';' outside quotes.
QStringList sections(const QString& format)
{
    QStringList out;
    QString cur;
    QChar quote;
    for (QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            cur += c;
        } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
            cur += c;
        } else if (c == QLatin1Char(';')) {
            out << cur;
            cur.clear();
        } else {
            cur += c;
        }
    }
    out << cur;
    return out;
}

QString formatSection(const QString& section, double value, bool minus, const FormatSettings& s)
{
    QString prefix, suffix;
    int intZeros = 0, decZeros = 0, decHashes = 0;
    bool thousands = false, seenPoint = false, seenDigit = false, inLiteralAfter = false;
    QChar quote;
    for (QChar c : section) {
        if (!quote.isNull()) {
            if (c == quote) {
                quote = QChar();
            } else if (seenDigit) {
                suffix += c;
                inLiteralAfter = true;
            } else {
                prefix += c;
            }
            continue;
        }
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            quote = c;
        } else if ((c == QLatin1Char('0') || c == QLatin1Char('#')) && !inLiteralAfter) {
            seenDigit = true;
            if (seenPoint) {
                if (c == QLatin1Char('0')) decZeros = decZeros + decHashes + 1, decHashes = 0;
                else ++decHashes;
            } else if (c == QLatin1Char('0')) {
                ++intZeros;
            }
        } else if (c == QLatin1Char('.') && !inLiteralAfter && !seenPoint) {
            seenPoint = true;
            seenDigit = true;
        } else if (c == QLatin1Char(',') && seenDigit && !seenPoint && !inLiteralAfter) {
            thousands = true;
        } else if (c == QLatin1Char(',') && !seenDigit) {
            thousands = true;
        } else if (seenDigit) {
            suffix += c;
            inLiteralAfter = true;
        } else {
            prefix += c;
        }
    }
    if (!seenDigit)
        return prefix + suffix;

    const int decimals = decZeros + decHashes;
    QString digits = QString::number(std::fabs(value), 'f', decimals);
    QString intPart = digits, decPart;
    const int dot = digits.indexOf(QLatin1Char('.'));
    if (dot >= 0) {
        intPart = digits.left(dot);
        decPart = digits.mid(dot + 1);
    }
    while (decPart.size() > decZeros && decPart.endsWith(QLatin1Char('0')))
        decPart.chop(1);
    if (intPart == QLatin1String("0") && intZeros == 0)
        intPart.clear();
    while (intPart.size() < intZeros)
        intPart.prepend(QLatin1Char('0'));
    if (thousands && intPart.size() > 3) {
        QString grouped;
        const int n = intPart.size();
        for (int i = 0; i < n; ++i) {
            grouped += intPart[i];
            const int left = n - i - 1;
            if (left > 0 && left % 3 == 0) grouped += s.thousandSeparator;
        }
        intPart = grouped;
    }
    QString number = intPart;
    if (!decPart.isEmpty()) number += s.decimalSeparator + decPart;
    if (number.isEmpty()) number = QStringLiteral("0");
    return (minus ? QStringLiteral("-") : QString()) + prefix + number + suffix;
}

QString pad(int v, int width) { return QString::number(v).rightJustified(width, QLatin1Char('0')); }

} // namespace

const FormatSettings& formatSettings() { return settingsRef(); }
void setFormatSettings(const FormatSettings& settings) { settingsRef() = settings; }

QString formatFloat(const QString& format, double value, const FormatSettings& s)
{
    if (std::isnan(value) || std::isinf(value))
        return QString();
    if (format.isEmpty()) {
        QString t = QString::number(value, 'g', 15);
        t.replace(QLatin1Char('.'), s.decimalSeparator);
        return t;
    }
    const QStringList parts = sections(format);
    const QString& positive = parts[0];
    // Decide the sign on the value as the positive section would round it.
    const QString rounded = formatSection(positive, std::fabs(value), false, s);
    bool isZero = true;
    for (QChar c : rounded)
        if (c.isDigit() && c != QLatin1Char('0')) isZero = false;
    if (value == 0.0 || isZero) {
        if (parts.size() > 2 && !parts[2].isEmpty()) return formatSection(parts[2], 0.0, false, s);
        return formatSection(positive, 0.0, false, s);
    }
    if (value < 0) {
        if (parts.size() > 1 && !parts[1].isEmpty()) return formatSection(parts[1], value, false, s);
        return formatSection(positive, value, true, s);
    }
    return formatSection(positive, value, false, s);
}

QString formatDateTime(const QString& format, const QDateTime& value, const FormatSettings& s)
{
    if (!value.isValid())
        return QString();
    const QDate d = value.date();
    const QTime t = value.time();
    QString out;
    bool lastWasHour = false;
    const int n = format.size();
    for (int i = 0; i < n;) {
        const QChar c = format[i];
        const QChar lc = c.toLower();
        auto run = [&](QChar ch) {
            int k = i;
            while (k < n && format[k].toLower() == ch) ++k;
            return k - i;
        };
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            int k = i + 1;
            while (k < n && format[k] != c) out += format[k++];
            i = k + 1;
            continue;
        }
        if (lc == QLatin1Char('c') && run(QLatin1Char('c')) == 1) {
            out += formatDateTime(s.shortDateFormat, value, s);
            if (t != QTime(0, 0)) out += QLatin1Char(' ') + formatDateTime(s.longTimeFormat, value, s);
            ++i;
            lastWasHour = false;
            continue;
        }
        if (lc == QLatin1Char('d')) {
            const int len = run(lc);
            out += len >= 2 ? pad(d.day(), 2) : QString::number(d.day());
            i += len;
            lastWasHour = false;
        } else if (lc == QLatin1Char('m')) {
            const int len = run(lc);
            if (lastWasHour) out += len >= 2 ? pad(t.minute(), 2) : QString::number(t.minute());
            else out += len >= 2 ? pad(d.month(), 2) : QString::number(d.month());
            i += len;
            lastWasHour = false;
        } else if (lc == QLatin1Char('y')) {
            const int len = run(lc);
            out += len <= 2 ? pad(d.year() % 100, 2) : pad(d.year(), 4);
            i += len;
            lastWasHour = false;
        } else if (lc == QLatin1Char('h')) {
            const int len = run(lc);
            out += len >= 2 ? pad(t.hour(), 2) : QString::number(t.hour());
            i += len;
            lastWasHour = true;
        } else if (lc == QLatin1Char('n')) {
            const int len = run(lc);
            out += len >= 2 ? pad(t.minute(), 2) : QString::number(t.minute());
            i += len;
            lastWasHour = false;
        } else if (lc == QLatin1Char('s')) {
            const int len = run(lc);
            out += len >= 2 ? pad(t.second(), 2) : QString::number(t.second());
            i += len;
            lastWasHour = false;
        } else if (lc == QLatin1Char('z')) {
            const int len = run(lc);
            out += len >= 3 ? pad(t.msec(), 3) : QString::number(t.msec());
            i += len;
        } else if (c == QLatin1Char('/')) {
            out += s.dateSeparator;
            ++i;
        } else if (c == QLatin1Char(':')) {
            out += s.timeSeparator;
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString displayText(const QVariant& value, const QString& displayFormat, const FormatSettings& s)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return formatFloat(displayFormat, value.toDouble(), s);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        if (displayFormat.isEmpty()) return value.toString();
        return formatFloat(displayFormat, value.toDouble(), s);
    case QMetaType::QDateTime:
        return formatDateTime(displayFormat.isEmpty() ? QStringLiteral("c") : displayFormat, value.toDateTime(), s);
    case QMetaType::QDate:
        return formatDateTime(displayFormat.isEmpty() ? s.shortDateFormat : displayFormat,
                              QDateTime(value.toDate(), QTime(0, 0)), s);
    case QMetaType::QTime:
        return formatDateTime(displayFormat.isEmpty() ? s.longTimeFormat : displayFormat,
                              QDateTime(QDate(1899, 12, 30), value.toTime()), s);
    case QMetaType::QByteArray:
        return QString();
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return value.toString();
    }
}

QByteArray toWindows1252(const QString& text)
{
    // 0x80..0x9F of the code page; 0 where the code page has no character.
    static const char16_t high[32] = {
        0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
        0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += char(u);
            continue;
        }
        char b = '?';
        for (int i = 0; i < 32; ++i)
            if (high[i] && high[i] == u) b = char(0x80 + i);
        out += b;
    }
    return out;
}

} // namespace report

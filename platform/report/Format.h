#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

namespace report {

// Separators used when numbers and dates are shown. The defaults are the
// process-wide ones of the system: decimal ",", thousands ".", dates
// "dd/mm/yyyy".
struct FormatSettings {
    QChar decimalSeparator = QLatin1Char(',');
    QChar thousandSeparator = QLatin1Char('.');
    QChar dateSeparator = QLatin1Char('/');
    QChar timeSeparator = QLatin1Char(':');
    QString shortDateFormat = QStringLiteral("dd/mm/yyyy");
    QString longTimeFormat = QStringLiteral("hh:nn:ss");
};

const FormatSettings& formatSettings();
void setFormatSettings(const FormatSettings& settings);

// Number picture in the notation "$#,0.00;($#,0.00)": up to three sections
// (positive; negative; zero), '0' a digit always shown, '#' a digit shown when
// significant, '.' the decimal point, ',' anywhere in the integer part turns on
// thousands grouping, text in quotes and every other character literal. The
// negative section prints the absolute value; with a single section a
// negative value gets a leading '-'.
QString formatFloat(const QString& format, double value, const FormatSettings& s = formatSettings());

// Date picture in the notation "dd/mm/yyyy hh:nn:ss": d dd, m mm (minutes
// right after an hour), yy yyyy, h hh, n nn, s ss, z zzz, '/' and ':' the
// separators, "c" the short date plus the time when it is not midnight, text
// in quotes literal.
QString formatDateTime(const QString& format, const QDateTime& value, const FormatSettings& s = formatSettings());

// Text shown for a field value with an optional display format. An empty
// format shows numbers with the decimal separator and dates with the short
// date format (and the time when it is not midnight).
QString displayText(const QVariant& value, const QString& displayFormat, const FormatSettings& s = formatSettings());

// Windows-1252 bytes of a text; characters outside the code page become '?'.
QByteArray toWindows1252(const QString& text);

} // namespace report

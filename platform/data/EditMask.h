#pragma once

#include <QString>

namespace dataset {

// An edit mask in the notation of the field settings:
// "mask;store-literals;blank", e.g. "!99/99/9900;1;_".
//   0 digit required      9 digit optional      # digit or sign optional
//   L letter required     l letter optional     A letter/digit required
//   a letter/digit opt.   C any char required   c any char optional
//   > upper case after    < lower case after    <> no case conversion
//   \x literal x          ! blanks trimmed at the left (ignored here)
// everything else is a literal. The second part "1" stores the literals
// with the value, "0" stores only the typed characters.
struct EditMask {
    QString mask;          // the mask part
    bool storeLiterals = true;
    QChar blank = QLatin1Char('_');

    static EditMask parse(const QString& spec);
    bool isEmpty() const { return mask.isEmpty(); }
    // The equivalent Qt input mask (QLineEdit::setInputMask).
    QString qtInputMask() const;
    // Characters of the mask positions: true for literals.
    QString literals() const;      // one char per position: the literal, or QChar() for input
    int length() const;
    // Value to store from the edit's display text (blanks as the blank
    // char): literals kept or dropped, blanks as spaces; all-blank input
    // gives an empty text.
    QString valueFromDisplay(const QString& display) const;
    // True when every required position holds a character.
    bool isComplete(const QString& display) const;
    // Looks like a date (dd/mm/yy[yy]) or a time (hh:mm[:ss]) mask.
    bool isDateMask() const;
    bool isTimeMask() const;
};

} // namespace dataset

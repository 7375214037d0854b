#pragma once

#include "platform/report/Layout.h"

#include <QFont>
#include <QStringList>

namespace report {

// Text metrics in millimetres, taken at a fixed high resolution so that the
// layout is the same whatever device the pages are drawn on.
QFont qtFont(const Font& font);
double lineHeight(const Font& font);
double textWidth(const Font& font, const QString& text);
// Word-wraps a text to a width; line breaks in the text are kept, and a word
// longer than the width is broken.
QStringList wrapText(const Font& font, const QString& text, double width);

} // namespace report

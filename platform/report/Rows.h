#pragma once

#include "platform/report/Page.h"

namespace report {

// The items of a page grouped into rows for the flowing outputs (RTF and
// text): texts whose vertical extents overlap share a row; a horizontal line
// that crosses a row is attached to it, one between rows is a row of its own.
struct PageRow {
    double top = 0;
    double bottom = 0;
    QVector<const PageItem*> texts;  // sorted left to right
    QVector<const PageItem*> lines;  // horizontal lines
    bool isRule() const { return texts.isEmpty(); }
};

QVector<PageRow> pageRows(const Page& page);

// Position of a text item used to order it within a row (left edge, centre
// or right edge by its alignment).
double anchorX(const PageItem& item);

} // namespace report

#pragma once

#include "platform/report/Layout.h"

#include <QImage>
#include <QVector>

namespace report {

// One thing drawn on a rendered page; the rectangle is in millimetres from
// the sheet's top-left corner. A word-wrapped memo gives one text item per
// line, so every output breaks its lines in the same places.
struct PageItem {
    enum Type { Text, Line, Rect, Picture };
    Type type = Text;
    ElementKind source = ElementKind::Label;
    QString element;  // name of the layout element
    QRectF rect;
    // Text
    QString text;
    Font font;
    HAlign align = HAlign::Left;
    bool clip = false;
    // Line and Rect
    bool vertical = false;
    QColor penColor;
    double penWidth = 0;
    LineStyle style = LineStyle::Solid;
    QColor fillColor;
    bool filled = false;
    // Picture
    QImage image;
    bool stretch = true;
};

struct Page {
    int number = 0;
    QSizeF size;  // of the sheet, mm
    bool landscape = false;
    double marginLeft = 0, marginTop = 0, marginRight = 0, marginBottom = 0;
    QVector<PageItem> items;

    // Texts top to bottom, left to right, one line per row of texts that
    // share a vertical band; handy for checks and the text outputs.
    QStringList textLines() const;
    // A full description of every item, for comparing two renderings.
    QString describe() const;
};

// Receives the pages of a run one at a time, as soon as each is complete.
class PageSink {
public:
    virtual ~PageSink() = default;
    virtual void begin(int /*expectedPages*/) {}
    virtual void addPage(const Page& page) = 0;
    virtual void end() {}
};

class PageCollector : public PageSink {
public:
    void begin(int) override { pages.clear(); }
    void addPage(const Page& page) override { pages.push_back(page); }
    QVector<Page> pages;
};

class PageCounter : public PageSink {
public:
    void addPage(const Page&) override { ++count; }
    int count = 0;
};

} // namespace report

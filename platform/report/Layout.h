#pragma once

#include <QColor>
#include <QRectF>
#include <QString>
#include <memory>
#include <vector>

namespace report {

// Every geometry is in millimetres; an element's rectangle is relative to
// the top-left corner of its band. Font sizes and pen widths are in points.

enum class ElementKind { Label, DBText, DBMemo, Line, Shape, Image, SystemVariable, Calc };

enum class HAlign { Left, Center, Right };

struct Font {
    QString family = QStringLiteral("Arial");
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    QColor color = Qt::black;
    bool operator==(const Font&) const = default;
};

class Element {
public:
    virtual ~Element() = default;
    virtual ElementKind kind() const = 0;
    virtual std::unique_ptr<Element> clone() const = 0;

    QString name;
    QRectF rect;
};

// Common part of the elements that print a text.
class TextElement : public Element {
public:
    Font font;
    HAlign align = HAlign::Left;
};

class Label : public TextElement {
public:
    static constexpr ElementKind Kind = ElementKind::Label;
    ElementKind kind() const override { return Kind; }
    std::unique_ptr<Element> clone() const override { return std::make_unique<Label>(*this); }
    QString text;
};

// One field of a pipeline on one line, cut to its box. An empty pipeline
// name means the report's main pipeline.
class DBText : public TextElement {
public:
    static constexpr ElementKind Kind = ElementKind::DBText;
    ElementKind kind() const override { return Kind; }
    std::unique_ptr<Element> clone() const override { return std::make_unique<DBText>(*this); }
    QString pipeline;
    QString field;
    QString displayFormat;
};

// A text field word-wrapped to the width of its box; the band grows with it
// and the elements below it move down by as much.
class DBMemo : public TextElement {
public:
    static constexpr ElementKind Kind = ElementKind::DBMemo;
    ElementKind kind() const override { return Kind; }
    std::unique_ptr<Element> clone() const override { return std::make_unique<DBMemo>(*this); }
    QString pipeline;
    QString field;
};

enum class LineStyle { Solid, Dash, Dot };

// A horizontal line along the top of its box, or a vertical one along its
// left side.
class Line : public Element {
public:
    static constexpr ElementKind Kind = ElementKind::Line;
    ElementKind kind() const override { return Kind; }
    std::unique_ptr<Element> clone() const override { return std::make_unique<Line>(*this); }
    bool vertical = false;
    QColor penColor = Qt::black;
    double penWidth = 0.75;
    LineStyle style = LineStyle::Solid;
};

class Shape : public Element {
public:
    static constexpr ElementKind Kind = ElementKind::Shape;
    ElementKind kind() const override { return Kind; }
    std::unique_ptr<Element> clone() const override { return std::make_unique<Shape>(*this); }
    QColor penColor = Qt::black;
    double penWidth = 0.75;  // 0: no outline
    QColor fillColor = Qt::white;
    bool filled = false;
};

// A picture from a binary field (the bytes of a picture file) or, when the
// value is a text, from the file it names.
class Image : public Element {
public:
    static constexpr ElementKind Kind = ElementKind::Image;
    ElementKind kind() const override { return Kind; }
    std::unique_ptr<Element> clone() const override { return std::make_unique<Image>(*this); }
    QString pipeline;
    QString field;
    bool stretch = true;  // false: keep the picture's proportions inside the box
};

enum class SystemValue { PrintDate, PrintTime, PrintDateTime, PageNumber, PageCount, PageNofM };

class SystemVariable : public TextElement {
public:
    static constexpr ElementKind Kind = ElementKind::SystemVariable;
    ElementKind kind() const override { return Kind; }
    std::unique_ptr<Element> clone() const override { return std::make_unique<SystemVariable>(*this); }
    SystemValue value = SystemValue::PageNumber;
    QString displayFormat;  // dates; empty for the system's own format
};

enum class CalcFunction { Count, Sum, Average, Minimum, Maximum };

// An aggregate over the rows of the main pipeline printed so far; with a
// reset group it starts again at every header of that group.
class Calc : public TextElement {
public:
    static constexpr ElementKind Kind = ElementKind::Calc;
    ElementKind kind() const override { return Kind; }
    std::unique_ptr<Element> clone() const override { return std::make_unique<Calc>(*this); }
    QString pipeline;
    QString field;
    CalcFunction function = CalcFunction::Sum;
    QString displayFormat;
    QString resetGroup;
};

enum class BandType { Title, PageHeader, GroupHeader, Detail, GroupFooter, PageFooter, Summary };

class Band {
public:
    Band() = default;
    Band(const Band& other);
    Band& operator=(const Band& other);
    Band(Band&&) = default;
    Band& operator=(Band&&) = default;

    template <class T> T& add(QRectF rect, QString name = {})
    {
        auto e = std::make_unique<T>();
        e->rect = rect;
        e->name = std::move(name);
        T& ref = *e;
        elements.push_back(std::move(e));
        return ref;
    }

    double height = 0;
    std::vector<std::unique_ptr<Element>> elements;
};

// Breaks whenever the field's value differs from the previous row's, in row
// order. With keepTogether a group that fits on one page is not split.
struct Group {
    QString name;
    QString pipeline;
    QString field;
    bool keepTogether = false;
    bool newPage = false;
    Band header;
    Band footer;
};

enum class Orientation { Portrait, Landscape };

struct PageSetup {
    double width = 210;   // of the portrait sheet
    double height = 297;
    Orientation orientation = Orientation::Portrait;
    double marginLeft = 6.35, marginTop = 6.35, marginRight = 6.35, marginBottom = 6.35;

    double sheetWidth() const { return orientation == Orientation::Portrait ? width : height; }
    double sheetHeight() const { return orientation == Orientation::Portrait ? height : width; }
    double contentWidth() const { return sheetWidth() - marginLeft - marginRight; }
    double contentHeight() const { return sheetHeight() - marginTop - marginBottom; }
};

QString kindName(ElementKind kind);

} // namespace report

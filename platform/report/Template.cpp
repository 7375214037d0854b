#include "platform/report/Report.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace report {

namespace {

QString num(double v) { return QString::number(v, 'g', 10); }
QString boolText(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }

const char* alignName(HAlign a)
{
    switch (a) {
    case HAlign::Center: return "center";
    case HAlign::Right: return "right";
    case HAlign::Left: break;
    }
    return "left";
}

const char* styleName(LineStyle s)
{
    switch (s) {
    case LineStyle::Dash: return "dash";
    case LineStyle::Dot: return "dot";
    case LineStyle::Solid: break;
    }
    return "solid";
}

const char* sysName(SystemValue v)
{
    switch (v) {
    case SystemValue::PrintDate: return "printDate";
    case SystemValue::PrintTime: return "printTime";
    case SystemValue::PrintDateTime: return "printDateTime";
    case SystemValue::PageNumber: return "pageNumber";
    case SystemValue::PageCount: return "pageCount";
    case SystemValue::PageNofM: return "pageNofM";
    }
    return "pageNumber";
}

const char* calcName(CalcFunction f)
{
    switch (f) {
    case CalcFunction::Count: return "count";
    case CalcFunction::Sum: return "sum";
    case CalcFunction::Average: return "average";
    case CalcFunction::Minimum: return "min";
    case CalcFunction::Maximum: return "max";
    }
    return "sum";
}

void writeFont(QXmlStreamWriter& w, const TextElement& t)
{
    w.writeAttribute(QStringLiteral("font"), t.font.family);
    w.writeAttribute(QStringLiteral("size"), num(t.font.size));
    if (t.font.bold) w.writeAttribute(QStringLiteral("bold"), boolText(true));
    if (t.font.italic) w.writeAttribute(QStringLiteral("italic"), boolText(true));
    if (t.font.underline) w.writeAttribute(QStringLiteral("underline"), boolText(true));
    w.writeAttribute(QStringLiteral("color"), t.font.color.name());
    w.writeAttribute(QStringLiteral("align"), QLatin1String(alignName(t.align)));
}

void writeElement(QXmlStreamWriter& w, const Element& e)
{
    w.writeStartElement(kindName(e.kind()));
    if (!e.name.isEmpty()) w.writeAttribute(QStringLiteral("name"), e.name);
    w.writeAttribute(QStringLiteral("x"), num(e.rect.x()));
    w.writeAttribute(QStringLiteral("y"), num(e.rect.y()));
    w.writeAttribute(QStringLiteral("width"), num(e.rect.width()));
    w.writeAttribute(QStringLiteral("height"), num(e.rect.height()));
    switch (e.kind()) {
    case ElementKind::Label: {
        auto& t = static_cast<const Label&>(e);
        w.writeAttribute(QStringLiteral("text"), t.text);
        writeFont(w, t);
        break;
    }
    case ElementKind::DBText: {
        auto& t = static_cast<const DBText&>(e);
        if (!t.pipeline.isEmpty()) w.writeAttribute(QStringLiteral("pipeline"), t.pipeline);
        w.writeAttribute(QStringLiteral("field"), t.field);
        if (!t.displayFormat.isEmpty()) w.writeAttribute(QStringLiteral("format"), t.displayFormat);
        writeFont(w, t);
        break;
    }
    case ElementKind::DBMemo: {
        auto& t = static_cast<const DBMemo&>(e);
        if (!t.pipeline.isEmpty()) w.writeAttribute(QStringLiteral("pipeline"), t.pipeline);
        w.writeAttribute(QStringLiteral("field"), t.field);
        writeFont(w, t);
        break;
    }
    case ElementKind::Line: {
        auto& l = static_cast<const Line&>(e);
        if (l.vertical) w.writeAttribute(QStringLiteral("vertical"), boolText(true));
        w.writeAttribute(QStringLiteral("penColor"), l.penColor.name());
        w.writeAttribute(QStringLiteral("penWidth"), num(l.penWidth));
        w.writeAttribute(QStringLiteral("style"), QLatin1String(styleName(l.style)));
        break;
    }
    case ElementKind::Shape: {
        auto& s = static_cast<const Shape&>(e);
        w.writeAttribute(QStringLiteral("penColor"), s.penColor.name());
        w.writeAttribute(QStringLiteral("penWidth"), num(s.penWidth));
        if (s.filled) w.writeAttribute(QStringLiteral("fillColor"), s.fillColor.name());
        break;
    }
    case ElementKind::Image: {
        auto& i = static_cast<const Image&>(e);
        if (!i.pipeline.isEmpty()) w.writeAttribute(QStringLiteral("pipeline"), i.pipeline);
        w.writeAttribute(QStringLiteral("field"), i.field);
        w.writeAttribute(QStringLiteral("stretch"), boolText(i.stretch));
        break;
    }
    case ElementKind::SystemVariable: {
        auto& s = static_cast<const SystemVariable&>(e);
        w.writeAttribute(QStringLiteral("value"), QLatin1String(sysName(s.value)));
        if (!s.displayFormat.isEmpty()) w.writeAttribute(QStringLiteral("format"), s.displayFormat);
        writeFont(w, s);
        break;
    }
    case ElementKind::Calc: {
        auto& c = static_cast<const Calc&>(e);
        w.writeAttribute(QStringLiteral("function"), QLatin1String(calcName(c.function)));
        if (!c.pipeline.isEmpty()) w.writeAttribute(QStringLiteral("pipeline"), c.pipeline);
        if (!c.field.isEmpty()) w.writeAttribute(QStringLiteral("field"), c.field);
        if (!c.displayFormat.isEmpty()) w.writeAttribute(QStringLiteral("format"), c.displayFormat);
        if (!c.resetGroup.isEmpty()) w.writeAttribute(QStringLiteral("resetGroup"), c.resetGroup);
        writeFont(w, c);
        break;
    }
    }
    w.writeEndElement();
}

void writeBand(QXmlStreamWriter& w, const QString& tag, const Band& b)
{
    w.writeStartElement(tag);
    w.writeAttribute(QStringLiteral("height"), num(b.height));
    for (const auto& e : b.elements) writeElement(w, *e);
    w.writeEndElement();
}

// Reading ---------------------------------------------------------------

class Reader {
public:
    explicit Reader(const QByteArray& xml) : x_(xml) {}
    void read(Report& r);

private:
    [[noreturn]] void fail(const QString& what) const
    {
        throw ETemplateError(QStringLiteral("Modelo de relatório inválido (linha %1): %2").arg(x_.lineNumber()).arg(what));
    }
    QString attr(const char* name, const QString& def = {}) const
    {
        const auto a = x_.attributes();
        const QString key = QLatin1String(name);
        return a.hasAttribute(key) ? a.value(key).toString() : def;
    }
    QString required(const char* name) const
    {
        if (!x_.attributes().hasAttribute(QLatin1String(name)))
            fail(QStringLiteral("falta o atributo '%1' em <%2>").arg(QLatin1String(name), x_.name().toString()));
        return attr(name);
    }
    double number(const char* name, double def) const
    {
        const QString t = attr(name);
        if (t.isEmpty()) return def;
        bool ok = false;
        const double v = t.toDouble(&ok);
        if (!ok) fail(QStringLiteral("valor numérico inválido em '%1': \"%2\"").arg(QLatin1String(name), t));
        return v;
    }
    bool flag(const char* name, bool def) const
    {
        const QString t = attr(name).trimmed().toLower();
        if (t.isEmpty()) return def;
        if (t == QLatin1String("true") || t == QLatin1String("1")) return true;
        if (t == QLatin1String("false") || t == QLatin1String("0")) return false;
        fail(QStringLiteral("valor lógico inválido em '%1': \"%2\"").arg(QLatin1String(name), t));
    }
    QColor color(const char* name, const QColor& def) const
    {
        const QString t = attr(name);
        if (t.isEmpty()) return def;
        const QColor c = QColor::fromString(t);
        if (!c.isValid()) fail(QStringLiteral("cor inválida em '%1': \"%2\"").arg(QLatin1String(name), t));
        return c;
    }
    template <class E> E pick(const char* name, std::initializer_list<std::pair<const char*, E>> options, E def) const
    {
        const QString t = attr(name);
        if (t.isEmpty()) return def;
        for (const auto& [text, v] : options)
            if (t.compare(QLatin1String(text), Qt::CaseInsensitive) == 0) return v;
        fail(QStringLiteral("valor inválido em '%1': \"%2\"").arg(QLatin1String(name), t));
    }
    void readFont(TextElement& t) const
    {
        t.font.family = attr("font", t.font.family);
        t.font.size = number("size", t.font.size);
        if (t.font.size <= 0) fail(QStringLiteral("tamanho de fonte inválido"));
        t.font.bold = flag("bold", false);
        t.font.italic = flag("italic", false);
        t.font.underline = flag("underline", false);
        t.font.color = color("color", t.font.color);
        t.align = pick<HAlign>("align", {{"left", HAlign::Left}, {"center", HAlign::Center}, {"right", HAlign::Right}}, HAlign::Left);
    }
    void readBand(Band& b);
    void readElement(Band& b);
    void skipToEnd();

    QXmlStreamReader x_;
};

void Reader::skipToEnd()
{
    while (x_.readNext() != QXmlStreamReader::EndElement) {
        if (x_.hasError()) fail(x_.errorString());
        if (x_.isStartElement()) fail(QStringLiteral("elemento inesperado <%1>").arg(x_.name().toString()));
        if (x_.isEndDocument()) fail(QStringLiteral("fim inesperado do arquivo"));
    }
}

void Reader::readElement(Band& b)
{
    const QString tag = x_.name().toString();
    const QRectF rect(number("x", 0), number("y", 0), number("width", 0), number("height", 0));
    if (rect.width() < 0 || rect.height() < 0) fail(QStringLiteral("largura ou altura negativa em <%1>").arg(tag));
    const QString name = attr("name");
    if (tag == QLatin1String("label")) {
        auto& e = b.add<Label>(rect, name);
        e.text = attr("text");
        readFont(e);
    } else if (tag == QLatin1String("dbtext")) {
        auto& e = b.add<DBText>(rect, name);
        e.pipeline = attr("pipeline");
        e.field = required("field");
        e.displayFormat = attr("format");
        readFont(e);
    } else if (tag == QLatin1String("dbmemo")) {
        auto& e = b.add<DBMemo>(rect, name);
        e.pipeline = attr("pipeline");
        e.field = required("field");
        readFont(e);
    } else if (tag == QLatin1String("line")) {
        auto& e = b.add<Line>(rect, name);
        e.vertical = flag("vertical", false);
        e.penColor = color("penColor", e.penColor);
        e.penWidth = number("penWidth", e.penWidth);
        e.style = pick<LineStyle>("style", {{"solid", LineStyle::Solid}, {"dash", LineStyle::Dash}, {"dot", LineStyle::Dot}}, LineStyle::Solid);
    } else if (tag == QLatin1String("shape")) {
        auto& e = b.add<Shape>(rect, name);
        e.penColor = color("penColor", e.penColor);
        e.penWidth = number("penWidth", e.penWidth);
        e.filled = !attr("fillColor").isEmpty();
        e.fillColor = color("fillColor", e.fillColor);
    } else if (tag == QLatin1String("image")) {
        auto& e = b.add<Image>(rect, name);
        e.pipeline = attr("pipeline");
        e.field = required("field");
        e.stretch = flag("stretch", true);
    } else if (tag == QLatin1String("sysvar")) {
        auto& e = b.add<SystemVariable>(rect, name);
        e.value = pick<SystemValue>("value",
                                    {{"printDate", SystemValue::PrintDate}, {"printTime", SystemValue::PrintTime},
                                     {"printDateTime", SystemValue::PrintDateTime}, {"pageNumber", SystemValue::PageNumber},
                                     {"pageCount", SystemValue::PageCount}, {"pageNofM", SystemValue::PageNofM}},
                                    SystemValue::PageNumber);
        e.displayFormat = attr("format");
        readFont(e);
    } else if (tag == QLatin1String("calc")) {
        auto& e = b.add<Calc>(rect, name);
        e.function = pick<CalcFunction>("function",
                                        {{"count", CalcFunction::Count}, {"sum", CalcFunction::Sum}, {"average", CalcFunction::Average},
                                         {"min", CalcFunction::Minimum}, {"max", CalcFunction::Maximum}},
                                        CalcFunction::Sum);
        e.pipeline = attr("pipeline");
        e.field = attr("field");
        if (e.field.isEmpty() && e.function != CalcFunction::Count) required("field");
        e.displayFormat = attr("format");
        e.resetGroup = attr("resetGroup");
        readFont(e);
    } else {
        fail(QStringLiteral("elemento desconhecido <%1>").arg(tag));
    }
    skipToEnd();
}

void Reader::readBand(Band& b)
{
    b.height = number("height", 0);
    if (b.height < 0) fail(QStringLiteral("altura negativa na faixa <%1>").arg(x_.name().toString()));
    while (x_.readNextStartElement()) readElement(b);
    if (x_.hasError()) fail(x_.errorString());
}

void Reader::read(Report& r)
{
    if (!x_.readNextStartElement() || x_.name() != QLatin1String("report"))
        fail(x_.hasError() ? x_.errorString() : QStringLiteral("o elemento raiz deve ser <report>"));
    const double version = number("version", 1);
    if (version > 1) fail(QStringLiteral("versão %1 do formato não suportada").arg(version));
    r.name = attr("name");
    r.mainPipeline = attr("mainPipeline");
    while (x_.readNextStartElement()) {
        const auto tag = x_.name();
        if (tag == QLatin1String("page")) {
            r.page.width = number("width", 210);
            r.page.height = number("height", 297);
            r.page.orientation = pick<Orientation>("orientation", {{"portrait", Orientation::Portrait}, {"landscape", Orientation::Landscape}},
                                                   Orientation::Portrait);
            r.page.marginLeft = number("marginLeft", 6.35);
            r.page.marginTop = number("marginTop", 6.35);
            r.page.marginRight = number("marginRight", 6.35);
            r.page.marginBottom = number("marginBottom", 6.35);
            if (r.page.contentWidth() <= 0 || r.page.contentHeight() <= 0) fail(QStringLiteral("margens maiores que a página"));
            skipToEnd();
        } else if (tag == QLatin1String("title")) {
            readBand(r.title);
        } else if (tag == QLatin1String("pageHeader")) {
            readBand(r.pageHeader);
        } else if (tag == QLatin1String("detail")) {
            readBand(r.detail);
        } else if (tag == QLatin1String("pageFooter")) {
            readBand(r.pageFooter);
        } else if (tag == QLatin1String("summary")) {
            readBand(r.summary);
        } else if (tag == QLatin1String("group")) {
            Group& g = r.addGroup(attr("pipeline"), required("field"), attr("name"));
            g.keepTogether = flag("keepTogether", false);
            g.newPage = flag("newPage", false);
            while (x_.readNextStartElement()) {
                if (x_.name() == QLatin1String("header")) readBand(g.header);
                else if (x_.name() == QLatin1String("footer")) readBand(g.footer);
                else fail(QStringLiteral("elemento inesperado <%1> em <group>").arg(x_.name().toString()));
            }
        } else {
            fail(QStringLiteral("elemento desconhecido <%1>").arg(tag.toString()));
        }
    }
    if (x_.hasError()) fail(x_.errorString());
}

} // namespace

QByteArray Report::toXml() const
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("report"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    if (!name.isEmpty()) w.writeAttribute(QStringLiteral("name"), name);
    if (!mainPipeline.isEmpty()) w.writeAttribute(QStringLiteral("mainPipeline"), mainPipeline);
    w.writeStartElement(QStringLiteral("page"));
    w.writeAttribute(QStringLiteral("width"), num(page.width));
    w.writeAttribute(QStringLiteral("height"), num(page.height));
    w.writeAttribute(QStringLiteral("orientation"),
                     page.orientation == Orientation::Portrait ? QStringLiteral("portrait") : QStringLiteral("landscape"));
    w.writeAttribute(QStringLiteral("marginLeft"), num(page.marginLeft));
    w.writeAttribute(QStringLiteral("marginTop"), num(page.marginTop));
    w.writeAttribute(QStringLiteral("marginRight"), num(page.marginRight));
    w.writeAttribute(QStringLiteral("marginBottom"), num(page.marginBottom));
    w.writeEndElement();
    writeBand(w, QStringLiteral("title"), title);
    writeBand(w, QStringLiteral("pageHeader"), pageHeader);
    for (const Group& g : groups) {
        w.writeStartElement(QStringLiteral("group"));
        w.writeAttribute(QStringLiteral("name"), g.name);
        if (!g.pipeline.isEmpty()) w.writeAttribute(QStringLiteral("pipeline"), g.pipeline);
        w.writeAttribute(QStringLiteral("field"), g.field);
        w.writeAttribute(QStringLiteral("keepTogether"), boolText(g.keepTogether));
        if (g.newPage) w.writeAttribute(QStringLiteral("newPage"), boolText(true));
        writeBand(w, QStringLiteral("header"), g.header);
        writeBand(w, QStringLiteral("footer"), g.footer);
        w.writeEndElement();
    }
    writeBand(w, QStringLiteral("detail"), detail);
    writeBand(w, QStringLiteral("pageFooter"), pageFooter);
    writeBand(w, QStringLiteral("summary"), summary);
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

void Report::fromXml(const QByteArray& xml)
{
    Report loaded;
    Reader(xml).read(loaded);
    name = loaded.name;
    page = loaded.page;
    title = std::move(loaded.title);
    pageHeader = std::move(loaded.pageHeader);
    detail = std::move(loaded.detail);
    pageFooter = std::move(loaded.pageFooter);
    summary = std::move(loaded.summary);
    groups = std::move(loaded.groups);
    mainPipeline = loaded.mainPipeline;
}

} // namespace report

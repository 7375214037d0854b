#include "platform/report/RtfWriter.h"

#include "platform/core/Exception.h"
#include "platform/report/Format.h"
#include "platform/report/Report.h"
#include "platform/report/Rows.h"

#include <QBuffer>
#include <QSaveFile>
#include <cmath>

namespace report {

namespace {

int twips(double mm) { return int(std::lround(mm * 1440.0 / 25.4)); }
QByteArray n(int v) { return QByteArray::number(v); }

const char* fontFamilyClass(const QString& family)
{
    const QString f = family.toLower();
    if (f.contains(QLatin1String("times")) || f.contains(QLatin1String("serif"))) return "\\froman";
    if (f.contains(QLatin1String("courier")) || f.contains(QLatin1String("mono"))) return "\\fmodern";
    return "\\fswiss";
}

} // namespace

QByteArray rtfEscape(const QString& text)
{
    QByteArray out;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += char(u);
        } else if (u == '\t' || u == '\n' || u == '\r') {
            out += ' ';
        } else if (u < 0x80) {
            out += char(u);
        } else {
            out += "\\u" + n(qint16(u));
            const QByteArray fb = toWindows1252(QString(c));
            out += "\\'" + QByteArray::number(uchar(fb.at(0)), 16).rightJustified(2, '0');
        }
    }
    return out;
}

RtfSink::RtfSink(const QString& path) : path_(path) {}

int RtfSink::fontIndex(const QString& family)
{
    int i = int(fonts_.indexOf(family));
    if (i < 0) {
        fonts_ << family;
        i = int(fonts_.size()) - 1;
    }
    return i;
}

int RtfSink::colorIndex(const QColor& color)
{
    const QRgb rgb = color.rgb() & 0xFFFFFF;
    int i = int(colors_.indexOf(rgb));
    if (i < 0) {
        colors_ << rgb;
        i = int(colors_.size()) - 1;
    }
    return i + 1;  // index 0 is the automatic colour
}

void RtfSink::write(const QByteArray& bytes)
{
    if (body_.write(bytes) != bytes.size())
        throw clip::Exception(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(path_, body_.errorString()));
}

void RtfSink::begin(int)
{
    if (!body_.open())
        throw clip::Exception(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(path_, body_.errorString()));
    fonts_ = {QStringLiteral("Arial")};
    colors_.clear();
    pages_ = 0;
}

void RtfSink::addPage(const Page& page)
{
    if (pages_++ == 0) first_ = page;
    QByteArray out;
    // Filled shapes, to shade the texts that lie on them.
    QVector<const PageItem*> fills, pictures;
    for (const PageItem& it : page.items) {
        if (it.type == PageItem::Rect && it.filled) fills << &it;
        if (it.type == PageItem::Picture) pictures << &it;
    }
    const QVector<PageRow> rows = pageRows(page);
    int cur = 0;  // bottom of the previous paragraph, twips from the top margin
    const int contentRight = twips(page.size.width() - page.marginLeft - page.marginRight);
    bool firstPara = true;
    // Pictures are shapes anchored in the page's first paragraph, placed on
    // the page and letting the text run over them.
    auto pictureShapes = [&]() {
        QByteArray f;
        for (const PageItem* p : pictures) {
            QByteArray png;
            QBuffer buf(&png);
            buf.open(QIODevice::WriteOnly);
            p->image.save(&buf, "PNG");
            const int l = twips(p->rect.left()), t = twips(p->rect.top());
            const int w = std::max(1, twips(p->rect.width())), h = std::max(1, twips(p->rect.height()));
            f += "{\\shp{\\*\\shpinst\\shpleft" + n(l) + "\\shptop" + n(t) + "\\shpright" + n(l + w) + "\\shpbottom" + n(t + h)
                 + "\\shpfhdr0\\shpbxpage\\shpbxignore\\shpbypage\\shpbyignore\\shpwr3\\shpwrk0\\shpfblwtxt0\\shpz0"
                 + "{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn fLine}{\\sv 0}}{\\sp{\\sn pib}{\\sv {\\pict\\pngblip\\picw"
                 + n(p->image.width()) + "\\pich" + n(p->image.height()) + "\\picwgoal" + n(w) + "\\pichgoal" + n(h) + "\n"
                 + png.toHex() + "}}}}}";
        }
        return f;
    };
    auto paraStart = [&](int sb, int height) {
        QByteArray p = "\\pard\\plain";
        if (firstPara && pages_ > 1) p += "\\pagebb";
        p += "\\sb" + n(std::max(0, sb)) + "\\sa0\\sl-" + n(std::max(1, height)) + "\\slmult0";
        return p;
    };
    auto border = [&](const PageItem& l, const char* side) {
        const char* style = l.style == LineStyle::Dash ? "\\brdrdash" : l.style == LineStyle::Dot ? "\\brdrdot" : "\\brdrs";
        const int w = std::clamp(int(std::lround(l.penWidth * 20)), 2, 75);
        return QByteArray("\\brdr") + side + style + "\\brdrw" + n(w) + "\\brsp0\\brdrcf" + n(colorIndex(l.penColor));
    };
    for (const PageRow& row : rows) {
        const int top = twips(row.top - page.marginTop);
        if (row.isRule()) {
            const PageItem& l = *row.lines.first();
            const int y = top;
            const int h = 20;
            out += paraStart(y - h - cur, h);
            out += "\\li" + n(std::max(0, twips(l.rect.left() - page.marginLeft)));
            out += "\\ri" + n(std::max(0, contentRight - twips(l.rect.right() - page.marginLeft)));
            out += border(l, "b");
            out += "\\fs2 ";
            if (firstPara) out += pictureShapes();
            out += "\\par\n";
            cur = std::max(cur, y);
        } else {
            const int bottom = twips(row.bottom - page.marginTop);
            const int h = std::max(1, bottom - std::max(top, cur));
            out += paraStart(top - cur, h);
            for (const PageItem* l : row.lines)
                out += border(*l, (l->rect.top() - row.top) < (row.bottom - row.top) / 2 ? "t" : "b");
            // Tab stops, increasing.
            QByteArray tabs, text;
            int lastTab = -1;
            bool firstText = true;
            for (const PageItem* t : row.texts) {
                int pos = twips(anchorX(*t) - page.marginLeft);
                const bool atStart = firstText && t->align == HAlign::Left && pos <= 0;
                if (!atStart) {
                    pos = std::max(pos, lastTab + 20);
                    tabs += t->align == HAlign::Center ? "\\tqc" : t->align == HAlign::Right ? "\\tqr" : "";
                    tabs += "\\tx" + n(pos);
                    lastTab = pos;
                    text += "\\tab";
                }
                firstText = false;
                text += "{\\f" + n(fontIndex(t->font.family)) + "\\fs" + n(int(std::lround(t->font.size * 2)));
                if (t->font.bold) text += "\\b";
                if (t->font.italic) text += "\\i";
                if (t->font.underline) text += "\\ul";
                text += "\\cf" + n(colorIndex(t->font.color));
                for (const PageItem* f : fills)
                    if (f->rect.contains(t->rect.center())) text += "\\chcbpat" + n(colorIndex(f->fillColor));
                text += ' ' + rtfEscape(t->text) + '}';
            }
            out += tabs + ' ' + text;
            if (firstPara) out += pictureShapes();
            out += "\\par\n";
            cur = std::max(cur, bottom);
        }
        firstPara = false;
    }
    if (firstPara) {
        // A page with no text still takes its page.
        out += paraStart(0, 20) + "\\fs2 " + pictureShapes() + "\\par\n";
    }
    write(out);
}

void RtfSink::end()
{
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        throw clip::Exception(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(path_, file.errorString()));
    QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl";
    for (int i = 0; i < fonts_.size(); ++i)
        head += "{\\f" + n(i) + fontFamilyClass(fonts_[i]) + "\\fcharset0 " + rtfEscape(fonts_[i]) + ";}";
    head += "}\n{\\colortbl;";
    for (QRgb c : colors_) head += "\\red" + n(qRed(c)) + "\\green" + n(qGreen(c)) + "\\blue" + n(qBlue(c)) + ';';
    head += "}\n";
    const Page& p = first_;
    const int w = twips(p.size.width()), h = twips(p.size.height());
    head += "\\paperw" + n(w) + "\\paperh" + n(h) + "\\margl" + n(twips(p.marginLeft)) + "\\margr" + n(twips(p.marginRight))
            + "\\margt" + n(twips(p.marginTop)) + "\\margb" + n(twips(p.marginBottom));
    if (p.landscape) head += "\\landscape";
    head += "\\viewkind1\n\\sectd\\pgwsxn" + n(w) + "\\pghsxn" + n(h) + "\\marglsxn" + n(twips(p.marginLeft)) + "\\margrsxn"
            + n(twips(p.marginRight)) + "\\margtsxn" + n(twips(p.marginTop)) + "\\margbsxn" + n(twips(p.marginBottom));
    if (p.landscape) head += "\\lndscpsxn";
    head += "\n";
    auto fail = [&] {
        throw clip::Exception(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(path_, file.errorString()));
    };
    if (file.write(head) != head.size()) fail();
    body_.seek(0);
    while (!body_.atEnd()) {
        const QByteArray chunk = body_.read(1 << 20);
        if (file.write(chunk) != chunk.size()) fail();
    }
    if (file.write("}\n") != 2) fail();
    if (!file.commit()) fail();
    body_.close();
}

void writeRtf(const Report& report, const QString& path)
{
    RtfSink sink(path);
    report.run(sink);
}

} // namespace report

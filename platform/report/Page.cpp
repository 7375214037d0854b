#include "platform/report/Page.h"

#include <QBuffer>

namespace report {

namespace {
QString num(double v) { return QString::number(v, 'f', 2); }
QString rectText(const QRectF& r)
{
    return num(r.x()) + QLatin1Char(',') + num(r.y()) + QLatin1Char(' ') + num(r.width()) + QLatin1Char('x') + num(r.height());
}
} // namespace

QString Page::describe() const
{
    QString out = QStringLiteral("page %1 %2x%3%4\n").arg(number).arg(num(size.width()), num(size.height()),
                                                          landscape ? QStringLiteral(" landscape") : QString());
    for (const PageItem& it : items) {
        out += kindName(it.source) + QLatin1Char(' ') + it.element + QLatin1Char(' ') + rectText(it.rect) + QLatin1Char(' ');
        switch (it.type) {
        case PageItem::Text:
            out += QStringLiteral("text \"%1\" %2 %3 %4%5%6 %7 align%8%9")
                       .arg(it.text, it.font.family, num(it.font.size), it.font.bold ? QStringLiteral("b") : QString(),
                            it.font.italic ? QStringLiteral("i") : QString(), it.font.underline ? QStringLiteral("u") : QString(),
                            it.font.color.name())
                       .arg(int(it.align))
                       .arg(it.clip ? QStringLiteral(" clip") : QString());
            break;
        case PageItem::Line:
            out += QStringLiteral("line %1 %2 %3 %4").arg(it.vertical ? 1 : 0).arg(it.penColor.name()).arg(num(it.penWidth)).arg(int(it.style));
            break;
        case PageItem::Rect:
            out += QStringLiteral("rect %1 %2 %3 %4").arg(it.penColor.name(), num(it.penWidth), it.filled ? it.fillColor.name() : QStringLiteral("-"))
                       .arg(0);
            break;
        case PageItem::Picture:
            out += QStringLiteral("picture %1x%2 %3").arg(it.image.width()).arg(it.image.height()).arg(it.stretch ? 1 : 0);
            break;
        }
        out += QLatin1Char('\n');
    }
    return out;
}

} // namespace report

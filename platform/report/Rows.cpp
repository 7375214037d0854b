#include "platform/report/Rows.h"

#include "platform/report/Measure.h"

#include <algorithm>

namespace report {

double anchorX(const PageItem& item)
{
    switch (item.align) {
    case HAlign::Center: return item.rect.center().x();
    case HAlign::Right: return item.rect.right();
    case HAlign::Left: break;
    }
    return item.rect.left();
}

QVector<PageRow> pageRows(const Page& page)
{
    QVector<const PageItem*> texts, lines;
    for (const PageItem& it : page.items) {
        if (it.type == PageItem::Text && !it.text.isEmpty()) texts << &it;
        else if (it.type == PageItem::Line && !it.vertical) lines << &it;
    }
    std::stable_sort(texts.begin(), texts.end(),
                     [](const PageItem* a, const PageItem* b) { return a->rect.top() < b->rect.top(); });
    constexpr double eps = 0.05;
    QVector<PageRow> rows;
    // A text takes one line of its font from the top of its box, whatever
    // the box's height.
    for (const PageItem* t : texts) {
        const double bottom = t->rect.top() + lineHeight(t->font);
        if (!rows.isEmpty() && t->rect.top() < rows.last().bottom - eps) {
            rows.last().texts << t;
            rows.last().bottom = std::max(rows.last().bottom, bottom);
        } else {
            PageRow r;
            r.top = t->rect.top();
            r.bottom = bottom;
            r.texts << t;
            rows << r;
        }
    }
    for (PageRow& r : rows)
        std::stable_sort(r.texts.begin(), r.texts.end(),
                         [](const PageItem* a, const PageItem* b) { return anchorX(*a) < anchorX(*b); });
    for (const PageItem* l : lines) {
        const double y = l->rect.top();
        auto hit = std::find_if(rows.begin(), rows.end(), [&](const PageRow& r) {
            return !r.isRule() && y > r.top + eps && y < r.bottom - eps;
        });
        if (hit != rows.end()) {
            hit->lines << l;
            continue;
        }
        PageRow r;
        r.top = y;
        r.bottom = y;
        r.lines << l;
        auto pos = std::upper_bound(rows.begin(), rows.end(), y,
                                    [](double v, const PageRow& row) { return v < row.top; });
        rows.insert(pos, r);
    }
    return rows;
}

QStringList Page::textLines() const
{
    QStringList out;
    for (const PageRow& r : pageRows(*this)) {
        if (r.isRule()) continue;
        QStringList parts;
        for (const PageItem* t : r.texts) parts << t->text;
        out << parts.join(QLatin1Char(' '));
    }
    return out;
}

} // namespace report

#include "platform/report/Format.h"
#include "platform/report/Measure.h"
#include "platform/report/Report.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QTextLayout>
#include <deque>
#include <optional>

namespace report {

namespace {

constexpr double kDpi = 1200.0;
constexpr double kEps = 0.01;

QImage& measureDevice()
{
    static QImage img = [] {
        QImage i(4, 4, QImage::Format_ARGB32);
        i.setDotsPerMeterX(qRound(kDpi / 0.0254));
        i.setDotsPerMeterY(qRound(kDpi / 0.0254));
        return i;
    }();
    return img;
}

double pxToMm(double px) { return px * 25.4 / kDpi; }
double mmToPx(double mm) { return mm * kDpi / 25.4; }

} // namespace

QFont qtFont(const Font& font)
{
    QFont f(font.family);
    f.setPointSizeF(font.size > 0 ? font.size : 10);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

double lineHeight(const Font& font)
{
    static QHash<QString, double> cache;
    const QString key = font.family + QString::number(font.size) + (font.bold ? u'b' : u'-') + (font.italic ? u'i' : u'-');
    auto it = cache.find(key);
    if (it != cache.end()) return *it;
    QFontMetricsF fm(qtFont(font), &measureDevice());
    const double h = pxToMm(fm.lineSpacing());
    cache.insert(key, h);
    return h;
}

double textWidth(const Font& font, const QString& text)
{
    QFontMetricsF fm(qtFont(font), &measureDevice());
    return pxToMm(fm.horizontalAdvance(text));
}

QStringList wrapText(const Font& font, const QString& text, double width)
{
    QStringList out;
    QString t = text;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    t.replace(QLatin1Char('\t'), QLatin1Char(' '));
    const QFont qf = qtFont(font);
    const double widthPx = mmToPx(std::max(width, 1.0));
    for (const QString& para : t.split(QLatin1Char('\n'))) {
        if (para.trimmed().isEmpty()) {
            out << QString();
            continue;
        }
        QTextLayout layout(para, qf, &measureDevice());
        QTextOption opt;
        opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(opt);
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid()) break;
            line.setLineWidth(widthPx);
            QString piece = para.mid(line.textStart(), line.textLength());
            while (piece.endsWith(QLatin1Char(' '))) piece.chop(1);
            out << piece;
        }
        layout.endLayout();
    }
    while (!out.isEmpty() && out.last().isEmpty()) out.removeLast();
    return out;
}

namespace {

struct FieldRef {
    Pipeline* pipeline = nullptr;
    int slot = -1;  // index in the row snapshot; -1: read the pipeline's current row
    int field = -1;
};

struct RowData {
    QVector<QVector<QVariant>> chain;
    mutable std::optional<double> detailHeight;
};

struct Placed {
    QVector<PageItem> items;
    double height = 0;
};

struct Accumulator {
    qint64 count = 0;
    qint64 numbers = 0;
    double sum = 0;
    bool integral = true;
    std::optional<double> min, max;
    void reset() { *this = Accumulator(); }
};

class Engine {
public:
    Engine(const Report& report, PageSink& sink, int totalPages, QDateTime when)
        : r_(report), sink_(sink), totalPages_(totalPages), when_(std::move(when))
    {
        resolve();
    }

    void run();

private:
    // binding
    void resolve();
    FieldRef bind(const QString& pipelineName, const QString& field, const QString& what);
    QVariant valueOf(const FieldRef& ref, const RowData* row) const;
    // data feed
    bool fetch();
    const RowData* peek(size_t i);
    int firstBreak(const RowData& a, const RowData& b) const;
    // bands
    Placed layoutBand(const Band& band, const RowData* row);
    double bandHeight(const Band& band, const RowData* row);
    double detailHeight(const RowData& row);
    QString textFor(const Element& e, const RowData* row) const;
    // pages
    void openPage();
    void closePage();
    double capacity() const { return contentHeight_ - footerReserve_ - headerEnd_; }
    double available() const { return contentHeight_ - footerReserve_ - y_; }
    bool pageHasBody() const { return y_ > headerEnd_ + kEps; }
    void place(const Placed& p);
    void flow(Placed p);
    void flowBand(const Band& band, const RowData* row, double keepWith = 0);
    double measureGroup(size_t k, size_t from);
    void accumulate(const RowData& row);

    const Report& r_;
    PageSink& sink_;
    int totalPages_;
    QDateTime when_;
    QVector<Pipeline*> chain_;  // outermost master first, main pipeline last
    bool noMain_ = false;
    QHash<const Element*, FieldRef> refs_;
    QVector<FieldRef> groupRefs_;
    QHash<const Calc*, Accumulator> acc_;
    QHash<const Calc*, int> calcReset_;  // group index, -1 for none
    std::deque<RowData> ahead_;
    bool started_ = false, exhausted_ = false;
    const RowData* current_ = nullptr;

    Page page_;
    bool pageOpen_ = false;
    int pageNo_ = 0;
    double y_ = 0, headerEnd_ = 0, footerReserve_ = 0, contentHeight_ = 0;
};

FieldRef Engine::bind(const QString& pipelineName, const QString& field, const QString& what)
{
    FieldRef ref;
    const QString pname = pipelineName.isEmpty() ? r_.mainPipeline : pipelineName;
    ref.pipeline = r_.pipeline(pname);
    if (!ref.pipeline)
        throw ETemplateError(QStringLiteral("Pipeline de dados '%1' não encontrado (%2).").arg(pname, what));
    ref.field = ref.pipeline->fieldIndex(field);
    if (ref.field < 0)
        throw ETemplateError(QStringLiteral("Campo '%1' não encontrado no pipeline de dados '%2' (%3).").arg(field, pname, what));
    ref.slot = int(chain_.indexOf(ref.pipeline));
    return ref;
}

void Engine::resolve()
{
    if (r_.mainPipeline.isEmpty()) {
        noMain_ = true;
    } else {
        Pipeline* p = r_.pipeline(r_.mainPipeline);
        if (!p) throw ETemplateError(QStringLiteral("Pipeline de dados '%1' não encontrado (pipeline principal).").arg(r_.mainPipeline));
        while (p) {
            if (chain_.contains(p)) throw ETemplateError(QStringLiteral("O pipeline de dados '%1' é mestre de si mesmo.").arg(p->name()));
            chain_.prepend(p);
            p = p->master();
        }
    }
    for (const Element* e : r_.elements()) {
        const QString what = e->name.isEmpty() ? kindName(e->kind()) : e->name;
        switch (e->kind()) {
        case ElementKind::DBText: {
            auto* t = static_cast<const DBText*>(e);
            refs_.insert(e, bind(t->pipeline, t->field, what));
            break;
        }
        case ElementKind::DBMemo: {
            auto* t = static_cast<const DBMemo*>(e);
            refs_.insert(e, bind(t->pipeline, t->field, what));
            break;
        }
        case ElementKind::Image: {
            auto* t = static_cast<const Image*>(e);
            refs_.insert(e, bind(t->pipeline, t->field, what));
            break;
        }
        case ElementKind::Calc: {
            auto* c = static_cast<const Calc*>(e);
            if (!(c->function == CalcFunction::Count && c->field.isEmpty()))
                refs_.insert(e, bind(c->pipeline, c->field, what));
            int reset = -1;
            if (!c->resetGroup.isEmpty()) {
                for (size_t i = 0; i < r_.groups.size(); ++i)
                    if (r_.groups[i].name.compare(c->resetGroup, Qt::CaseInsensitive) == 0) reset = int(i);
                if (reset < 0) throw ETemplateError(QStringLiteral("Grupo '%1' não encontrado (%2).").arg(c->resetGroup, what));
            }
            calcReset_.insert(c, reset);
            acc_.insert(c, Accumulator());
            break;
        }
        default:
            break;
        }
    }
    for (const Group& g : r_.groups) {
        const QString what = QStringLiteral("grupo %1").arg(g.name);
        FieldRef ref = bind(g.pipeline, g.field, what);
        if (ref.slot < 0)
            throw ETemplateError(QStringLiteral("O grupo '%1' deve quebrar por um campo do pipeline principal ou de um de seus mestres.").arg(g.name));
        groupRefs_ << ref;
    }
}

QVariant Engine::valueOf(const FieldRef& ref, const RowData* row) const
{
    if (!ref.pipeline) return {};
    if (ref.slot >= 0 && row) return row->chain[ref.slot][ref.field];
    if (ref.pipeline->atEnd()) return {};
    return ref.pipeline->value(ref.field);
}

bool Engine::fetch()
{
    if (exhausted_) return false;
    const int n = int(chain_.size());
    if (noMain_) {
        if (started_) { exhausted_ = true; return false; }
        started_ = true;
        ahead_.push_back(RowData());
        return true;
    }
    int i;
    if (!started_) {
        started_ = true;
        chain_[0]->first();
        i = 0;
    } else {
        chain_[n - 1]->next();
        i = n - 1;
    }
    for (;;) {
        if (chain_[i]->atEnd()) {
            if (i == 0) { exhausted_ = true; return false; }
            --i;
            chain_[i]->next();
            continue;
        }
        if (i == n - 1) break;
        ++i;
        chain_[i]->first();
    }
    RowData row;
    row.chain.resize(n);
    for (int k = 0; k < n; ++k) {
        const int fields = int(chain_[k]->fieldNames().size());
        row.chain[k].resize(fields);
        for (int f = 0; f < fields; ++f) row.chain[k][f] = chain_[k]->value(f);
    }
    ahead_.push_back(std::move(row));
    return true;
}

const RowData* Engine::peek(size_t i)
{
    while (ahead_.size() <= i)
        if (!fetch()) return nullptr;
    return &ahead_[i];
}

int Engine::firstBreak(const RowData& a, const RowData& b) const
{
    for (int g = 0; g < groupRefs_.size(); ++g) {
        const FieldRef& ref = groupRefs_[g];
        const QVariant& va = a.chain[ref.slot][ref.field];
        const QVariant& vb = b.chain[ref.slot][ref.field];
        if (va.isNull() != vb.isNull() || (!va.isNull() && va != vb)) return g;
    }
    return int(groupRefs_.size());
}

QString Engine::textFor(const Element& e, const RowData* row) const
{
    const FormatSettings& fs = formatSettings();
    switch (e.kind()) {
    case ElementKind::Label:
        return static_cast<const Label&>(e).text;
    case ElementKind::DBText: {
        auto& t = static_cast<const DBText&>(e);
        return displayText(valueOf(refs_.value(&e), row), t.displayFormat);
    }
    case ElementKind::DBMemo:
        return displayText(valueOf(refs_.value(&e), row), QString());
    case ElementKind::SystemVariable: {
        auto& s = static_cast<const SystemVariable&>(e);
        switch (s.value) {
        case SystemValue::PrintDate:
            return formatDateTime(s.displayFormat.isEmpty() ? fs.shortDateFormat : s.displayFormat, when_);
        case SystemValue::PrintTime:
            return formatDateTime(s.displayFormat.isEmpty() ? fs.longTimeFormat : s.displayFormat, when_);
        case SystemValue::PrintDateTime:
            return formatDateTime(s.displayFormat.isEmpty() ? fs.shortDateFormat + QLatin1Char(' ') + fs.longTimeFormat
                                                            : s.displayFormat, when_);
        case SystemValue::PageNumber:
            return QString::number(pageNo_);
        case SystemValue::PageCount:
            return QString::number(std::max(totalPages_, pageNo_));
        case SystemValue::PageNofM:
            return QStringLiteral("%1 de %2").arg(pageNo_).arg(std::max(totalPages_, pageNo_));
        }
        return {};
    }
    case ElementKind::Calc: {
        auto& c = static_cast<const Calc&>(e);
        const Accumulator& a = acc_.value(&c);
        QVariant v;
        switch (c.function) {
        case CalcFunction::Count: v = a.count; break;
        case CalcFunction::Sum: v = a.integral ? QVariant(qint64(a.sum)) : QVariant(a.sum); break;
        case CalcFunction::Average: v = a.numbers ? QVariant(a.sum / double(a.numbers)) : QVariant(0.0); break;
        case CalcFunction::Minimum: v = a.min ? QVariant(*a.min) : QVariant(); break;
        case CalcFunction::Maximum: v = a.max ? QVariant(*a.max) : QVariant(); break;
        }
        return displayText(v, c.displayFormat);
    }
    default:
        return {};
    }
}

Placed Engine::layoutBand(const Band& band, const RowData* row)
{
    Placed out;
    struct Memo { double top, bottom, shift, growth; };
    QVector<Memo> memos;
    // Sorted by top so that a memo moved down by another moves what is below it.
    QVector<const Element*> order;
    for (const auto& e : band.elements) order << e.get();
    std::stable_sort(order.begin(), order.end(), [](const Element* a, const Element* b) { return a->rect.top() < b->rect.top(); });

    auto shiftFor = [&](const QRectF& rc) {
        double s = 0;
        for (const Memo& m : memos)
            if (rc.top() >= m.bottom - kEps) s = std::max(s, m.shift + m.growth);
        return s;
    };
    auto spanGrowth = [&](const QRectF& rc) {
        double g = 0;
        for (const Memo& m : memos)
            if (rc.top() <= m.top + kEps && rc.bottom() >= m.bottom - kEps) g = std::max(g, m.shift + m.growth);
        return g;
    };
    double maxGrowth = 0;
    // Memos first, to know how far the others move.
    QHash<const Element*, QStringList> memoLines;
    for (const Element* e : order) {
        if (e->kind() != ElementKind::DBMemo) continue;
        auto* m = static_cast<const DBMemo*>(e);
        const QStringList lines = wrapText(m->font, textFor(*e, row), e->rect.width());
        memoLines.insert(e, lines);
        const double h = std::max(e->rect.height(), lines.size() * lineHeight(m->font));
        const double shift = shiftFor(e->rect);
        memos << Memo{e->rect.top(), e->rect.bottom(), shift, h - e->rect.height()};
        maxGrowth = std::max(maxGrowth, shift + h - e->rect.height());
    }
    for (const Element* e : order) {
        PageItem it;
        it.source = e->kind();
        it.element = e->name;
        QRectF rc = e->rect;
        const bool isMemo = e->kind() == ElementKind::DBMemo;
        if (isMemo) {
            for (const Memo& m : memos)
                if (qFuzzyCompare(m.top + 1, rc.top() + 1) && qFuzzyCompare(m.bottom + 1, rc.bottom() + 1)) rc.translate(0, m.shift);
        } else {
            rc.translate(0, shiftFor(e->rect));
        }
        switch (e->kind()) {
        case ElementKind::Label:
        case ElementKind::DBText:
        case ElementKind::SystemVariable:
        case ElementKind::Calc: {
            auto* t = static_cast<const TextElement*>(e);
            it.type = PageItem::Text;
            it.text = textFor(*e, row);
            it.font = t->font;
            it.align = t->align;
            it.clip = e->kind() != ElementKind::Label;
            it.rect = rc;
            out.items << it;
            break;
        }
        case ElementKind::DBMemo: {
            auto* t = static_cast<const DBMemo*>(e);
            const double lh = lineHeight(t->font);
            const QStringList lines = memoLines.value(e);
            for (int i = 0; i < lines.size(); ++i) {
                PageItem li = it;
                li.type = PageItem::Text;
                li.text = lines[i];
                li.font = t->font;
                li.align = t->align;
                li.rect = QRectF(rc.x(), rc.y() + i * lh, rc.width(), lh);
                if (!li.text.isEmpty()) out.items << li;
            }
            break;
        }
        case ElementKind::Line: {
            auto* l = static_cast<const Line*>(e);
            it.type = PageItem::Line;
            it.vertical = l->vertical;
            it.penColor = l->penColor;
            it.penWidth = l->penWidth;
            it.style = l->style;
            if (l->vertical) rc.setHeight(rc.height() + spanGrowth(e->rect));
            it.rect = l->vertical ? QRectF(rc.x(), rc.y(), 0, rc.height()) : QRectF(rc.x(), rc.y(), rc.width(), 0);
            out.items << it;
            break;
        }
        case ElementKind::Shape: {
            auto* s = static_cast<const Shape*>(e);
            it.type = PageItem::Rect;
            it.penColor = s->penColor;
            it.penWidth = s->penWidth;
            it.fillColor = s->fillColor;
            it.filled = s->filled;
            rc.setHeight(rc.height() + spanGrowth(e->rect));
            it.rect = rc;
            out.items << it;
            break;
        }
        case ElementKind::Image: {
            auto* im = static_cast<const Image*>(e);
            const QVariant v = valueOf(refs_.value(e), row);
            QImage img;
            if (v.typeId() == QMetaType::QByteArray) img = QImage::fromData(v.toByteArray());
            else if (v.typeId() == QMetaType::QString && !v.toString().isEmpty()) img = QImage(v.toString());
            if (img.isNull()) break;
            it.type = PageItem::Picture;
            it.image = img;
            it.stretch = im->stretch;
            it.rect = rc;
            out.items << it;
            break;
        }
        }
    }
    out.height = band.height + maxGrowth;
    return out;
}

double Engine::bandHeight(const Band& band, const RowData* row)
{
    for (const auto& e : band.elements)
        if (e->kind() == ElementKind::DBMemo) return layoutBand(band, row).height;
    return band.height;
}

double Engine::detailHeight(const RowData& row)
{
    if (!row.detailHeight) row.detailHeight = bandHeight(r_.detail, &row);
    return *row.detailHeight;
}

void Engine::openPage()
{
    ++pageNo_;
    page_ = Page();
    page_.number = pageNo_;
    page_.size = QSizeF(r_.page.sheetWidth(), r_.page.sheetHeight());
    page_.landscape = r_.page.orientation == Orientation::Landscape;
    page_.marginLeft = r_.page.marginLeft;
    page_.marginTop = r_.page.marginTop;
    page_.marginRight = r_.page.marginRight;
    page_.marginBottom = r_.page.marginBottom;
    pageOpen_ = true;
    y_ = 0;
    contentHeight_ = r_.page.contentHeight();
    footerReserve_ = r_.pageFooter.height;
    if (pageNo_ == 1) place(layoutBand(r_.title, current_));
    place(layoutBand(r_.pageHeader, current_));
    headerEnd_ = y_;
}

void Engine::closePage()
{
    if (!pageOpen_) return;
    Placed f = layoutBand(r_.pageFooter, current_);
    y_ = std::max(y_, contentHeight_ - f.height);
    place(f);
    sink_.addPage(page_);
    page_ = Page();
    pageOpen_ = false;
}

void Engine::place(const Placed& p)
{
    const QPointF offset(r_.page.marginLeft, r_.page.marginTop + y_);
    for (PageItem it : p.items) {
        it.rect.translate(offset);
        page_.items << std::move(it);
    }
    y_ += p.height;
}

// Places a laid-out band: on this page when it fits, else at the top of the
// next; a band taller than a page is cut between its items.
void Engine::flow(Placed p)
{
    for (;;) {
        if (!pageOpen_) openPage();
        if (p.height <= available() + kEps) {
            place(p);
            return;
        }
        if (pageHasBody() && p.height <= capacity() + kEps) {
            closePage();
            continue;
        }
        const double cut = available();
        Placed stay, rest;
        double restTop = p.height;
        for (const PageItem& it : p.items) {
            if (it.rect.bottom() <= cut + kEps) {
                stay.items << it;
            } else if ((it.type == PageItem::Rect || (it.type == PageItem::Line && it.vertical)) && it.rect.top() < cut) {
                PageItem top = it, bottom = it;
                top.rect.setBottom(cut);
                bottom.rect.setTop(cut);
                stay.items << top;
                rest.items << bottom;
                restTop = std::min(restTop, cut);
            } else {
                rest.items << it;
                restTop = std::min(restTop, it.rect.top());
            }
        }
        if (stay.items.isEmpty() && pageHasBody()) {
            closePage();
            continue;
        }
        if (rest.items.isEmpty() || (stay.items.isEmpty() && !pageHasBody() && restTop <= kEps)) {
            // Nothing can be moved on: print what there is.
            place(p);
            return;
        }
        stay.height = cut;
        place(stay);
        closePage();
        restTop = std::min(restTop, cut);
        for (PageItem& it : rest.items) it.rect.translate(0, -restTop);
        rest.height = p.height - restTop;
        p = std::move(rest);
    }
}

void Engine::flowBand(const Band& band, const RowData* row, double keepWith)
{
    if (band.elements.empty() && band.height <= 0) return;
    if (!pageOpen_) openPage();
    Placed p = layoutBand(band, row);
    const double need = p.height + keepWith;
    if (need > available() + kEps && pageHasBody() && need <= capacity() + kEps) {
        closePage();
        openPage();
        p = layoutBand(band, row);
    }
    flow(std::move(p));
}

// Height of group k starting at the look-ahead row `from`, with its inner
// headers and footers; stops counting once it exceeds a page.
double Engine::measureGroup(size_t k, size_t from)
{
    const size_t n = r_.groups.size();
    const RowData* first = peek(from);
    double h = bandHeight(r_.groups[k].header, first);
    for (size_t j = k + 1; j < n; ++j) h += bandHeight(r_.groups[j].header, first);
    const RowData* prev = nullptr;
    for (size_t i = from;; ++i) {
        const RowData* row = peek(i);
        if (!row) break;
        if (prev) {
            const int d = firstBreak(*prev, *row);
            if (d <= int(k)) break;
            for (size_t j = n; j-- > size_t(std::max(d, int(k) + 1));) h += r_.groups[j].footer.height;
            for (size_t j = size_t(d); j < n; ++j) h += bandHeight(r_.groups[j].header, row);
        }
        h += detailHeight(*row);
        if (h > capacity() + kEps) return h;
        prev = row;
    }
    for (size_t j = k; j < n; ++j) h += r_.groups[j].footer.height;
    return h;
}

void Engine::accumulate(const RowData& row)
{
    for (auto it = acc_.begin(); it != acc_.end(); ++it) {
        const Calc* c = it.key();
        Accumulator& a = it.value();
        ++a.count;
        if (c->function == CalcFunction::Count) continue;
        const QVariant v = valueOf(refs_.value(c), &row);
        if (v.isNull() || !v.isValid()) continue;
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok) continue;
        const int t = v.typeId();
        if (t != QMetaType::Int && t != QMetaType::LongLong && t != QMetaType::UInt && t != QMetaType::ULongLong
            && t != QMetaType::Short && t != QMetaType::UShort)
            a.integral = false;
        ++a.numbers;
        a.sum += d;
        a.min = a.min ? std::min(*a.min, d) : d;
        a.max = a.max ? std::max(*a.max, d) : d;
    }
}

void Engine::run()
{
    for (Pipeline* p : r_.pipelines())
        if (!chain_.contains(p)) p->first();
    sink_.begin(totalPages_);
    const size_t n = r_.groups.size();
    const RowData* first = peek(0);
    current_ = first;
    openPage();
    std::optional<RowData> prev;
    while (const RowData* row = peek(0)) {
        const int g = prev ? firstBreak(*prev, *row) : 0;
        if (prev) {
            current_ = &*prev;
            for (size_t k = n; k-- > size_t(g);) flowBand(r_.groups[k].footer, &*prev);
        }
        current_ = row;
        for (size_t k = size_t(g); k < n; ++k) {
            for (auto it = calcReset_.begin(); it != calcReset_.end(); ++it)
                if (it.value() >= int(k)) acc_[it.key()].reset();
            const Group& grp = r_.groups[k];
            if (!pageOpen_) openPage();
            if (grp.newPage && pageHasBody()) {
                closePage();
                openPage();
            }
            if (grp.keepTogether && pageHasBody()) {
                const double h = measureGroup(k, 0);
                if (h > available() + kEps && h <= capacity() + kEps) {
                    closePage();
                    openPage();
                }
            }
            // A header stays with the first detail under it.
            double keep = detailHeight(*row);
            for (size_t j = k + 1; j < n; ++j) keep += bandHeight(r_.groups[j].header, row);
            flowBand(grp.header, row, keep);
        }
        accumulate(*row);
        flowBand(r_.detail, row);
        prev = std::move(ahead_.front());
        ahead_.pop_front();
        current_ = &*prev;
    }
    if (prev) {
        current_ = &*prev;
        for (size_t k = n; k-- > 0;) flowBand(r_.groups[k].footer, &*prev);
    }
    flowBand(r_.summary, prev ? &*prev : nullptr);
    if (!pageOpen_) openPage();
    closePage();
    sink_.end();
}

bool needsPageCount(const Report& r)
{
    for (SystemVariable* s : r.elementsOf<SystemVariable>())
        if (s->value == SystemValue::PageCount || s->value == SystemValue::PageNofM) return true;
    return false;
}

} // namespace

void Report::run(PageSink& sink) const
{
    const QDateTime when = printDateTime_.isValid() ? printDateTime_ : QDateTime::currentDateTime();
    int total = 0;
    if (needsPageCount(*this)) {
        PageCounter counter;
        Engine(*this, counter, 0, when).run();
        total = counter.count;
    }
    Engine(*this, sink, total, when).run();
}

int Report::pageCount() const
{
    PageCounter counter;
    run(counter);
    return counter.count;
}

} // namespace report

#include "platform/report/PainterOutput.h"

#include "platform/report/Measure.h"
#include "platform/report/Report.h"

#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace report {

namespace {

Qt::PenStyle penStyle(LineStyle s)
{
    switch (s) {
    case LineStyle::Dash: return Qt::DashLine;
    case LineStyle::Dot: return Qt::DotLine;
    case LineStyle::Solid: break;
    }
    return Qt::SolidLine;
}

QPageLayout layoutFor(const Page& page)
{
    const bool land = page.landscape;
    const QSizeF portrait = land ? page.size.transposed() : page.size;
    return QPageLayout(QPageSize(portrait, QPageSize::Millimeter), land ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

} // namespace

void paintPage(QPainter& p, const Page& page)
{
    p.save();
    // Millimetres to device pixels; the device's origin is the sheet's corner.
    const double sx = p.device()->logicalDpiX() / 25.4;
    const double sy = p.device()->logicalDpiY() / 25.4;
    auto px = [&](const QRectF& r) { return QRectF(r.x() * sx, r.y() * sy, r.width() * sx, r.height() * sy); };
    const double ptToPx = p.device()->logicalDpiY() / 72.0;
    p.setRenderHint(QPainter::Antialiasing, true);
    for (const PageItem& it : page.items) {
        switch (it.type) {
        case PageItem::Rect: {
            QPen pen(it.penColor);
            pen.setWidthF(it.penWidth * ptToPx);
            p.setPen(it.penWidth > 0 ? pen : QPen(Qt::NoPen));
            p.setBrush(it.filled ? QBrush(it.fillColor) : QBrush(Qt::NoBrush));
            p.drawRect(px(it.rect));
            break;
        }
        case PageItem::Line: {
            QPen pen(it.penColor);
            pen.setWidthF(std::max(it.penWidth, 0.1) * ptToPx);
            pen.setStyle(penStyle(it.style));
            pen.setCapStyle(Qt::FlatCap);
            p.setPen(pen);
            const QRectF r = px(it.rect);
            p.drawLine(r.topLeft(), it.vertical ? r.bottomLeft() : r.topRight());
            break;
        }
        case PageItem::Picture: {
            const QRectF r = px(it.rect);
            if (it.stretch) {
                p.drawImage(r, it.image);
            } else {
                QSizeF s = QSizeF(it.image.size()).scaled(r.size(), Qt::KeepAspectRatio);
                p.drawImage(QRectF(r.topLeft() + QPointF((r.width() - s.width()) / 2, (r.height() - s.height()) / 2), s), it.image);
            }
            break;
        }
        case PageItem::Text: {
            p.setFont(qtFont(it.font));
            p.setPen(it.font.color);
            int flags = Qt::AlignTop | Qt::TextSingleLine;
            flags |= it.align == HAlign::Center ? Qt::AlignHCenter : it.align == HAlign::Right ? Qt::AlignRight : Qt::AlignLeft;
            if (!it.clip) flags |= Qt::TextDontClip;
            p.drawText(px(it.rect), flags, it.text);
            break;
        }
        }
    }
    p.restore();
}

QPageLayout pageLayout(const Report& report)
{
    Page probe;
    probe.size = QSizeF(report.page.sheetWidth(), report.page.sheetHeight());
    probe.landscape = report.page.orientation == Orientation::Landscape;
    return layoutFor(probe);
}

PdfSink::PdfSink(const QString& path, const QString& title) : path_(path)
{
    writer_ = std::make_unique<QPdfWriter>(path);
    writer_->setResolution(600);
    writer_->setCreator(QStringLiteral("Zbvlo Clipping"));
    writer_->setTitle(title.isEmpty() ? QFileInfo(path).completeBaseName() : title);
}

PdfSink::~PdfSink() = default;

void PdfSink::addPage(const Page& page)
{
    if (!painter_) {
        writer_->setPageLayout(layoutFor(page));
        painter_ = std::make_unique<QPainter>();
        if (!painter_->begin(writer_.get()))
            throw clip::Exception(QStringLiteral("Não foi possível gravar o arquivo \"%1\".").arg(path_));
    } else {
        writer_->setPageLayout(layoutFor(page));
        writer_->newPage();
    }
    paintPage(*painter_, page);
}

void PdfSink::end()
{
    if (painter_) painter_->end();
    painter_.reset();
}

PrinterSink::PrinterSink(QPrinter* printer) : printer_(printer) {}
PrinterSink::~PrinterSink() = default;

void PrinterSink::addPage(const Page& page)
{
    if (!painter_) {
        printer_->setFullPage(true);
        printer_->setPageLayout(layoutFor(page));
        painter_ = std::make_unique<QPainter>();
        if (!painter_->begin(printer_)) throw clip::Exception(QStringLiteral("Não foi possível iniciar a impressão."));
    } else {
        printer_->newPage();
    }
    paintPage(*painter_, page);
}

void PrinterSink::end()
{
    if (painter_) painter_->end();
    painter_.reset();
}

void writePdf(const Report& report, const QString& path)
{
    PdfSink sink(path, report.name);
    report.run(sink);
}

void print(const Report& report, QPrinter* printer)
{
    PrinterSink sink(printer);
    report.run(sink);
}

std::unique_ptr<QPrintPreviewDialog> previewDialog(const Report& report, QWidget* parent)
{
    auto* printer = new QPrinter(QPrinter::HighResolution);
    printer->setFullPage(true);
    printer->setPageLayout(pageLayout(report));
    printer->setDocName(report.name);
    auto dlg = std::make_unique<QPrintPreviewDialog>(printer, parent);
    QObject::connect(dlg.get(), &QObject::destroyed, [printer] { delete printer; });
    QObject::connect(dlg.get(), &QPrintPreviewDialog::paintRequested, dlg.get(), [&report](QPrinter* p) { print(report, p); });
    dlg->setWindowTitle(report.name.isEmpty() ? QStringLiteral("Visualizar impressão") : report.name);
    return dlg;
}

void preview(const Report& report, QWidget* parent)
{
    auto dlg = previewDialog(report, parent);
    dlg->exec();
}

} // namespace report

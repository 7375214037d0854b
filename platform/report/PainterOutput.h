#pragma once

#include "platform/report/Page.h"

#include <QPageLayout>
#include <memory>

class QPainter;
class QPdfWriter;
class QPrinter;
class QPrintPreviewDialog;
class QWidget;

namespace report {

class Report;

// Draws one page with the painter, whose device covers the whole sheet.
void paintPage(QPainter& painter, const Page& page);

QPageLayout pageLayout(const Report& report);

// Writes the pages to a PDF file as they are produced.
class PdfSink : public PageSink {
public:
    explicit PdfSink(const QString& path, const QString& title = {});
    ~PdfSink() override;
    void addPage(const Page& page) override;
    void end() override;

private:
    std::unique_ptr<QPdfWriter> writer_;
    std::unique_ptr<QPainter> painter_;
    QString path_;
};

// Draws the pages on a printer (or its preview); every page after the first
// starts with a new sheet.
class PrinterSink : public PageSink {
public:
    explicit PrinterSink(QPrinter* printer);
    ~PrinterSink() override;
    void addPage(const Page& page) override;
    void end() override;

private:
    QPrinter* printer_;
    std::unique_ptr<QPainter> painter_;
};

void writePdf(const Report& report, const QString& path);
void print(const Report& report, QPrinter* printer);

// The screen preview: page by page with zoom; its print button prints on a
// real printer or to a PDF file. The dialog is not shown; the caller runs it.
std::unique_ptr<QPrintPreviewDialog> previewDialog(const Report& report, QWidget* parent = nullptr);
// Runs the preview modally.
void preview(const Report& report, QWidget* parent = nullptr);

} // namespace report

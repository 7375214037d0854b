#pragma once

#include "platform/report/Page.h"

#include <QColor>
#include <QStringList>
#include <QTemporaryFile>

namespace report {

class Report;

// Writes the pages as an RTF document: every row of texts is a paragraph at
// its height on the page, its texts placed by tab stops with their fonts and
// colours; horizontal lines are paragraph borders, pictures are frames at
// their place on the page, filled shapes shade the texts on them, and every
// page after the first starts with a page break. The body goes to a
// temporary file while the pages come, so memory stays flat.
class RtfSink : public PageSink {
public:
    explicit RtfSink(const QString& path);
    void begin(int) override;
    void addPage(const Page& page) override;
    void end() override;

private:
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    void write(const QByteArray& bytes);

    QString path_;
    QTemporaryFile body_;
    QStringList fonts_;
    QList<QRgb> colors_;
    Page first_;
    int pages_ = 0;
};

void writeRtf(const Report& report, const QString& path);

// RTF text of a string: control characters escaped, non-ASCII as \u.
QByteArray rtfEscape(const QString& text);

} // namespace report

#pragma once

#include "platform/report/Page.h"

#include <QSaveFile>

namespace report {

class Report;

// The text device: each page becomes lines of characters on a grid of
// fixed-pitch cells. Rows of texts keep their order and never merge; a text
// that would overlap the one before it moves right; nothing is cut.
struct TextOptions {
    double charWidth = 25.4 / 12;   // mm per column (12 characters an inch)
    double lineHeight = 25.4 / 6;   // mm per line (6 lines an inch)
    QByteArray lineEnd = "\r\n";
    bool windows1252 = true;        // else UTF-8
    bool formFeed = true;           // "\f" before every page after the first
};

QStringList textPageLines(const Page& page, const TextOptions& options = {});

class TextSink : public PageSink {
public:
    explicit TextSink(const QString& path, TextOptions options = {});
    void begin(int) override;
    void addPage(const Page& page) override;
    void end() override;

private:
    void write(const QByteArray& bytes);
    QString path_;
    TextOptions options_;
    QSaveFile file_;
    int pages_ = 0;
};

void writeText(const Report& report, const QString& path, const TextOptions& options = {});

} // namespace report

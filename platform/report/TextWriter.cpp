#include "platform/report/TextWriter.h"

#include "platform/core/Exception.h"
#include "platform/report/Format.h"
#include "platform/report/Report.h"
#include "platform/report/Rows.h"

#include <cmath>

namespace report {

QStringList textPageLines(const Page& page, const TextOptions& o)
{
    QStringList lines;
    auto col = [&](double mm) { return int(std::lround((mm - page.marginLeft) / o.charWidth)); };
    for (const PageRow& row : pageRows(page)) {
        const int target = int(std::lround((row.top - page.marginTop) / o.lineHeight));
        while (lines.size() < target) lines << QString();
        QString s;
        if (row.isRule()) {
            for (const PageItem* l : row.lines) {
                const int a = std::max(0, col(l->rect.left()));
                const int b = std::max(a + 1, col(l->rect.right()));
                if (s.size() < b) s = s.leftJustified(b, QLatin1Char(' '));
                for (int i = a; i < b; ++i) s[i] = QLatin1Char('-');
            }
        } else {
            for (const PageItem* t : row.texts) {
                QString text = t->text;
                text.replace(QLatin1Char('\t'), QLatin1Char(' '));
                int c = 0;
                switch (t->align) {
                case HAlign::Left: c = col(t->rect.left()); break;
                case HAlign::Center: c = col(t->rect.center().x()) - int(text.size()) / 2; break;
                case HAlign::Right: c = col(t->rect.right()) - int(text.size()); break;
                }
                c = std::max(c, 0);
                if (!s.isEmpty()) c = std::max(c, int(s.size()) + 1);
                s = s.leftJustified(c, QLatin1Char(' ')) + text;
            }
        }
        while (s.endsWith(QLatin1Char(' '))) s.chop(1);
        lines << s;
    }
    while (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

TextSink::TextSink(const QString& path, TextOptions options) : path_(path), options_(std::move(options)) {}

void TextSink::write(const QByteArray& bytes)
{
    if (file_.write(bytes) != bytes.size())
        throw clip::Exception(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(path_, file_.errorString()));
}

void TextSink::begin(int)
{
    file_.setFileName(path_);
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw clip::Exception(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(path_, file_.errorString()));
    pages_ = 0;
}

void TextSink::addPage(const Page& page)
{
    if (pages_++ > 0 && options_.formFeed) write("\f");
    QByteArray out;
    for (const QString& line : textPageLines(page, options_)) {
        out += options_.windows1252 ? toWindows1252(line) : line.toUtf8();
        out += options_.lineEnd;
    }
    write(out);
}

void TextSink::end()
{
    if (!file_.commit())
        throw clip::Exception(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(path_, file_.errorString()));
}

void writeText(const Report& report, const QString& path, const TextOptions& options)
{
    TextSink sink(path, options);
    report.run(sink);
}

} // namespace report

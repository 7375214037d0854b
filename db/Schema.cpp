#include "Schema.h"

#include "platform/firebird/Attachment.h"
#include "platform/firebird/Error.h"

#include <QFile>
#include <QRegularExpression>

static void initSchemaResource() { Q_INIT_RESOURCE(schema); }

namespace db {

QStringList splitScript(const QString& script) {
    QStringList out;
    QString term = QStringLiteral(";");
    QString current;
    const qsizetype n = script.size();
    auto flush = [&] {
        const QString s = current.trimmed();
        current.clear();
        if (s.isEmpty())
            return;
        static const QRegularExpression setTerm(QStringLiteral("^SET\\s+TERM\\s+(\\S+)\\s*$"),
                                                QRegularExpression::CaseInsensitiveOption);
        if (auto m = setTerm.match(s); m.hasMatch()) {
            term = m.captured(1);
            return;
        }
        out.append(s);
    };
    for (qsizetype i = 0; i < n;) {
        const QChar c = script[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            qsizetype j = i + 1;
            while (j < n && !(script[j] == c && !(j + 1 < n && script[j + 1] == c))) {
                j += (script[j] == c) ? 2 : 1;
            }
            j = std::min(j + 1, n);
            current += QStringView(script).mid(i, j - i);
            i = j;
        } else if (script.mid(i, 2) == QLatin1String("/*")) {
            qsizetype j = script.indexOf(QLatin1String("*/"), i + 2);
            i = j < 0 ? n : j + 2;
            current += QLatin1Char(' ');
        } else if (script.mid(i, 2) == QLatin1String("--")) {
            qsizetype j = script.indexOf(QLatin1Char('\n'), i);
            i = j < 0 ? n : j;
        } else if (QStringView(script).mid(i, term.size()) == term) {
            // "SET TERM x" itself ends with the old terminator.
            flush();
            i += term.size();
        } else {
            current += c;
            ++i;
        }
    }
    flush();
    return out;
}

QStringList schemaStatements() {
    initSchemaResource();
    QFile f(QStringLiteral(":/db/schema.sql"));
    if (!f.open(QIODevice::ReadOnly))
        throw fb::Error(QStringLiteral("Schema script not found in the resources"));
    return splitScript(QString::fromUtf8(f.readAll()));
}

void criarBanco(const QString& path, const QString& user, const QString& password) {
    const QStringList statements = schemaStatements();
    fb::Attachment att = fb::Attachment::create(path, user, password);
    try {
        for (const QString& sql : statements)
            att.executeImmediate(sql);
    } catch (...) {
        try {
            att.dropDatabase();
        } catch (...) {
        }
        throw;
    }
    att.detach();
}

} // namespace db

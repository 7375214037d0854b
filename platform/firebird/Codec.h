#pragma once

#include <QByteArray>
#include <QString>

namespace fb {

// Text crosses the wire in the database's single-byte character set,
// Windows-1252. Characters it cannot hold are refused, never replaced.
namespace codec {
QString decode(const char* data, qsizetype size);
inline QString decode(const QByteArray& bytes) { return decode(bytes.constData(), bytes.size()); }
// Throws fb::Error naming the first character that Windows-1252 cannot hold.
QByteArray encode(const QString& text);
// True when every character of text has a Windows-1252 byte.
bool canEncode(const QString& text);
} // namespace codec

} // namespace fb

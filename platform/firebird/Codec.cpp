#include "Codec.h"
#include "Error.h"

#include <array>

namespace fb::codec {

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five unassigned codes.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};

int encodeChar(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHigh[size_t(i)] == c && c != 0)
            return 0x80 + i;
    return -1;
}

} // namespace

QString decode(const char* data, qsizetype size) {
    QString out(size, Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        auto b = static_cast<unsigned char>(data[i]);
        char16_t c = b;
        if (b >= 0x80 && b < 0xA0)
            c = kHigh[b - 0x80] ? kHigh[b - 0x80] : char16_t(b);
        d[i] = QChar(c);
    }
    return out;
}

QByteArray encode(const QString& text) {
    QByteArray out(text.size(), Qt::Uninitialized);
    char* d = out.data();
    const QChar* s = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i) {
        char16_t c = s[i].unicode();
        if (c < 0x80) {
            d[i] = char(c);
            continue;
        }
        int b = encodeChar(c);
        if (b < 0) {
            char32_t code = c;
            QString shown(s[i]);
            if (s[i].isHighSurrogate() && i + 1 < text.size()) {
                code = QChar::surrogateToUcs4(s[i], s[i + 1]);
                shown = text.mid(i, 2);
            }
            throw Error(QStringLiteral("O caractere \"%1\" (U+%2) não pode ser gravado no banco de dados.")
                            .arg(shown, QString::number(uint(code), 16).toUpper().rightJustified(4, QChar('0'))));
        }
        d[i] = char(b);
    }
    return out;
}

bool canEncode(const QString& text) {
    for (QChar ch : text)
        if (ch.unicode() >= 0x80 && encodeChar(ch.unicode()) < 0)
            return false;
    return true;
}

} // namespace fb::codec

#include "EditMask.h"

#include <QList>

namespace dataset {

namespace {

struct Pos {
    bool literal;
    QChar ch;        // literal char, or the mask char of an input position
    bool required;
};

QList<Pos> positions(const QString& mask) {
    QList<Pos> out;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case '!': case '>': case '<':
            break;
        case '\\':
            if (i + 1 < mask.size()) out.append({true, mask[++i], false});
            break;
        case '0': case 'L': case 'A': case 'C':
            out.append({false, c, true});
            break;
        case '9': case '#': case 'l': case 'a': case 'c':
            out.append({false, c, false});
            break;
        default:
            out.append({true, c, false});
            break;
        }
    }
    return out;
}

QString shape(const QString& mask) {
    QString s;
    for (const Pos& p : positions(mask)) s += p.literal ? p.ch : QLatin1Char('x');
    return s;
}

} // namespace

EditMask EditMask::parse(const QString& spec) {
    EditMask m;
    if (spec.isEmpty()) return m;
    // The last two ';' separated parts are the options when present.
    QStringList parts = spec.split(QLatin1Char(';'));
    if (parts.size() >= 3) {
        const QString blank = parts.takeLast();
        const QString store = parts.takeLast();
        m.blank = blank.isEmpty() ? QLatin1Char(' ') : blank[0];
        m.storeLiterals = store.trimmed() != QLatin1String("0");
        m.mask = parts.join(QLatin1Char(';'));
    } else if (parts.size() == 2) {
        m.storeLiterals = parts[1].trimmed() != QLatin1String("0");
        m.mask = parts[0];
    } else {
        m.mask = spec;
    }
    return m;
}

QString EditMask::qtInputMask() const {
    if (mask.isEmpty()) return QString();
    static const QString special = QStringLiteral("AaNnXx90Dd#HhBb><!\\[]{};");
    QString q;
    for (int i = 0; i < mask.size(); ++i) {
        const QChar c = mask[i];
        switch (c.unicode()) {
        case '!': break;
        case '>':
            q += QLatin1Char('>');
            break;
        case '<':
            if (i + 1 < mask.size() && mask[i + 1] == QLatin1Char('>')) { q += QLatin1Char('!'); ++i; }
            else q += QLatin1Char('<');
            break;
        case '\\':
            if (i + 1 < mask.size()) {
                const QChar n = mask[++i];
                if (special.contains(n)) q += QLatin1Char('\\');
                q += n;
            }
            break;
        case '0': q += QLatin1Char('9'); break;
        case '9': q += QLatin1Char('0'); break;
        case '#': q += QLatin1Char('#'); break;
        case 'L': q += QLatin1Char('A'); break;
        case 'l': q += QLatin1Char('a'); break;
        case 'A': q += QLatin1Char('N'); break;
        case 'a': q += QLatin1Char('n'); break;
        case 'C': q += QLatin1Char('X'); break;
        case 'c': q += QLatin1Char('x'); break;
        default:
            if (special.contains(c)) q += QLatin1Char('\\');
            q += c;
            break;
        }
    }
    q += QLatin1Char(';');
    q += blank;
    return q;
}

QString EditMask::literals() const {
    QString s;
    for (const Pos& p : positions(mask)) s += p.literal ? p.ch : QChar();
    return s;
}

int EditMask::length() const { return int(positions(mask).size()); }

QString EditMask::valueFromDisplay(const QString& display) const {
    const QList<Pos> ps = positions(mask);
    QString out;
    bool anyInput = false;
    for (int i = 0; i < ps.size(); ++i) {
        const QChar c = i < display.size() ? display[i] : blank;
        if (ps[i].literal) {
            if (storeLiterals) out += ps[i].ch;
            continue;
        }
        if (c == blank || c == QLatin1Char(' ')) {
            out += QLatin1Char(' ');
        } else {
            out += c;
            anyInput = true;
        }
    }
    if (!anyInput) return QString();
    while (out.endsWith(QLatin1Char(' '))) out.chop(1);
    return out;
}

bool EditMask::isComplete(const QString& display) const {
    const QList<Pos> ps = positions(mask);
    for (int i = 0; i < ps.size(); ++i) {
        if (ps[i].literal || !ps[i].required) continue;
        const QChar c = i < display.size() ? display[i] : blank;
        if (c == blank || c == QLatin1Char(' ')) return false;
    }
    return true;
}

bool EditMask::isDateMask() const {
    const QString s = shape(mask);
    return s == QLatin1String("xx/xx/xxxx") || s == QLatin1String("xx/xx/xx");
}

bool EditMask::isTimeMask() const {
    const QString s = shape(mask);
    return s == QLatin1String("xx:xx:xx") || s == QLatin1String("xx:xx");
}

} // namespace dataset

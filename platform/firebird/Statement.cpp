#include "Statement.h"
#include "Attachment.h"
#include "Codec.h"
#include "Internal.h"
#include "Transaction.h"

#include <QDateTime>
#include <cmath>
#include <cstring>
#include <ibase.h>

using Firebird::ThrowStatusWrapper;

namespace fb {

namespace {

bool isNameStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isNamePart(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

ColumnType columnType(unsigned type, int subType, int scale) {
    switch (type) {
    case SQL_SHORT: return scale ? ColumnType::Double : ColumnType::SmallInt;
    case SQL_LONG: return scale ? ColumnType::Double : ColumnType::Integer;
    case SQL_INT64: return scale ? ColumnType::Double : ColumnType::BigInt;
    case SQL_DOUBLE: case SQL_D_FLOAT: return ColumnType::Double;
    case SQL_FLOAT: return ColumnType::Float;
    case SQL_TEXT: return ColumnType::Char;
    case SQL_VARYING: return ColumnType::VarChar;
    case SQL_TIMESTAMP: return ColumnType::Timestamp;
    case SQL_TYPE_DATE: return ColumnType::Date;
    case SQL_TYPE_TIME: return ColumnType::Time;
    case SQL_BLOB: return subType == 1 ? ColumnType::TextBlob : ColumnType::BinaryBlob;
    case SQL_BOOLEAN: return ColumnType::Boolean;
    default: return ColumnType::Other;
    }
}

QDateTime decodeTimestamp(const ISC_TIMESTAMP& ts) {
    unsigned y, m, d, hh, mm, ss, frac;
    util()->decodeDate(ts.timestamp_date, &y, &m, &d);
    util()->decodeTime(ts.timestamp_time, &hh, &mm, &ss, &frac);
    return QDateTime(QDate(int(y), int(m), int(d)), QTime(int(hh), int(mm), int(ss), int(frac / 10)),
                     Qt::LocalTime);
}

ISC_TIMESTAMP encodeTimestamp(const QDateTime& dt) {
    ISC_TIMESTAMP ts;
    QDate d = dt.date();
    QTime t = dt.time();
    ts.timestamp_date = util()->encodeDate(unsigned(d.year()), unsigned(d.month()), unsigned(d.day()));
    ts.timestamp_time =
        util()->encodeTime(unsigned(t.hour()), unsigned(t.minute()), unsigned(t.second()), unsigned(t.msec() * 10));
    return ts;
}

double scaled(qint64 v, int scale) { return double(v) * std::pow(10.0, scale); }

} // namespace

QString translateParams(const QString& sql, std::vector<QString>& positionNames) {
    positionNames.clear();
    QString out;
    out.reserve(sql.size());
    const qsizetype n = sql.size();
    for (qsizetype i = 0; i < n;) {
        QChar c = sql[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // Literal or quoted identifier; a doubled quote stays inside.
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            j = std::min(j + 1, n);
            out += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('-') && i + 1 < n && sql[i + 1] == QLatin1Char('-')) {
            qsizetype j = sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0) j = n;
            out += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && sql[i + 1] == QLatin1Char('*')) {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            out += QStringView(sql).mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameStart(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && isNamePart(sql[j])) ++j;
            positionNames.push_back(sql.mid(i + 1, j - i - 1).toUpper());
            out += QLatin1Char('?');
            i = j;
        } else if (c == QLatin1Char('?')) {
            positionNames.push_back(QString());
            out += c;
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

Statement::Statement(Transaction& transaction, const QString& sql) : tra_(&transaction), sql_(sql) {
    const QString translated = translateParams(sql, positionNames_);
    for (const QString& name : positionNames_)
        if (!name.isEmpty() && !paramNames_.contains(name))
            paramNames_.append(name);
    params_.resize(positionNames_.size());

    Attachment& att = tra_->attachment();
    if (!att.raw())
        throw Error(QStringLiteral("Database not connected"));
    const QByteArray text = codec::encode(translated);
    Firebird::ITransaction* tra = tra_->raw();
    stmt_ = detail::call([&](ThrowStatusWrapper* st) {
        return att.raw()->prepare(st, tra, 0, text.constData(), detail::kDialect,
                                  Firebird::IStatement::PREPARE_PREFETCH_METADATA);
    });
    try {
        inMeta_ = detail::call([&](ThrowStatusWrapper* st) { return stmt_->getInputMetadata(st); });
        outMeta_ = detail::call([&](ThrowStatusWrapper* st) { return stmt_->getOutputMetadata(st); });
        unsigned count = detail::call([&](ThrowStatusWrapper* st) { return outMeta_->getCount(st); });
        unsigned inCount = detail::call([&](ThrowStatusWrapper* st) { return inMeta_->getCount(st); });
        if (inCount != positionNames_.size())
            throw Error(QStringLiteral("Parameter count mismatch in statement: %1").arg(sql));
        columns_.reserve(count);
        outSlots_.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            detail::call([&](ThrowStatusWrapper* st) {
                Column c;
                QString alias = codec::decode(QByteArray(outMeta_->getAlias(st, i)));
                c.field = codec::decode(QByteArray(outMeta_->getField(st, i)));
                c.relation = codec::decode(QByteArray(outMeta_->getRelation(st, i)));
                c.name = alias.isEmpty() ? c.field : alias;
                OutSlot s;
                s.type = outMeta_->getType(st, i) & ~1u;
                s.subType = unsigned(outMeta_->getSubType(st, i));
                s.length = outMeta_->getLength(st, i);
                s.scale = outMeta_->getScale(st, i);
                s.offset = outMeta_->getOffset(st, i);
                s.nullOffset = outMeta_->getNullOffset(st, i);
                c.type = columnType(s.type, int(s.subType), s.scale);
                c.size = int(s.length);
                c.scale = s.scale;
                c.nullable = outMeta_->isNullable(st, i);
                columns_.push_back(c);
                outSlots_.push_back(s);
            });
        }
        if (count) {
            unsigned len = detail::call([&](ThrowStatusWrapper* st) { return outMeta_->getMessageLength(st); });
            outBuffer_.assign(len, 0);
        }
        row_.resize(count);
    } catch (...) {
        if (inMeta_) inMeta_->release();
        if (outMeta_) outMeta_->release();
        try { detail::call([&](ThrowStatusWrapper* st) { stmt_->free(st); }); } catch (...) { stmt_->release(); }
        throw;
    }
}

Statement::~Statement() {
    close();
    if (inMeta_) inMeta_->release();
    if (outMeta_) outMeta_->release();
    if (stmt_) {
        try {
            detail::call([&](ThrowStatusWrapper* st) { stmt_->free(st); });
        } catch (...) {
            stmt_->release();
        }
    }
}

bool Statement::hasParam(const QString& name) const { return paramNames_.contains(name.toUpper()); }

void Statement::setParam(const QString& name, const QVariant& value) {
    const QString key = name.toUpper();
    bool found = false;
    for (size_t i = 0; i < positionNames_.size(); ++i)
        if (positionNames_[i] == key) {
            params_[i] = value;
            found = true;
        }
    if (!found)
        throw Error(QStringLiteral("Parameter %1 not found").arg(name));
}

void Statement::setParamAt(int position, const QVariant& value) {
    if (position < 0 || size_t(position) >= params_.size())
        throw Error(QStringLiteral("Parameter index %1 out of range").arg(position));
    params_[size_t(position)] = value;
}

void Statement::clearParams() {
    for (auto& p : params_) p = QVariant();
}

int Statement::columnIndex(const QString& name) const {
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

// Builds the input message from the parameter values. Each value travels in
// its own type (text as VARCHAR of its length, integers, doubles,
// timestamps); the server converts it to the parameter's type.
void Statement::fillInput(std::vector<unsigned char>& buffer, Firebird::IMessageMetadata*& meta) {
    meta = nullptr;
    const unsigned count = unsigned(params_.size());
    if (!count)
        return;
    Firebird::IAttachment* att = tra_->attachment().raw();
    Firebird::ITransaction* tra = tra_->raw();

    struct Prepared { int kind; QByteArray bytes; qint64 integer = 0; double real = 0; ISC_TIMESTAMP ts{}; ISC_QUAD blob{}; };
    enum { Null, Text, Long, Int64, Real, Stamp, Blob };
    std::vector<Prepared> values(count);

    Firebird::IMetadataBuilder* builder =
        detail::call([&](ThrowStatusWrapper* st) { return inMeta_->getBuilder(st); });
    struct Rel { Firebird::IMetadataBuilder* b; ~Rel() { b->release(); } } relBuilder{builder};

    for (unsigned i = 0; i < count; ++i) {
        const QVariant& v = params_[i];
        unsigned described = detail::call([&](ThrowStatusWrapper* st) { return inMeta_->getType(st, i); }) & ~1u;
        int subType = detail::call([&](ThrowStatusWrapper* st) { return inMeta_->getSubType(st, i); });
        Prepared& p = values[i];
        if (v.isNull() || !v.isValid()) {
            p.kind = Null;
            continue;
        }
        if (described == SQL_BLOB) {
            p.kind = Blob;
            QByteArray bytes = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : codec::encode(v.toString());
            Firebird::IBlob* blob = detail::call([&](ThrowStatusWrapper* st) {
                return att->createBlob(st, tra, &p.blob, 0, nullptr);
            });
            try {
                for (qsizetype off = 0; off < bytes.size(); off += 32768) {
                    unsigned len = unsigned(std::min<qsizetype>(32768, bytes.size() - off));
                    detail::call([&](ThrowStatusWrapper* st) { blob->putSegment(st, len, bytes.constData() + off); });
                }
                detail::call([&](ThrowStatusWrapper* st) { blob->close(st); });
            } catch (...) {
                try { detail::call([&](ThrowStatusWrapper* st) { blob->cancel(st); }); } catch (...) { blob->release(); }
                throw;
            }
            detail::call([&](ThrowStatusWrapper* st) {
                builder->setType(st, i, SQL_BLOB + 1);
                builder->setSubType(st, i, subType);
            });
            continue;
        }
        switch (v.typeId()) {
        case QMetaType::Bool:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::ULong: {
            qint64 x = v.toLongLong();
            p.integer = x;
            p.kind = (x >= INT32_MIN && x <= INT32_MAX) ? Long : Int64;
            detail::call([&](ThrowStatusWrapper* st) {
                builder->setType(st, i, (p.kind == Long ? SQL_LONG : SQL_INT64) + 1);
                builder->setLength(st, i, p.kind == Long ? 4 : 8);
                builder->setScale(st, i, 0);
            });
            break;
        }
        case QMetaType::Double:
        case QMetaType::Float:
            p.kind = Real;
            p.real = v.toDouble();
            detail::call([&](ThrowStatusWrapper* st) {
                builder->setType(st, i, SQL_DOUBLE + 1);
                builder->setLength(st, i, 8);
                builder->setScale(st, i, 0);
            });
            break;
        case QMetaType::QDateTime:
        case QMetaType::QDate: {
            QDateTime dt = v.typeId() == QMetaType::QDate ? v.toDate().startOfDay() : v.toDateTime();
            if (!dt.isValid())
                throw Error(QStringLiteral("Invalid date value for parameter %1").arg(positionNames_[i]));
            p.kind = Stamp;
            p.ts = encodeTimestamp(dt);
            detail::call([&](ThrowStatusWrapper* st) {
                builder->setType(st, i, SQL_TIMESTAMP + 1);
                builder->setLength(st, i, sizeof(ISC_TIMESTAMP));
            });
            break;
        }
        default: {
            p.kind = Text;
            p.bytes = v.typeId() == QMetaType::QByteArray ? v.toByteArray() : codec::encode(v.toString());
            if (p.bytes.size() > 32765)
                throw Error(QStringLiteral("Text parameter %1 is too long").arg(positionNames_[i]));
            detail::call([&](ThrowStatusWrapper* st) {
                builder->setType(st, i, SQL_VARYING + 1);
                builder->setLength(st, i, unsigned(std::max<qsizetype>(1, p.bytes.size())));
                builder->setCharSet(st, i, 0);
            });
            break;
        }
        }
    }
    meta = detail::call([&](ThrowStatusWrapper* st) { return builder->getMetadata(st); });
    try {
        unsigned len = detail::call([&](ThrowStatusWrapper* st) { return meta->getMessageLength(st); });
        buffer.assign(len, 0);
        for (unsigned i = 0; i < count; ++i) {
            unsigned off = detail::call([&](ThrowStatusWrapper* st) { return meta->getOffset(st, i); });
            unsigned nullOff = detail::call([&](ThrowStatusWrapper* st) { return meta->getNullOffset(st, i); });
            unsigned char* data = buffer.data() + off;
            const Prepared& p = values[i];
            *reinterpret_cast<short*>(buffer.data() + nullOff) = p.kind == Null ? -1 : 0;
            switch (p.kind) {
            case Null: break;
            case Text: {
                auto l = static_cast<unsigned short>(p.bytes.size());
                std::memcpy(data, &l, 2);
                std::memcpy(data + 2, p.bytes.constData(), size_t(p.bytes.size()));
                break;
            }
            case Long: { auto x = static_cast<qint32>(p.integer); std::memcpy(data, &x, 4); break; }
            case Int64: std::memcpy(data, &p.integer, 8); break;
            case Real: std::memcpy(data, &p.real, 8); break;
            case Stamp: std::memcpy(data, &p.ts, sizeof p.ts); break;
            case Blob: std::memcpy(data, &p.blob, sizeof p.blob); break;
            }
        }
    } catch (...) {
        meta->release();
        meta = nullptr;
        throw;
    }
}

void Statement::open() {
    close();
    std::vector<unsigned char> in;
    Firebird::IMessageMetadata* meta = nullptr;
    fillInput(in, meta);
    struct Rel { Firebird::IMessageMetadata* m; ~Rel() { if (m) m->release(); } } rel{meta};
    Firebird::ITransaction* tra = tra_->raw();
    cursor_ = detail::call([&](ThrowStatusWrapper* st) {
        return stmt_->openCursor(st, tra, meta, meta ? in.data() : nullptr, outMeta_, 0);
    });
}

bool Statement::fetch() {
    if (!cursor_)
        return false;
    int r = detail::call([&](ThrowStatusWrapper* st) { return cursor_->fetchNext(st, outBuffer_.data()); });
    if (r != Firebird::IStatus::RESULT_OK) {
        close();
        return false;
    }
    readRow();
    return true;
}

void Statement::close() {
    if (!cursor_)
        return;
    Firebird::IResultSet* c = cursor_;
    cursor_ = nullptr;
    try {
        detail::call([&](ThrowStatusWrapper* st) { c->close(st); });
    } catch (...) {
        c->release();
    }
}

void Statement::readRow() {
    const unsigned char* buf = outBuffer_.data();
    row_.resize(outSlots_.size());
    for (size_t i = 0; i < outSlots_.size(); ++i) {
        const OutSlot& s = outSlots_[i];
        QVariant& out = row_[i];
        if (*reinterpret_cast<const short*>(buf + s.nullOffset)) {
            out = QVariant();
            continue;
        }
        const unsigned char* d = buf + s.offset;
        switch (s.type) {
        case SQL_SHORT: {
            qint16 x; std::memcpy(&x, d, 2);
            out = s.scale ? QVariant(scaled(x, s.scale)) : QVariant(int(x));
            break;
        }
        case SQL_LONG: {
            qint32 x; std::memcpy(&x, d, 4);
            out = s.scale ? QVariant(scaled(x, s.scale)) : QVariant(int(x));
            break;
        }
        case SQL_INT64: {
            qint64 x; std::memcpy(&x, d, 8);
            out = s.scale ? QVariant(scaled(x, s.scale)) : QVariant(x);
            break;
        }
        case SQL_DOUBLE: case SQL_D_FLOAT: { double x; std::memcpy(&x, d, 8); out = x; break; }
        case SQL_FLOAT: { float x; std::memcpy(&x, d, 4); out = double(x); break; }
        case SQL_TEXT: out = codec::decode(reinterpret_cast<const char*>(d), s.length); break;
        case SQL_VARYING: {
            unsigned short l; std::memcpy(&l, d, 2);
            out = codec::decode(reinterpret_cast<const char*>(d + 2), l);
            break;
        }
        case SQL_TIMESTAMP: { ISC_TIMESTAMP ts; std::memcpy(&ts, d, sizeof ts); out = decodeTimestamp(ts); break; }
        case SQL_TYPE_DATE: {
            ISC_DATE x; std::memcpy(&x, d, sizeof x);
            unsigned y, m, dd; util()->decodeDate(x, &y, &m, &dd);
            out = QDate(int(y), int(m), int(dd));
            break;
        }
        case SQL_TYPE_TIME: {
            ISC_TIME x; std::memcpy(&x, d, sizeof x);
            unsigned h, m, sec, f; util()->decodeTime(x, &h, &m, &sec, &f);
            out = QTime(int(h), int(m), int(sec), int(f / 10));
            break;
        }
        case SQL_BOOLEAN: out = bool(*d); break;
        case SQL_BLOB: {
            ISC_QUAD id; std::memcpy(&id, d, sizeof id);
            Firebird::IAttachment* att = tra_->attachment().raw();
            Firebird::ITransaction* tra = tra_->raw();
            Firebird::IBlob* blob = detail::call([&](ThrowStatusWrapper* st) {
                return att->openBlob(st, tra, &id, 0, nullptr);
            });
            QByteArray bytes;
            try {
                char chunk[32768];
                for (;;) {
                    unsigned got = 0;
                    int r = detail::call([&](ThrowStatusWrapper* st) {
                        return blob->getSegment(st, sizeof chunk, chunk, &got);
                    });
                    if (r == Firebird::IStatus::RESULT_NO_DATA) break;
                    bytes.append(chunk, got);
                }
                detail::call([&](ThrowStatusWrapper* st) { blob->close(st); });
            } catch (...) {
                blob->release();
                throw;
            }
            out = s.subType == 1 ? QVariant(codec::decode(bytes)) : QVariant(bytes);
            break;
        }
        default: out = QVariant(); break;
        }
    }
}

void Statement::execute() {
    close();
    std::vector<unsigned char> in;
    Firebird::IMessageMetadata* meta = nullptr;
    fillInput(in, meta);
    struct Rel { Firebird::IMessageMetadata* m; ~Rel() { if (m) m->release(); } } rel{meta};
    Firebird::ITransaction* tra = tra_->raw();
    unsigned type = detail::call([&](ThrowStatusWrapper* st) { return stmt_->getType(st); });
    if (type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd) {
        // A select run for its side effects or its first row.
        cursor_ = detail::call([&](ThrowStatusWrapper* st) {
            return stmt_->openCursor(st, tra, meta, meta ? in.data() : nullptr, outMeta_, 0);
        });
        if (!fetch())
            for (auto& v : row_) v = QVariant();
        close();
        return;
    }
    bool hasOut = !outSlots_.empty();
    detail::call([&](ThrowStatusWrapper* st) {
        stmt_->execute(st, tra, meta, meta ? in.data() : nullptr, hasOut ? outMeta_ : nullptr,
                       hasOut ? outBuffer_.data() : nullptr);
    });
    if (hasOut)
        readRow();
}

qint64 Statement::affectedRows() const {
    return qint64(detail::call([&](ThrowStatusWrapper* st) { return stmt_->getAffectedRecords(st); }));
}

} // namespace fb

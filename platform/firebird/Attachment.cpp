#include "Attachment.h"
#include "Codec.h"
#include "Internal.h"

#include <QFile>
#include <ibase.h>

using Firebird::ThrowStatusWrapper;

namespace fb {

namespace {

// Owns an XPB builder for the duration of one call.
struct Xpb {
    Firebird::IXpbBuilder* b;
    explicit Xpb(unsigned kind)
        : b(detail::call([&](ThrowStatusWrapper* st) { return util()->getXpbBuilder(st, kind, nullptr, 0); })) {}
    ~Xpb() { b->dispose(); }
    void str(unsigned char tag, const QByteArray& v) {
        detail::call([&](ThrowStatusWrapper* st) { b->insertString(st, tag, v.constData()); });
    }
    void num(unsigned char tag, int v) {
        detail::call([&](ThrowStatusWrapper* st) { b->insertInt(st, tag, v); });
    }
    unsigned length() {
        return detail::call([&](ThrowStatusWrapper* st) { return b->getBufferLength(st); });
    }
    const unsigned char* buffer() {
        return detail::call([&](ThrowStatusWrapper* st) { return b->getBuffer(st); });
    }
};

Firebird::IProvider* provider() {
    static Firebird::IProvider* p = master()->getDispatcher();
    return p;
}

} // namespace

Attachment::~Attachment() {
    if (att_) {
        try {
            detach();
        } catch (...) {
            // The connection is gone either way; release what is left.
        }
    }
}

Attachment::Attachment(Attachment&& other) noexcept : att_(other.att_), database_(std::move(other.database_)) {
    other.att_ = nullptr;
}

Attachment& Attachment::operator=(Attachment&& other) noexcept {
    if (this != &other) {
        if (att_) {
            try { detach(); } catch (...) {}
        }
        att_ = other.att_;
        database_ = std::move(other.database_);
        other.att_ = nullptr;
    }
    return *this;
}

Attachment Attachment::connect(const QString& database, const QString& user, const QString& password) {
    Xpb dpb(Firebird::IXpbBuilder::DPB);
    dpb.str(isc_dpb_user_name, user.toLatin1());
    dpb.str(isc_dpb_password, password.toLatin1());
    const QByteArray name = QFile::encodeName(database);
    Attachment a;
    a.att_ = detail::call([&](ThrowStatusWrapper* st) {
        return provider()->attachDatabase(st, name.constData(), dpb.length(), dpb.buffer());
    });
    a.database_ = database;
    return a;
}

Attachment Attachment::create(const QString& database, const QString& user, const QString& password,
                              const QString& charset, int pageSize) {
    Xpb dpb(Firebird::IXpbBuilder::DPB);
    dpb.str(isc_dpb_user_name, user.toLatin1());
    dpb.str(isc_dpb_password, password.toLatin1());
    dpb.num(isc_dpb_sql_dialect, int(detail::kDialect));
    dpb.num(isc_dpb_set_db_sql_dialect, int(detail::kDialect));
    dpb.num(isc_dpb_page_size, pageSize);
    dpb.str(isc_dpb_set_db_charset, charset.toLatin1());
    const QByteArray name = QFile::encodeName(database);
    Attachment a;
    a.att_ = detail::call([&](ThrowStatusWrapper* st) {
        return provider()->createDatabase(st, name.constData(), dpb.length(), dpb.buffer());
    });
    a.database_ = database;
    return a;
}

void Attachment::detach() {
    if (!att_)
        return;
    Firebird::IAttachment* a = att_;
    try {
        detail::call([&](ThrowStatusWrapper* st) { a->detach(st); });
        att_ = nullptr;  // detach() released the interface
    } catch (...) {
        a->release();
        att_ = nullptr;
        throw;
    }
}

void Attachment::dropDatabase() {
    if (!att_)
        return;
    Firebird::IAttachment* a = att_;
    try {
        detail::call([&](ThrowStatusWrapper* st) { a->dropDatabase(st); });
        att_ = nullptr;
    } catch (...) {
        a->release();
        att_ = nullptr;
        throw;
    }
}

void Attachment::executeImmediate(const QString& sql) {
    if (!att_)
        throw Error(QStringLiteral("Database not connected"));
    const QByteArray text = codec::encode(sql);
    Firebird::ITransaction* tra =
        detail::call([&](ThrowStatusWrapper* st) { return att_->startTransaction(st, 0, nullptr); });
    try {
        detail::call([&](ThrowStatusWrapper* st) {
            att_->execute(st, tra, 0, text.constData(), detail::kDialect, nullptr, nullptr, nullptr, nullptr);
        });
        detail::call([&](ThrowStatusWrapper* st) { tra->commit(st); });
    } catch (...) {
        try {
            detail::call([&](ThrowStatusWrapper* st) { tra->rollback(st); });
        } catch (...) {
            tra->release();
        }
        throw;
    }
}

} // namespace fb

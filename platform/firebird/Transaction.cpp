#include "Transaction.h"
#include "Attachment.h"
#include "Internal.h"

#include <ibase.h>

using Firebird::ThrowStatusWrapper;

namespace fb {

Transaction::Transaction(Attachment& attachment) : att_(&attachment) {}

Transaction::~Transaction() {
    if (tra_) {
        try {
            rollback();
        } catch (...) {
            if (tra_)
                tra_->release();
        }
    }
}

void Transaction::start() {
    if (tra_)
        return;
    if (!att_->raw())
        throw Error(QStringLiteral("Database not connected"));
    static const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_read_committed, isc_tpb_rec_version,
                                        isc_tpb_nowait};
    tra_ = detail::call([&](ThrowStatusWrapper* st) {
        return att_->raw()->startTransaction(st, sizeof tpb, tpb);
    });
}

Firebird::ITransaction* Transaction::raw() {
    start();
    return tra_;
}

void Transaction::commit() {
    if (!tra_)
        return;
    detail::call([&](ThrowStatusWrapper* st) { tra_->commit(st); });
    tra_ = nullptr;
}

void Transaction::commitRetaining() {
    if (!tra_)
        return;
    detail::call([&](ThrowStatusWrapper* st) { tra_->commitRetaining(st); });
}

void Transaction::rollback() {
    if (!tra_)
        return;
    Firebird::ITransaction* t = tra_;
    tra_ = nullptr;
    try {
        detail::call([&](ThrowStatusWrapper* st) { t->rollback(st); });
    } catch (...) {
        t->release();
        throw;
    }
}

void Transaction::rollbackRetaining() {
    if (!tra_)
        return;
    detail::call([&](ThrowStatusWrapper* st) { tra_->rollbackRetaining(st); });
}

} // namespace fb

#include "Service.h"
#include "Codec.h"
#include "Internal.h"

#include <QFile>
#include <ibase.h>

using Firebird::ThrowStatusWrapper;

namespace fb {

namespace {

struct Spb {
    Firebird::IXpbBuilder* b;
    explicit Spb(unsigned kind)
        : b(detail::call([&](ThrowStatusWrapper* st) { return util()->getXpbBuilder(st, kind, nullptr, 0); })) {}
    ~Spb() { b->dispose(); }
    void tag(unsigned char t) { detail::call([&](ThrowStatusWrapper* st) { b->insertTag(st, t); }); }
    void str(unsigned char t, const QByteArray& v) {
        detail::call([&](ThrowStatusWrapper* st) { b->insertString(st, t, v.constData()); });
    }
    void num(unsigned char t, int v) { detail::call([&](ThrowStatusWrapper* st) { b->insertInt(st, t, v); }); }
    unsigned length() { return detail::call([&](ThrowStatusWrapper* st) { return b->getBufferLength(st); }); }
    const unsigned char* buffer() { return detail::call([&](ThrowStatusWrapper* st) { return b->getBuffer(st); }); }
};

} // namespace

Service::Service(const QString& host, const QString& user, const QString& password) {
    Spb spb(Firebird::IXpbBuilder::SPB_ATTACH);
    spb.str(isc_spb_user_name, user.toLatin1());
    spb.str(isc_spb_password, password.toLatin1());
    const QByteArray name = host.isEmpty() ? QByteArray("service_mgr") : (host.toLocal8Bit() + ":service_mgr");
    Firebird::IProvider* provider = master()->getDispatcher();
    struct Rel { Firebird::IProvider* p; ~Rel() { p->release(); } } rel{provider};
    svc_ = detail::call([&](ThrowStatusWrapper* st) {
        return provider->attachServiceManager(st, name.constData(), spb.length(), spb.buffer());
    });
}

Service::~Service() {
    if (svc_) {
        try {
            detail::call([&](ThrowStatusWrapper* st) { svc_->detach(st); });
        } catch (...) {
            svc_->release();
        }
    }
}

void Service::backup(const QString& database, const QString& backupFile,
                     const std::function<void(const QString&)>& onLine) {
    {
        Spb spb(Firebird::IXpbBuilder::SPB_START);
        spb.tag(isc_action_svc_backup);
        spb.str(isc_spb_dbname, QFile::encodeName(database));
        spb.str(isc_spb_bkp_file, QFile::encodeName(backupFile));
        spb.num(isc_spb_options, isc_spb_bkp_no_garbage_collect);
        spb.tag(isc_spb_verbose);
        detail::call([&](ThrowStatusWrapper* st) { svc_->start(st, spb.length(), spb.buffer()); });
    }
    const unsigned char items[] = {isc_info_svc_line};
    std::vector<unsigned char> buffer(16384);
    for (;;) {
        detail::call([&](ThrowStatusWrapper* st) {
            svc_->query(st, 0, nullptr, sizeof items, items, unsigned(buffer.size()), buffer.data());
        });
        const unsigned char* p = buffer.data();
        if (*p != isc_info_svc_line)
            break;
        ++p;
        auto len = unsigned(isc_portable_integer(p, 2));
        p += 2;
        if (len == 0)
            break;
        const QString text = codec::decode(reinterpret_cast<const char*>(p), qsizetype(len));
        if (onLine)
            onLine(text);
    }
}

} // namespace fb

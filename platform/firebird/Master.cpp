#include "Attachment.h"
#include "Codec.h"
#include "Internal.h"

#include <ibase.h>

#include <mutex>

namespace fb {

namespace {
// Shuts the engine down in order when the process ends. Made right after
// the client library starts, so it runs before the library's own clean-up,
// which otherwise can wait forever on the embedded engine's threads.
struct EngineShutdown {
    Firebird::IMaster* m;
    ~EngineShutdown() {
        Firebird::CheckStatusWrapper st(m->getStatus());
        Firebird::IProvider* p = m->getDispatcher();
        p->shutdown(&st, 5000, fb_shutrsn_app_stopped);
        p->release();
        st.dispose();
    }
};
std::mutex terminationMutex;
std::function<void()> terminationHandler;

int confirmShutdown(const int reason, const int, void*) {
    if (reason != fb_shutrsn_signal)
        return 0;
    std::function<void()> h;
    {
        std::lock_guard<std::mutex> lock(terminationMutex);
        h = terminationHandler;
    }
    if (h)
        h();
    return 0;
}
} // namespace

void setTerminationHandler(std::function<void()> handler) {
    master();  // the engine's signal handlers are in place from here on
    static const bool registered = [] {
        ISC_STATUS_ARRAY status;
        return fb_shutdown_callback(status, confirmShutdown, fb_shut_confirmation, nullptr) == 0;
    }();
    (void)registered;
    std::lock_guard<std::mutex> lock(terminationMutex);
    terminationHandler = std::move(handler);
}

Firebird::IMaster* master() {
    static Firebird::IMaster* m = Firebird::fb_get_master_interface();
    static EngineShutdown shutdown{m};
    return m;
}

Firebird::IUtil* util() {
    static Firebird::IUtil* u = master()->getUtilInterface();
    return u;
}

namespace detail {

Error makeError(Firebird::IStatus* status) {
    char buffer[8192];
    unsigned n = util()->formatStatus(buffer, sizeof buffer, status);
    QString text = codec::decode(buffer, qsizetype(n)).trimmed();

    QList<qint64> codes;
    const ISC_STATUS* v = status->getErrors();
    for (const ISC_STATUS* p = v; p && *p != isc_arg_end;) {
        switch (*p) {
        case isc_arg_gds: codes.append(qint64(p[1])); p += 2; break;
        case isc_arg_cstring: p += 3; break;
        default: p += 2; break;
        }
    }
    int sqlCode = v ? int(isc_sqlcode(v)) : 0;
    if (text.isEmpty())
        text = QStringLiteral("Firebird error");
    return Error(text, codes, sqlCode);
}

} // namespace detail
} // namespace fb

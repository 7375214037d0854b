#pragma once

#include <initializer_list>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace testsupport {

// While it lives, the calling thread obeys file permission bits even as
// root: the override capabilities leave its effective set (they stay
// permitted, so they come back at the end). Other threads keep theirs.
class SemDireitoDeEscrita {
public:
    SemDireitoDeEscrita() {
        if (::geteuid() != 0 || !ler(antes_)) return;
        __user_cap_data_struct d[2] = {antes_[0], antes_[1]};
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            d[cap / 32].effective &= ~(1u << (cap % 32));
        ativo_ = gravar(d);
    }
    ~SemDireitoDeEscrita() {
        if (ativo_) gravar(antes_);
    }
    SemDireitoDeEscrita(const SemDireitoDeEscrita&) = delete;
    SemDireitoDeEscrita& operator=(const SemDireitoDeEscrita&) = delete;

    // False when root could not give the capabilities up.
    bool ok() const { return ::geteuid() != 0 || ativo_; }

private:
    static bool ler(__user_cap_data_struct* d) {
        __user_cap_header_struct h{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capget, &h, d) == 0;
    }
    static bool gravar(__user_cap_data_struct* d) {
        __user_cap_header_struct h{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capset, &h, d) == 0;
    }

    __user_cap_data_struct antes_[2] = {};
    bool ativo_ = false;
};

} // namespace testsupport

#pragma once

// Private to platform/firebird: status handling around the object API.

#include "Error.h"

#include <firebird/Interface.h>
#include <type_traits>

namespace fb {

Firebird::IMaster* master();
Firebird::IUtil* util();

namespace detail {

Error makeError(Firebird::IStatus* status);

// Runs f(status) and turns a Firebird failure into fb::Error; the status
// object is released on every path.
template <class F>
auto call(F&& f) -> decltype(f(static_cast<Firebird::ThrowStatusWrapper*>(nullptr))) {
    Firebird::ThrowStatusWrapper status(master()->getStatus());
    struct Dispose {
        Firebird::ThrowStatusWrapper& s;
        ~Dispose() { s.dispose(); }
    } dispose{status};
    try {
        return f(&status);
    } catch (const Firebird::FbException& e) {
        throw makeError(e.getStatus());
    }
}

constexpr unsigned kDialect = 1;

} // namespace detail
} // namespace fb

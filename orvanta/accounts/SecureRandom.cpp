#include "SecureRandom.h"

#include <sodium.h>

#include <mutex>
#include <stdexcept>

namespace orv {

void SecureRandom::ensureInitialised() {
    static std::once_flag once;
    static bool ok = false;
    std::call_once(once, [] { ok = sodium_init() >= 0; });
    if (!ok)
        throw std::runtime_error("The secure random source of this computer cannot be used (libsodium).");
}

std::uint32_t SecureRandom::uniform(std::uint32_t upperBound) {
    ensureInitialised();
    return upperBound == 0 ? 0 : randombytes_uniform(upperBound);
}

} // namespace orv

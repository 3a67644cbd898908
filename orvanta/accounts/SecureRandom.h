#pragma once

#include <cstdint>

namespace orv {

// Numbers from the system's cryptographically secure random source
// (libsodium), for verification codes and generated passwords.
class SecureRandom {
public:
    // Uniform in 0 .. upperBound - 1 (upperBound > 0), without modulo bias.
    static std::uint32_t uniform(std::uint32_t upperBound);
    // Initialises libsodium once; throws std::runtime_error when it cannot.
    static void ensureInitialised();
};

} // namespace orv

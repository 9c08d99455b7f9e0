#include "platform/crt_random.h"

#include <cstdint>

namespace {
// A 32-bit linear congruential generator (full period 2^32); the top 15 bits
// of its state are uniform over the whole period.
std::uint32_t g_state = 1;
}  // namespace

void CrtSrand(unsigned int seed) {
    g_state = seed;
}

int CrtRand() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

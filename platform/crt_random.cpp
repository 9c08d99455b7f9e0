#include "platform/crt_random.h"

#include <cstdint>

namespace {
// A 32-bit linear congruential generator (full period 2^32). The low bits of
// such a generator repeat with short periods, so a draw is bits 16 to 30 of the
// state (the highest bit left out, as C libraries of this kind do); over the
// full period every 15-bit value comes up equally often.
std::uint32_t g_state = 1;
}  // namespace

void CrtSrand(unsigned int seed) {
    g_state = seed;
}

int CrtRand() {
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFFu);
}

// The process-wide generator: the full 0..32767 range, evenly, and the same
// sequence again after the same seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "platform/crt_random.h"

namespace {

std::vector<int> Draws(int n) {
    std::vector<int> draws(n);
    std::generate(draws.begin(), draws.end(), CrtRand);
    return draws;
}

TEST(CrtRandom, CoversZeroTo32767EvenlyAndRepeatsAfterTheSameSeed) {
    CrtSrand(42);
    const std::vector<int> draws = Draws(32768 * 64);
    std::array<int, CRT_RAND_MAX + 1> seen{};
    for (int r : draws) {
        ASSERT_TRUE(r >= 0 && r <= CRT_RAND_MAX) << r;
        ++seen[r];
    }
    // 64 expected per value; a biased or narrowed generator strays far from it.
    EXPECT_EQ(std::count_if(seen.begin(), seen.end(), [](int n) { return n < 24 || n > 110; }), 0);

    CrtSrand(42);
    EXPECT_EQ(Draws(8), std::vector<int>(draws.begin(), draws.begin() + 8));
    CrtSrand(43);
    EXPECT_NE(Draws(8), std::vector<int>(draws.begin(), draws.begin() + 8));
}

}  // namespace

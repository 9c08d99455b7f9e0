// The process-wide generator: the full 0..32767 range, evenly, and the same
// sequence again after the same seed.
#include <gtest/gtest.h>

#include <array>

#include "platform/crt_random.h"

namespace {

TEST(CrtRandom, CoversZeroTo32767EvenlyAndRepeatsAfterTheSameSeed) {
    CrtSrand(42);
    std::array<int, CRT_RAND_MAX + 1> seen{};
    constexpr int kDraws = 32768 * 64;
    int first[8];
    for (int i = 0; i < kDraws; ++i) {
        const int r = CrtRand();
        ASSERT_GE(r, 0);
        ASSERT_LE(r, CRT_RAND_MAX);
        ++seen[r];
        if (i < 8) {
            first[i] = r;
        }
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[CRT_RAND_MAX], 0);
    // 64 expected per value; a biased or narrowed generator strays far from it.
    int outliers = 0;
    for (int count : seen) {
        outliers += (count < 24 || count > 110) ? 1 : 0;
    }
    EXPECT_EQ(outliers, 0);

    CrtSrand(42);
    for (int v : first) {
        EXPECT_EQ(CrtRand(), v);
    }
    CrtSrand(43);
    bool differs = false;
    for (int v : first) {
        differs = differs || CrtRand() != v;
    }
    EXPECT_TRUE(differs);
}

}  // namespace

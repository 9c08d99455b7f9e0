// GoogleTest main for tests of real windows on Win32: the window system
// started once for the whole run, as the program starts it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/platform_start.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    std::string why;
    if (!StartPlatform(argv[0], &why)) {
        std::fprintf(stderr, "no window system: %s\n", why.c_str());
        return 2;
    }
    const int result = RUN_ALL_TESTS();
    StopPlatform();
    return result;
}

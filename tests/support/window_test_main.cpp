// GoogleTest main for tests of real windows: the window system started once
// for the whole run, as the program starts it. On Qt the run's one
// QApplication is made here first, given the program name only, on the
// offscreen platform unless the caller chose another.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/platform_start.h"

#if defined(LUNVIK_WEB_BACK_END)
#include "platform/web/dom.h"
#elif !defined(LUNVIK_WIN32_BACK_END)
#include <QApplication>
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#if !defined(LUNVIK_WIN32_BACK_END) && !defined(LUNVIK_WEB_BACK_END)
    // Listing the tests happens without the suite's environment: stay offscreen there too.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
#endif
    std::string why;
    if (!StartPlatform(argv[0], &why)) {
        std::fprintf(stderr, "no window system: %s\n", why.c_str());
        return 2;
    }
    const int result = RUN_ALL_TESTS();
    StopPlatform();
#ifdef LUNVIK_WEB_BACK_END
    // main's return no longer reaches the page once its loop has yielded.
    lv_test_exit(result);
#endif
    return result;
}

// Opening the window system: a clear failure instead of Qt's abort when there
// is no display.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <optional>
#include <string>

#include "platform/dialog_impl.h"
#include "platform/frame_window.h"
#include "platform/platform_start.h"

namespace {

class CBareFrame : public CFrameWindowImpl<CBareFrame> {};

// Environment for one test, put back afterwards.
class CScopedEnv {
  public:
    CScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = getenv(name)) {
            m_old = old;
        }
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~CScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

  private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// A display number no X server holds: neither its socket nor its lock file exists.
std::string FreeDisplay() {
    for (int n = 99;; ++n) {
        const std::string number = std::to_string(n);
        if (access(("/tmp/.X11-unix/X" + number).c_str(), F_OK) != 0 &&
            access(("/tmp/.X" + number + "-lock").c_str(), F_OK) != 0) {
            return ":" + number;
        }
    }
}

TEST(PlatformStart, WithoutADisplayStartFailsWithAReason) {
    CScopedEnv wayland("WAYLAND_DISPLAY", "wayland-93");
    // No display named, or one with no server there: the reason names it. With
    // both kinds named and no platform asked for, X11 is the one tried.
    const std::string unserved = FreeDisplay();
    const struct {
        const char* platform;
        const char* display;
        const char* named;
        bool wayland;  // tried too
    } cases[] = {{"xcb", nullptr, "DISPLAY", false},
                 {nullptr, nullptr, "wayland-93", true},
                 {nullptr, unserved.c_str(), unserved.c_str(), false}};
    for (const auto& c : cases) {
        CScopedEnv platform("QT_QPA_PLATFORM", c.platform);
        CScopedEnv env("DISPLAY", c.display);
        std::string why;
        EXPECT_FALSE(StartPlatform("lunvik", &why));
        EXPECT_NE(why.find(c.named), std::string::npos) << why;
        EXPECT_EQ(why.find("Wayland") != std::string::npos, c.wayland) << why;
    }
    EXPECT_EQ(QCoreApplication::instance(), nullptr);

    // With no window system, windows are refused, not aborted on.
    CBareFrame frame;
    EXPECT_EQ(frame.Create(nullptr, RECT{0, 0, 750, 700}, L"3D demo Lunvik"), nullptr);
    EXPECT_EQ((CSimpleDialog<100>().DoModal(nullptr)), -1);
    EXPECT_EQ(GetActiveWindow(), nullptr);
}

TEST(PlatformStartDeathTest, AFatalPlatformErrorExitsWithTwoAndOneLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    CScopedEnv platform("QT_QPA_PLATFORM", "no-such-platform");
    EXPECT_EXIT(StartPlatform("lunvik", nullptr), ::testing::ExitedWithCode(2),
                "lunvik: cannot start the window system");
}

}  // namespace

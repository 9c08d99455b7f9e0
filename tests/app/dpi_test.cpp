// The real program under Wine, told that its monitor's DPI changed (a
// synthetic WM_DPICHANGED, as Windows sends it when the window moves to
// another monitor): to 144 and back to 96. Wine itself never sends one.
// Run by dpi_wine_test.sh twice: at a system DPI of 144 it writes page one's
// first picture to LUNVIK_DPI_REFERENCE; at 96 it changes the DPI and
// compares with that picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/lunvik_main.h"
#include "app/main_frame.h"
#include "pages/resource_ids.h"
#include "tests/platform/backend_support.h"

namespace {

using lunvik::test::SPicture;

HWND PageOneView() {
    return GetWindow(GetDlgItem(MainFrame().m_page1.m_hWnd, IDC_VIEW_FRAME), GW_CHILD);
}

// The main window's outer rectangle as "left,top,right,bottom".
std::string WindowRect() {
    RECT r{};
    GetWindowRect(MainFrame().m_hWnd, &r);
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// Page one's drawing area as the screen shows it, the main window moved up
// for it meanwhile: at 144 dpi the window is taller than the screen.
SPicture ViewPicture() {
    const HWND frame = MainFrame().m_hWnd;
    RECT view{};
    RECT outer{};
    GetWindowRect(PageOneView(), &view);
    GetWindowRect(frame, &outer);
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(frame, nullptr, outer.left, outer.top - view.top, 0, 0, flags);
    SPicture picture = lunvik::test::WindowPicture(PageOneView());
    SetWindowPos(frame, nullptr, outer.left, outer.top, 0, 0, flags);
    return picture;
}

// Runs the loop until both pages have ticked n more times.
void Ticks(std::uint64_t n) {
    const std::uint64_t one = MainFrame().m_page1.m_ticks + n;
    const std::uint64_t two = MainFrame().m_page2.m_ticks + n;
    EXPECT_TRUE(lunvik::test::PumpUntil([&] {
        return MainFrame().m_page1.m_ticks >= one && MainFrame().m_page2.m_ticks >= two;
    })) << "the pages stopped ticking";
}

bool Write(const char* path, const SPicture& p) {
    FILE* f = std::fopen(path, "wb");
    const bool ok = f != nullptr && std::fwrite(&p.width, sizeof(int), 2, f) == 2 &&
                    std::fwrite(p.pixels.data(), 4, p.pixels.size(), f) == p.pixels.size();
    return (f == nullptr || std::fclose(f) == 0) && ok;
}

SPicture Read(const char* path) {
    SPicture p;
    FILE* f = std::fopen(path, "rb");
    if (f != nullptr && std::fread(&p.width, sizeof(int), 2, f) == 2 && p.width * p.height > 0) {
        p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
        p.pixels.resize(std::fread(p.pixels.data(), 4, p.pixels.size(), f));
    }
    if (f != nullptr) {
        std::fclose(f);
    }
    return p;
}

// The script runs inside the program's own loop, from a thread timer.
std::function<void()> g_script;
void CALLBACK RunScript(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    g_script();
    PostMessageW(MainFrame().m_hWnd, WM_CLOSE, 0, 0);
}

int RunProgram(std::function<void()> script) {
    g_script = std::move(script);
    SetTimer(nullptr, 0, 10, &RunScript);
    return LunvikMain("lunvik");
}

// Returns the window's rectangle straight after the change: the window
// manager then keeps it within the test's 1024 x 768 screen.
std::string ChangeDpi(int dpi, RECT suggested) {
    SendMessageW(MainFrame().m_hWnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    const std::string rect = WindowRect();
    Ticks(3);
    return rect;
}

TEST(ProgramDpi, FollowsAChangeTo144AndBackAsAStartAtThatDpiLaysItOut) {
    const char* reference = std::getenv("LUNVIK_DPI_REFERENCE");
    ASSERT_NE(reference, nullptr) << "run by dpi_wine_test.sh";
    const int code = RunProgram([&] {
        Ticks(3);
        const SPicture start = ViewPicture();
        if (GetDpiForSystem() != 96) {
            ASSERT_TRUE(Write(reference, start));
            return;
        }
        const SPicture at144 = Read(reference);
        ASSERT_GT(at144.width, 0) << "no picture of a start at 144 dpi";
        EXPECT_EQ(ChangeDpi(144, RECT{0, 0, 1125, 1050}), "0,0,1125,1050");
        const SPicture changed = ViewPicture();
        // 1.5 times as wide and 19 / 13 times as tall: the dialog units'
        // base units go from 6 and 13 to 9 and 19, the font's height in whole
        // pixels, as in a start at 144 dpi.
        EXPECT_NEAR(changed.width, start.width * 1.5, 3);
        EXPECT_NEAR(changed.height, start.height * 19 / 13.0, 3);
        EXPECT_TRUE(changed == at144) << changed.width << "x" << changed.height << " against "
                                      << at144.width << "x" << at144.height;
        EXPECT_EQ(ChangeDpi(96, RECT{0, 0, 750, 700}), "0,0,750,700");
        EXPECT_TRUE(ViewPicture() == start);
    });
    EXPECT_EQ(code, 1);
}

}  // namespace

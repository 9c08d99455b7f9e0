#include "app/lunvik_main.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_frame.h"
#include "app/resources.h"
#include "platform/app_module.h"
#include "platform/platform_start.h"

// Static objects, constructed in this order before the entry function runs and
// destroyed in reverse after it: the module, then the frame with its pages and
// models (several megabytes: never on a stack).
namespace {
CAppModule g_appModule;
CMainFrame g_mainFrame;

int Run() {
    CMessageLoop loop;
    g_appModule.AddMessageLoop(&loop);
    g_mainFrame.m_loop = &loop;

    wchar_t title[256];
    ::LoadStringW(nullptr, IDR_MAINFRAME, title, 256);
    RECT outer{0, 0, 750, 700};
    HWND frame = g_mainFrame.Create(nullptr, outer, title, 0, 0,
                                    ::LoadMenuW(nullptr, IDR_MAINFRAME), nullptr);
    if (frame == nullptr) {
        g_appModule.RemoveMessageLoop();
        ReportStartFailure(title, "lunvik: cannot create the main window");
        return 2;
    }
    g_mainFrame.m_hAccel = ::LoadAcceleratorsW(nullptr, IDR_MAINFRAME);
    g_mainFrame.ShowWindow(SW_SHOWNORMAL);
    // LUNVIK_REPORT=1 (read once, for scripts/measure) prints the ticks each
    // page ran, the loop's run time and when the first frame was painted.
    const bool report = std::getenv("LUNVIK_REPORT") != nullptr;
    const auto start = std::chrono::steady_clock::now();
    const int exitCode = loop.Run();
    if (report) {
        // In whole milliseconds: printf's "%f" follows the locale Qt has set
        // from the environment, and a decimal comma misleads scripts/measure.
        const auto ran = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
        std::fprintf(stderr,
                     "lunvik: ticks %llu %llu seconds %lld.%03lld first-paint %lld.%09lld\n",
                     static_cast<unsigned long long>(g_mainFrame.m_page1.m_ticks),
                     static_cast<unsigned long long>(g_mainFrame.m_page2.m_ticks),
                     static_cast<long long>(ran / 1000), static_cast<long long>(ran % 1000),
                     static_cast<long long>(CStaticView::s_firstPaint / 1000000000),
                     static_cast<long long>(CStaticView::s_firstPaint % 1000000000));
    }
    g_appModule.RemoveMessageLoop();
    return exitCode;
}
}  // namespace

CMainFrame& MainFrame() {
    return g_mainFrame;
}

int LunvikMain(const char* argv0) {
    SetProgramIdentity(LUNVIK_DESKTOP_ID, LUNVIK_VERSION);
    SetResources(&LunvikResources());
    std::string why;
    if (!StartPlatform(argv0, &why)) {
        wchar_t title[256];
        ::LoadStringW(nullptr, IDR_MAINFRAME, title, 256);
        ReportStartFailure(title, "lunvik: " + why);
        return 2;
    }
    g_appModule.Init(nullptr, nullptr);
    const int exitCode = Run();
    g_appModule.Term();
    StopPlatform();
    return exitCode;
}

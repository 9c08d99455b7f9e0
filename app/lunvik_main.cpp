#include "app/lunvik_main.h"

#include <cstdio>
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
        std::fprintf(stderr, "lunvik: cannot create the main window\n");
        return 2;
    }
    g_mainFrame.m_hAccel = ::LoadAcceleratorsW(nullptr, IDR_MAINFRAME);
    g_mainFrame.ShowWindow(SW_SHOWNORMAL);
    const int exitCode = loop.Run();
    g_appModule.RemoveMessageLoop();
    return exitCode;
}
}  // namespace

CMainFrame& MainFrame() {
    return g_mainFrame;
}

int LunvikMain(const char* argv0) {
    std::string why;
    if (!StartPlatform(argv0, &why)) {
        std::fprintf(stderr, "lunvik: %s\n", why.c_str());
        return 2;
    }
    SetResources(&LunvikResources());
    g_appModule.Init(nullptr, nullptr);
    const int exitCode = Run();
    g_appModule.Term();
    StopPlatform();
    return exitCode;
}

// Start and stop of the window system on the page: the page is there once
// the program runs, so starting only hands the raster its screen.
#include "platform/platform_start.h"

#include <cstdio>

#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

using namespace lunvik::platform;

bool StartPlatform(const char*, std::string*) {
    lunvik::raster::SetScreen(&RasterScreen());
    return true;
}

void StopPlatform() {
    for (SWebWindow* top : TopLevelWindows()) {
        if (IsWindow(top->Handle())) {
            DestroyWindow(top->Handle());
        }
    }
    FreeUnregistered();
    lunvik::raster::SetScreen(nullptr);
}

// The line goes to the console and is all the page shows: never a blank page.
void ReportStartFailure(const wchar_t*, const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
    lv_fail(line.c_str());
}

// A page is known by its address; the title says who the program is.
void SetProgramIdentity(const char*, const char*) {}

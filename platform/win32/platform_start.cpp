// Start and stop of the window system on Windows: COM and the common controls
// around the run, the dialogs' font registered for this process only, so
// that Japanese shows where no Japanese font is installed, and the screen the
// raster draws for.
#include <objbase.h>

#include <cstdio>
#include <string>

#include "platform/platform_start.h"
#include "platform/raster/raster.h"
#include "platform/win32/window_host.h"

namespace lunvik::platform {
namespace {

constexpr wchar_t kFontFace[] = L"Lunvik UI";
HANDLE g_font = nullptr;
bool g_comStarted = false;

// The font built into the program (platform/win32/fonts.rc).
HANDLE RegisterFont() {
    HRSRC found = FindResourceW(Instance(), L"LUNVIK_UI_FONT", MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = found != nullptr ? LoadResource(Instance(), found) : nullptr;
    void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return nullptr;
    }
    DWORD fonts = 0;
    return AddFontMemResourceEx(bytes, SizeofResource(Instance(), found), nullptr, &fonts);
}

BOOL CALLBACK DestroyOurs(HWND hwnd, LPARAM) {
    if (DataOf(hwnd) != nullptr) {
        ::DestroyWindow(hwnd);
    }
    return TRUE;
}

// The line on stderr when it leads somewhere (a pipe, a file, a console),
// else on the console of the program that started us, if it has one.
void WriteErrorLine(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    const HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (err != nullptr && err != INVALID_HANDLE_VALUE) {
        std::fputs(text.c_str(), stderr);
        std::fflush(stderr);
    } else if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, 0, nullptr);
        if (console != INVALID_HANDLE_VALUE) {
            WriteFile(console, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
            CloseHandle(console);
        }
        FreeConsole();
    }
}

}  // namespace

const wchar_t* DialogFontFace() {
    return g_font != nullptr ? kFontFace : nullptr;
}

void DestroyOurWindows() {
    EnumThreadWindows(GetCurrentThreadId(), &DestroyOurs, 0);
}

}  // namespace lunvik::platform

using namespace lunvik::platform;

bool StartPlatform(const char*, std::string* why) {
    if (GetProcessWindowStation() == nullptr || GetThreadDesktop(GetCurrentThreadId()) == nullptr) {
        if (why != nullptr) {
            *why = "no desktop to open a window on; start it from a Windows session";
        }
        return false;
    }
    g_comStarted = SUCCEEDED(CoInitialize(nullptr));
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    if (g_font == nullptr) {
        g_font = RegisterFont();
    }
    lunvik::raster::SetScreen(&RasterScreen());
    return true;
}

void StopPlatform() {
    lunvik::raster::SetScreen(nullptr);
    DestroyOurWindows();
    DeleteLayoutFonts();
    if (g_font != nullptr) {
        RemoveFontMemResourceEx(g_font);
        g_font = nullptr;
    }
    if (g_comStarted) {
        CoUninitialize();
        g_comStarted = false;
    }
}

// A program with windows has no console of its own on Windows: what went
// wrong is shown in a message box too, which waits for the user.
void ReportStartFailure(const wchar_t* title, const std::string& line) {
    WriteErrorLine(line);
    std::wstring text(line.size() + 1, L'\0');
    const int n = MultiByteToWideChar(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                      text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    MessageBoxW(nullptr, text.c_str(), title, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

// Windows groups a program's windows by its executable; nothing to tell.
void SetProgramIdentity(const char*, const char*) {}

// The web side of a window, private to platform/: what each window keeps
// (the page has no window tree of its own to ask), and the functions the
// files of this folder share, grouped by the file that defines them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/raster/raster.h"
#include "platform/resources.h"
#include "platform/shared/dialog_units.h"
#include "platform/shared/loop_stack.h"
#include "platform/window_object.h"

namespace lunvik::platform {

struct STabPage {
    HWND page;
    std::wstring title;
    HWND lastFocus = nullptr;  // the control it had last
};

// One window: a window of ours (with an object) or a dialog's control. Its
// handle is its address; it lives in the registry from creation until its
// tree is destroyed.
struct SWebWindow {
    HWND Handle() { return reinterpret_cast<HWND>(this); }
    bool TopLevel() const { return (style & WS_CHILD) == 0; }

    EWindowKind kind = EWindowKind::Window;
    DWORD style = 0;
    int id = 0;
    bool control = false;  // a dialog's control: no object, no messages of its own
    bool tabStop = false;
    bool button = false;           // a push button: Enter presses it while it has the focus
    SWebWindow* parent = nullptr;  // for a top-level window its owner
    std::vector<SWebWindow*> children;
    CWindowObject* object = nullptr;
    int element = 0;
    int canvas = 0;  // a plain window draws on a canvas filling its client area
    std::wstring text;
    RECT rect{};   // outer, in the parent's client area (top-level: on the page)
    int edge = 0;  // frame pixels on each side, outside the client area
    int top = 0;   // and above it: a frame's menu bar, a dialog's caption
    bool visible = false;
    bool enabled = true;
    bool dying = false;
    SModalState* modal = nullptr;
    int defaultCommand = IDOK;
    const SMenuResource* menu = nullptr;  // a frame's menu bar
    HWND lastFocus = nullptr;             // a top-level window's: the control it had last
    RECT invalid{};                       // what to repaint, in the client area; empty for nothing
    RECT painting{};                      // what the paint in progress covers
    std::unique_ptr<HDC__> paintContext;
    // A tab view's strip, pages in tab order and the active one.
    SWebWindow* strip = nullptr;
    std::vector<STabPage> pages;
    int active = -1;
};

// window_registry.cpp. A new window, registered under its handle.
SWebWindow* NewWindow(SWebWindow* parent);
// The live window behind a handle; null for a null, foreign or destroyed one.
SWebWindow* Live(HWND hwnd);
// Leaves the registry; its memory goes once the loop is back at its top.
void Unregister(SWebWindow* window);
void FreeUnregistered();
std::vector<SWebWindow*> TopLevelWindows();
// The top-level window that keys without a focus go to: a modal dialog
// running, else the frame; null when there is neither.
SWebWindow* ActiveTop();
// The window's top-level window.
SWebWindow* RootOf(SWebWindow* window);
// Shown, as far as its top-level window goes.
bool Showing(const SWebWindow* window);

// window_create.cpp. The element of a window of this kind, placed.
void MakeElement(SWebWindow* w, int domKind);
void PlaceElement(SWebWindow* w);

// window_lifetime.cpp. WM_DESTROY to every window of the tree (parents
// first), then each becomes windowless (children first) and its element goes.
void DestroyWindowTree(SWebWindow* root);

// window_messages.cpp. What a message no map handled does.
LRESULT DefaultProcessing(SWebWindow* w, UINT msg, WPARAM wParam, LPARAM lParam);
// The next message PostMessageW queued; false when there is none.
bool TakePosted(MSG* msg);

// window_timers.cpp. Stops every timer of the window.
void KillWindowTimers(SWebWindow* w);
// WM_TIMER for every clock that is due; milliseconds until the next is.
int RunDueTicks();

// window_geometry.cpp. The client area's size.
RECT ClientRect(const SWebWindow* w);

// dialog_controls.cpp. One control of a dialog's template, made and placed.
void MakeDialogControl(SWebWindow* dialog, const SDialogControl& c, const SBaseUnits& units);
// dialog_host.cpp. The visible, enabled tab stops of a top-level window, in
// the order Tab visits them (a tab view's strip, then its active page's).
std::vector<SWebWindow*> TabStops(SWebWindow* top);
// The focus back to the top-level window: to the control it had last while
// it can take it, else its first tab stop off a tab strip, else the strip.
void ActivateWindow(SWebWindow* top);
// Tab, Shift+Tab, Enter, Escape for the focus, as the dialog manager takes
// them; false for any other key.
bool DialogKey(SWebWindow* focus, WORD vk, bool shift);

// frame_host.cpp. The frame's menu bar from a menu resource.
void AttachMenu(SWebWindow* frame, HMENU menu);
// Alt and a menu's mnemonic, or F10 (mnemonic 0): opens that menu.
bool OpenMenu(SWebWindow* frame, wchar_t mnemonic);
void UpdateFrameLayout(SWebWindow* frame);

// tab_view_host.cpp. A tab view's strip and page area.
void MakeTabView(SWebWindow* view);
// A tab clicked, or an arrow key on the focused strip.
void SelectTab(SWebWindow* view, int index);
bool TabStripKey(SWebWindow* strip, WORD vk);

// paint.cpp. WM_PAINT to every window with something to repaint.
void PaintInvalid();

// raster_screen.cpp. The screen the raster draws for: device pixels per CSS pixel.
raster::IScreen& RasterScreen();

// message_loop_run.cpp. The page's events, the posted messages, the ticks
// that are due and the paints, until stop holds; how long the loop may sleep
// then, -1 when it is to end (stop, or the quit came).
int PumpOnce(const bool& stop);
// One of the loops, run until Exit.
class CWebLoop : public CRunningLoop {
  public:
    explicit CWebLoop(CMessageLoop* messageLoop) : m_messageLoop(messageLoop) {}
    void Exec() override;
    void Exit() override { m_exit = true; }

  private:
    CMessageLoop* m_messageLoop;
    bool m_exit = false;
};

}  // namespace lunvik::platform

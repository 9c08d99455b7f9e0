// The page's side of the window layer: the DOM calls of dom_library.js. An
// element is known by its number; a window's handle travels with its
// element's events. Texts go as UTF-32 (wchar_t), pixels as RGBA bytes.
#pragma once

#include <cstdint>

// What an element is made as.
enum EDomKind : int {
    kDomWindow = 0,
    kDomFrame = 1,   // the page's top-level window: menu bar and client area
    kDomDialog = 2,  // a top-level dialog, shown modal
    kDomButton = 3,
    kDomDefaultButton = 4,
    kDomEdit = 5,
    kDomGroup = 6,
    kDomText = 7,
    kDomBlackFrame = 8,
    kDomCanvas = 9,
    kDomTabStrip = 10,
    kDomCentredEdit = 11,
    kDomCentredText = 12,
};

// An event from the page, as lv_next_event hands it over.
enum EDomEvent : int {
    kEventClick = 1,  // a: handle of the button
    kEventKey = 2,    // a: handle of the focus (0: none), b: key code, c: modifiers, d: repeat
    kEventKeyUp = 3,  // c: modifiers
    kEventTab = 4,    // a: handle of the tab view, b: the tab clicked
    kEventMenu = 5,   // a: handle of the frame, b: the command
    kEventFocus = 6,  // a: handle of the new focus
};
// Modifier bits of key events.
inline constexpr int kShiftBit = 1;
inline constexpr int kControlBit = 2;
inline constexpr int kAltBit = 4;

extern "C" {
int lv_make(int kind, int parent, std::uintptr_t handle);
void lv_place(int element, int x, int y, int width, int height, int edge);
void lv_set_text(int element, const wchar_t* text);
void lv_show(int element, int shown);
void lv_enable(int element, int enabled);
void lv_remove(int element);
// Moves element into parent's client area.
void lv_adopt(int parent, int element);
void lv_focus(int element);
// The handle of the element with the focus, 0 when it is none of ours.
std::uintptr_t lv_focused();
// The canvas's pixels: width x height device pixels for a client area of
// cssWidth x cssHeight.
void lv_canvas_size(int canvas, int width, int height, int cssWidth, int cssHeight);
// Puts the box x, y, width, height of the image of imageWidth x
// imageHeight pixels at pixels (bytes R, G, B, A) on the canvas, the image's
// top left corner at (atX, atY).
void lv_put(int canvas, const std::uint32_t* pixels, int imageWidth, int imageHeight, int atX,
            int atY, int x, int y, int width, int height);
// The advance of text and the height of the dialogs' font at px pixels.
int lv_text_width(int px, const char* text);
int lv_font_height(int px);
void lv_modal(int dialog, int open);
void lv_add_tab(int strip, const wchar_t* title);
void lv_select_tab(int strip, int index);
int lv_add_menu(int frame, const wchar_t* title);
void lv_add_menu_item(int menu, const wchar_t* text, int command, std::uintptr_t frame);
void lv_open_menu(int frame, int index);
void lv_set_title(const wchar_t* title);
// The page's body becomes the UTF-8 line that says why the program stopped.
void lv_fail(const char* line);
double lv_scale();
// Returns after ms milliseconds, or sooner when an event arrives.
void lv_wait(int ms);
// A period of a timer clock has passed (the page counts them).
void lv_ticked();
// The next event into out[0..4] (type, a, b, c, d); 0 when there is none.
int lv_next_event(int* out);
// For the window layer's tests: a click on the element, or in the middle of
// what shows where it is (atCentre), a key pressed on the focus, and whether the element's
// font has a glyph for every character of text.
void lv_test_click(int element, int atCentre);
void lv_test_key(int vk, int shift);
int lv_test_glyphs(int element, const wchar_t* text);
// The canvas's width x height pixels read back, bytes R, G, B, A, and how many
// pixels the page has put on canvases so far.
void lv_test_read(int canvas, std::uint32_t* out, int width, int height);
double lv_test_put_pixels();
// The test program's result, for the page that runs it.
void lv_test_exit(int code);
}

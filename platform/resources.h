// Resources as data, the way a resource script holds them: dialog templates,
// strings, menus, accelerator tables and icons, looked up by id. app/ owns the
// tables and hands them to the platform once at start-up with SetResources.
#pragma once

#include <span>

#include "platform/win_types.h"

// Control classes that the system's dialogs use.
enum class EControlClass {
    PushButton,  // plain or default push button (BS_DEFPUSHBUTTON)
    Edit,        // single-line edit; ES_READONLY, ES_CENTER, WS_BORDER honoured
    GroupBox,    // BS_GROUPBOX frame with a caption
    Static,      // static text (SS_CENTER) or black frame (SS_BLACKFRAME)
};

struct SDialogControl {
    int id;  // control id; -1 for a control that is never addressed
    EControlClass cls;
    const wchar_t* caption;  // nullptr for none
    int x, y, cx, cy;        // dialog units
    DWORD style;             // WS_VISIBLE decides whether the control is ever shown
    DWORD exStyle;
};

struct SDialogTemplate {
    int id;
    DWORD style;
    const wchar_t* caption;  // nullptr for none
    int cx, cy;              // dialog units
    const wchar_t* font;     // face name of the template's font
    int pointSize;
    std::span<const SDialogControl> controls;
};

struct SStringResource {
    int id;
    const wchar_t* text;
};

// One menu item; a pop-up holds the items that follow it up to its end marker.
struct SMenuItem {
    enum EKind { Popup, Item, EndPopup } kind;
    const wchar_t* text;
    int command;  // Item only
};

struct SMenuResource {
    int id;
    std::span<const SMenuItem> items;
};

#ifndef _WINDEF_  // <windows.h> has them
// Accelerator flags (Win32 values).
inline constexpr BYTE FVIRTKEY = 0x01;
inline constexpr BYTE FSHIFT = 0x04;
inline constexpr BYTE FCONTROL = 0x08;
inline constexpr BYTE FALT = 0x10;
#endif

struct SAccelEntry {
    BYTE fVirt;  // FVIRTKEY plus modifiers
    WORD key;    // virtual key code, or an upper-case letter
    WORD cmd;
};

struct SAccelResource {
    int id;
    std::span<const SAccelEntry> entries;
};

// One image of an icon group: its size in pixels (square) and the picture
// file, a path or a name among the program's built-in files (":/...").
struct SIconImage {
    int size;
    const char* file;
};

struct SIconResource {
    int id;
    std::span<const SIconImage> images;
};

struct SResourceTable {
    std::span<const SDialogTemplate> dialogs;
    std::span<const SStringResource> strings;
    std::span<const SMenuResource> menus;
    std::span<const SAccelResource> accelerators;
    std::span<const SIconResource> icons;
};

// The table stays owned by the caller and must outlive every window.
void SetResources(const SResourceTable* table);
const SResourceTable* GetResources();

const SDialogTemplate* FindDialogTemplate(int id);
const SMenuResource* FindMenuResource(int id);
const SAccelResource* FindAccelResource(int id);
const SIconResource* FindIconResource(int id);
const SStringResource* FindStringResource(int id);
// Copies string id into buffer (at most size - 1 characters plus the terminator);
// returns the number of characters copied, 0 when there is no such string. On
// Windows the strings come from the program's string table resource.
LUNVIK_WIN32_API int LoadStringW(HINSTANCE instance, UINT id, wchar_t* buffer, int size);

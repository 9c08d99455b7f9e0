// Frames: the page's menu bar built from a menu resource, and the client
// window kept in the client area.
#include <cwctype>

#include "platform/shared/window_rules.h"
#include "platform/web/dom.h"
#include "platform/web/window_host.h"
#include "platform/window.h"

namespace lunvik::platform {
namespace {

constexpr int kMenuBarHeight = 20;

// The menu's mnemonic: the letter after its '&', lower case; 0 for none.
wchar_t Mnemonic(const wchar_t* text) {
    for (; text != nullptr && *text != L'\0'; ++text) {
        if (text[0] == L'&' && text[1] != L'\0') {
            return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(text[1])));
        }
    }
    return 0;
}

}  // namespace

void AttachMenu(SWebWindow* frame, HMENU handle) {
    const SMenuResource* menu = KnownMenu(handle);
    if (menu == nullptr) {
        return;
    }
    frame->menu = menu;
    frame->top = kMenuBarHeight;
    const auto owner = reinterpret_cast<std::uintptr_t>(frame);
    int popup = 0;  // items of nested pop-ups go to the outermost one
    int depth = 0;
    for (const SMenuItem& item : menu->items) {
        if (item.kind == SMenuItem::Popup && depth++ == 0) {
            popup = lv_add_menu(frame->element, item.text);
        } else if (item.kind == SMenuItem::EndPopup) {
            depth = depth > 0 ? depth - 1 : 0;
        } else if (item.kind == SMenuItem::Item && popup != 0 && item.text != nullptr) {
            lv_add_menu_item(popup, item.text, item.command, owner);
        }
    }
}

bool OpenMenu(SWebWindow* frame, wchar_t mnemonic) {
    if (frame->menu == nullptr) {
        return false;
    }
    int index = 0;
    int depth = 0;
    for (const SMenuItem& item : frame->menu->items) {
        if (item.kind == SMenuItem::Popup && depth++ == 0) {
            if (mnemonic == 0 || Mnemonic(item.text) == mnemonic) {
                lv_open_menu(frame->element, index);
                return true;
            }
            ++index;
        } else if (item.kind == SMenuItem::EndPopup && depth > 0) {
            --depth;
        }
    }
    return false;
}

void UpdateFrameLayout(SWebWindow* frame) {
    if (frame->kind != EWindowKind::Frame || frame->object == nullptr) {
        return;
    }
    SWebWindow* client = Live(frame->object->ClientWindow());
    if (client == nullptr || client->parent != frame) {
        return;
    }
    client->rect = ClientRect(frame);
    PlaceElement(client);
    if (client->kind == EWindowKind::TabView) {
        SelectTab(client, client->active);
    }
}

}  // namespace lunvik::platform

// Window classes with a message map: CWindowImpl<T> and the pieces it is made
// of. A window object is a plain C++ object that owns no window until Create;
// when its window is destroyed (or its parent's) it becomes windowless again
// and hears OnFinalMessage.
#pragma once

#include "platform/message_map.h"
#include "platform/window.h"
#include "platform/window_object.h"

// The styles a window class gives its windows when Create is given 0.
template <DWORD t_dwStyle = 0, DWORD t_dwExStyle = 0>
struct CWinTraits {
    static constexpr DWORD kStyle = t_dwStyle;
    static DWORD GetWndStyle(DWORD style) { return style == 0 ? t_dwStyle : style; }
    static DWORD GetWndExStyle(DWORD exStyle) { return exStyle == 0 ? t_dwExStyle : exStyle; }
};

// A visible child that neither draws over its siblings nor its children.
using CControlWinTraits = CWinTraits<WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0>;
using CFrameWinTraits = CWinTraits<WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                   WS_EX_APPWINDOW | WS_EX_WINDOWEDGE>;

// A window of the static control class: its default processing paints nothing.
template <class TBase = CWindow>
class CStaticT : public TBase {
  public:
    CStaticT(HWND hwnd = nullptr) : TBase(hwnd) {}
    static const wchar_t* GetWndClassName() { return L"Static"; }
};
using CStatic = CStaticT<CWindow>;

// What every window object shares: the handle, the message map, the link to
// the back end. Not copyable: the back end holds its address.
template <class TBase = CWindow>
class CWindowImplRoot : public TBase,
                        public CMessageMap,
                        protected lunvik::platform::CWindowObject {
  public:
    CWindowImplRoot() = default;
    CWindowImplRoot(const CWindowImplRoot&) = delete;
    CWindowImplRoot& operator=(const CWindowImplRoot&) = delete;
    ~CWindowImplRoot() override {
        if (this->m_hWnd != nullptr) {
            lunvik::platform::ForgetObject(this, this->m_hWnd);
        }
    }

    // Called once the window is gone and the object is windowless.
    virtual void OnFinalMessage(HWND) {}

  protected:
    static const wchar_t* ClassNameOf() {
        if constexpr (requires { TBase::GetWndClassName(); }) {
            return TBase::GetWndClassName();
        } else {
            return nullptr;
        }
    }
    // One window per object at a time.
    bool HasLiveWindow() const { return this->m_hWnd != nullptr && ::IsWindow(this->m_hWnd); }
    HWND CreateHost(const lunvik::platform::SCreateParams& params) {
        return HasLiveWindow() ? nullptr : lunvik::platform::CreateHostWindow(this, params);
    }

  private:
    BOOL RouteMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        return this->ProcessWindowMessage(hwnd, msg, wParam, lParam, result, 0);
    }
    void AttachWindow(HWND hwnd) override { this->m_hWnd = hwnd; }
    void DetachWindow(HWND hwnd) override {
        this->m_hWnd = nullptr;
        OnFinalMessage(hwnd);
    }
};

template <class T, class TBase = CWindow, class TWinTraits = CControlWinTraits>
class CWindowImpl : public CWindowImplRoot<TBase> {
  public:
    // A window of this class with the traits' style when style is 0; a child of
    // hWndParent at rect (in its client area) when the style has WS_CHILD.
    HWND Create(HWND hWndParent, RECT rect, const wchar_t* name = nullptr, DWORD style = 0,
                DWORD exStyle = 0, UINT id = 0, void* param = nullptr) {
        return this->CreateHost({.kind = T::kWindowKind,
                                 .parent = hWndParent,
                                 .rect = rect,
                                 .name = name,
                                 .className = this->ClassNameOf(),
                                 .style = TWinTraits::GetWndStyle(style),
                                 .exStyle = TWinTraits::GetWndExStyle(exStyle),
                                 .id = id,
                                 .param = param});
    }

    // What the window stands for; a class of another kind (the tab view) says so.
    static constexpr lunvik::platform::EWindowKind kWindowKind =
        lunvik::platform::EWindowKind::Window;
};

#include "view/static_view.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/paint.h"

CStaticView::~CStaticView() {
    Release();
}

BOOL CStaticView::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam,
                                       LRESULT& lResult, DWORD) {
    BOOL handled = TRUE;
    switch (uMsg) {
        case WM_CREATE:
            lResult = OnCreate(uMsg, wParam, lParam, handled);
            return handled;
        case WM_PAINT:
            lResult = OnPaint(uMsg, wParam, lParam, handled);
            return handled;
        default:
            return FALSE;
    }
}

LRESULT CStaticView::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    Release();  // a view made a second time starts afresh rather than leaking the first buffer
    const HDC screen = GetDC(m_hWnd);
    GetClientRect(&m_rcClient);
    m_hMemDC = CreateCompatibleDC(screen);
    m_hBitmap = CreateCompatibleBitmap(screen, m_rcClient.right - m_rcClient.left + 1,
                                       m_rcClient.bottom - m_rcClient.top + 1);
    SelectObject(m_hMemDC, m_hBitmap);
    ClearBuffer(BLACK_BRUSH);
    ReleaseDC(m_hWnd, screen);

    m_pens[0] = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    m_pens[1] = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    m_pens[2] = CreatePen(PS_SOLID, 1, RGB(0, 255, 255));
    m_pens[kErasePen] = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    SelectObject(m_hMemDC, m_pens[0]);
    return 0;
}

LRESULT CStaticView::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    // Always the whole buffer: the toolkit clips it to what needs repainting.
    PAINTSTRUCT ps;
    BeginPaint(m_hWnd, &ps);
    BitBlt(ps.hdc, m_rcClient.left, m_rcClient.top, m_rcClient.right - m_rcClient.left + 1,
           m_rcClient.bottom - m_rcClient.top + 1, m_hMemDC, 0, 0, SRCCOPY);
    EndPaint(m_hWnd, &ps);
    return 0;
}

void CStaticView::ClearBuffer(int stockObject) {
    SelectObject(m_hMemDC, GetStockObject(stockObject));
    PatBlt(m_hMemDC, 0, 0, m_rcClient.right - m_rcClient.left + 1,
           m_rcClient.bottom - m_rcClient.top + 1, PATCOPY);
}

bool CStaticView::ToPixel(const CGridTmpl<double>& point, POINT* pixel) {
    if (std::isnan(point.x) || std::isnan(point.y)) {
        return false;
    }
    // Comparisons first, so that no out-of-range value reaches the conversion.
    auto convert = [](double v) {
        constexpr double kTooHigh = 2147483648.0;  // 2^31
        constexpr double kTooLow = -2147483649.0;  // -2^31 - 1
        if (v >= kTooHigh) {
            return std::numeric_limits<LONG>::max();
        }
        if (v <= kTooLow) {
            return std::numeric_limits<LONG>::min();
        }
        return static_cast<LONG>(v);
    };
    *pixel = POINT{convert(point.x), convert(point.y)};
    return true;
}

void CStaticView::SelectPen(int slot) {
    // A kind code outside the table is an empty slot: nothing is selected.
    if (slot >= 0 && slot < 256) {
        SelectObject(m_hMemDC, m_pens[slot]);
    }
}

void CStaticView::Segment(const CModelBase& model, int from, int to) {
    // A segment with an end that has no pixel is left out, by erase and draw alike.
    POINT a;
    POINT b;
    if (!ToPixel(model.m_screen[from], &a) || !ToPixel(model.m_screen[to], &b)) {
        return;
    }
    MoveToEx(m_hMemDC, a.x, a.y, nullptr);
    LineTo(m_hMemDC, b.x, b.y);
}

void CStaticView::Lines(const CModelBase& model) {
    // Vertex pairs. The count is held to the arrays' capacity, which is even, so
    // that no pair reads past them.
    const int count = std::clamp(model.m_count, 0, CModelBase::kMaxVertices);
    for (int i = 0; i < count; i += 2) {
        Segment(model, i, i + 1);
    }
}

void CStaticView::Cube(const CModelBase& model) {
    for (int j = 0; j < 3; ++j) {
        Segment(model, j, j + 1);
        Segment(model, j + 4, j + 5);
        Segment(model, j, j + 4);
    }
    Segment(model, 3, 0);
    Segment(model, 7, 4);
    Segment(model, 3, 7);
}

void CStaticView::Star(const CModelBase& model) {
    for (int i = 0; i < 5; ++i) {
        const int t = (i + 2) % 5;
        Segment(model, i, t);
        Segment(model, i + 5, t + 5);
    }
    for (int j = 0; j < 5; ++j) {
        Segment(model, j, j + 5);
    }
}

void CStaticView::EraseLines(CModelBase& model) {
    SelectPen(kErasePen);
    Lines(model);
}

void CStaticView::DrawLines(CModelBase& model) {
    model.Refresh();
    SelectPen(model.m_kind);
    Lines(model);
}

void CStaticView::EraseCube(CModelBase& model) {
    SelectPen(kErasePen);
    Cube(model);
}

void CStaticView::DrawCube(CModelBase& model) {
    model.Refresh();
    SelectPen(model.m_kind);
    Cube(model);
}

void CStaticView::EraseStar(CModelBase& model) {
    SelectPen(kErasePen);
    Star(model);
}

void CStaticView::DrawStar(CModelBase& model) {
    model.Refresh();
    SelectPen(model.m_kind);
    Star(model);
}

void CStaticView::Release() {
    // The context first: it lets go of the bitmap and the pen it holds.
    DeleteDC(m_hMemDC);
    DeleteObject(m_hBitmap);
    for (HPEN& pen : m_pens) {
        DeleteObject(pen);
        pen = nullptr;
    }
    m_hMemDC = nullptr;
    m_hBitmap = nullptr;
}

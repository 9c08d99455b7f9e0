#include "view/static_view.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <limits>
#include <new>

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
    m_pixels = new (std::nothrow) SPixel[CModelBase::kMaxVertices + kPoolCapacity];
    m_pool = m_pixels != nullptr ? m_pixels + CModelBase::kMaxVertices : nullptr;
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
    if (s_firstPaint == 0) {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        s_firstPaint = std::int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
    }
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
    const LONG width = m_rcClient.right - m_rcClient.left + 1;
    const LONG height = m_rcClient.bottom - m_rcClient.top + 1;
    PatBlt(m_hMemDC, 0, 0, width, height, PATCOPY);
    AddChange(RECT{0, 0, width, height});
}

void CStaticView::InvalidateChanges() {
    const RECT changed = TakeChanges();
    if (changed.left < changed.right) {
        InvalidateRect(&changed, FALSE);
    }
}

RECT CStaticView::TakeChanges() {
    for (int i = 0; i < m_erasedCount; ++i) {
        AddChange(m_erased[i].m_box);  // erased and not drawn again
    }
    m_erasedCount = 0;
    m_poolUsed = 0;
    RECT changed = m_changed;
    m_changed = RECT{};
    changed.right = std::min(changed.right, m_rcClient.right - m_rcClient.left);
    changed.bottom = std::min(changed.bottom, m_rcClient.bottom - m_rcClient.top);
    if (changed.left >= changed.right || changed.top >= changed.bottom) {
        return RECT{};
    }
    return changed;
}

void CStaticView::AddChange(const RECT& box) {
    if (box.left >= box.right || box.top >= box.bottom) {
        return;
    }
    if (m_changed.left >= m_changed.right) {
        m_changed = box;
        return;
    }
    m_changed.left = std::min(m_changed.left, box.left);
    m_changed.top = std::min(m_changed.top, box.top);
    m_changed.right = std::max(m_changed.right, box.right);
    m_changed.bottom = std::max(m_changed.bottom, box.bottom);
}

void CStaticView::SelectPen(int slot) {
    // A kind code outside the table is an empty slot: nothing is selected.
    if (slot >= 0 && slot < 256) {
        SelectObject(m_hMemDC, m_pens[slot]);
    }
}

void CStaticView::EraseLines(CModelBase& model) {
    Erase(model, EShape::Lines);
}

void CStaticView::DrawLines(CModelBase& model) {
    Draw(model, EShape::Lines);
}

void CStaticView::EraseCube(CModelBase& model) {
    Erase(model, EShape::Cube);
}

void CStaticView::DrawCube(CModelBase& model) {
    Draw(model, EShape::Cube);
}

void CStaticView::EraseStar(CModelBase& model) {
    Erase(model, EShape::Star);
}

void CStaticView::DrawStar(CModelBase& model) {
    Draw(model, EShape::Star);
}

void CStaticView::EraseModel(CModelBase& model) {
    if (model.m_kind >= 0 && model.m_kind <= 2) {
        Erase(model, static_cast<EShape>(model.m_kind));
    }
}

void CStaticView::DrawModel(CModelBase& model) {
    if (model.m_kind >= 0 && model.m_kind <= 2) {
        Draw(model, static_cast<EShape>(model.m_kind));
    }
}

void CStaticView::Erase(const CModelBase& model, EShape shape) {
    SelectPen(kErasePen);
    const int count = VerticesUsed(model, shape);
    // Kept in the pool when it has room, so that the draw can compare.
    const bool kept =
        m_pool != nullptr && m_erasedCount < kErasedCapacity && count <= kPoolCapacity - m_poolUsed;
    SPixel* const pixels = kept ? m_pool + m_poolUsed : m_pixels;
    ToPixels(model, count, pixels);
    const RECT box = Walk(pixels, count, shape);
    if (m_erasedCount < kErasedCapacity) {
        m_erased[m_erasedCount++] = SErased{&model, box, kept ? m_poolUsed : -1, count};
        m_poolUsed += kept ? count : 0;
    } else {
        AddChange(box);
    }
}

void CStaticView::Draw(CModelBase& model, EShape shape) {
    // What this model's erase covered, if it was erased since its last draw.
    SErased erased{nullptr, RECT{}, -1, 0};
    for (int i = m_erasedCount - 1; i >= 0; --i) {
        if (m_erased[i].m_model == &model) {
            erased = m_erased[i];
            m_erased[i] = m_erased[--m_erasedCount];
            break;
        }
    }
    if (m_erasedCount == 0) {
        m_poolUsed = 0;  // every kept erase has been drawn again; the pixels stay until the compare
    }
    model.Refresh();
    SelectPen(model.m_kind);
    const int count = VerticesUsed(model, shape);
    ToPixels(model, count, m_pixels);
    const RECT box = Walk(m_pixels, count, shape);
    // The same pixels as erased: drawn again where they were, nothing changed.
    const bool same = erased.m_first >= 0 && erased.m_count == count &&
                      std::memcmp(&erased.m_box, &box, sizeof box) == 0 &&
                      std::memcmp(m_pool + erased.m_first, m_pixels, sizeof(SPixel) * count) == 0;
    if (!same) {
        AddChange(box);
        AddChange(erased.m_box);
    }
}

void CStaticView::ToPixels(const CModelBase& model, int count, SPixel* pixels) {
    if (pixels == nullptr) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        const CGridTmpl<double>& v = model.m_screen[i];
        // Inside the 32-bit range, the common case, a conversion is all it
        // takes (a NaN fails the comparisons too).
        if (v.x < kTooHigh && v.x > kTooLow && v.y < kTooHigh && v.y > kTooLow) {
            pixels[i] = SPixel{static_cast<LONG>(v.x), static_cast<LONG>(v.y), 1};
            continue;
        }
        POINT p{0, 0};
        const bool valid = ToPixel(v, &p);
        pixels[i] = SPixel{valid ? p.x : 0, valid ? p.y : 0, valid ? 1 : 0};
    }
}

RECT CStaticView::Walk(const SPixel* pixels, int count, EShape shape) {
    if (m_hBitmap == nullptr || pixels == nullptr) {
        return RECT{};
    }
    LONG minX = std::numeric_limits<LONG>::max();
    LONG minY = std::numeric_limits<LONG>::max();
    LONG maxX = std::numeric_limits<LONG>::min();
    LONG maxY = std::numeric_limits<LONG>::min();
    ForEachSegment(shape, count, [&](int from, int to) {
        // A segment with an end that has no pixel is left out, by erase and draw alike.
        const SPixel& a = pixels[from];
        const SPixel& b = pixels[to];
        if ((a.valid & b.valid) == 0) {
            return;
        }
        minX = std::min(minX, std::min(a.x, b.x));
        minY = std::min(minY, std::min(a.y, b.y));
        maxX = std::max(maxX, std::max(a.x, b.x));
        maxY = std::max(maxY, std::max(a.y, b.y));
        MoveToEx(m_hMemDC, a.x, a.y, nullptr);
        LineTo(m_hMemDC, b.x, b.y);
    });
    if (minX > maxX) {
        return RECT{};
    }
    // Pixels outside the buffer are never drawn.
    const LONG right = m_hBitmap->m_width - 1;
    const LONG bottom = m_hBitmap->m_height - 1;
    return RECT{std::clamp(minX, LONG{0}, right), std::clamp(minY, LONG{0}, bottom),
                std::clamp(maxX, LONG{0}, right) + 1, std::clamp(maxY, LONG{0}, bottom) + 1};
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
    delete[] m_pixels;
    m_pixels = nullptr;
    m_pool = nullptr;
    m_poolUsed = 0;
    m_changed = RECT{};
    m_erasedCount = 0;
}

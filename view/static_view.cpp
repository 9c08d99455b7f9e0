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
    m_before = new (std::nothrow) unsigned char[sizeof(CModelBase::CVertices)];
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

void CStaticView::Segment(const CModelBase& model, int from, int to) {
    // A segment with an end that has no pixel is left out, by erase and draw alike.
    POINT a;
    POINT b;
    if (!ToPixel(model.m_screen[from], &a) || !ToPixel(model.m_screen[to], &b)) {
        return;
    }
    m_minX = std::min({m_minX, a.x, b.x});
    m_minY = std::min({m_minY, a.y, b.y});
    m_maxX = std::max({m_maxX, a.x, b.x});
    m_maxY = std::max({m_maxY, a.y, b.y});
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
    Erase(model, &CStaticView::Lines);
}

void CStaticView::DrawLines(CModelBase& model) {
    Draw(model, &CStaticView::Lines);
}

void CStaticView::EraseCube(CModelBase& model) {
    Erase(model, &CStaticView::Cube);
}

void CStaticView::DrawCube(CModelBase& model) {
    Draw(model, &CStaticView::Cube);
}

void CStaticView::EraseStar(CModelBase& model) {
    Erase(model, &CStaticView::Star);
}

void CStaticView::DrawStar(CModelBase& model) {
    Draw(model, &CStaticView::Star);
}

void CStaticView::Erase(const CModelBase& model, void (CStaticView::*walk)(const CModelBase&)) {
    SelectPen(kErasePen);
    const RECT box = WalkBox(model, walk);
    if (m_erasedCount < kErasedCapacity) {
        m_erased[m_erasedCount++] = SErased{&model, box};
    } else {
        AddChange(box);
    }
}

void CStaticView::Draw(CModelBase& model, void (CStaticView::*walk)(const CModelBase&)) {
    // The box this model's erase covered, if it was erased since its last draw.
    bool erased = false;
    RECT erasedBox = {};
    for (int i = m_erasedCount - 1; i >= 0; --i) {
        if (m_erased[i].m_model == &model) {
            erased = true;
            erasedBox = m_erased[i].m_box;
            m_erased[i] = m_erased[--m_erasedCount];
            break;
        }
    }
    const int used = walk == &CStaticView::Lines  ? VerticesUsed(model)
                     : walk == &CStaticView::Cube ? 8
                                                  : 10;
    const std::size_t bytes = sizeof(CGridTmpl<double>) * static_cast<std::size_t>(used);
    const bool compare = erased && m_before != nullptr;
    if (compare) {
        // Bytes only, the vertices' vtable pointers included: equal bytes are equal points.
        std::memcpy(m_before, static_cast<const void*>(model.m_screen.data()), bytes);
    }
    model.Refresh();
    SelectPen(model.m_kind);
    const RECT box = WalkBox(model, walk);
    // The same points as erased: the same pixels again, nothing changed.
    const bool same =
        compare && box.left == erasedBox.left && box.top == erasedBox.top &&
        box.right == erasedBox.right && box.bottom == erasedBox.bottom &&
        std::memcmp(m_before, static_cast<const void*>(model.m_screen.data()), bytes) == 0;
    if (!same) {
        AddChange(box);
        if (erased) {
            AddChange(erasedBox);
        }
    }
}

int CStaticView::VerticesUsed(const CModelBase& model) {
    // Pairs: an odd count still reads the vertex after its last one.
    const int count = std::clamp(model.m_count, 0, CModelBase::kMaxVertices);
    return count + (count & 1);
}

RECT CStaticView::WalkBox(const CModelBase& model, void (CStaticView::*walk)(const CModelBase&)) {
    m_minX = std::numeric_limits<LONG>::max();
    m_minY = std::numeric_limits<LONG>::max();
    m_maxX = std::numeric_limits<LONG>::min();
    m_maxY = std::numeric_limits<LONG>::min();
    (this->*walk)(model);
    if (m_hBitmap == nullptr || m_minX > m_maxX) {
        return RECT{};
    }
    // Pixels outside the buffer are never drawn.
    const LONG right = m_hBitmap->m_width - 1;
    const LONG bottom = m_hBitmap->m_height - 1;
    return RECT{std::clamp(m_minX, 0, right), std::clamp(m_minY, 0, bottom),
                std::clamp(m_maxX, 0, right) + 1, std::clamp(m_maxY, 0, bottom) + 1};
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
    delete[] m_before;
    m_before = nullptr;
    m_changed = RECT{};
    m_erasedCount = 0;
}

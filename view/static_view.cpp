#include "view/static_view.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <ctime>
#include <limits>
#include <new>

#include "platform/paint.h"

CStaticView::~CStaticView() {
    DeleteDrawingObjects();
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
        case WM_SIZE:
            lResult = OnSize(uMsg, wParam, lParam, handled);
            return FALSE;  // and on to default processing
        default:
            return FALSE;
    }
}

LRESULT CStaticView::OnCreate(UINT, WPARAM, LPARAM, BOOL&) {
    // A view made a second time starts afresh rather than leaking the first buffer.
    DeleteDrawingObjects();
    const HDC screen = GetDC(m_hWnd);
    GetClientRect(&m_rcClient);
    m_pixels.reset(new (std::nothrow) SPixel[2 * CModelBase::kMaxVertices]);
    m_framePixels.reset(new (std::nothrow) SPixel[kFramePixels]);
    m_frameCount = 0;
    m_repaint.Open();
    m_hMemDC = CreateCompatibleDC(screen);
    m_hBitmap = CreateCompatibleBitmap(screen, m_rcClient.right - m_rcClient.left + 1,
                                       m_rcClient.bottom - m_rcClient.top + 1);
    SelectObject(m_hMemDC, m_hBitmap);
    ClearBuffer(BLACK_BRUSH);
    ReleaseDC(m_hWnd, screen);

    m_pens[CModelBase::kLineKind] = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    m_pens[CModelBase::kCubeKind] = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    m_pens[CModelBase::kStarKind] = CreatePen(PS_SOLID, 1, RGB(0, 255, 255));
    m_pens[kErasePen] = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    SelectObject(m_hMemDC, m_pens[CModelBase::kLineKind]);
    return 0;
}

LRESULT CStaticView::OnSize(UINT, WPARAM, LPARAM, BOOL&) {
    RECT now;
    if (m_hMemDC == nullptr || !GetClientRect(&now) ||
        (now.right == m_rcClient.right && now.bottom == m_rcClient.bottom)) {
        return 0;
    }
    m_rcClient = now;
    const HDC screen = GetDC(m_hWnd);
    const HBITMAP before = m_hBitmap;
    m_hBitmap = CreateCompatibleBitmap(screen, m_rcClient.right + 1, m_rcClient.bottom + 1);
    ReleaseDC(m_hWnd, screen);
    SelectObject(m_hMemDC, m_hBitmap);
    DeleteObject(before);
    ClearBuffer(BLACK_BRUSH);
    SelectObject(m_hMemDC, m_pens[CModelBase::kLineKind]);
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
    m_repaint.Add(RECT{0, 0, width, height});
    m_frameClean = false;
}

// A view not on show asks for nothing: shown again, it is painted whole.
void CStaticView::InvalidateChanges() {
    const RECT changed = TakeChanges();
    if (changed.left < changed.right && IsWindowVisible()) {
        InvalidateRect(&changed, FALSE);
    }
}

RECT CStaticView::TakeChanges() {
    // The client area in buffer pixels, which start at its top left corner.
    RECT area = m_rcClient;
    OffsetRect(&area, -area.left, -area.top);
    return m_repaint.Take(area);
}

void CStaticView::SelectPen(int slot) {
    // A kind code outside the table is an empty slot: nothing is selected.
    // The program draws only kinds that have a shape, whose slots hold pens.
    assert(slot >= 0 && slot < kPenSlots);
    if (slot >= 0 && slot < kPenSlots) {
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

std::optional<CStaticView::EShape> CStaticView::ShapeOfKind(std::int32_t kind) {
    switch (kind) {
        case CModelBase::kLineKind:
            return EShape::Lines;
        case CModelBase::kCubeKind:
            return EShape::Cube;
        case CModelBase::kStarKind:
            return EShape::Star;
        default:
            return std::nullopt;
    }
}

void CStaticView::EraseModel(CModelBase& model) {
    if (const std::optional<EShape> shape = ShapeOfKind(model.m_kind)) {
        Erase(model, *shape);
    }
}

void CStaticView::DrawModel(CModelBase& model) {
    if (const std::optional<EShape> shape = ShapeOfKind(model.m_kind)) {
        Draw(model, *shape);
    }
}

void CStaticView::Erase(const CModelBase& model, EShape shape) {
    m_frameClean = false;
    SelectPen(kErasePen);
    const int count = VerticesUsed(model, shape);
    // Kept by the repaint box when it has room, so that the draw can compare.
    SPixel* const kept = m_repaint.RoomForErase(count);
    SPixel* const pixels = kept != nullptr ? kept : m_pixels.get();
    ToPixels(model, count, pixels);
    m_repaint.Erased(model, DrawSegments(pixels, count, shape), kept != nullptr, count);
}

void CStaticView::Draw(CModelBase& model, EShape shape) {
    m_frameClean = false;
    model.Refresh();
    SelectPen(model.m_kind);
    const int count = VerticesUsed(model, shape);
    ToPixels(model, count, m_pixels.get());
    m_repaint.Drawn(model, DrawSegments(m_pixels.get(), count, shape), m_pixels.get(), count);
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

RECT CStaticView::DrawSegments(const SPixel* pixels, int count, EShape shape, const RECT* only,
                               int onlyCount) {
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
        if (only != nullptr && std::none_of(only, only + onlyCount,
                                            [&](const RECT& r) { return MayTouch(a, b, r); })) {
            return;
        }
        minX = std::min(minX, std::min(a.x, b.x));
        minY = std::min(minY, std::min(a.y, b.y));
        maxX = std::max(maxX, std::max(a.x, b.x));
        maxY = std::max(maxY, std::max(a.y, b.y));
        MoveToEx(m_hMemDC, a.x, a.y, nullptr);
        LineTo(m_hMemDC, b.x, b.y);
        ++m_segmentsWalked;
    });
    // Pixels outside the buffer are never drawn: segments whose box lies
    // wholly outside it changed nothing.
    const LONG right = m_hBitmap->m_width - 1;
    const LONG bottom = m_hBitmap->m_height - 1;
    if (minX > maxX || maxX < 0 || maxY < 0 || minX > right || minY > bottom) {
        return RECT{};
    }
    return RECT{std::clamp(minX, LONG{0}, right), std::clamp(minY, LONG{0}, bottom),
                std::clamp(maxX, LONG{0}, right) + 1, std::clamp(maxY, LONG{0}, bottom) + 1};
}

void CStaticView::DeleteDrawingObjects() {
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

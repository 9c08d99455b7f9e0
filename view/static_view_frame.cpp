// A page's whole frame through the view (CStaticView::DrawFrame). Why it
// may leave things out and still give the very pixels of erase-then-draw:
// erases all paint black and come before every draw, so their order among
// themselves and with the models' projections does not matter; a model drawn
// at the pixels it would erase rewrites every one of them in the draw pass,
// so its erase changes nothing that stays; and when every model of the list
// comes out where the last frame drew it, and nothing drew in between, the
// draw pass would write each pixel with what it holds. In between, a model
// drawn where the last frame drew it need only walk its segments through
// what this frame wrote before its turn: its other pixels hold what the last
// frame left there, which is what this one would leave.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "view/static_view.h"

void CStaticView::DrawFrame(CModelBase* const* models, int count, const CGridTmpl<double>& lookAt,
                            const CGridTmpl<double>& eye) {
    if (!IsWindowVisible()) {
        m_behind = true;  // the catch-up aims and draws every model
        return;
    }
    if (m_behind) {
        CatchUp(models, count, lookAt, eye);
        return;
    }
    DrawFrameInSight(models, count, lookAt, eye);
}

void CStaticView::CatchUp(CModelBase* const* models, int count, const CGridTmpl<double>& lookAt,
                          const CGridTmpl<double>& eye) {
    if (!m_behind) {
        return;
    }
    m_behind = false;
    ClearBuffer(BLACK_BRUSH);
    m_blank = true;
    DrawFrameInSight(models, count, lookAt, eye);
    m_blank = false;
}

void CStaticView::DrawFrameInSight(CModelBase* const* models, int count,
                                   const CGridTmpl<double>& lookAt, const CGridTmpl<double>& eye) {
    bool unchanged = m_frameClean && count == m_frameCount;
    m_allDirty = !unchanged || count > kFrameModels;
    m_dirtyCount = 0;
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        const bool same = ScanModel(*models[i], i, lookAt, eye, &kept);
        if (i < kFrameModels) {
            m_frame[i].same = same;
        }
        unchanged = same && unchanged;
    }
    m_frameCount = count;
    m_frameClean = true;
    if (unchanged) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        DrawAgain(*models[i], i);
    }
}

bool CStaticView::ScanModel(CModelBase& model, int index, const CGridTmpl<double>& lookAt,
                            const CGridTmpl<double>& eye, int* kept) {
    const std::optional<EShape> shape = ShapeOfKind(model.m_kind);
    if (!shape || m_pixels == nullptr) {
        model.Aim(lookAt, eye);
        if (shape) {
            model.Refresh();  // as a draw would, though there is nothing to draw with
        }
        return KeepFramePixels(model, index, nullptr, 0, shape.has_value(), kept);
    }
    const int count = VerticesUsed(model, *shape);
    SPixel* const before = m_pixels.get() + CModelBase::kMaxVertices;
    SPixel* const now = m_pixels.get();
    ToPixels(model, count, before);
    model.Aim(lookAt, eye);
    model.Refresh();
    ToPixels(model, count, now);
    const bool moved = std::memcmp(before, now, sizeof(SPixel) * count) != 0;
    if (moved && !m_blank) {
        SelectPen(kErasePen);
        const RECT erased = DrawSegments(before, count, *shape);
        m_repaint.Add(erased);
        AddDirty(erased);
    }
    return KeepFramePixels(model, index, now, count, moved, kept) && !moved;
}

bool CStaticView::KeepFramePixels(const CModelBase& model, int index, const SPixel* pixels,
                                  int count, bool moved, int* kept) {
    if (index >= kFrameModels) {
        return false;
    }
    SFrameModel& last = m_frame[index];
    if (m_framePixels == nullptr || *kept + count > kFramePixels) {
        last = SFrameModel{nullptr, nullptr, 0, true, false};
        return false;
    }
    SPixel* const slot = m_framePixels.get() + *kept;
    const bool same = last.model == &model && last.count == count &&
                      (count == 0 || std::memcmp(slot, pixels, sizeof(SPixel) * count) == 0);
    if (count > 0) {
        std::memcpy(slot, pixels, sizeof(SPixel) * count);
    }
    last = SFrameModel{&model, slot, count, moved, false};
    *kept += count;
    return same;
}

void CStaticView::DrawAgain(const CModelBase& model, int index) {
    const std::optional<EShape> shape = ShapeOfKind(model.m_kind);
    if (!shape || m_pixels == nullptr) {
        return;
    }
    SelectPen(model.m_kind);
    const int count = VerticesUsed(model, *shape);
    const bool kept = index < kFrameModels;
    // The scan kept this frame's pixels of the model, when they fitted.
    const SPixel* pixels = kept ? m_frame[index].pixels : nullptr;
    if (pixels == nullptr) {
        ToPixels(model, count, m_pixels.get());
        pixels = m_pixels.get();
    }
    if (kept && m_frame[index].same && !m_allDirty) {
        AddDirty(DrawSegments(pixels, count, *shape, m_dirty, m_dirtyCount));
        return;
    }
    const RECT box = DrawSegments(pixels, count, *shape);
    AddDirty(box);
    // A model drawn where it was changes nothing; what the others erased
    // under it is repainted with theirs.
    if (!kept || m_frame[index].moved) {
        m_repaint.Add(box);
    }
}

void CStaticView::AddDirty(const RECT& box) {
    if (box.left >= box.right || box.top >= box.bottom) {
        return;
    }
    if (m_dirtyCount == kDirtyBoxes) {
        m_allDirty = true;
        return;
    }
    m_dirty[m_dirtyCount++] = box;
}

// Asked only of a box that meets the box of the segment's end points, where
// its pixels lie. Each lies within a pixel of the line through them across
// its major axis: |f| <= max(|dx|, |dy|) for f(p) = dy (x - ax) - dx (y - ay).
// A box with every corner beyond that on one side holds none. Segments too
// long for exact 64-bit products count as touching.
bool CStaticView::LineNearBox(const SPixel& a, const SPixel& b, const RECT& box) {
    const std::int64_t dx = std::int64_t{b.x} - a.x;
    const std::int64_t dy = std::int64_t{b.y} - a.y;
    constexpr std::int64_t kExact = std::int64_t{1} << 24;
    if (dx > kExact || dx < -kExact || dy > kExact || dy < -kExact) {
        return true;
    }
    const std::int64_t margin = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    int above = 0;
    int below = 0;
    for (const LONG x : {box.left, box.right - 1}) {
        for (const LONG y : {box.top, box.bottom - 1}) {
            // The boxes lie in the buffer and the segment's box meets this
            // one: every term is well inside 64 bits.
            const std::int64_t f = dy * (x - std::int64_t{a.x}) - dx * (y - std::int64_t{a.y});
            above += f > margin ? 1 : 0;
            below += f < -margin ? 1 : 0;
        }
    }
    return above < 4 && below < 4;
}

// A page's whole frame through the view (CStaticView::DrawFrame). Why it
// may leave things out and still give the very pixels of erase-then-draw:
// erases all paint black and come before every draw, so their order among
// themselves and with the models' projections does not matter; a model drawn
// at the pixels it would erase rewrites every one of them in the draw pass,
// so its erase changes nothing that stays; and when every model of the list
// comes out where the last frame drew it, and nothing drew in between, the
// draw pass would write each pixel with what it holds.
#include <cstring>

#include "view/static_view.h"

void CStaticView::DrawFrame(CModelBase* const* models, int count, const CGridTmpl<double>& lookAt,
                            const CGridTmpl<double>& eye) {
    bool unchanged = m_frameClean && count == m_frameCount;
    int kept = 0;
    for (int i = 0; i < count; ++i) {
        unchanged = ScanModel(*models[i], i, lookAt, eye, &kept) && unchanged;
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
    if (moved) {
        SelectPen(kErasePen);
        m_repaint.Add(DrawSegments(before, count, *shape));
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
        last = SFrameModel{nullptr, 0, true};
        return false;
    }
    SPixel* const slot = m_framePixels.get() + *kept;
    const bool same = last.model == &model && last.count == count &&
                      (count == 0 || std::memcmp(slot, pixels, sizeof(SPixel) * count) == 0);
    if (count > 0) {
        std::memcpy(slot, pixels, sizeof(SPixel) * count);
    }
    last = SFrameModel{&model, count, moved};
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
    ToPixels(model, count, m_pixels.get());
    const RECT box = DrawSegments(m_pixels.get(), count, *shape);
    // A model drawn where it was changes nothing; what the others erased
    // under it is repainted with theirs.
    if (index >= kFrameModels || m_frame[index].moved) {
        m_repaint.Add(box);
    }
}

// The drawing area of a scene page: a child window with a back buffer one
// pixel larger than its client area, a table of 256 pen slots, and the erase
// and draw routines of the three model kinds. All drawing goes into the back
// buffer; a paint copies the buffer to the window. A repaint box keeps what
// the routines changed, so that a repaint asks for that part only.
#pragma once

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <optional>

#include "geometry/model_base.h"
#include "platform/raster/raster.h"
#include "platform/window.h"
#include "platform/window_impl.h"
#include "view/repaint_box.h"

class CStaticView : public CWindowImpl<CStaticView, CStaticT<CWindow>> {
  public:
    // Pen slots: a model's kind code is its pen slot.
    static constexpr int kPenSlots = 256;
    static constexpr int kErasePen = 255;

    CStaticView() = default;
    ~CStaticView() override;

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID = 0) override;

    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    // A new size (the screen's DPI changed): the buffer is made again at it
    // and cleared to black once, as at creation.
    LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

    // Fills the whole buffer with a stock brush, which stays selected.
    void ClearBuffer(int stockObject);

    // Erase routines draw the model's last projected segments in the erase
    // pen; draw routines refresh the model first and draw in the pen of its
    // kind. Neither allocates.
    void EraseLines(CModelBase& model);
    void DrawLines(CModelBase& model);
    void EraseCube(CModelBase& model);
    void DrawCube(CModelBase& model);
    void EraseStar(CModelBase& model);
    void DrawStar(CModelBase& model);
    // The routine of the model's kind (ShapeOfKind); a model of another kind
    // is neither erased nor drawn.
    void EraseModel(CModelBase& model);
    void DrawModel(CModelBase& model);

    // The shapes the routines draw, and the vertex pairs each joins.
    enum class EShape { Lines, Cube, Star };
    // The shape a model of the kind is drawn as; none for a kind of no shape.
    static std::optional<EShape> ShapeOfKind(std::int32_t kind);

    // Calls segment(from, to) for each vertex pair of the shape, in drawing
    // order: consecutive pairs of the first count vertices (count even), a
    // cube's twelve edges or a star's fifteen.
    template <class F>
    static void ForEachSegment(EShape shape, int count, F&& segment) {
        switch (shape) {
            case EShape::Lines:
                assert(count % 2 == 0);  // an odd count would read past the vertices used
                for (int i = 0; i < count; i += 2) {
                    segment(i, i + 1);
                }
                break;
            case EShape::Cube:
                for (int j = 0; j < 3; ++j) {
                    segment(j, j + 1);
                    segment(j + 4, j + 5);
                    segment(j, j + 4);
                }
                segment(3, 0);
                segment(7, 4);
                segment(3, 7);
                break;
            case EShape::Star:
                for (int i = 0; i < 5; ++i) {
                    const int t = (i + 2) % 5;
                    segment(i, t);
                    segment(i + 5, t + 5);
                }
                for (int j = 0; j < 5; ++j) {
                    segment(j, j + 5);
                }
                break;
        }
    }

    // The vertices a drawing of the shape reads. A line model's count is held to
    // the arrays' capacity, which is even, and rounded up to whole pairs: an
    // odd count still reads the vertex after its last one.
    static int VerticesUsed(const CModelBase& model, EShape shape) {
        if (shape != EShape::Lines) {
            return shape == EShape::Cube ? 8 : 10;
        }
        const int count = std::clamp(model.m_count, 0, CModelBase::kMaxVertices);
        return count + (count & 1);
    }

    // One frame of a page: every model of the list erased, then each aimed
    // at the camera and drawn anew. The same pixels as EraseModel over the
    // list followed by Aim and DrawModel over it, for less work: a model
    // that comes out at the very same pixels is not erased, as its draw
    // covers all its erase would; and when no model of the list changed
    // since the last frame, and nothing else drew in between, nothing is
    // drawn at all (the buffer holds that picture already).
    // A view not on show draws nothing, as nobody would see it: its frames
    // leave the models alone, and the first frame on show, or CatchUp as it is
    // about to show, draws the whole picture afresh on black. That is the
    // picture every frame in between would have left: each erases all the
    // last one drew before anything is drawn.
    void DrawFrame(CModelBase* const* models, int count, const CGridTmpl<double>& lookAt,
                   const CGridTmpl<double>& eye);
    // The picture the frames left out while the view was not on show, drawn
    // now; nothing when none was left out.
    void CatchUp(CModelBase* const* models, int count, const CGridTmpl<double>& lookAt,
                 const CGridTmpl<double>& eye);

    // Asks the window to repaint what the routines changed since the last
    // request, if anything. A model erased and drawn again at the very same
    // points has changed nothing, so the unchanged grid of a page costs no
    // repaint; what a model covered before or covers now is repainted.
    void InvalidateChanges();
    // The box of buffer pixels changed since the last call, clipped to the
    // client area (empty when nothing changed); forgets it.
    RECT TakeChanges();

    // Coordinates at or beyond these have no 32-bit pixel.
    static constexpr double kTooHigh = 2147483648.0;  // 2^31
    static constexpr double kTooLow = -2147483649.0;  // -2^31 - 1

    // A screen point in whole pixels: each coordinate truncated toward zero,
    // and one outside the 32-bit range held at its nearest end. False for a
    // point with a NaN coordinate, which has no pixel.
    static bool ToPixel(const CGridTmpl<double>& point, POINT* pixel) {
        if (std::isnan(point.x) || std::isnan(point.y)) {
            return false;
        }
        // Comparisons first, so that no out-of-range value reaches the conversion.
        auto convert = [](double v) {
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

    // When the first paint of any view happened (CLOCK_REALTIME, nanoseconds),
    // 0 before; for measurements of the start-up time.
    static inline std::int64_t s_firstPaint = 0;

    // Segments walked into the buffer since creation, erase and draw alike;
    // for measurements and tests.
    std::uint64_t m_segmentsWalked = 0;

    HDC m_hMemDC = nullptr;
    RECT m_rcClient;
    HBITMAP m_hBitmap = nullptr;
    HPEN m_pens[kPenSlots] = {};

  private:
    using SPixel = CRepaintBox::SPixel;

    void SelectPen(int slot);
    // What the routines share: the pen, the pixels, the drawing and the box.
    void Erase(const CModelBase& model, EShape shape);
    void Draw(CModelBase& model, EShape shape);
    // The model's vertices in pixels, the first count of them, into pixels.
    static void ToPixels(const CModelBase& model, int count, SPixel* pixels);
    // Draws the shape's segments between the pixels in the selected pen and
    // returns the box of their end points, clipped to the buffer. Given
    // boxes, only the segments that may have a pixel in one of them.
    RECT DrawSegments(const SPixel* pixels, int count, EShape shape, const RECT* only = nullptr,
                      int onlyCount = 0);
    // Whether the segment from a to b may have a pixel in box: false only
    // when the box misses the box of its end points or lies wholly more than
    // a pixel to one side of it. The first test, which rejects most, is
    // inline: a frame asks it of every kept segment and every box.
    static bool MayTouch(const SPixel& a, const SPixel& b, const RECT& box) {
        return std::max(a.x, b.x) >= box.left && std::min(a.x, b.x) < box.right &&
               std::max(a.y, b.y) >= box.top && std::min(a.y, b.y) < box.bottom &&
               LineNearBox(a, b, box);
    }
    static bool LineNearBox(const SPixel& a, const SPixel& b, const RECT& box);
    // A box of the frame that its later draws must cover again.
    void AddDirty(const RECT& box);
    // Deletes the memory context, the bitmap and the pens.
    void DeleteDrawingObjects();
    // DrawFrame on a view on show.
    void DrawFrameInSight(CModelBase* const* models, int count, const CGridTmpl<double>& lookAt,
                          const CGridTmpl<double>& eye);
    // DrawFrame's first pass over model index: aims and refreshes it,
    // erases it if it moved, and keeps its pixels for the next frame; true
    // when it is as the last frame drew it.
    bool ScanModel(CModelBase& model, int index, const CGridTmpl<double>& lookAt,
                   const CGridTmpl<double>& eye, int* kept);
    // Keeps the count pixels of the model at index for the next frame; true
    // when the last frame had the same model there at the same pixels.
    bool KeepFramePixels(const CModelBase& model, int index, const SPixel* pixels, int count,
                         bool moved, int* kept);
    // DrawFrame's second pass: the model at index drawn at its new pixels.
    void DrawAgain(const CModelBase& model, int index);

    CRepaintBox m_repaint;
    // The pixels of the routine at work, twice CModelBase::kMaxVertices of
    // them (a frame compares a model's pixels before and after), made at
    // creation; none when there was no memory for them, and then no draw
    // routine puts anything in the buffer.
    std::unique_ptr<SPixel[]> m_pixels;

    // What the last frame drew, model by model, its pixels one model after
    // the other in m_framePixels while they fit. Only a frame leaves the
    // buffer clean: any other drawing or clearing makes the next frame draw
    // everything.
    struct SFrameModel {
        const CModelBase* model;  // null: not kept
        const SPixel* pixels;     // in m_framePixels
        int count;
        bool moved;
        bool same;  // as the last frame drew it
    };
    static constexpr int kFrameModels = 128;
    static constexpr int kFramePixels = 2 * CModelBase::kMaxVertices;
    SFrameModel m_frame[kFrameModels] = {};
    int m_frameCount = 0;
    bool m_frameClean = false;
    // Frames were left out while the view was not on show.
    bool m_behind = false;
    // The buffer was cleared for this frame: there is nothing to erase.
    bool m_blank = false;
    std::unique_ptr<SPixel[]> m_framePixels;
    // A frame's boxes written before the draw of the model at work: what
    // the moved models erased and the models before it drew. A model drawn
    // where the last frame drew it, on a clean buffer, redraws only its
    // segments through them; the rest of its pixels still hold the picture.
    static constexpr int kDirtyBoxes = 256;
    RECT m_dirty[kDirtyBoxes] = {};
    int m_dirtyCount = 0;
    bool m_allDirty = true;
};

// The drawing area of a scene page: a child window with a back buffer one
// pixel larger than its client area, a table of 256 pen slots, and the erase
// and draw routines of the three model kinds. All drawing goes into the back
// buffer; a paint copies the whole buffer to the window. The view keeps the
// box of what its routines changed, so that a repaint asks for that part only.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

#include "geometry/model_base.h"
#include "platform/raster/raster.h"
#include "platform/window.h"
#include "platform/window_impl.h"

class CStaticView : public CWindowImpl<CStaticView, CStaticT<CWindow>> {
  public:
    // Pen slots: a model's kind code is its pen slot.
    static constexpr int kErasePen = 255;

    CStaticView() = default;
    ~CStaticView() override;

    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                              DWORD dwMsgMapID = 0) override;

    LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

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

    // Asks the window to repaint what the routines changed since the last
    // request, if anything. A model erased and drawn again at the very same
    // points has changed nothing, so the unchanged grid of a page costs no
    // repaint; what a model covered before or covers now is repainted.
    void InvalidateChanges();
    // The box of buffer pixels changed since the last call, clipped to the
    // client area (empty when nothing changed); forgets it.
    RECT TakeChanges();

    // A screen point in whole pixels: each coordinate truncated toward zero,
    // and one outside the 32-bit range held at its nearest end. False for a
    // point with a NaN coordinate, which has no pixel.
    static bool ToPixel(const CGridTmpl<double>& point, POINT* pixel) {
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

    // When the first paint of any view happened (CLOCK_REALTIME, nanoseconds),
    // 0 before; for measurements of the start-up time.
    static inline std::int64_t s_firstPaint = 0;

    HDC m_hMemDC = nullptr;
    RECT m_rcClient;
    HBITMAP m_hBitmap = nullptr;
    HPEN m_pens[256] = {};

  private:
    // What one erase routine covered, kept until the model is drawn again.
    struct SErased {
        const CModelBase* m_model;
        RECT m_box;
    };
    static constexpr int kErasedCapacity = 128;

    void SelectPen(int slot);
    // Pens, walks and boxes the routines share.
    void Erase(const CModelBase& model, void (CStaticView::*walk)(const CModelBase&));
    void Draw(CModelBase& model, void (CStaticView::*walk)(const CModelBase&));
    static int VerticesUsed(const CModelBase& model);
    RECT WalkBox(const CModelBase& model, void (CStaticView::*walk)(const CModelBase&));
    void AddChange(const RECT& box);
    void Segment(const CModelBase& model, int from, int to);
    void Lines(const CModelBase& model);
    void Cube(const CModelBase& model);
    void Star(const CModelBase& model);
    void Release();

    // Extent of the segment end points walked by the current routine.
    LONG m_minX = 0;
    LONG m_minY = 0;
    LONG m_maxX = -1;
    LONG m_maxY = -1;
    RECT m_changed = {};  // since the last TakeChanges
    SErased m_erased[kErasedCapacity];
    int m_erasedCount = 0;
    // The screen points a model had before its draw routine refreshed it
    // (raw storage for CModelBase::kMaxVertices points, made at creation).
    unsigned char* m_before = nullptr;
};

// The drawing area of a scene page: a child window with a back buffer one
// pixel larger than its client area, a table of 256 pen slots, and the erase
// and draw routines of the three model kinds. All drawing goes into the back
// buffer; a paint copies the whole buffer to the window.
#pragma once

#include "geometry/model_base.h"
#include "platform/raster/raster.h"
#include "platform/window.h"
#include "platform/window_impl.h"

class CStaticView : public CWindowImpl<CStaticView, CStaticT<CWindow>, CWinTraits<0x56000000, 0>> {
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

    // A screen point in whole pixels: each coordinate truncated toward zero,
    // and one outside the 32-bit range held at its nearest end. False for a
    // point with a NaN coordinate, which has no pixel.
    static bool ToPixel(const CGridTmpl<double>& point, POINT* pixel);

    HDC m_hMemDC = nullptr;
    RECT m_rcClient;
    HBITMAP m_hBitmap = nullptr;
    HPEN m_pens[256] = {};

  private:
    void SelectPen(int slot);
    void Segment(const CModelBase& model, int from, int to);
    void Lines(const CModelBase& model);
    void Cube(const CModelBase& model);
    void Star(const CModelBase& model);
    void Release();
};

// Page two as the program runs it, headless: the real dialog from the
// program's templates, shown top-level on the offscreen platform, START
// clicked with a fixed seed and its timer stopped, so that a caller drives
// each tick itself. Shared by the benchmarks and the callgrind program.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "app/resources.h"
#include "pages/main_dlg2.h"
#include "pages/resource_ids.h"
#include "platform/crt_random.h"
#include "platform/raster/clipped_line.h"
#include "platform/window.h"

namespace lunvik::bench {

struct SSegment {
    int x0, y0, x1, y1;
};

// A QApplication on the offscreen platform unless the caller chose another.
inline std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    return std::make_unique<QApplication>(argc, argv);
}

// The page with its drawing area in reach.
class CBenchPage : public CMainDlg2 {
  public:
    using CMainDlg2::m_view;
};

class CPageTwoScene {
  public:
    // linesPerWall: the grid's lines per group, 10 as the program has it.
    explicit CPageTwoScene(int linesPerWall = 10) {
        SetResources(&LunvikResources());
        m_page = std::make_unique<CBenchPage>();
        m_page->Create(nullptr);
        ::KillTimer(m_page->m_hWnd, 0);
        ::ShowWindow(m_page->m_hWnd, SW_SHOWNORMAL);
        QCoreApplication::processEvents();  // the window is exposed, and paints from now on
        if (linesPerWall != 10) {
            CModelParam grid{};
            grid.sizeX[0] = 1.0 / linesPerWall;
            grid.sizeZ[0] = 1.0 / linesPerWall;
            grid.count = 32 * linesPerWall;
            m_page->m_line.Build(grid);
            m_page->m_line.ToWorld();
        }
        // Placed and started from a fixed seed, so that every run draws the
        // same frames.
        CrtSrand(20261207);
        for (int i = 0; i < m_page->m_animatedCount; ++i) {
            CModelBase& model = *m_page->m_animated[i];
            const double x = CrtRand() / double{CRT_RAND_MAX};
            const double y = CrtRand() / double{CRT_RAND_MAX};
            const double z = CrtRand() / double{CRT_RAND_MAX};
            model.m_position = CGridTmpl<double>(x, y, z);
            model.ToWorld();
        }
        ::SendMessageW(m_page->m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_START, BN_CLICKED), 0);
        // The first frames paint the whole page; the steady state starts after.
        for (int i = 0; i < 5; ++i) {
            Tick();
        }
    }

    ~CPageTwoScene() { ::DestroyWindow(m_page->m_hWnd); }

    // One whole tick: the timer message, then the repaint it asked for.
    void Tick() {
        ::SendMessageW(m_page->m_hWnd, WM_TIMER, 0, 0);
        QCoreApplication::sendPostedEvents();
    }

    // The segments of the models as they were last drawn, in drawing order.
    void AppendSegments(std::vector<SSegment>& out) const {
        for (int m = 0; m < m_page->m_drawnCount; ++m) {
            const CModelBase& model = *m_page->m_drawn[m];
            const std::optional<CStaticView::EShape> shape = CStaticView::ShapeOfKind(model.m_kind);
            if (!shape) {
                continue;
            }
            CStaticView::ForEachSegment(*shape, CStaticView::VerticesUsed(model, *shape),
                                        [&](int a, int b) {
                                            POINT p;
                                            POINT q;
                                            if (CStaticView::ToPixel(model.m_screen[a], &p) &&
                                                CStaticView::ToPixel(model.m_screen[b], &q)) {
                                                out.push_back({p.x, p.y, q.x, q.y});
                                            }
                                        });
        }
    }

    // Pixels written by drawing these segments into the view's buffer.
    std::int64_t Pixels(const std::vector<SSegment>& segments) const {
        std::int64_t pixels = 0;
        for (const SSegment& s : segments) {
            pixels += CClippedLine(s.x0, s.y0, s.x1, s.y1, Width(), Height()).Count();
        }
        return pixels;
    }

    int Width() const { return m_page->m_view[0].m_hBitmap->m_width; }
    int Height() const { return m_page->m_view[0].m_hBitmap->m_height; }
    CBenchPage& Page() { return *m_page; }

  private:
    std::unique_ptr<CBenchPage> m_page;
};

}  // namespace lunvik::bench

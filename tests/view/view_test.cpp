// CStaticView: the back buffer, the pens, and the erase/draw routines that
// keep the picture current without ever clearing it.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "geometry/cube.h"
#include "geometry/line.h"
#include "geometry/star.h"
#include "platform/qt/handle.h"
#include "tests/geometry/geometry_test_util.h"
#include "tests/support/alloc_counter.h"
#include "view/static_view.h"

namespace {

using lunvik::test::V;

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr LONG kClientWidth = 300;
constexpr LONG kClientHeight = 200;

std::size_t LitPixels(const CStaticView& view) {
    const HBITMAP b = view.m_hBitmap;
    return std::int64_t{b->m_width} * b->m_height -
           std::count(b->m_bits, b->m_bits + std::int64_t{b->m_width} * b->m_height, kBlack);
}

// The models of a page, in draw-list order: the line grid, then cubes and stars.
struct CScene {
    CScene() {
        m_models.push_back(std::make_unique<CLine>());
        m_models.back()->Build(lunvik::test::LineParam(0.1, 0.1, 320));
        for (int i = 0; i < 3; ++i) {
            m_models.push_back(std::make_unique<CCube>());
            m_models.back()->Build(lunvik::test::CubeParam(0.05, 0.05, 0.05));
            m_models.push_back(std::make_unique<CStar>());
            m_models.back()->Build(lunvik::test::StarParam(0.05, 0.025));
        }
        std::mt19937 rng(5);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (auto& m : m_models) {
            m->m_screenSize = V(kClientWidth, kClientHeight, 0);
            if (m->m_kind != 0) {
                m->m_position = V(unit(rng), unit(rng), unit(rng));
            }
            m->ToWorld();
        }
        Look(V(0.5, 0.5, -1.0), V(0.5, 0.5, 0.5));
    }

    void Look(const V& eye, const V& lookAt) {
        for (auto& m : m_models) {
            m->m_lookAt = lookAt;
            m->m_eye = eye;
            m->UpdateCamera();
        }
    }

    // The routine pair of each kind, as the pages choose them.
    using Routine = void (CStaticView::*)(CModelBase&);
    static constexpr Routine kErase[] = {&CStaticView::EraseLines, &CStaticView::EraseCube,
                                         &CStaticView::EraseStar};
    static constexpr Routine kDraw[] = {&CStaticView::DrawLines, &CStaticView::DrawCube,
                                        &CStaticView::DrawStar};

    void Run(CStaticView& view, const Routine (&routines)[3]) {
        for (auto& m : m_models) {
            (view.*routines[m->m_kind])(*m);
        }
    }

    std::vector<std::unique_ptr<CModelBase>> m_models;
};

// A plain top-level window to hold the views, as a page's placeholder does.
class CParentWindow : public CWindowImpl<CParentWindow, CWindow, CWinTraits<WS_OVERLAPPED, 0>> {
  public:
    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override {
        return FALSE;
    }
};

class StaticView : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(m_parent.Create(nullptr, RECT{0, 0, 400, 300}), nullptr);
        ASSERT_NE(m_view.Create(m_parent, RECT{10, 20, 10 + kClientWidth, 20 + kClientHeight}),
                  nullptr);
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    CParentWindow m_parent;
    CStaticView m_view;
};

TEST_F(StaticView, ABlackBufferOnePixelLargerFourPensAndAPaintThatShowsTheBuffer) {
    CStaticView unused;  // like the four views of a page that are never created
    EXPECT_EQ(m_view.m_rcClient.right, kClientWidth);
    EXPECT_EQ(m_view.m_rcClient.bottom, kClientHeight);
    ASSERT_NE(m_view.m_hBitmap, nullptr);
    EXPECT_EQ(m_view.m_hBitmap->m_width, kClientWidth + 1);
    EXPECT_EQ(m_view.m_hBitmap->m_height, kClientHeight + 1);
    EXPECT_EQ(m_view.m_hMemDC->m_bitmap, m_view.m_hBitmap);
    EXPECT_EQ(LitPixels(m_view), 0u);
    const std::uint32_t colours[] = {0xFF00FF00u, kRed, 0xFF00FFFFu};
    for (int slot = 0; slot < 256; ++slot) {
        if (slot < 3 || slot == 255) {
            ASSERT_NE(m_view.m_pens[slot], nullptr) << slot;
            EXPECT_EQ(m_view.m_pens[slot]->m_pixel, slot == 255 ? kBlack : colours[slot]);
        } else {
            EXPECT_EQ(m_view.m_pens[slot], nullptr) << slot;
        }
    }
    EXPECT_EQ(m_view.m_hMemDC->m_pen, m_view.m_pens[0]);

    // A cube at a known camera, drawn into the buffer and painted.
    auto cube = std::make_unique<CCube>();
    cube->Build(lunvik::test::CubeParam(0.5, 0.5, 0.5));
    cube->m_screenSize = V(kClientWidth, kClientHeight, 0);
    cube->m_eye = V(0, 0, -2);
    cube->UpdateCamera();
    m_view.DrawCube(*cube);

    // The near face (depth 1.75) spans x 128.57..171.43 and y 85.71..114.29,
    // truncated to 128..171 and 85..114; it encloses the far face.
    const HBITMAP b = m_view.m_hBitmap;
    QRect lit;
    for (LONG y = 0; y < b->m_height; ++y) {
        for (LONG x = 0; x < b->m_width; ++x) {
            const std::uint32_t p = b->m_bits[y * b->m_width + x];
            ASSERT_TRUE(p == kBlack || p == kRed);
            lit |= p == kRed ? QRect(x, y, 1, 1) : QRect();
        }
    }
    EXPECT_EQ(lit, QRect(QPoint(128, 85), QPoint(171, 114)));
    EXPECT_EQ(b->m_bits[85 * b->m_width + 128], kRed);
    EXPECT_EQ(b->m_bits[88 * b->m_width + 133], kRed);  // far face corner
    EXPECT_EQ(b->m_bits[100 * b->m_width + 150], kBlack);

    const QImage shot =
        WidgetFromHandle(m_view)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shot.size(), QSize(kClientWidth, kClientHeight));
    for (int y = 0; y < kClientHeight; ++y) {
        for (int x = 0; x < kClientWidth; ++x) {
            ASSERT_EQ(shot.pixel(x, y), b->m_bits[y * b->m_width + x]) << x << ", " << y;
        }
    }
}

// Frames as a page runs them: move and turn, erase the last frame, look, draw.
// Eyes come close to the models (huge coordinates) and onto the look-at point
// (NaN coordinates) now and then. None of it allocates.
TEST_F(StaticView, AfterManyFramesTheBufferHoldsOnlyTheLastFrame) {
    CScene scene;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_real_distribution<double> turn(-0.3, 0.3);
    std::vector<V> velocities(scene.m_models.size());
    for (V& v : velocities) {
        v = V((unit(rng) - 0.5) * 0.1, (unit(rng) - 0.5) * 0.1, (unit(rng) - 0.5) * 0.1);
    }
    const V lookAt(0.5, 0.5, 0.5);
    int nanPoints = 0;
    int hugeBelow = 0;
    int hugeAbove = 0;
    const std::size_t allocations = lunvik::test::CountAllocations([&] {
        for (int frame = 0; frame < 150; ++frame) {
            for (std::size_t i = 1; i < scene.m_models.size(); ++i) {
                double ax = turn(rng), ay = turn(rng), az = turn(rng);
                scene.m_models[i]->MoveAndBounce(velocities[i], 1.0);
                scene.m_models[i]->Rotate(ax, ay, az, 1.0);
            }
            scene.Run(m_view, CScene::kErase);
            ASSERT_EQ(LitPixels(m_view), 0u) << "erase of frame " << frame - 1 << " left pixels";
            V eye(unit(rng) * 3 - 1, unit(rng) * 3 - 1, -1.5 + unit(rng));
            V target = lookAt;
            if (frame % 10 == 3) {
                eye = lookAt;  // a zero camera basis: every point has no pixel
            } else if (frame % 10 == 7) {
                // Looking along +z from just before a model's corner, beside it: the
                // corner's depth is tiny, its coordinates far beyond 32 bits.
                const CModelBase& m = *scene.m_models[frame % 6 + 1];
                eye = V(m.m_model[0].x + m.m_position.x + (frame % 20 == 7 ? 0.03 : -0.03),
                        m.m_model[0].y + m.m_position.y, m.m_model[0].z + m.m_position.z - 1e-12);
                target = V(eye.x, eye.y, eye.z + 1);
            }
            scene.Look(eye, target);
            scene.Run(m_view, CScene::kDraw);
            for (const auto& m : scene.m_models) {
                for (int i = 0; i < m->m_count; ++i) {
                    const double x = m->m_screen[i].x;
                    nanPoints += std::isnan(x) ? 1 : 0;
                    hugeBelow += x < -4e9 ? 1 : 0;
                    hugeAbove += x > 4e9 ? 1 : 0;
                }
            }
        }
    });
    EXPECT_EQ(allocations, 0u);
    EXPECT_GT(nanPoints, 0);  // the frames did reach the cases they are meant to
    EXPECT_GT(hugeBelow, 0);
    EXPECT_GT(hugeAbove, 0);

    CStaticView fresh;
    ASSERT_NE(fresh.Create(m_parent, RECT{0, 0, kClientWidth, kClientHeight}), nullptr);
    scene.Run(fresh, CScene::kDraw);  // the same models and camera project the same way again
    EXPECT_GT(LitPixels(fresh), 100u);
    const std::int64_t size = std::int64_t{kClientWidth + 1} * (kClientHeight + 1);
    EXPECT_TRUE(std::equal(fresh.m_hBitmap->m_bits, fresh.m_hBitmap->m_bits + size,
                           m_view.m_hBitmap->m_bits));
}

TEST_F(StaticView, DrawingRoutinesLeaveTheirPenSelected) {
    CScene scene;
    scene.Run(m_view, CScene::kDraw);
    CModelBase& grid = *scene.m_models[0];
    CModelBase& cube = *scene.m_models[1];
    m_view.EraseCube(cube);
    EXPECT_EQ(m_view.m_hMemDC->m_pen, m_view.m_pens[255]);
    // No pairs, no pixels, but the pen is still selected; a kind code outside
    // the pen table selects nothing.
    const std::size_t lit = LitPixels(m_view);
    grid.m_count = 0;
    m_view.DrawLines(grid);
    EXPECT_EQ(m_view.m_hMemDC->m_pen, m_view.m_pens[0]);
    EXPECT_EQ(LitPixels(m_view), lit);
    cube.m_kind = 1000;
    m_view.DrawCube(cube);
    EXPECT_EQ(m_view.m_hMemDC->m_pen, m_view.m_pens[0]);
}

TEST(StaticViewPixels, TruncateTowardZeroSaturateAndRefuseNaN) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr LONG kMax = std::numeric_limits<LONG>::max();
    constexpr LONG kMin = std::numeric_limits<LONG>::min();
    const struct {
        double x, y;
        LONG px, py;
    } cases[] = {
        {-0.7, 10.9, 0, 10},
        {2147483647.9, -2147483648.9, kMax, kMin},
        {2147483648.0, -2147483649.0, kMax, kMin},
        {kInf, -kInf, kMax, kMin},
    };
    POINT p;
    for (const auto& c : cases) {
        ASSERT_TRUE(CStaticView::ToPixel(V(c.x, c.y, 0), &p)) << c.x << ", " << c.y;
        EXPECT_EQ(p.x, c.px) << c.x;
        EXPECT_EQ(p.y, c.py) << c.y;
    }
    EXPECT_FALSE(CStaticView::ToPixel(V(std::nan(""), 1, 0), &p));
    EXPECT_FALSE(CStaticView::ToPixel(V(1, std::nan(""), 0), &p));
}

}  // namespace

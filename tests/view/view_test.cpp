// CStaticView: the back buffer, the pens, and the erase/draw routines that
// keep the picture current without ever clearing it.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
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
#include "tests/support/alloc_counter.h"
#include "view/static_view.h"

namespace {

using CVector = CGridTmpl<double>;

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr LONG kClientWidth = 300;
constexpr LONG kClientHeight = 200;

std::size_t LitPixels(const CStaticView& view) {
    std::size_t lit = 0;
    const HBITMAP b = view.m_hBitmap;
    for (std::int64_t i = 0; i < std::int64_t{b->m_width} * b->m_height; ++i) {
        lit += b->m_bits[i] != kBlack ? 1 : 0;
    }
    return lit;
}

bool SameBuffer(const CStaticView& a, const CStaticView& b) {
    const HBITMAP x = a.m_hBitmap;
    const HBITMAP y = b.m_hBitmap;
    return x->m_width == y->m_width && x->m_height == y->m_height &&
           std::equal(x->m_bits, x->m_bits + std::int64_t{x->m_width} * x->m_height, y->m_bits);
}

// The models of a page, in draw-list order: the line grid, then cubes and stars.
struct CScene {
    CScene() {
        CModelParam grid;
        grid.sizeX[0] = 0.1;
        grid.sizeZ[0] = 0.1;
        grid.count = 320;
        m_models.push_back(std::make_unique<CLine>());
        m_models.back()->Build(grid);
        CModelParam box;
        box.sizeX[0] = box.sizeY[0] = box.sizeZ[0] = 0.05;
        CModelParam star;
        star.radius = 0.05;
        star.depth = 0.025;
        for (int i = 0; i < 3; ++i) {
            m_models.push_back(std::make_unique<CCube>());
            m_models.back()->Build(box);
            m_models.push_back(std::make_unique<CStar>());
            m_models.back()->Build(star);
        }
        std::mt19937 rng(5);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        for (auto& m : m_models) {
            m->m_screenSize = CVector(kClientWidth, kClientHeight, 0);
            if (m->m_kind != 0) {
                m->m_position = CVector(unit(rng), unit(rng), unit(rng));
            }
            m->ToWorld();
        }
        Look(CVector(0.5, 0.5, -1.0), CVector(0.5, 0.5, 0.5));
    }

    void Look(const CVector& eye, const CVector& lookAt) {
        for (auto& m : m_models) {
            m->m_lookAt = lookAt;
            m->UpdateCamera();
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

    void Erase(CStaticView& view) {
        for (auto& m : m_models) {
            (view.*kErase[m->m_kind])(*m);
        }
    }
    void Draw(CStaticView& view) {
        for (auto& m : m_models) {
            (view.*kDraw[m->m_kind])(*m);
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
    void SetUp() override { ASSERT_NE(m_parent.Create(nullptr, RECT{0, 0, 400, 300}), nullptr); }
    void TearDown() override { m_parent.DestroyWindow(); }

    // A failed creation stops the test (wrap the call in ASSERT_NO_FATAL_FAILURE).
    static void Create(CParentWindow& parent, CStaticView& view) {
        const RECT rect{10, 20, 10 + kClientWidth, 20 + kClientHeight};
        ASSERT_NE(view.Create(parent, rect), nullptr);
    }

    QImage Grab(const CStaticView& view) {
        return WidgetFromHandle(view.m_hWnd)
            ->grab()
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    CParentWindow m_parent;
};

TEST_F(StaticView, CreationMakesABlackBufferOnePixelLargerAndTheFourPens) {
    CStaticView unused;  // like the four views of a page that are never created
    EXPECT_EQ(unused.m_hMemDC, nullptr);
    EXPECT_EQ(unused.m_hBitmap, nullptr);

    CStaticView view;
    ASSERT_NO_FATAL_FAILURE(Create(m_parent, view));
    EXPECT_EQ(view.m_rcClient.right, kClientWidth);
    EXPECT_EQ(view.m_rcClient.bottom, kClientHeight);
    ASSERT_NE(view.m_hBitmap, nullptr);
    EXPECT_EQ(view.m_hBitmap->m_width, kClientWidth + 1);
    EXPECT_EQ(view.m_hBitmap->m_height, kClientHeight + 1);
    EXPECT_EQ(view.m_hMemDC->m_bitmap, view.m_hBitmap);
    EXPECT_EQ(LitPixels(view), 0u);

    const std::uint32_t colours[] = {0xFF00FF00u, kRed, 0xFF00FFFFu};
    for (int slot = 0; slot < 256; ++slot) {
        if (slot < 3 || slot == 255) {
            ASSERT_NE(view.m_pens[slot], nullptr) << slot;
            EXPECT_EQ(view.m_pens[slot]->m_pixel, slot == 255 ? kBlack : colours[slot]);
        } else {
            EXPECT_EQ(view.m_pens[slot], nullptr) << slot;
        }
    }
    EXPECT_EQ(view.m_hMemDC->m_pen, view.m_pens[0]);

    const QImage shot = Grab(view);
    ASSERT_EQ(shot.size(), QSize(kClientWidth, kClientHeight));
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            ASSERT_EQ(shot.pixel(x, y), kBlack) << x << ", " << y;
        }
    }
}

TEST_F(StaticView, ThePaintShowsTheBufferOfACubeAtAKnownCamera) {
    CStaticView view;
    ASSERT_NO_FATAL_FAILURE(Create(m_parent, view));
    auto cube = std::make_unique<CCube>();
    CModelParam box;
    box.sizeX[0] = box.sizeY[0] = box.sizeZ[0] = 0.5;
    cube->Build(box);
    cube->m_screenSize = CVector(kClientWidth, kClientHeight, 0);
    cube->m_eye = CVector(0, 0, -2);
    cube->UpdateCamera();
    view.DrawCube(*cube);

    // The near face (depth 1.75) spans x 128.57..171.43 and y 85.71..114.29,
    // truncated to 128..171 and 85..114; it encloses the far face.
    LONG left = kClientWidth, right = -1, top = kClientHeight, bottom = -1;
    const HBITMAP b = view.m_hBitmap;
    for (LONG y = 0; y < b->m_height; ++y) {
        for (LONG x = 0; x < b->m_width; ++x) {
            const std::uint32_t p = b->m_bits[y * b->m_width + x];
            ASSERT_TRUE(p == kBlack || p == kRed);
            if (p == kRed) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    EXPECT_EQ(left, 128);
    EXPECT_EQ(right, 171);
    EXPECT_EQ(top, 85);
    EXPECT_EQ(bottom, 114);
    EXPECT_EQ(b->m_bits[85 * b->m_width + 128], kRed);
    EXPECT_EQ(b->m_bits[88 * b->m_width + 133], kRed);  // far face corner
    EXPECT_EQ(b->m_bits[100 * b->m_width + 150], kBlack);

    const QImage shot = Grab(view);
    for (int y = 0; y < kClientHeight; ++y) {
        for (int x = 0; x < kClientWidth; ++x) {
            ASSERT_EQ(shot.pixel(x, y), b->m_bits[y * b->m_width + x]) << x << ", " << y;
        }
    }
}

TEST_F(StaticView, ErasingRightAfterDrawingLeavesBlack) {
    CStaticView view;
    ASSERT_NO_FATAL_FAILURE(Create(m_parent, view));
    CScene scene;
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> around(-1.5, 1.5);
    for (int i = 0; i < 20; ++i) {
        scene.Look(CVector(0.5 + around(rng), 0.5 + around(rng), -0.5 + around(rng)),
                   CVector(0.5, 0.5, 0.5));
        scene.Draw(view);
        ASSERT_GT(LitPixels(view), 0u);
        scene.Erase(view);
        ASSERT_EQ(LitPixels(view), 0u) << "frame " << i;
    }
}

// Frames as a page runs them: move and turn, erase the last frame, look, draw.
// Eyes come close to the models (huge coordinates) and onto the look-at point
// (NaN coordinates) now and then.
TEST_F(StaticView, AfterManyFramesTheBufferHoldsOnlyTheLastFrame) {
    CStaticView view;
    ASSERT_NO_FATAL_FAILURE(Create(m_parent, view));
    CScene scene;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::uniform_real_distribution<double> turn(-0.3, 0.3);
    std::vector<CVector> velocities(scene.m_models.size());
    for (CVector& v : velocities) {
        v = CVector((unit(rng) - 0.5) * 0.1, (unit(rng) - 0.5) * 0.1, (unit(rng) - 0.5) * 0.1);
    }
    const CVector lookAt(0.5, 0.5, 0.5);
    int nanPoints = 0;
    int hugeBelow = 0;
    int hugeAbove = 0;
    for (int frame = 0; frame < 150; ++frame) {
        for (std::size_t i = 1; i < scene.m_models.size(); ++i) {
            double ax = turn(rng), ay = turn(rng), az = turn(rng);
            scene.m_models[i]->MoveAndBounce(velocities[i], 1.0);
            scene.m_models[i]->Rotate(ax, ay, az, 1.0);
        }
        scene.Erase(view);
        ASSERT_EQ(LitPixels(view), 0u) << "erase of frame " << frame - 1 << " left pixels";
        CVector eye(unit(rng) * 3 - 1, unit(rng) * 3 - 1, -1.5 + unit(rng));
        CVector target = lookAt;
        if (frame % 10 == 3) {
            eye = lookAt;  // a zero camera basis: every point has no pixel
        } else if (frame % 10 == 7) {
            // Looking along +z from just before a model's corner, beside it: the
            // corner's depth is tiny, its coordinates far beyond 32 bits.
            const CModelBase& m = *scene.m_models[frame % 6 + 1];
            eye = CVector(m.m_model[0].x + m.m_position.x + (frame % 20 == 7 ? 0.03 : -0.03),
                          m.m_model[0].y + m.m_position.y, m.m_model[0].z + m.m_position.z - 1e-12);
            target = CVector(eye.x, eye.y, eye.z + 1);
        }
        scene.Look(eye, target);
        scene.Draw(view);
        for (const auto& m : scene.m_models) {
            for (int i = 0; i < m->m_count; ++i) {
                const double x = m->m_screen[i].x;
                nanPoints += std::isnan(x) ? 1 : 0;
                hugeBelow += x < -4e9 ? 1 : 0;
                hugeAbove += x > 4e9 ? 1 : 0;
            }
        }
    }
    EXPECT_GT(nanPoints, 0);  // the frames did reach the cases they are meant to
    EXPECT_GT(hugeBelow, 0);
    EXPECT_GT(hugeAbove, 0);

    CStaticView fresh;
    ASSERT_NO_FATAL_FAILURE(Create(m_parent, fresh));
    scene.Draw(fresh);  // the same models and camera project the same way again
    EXPECT_GT(LitPixels(fresh), 100u);
    EXPECT_TRUE(SameBuffer(view, fresh));
}

TEST_F(StaticView, DrawingRoutinesAllocateNothingAndLeaveTheirPenSelected) {
    CStaticView view;
    ASSERT_NO_FATAL_FAILURE(Create(m_parent, view));
    CScene scene;
    const std::size_t allocations = lunvik::test::CountAllocations([&] {
        for (int i = 0; i < 5; ++i) {
            scene.Erase(view);
            scene.Draw(view);
        }
    });
    EXPECT_EQ(allocations, 0u);

    CModelBase& grid = *scene.m_models[0];
    CModelBase& cube = *scene.m_models[1];
    view.EraseCube(cube);
    EXPECT_EQ(view.m_hMemDC->m_pen, view.m_pens[255]);
    view.DrawCube(cube);
    EXPECT_EQ(view.m_hMemDC->m_pen, view.m_pens[1]);

    // No pairs, no pixels, but the pen is still selected; a kind code outside
    // the pen table selects nothing.
    view.EraseLines(grid);
    const std::size_t lit = LitPixels(view);
    grid.m_count = 0;
    view.DrawLines(grid);
    EXPECT_EQ(view.m_hMemDC->m_pen, view.m_pens[0]);
    EXPECT_EQ(LitPixels(view), lit);
    cube.m_kind = 1000;
    view.DrawCube(cube);
    EXPECT_EQ(view.m_hMemDC->m_pen, view.m_pens[0]);
}

TEST(StaticViewPixels, TruncateTowardZeroSaturateAndRefuseNaN) {
    struct Case {
        double x, y;
        LONG px, py;
    };
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr LONG kMax = std::numeric_limits<LONG>::max();
    constexpr LONG kMin = std::numeric_limits<LONG>::min();
    const Case cases[] = {
        {-0.7, 10.9, 0, 10},
        {42.9, -3.9, 42, -3},
        {12.9, -0.0, 12, 0},
        {2147483647.9, -2147483648.9, kMax, kMin},
        {2147483648.0, -2147483649.0, kMax, kMin},
        {1e300, -1e300, kMax, kMin},
        {kInf, -kInf, kMax, kMin},
    };
    for (const Case& c : cases) {
        POINT p;
        ASSERT_TRUE(CStaticView::ToPixel(CVector(c.x, c.y, 0), &p)) << c.x << ", " << c.y;
        EXPECT_EQ(p.x, c.px) << c.x;
        EXPECT_EQ(p.y, c.py) << c.y;
    }
    POINT p;
    const double nan = std::nan("");
    EXPECT_FALSE(CStaticView::ToPixel(CVector(nan, 1, 0), &p));
    EXPECT_FALSE(CStaticView::ToPixel(CVector(1, nan, 0), &p));
}

}  // namespace

// CStaticView: the back buffer, and the erase/draw routines that keep the
// picture current without ever clearing it.
#include <gtest/gtest.h>

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
#include "tests/geometry/geometry_test_util.h"
#include "tests/platform/backend_support.h"
#include "tests/support/alloc_counter.h"
#include "view/static_view.h"

namespace {

using lunvik::test::Param;
using lunvik::test::V;

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr LONG kWidth = 300;
constexpr LONG kHeight = 200;

std::uint32_t* Bits(const CStaticView& view) {
    return view.m_hBitmap->m_bits;
}
std::int64_t Size(const CStaticView& view) {
    return std::int64_t{view.m_hBitmap->m_width} * view.m_hBitmap->m_height;
}
std::int64_t LitPixels(const CStaticView& view) {
    return Size(view) - std::count(Bits(view), Bits(view) + Size(view), kBlack);
}

// A page's models in draw-list order, a line grid, then cubes and stars, with
// each kind's routine pair as the pages choose them.
struct CScene {
    using Routine = void (CStaticView::*)(CModelBase&);
    static constexpr Routine kErase[] = {&CStaticView::EraseLines, &CStaticView::EraseCube,
                                         &CStaticView::EraseStar};
    static constexpr Routine kDraw[] = {&CStaticView::DrawLines, &CStaticView::DrawCube,
                                        &CStaticView::DrawStar};

    CScene() {
        std::mt19937 rng(5);
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        m_models.push_back(std::make_unique<CLine>());
        m_models.back()->Build(Param(0.1, 0, 0.1, 0, 0, 320));
        for (int i = 0; i < 6; ++i) {
            m_models.push_back(i % 2 ? std::unique_ptr<CModelBase>(std::make_unique<CStar>())
                                     : std::make_unique<CCube>());
            m_models.back()->Build(Param(0.05, 0.05, 0.05, 0.05, 0.025));
            m_models.back()->m_position = V(unit(rng), unit(rng), unit(rng));
        }
        for (auto& m : m_models) {
            m->m_screenSize = V(kWidth, kHeight, 0);
            m->ToWorld();
        }
    }
    void Look(const V& eye, const V& lookAt) {
        for (auto& m : m_models) {
            m->m_lookAt = lookAt;
            m->m_eye = eye;
            m->UpdateCamera();
        }
    }
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
        ASSERT_NE(m_view.Create(m_parent, RECT{10, 20, 10 + kWidth, 20 + kHeight}), nullptr);
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    CParentWindow m_parent;
    CStaticView m_view;
};

TEST_F(StaticView, ABlackBufferOnePixelLargerThanTheArea) {
    CStaticView unused;  // like the four views of a page that are never created
    EXPECT_EQ(unused.m_hBitmap, nullptr);
    ASSERT_NE(m_view.m_hBitmap, nullptr);
    EXPECT_EQ(m_view.m_hBitmap->m_width, kWidth + 1);
    EXPECT_EQ(m_view.m_hBitmap->m_height, kHeight + 1);
    EXPECT_EQ(LitPixels(m_view), 0);
}

// Frames as a page runs them: move and turn, erase the last frame, look, draw.
// Every tenth eye sits on the look-at point (a zero basis: NaN coordinates).
// None of it allocates, and each erase leaves the buffer black again.
TEST_F(StaticView, AfterManyFramesTheBufferHoldsOnlyTheLastFrame) {
    CScene scene;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> unit(-0.5, 0.5);
    const V lookAt(0.5, 0.5, 0.5);
    // The screen: the buffer as of the last repaint request, which must cover
    // every pixel changed since.
    const HBITMAP b = m_view.m_hBitmap;
    std::vector<std::uint32_t> shown(Bits(m_view), Bits(m_view) + Size(m_view));
    m_view.TakeChanges();
    const std::size_t allocations = lunvik::test::CountAllocations([&] {
        for (int frame = 0; frame < 150; ++frame) {
            for (std::size_t i = 1; i < scene.m_models.size(); ++i) {
                double ax = unit(rng), ay = unit(rng), az = unit(rng);
                V velocity(ay * 0.1, az * 0.1, ax * 0.1);
                scene.m_models[i]->MoveAndBounce(velocity, 1.0);
                scene.m_models[i]->Rotate(ax, ay, az, 1.0);
            }
            scene.Run(m_view, CScene::kErase);
            ASSERT_EQ(LitPixels(m_view), 0) << "erase of frame " << frame - 1 << " left pixels";
            const V eye(unit(rng) * 3, unit(rng) * 3, unit(rng) - 1);
            scene.Look(frame % 10 == 3 ? lookAt : eye, lookAt);
            scene.Run(m_view, CScene::kDraw);
            const RECT changed = m_view.TakeChanges();
            for (LONG y = 0; y < kHeight; ++y) {
                for (LONG x = 0; x < kWidth; ++x) {
                    ASSERT_TRUE(b->m_bits[y * b->m_width + x] == shown[y * b->m_width + x] ||
                                (x >= changed.left && x < changed.right && y >= changed.top &&
                                 y < changed.bottom))
                        << "frame " << frame << ": (" << x << ", " << y << ") changed unseen";
                }
            }
            std::copy(Bits(m_view), Bits(m_view) + Size(m_view), shown.begin());
        }
    });
    EXPECT_EQ(allocations, 0u);
    // The same frame again changes nothing; one model moved changes its box only.
    scene.Run(m_view, CScene::kErase);
    scene.Run(m_view, CScene::kDraw);
    EXPECT_EQ(m_view.TakeChanges().right, 0);
    scene.Look(V(0.5, 0.5, -1.0), lookAt);
    scene.Run(m_view, CScene::kErase);
    scene.Run(m_view, CScene::kDraw);
    m_view.TakeChanges();
    scene.Run(m_view, CScene::kErase);
    scene.m_models[1]->Move(0.01, 0, 0);
    scene.Run(m_view, CScene::kDraw);
    const RECT moved = m_view.TakeChanges();
    EXPECT_GT(moved.right, moved.left);
    EXPECT_LT((moved.right - moved.left) * (moved.bottom - moved.top), kWidth * kHeight / 4);

    // The same models and camera drawn into a fresh buffer give the same picture.
    CStaticView fresh;
    ASSERT_NE(fresh.Create(m_parent, RECT{0, 0, kWidth, kHeight}), nullptr);
    scene.Run(fresh, CScene::kDraw);
    EXPECT_GT(LitPixels(fresh), 100);
    EXPECT_TRUE(std::equal(Bits(fresh), Bits(fresh) + Size(fresh), Bits(m_view)));
    // A paint (WM_PAINT, BitBlt of the buffer) shows exactly that picture
    // (the first view, which overlaps it, out of the way of the screen).
    m_view.ShowWindow(SW_HIDE);
    const lunvik::test::SPicture shot = lunvik::test::WindowPicture(fresh);
    ASSERT_EQ(shot.width, kWidth);
    ASSERT_EQ(shot.height, kHeight);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        ASSERT_EQ(shot.pixels[i], Bits(fresh)[i / kWidth * (kWidth + 1) + i % kWidth]) << i;
    }
    scene.Run(m_view, CScene::kErase);
    scene.m_models[0]->m_count = 0;  // a grid without vertices draws nothing
    m_view.DrawLines(*scene.m_models[0]);
    EXPECT_EQ(LitPixels(m_view), 0);
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
        {42.9, -3.9, 42, -3},
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
    EXPECT_FALSE(CStaticView::ToPixel(V(NAN, 1, 0), &p) || CStaticView::ToPixel(V(1, NAN, 0), &p));
}

}  // namespace

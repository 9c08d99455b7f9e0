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

#include "tests/geometry/geometry_test_util.h"
#include "tests/platform/window_test_support.h"
#include "tests/support/alloc_counter.h"
#include "tests/support/scene_frame.h"

namespace {

using lunvik::test::CTestWindow;
using lunvik::test::kTopLevel;
using lunvik::test::Param;
using lunvik::test::SCamera;
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

// A view on its window, and a page's models in draw-list order: a line grid,
// then cubes and stars at random places.
class StaticView : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(m_parent.Create(nullptr, RECT{0, 0, 400, 300}, nullptr, kTopLevel), nullptr);
        ASSERT_NE(m_view.Create(m_parent, RECT{10, 20, 10 + kWidth, 20 + kHeight}), nullptr);
        ::ShowWindow(m_parent, SW_SHOWNA);  // a view not on show leaves its frames out
        m_models = MakeScene();
        for (const auto& m : m_models) {
            m_list.push_back(m.get());
        }
    }
    void TearDown() override { m_parent.DestroyWindow(); }

    // The same scene on every call.
    static lunvik::test::SceneModels MakeScene() {
        std::mt19937 rng{3};
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        lunvik::test::SceneModels models;
        models.push_back(lunvik::test::MakeModel(CModelBase::kLineKind));
        models.back()->Build(Param(0.1, 0, 0.1, 0, 0, 320));
        for (int i = 0; i < 6; ++i) {
            models.push_back(
                lunvik::test::MakeModel(i % 2 ? CModelBase::kStarKind : CModelBase::kCubeKind));
            models.back()->Build(Param(0.05, 0.05, 0.05, 0.05, 0.025));
            models.back()->m_position = V(unit(rng), unit(rng), unit(rng));
        }
        for (auto& m : models) {
            m->m_screenSize = V(kWidth, kHeight, 0);
            m->ToWorld();
        }
        return models;
    }

    // A frame as a page runs it: erase the last frame, look, draw.
    void Frame(CStaticView& view, const SCamera& camera) {
        view.DrawFrame(m_list.data(), static_cast<int>(m_list.size()), camera.lookAt, camera.eye);
    }
    // Frames with the cubes and stars moving and turning, each seen from a
    // random eye; every tenth eye sits on the look-at point (a zero basis:
    // NaN coordinates). after(frame) runs after each.
    template <class F>
    void MovingFrames(int count, F after) {
        std::uniform_real_distribution<double> unit(-0.5, 0.5);
        for (int frame = 0; frame < count; ++frame) {
            for (std::size_t i = 1; i < m_models.size(); ++i) {
                double ax = unit(m_rng), ay = unit(m_rng), az = unit(m_rng);
                V velocity(ay * 0.1, az * 0.1, ax * 0.1);
                m_models[i]->MoveAndBounce(velocity, 1.0);
                m_models[i]->Rotate(ax, ay, az, 1.0);
            }
            const V eye(unit(m_rng) * 3, unit(m_rng) * 3, unit(m_rng) - 1);
            Frame(m_view, {kLookAt, frame % 10 == 3 ? kLookAt : eye});
            after(frame);
        }
    }

    static inline const V kLookAt{0.5, 0.5, 0.5};
    std::mt19937 m_rng{5};
    CTestWindow m_parent;  // holds the views, as a page's placeholder does
    CStaticView m_view;
    lunvik::test::SceneModels m_models;
    std::vector<CModelBase*> m_list;  // m_models as a page's draw list
};

TEST_F(StaticView, ABlackBufferOnePixelLargerThanTheArea) {
    CStaticView unused;  // like the four views of a page that are never created
    EXPECT_EQ(unused.m_hBitmap, nullptr);
    ASSERT_NE(m_view.m_hBitmap, nullptr);
    EXPECT_EQ(m_view.m_hBitmap->m_width, kWidth + 1);
    EXPECT_EQ(m_view.m_hBitmap->m_height, kHeight + 1);
    EXPECT_EQ(LitPixels(m_view), 0);
}

// Laid out anew (the screen's DPI changed), the view makes its buffer again
// at its new size, black, all of it to repaint; a move that keeps the size
// keeps the picture.
TEST_F(StaticView, ANewSizeMakesTheBufferAgainBlackAndWhole) {
    Frame(m_view, {kLookAt, V(0.5, 0.5, -1.0)});
    const std::int64_t lit = LitPixels(m_view);
    ASSERT_GT(lit, 0);
    ASSERT_TRUE(MoveWindow(m_view, 0, 0, kWidth, kHeight, TRUE));
    EXPECT_EQ(LitPixels(m_view), lit);
    ASSERT_TRUE(MoveWindow(m_view, 0, 0, kWidth * 3 / 2, kHeight * 3 / 2, TRUE));
    EXPECT_EQ(m_view.m_hBitmap->m_width, kWidth * 3 / 2 + 1);
    EXPECT_EQ(m_view.m_hBitmap->m_height, kHeight * 3 / 2 + 1);
    EXPECT_EQ(LitPixels(m_view), 0);
    const RECT changes = m_view.TakeChanges();
    EXPECT_TRUE(changes.left == 0 && changes.top == 0 && changes.right == kWidth * 3 / 2 &&
                changes.bottom == kHeight * 3 / 2);
}

// The screen: the buffer as of the last repaint request, which must cover
// every pixel changed since.
TEST_F(StaticView, FramesAllocateNothingAndTheirChangesCoverEveryChangedPixel) {
    const HBITMAP b = m_view.m_hBitmap;
    std::vector<std::uint32_t> shown(Bits(m_view), Bits(m_view) + Size(m_view));
    m_view.TakeChanges();
    const std::size_t allocations = lunvik::test::CountAllocations([&] {
        MovingFrames(150, [&](int frame) {
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
        });
    });
    EXPECT_EQ(allocations, 0u);
}

TEST_F(StaticView, TheSameFrameAgainChangesNothingAndOneMovedModelOnlyItsBoxInSight) {
    const SCamera camera{kLookAt, V(0.5, 0.5, -1.0)};
    Frame(m_view, camera);
    m_view.TakeChanges();
    Frame(m_view, camera);
    EXPECT_EQ(m_view.TakeChanges().right, 0);
    lunvik::test::EraseModels(m_view, m_models);
    m_models[1]->Move(0.01, 0, 0);
    lunvik::test::DrawModels(m_view, m_models, camera);
    const RECT moved = m_view.TakeChanges();
    EXPECT_GT(moved.right, moved.left);
    EXPECT_LT((moved.right - moved.left) * (moved.bottom - moved.top), kWidth * kHeight / 4);

    // Far out of sight, turning, it changes nothing: not even the edge it lies beyond.
    m_models[1]->Move(-50, 0, 0);
    Frame(m_view, camera);
    m_view.TakeChanges();
    double ax = 0.3, ay = 0, az = 0;
    m_models[1]->Rotate(ax, ay, az, 1.0);
    Frame(m_view, camera);
    EXPECT_EQ(m_view.TakeChanges(), RECT{});
}

// A frame leaves out the erase of what stays where it was, and everything
// when nothing moved, and still gives the pixels of erasing all and drawing
// all: a second view, with a twin of each model, runs the routines one by one.
// Hidden, the view walks nothing, and shown again it catches up, as a page
// asks it to or by itself at its next frame.
TEST_F(StaticView, AFrameLeavesOutWhatStayedAndGivesThePixelsOfEraseThenDraw) {
    CStaticView plain;
    ASSERT_NE(plain.Create(m_parent, RECT{0, 0, kWidth, kHeight}), nullptr);
    const lunvik::test::SceneModels twins = MakeScene();
    std::uniform_real_distribution<double> unit(-0.5, 0.5);
    SCamera camera{kLookAt, V(0.5, 0.5, -1.0)};
    std::uint64_t stillFrames = 0;
    for (int frame = 0; frame < 200; ++frame) {
        const bool hidden = (frame >= 100 && frame < 120) || (frame >= 150 && frame < 159);
        if (hidden == (m_view.IsWindowVisible() != FALSE)) {
            ::ShowWindow(m_view, hidden ? SW_HIDE : SW_SHOWNA);
            if (frame == 120) {
                m_view.CatchUp(m_list.data(), static_cast<int>(m_list.size()), camera.lookAt,
                               camera.eye);  // the last frame's models and camera
                ASSERT_TRUE(std::equal(Bits(plain), Bits(plain) + Size(plain), Bits(m_view)));
            }
        }
        const bool still = frame % 7 == 6;  // nothing moves
        for (std::size_t i = 1; i < m_models.size() && !still; ++i) {
            if ((m_rng() & 1) == 0) {
                continue;  // this one stays where it is
            }
            double ax = unit(m_rng), ay = unit(m_rng), az = unit(m_rng);
            for (CModelBase* m : {m_models[i].get(), twins[i].get()}) {
                V velocity(ay * 0.1, az * 0.1, ax * 0.1);
                m->MoveAndBounce(velocity, 1.0);
                m->Rotate(ax, ay, az, 1.0);
            }
        }
        if (frame % 5 == 4 && !still) {
            camera.eye = V(unit(m_rng) * 3, unit(m_rng) * 3, unit(m_rng) - 1);
        }
        const std::uint64_t before = m_view.m_segmentsWalked;
        Frame(m_view, camera);
        lunvik::test::EraseModels(plain, twins);
        lunvik::test::DrawModels(plain, twins, camera);
        if (hidden) {
            EXPECT_EQ(m_view.m_segmentsWalked, before) << "frame " << frame;
            continue;
        }
        ASSERT_TRUE(std::equal(Bits(plain), Bits(plain) + Size(plain), Bits(m_view)))
            << "frame " << frame;
        if (still && frame > 0) {
            EXPECT_EQ(m_view.m_segmentsWalked, before) << "frame " << frame;
            ++stillFrames;
        }
    }
    EXPECT_EQ(stillFrames, 24u);  // four more fell on hidden frames
    // The grid (160 segments) is drawn every frame and erased only when the eye moved.
    EXPECT_LT(m_view.m_segmentsWalked, plain.m_segmentsWalked * 2 / 3);
    // One cube moved a little: its erase, its draw and the segments of the
    // others through what was written before their turn, well under half
    // of the 241 a whole draw walks.
    const std::uint64_t before = m_view.m_segmentsWalked;
    for (CModelBase* m : {m_models[1].get(), twins[1].get()}) {
        m->Move(0.01, 0, 0);
    }
    Frame(m_view, camera);
    lunvik::test::EraseModels(plain, twins);
    lunvik::test::DrawModels(plain, twins, camera);
    EXPECT_TRUE(std::equal(Bits(plain), Bits(plain) + Size(plain), Bits(m_view)));
    EXPECT_LT(m_view.m_segmentsWalked - before, 100u);
    // Drawn by any other routine, the buffer is drawn whole again by the next frame.
    plain.EraseModel(*twins[0]);
    m_view.EraseModel(*m_models[0]);
    Frame(m_view, camera);
    lunvik::test::DrawModels(plain, twins, camera);
    EXPECT_TRUE(std::equal(Bits(plain), Bits(plain) + Size(plain), Bits(m_view)));
}

// Whatever an erase left behind would show against a fresh buffer.
TEST_F(StaticView, AfterManyFramesTheBufferHoldsOnlyTheLastFrame) {
    MovingFrames(150, [](int) {});
    const SCamera last{kLookAt, V(0.2, 0.7, -1.0)};
    Frame(m_view, last);
    CStaticView fresh;
    ASSERT_NE(fresh.Create(m_parent, RECT{0, 0, kWidth, kHeight}), nullptr);
    lunvik::test::DrawModels(fresh, m_models, last);
    EXPECT_GT(LitPixels(fresh), 100);
    EXPECT_TRUE(std::equal(Bits(fresh), Bits(fresh) + Size(fresh), Bits(m_view)));
}

TEST_F(StaticView, APaintShowsTheBufferPixelForPixel) {
    Frame(m_view, {kLookAt, V(0.2, 0.7, -1.0)});
    const lunvik::test::SPicture shot = lunvik::test::WindowPicture(m_view);
    ASSERT_EQ(shot.width, kWidth);
    ASSERT_EQ(shot.height, kHeight);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        ASSERT_EQ(shot.pixels[i], Bits(m_view)[i / kWidth * (kWidth + 1) + i % kWidth]) << i;
    }
}

TEST_F(StaticView, AGridWithoutVerticesDrawsNothing) {
    m_models[0]->m_count = 0;
    m_view.DrawLines(*m_models[0]);
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

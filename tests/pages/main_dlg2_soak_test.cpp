// A long run of page two: about 80 minutes of animation after START. The
// models must stay in the box, stay finite and rigid, leave the grid alone,
// and the tick must not allocate.
#include <cmath>
#include <vector>

#include "pages/main_dlg2.h"
#include "platform/crt_random.h"
#include "tests/pages/page_test_support.h"
#include "tests/support/alloc_counter.h"

using namespace lunvik::test;

namespace {

class CPageTwo : public CMainDlg2 {
  public:
    using CMainDlg2::m_hEdits;
};

double Distance(const CGridTmpl<double>& a, const CGridTmpl<double>& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

// All pairwise vertex distances of a model: its shape, whatever its orientation.
std::vector<double> Shape(const CModelBase& model) {
    std::vector<double> d;
    for (int i = 0; i < model.m_count; ++i) {
        for (int j = i + 1; j < model.m_count; ++j) {
            d.push_back(Distance(model.m_model[i], model.m_model[j]));
        }
    }
    return d;
}

TEST(PageTwoSoak, TwoHundredThousandTicksStayInTheBoxRigidAndAllocationFree) {
    auto page = MakePage<CPageTwo>();
    const HWND hwnd = page->m_hWnd;
    CrtSrand(20261206);
    Command(hwnd, 1036);

    std::vector<std::vector<double>> shapes;
    for (int i = 0; i < page->m_animatedCount; ++i) {
        shapes.push_back(Shape(*page->m_animated[i]));
    }
    std::vector<CGridTmpl<double>> grid(page->m_line.m_model.begin(),
                                        page->m_line.m_model.begin() + page->m_line.m_count);

    // The status texts go to the toolkit, which may allocate; the rest is ours.
    for (HWND& edit : page->m_hEdits) {
        edit = nullptr;
    }
    Tick(hwnd);

    constexpr int kTicks = 200000;
    constexpr int kCheckEvery = 1000;
    std::size_t allocations = 0;
    int bounced = 0;
    for (int t = 0; t < kTicks; t += kCheckEvery) {
        allocations += CountAllocations([&] {
            for (int k = 0; k < kCheckEvery; ++k) {
                Tick(hwnd);
            }
        });
        for (int i = 0; i < page->m_animatedCount; ++i) {
            const CModelBase& model = *page->m_animated[i];
            for (double c : {model.m_position.x, model.m_position.y, model.m_position.z}) {
                ASSERT_FALSE(std::isnan(c)) << "tick " << t << " model " << i;
                ASSERT_GE(c, 0.0) << "tick " << t << " model " << i;
                ASSERT_LE(c, 1.0) << "tick " << t << " model " << i;
            }
            bounced += (page->m_velocity[i].x < 0 || page->m_velocity[i].y < 0 ||
                        page->m_velocity[i].z < 0)
                           ? 1
                           : 0;
        }
    }
    EXPECT_EQ(allocations, 0u);
    EXPECT_GT(bounced, 0);

    for (int i = 0; i < page->m_animatedCount; ++i) {
        const std::vector<double> now = Shape(*page->m_animated[i]);
        for (std::size_t k = 0; k < now.size(); ++k) {
            ASSERT_NEAR(now[k], shapes[i][k], 1e-9 * shapes[i][k]) << "model " << i;
        }
        for (int v = 0; v < page->m_animated[i]->m_count; ++v) {
            ASSERT_FALSE(std::isnan(page->m_animated[i]->m_screen[v].x));
        }
    }
    for (std::size_t v = 0; v < grid.size(); ++v) {
        ASSERT_EQ(page->m_line.m_model[v].x, grid[v].x);
        ASSERT_EQ(page->m_line.m_model[v].y, grid[v].y);
        ASSERT_EQ(page->m_line.m_model[v].z, grid[v].z);
    }
    EXPECT_EQ(page->m_line.m_position.x, 0.0);
}

}  // namespace

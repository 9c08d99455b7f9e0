// A long run of page two: about 80 minutes of animation after START. The
// models must stay in the box, stay finite and rigid, leave the grid alone,
// and the tick must not allocate: shown, with its status edits, while a
// repaint is pending (the request and the repaint allocate in the toolkit).
#include <QCoreApplication>
#include <QTest>
#include <cmath>
#include <cstring>
#include <vector>

#include "pages/main_dlg2.h"
#include "platform/crt_random.h"
#include "platform/qt/handle.h"
#include "tests/pages/page_test_support.h"
#include "tests/support/alloc_counter.h"

using namespace lunvik::test;

namespace {

// All pairwise vertex distances of a model: its shape, whatever its orientation.
std::vector<double> Shape(const CModelBase& m) {
    std::vector<double> d;
    for (int i = 0; i < m.m_count; ++i) {
        for (int j = i + 1; j < m.m_count; ++j) {
            const CGridTmpl<double>&a = m.m_model[i], &b = m.m_model[j];
            d.push_back(std::hypot(a.x - b.x, a.y - b.y, a.z - b.z));
        }
    }
    return d;
}

class PageTwoSoak : public PageTest<CMainDlg2> {
  protected:
    // Every model in the box; velocities pointing back count as bounces.
    void ExpectInBox(int tick) {
        for (int i = 0; i < m_page->m_animatedCount; ++i) {
            const CGridTmpl<double>& p = m_page->m_animated[i]->m_position;
            for (double c : {p.x, p.y, p.z}) {
                ASSERT_TRUE(c >= 0.0 && c <= 1.0) << "tick " << tick << " model " << i << ": " << c;
            }
            const CGridTmpl<double>& v = m_page->m_velocity[i];
            m_bounced += v.x < 0 || v.y < 0 || v.z < 0 ? 1 : 0;
        }
    }
    std::vector<std::vector<double>> Shapes() const {
        std::vector<std::vector<double>> shapes;
        for (int i = 0; i < m_page->m_animatedCount; ++i) {
            shapes.push_back(Shape(*m_page->m_animated[i]));
        }
        return shapes;
    }
    // Ticks in runs of 1000 with a repaint of the whole view pending: the
    // toolkit adds the ticks' requests to it without allocating, so whatever
    // allocates is ours. Every model in the box after every run.
    std::size_t TickAndCountAllocations(int ticks) {
        std::size_t allocations = 0;
        for (int t = 0; t < ticks && !HasFatalFailure(); t += 1000) {
            QCoreApplication::processEvents();
            ::InvalidateRect(m_page->m_view[0].m_hWnd, nullptr, FALSE);
            allocations += CountAllocations([&] { Ticks(1000); });
            ExpectInBox(t + 1000);
        }
        return allocations;
    }

    int m_bounced = 0;
};

TEST_F(PageTwoSoak, TwoHundredThousandTicksStayInTheBoxRigidAndAllocationFree) {
    ASSERT_EQ(m_page->m_animatedCount, CMainDlg2::kMoving);
    ExpectInBox(0);  // where the page put them
    CrtSrand(20261206);
    Command(IDC_START);
    const std::vector<std::vector<double>> shapes = Shapes();
    const CModelBase::CVertices grid = m_page->m_line.m_model;
    Show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(WidgetFromHandle(m_holder)));
    Tick();  // the status texts, which stay

    EXPECT_EQ(TickAndCountAllocations(200000), 0u);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_GT(m_bounced, 0);
    const std::vector<std::vector<double>> now = Shapes();
    for (int i = 0; i < m_page->m_animatedCount; ++i) {
        for (std::size_t k = 0; k < now[i].size(); ++k) {
            ASSERT_NEAR(now[i][k], shapes[i][k], 1e-9 * shapes[i][k]) << "model " << i;
        }
        ASSERT_FALSE(std::isnan(m_page->m_animated[i]->m_screen[0].x));
    }
    EXPECT_EQ(std::memcmp(&grid, &m_page->m_line.m_model, sizeof grid), 0);
    EXPECT_EQ(m_page->m_line.m_position.x, 0.0);
}

}  // namespace

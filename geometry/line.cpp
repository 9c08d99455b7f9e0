#include "geometry/line.h"

#include <algorithm>

namespace {

// One group of parallel lines: segment i starts at m_wall with coordinate
// m_along set to i * step and runs along m_span from 0 to the grid's length.
// Groups stepping by a span n * b and the other way round.
struct CGroup {
    double m_wall[3];
    int m_along;
    int m_span;
    bool m_stepsByA;
};

// The far walls sit at the literal 1 (the unit bounce box), not at n * step.
constexpr CGroup kGroups[] = {
    {{0, 0, 0}, 2, 0, false},  // floor, lines along x
    {{0, 0, 0}, 0, 2, true},   // floor, lines along z
    {{0, 1, 0}, 2, 0, false},  // ceiling, along x
    {{0, 1, 0}, 0, 2, true},   // ceiling, along z
    {{0, 0, 0}, 2, 1, false},  // wall x = 0, along y
    {{0, 0, 0}, 1, 2, true},   // wall x = 0, along z
    {{1, 0, 0}, 2, 1, false},  // wall x = 1, along y
    {{1, 0, 0}, 1, 2, true},   // wall x = 1, along z
    {{0, 0, 1}, 1, 0, false},  // wall z = 1, along x
    {{0, 0, 1}, 0, 1, true},   // wall z = 1, along y
};
constexpr std::int32_t kGroupCount = sizeof(kGroups) / sizeof(kGroups[0]);

}  // namespace

void CLine::Build(const CModelParam& param) {
    m_kind = 0;
    m_count = param.count;
    // Two vertices per line, n lines per group; never more than the arrays hold.
    const std::int32_t n = std::min(param.count / 32, kMaxVertices / (2 * kGroupCount));
    const double a = param.sizeX[0];
    const double b = param.sizeZ[0];
    const double lengthA = n * a;
    const double lengthB = n * b;
    // Lines at 0, step, ... (n - 1) * step: a group's line at the far end
    // exists only where another group's line at 0 happens to lie.
    std::int32_t index = 0;
    for (const CGroup& group : kGroups) {
        const double step = group.m_stepsByA ? a : b;
        for (std::int32_t i = 0; i < n; ++i) {
            double start[3] = {group.m_wall[0], group.m_wall[1], group.m_wall[2]};
            start[group.m_along] = i * step;
            double end[3] = {start[0], start[1], start[2]};
            end[group.m_span] = group.m_stepsByA ? lengthB : lengthA;
            m_model[index++] = CGridTmpl<double>{start[0], start[1], start[2]};
            m_model[index++] = CGridTmpl<double>{end[0], end[1], end[2]};
        }
    }
}

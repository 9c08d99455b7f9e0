#include "geometry/line.h"

#include <algorithm>

namespace {

// One group of parallel lines on a wall of the box: line i starts on the wall
// with its m_spacingAxis coordinate at i spacings, and runs along m_runAxis
// from 0 to the grid's length. The record gives two spacings, A and B: a
// group's lines lie one of them apart and are as many of the other long as
// the group has lines.
struct CGroup {
    double m_wall[3];   // the start of line 0
    int m_spacingAxis;  // the coordinate that sets the group's lines apart
    int m_runAxis;      // the coordinate along which each line runs
    bool m_spacedByA;   // lines spacing A apart, else spacing B apart
};

// The far walls sit at the literal 1 (the unit bounce box), not at a length.
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
    m_kind = kLineKind;
    m_count = param.count;
    // Two vertices per line; never more lines than the arrays hold.
    const std::int32_t linesPerGroup = std::min(param.count / 32, kMaxVertices / (2 * kGroupCount));
    const double spacingA = param.sizeX[0];
    const double spacingB = param.sizeZ[0];
    const double lengthA = linesPerGroup * spacingA;
    const double lengthB = linesPerGroup * spacingB;
    // Lines at 0, spacing, ... (linesPerGroup - 1) spacings: a group's line at
    // the far end exists only where another group's line at 0 happens to lie.
    std::int32_t index = 0;
    for (const CGroup& group : kGroups) {
        const double spacing = group.m_spacedByA ? spacingA : spacingB;
        const double length = group.m_spacedByA ? lengthB : lengthA;
        for (std::int32_t i = 0; i < linesPerGroup; ++i) {
            double start[3] = {group.m_wall[0], group.m_wall[1], group.m_wall[2]};
            start[group.m_spacingAxis] = i * spacing;
            double end[3] = {start[0], start[1], start[2]};
            end[group.m_runAxis] = length;
            m_model[index++] = CGridTmpl<double>{start[0], start[1], start[2]};
            m_model[index++] = CGridTmpl<double>{end[0], end[1], end[2]};
        }
    }
}

#include "geometry/star.h"

#include <cmath>
#include <numbers>

void CStar::Build(const CModelParam& param) {
    m_kind = kStarKind;
    m_count = 10;
    const double r = param.radius;
    const double halfDepth = param.depth * 0.5;
    // A running sum of 72 degree steps from the top corner.
    double theta = std::numbers::pi / 2.0;
    for (int k = 0; k < 5; ++k) {
        const double x = r * std::cos(theta);
        const double y = r * std::sin(theta);
        m_model[k] = CGridTmpl<double>{x, y, -halfDepth};
        m_model[k + 5] = CGridTmpl<double>{x, y, halfDepth};
        theta += 2.0 * std::numbers::pi / 5.0;
    }
    m_modelCenter = CGridTmpl<double>{};
}

#include "geometry/cube.h"

void CCube::Build(const CModelParam& param) {
    m_kind = kCubeKind;
    m_count = 8;
    const double hx = param.sizeX[0] * 0.5;
    const double hy = param.sizeY[0] * 0.5;
    const double hz = param.sizeZ[0] * 0.5;
    // The drawing routines join vertices by index; this order is fixed.
    const double zs[] = {-hz, hz};
    for (int face = 0; face < 2; ++face) {
        const double z = zs[face];
        m_model[4 * face + 0] = CGridTmpl<double>{-hx, -hy, z};
        m_model[4 * face + 1] = CGridTmpl<double>{-hx, hy, z};
        m_model[4 * face + 2] = CGridTmpl<double>{hx, hy, z};
        m_model[4 * face + 3] = CGridTmpl<double>{hx, -hy, z};
    }
    m_modelCenter = CGridTmpl<double>{};
}

#include "geometry/model_base.h"

#include <algorithm>
#include <cmath>

namespace {

using CVector = CGridTmpl<double>;

// Clamps one coordinate of the position to [lo, hi]; true when it bounced.
bool BounceAxis(double& p, double& v, double lo, double hi, double factor) {
    if (p > hi) {
        p = hi;
    } else if (p < lo) {
        p = lo;
    } else {
        return false;
    }
    v = -(v * factor);
    return true;
}

// The absolute depth puts a point behind the eye where its mirror image in
// front would land; nothing is culled.
void ProjectPoint(const CVector& c, double halfWidth, double halfHeight, CVector& out) {
    const double s = std::fabs(c.z);
    out.x = (c.x / s + 1.0) * halfWidth;
    out.y = (1.0 - c.y / s) * halfHeight;
    out.z = 0.0;
}

// One axis of a rotation; the sine and cosine are only worked out when the
// angle is not zero.
struct CTurn {
    explicit CTurn(double angle)
        : m_active(angle != 0.0),
          m_sine(m_active ? std::sin(angle) : 0.0),
          m_cosine(m_active ? std::cos(angle) : 1.0) {}
    // Turns the point (a, b) of the plane the axis stands on, from a towards b.
    void Apply(double& a, double& b) const {
        if (m_active) {
            const double turnedA = a * m_cosine - b * m_sine;
            b = a * m_sine + b * m_cosine;
            a = turnedA;
        }
    }
    // Multiplies a turning angle by factor once per vertex turned: repeated
    // multiplication rather than std::pow, so that the decay equals a
    // per-vertex slowdown bit for bit.
    void Decay(double& angle, double factor, std::int32_t vertices) const {
        if (m_active) {
            for (std::int32_t i = 0; i < vertices; ++i) {
                angle *= factor;
            }
        }
    }
    bool m_active;
    double m_sine;
    double m_cosine;
};

}  // namespace

std::int32_t CModelBase::VerticesInUse() const {
    return std::clamp(m_count, std::int32_t{0}, kMaxVertices);
}

void CModelBase::Refresh() {
    ToWorld();
    ToCamera();
    Project();
}

void CModelBase::Move(double dx, double dy, double dz) {
    m_position.x += dx;
    m_position.y += dy;
    m_position.z += dz;
    ToWorld();
}

int CModelBase::MoveAndBounce(CGridTmpl<double>& velocity, double factor) {
    m_position = m_position + velocity;
    int bounced = 0;
    if (BounceAxis(m_position.x, velocity.x, m_boxMin.x, m_boxMax.x, factor)) {
        bounced = 1;
    }
    if (BounceAxis(m_position.y, velocity.y, m_boxMin.y, m_boxMax.y, factor)) {
        bounced = 2;
    }
    if (BounceAxis(m_position.z, velocity.z, m_boxMin.z, m_boxMax.z, factor)) {
        bounced = 3;
    }
    ToWorld();
    return bounced;
}

void CModelBase::Rotate(double& ax, double& ay, double& az, double factor) {
    if (m_count <= 0) {
        return;
    }
    // Every vertex turns by the same angles, so the shape stays rigid even
    // when factor is not 1.
    const CTurn turnX(ax);
    const CTurn turnY(ay);
    const CTurn turnZ(az);
    const std::int32_t used = VerticesInUse();
    for (std::int32_t i = 0; i < used; ++i) {
        CVector& v = m_model[i];
        turnX.Apply(v.y, v.z);
        turnY.Apply(v.z, v.x);
        turnZ.Apply(v.x, v.y);
    }
    if (factor == 1.0) {
        return;
    }
    // Once per vertex in use: a count past the arrays' capacity turns no more
    // vertices, and must not spin for billions of steps either.
    turnX.Decay(ax, factor, used);
    turnY.Decay(ay, factor, used);
    turnZ.Decay(az, factor, used);
}

void CModelBase::ToWorld() {
    const std::int32_t used = VerticesInUse();
    for (std::int32_t i = 0; i < used; ++i) {
        m_world[i] = m_model[i] + m_position;
    }
    m_worldCenter = m_position + m_modelCenter;
}

void CModelBase::ToCamera() {
    const std::int32_t used = VerticesInUse();
    for (std::int32_t i = 0; i < used; ++i) {
        m_camera[i] = PointToCamera(m_world[i]);
    }
    m_cameraCenter = PointToCamera(m_worldCenter);
}

void CModelBase::Project() {
    const double halfWidth = m_screenSize.x * 0.5;
    const double halfHeight = m_screenSize.y * 0.5;
    const std::int32_t used = VerticesInUse();
    for (std::int32_t i = 0; i < used; ++i) {
        ProjectPoint(m_camera[i], halfWidth, halfHeight, m_screen[i]);
    }
    ProjectPoint(m_cameraCenter, halfWidth, halfHeight, m_screenCenter);
}

void CModelBase::UpdateCamera() {
    m_axisZ = (m_eye - m_lookAt).Normalized();
    const double nx = m_axisZ.x;
    const double ny = m_axisZ.y;
    const double nz = m_axisZ.z;
    // axisZ x up and axisX x axisZ, written out. Neither is normalised: with a
    // raised eye the picture shrinks by the cosine of the view's elevation.
    m_axisX = CVector{-nz, 0.0, nx};
    m_axisY = CVector{-nx * ny, nx * nx + nz * nz, -ny * nz};
}

void CModelBase::Aim(const CGridTmpl<double>& lookAt, const CGridTmpl<double>& eye) {
    m_lookAt = lookAt;
    UpdateCamera();
    m_eye = eye;
    UpdateCamera();
}

CGridTmpl<double> CModelBase::PointToCamera(const CGridTmpl<double>& p) const {
    const CVector d = p - m_eye;
    return CVector{Dot(m_axisX, d), Dot(m_axisY, d), Dot(m_axisZ, d)};
}

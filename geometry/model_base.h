// The abstract model: fixed vertex arrays for the four pipeline stages
// (model, world, camera, screen), the state the pages animate, and the
// transforms between the stages. A model never allocates; the pages write
// its public data directly.
#pragma once

#include <array>
#include <cstdint>

#include "geometry/grid_tmpl.h"
#include "geometry/model_param.h"

class CModelBase {
  public:
    static constexpr std::int32_t kMaxVertices = 4000;
    // Kind codes (m_kind), each set by its shape's Build: what the model is
    // drawn as, and at the same time the slot of the pen it is drawn in.
    static constexpr std::int32_t kLineKind = 0;  // CLine
    static constexpr std::int32_t kCubeKind = 1;  // CCube
    static constexpr std::int32_t kStarKind = 2;  // CStar
    using CVertices = std::array<CGridTmpl<double>, kMaxVertices>;

    CModelBase() = default;
    virtual ~CModelBase() = default;

    // Sets m_kind, m_count and the model-space vertices.
    virtual void Build(const CModelParam& param) = 0;
    // ToWorld, ToCamera and Project, in that order.
    virtual void Refresh();
    virtual void Move(double dx, double dy, double dz);
    // Moves by the velocity and keeps the position inside the bounce box:
    // an axis that left it is clamped to the face and its velocity component
    // reflected and scaled by factor. Returns 0 when nothing bounced, else the
    // last axis clamped (1 x, 2 y, 3 z).
    virtual int MoveAndBounce(CGridTmpl<double>& velocity, double factor);
    // Turns the model-space vertices in place, x first, then y, then z, all
    // by the angles passed in. Each non-zero angle comes back multiplied by
    // factor once per vertex in use, so a factor below 1 slows the spin down.
    virtual void Rotate(double& ax, double& ay, double& az, double factor);
    virtual void ToWorld();
    virtual void ToCamera();
    // Perspective with 90 degree fields of view on both axes. A point at depth
    // 0 gets the IEEE quotient (infinite or NaN); the drawing layer copes.
    virtual void Project();

    // Camera basis from m_eye and m_lookAt, with (0, 1, 0) as up.
    void UpdateCamera();
    // Hands the model a camera as a page does every frame: the look-at point
    // first, then the eye, the basis updated after each.
    void Aim(const CGridTmpl<double>& lookAt, const CGridTmpl<double>& eye);
    CGridTmpl<double> PointToCamera(const CGridTmpl<double>& p) const;

    std::int32_t m_kind = 0;
    std::int32_t m_count = 0;
    CVertices m_model;
    CGridTmpl<double> m_modelCenter;
    CVertices m_world;
    CGridTmpl<double> m_worldCenter;
    CVertices m_camera;
    CGridTmpl<double> m_cameraCenter;
    CVertices m_screen;
    CGridTmpl<double> m_screenCenter;
    CGridTmpl<double> m_position;
    CGridTmpl<double> m_boxMin{0.0, 0.0, 0.0};
    CGridTmpl<double> m_boxMax{1.0, 1.0, 1.0};
    CGridTmpl<double> m_eye;
    CGridTmpl<double> m_lookAt;
    CGridTmpl<double> m_axisX;
    CGridTmpl<double> m_axisY;
    CGridTmpl<double> m_axisZ;
    CGridTmpl<double> m_screenSize;

  protected:
    // m_count limited to the arrays' capacity, so that a count out of range
    // can never write past them.
    std::int32_t VerticesInUse() const;
};

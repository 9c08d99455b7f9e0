// Fuzzes the model pipeline into the real view's back buffer: eye, look-at,
// positions, velocities, angles, bounce factor and screen size all come from
// the bytes (infinities, NaN, 1e308, the eye on the look-at point or straight
// above it included), and so do each shape and its parameters. Several frames
// of Build, MoveAndBounce, Rotate, UpdateCamera, erase and draw run as a page
// runs them. Checks that
// - erasing every model after a frame leaves the whole buffer black;
// - a bounced position that is a number lies inside its box.
// Sanitizers catch the rest: overflowing float-to-int conversions, reads and
// writes out of bounds, hangs.
#include <cmath>
#include <cstring>
#include <memory>
#include <tuple>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "fuzz/fuzz_input.h"
#include "tests/support/scene_frame.h"

namespace {

using lunvik::fuzz::CFuzzInput;
using lunvik::test::SCamera;
using lunvik::test::SceneModels;
using CVector = CGridTmpl<double>;

CVector Vector(CFuzzInput& in) {
    const double x = in.Double();
    const double y = in.Double();
    return CVector{x, y, in.Double()};
}

// The shape's record: every field from the bytes, the line grid's vertex
// count any 32-bit number.
CModelParam Param(CFuzzInput& in) {
    CModelParam param;
    param.sizeX[0] = in.Double();
    param.sizeY[0] = in.Double();
    param.sizeZ[0] = in.Double();
    param.radius = in.Double();
    param.depth = in.Double();
    param.count = (in.Byte() & 1) != 0 ? in.Raw<std::int32_t>() : 32 * (in.Byte() % 20);
    return param;
}

// How a model moves and turns each frame.
struct CMotion {
    CVector m_velocity;
    double m_angles[3];
};

// Erases every model, after which the whole buffer must be black again.
void EraseAll(CStaticView& view, const SceneModels& models, int frame) {
    lunvik::test::EraseModels(view, models);
    const HBITMAP__& bitmap = *view.m_hBitmap;
    static const std::vector<std::uint32_t> black(4096, PixelFromColor(RGB(0, 0, 0)));
    for (LONG y = 0; y < bitmap.m_height; ++y) {
        FUZZ_CHECK(std::memcmp(bitmap.m_bits + std::int64_t{y} * bitmap.m_width, black.data(),
                               static_cast<std::size_t>(bitmap.m_width) * 4) == 0,
                   "frame %d: row %d not black after erasing", frame, static_cast<int>(y));
    }
}

// The view, made as a page makes it but with no window: creation reads the
// client rectangle of a window it does not have, which leaves the rectangle
// set here alone. Returns the view's size as a screen size.
CVector OpenView(CFuzzInput& in, CStaticView& view) {
    const std::uint32_t limits[] = {8, 64, 300, 1000};
    const std::uint32_t limit = limits[in.Byte() % 4];
    const int width = 1 + static_cast<int>(in.Below(limit));
    const int height = 1 + static_cast<int>(in.Below(limit));
    view.m_rcClient = RECT{0, 0, width, height};
    BOOL handled = TRUE;
    view.OnCreate(WM_CREATE, 0, 0, handled);
    FUZZ_CHECK(view.m_hBitmap != nullptr && view.m_hBitmap->m_width == width + 1 &&
                   view.m_hBitmap->m_height == height + 1,
               "view buffer for %d x %d", width, height);
    return CVector{double(width), double(height), 0.0};
}

// A look-at point, and the eye on it, straight above or below it, or anywhere.
SCamera Camera(CFuzzInput& in) {
    SCamera camera{Vector(in), {}};
    const CVector& lookAt = camera.lookAt;
    switch (in.Byte() % 4) {
        case 0:
            camera.eye = lookAt;
            break;
        case 1:
            camera.eye = CVector{lookAt.x, lookAt.y + in.Double(), lookAt.z};
            break;
        default:
            camera.eye = Vector(in);
            break;
    }
    return camera;
}

// Each shape at most once, in an order from the bytes, with its motion.
void AddModels(CFuzzInput& in, const CVector& screenSize, SceneModels& models,
               std::vector<CMotion>& motions) {
    const std::uint8_t shapes = in.Byte();
    for (int k = 0; k < 3; ++k) {
        std::unique_ptr<CModelBase> model = lunvik::test::MakeModel((shapes >> (2 * k)) & 3);
        if (model == nullptr) {
            continue;
        }
        model->m_screenSize = screenSize;
        model->Build(Param(in));
        model->m_position = Vector(in);
        model->ToWorld();
        CMotion& motion = motions.emplace_back(CMotion{Vector(in), {}});
        for (double& angle : motion.m_angles) {
            angle = in.Double();
        }
        models.push_back(std::move(model));
    }
}

void CheckInBox(const CModelBase& model) {
    for (const auto& [p, lo, hi] :
         {std::tuple{model.m_position.x, model.m_boxMin.x, model.m_boxMax.x},
          std::tuple{model.m_position.y, model.m_boxMin.y, model.m_boxMax.y},
          std::tuple{model.m_position.z, model.m_boxMin.z, model.m_boxMax.z}}) {
        FUZZ_CHECK(std::isnan(p) || (p >= lo && p <= hi), "position %g outside [%g, %g]", p, lo,
                   hi);
    }
}

// One frame after the erase: now and then the bytes change the camera or
// rebuild a shape; every model moves, bounces and turns, then each is drawn.
void MoveAndDraw(CFuzzInput& in, CStaticView& view, const SceneModels& models,
                 std::vector<CMotion>& motions, SCamera& camera, double factor) {
    const std::uint8_t change = in.Byte();
    if ((change & 1) != 0) {
        camera = Camera(in);
    }
    for (std::size_t i = 0; i < models.size(); ++i) {
        CModelBase& model = *models[i];
        CMotion& motion = motions[i];
        if ((change & 2) != 0) {
            model.Build(Param(in));
        }
        model.MoveAndBounce(motion.m_velocity, factor);
        CheckInBox(model);
        model.Rotate(motion.m_angles[0], motion.m_angles[1], motion.m_angles[2], factor);
    }
    lunvik::test::DrawModels(view, models, camera);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFuzzInput in(data, size);
    CStaticView view;
    const CVector viewSize = OpenView(in, view);
    SCamera camera = Camera(in);
    const double factor = in.Double();
    const CVector screenSize = (in.Byte() & 1) != 0 ? Vector(in) : viewSize;
    SceneModels models;
    std::vector<CMotion> motions;
    AddModels(in, screenSize, models, motions);
    const int frames = 1 + in.Byte() % 6;
    for (int frame = 0; frame < frames; ++frame) {
        EraseAll(view, models, frame);
        MoveAndDraw(in, view, models, motions, camera, factor);
    }
    EraseAll(view, models, frames);
    return 0;
}

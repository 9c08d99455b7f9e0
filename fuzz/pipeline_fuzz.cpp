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
#include "geometry/cube.h"
#include "geometry/line.h"
#include "geometry/star.h"
#include "view/static_view.h"

namespace {

using lunvik::fuzz::CFuzzInput;
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

struct CMoving {
    std::unique_ptr<CModelBase> m_model;
    CVector m_velocity;
    double m_angles[3];
};

void Erase(CStaticView& view, CModelBase& model) {
    switch (model.m_kind) {
        case 0:
            view.EraseLines(model);
            break;
        case 1:
            view.EraseCube(model);
            break;
        case 2:
            view.EraseStar(model);
            break;
        default:
            break;
    }
}

void Draw(CStaticView& view, CModelBase& model) {
    switch (model.m_kind) {
        case 0:
            view.DrawLines(model);
            break;
        case 1:
            view.DrawCube(model);
            break;
        case 2:
            view.DrawStar(model);
            break;
        default:
            break;
    }
}

void CheckBlack(const CStaticView& view, int frame) {
    const HBITMAP__& bitmap = *view.m_hBitmap;
    static const std::vector<std::uint32_t> black(4096, PixelFromColor(RGB(0, 0, 0)));
    for (LONG y = 0; y < bitmap.m_height; ++y) {
        FUZZ_CHECK(std::memcmp(bitmap.m_bits + std::int64_t{y} * bitmap.m_width, black.data(),
                               static_cast<std::size_t>(bitmap.m_width) * 4) == 0,
                   "frame %d: row %d not black after erasing", frame, static_cast<int>(y));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CFuzzInput in(data, size);

    // The view, made as a page makes it but with no window: creation reads
    // the client rectangle of a window it does not have, which leaves the
    // rectangle set here alone.
    const std::uint32_t limits[] = {8, 64, 300, 1000};
    const std::uint32_t limit = limits[in.Byte() % 4];
    const int width = 1 + static_cast<int>(in.Below(limit));
    const int height = 1 + static_cast<int>(in.Below(limit));
    CStaticView view;
    view.m_rcClient = RECT{0, 0, width, height};
    BOOL handled = TRUE;
    view.OnCreate(WM_CREATE, 0, 0, handled);
    FUZZ_CHECK(view.m_hBitmap != nullptr && view.m_hBitmap->m_width == width + 1 &&
                   view.m_hBitmap->m_height == height + 1,
               "view buffer for %d x %d", width, height);

    CVector lookAt = Vector(in);
    CVector eye;
    auto pickEye = [&] {
        switch (in.Byte() % 4) {
            case 0:
                eye = lookAt;
                break;
            case 1:  // straight above or below
                eye = CVector{lookAt.x, lookAt.y + in.Double(), lookAt.z};
                break;
            default:
                eye = Vector(in);
                break;
        }
    };
    pickEye();
    const double factor = in.Double();
    const CVector screenSize =
        (in.Byte() & 1) != 0 ? Vector(in) : CVector{double(width), double(height), 0.0};

    // Each shape at most once, in an order from the bytes.
    std::vector<CMoving> models;
    const std::uint8_t shapes = in.Byte();
    for (int k = 0; k < 3; ++k) {
        const int kind = (shapes >> (2 * k)) & 3;
        CMoving moving;
        switch (kind) {
            case 0:
                moving.m_model = std::make_unique<CLine>();
                break;
            case 1:
                moving.m_model = std::make_unique<CCube>();
                break;
            case 2:
                moving.m_model = std::make_unique<CStar>();
                break;
            default:
                continue;
        }
        CModelBase& model = *moving.m_model;
        model.m_screenSize = screenSize;
        model.Build(Param(in));
        model.m_position = Vector(in);
        model.ToWorld();
        moving.m_velocity = Vector(in);
        for (double& angle : moving.m_angles) {
            angle = in.Double();
        }
        models.push_back(std::move(moving));
    }

    const int frames = 1 + in.Byte() % 6;
    for (int frame = 0; frame < frames; ++frame) {
        for (CMoving& moving : models) {
            Erase(view, *moving.m_model);
        }
        CheckBlack(view, frame);

        // Now and then the bytes change the camera or rebuild a shape.
        const std::uint8_t change = in.Byte();
        if ((change & 1) != 0) {
            lookAt = Vector(in);
            pickEye();
        }
        for (CMoving& moving : models) {
            CModelBase& model = *moving.m_model;
            if ((change & 2) != 0) {
                model.Build(Param(in));
            }
            model.MoveAndBounce(moving.m_velocity, factor);
            for (const auto& [p, lo, hi] :
                 {std::tuple{model.m_position.x, model.m_boxMin.x, model.m_boxMax.x},
                  std::tuple{model.m_position.y, model.m_boxMin.y, model.m_boxMax.y},
                  std::tuple{model.m_position.z, model.m_boxMin.z, model.m_boxMax.z}}) {
                FUZZ_CHECK(std::isnan(p) || (p >= lo && p <= hi), "position %g outside [%g, %g]", p,
                           lo, hi);
            }
            model.Rotate(moving.m_angles[0], moving.m_angles[1], moving.m_angles[2], factor);
        }
        for (CMoving& moving : models) {
            CModelBase& model = *moving.m_model;
            model.m_lookAt = lookAt;
            model.UpdateCamera();
            model.m_eye = eye;
            model.UpdateCamera();
            Draw(view, model);
        }
    }
    for (CMoving& moving : models) {
        Erase(view, *moving.m_model);
    }
    CheckBlack(view, frames);
    return 0;
}

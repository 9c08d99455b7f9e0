// Models through a view as a page's frame runs them (CScenePage::RedrawModels):
// every model is erased before any is drawn, then each is aimed and drawn. Shared by the view test
// and the pipeline fuzz target, which builds it without GoogleTest.
#pragma once

#include <memory>
#include <vector>

#include "geometry/cube.h"
#include "geometry/line.h"
#include "geometry/star.h"
#include "view/static_view.h"

namespace lunvik::test {

using SceneModels = std::vector<std::unique_ptr<CModelBase>>;

// A model of the kind code; none for another.
inline std::unique_ptr<CModelBase> MakeModel(int kind) {
    switch (kind) {
        case CModelBase::kLineKind:
            return std::make_unique<CLine>();
        case CModelBase::kCubeKind:
            return std::make_unique<CCube>();
        case CModelBase::kStarKind:
            return std::make_unique<CStar>();
        default:
            return nullptr;
    }
}

struct SCamera {
    CGridTmpl<double> lookAt;
    CGridTmpl<double> eye;
};

inline void EraseModels(CStaticView& view, const SceneModels& models) {
    for (const auto& model : models) {
        view.EraseModel(*model);
    }
}

inline void DrawModels(CStaticView& view, const SceneModels& models, const SCamera& camera) {
    for (const auto& model : models) {
        model->Aim(camera.lookAt, camera.eye);
        view.DrawModel(*model);
    }
}

}  // namespace lunvik::test

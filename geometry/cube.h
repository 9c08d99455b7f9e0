// A box centred on the model origin. Vertices 0-3 go round the face z = -hz,
// 4-7 round z = +hz in the same order, so that k + 4 lies opposite k.
#pragma once

#include "geometry/model_base.h"

class CCube : public CModelBase {
  public:
    ~CCube() override = default;

    // Reads element 0 of sizeX, sizeY and sizeZ (the full edge lengths).
    void Build(const CModelParam& param) override;
};

// A prism with a regular pentagon as cross-section, centred on the model
// origin; drawn as a five-pointed star with depth. Vertex 0 is the top
// corner of the face z = -depth / 2, and 0-4 run counter-clockwise (from +x
// towards +y); 5-9 repeat them on the face z = +depth / 2.
#pragma once

#include "geometry/model_base.h"

class CStar : public CModelBase {
  public:
    ~CStar() override = default;

    // Reads radius and depth.
    void Build(const CModelParam& param) override;
};

// Grid lines on five walls of a box (all but z = 0), drawn as consecutive
// vertex pairs.
#pragma once

#include "geometry/model_base.h"

class CLine : public CModelBase {
  public:
    ~CLine() override = default;

    // Reads element 0 of sizeX and sizeZ (the spacings) and count. Writes
    // 20 * (count / 32) vertices; m_count becomes count as given.
    void Build(const CModelParam& param) override;
};

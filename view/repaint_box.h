// The box of back-buffer pixels that a view's routines changed since a
// repaint was last asked for. A model erased and drawn again at the very same
// pixels has changed nothing: each erase is kept, its box and, while the pool
// has room, its pixels, until the model's draw compares its own with them.
#pragma once

#include <memory>

#include "geometry/model_base.h"
#include "platform/window.h"

class CRepaintBox {
  public:
    // A vertex in whole pixels; valid is 0 for one with no pixel. Three plain
    // LONGs, no padding, so that equal bytes are equal pixels.
    struct SPixel {
        LONG x;
        LONG y;
        LONG valid;
    };

    // Forgets everything and makes the pool anew. Without a pool (no memory
    // for it) no erase is kept, and every draw counts as a change.
    void Open();

    // Room in the pool for the count pixels of the erase about to be drawn,
    // or null when there is none.
    SPixel* RoomForErase(int count);
    // An erase of model covered box; kept says whether its count pixels went
    // to the room RoomForErase gave just before.
    void Erased(const CModelBase& model, const RECT& box, bool kept, int count);
    // A draw of model covered box at the count pixels: a change, unless the
    // model's erase, kept, covered the very same pixels.
    void Drawn(const CModelBase& model, const RECT& box, const SPixel* pixels, int count);
    // Pixels changed otherwise.
    void Add(const RECT& box);

    // The box changed since the last call, clipped to area (all zero when
    // nothing in it changed); forgets it, with every erase not drawn again.
    RECT Take(const RECT& area);

  private:
    // What one erase covered: its box and, when kept, where its pixels are.
    struct SErased {
        const CModelBase* m_model;
        RECT m_box;
        int m_first;  // in m_pool, or -1
        int m_count;
    };
    static constexpr int kErasedCapacity = 128;
    static constexpr int kPoolCapacity = 2 * CModelBase::kMaxVertices;

    // The erase of model since its last draw, taken off the list (no model
    // and no pixels when there was none).
    SErased TakeErased(const CModelBase& model);

    RECT m_changed = {};  // since the last Take
    SErased m_erased[kErasedCapacity];
    int m_erasedCount = 0;
    std::unique_ptr<SPixel[]> m_pool;  // kPoolCapacity pixels, or none
    int m_poolUsed = 0;
};

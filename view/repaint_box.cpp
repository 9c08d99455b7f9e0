#include "view/repaint_box.h"

#include <cassert>
#include <cstring>
#include <new>

void CRepaintBox::Open() {
    m_pool.reset(new (std::nothrow) SPixel[kPoolCapacity]);
    m_poolUsed = 0;
    m_erasedCount = 0;
    m_changed = RECT{};
}

CRepaintBox::SPixel* CRepaintBox::RoomForErase(int count) {
    const bool room =
        m_pool != nullptr && m_erasedCount < kErasedCapacity && count <= kPoolCapacity - m_poolUsed;
    return room ? m_pool.get() + m_poolUsed : nullptr;
}

void CRepaintBox::Erased(const CModelBase& model, const RECT& box, bool kept, int count) {
    if (m_erasedCount == kErasedCapacity) {
        Add(box);  // no record left: changed, whatever the draw does
        return;
    }
    assert(!kept || RoomForErase(count) != nullptr);
    m_erased[m_erasedCount++] = SErased{&model, box, kept ? m_poolUsed : -1, count};
    m_poolUsed += kept ? count : 0;
}

void CRepaintBox::Drawn(const CModelBase& model, const RECT& box, const SPixel* pixels, int count) {
    const SErased erased = TakeErased(model);
    // The same pixels as erased: drawn again where they were, nothing changed.
    const bool same =
        erased.m_first >= 0 && pixels != nullptr && erased.m_count == count &&
        std::memcmp(&erased.m_box, &box, sizeof box) == 0 &&
        std::memcmp(m_pool.get() + erased.m_first, pixels, sizeof(SPixel) * count) == 0;
    if (!same) {
        Add(box);
        Add(erased.m_box);
    }
}

CRepaintBox::SErased CRepaintBox::TakeErased(const CModelBase& model) {
    SErased erased{nullptr, RECT{}, -1, 0};
    for (int i = m_erasedCount - 1; i >= 0; --i) {
        if (m_erased[i].m_model == &model) {
            erased = m_erased[i];
            m_erased[i] = m_erased[--m_erasedCount];
            break;
        }
    }
    if (m_erasedCount == 0) {
        m_poolUsed = 0;  // every kept erase drawn again; the pixels stay until the compare
    }
    return erased;
}

void CRepaintBox::Add(const RECT& box) {
    UnionRect(&m_changed, &m_changed, &box);
}

RECT CRepaintBox::Take(const RECT& area) {
    for (int i = 0; i < m_erasedCount; ++i) {
        Add(m_erased[i].m_box);  // erased and not drawn again
    }
    m_erasedCount = 0;
    m_poolUsed = 0;
    RECT changed;
    IntersectRect(&changed, &m_changed, &area);
    m_changed = RECT{};
    return changed;
}

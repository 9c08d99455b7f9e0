// The rectangle operations of the window layer, by Win32's rules (on Windows
// they are user32's own): a rectangle with no width or no height is empty and
// takes no part, and a result with nothing in it is all zero. A null pointer
// gets FALSE, as it does from user32.
#include <algorithm>
#include <cstdint>

#include "platform/window.h"

namespace {

bool IsEmpty(const RECT& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

// a + b wrapped to 32 bits, as the 32-bit sum of user32 does, without the
// undefined behaviour of a signed overflow.
LONG WrappingSum(LONG a, int b) {
    return static_cast<LONG>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

}  // namespace

BOOL UnionRect(RECT* dst, const RECT* src1, const RECT* src2) {
    if (dst == nullptr || src1 == nullptr || src2 == nullptr) {
        return FALSE;
    }
    if (IsEmpty(*src1) && IsEmpty(*src2)) {
        *dst = RECT{};
        return FALSE;
    }
    if (IsEmpty(*src1) || IsEmpty(*src2)) {
        *dst = IsEmpty(*src1) ? *src2 : *src1;
        return TRUE;
    }
    *dst = RECT{std::min(src1->left, src2->left), std::min(src1->top, src2->top),
                std::max(src1->right, src2->right), std::max(src1->bottom, src2->bottom)};
    return TRUE;
}

BOOL IntersectRect(RECT* dst, const RECT* src1, const RECT* src2) {
    if (dst == nullptr || src1 == nullptr || src2 == nullptr) {
        return FALSE;
    }
    const RECT both{std::max(src1->left, src2->left), std::max(src1->top, src2->top),
                    std::min(src1->right, src2->right), std::min(src1->bottom, src2->bottom)};
    // Empty too when either is: an empty rectangle overlaps nothing.
    if (IsEmpty(both)) {
        *dst = RECT{};
        return FALSE;
    }
    *dst = both;
    return TRUE;
}

BOOL OffsetRect(RECT* rect, int dx, int dy) {
    if (rect == nullptr) {
        return FALSE;
    }
    *rect = RECT{WrappingSum(rect->left, dx), WrappingSum(rect->top, dy),
                 WrappingSum(rect->right, dx), WrappingSum(rect->bottom, dy)};
    return TRUE;
}

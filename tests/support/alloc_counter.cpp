#include "tests/support/alloc_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> g_allocations{0};

void* Allocate(std::size_t size, std::size_t align) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (size == 0) {
        size = 1;
    }
    void* p = nullptr;
    if (align <= alignof(std::max_align_t)) {
        p = std::malloc(size);
    } else {
        p = std::aligned_alloc(align, (size + align - 1) / align * align);
    }
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}
}  // namespace

std::size_t lunvik::test::AllocationCount() {
    return g_allocations.load(std::memory_order_relaxed);
}

void* operator new(std::size_t size) {
    return Allocate(size, 0);
}
void* operator new[](std::size_t size) {
    return Allocate(size, 0);
}
void* operator new(std::size_t size, std::align_val_t a) {
    return Allocate(size, static_cast<std::size_t>(a));
}
void* operator new[](std::size_t size, std::align_val_t a) {
    return Allocate(size, static_cast<std::size_t>(a));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size, 0);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size, 0);
    } catch (...) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept {
    std::free(p);
}

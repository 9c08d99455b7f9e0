// Counts heap allocations. The toolkit's containers (QString, QList, ...)
// allocate with malloc, not operator new: outside AddressSanitizer, which
// owns malloc, the malloc family is replaced (on glibc's own allocator) and
// catches both; under it, and on Windows (no glibc), only the forms of
// operator new are counted. The over-aligned forms, which the code under test
// never uses, are left to the library, whose own delete frees what they give.
#include "tests/support/alloc_counter.h"

#include <cerrno>
#include <cstdlib>
#include <new>

#if defined(__SANITIZE_ADDRESS__) || defined(_WIN32)
#define LUNVIK_COUNT_NEW_ONLY 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUNVIK_COUNT_NEW_ONLY 1
#endif
#endif

namespace {
// Per thread: the code under test runs on the test's thread, and the
// toolkit's own threads (one starts its event loop whenever it likes) are
// not what a test asks about.
constinit thread_local std::size_t t_allocations = 0;
}  // namespace

std::size_t lunvik::test::AllocationCount() {
    return t_allocations;
}

#ifndef LUNVIK_COUNT_NEW_ONLY
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t align, std::size_t size);
void __libc_free(void* p);

void* malloc(std::size_t size) noexcept {
    ++t_allocations;
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
    ++t_allocations;
    return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) noexcept {
    ++t_allocations;
    return __libc_realloc(p, size);
}
void* memalign(std::size_t align, std::size_t size) noexcept {
    ++t_allocations;
    return __libc_memalign(align, size);
}
void* aligned_alloc(std::size_t align, std::size_t size) noexcept {
    return memalign(align, size);
}
int posix_memalign(void** p, std::size_t align, std::size_t size) noexcept {
    *p = memalign(align, size);
    return *p != nullptr ? 0 : ENOMEM;
}
void free(void* p) noexcept {
    __libc_free(p);
}
}  // extern "C"
#else
namespace {
void* Counted(std::size_t size) noexcept {
    ++t_allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void* Allocate(std::size_t size) {
    void* p = Counted(size);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}
}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Counted(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Counted(size);
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
#endif

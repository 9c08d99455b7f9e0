// Counts heap allocations, so that tests can say "this code
// allocates nothing" about a tick, a drawing routine or a geometry pass.
#pragma once

#include <cstddef>

namespace lunvik::test {

// Number of heap allocations this thread has made since it started.
std::size_t AllocationCount();

// Allocations made while running f.
template <class F>
std::size_t CountAllocations(F&& f) {
    const std::size_t before = AllocationCount();
    f();
    return AllocationCount() - before;
}

}  // namespace lunvik::test

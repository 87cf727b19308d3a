// Counts the allocations made through operator new while a test asks for it, so tests can show
// that a frame's drawing allocates nothing once its lines are kept. Every other allocation goes
// through unchanged.
#include "support/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {
thread_local bool Counting = false;
thread_local std::size_t Counted = 0;
}  // namespace

void StartCountingAllocations() {
    Counted = 0;
    Counting = true;
}

std::size_t StopCountingAllocations() {
    Counting = false;
    return Counted;
}

void* operator new(std::size_t size) {
    if (Counting) {
        ++Counted;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

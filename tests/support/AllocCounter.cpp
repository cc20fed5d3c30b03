#include "support/AllocCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

#ifdef _WIN32
#include <malloc.h>
#endif

// Replacement allocation functions for the whole test binary: each counts, then allocates
// with malloc (or aligned_alloc), so sanitizers still see every block.

namespace {

std::atomic<long long> gAllocations{0};

// The Windows C library has no aligned_alloc: its aligned blocks come from _aligned_malloc and
// must go back through _aligned_free.
#ifdef _WIN32
void* alignedBlock(std::size_t align, std::size_t size) { return _aligned_malloc(size, align); }
void freeAligned(void* p) { _aligned_free(p); }
#else
void* alignedBlock(std::size_t align, std::size_t size) { return std::aligned_alloc(align, size); }
void freeAligned(void* p) { std::free(p); }
#endif

// Counts, then takes the block from malloc; nullptr when there is none.
void* tryAllocate(std::size_t size)
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}

void* allocate(std::size_t size)
{
    if (void* p = tryAllocate(size)) return p;
    throw std::bad_alloc();
}

void* allocateAligned(std::size_t size, std::align_val_t align)
{
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    const std::size_t a = static_cast<std::size_t>(align);
    const std::size_t rounded = ((size == 0 ? 1 : size) + a - 1) / a * a;  // aligned_alloc wants a multiple
    if (void* p = alignedBlock(a, rounded)) return p;
    throw std::bad_alloc();
}

}  // namespace

namespace orv::test {
long long allocationCount() { return gAllocations.load(std::memory_order_relaxed); }
}  // namespace orv::test

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return tryAllocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return tryAllocate(size); }
void* operator new(std::size_t size, std::align_val_t align) { return allocateAligned(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return allocateAligned(size, align); }

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { freeAligned(p); }
void operator delete[](void* p, std::align_val_t) noexcept { freeAligned(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { freeAligned(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { freeAligned(p); }

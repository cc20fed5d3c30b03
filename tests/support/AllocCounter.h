#pragma once

// Counts heap allocations made through any form of operator new in a test binary. The
// replacement operators live in AllocCounter.cpp, which tests/CMakeLists.txt compiles into the
// dsp, radiation and engine test programs (no other translation unit of those may define
// them). Use it around a processing loop:
//
//     orv::test::AllocationScope scope;
//     for (...) filter.process(x);
//     EXPECT_EQ(scope.count(), 0);

namespace orv::test {

// Total number of allocations since the program started.
long long allocationCount();

// Allocations made between construction and count().
class AllocationScope {
public:
    AllocationScope() : start_(allocationCount()) {}
    long long count() const { return allocationCount() - start_; }

private:
    long long start_;
};

}  // namespace orv::test

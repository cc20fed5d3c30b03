#include "engine/VectorPath.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace orv::vectorPath {

namespace {

bool detect()
{
#if defined(__x86_64__) || defined(__i386__)
    // Runs during static initialisation, possibly before libgcc's own processor probe.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
#else
    return false;
#endif
}

bool forcedBaseline()
{
    const char* v = std::getenv("ORV_FORCE_BASELINE");
    return v != nullptr && *v != '\0' && std::strcmp(v, "0") != 0;
}

const bool kProcessorHasWide = detect();
std::atomic<bool> wide_{kProcessorHasWide && !forcedBaseline()};

}  // namespace

bool wide() { return wide_.load(std::memory_order_relaxed); }

bool processorHasWide() { return kProcessorHasWide; }

void allowWide(bool allow) { wide_.store(allow && kProcessorHasWide, std::memory_order_relaxed); }

}  // namespace orv::vectorPath

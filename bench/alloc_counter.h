// A count of every heap allocation made through the global operator new,
// for benchmarks that must show how many allocations a piece of work makes.
#ifndef VELLAMIRE_BENCH_ALLOC_COUNTER_H_
#define VELLAMIRE_BENCH_ALLOC_COUNTER_H_

#include <cstdint>

namespace bench {

// Allocations made through any form of the global operator new since the
// program started. Cannot fail.
std::uint64_t AllocationCount();

}  // namespace bench

#endif  // VELLAMIRE_BENCH_ALLOC_COUNTER_H_

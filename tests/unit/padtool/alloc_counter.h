// Counts every operator new of the test program (the replacement lives in
// alloc_counter.cpp, linked only into the programs that measure allocations).
#pragma once

#include <cstddef>

namespace padtool_test {

// Allocations made through operator new since the program started.
std::size_t AllocationCount();

}  // namespace padtool_test

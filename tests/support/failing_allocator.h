// Replaces the global allocator of a test program so that a test can make memory run out.
#pragma once

// The allocations left before every further one fails with std::bad_alloc; -1 while none fails.
extern int AllocationsBeforeFailure;

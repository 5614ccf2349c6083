#include "support/failing_allocator.h"

#include <cstdlib>
#include <new>

int AllocationsBeforeFailure = -1;

void* operator new(std::size_t size) {
  if (AllocationsBeforeFailure == 0) throw std::bad_alloc();
  if (AllocationsBeforeFailure > 0) --AllocationsBeforeFailure;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

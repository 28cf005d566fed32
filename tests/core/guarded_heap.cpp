// Every C++ allocation of the core's tests ends in a guard that is checked
// when the block is freed: a write past a container's end stops the run there.
// (Wine's heap checks the tails of blocks only when it also validates the whole
// heap at every call, which makes the run many times as long.)
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

const unsigned char GUARD[8] = {0xFD, 0xFD, 0xFD, 0xFD, 0xFD, 0xFD, 0xFD, 0xFD};
const size_t HEADER = alignof(std::max_align_t);  // where the block's size is kept

void* operator new(size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(HEADER + size + sizeof(GUARD)));
  if (block == nullptr) throw std::bad_alloc();
  *reinterpret_cast<size_t*>(block) = size;
  std::memcpy(block + HEADER + size, GUARD, sizeof(GUARD));
  return block + HEADER;
}

void operator delete(void* object) noexcept {
  if (object == nullptr) return;
  unsigned char* block = static_cast<unsigned char*>(object) - HEADER;
  const size_t size = *reinterpret_cast<size_t*>(block);
  if (std::memcmp(block + HEADER + size, GUARD, sizeof(GUARD)) != 0) {
    std::fprintf(stderr, "a write past the end of a block of %zu bytes\n", size);
    std::abort();
  }
  std::free(block);
}

void operator delete(void* object, size_t) noexcept { operator delete(object); }

// Every C++ allocation of the core's tests ends in a guard checked when the
// block is freed, so a write past a container's end stops the run there (Wine's
// heap checks blocks' tails only when it validates the whole heap at every call).
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

const char GUARD[] = "\xFD\xFD\xFD\xFD\xFD\xFD\xFD";
const size_t HEADER = alignof(std::max_align_t);  // where the block's size is kept

void* operator new(size_t size) {
  auto* block = static_cast<char*>(std::malloc(HEADER + size + sizeof(GUARD)));
  if (block == nullptr) throw std::bad_alloc();
  *reinterpret_cast<size_t*>(block) = size;
  std::memcpy(block + HEADER + size, GUARD, sizeof(GUARD));
  return block + HEADER;
}

void operator delete(void* object) noexcept {
  if (object == nullptr) return;
  char* block = static_cast<char*>(object) - HEADER;
  const size_t size = *reinterpret_cast<size_t*>(block);
  if (std::memcmp(block + HEADER + size, GUARD, sizeof(GUARD)) != 0) std::abort();
  std::free(block);
}

void operator delete(void* object, size_t) noexcept { operator delete(object); }

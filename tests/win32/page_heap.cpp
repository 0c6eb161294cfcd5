#include "tests/win32/page_heap.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace page_heap {
namespace {

// The objects on pages, found again by their address when deleted. A slot
// holds nullptr once its object is freed. Tests put a few hundred here.
constexpr int kMaxPaged = 4096;
void* g_paged[kMaxPaged];
int g_count = 0;
bool g_on = false;

void* Allocate(std::size_t size) {
  if (size == 0) size = 1;
  if (g_on && g_count < kMaxPaged) {
    void* pages = VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (pages == nullptr) std::abort();
    g_paged[g_count++] = pages;
    return pages;
  }
  void* block = std::malloc(size);
  if (block == nullptr) std::abort();
  return block;
}

void Free(void* p) {
  if (p == nullptr) return;
  for (int i = 0; i < g_count; ++i) {
    if (g_paged[i] == p) {
      // Decommitted, not released: the addresses stay reserved and unused.
      VirtualFree(p, 0, MEM_DECOMMIT);
      g_paged[i] = nullptr;
      return;
    }
  }
  std::free(p);
}

LONG WINAPI ReportFault(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (record->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) {
    std::fprintf(stderr, "access violation at %p: %s of %p, freed or never allocated\n",
                 record->ExceptionAddress, record->ExceptionInformation[0] == 0 ? "read" : "write",
                 reinterpret_cast<void*>(record->ExceptionInformation[1]));
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 3);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

}  // namespace

void Use(bool on) { g_on = on; }

bool OnPages(const void* p) {
  for (int i = 0; i < g_count; ++i) {
    if (p != nullptr && g_paged[i] == p) return true;
  }
  return false;
}

void DieOnAccessViolation() { SetUnhandledExceptionFilter(ReportFault); }

}  // namespace page_heap

// The replaceable global allocation functions ([new.delete]); the nothrow
// and sized forms of the library call these.
void* operator new(std::size_t size) { return page_heap::Allocate(size); }
void* operator new[](std::size_t size) { return page_heap::Allocate(size); }
void operator delete(void* p) noexcept { page_heap::Free(p); }
void operator delete[](void* p) noexcept { page_heap::Free(p); }
void operator delete(void* p, std::size_t) noexcept { page_heap::Free(p); }
void operator delete[](void* p, std::size_t) noexcept { page_heap::Free(p); }

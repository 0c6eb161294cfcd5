// The Windows program's own share of the C++ runtime. The program throws no
// exception and catches none, so where the library would throw, on a failed
// allocation or a string grown past its limit (the program's texts never
// come near it), the program ends at once instead. Together with compiling
// it without exception support, this keeps the library's exception machinery
// out of the executable: the unwinder, the exception classes with the old
// string they use, and the terminate handler with its demangler.
#include <cstdlib>
#include <new>
#include <string>

// The replaceable allocation functions ([new.delete]); the library's nothrow
// and sized forms call these.
void* operator new(std::size_t size) {
  void* block = std::malloc(size != 0 ? size : 1);
  if (block == nullptr) std::abort();
  return block;
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

// The points where the library's inline code throws (bits/functexcept.h),
// those that std::string, std::vector and operator new reach, and where its
// assertions fail (the build defines _GLIBCXX_ASSERTIONS). Should the program
// come to use another, the linker reports these as defined twice.
namespace std {
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept { std::abort(); }
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std

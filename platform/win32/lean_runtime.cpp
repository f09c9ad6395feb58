// The C++ runtime's fatal ends, as the shipped program has them: linked into
// quorvel.exe only (never into the test programs), so that the static exe
// leaves out the parts of libstdc++ that only exceptions and threads need.
//
// The program catches no exception (its code is compiled without them, see
// cmake/lean_product.cmake), so every throw from the library would end it
// through std::terminate. Here each such end writes one line to the standard
// error stream and calls abort(), as the default handler does after its
// message; only the message is shorter (no demangled type name).
//
// The linker takes a definition from an archive only for a symbol still
// undefined, and these come before libstdc++: if the library is ever needed
// for a symbol defined here too, the link fails with "multiple definition"
// instead of mixing the two.
#include <windows.h>

#include <cxxabi.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

[[noreturn]] void End(const char* what, const char* detail = nullptr) {
  const HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  const char* const parts[] = {"quorvel: ", what, detail ? ": " : "", detail ? detail : "", "\n"};
  for (const char* part : parts) {
    DWORD written = 0;
    ::WriteFile(error, part, static_cast<DWORD>(std::strlen(part)), &written, nullptr);
  }
  std::abort();
}

}  // namespace

// The library's default handler names the exception's type through the
// demangler (about 45 KB) and prints with the printf family.
namespace __gnu_cxx {
void __verbose_terminate_handler() { End("terminate called"); }
}  // namespace __gnu_cxx

// What libstdc++'s containers, strings and std::function throw. The library's
// own definitions sit in one object together with the exception classes and
// the copy-on-write strings they carry (about 60 KB with what they pull).
namespace std {
void __throw_bad_alloc() { End("out of memory"); }
void __throw_bad_array_new_length() { End("bad array new length"); }
void __throw_bad_cast() { End("bad cast"); }
void __throw_bad_exception() { End("bad exception"); }
void __throw_bad_function_call() { End("bad function call"); }
void __throw_bad_typeid() { End("bad typeid"); }
void __throw_domain_error(const char* what) { End("domain error", what); }
void __throw_invalid_argument(const char* what) { End("invalid argument", what); }
void __throw_length_error(const char* what) { End("length error", what); }
void __throw_logic_error(const char* what) { End("logic error", what); }
void __throw_out_of_range(const char* what) { End("out of range", what); }
// The format's %zu and %s stay unfilled: the text still says which call failed.
void __throw_out_of_range_fmt(const char* format, ...) { End("out of range", format); }
void __throw_overflow_error(const char* what) { End("overflow error", what); }
void __throw_range_error(const char* what) { End("range error", what); }
void __throw_runtime_error(const char* what) { End("runtime error", what); }
void __throw_underflow_error(const char* what) { End("underflow error", what); }
}  // namespace std

// The library's operator new throws std::bad_alloc, and its nothrow form
// catches that to return null. Here the nothrow form returns null itself and
// the plain one ends the program, as the uncaught exception would. Neither
// calls a new-handler: the program sets none.
void* operator new(std::size_t size) {
  if (void* memory = std::malloc(size ? size : 1)) return memory;
  End("out of memory");
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return std::malloc(size ? size : 1);
}

// Guards of function-local statics. The library's guards bring in its
// thread layer; these use the system's interlocked operations instead. The
// guard's first byte says "done" (the compiler's inline test reads it before
// calling here); its second word holds the id of the thread initialising the
// static, and any other thread waits until that one is done. Thread ids are
// never 0.
namespace __cxxabiv1 {
namespace {
volatile LONG* Initialiser(__guard* guard) { return reinterpret_cast<volatile LONG*>(guard) + 1; }
unsigned char* Done(__guard* guard) { return reinterpret_cast<unsigned char*>(guard); }
}  // namespace

int __cxa_guard_acquire(__guard* guard) {
  const LONG self = static_cast<LONG>(::GetCurrentThreadId());
  for (;;) {
    if (__atomic_load_n(Done(guard), __ATOMIC_ACQUIRE) != 0) return 0;
    const LONG holder = ::InterlockedCompareExchange(Initialiser(guard), self, 0);
    if (holder == 0) {
      if (__atomic_load_n(Done(guard), __ATOMIC_ACQUIRE) == 0) return 1;
      ::InterlockedExchange(Initialiser(guard), 0);  // finished just before our turn
      return 0;
    }
    if (holder == self) End("a static's initialisation needs its own value");
    ::Sleep(1);  // another thread initialises it
  }
}
void __cxa_guard_release(__guard* guard) noexcept {
  __atomic_store_n(Done(guard), 1, __ATOMIC_RELEASE);
  ::InterlockedExchange(Initialiser(guard), 0);
}
void __cxa_guard_abort(__guard* guard) noexcept { ::InterlockedExchange(Initialiser(guard), 0); }
}  // namespace __cxxabiv1

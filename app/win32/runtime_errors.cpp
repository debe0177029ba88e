// How the C++ runtime's error paths end in Tavrin.exe. Only running out of
// memory is an error the program handles (a page or list file too large to
// read is refused); every other error the library can raise — a string or
// vector past its maximum size, an index out of range — has no handler
// here, so it ended the program through std::terminate before. It now ends
// it at once, the same way, without the library's message formatting: its
// default versions build std::logic_error objects around a second,
// reference-counted string type and print the exception's demangled name
// to a console this windowless program does not have, which together
// brought about 100 KB into the executable.
#include <bits/functexcept.h>

#include <cstdlib>
#include <exception>
#include <new>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

namespace std {

void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }

void __throw_bad_exception() { std::abort(); }
void __throw_bad_cast() { std::abort(); }
void __throw_bad_typeid() { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_domain_error(const char*) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_runtime_error(const char*) { std::abort(); }
void __throw_range_error(const char*) { std::abort(); }
void __throw_overflow_error(const char*) { std::abort(); }
void __throw_underflow_error(const char*) { std::abort(); }

}  // namespace std

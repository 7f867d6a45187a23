// How the C++ library's strings and vectors report a misuse (a length beyond their limit, a
// position past the end) and a failed allocation, in tessivane.exe. The library's own versions
// build std::length_error and its relatives, which keep their text in the library's older,
// reference-counted string: linking them brings that whole second string implementation, and
// the printf-like formatter of their messages, into the exe (about 30 KB). These throw what the
// tool's guards catch and show all the same, an std::exception with the library's text.
//
// Only the exe defines them; the test programs keep the library's. A library function that needs
// one not defined here makes the link fail with a duplicate definition, never a silent change.
#include <exception>
#include <new>

namespace {

class LibraryError : public std::exception {
 public:
  explicit LibraryError(const char* text) : m_text(text) {}
  const char* what() const noexcept override { return m_text; }

 private:
  const char* m_text;  // the library passes literals
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }
void __throw_length_error(const char* text) { throw LibraryError(text); }
void __throw_logic_error(const char* text) { throw LibraryError(text); }
// The text is a format ("basic_string::substr: __pos (which is %zu) ..."): shown as it stands.
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }

}  // namespace std

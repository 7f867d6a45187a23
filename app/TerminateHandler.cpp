// What happens when an exception leaves the program uncaught (none should: start-up and every
// window procedure catch theirs). The C++ library's own handler writes the exception's demangled
// type to stderr, which a Windows program without a console does not have, and brings the
// demangler and printf into the exe: about 70 KB. Defined here, the library's copy stays out of
// the link. abort() lets the C runtime and Windows Error Reporting say that the program failed.
#include <cstdlib>
#include <exception>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx

#include <cstdlib>

// The product uses no exceptions; the standard library can still end the process, for
// instance when a text cannot grow. It then ends at once and silently: this definition
// keeps libstdc++'s verbose handler, and the 46 KiB demangler it drags in, out of the
// program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

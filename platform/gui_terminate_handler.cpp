// What the shipped program does when std::terminate is called: it ends, as
// the run-time library's default handler would, but without that handler's
// message. The default handler writes the name of the uncaught exception's
// type to stderr, which a GUI program has nowhere to show, and it brings a
// C++ name demangler and a printf along: about a tenth of the program. This
// definition stands in for the library's own (libstdc++ takes it from us, as
// our objects come before its archive), so they are never linked. Tests keep
// the library's handler, whose message their console shows.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

} // namespace __gnu_cxx

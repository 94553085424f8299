// keepLibrariesLoaded.cpp -- in the AddressSanitizer builds only: a library loaded at run time is
// never unloaded. LeakSanitizer looks for leaks as the program ends, after Mesa has unloaded its
// GL driver (swrast_dri.so); the driver's globals are gone by then, so two blocks of 56 bytes that
// only they still pointed to look leaked, with a call stack in memory that no longer belongs to any
// library (shown as "<unknown module>", or wrongly as the library loaded just before it). With the
// driver kept, its globals still reach those blocks and nothing is reported: no suppression has to
// guess a library's name, and a leak of our own still shows. Every executable of these builds
// exports this dlclose, so that the GL libraries' calls land here instead of in the C library.
#include <dlfcn.h>

extern "C" int dlclose(void*) noexcept {
    return 0;
}

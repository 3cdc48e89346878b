// A library that registers itself: each entry point writes a marker file in
// the current directory, so a test sees which one was called.
#include <cstdio>
#ifdef _WIN32
#define ENTRY extern "C" __declspec(dllexport) long __stdcall
#else
#define ENTRY extern "C" __attribute__((visibility("default"))) long
#endif

static long mark(const char* file) {
    if (FILE* f = std::fopen(file, "ab")) {
        std::fputs("called\n", f);
        std::fclose(f);
    }
    return 0;
}

ENTRY DllRegisterServer() { return mark("selfreg-registered.txt"); }
ENTRY DllUnregisterServer() { return mark("selfreg-unregistered.txt"); }

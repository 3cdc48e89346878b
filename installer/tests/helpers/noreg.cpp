// A library that loads but cannot register itself: no DllRegisterServer, no
// DllUnregisterServer.
#ifdef _WIN32
#define EXPORTED extern "C" __declspec(dllexport)
#else
#define EXPORTED extern "C" __attribute__((visibility("default")))
#endif

EXPORTED int noregVersion() { return 1; }

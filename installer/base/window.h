// A window as portable code sees it: a window handle on Windows, an opaque
// token on Linux, nullptr for none.
#pragma once
typedef void* PlatWindow;

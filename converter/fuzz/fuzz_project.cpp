// libFuzzer target: the project-file scan for texture search paths.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "driver/console.h"
#include "driver/mappaths.h"
#include "driver/run.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* sink = fopen("/dev/null", "w");
    resetConverter();
    consoleOut = sink;
    try {
        addProjectDirectory("D:\\scenes\\x.prj");
        scanProjectBytes(data, size > (size_t)kProjectScanBytes ? kProjectScanBytes : (int)size);
    } catch (const ConversionStopped&) {
    }
    return 0;
}

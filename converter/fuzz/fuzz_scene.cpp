// libFuzzer target: the whole conversion of one scene image held in memory
// (reader, material blocks, meshes, collision boxes and tree), with every
// table reset between inputs. Output goes to the null device.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "collision/boxes.h"
#include "driver/console.h"
#include "driver/run.h"
#include "export/meshfile.h"
#include "export/textout.h"
#include "scene/scene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FILE* sink = fopen("/dev/null", "w");
    resetConverter();
    consoleOut = sink;
    if (size > (size_t)kSceneBytes) size = kSceneBytes;
    sceneData = data;  // read in place: any read past the image is reported
    sceneSize = (int32_t)size;
    meshFile = sink;
    try {
        convertLoadedScene();
    } catch (const ConversionStopped&) {
        boxCount = 0;
    }
    meshFlush();
    meshFile = nullptr;
    if (boxCount != 0) writeBoxesFile("/dev/null");
    return 0;
}

// Shared helpers of the converter tests: a scratch directory, whole-file
// reads and writes, and a conversion run with its console captured.
#pragma once
#include <cstdint>
#include <string>

#include "scene/scene.h"

struct ScratchDir {
    ScratchDir();
    ~ScratchDir();
    std::string path;  // ends without a separator
    std::string operator/(const std::string& name) const { return path + "/" + name; }
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);  // "" when missing
bool fileExists(const std::string& path);
// Text with every "\r\n" turned into "\n".
std::string unixLines(std::string text);

struct RunResult {
    int status;
    std::string console;
};
// Runs zorvex with the given argument (none when arg is nullptr) after
// resetting every converter table.
RunResult runConverter(const char* arg);

// Converts one scene written to dir/name.3ds (with no project file) and
// returns the .m3d text.
std::string convertScene(const ScratchDir& dir, const std::string& scene, RunResult* run = nullptr,
                         const std::string& name = "scene");

// Reads a scene image into the tables (after a reset) with the mesh file and
// the console captured; returns what each received.
struct ReadResult {
    std::string console;
    std::string meshText;
};
#include <vector>
ReadResult readScene(const std::string& scene, const std::vector<std::string>& mapDirs = {});

// Runs fn with the console and the mesh file captured.
template <class Fn>
ReadResult captureOutput(Fn fn);
ReadResult captureCall(void (*fn)(void*), void* context);
template <class Fn>
ReadResult captureOutput(Fn fn) {
    return captureCall([](void* c) { (*static_cast<Fn*>(c))(); }, &fn);
}

// A face record, fields named whatever their order in the record.
inline SceneFace makeFace(int16_t flags, int32_t material, int32_t corner0, int32_t corner1, int32_t corner2,
                          int32_t corner3, int16_t edgeFlags) {
    SceneFace f{};
    f.flags = flags;
    f.material = material;
    f.corner0 = corner0;
    f.corner1 = corner1;
    f.corner2 = corner2;
    f.corner3 = corner3;
    f.edgeFlags = edgeFlags;
    return f;
}

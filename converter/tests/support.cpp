#include "support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "driver/console.h"
#include "driver/run.h"

namespace fs = std::filesystem;

ScratchDir::ScratchDir() {
    static int serial;
    fs::path p = fs::temp_directory_path() /
                 ("zorvex-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  std::to_string(serial++) + "-" + std::to_string((long long)(uintptr_t)this));
    fs::remove_all(p);
    fs::create_directories(p);
    path = p.generic_string();
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool fileExists(const std::string& path) { return fs::exists(path); }

std::string unixLines(std::string text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

RunResult runConverter(const char* arg) {
    resetConverter();
    FILE* capture = tmpfile();
    consoleOut = capture;
    char program[] = "zorvex";
    std::string argument = arg ? arg : "";
    char* argv[] = {program, &argument[0], nullptr};
    RunResult r;
    r.status = runZorvex(arg ? 2 : 1, argv);
    fflush(capture);
    consoleOut = stdout;
    long size = ftell(capture);
    rewind(capture);
    r.console.resize(size > 0 ? size : 0);
    if (size > 0) r.console.resize(fread(&r.console[0], 1, size, capture));
    fclose(capture);
    r.console = unixLines(r.console);
    return r;
}

std::string convertScene(const ScratchDir& dir, const std::string& scene, RunResult* run,
                         const std::string& name) {
    writeFile(dir / (name + ".3ds"), scene);
    RunResult r = runConverter((dir / (name + ".3ds")).c_str());
    if (run) *run = r;
    return unixLines(readFile(dir / (name + ".m3d")));
}

#include <cstring>

#include "driver/mappaths.h"
#include "export/meshfile.h"
#include "export/textout.h"
#include "scene/chunks.h"
#include "scene/scene.h"

static std::string drain(FILE* f) {
    fflush(f);
    long size = ftell(f);
    rewind(f);
    std::string s(size > 0 ? size : 0, '\0');
    if (size > 0) s.resize(fread(&s[0], 1, size, f));
    fclose(f);
    return unixLines(s);
}

ReadResult captureCall(void (*fn)(void*), void* context) {
    FILE* console = tmpfile();
    FILE* mesh = tmpfile();
    consoleOut = console;
    meshFile = mesh;
    fn(context);
    meshFlush();
    consoleOut = stdout;
    meshFile = nullptr;
    ReadResult r;
    r.console = drain(console);
    r.meshText = drain(mesh);
    return r;
}

ReadResult readScene(const std::string& scene, const std::vector<std::string>& mapDirs) {
    resetConverter();
    memcpy(sceneBuffer, scene.data(), scene.size());
    sceneSize = (int32_t)scene.size();
    return captureOutput([&] {
        for (const std::string& d : mapDirs) addMapPath(d.c_str());
        readChunks(0, sceneSize);
    });
}

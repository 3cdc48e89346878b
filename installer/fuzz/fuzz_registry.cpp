// libFuzzer target: the registry file of the Linux build. The input is the
// file. A value is read, then written under a key of its own and read back;
// when that value was new, the rewritten file must hold every line of the
// input, in order. A second write, a deletion and the key's removal follow.
#include "platform/registry.h"
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {
std::string registryFile() {
    static std::string path;
    if (path.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz-registry-XXXXXX";
        if (!mkdtemp(&pattern[0])) std::abort();
        path = pattern + "/registry.reg";
        setenv("SETUP_REGISTRY", path.c_str(), 1);
    }
    return path;
}

std::string readAll(const std::string& path) {
    std::string text;
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        char buffer[65536];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) text.append(buffer, n);
        std::fclose(f);
    }
    return text;
}

// The lines of a text without their line ends (a last line without one may
// get the file's own when something is written after it).
std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Every line of before stands in after, in the same order.
bool keepsEveryLine(const std::string& before, const std::string& after) {
    std::vector<std::string> old = linesOf(before), now = linesOf(after);
    size_t j = 0;
    for (const std::string& line : old) {
        while (j < now.size() && now[j] != line) j++;
        if (j == now.size()) return false;
        j++;
    }
    return true;
}

void check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_registry: %s\n", what);
    std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = registryFile();
    const std::string input(reinterpret_cast<const char*>(data), size);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(input.data(), 1, input.size(), f);
        std::fclose(f);
    }
    char out[512];
    platRegGetString(RegLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "ProgramFilesDir", out, sizeof out);
    platRegValueExists(RegClassesRoot, "vexa_file\\shell\\open\\command", nullptr);

    const char* key = "Software\\Fuzzed\\Key";
    const char* value = "written \"text\" with \\ and ;";
    bool wasThere = platRegValueExists(RegCurrentUser, key, "Value") == 1;
    if (platRegSetString(RegCurrentUser, key, "Value", value) == 0) {
        check(platRegGetString(RegCurrentUser, key, "Value", out, sizeof out) == 0 && std::strcmp(out, value) == 0,
              "a value written is not read back");
        if (!wasThere && !keepsEveryLine(input, readAll(path))) {
            // kept for whoever looks into the finding
            std::string after = readAll(path);
            if (FILE* f = std::fopen("fuzz-registry-after.reg", "wb")) {
                std::fwrite(after.data(), 1, after.size(), f);
                std::fclose(f);
            }
            check(false, "a line the write did not touch is gone");
        }
        check(platRegSetString(RegCurrentUser, key, "value", "second") == 0, "the second write failed");
        check(platRegGetString(RegCurrentUser, key, "VALUE", out, sizeof out) == 0 && std::strcmp(out, "second") == 0,
              "a value written again is not read back");
        check(platRegDeleteValue(RegCurrentUser, key, "Value") == 0, "the value cannot be deleted");
        check(platRegValueExists(RegCurrentUser, key, "Value") == 0, "a deleted value is still there");
        platRegDeleteKey(RegCurrentUser, key);
    }
    unlink(path.c_str());
    return 0;
}

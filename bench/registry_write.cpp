// Times one write of the registry file on Linux: a new uninstall entry's
// command (the key is created too) in registries of about 1 MB and 10 MB.
//   registry_write <work dir>
#include "platform/registry.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {
// A registry of about size bytes, of keys such as an installed machine has;
// returns the number of keys.
int writeRegistry(const std::string& path, size_t size) {
    std::string text = "Windows Registry Editor Version 5.00\n";
    int keys = 0;
    char line[256];
    while (text.size() < size) {
        std::snprintf(line, sizeof line,
                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor%03d\\Product%06d]\n\"Version\"=\"%d.%d\"\n", keys % 211,
                      keys, keys % 9, keys % 97);
        text += line;
        keys++;
    }
    std::ofstream(path, std::ios::binary) << text;
    return keys;
}

double oneWrite(const std::string& path, const std::string& pristine) {
    std::ifstream in(pristine, std::ios::binary);
    std::ofstream(path, std::ios::binary) << in.rdbuf();
    auto start = std::chrono::steady_clock::now();
    if (platRegSetString(RegLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vexa 3D",
                         "UninstallString", "setup /UNINSTALL") != 0) {
        std::fprintf(stderr, "the write failed\n");
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}
}  // namespace

int main(int argc, char** argv) {
    std::string dir = argc > 1 ? argv[1] : ".";
    std::string path = dir + "/registry.reg";
    setenv("SETUP_REGISTRY", path.c_str(), 1);
    struct Size {
        size_t bytes;
        double target;
    };
    for (Size size : {Size{1000000, 0.2}, Size{10000000, 2.0}}) {
        std::string pristine = dir + "/pristine.reg";
        int keys = writeRegistry(pristine, size.bytes);
        double best = 1e9;
        for (int round = 0; round < 3; round++) {
            double t = oneWrite(path, pristine);
            if (t < best) best = t;
        }
        std::printf("registry of %.1f MB (%d keys): one write %.3f s (best of 3; target under %.1f s)\n",
                    size.bytes / 1e6, keys, best, size.target);
    }
    return 0;
}

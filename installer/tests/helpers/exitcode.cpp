// A program for the tests of programs started by setup: writes the command
// line it was given to cmdline.txt in its current directory and exits with
// the number the command line starts with (0 when it starts with none).
//   Windows: the command line is the process's whole command line.
//   Linux: it is the one argument after the program's name; a second
//   argument is written after " | " so that a test sees it was split.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#ifdef _WIN32
#include <windows.h>
#endif

int main(int argc, char** argv) {
    std::string line;
#ifdef _WIN32
    (void)argc;
    (void)argv;
    line = GetCommandLineA();
#else
    for (int i = 1; i < argc; i++) line += std::string(i > 1 ? " | " : "") + argv[i];
#endif
    if (FILE* f = std::fopen("cmdline.txt", "wb")) {
        std::fwrite(line.data(), 1, line.size(), f);
        std::fclose(f);
    }
    return std::atoi(line.c_str());
}

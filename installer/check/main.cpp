// setupcheck [DIR]: checks DIR's setup.ini (by default the current folder's)
// with the files it includes and its language files. Exit status 0 when it
// found no error, 1 otherwise.
#include "check.h"
#include "../platform/system.h"
#include <cstdio>
#include <cstring>
#include <string>

namespace {
const char kUsage[] =
    "usage: setupcheck [DIR]\n"
    "Checks DIR/setup.ini (by default the one in the current folder), every file it\n"
    "includes or parses that can be found there, and every setup.<Language>.txt\n"
    "beside it, the way setup reads them. Each finding is one line,\n"
    "  file:line: error: ...   or   file:line: warning: ...\n"
    "then a summary line. The exit status is 0 when there is no error, 1 otherwise.\n";
}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "/?"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc > 2 || (argc == 2 && argv[1][0] == '-')) {
        std::fputs(kUsage, stderr);
        return 1;
    }
    std::string prefix;
    if (argc == 2) {
        std::string dir = argv[1];
        if (platSetCurrentDir(dir.c_str()) != 0) {
            std::fprintf(stderr, "setupcheck: %s: no such folder\n", dir.c_str());
            return 1;
        }
        // names are shown below DIR, joined as DIR itself is written
        char last = dir.empty() ? 0 : dir[dir.size() - 1];
        bool backslashes = dir.find('\\') != std::string::npos && dir.find('/') == std::string::npos;
        prefix = (last == '/' || last == '\\') ? dir : dir + (backslashes ? "\\" : "/");
    }
    CheckReport report = checkSetupScripts();
    std::fputs(formatCheckReport(report, prefix).c_str(), stdout);
    return report.errors ? 1 : 0;
}

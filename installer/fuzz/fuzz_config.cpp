// libFuzzer target: the runtime's configuration files. The input holds,
// separated by lines "==8<==", an installed qolt.ini, the new release's
// qolt.ini (also taken as the old pack file) and a line (the old plug-in
// list, a partition, a version, a configuration line to split).
#include "parts.h"
#include "config/config.h"
#include "config/tokens.h"
#include "platform/recording/recording.h"
#include "script/commands.h"
#include "script/runstate.h"
#include "script/store.h"
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> p = fuzzParts(data, size, 3);
    std::string line = p[2].substr(0, p[2].find('\n'));
    line = line.substr(0, line.find('\0'));

    recording::reset();
    resetRunState();
    run.silentMode = 1;
    clearVariableStore();
    recording::addFile("C:\\dst\\qolt.ini", p[0]);
    recording::addFile("C:\\src\\qolt.ini", p[1]);
    recording::addFile("C:\\dst\\qoltpack.ini", p[1]);
    recording::addFile("C:\\dst\\qoltdll.ini", p[2]);

    // the rewrite of an installed file, then a fresh one with the pack import
    ImportOldVexa("C:\\src", "C:\\dst", line.c_str(), "auto");
    AddPartition("C:\\dst", line.c_str());
    IsVexaUpdated("C:\\dst", false, line.c_str());
    platDeleteFile("C:\\dst\\qolt.ini");
    ImportOldVexa("C:\\src", "C:\\dst", "1.0", nullptr);
    IsVexaUpdated("C:\\dst", false, "1.0");

    std::string copy = p[2];
    char* tokens[kConfigTokens];
    bool overflow = false;
    SplitConfigTokens(&copy[0], tokens, kConfigTokens, &overflow);

    // the version of a key, read from the installed file through the command
    SetVariable("F", "C:\\dst\\qolt.ini");
    SetVariable("K", line.c_str());
    ExecuteCommand(nullptr, GetVariable("F"), GetVariable("K"), "F", "K", CmdGetVersion, true, true);
    clearVariableStore();
    return 0;
}

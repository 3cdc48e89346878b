// libFuzzer target: a whole run of setup on the recording platform. The
// input holds, separated by lines "==8<==", the script (setup.ini), a
// language file (setup.English.txt), an answers file and a command line.
// Every question nobody answers takes its default, and the run is bounded in
// lines so that goto loops end.
#include "base/log.h"
#include "parts.h"
#include "dialogs/ask.h"
#include "frame/startup.h"
#include "platform/files.h"
#include "platform/recording/recording.h"
#include "script/runstate.h"
#include "script/store.h"
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {
// Every run keeps a log, thrown away, so that the log's lines are made too.
void discardLogLine(const char*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> p = fuzzParts(data, size, 4);
    recording::reset();
    recording::addFile("C:\\setup\\setup.ini", p[0]);
    recording::addFile("C:\\setup\\setup.English.txt", p[1]);
    if (!p[2].empty()) {
        recording::addFile("C:\\setup\\answers.txt", p[2]);
        recording::setEnv("SETUP_ANSWERS", "C:\\setup\\answers.txt");
    }
    resetRunState();
    resetAnswers();
    setLogWriter(discardLogLine);
    run.stepBudget = 3000;
    std::string commandLine = p[3].substr(0, p[3].find('\n'));
    setupStartUp(commandLine.c_str());
    if (runSetupScript() == 0) finishSetupScript();
    if (run.scriptFile) platFileClose(run.scriptFile);
    run.scriptFile = nullptr;
    resetAnswers();
    clearVariableStore();
    return 0;
}

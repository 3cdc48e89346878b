// The install log file. It is written with the C library's own file calls,
// never through the platform layer, so that writing it is never logged.
#include "installlog.h"
#include "../base/log.h"
#include "../platform/ui.h"
#include "../script/runstate.h"
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace {
FILE* logFile = nullptr;
LogTextConversion conversion = nullptr;

void writeLogLine(const char* line) {
    if (!logFile) return;
    using namespace std::chrono;
    system_clock::time_point now = system_clock::now();
    std::time_t seconds = system_clock::to_time_t(now);
    long millis = static_cast<long>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    char stamp[32] = "";
    if (const std::tm* local = std::localtime(&seconds)) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", local);
    std::string text = conversion ? conversion(line) : std::string(line);
    std::fprintf(logFile, "%s.%03ld %s\n", stamp, millis, text.c_str());
    std::fflush(logFile);  // what a crash leaves is what support needs most
}
}  // namespace

int openInstallLog(const char* path, LogTextConversion convert) {
    if (!path || !*path) return -1;
    logFile = std::fopen(path, "a");
    if (!logFile) {
        std::string why = std::strerror(errno);
        platDiagnostic(("setup: the log " + std::string(path) + " (SETUP_LOG) cannot be opened: " + why).c_str());
        return -1;
    }
    conversion = convert;
    setLogWriter(writeLogLine);
    return 0;
}

void closeInstallLog(int exitStatus) {
    if (!logFile) return;
    logLine("run ended: exit status %d (failure flag %d, a failure during the run %d, restart requested %d)",
            exitStatus, static_cast<int>(run.failure), static_cast<int>(run.failedDuringRun),
            static_cast<int>(run.rebootRequested));
    setLogWriter(nullptr);
    std::fclose(logFile);
    logFile = nullptr;
}

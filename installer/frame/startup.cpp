// Start-up and the one run of the script.
#include "startup.h"
#include "../base/log.h"
#include "../base/report.h"
#include "../base/text.h"
#include "../platform/files.h"
#include "../platform/system.h"
#include "../platform/ui.h"
#include "../script/messages.h"
#include "../script/runner.h"
#include "../script/runstate.h"
#include "../script/store.h"
#include "../system/installstate.h"

namespace {
const struct {
    const char* word;
    SetupSwitch mode;
} kSwitches[] = {{"/UNINSTALL", SwitchUninstall}, {"/MINI", SwitchMini}, {"/SILENT", SwitchSilent}};

bool isSwitch(const std::string& word, SetupSwitch* which) {
    for (const auto& s : kSwitches)
        if (textEqualNoCase(word.c_str(), s.word)) {
            if (which) *which = s.mode;
            return true;
        }
    return false;
}

// A folder name given in double quotes (as Windows shells pass a name with blanks).
std::string unquoted(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return text.substr(1, text.size() - 2);
    return text;
}

const char* modeName(SetupSwitch mode) {
    for (const auto& s : kSwitches)
        if (s.mode == mode) return s.word;
    return "none";
}
}  // namespace

SetupCommandLine parseSetupCommandLine(const char* commandLine) {
    SetupCommandLine parsed{NoSwitch, ""};
    std::string line = commandLine ? commandLine : "";
    if (trimmedBlanks(line).empty()) return parsed;
    SetupSwitch mode;
    if (isSwitch(line, &mode)) {
        parsed.mode = mode;
        return parsed;
    }
    // a switch followed by a directory: "/SILENT /media/cdrom"
    size_t blank = line.find_first_of(" \t");
    if (blank != std::string::npos && isSwitch(line.substr(0, blank), &mode)) {
        std::string rest = unquoted(trimmedBlanks(line.substr(blank)));
        // two switches are no switch, as the whole line matches none
        if (!rest.empty() && !isSwitch(rest, nullptr)) {
            parsed.mode = mode;
            parsed.directory = rest;
            return parsed;
        }
    }
    parsed.directory = unquoted(line);
    return parsed;
}

bool isHelpRequest(const char* commandLine) {
    std::string line = trimmedBlanks(commandLine ? commandLine : "");
    for (const char* word : {"--help", "-h", "-?", "/?", "/HELP"})
        if (textEqualNoCase(line.c_str(), word)) return true;
    return false;
}

std::string setupUsage(const char* platformLines) {
    std::string text =
        "Usage: setup [/SILENT | /MINI | /UNINSTALL] [DIRECTORY]\n"
        "       setup --help   (or /?)\n"
        "\n"
        "Runs the section [Setup] of the setup.ini in DIRECTORY, or in setup's own\n"
        "folder when none is given; the section [Uninstall] with /UNINSTALL, or when a\n"
        "file setup.txt lies beside setup.ini. A relative DIRECTORY is taken from the\n"
        "folder setup was started from; a DIRECTORY that does not exist is ignored.\n"
        "\n"
        "Switches (in any letter case, at most one, before DIRECTORY):\n"
        "  /SILENT      shows and asks nothing but the setup type and the mail server\n"
        "               when the script asks for them; implies /MINI\n"
        "  /MINI        reduced display\n"
        "  /UNINSTALL   runs the section [Uninstall]\n"
        "  --help, /?   prints this text\n"
        "\n"
        "Environment variables:\n"
        "  SETUP_ANSWERS=FILE   answers every message box and dialog from FILE, one\n"
        "                       line each (\"msgbox yes\", \"intro continue\"...), for\n"
        "                       unattended runs; a missing or wrong answer ends the run\n"
        "                       as a failure\n"
        "  SETUP_LOG=FILE       appends a log of the run to FILE: sections, command\n"
        "                       lines with their values and results, files, registry\n"
        "                       values and shortcuts written or removed, questions with\n"
        "                       their answers\n";
    text += platformLines ? platformLines : "";
    text +=
        "\n"
        "Exit status: 0 after a run without failure; 1 when a failure happened (quiterr,\n"
        "a copy or registry write that failed, an unknown command word or a missing\n"
        "section in the script, a question left without an answer...); -1 (255 on\n"
        "Linux) when setup.ini or its first section is missing.\n";
    return text;
}

void applyCommandLine(const char* commandLine, const char* startFolder) {
    SetupCommandLine parsed = parseSetupCommandLine(commandLine);
    if (parsed.mode == SwitchUninstall) run.uninstallMode = 1;
    if (parsed.mode == SwitchMini) run.miniMode = 1;
    if (parsed.mode == SwitchSilent) {
        run.silentMode = 1;
        run.miniMode = 1;
    }
    if (parsed.directory.empty()) return;
    char here[1025];
    bool known = platGetCurrentDir(here, sizeof here) == 0;
    // a relative directory is taken from where setup was started
    if (startFolder && *startFolder) platSetCurrentDir(startFolder);
    if (platSetCurrentDir(parsed.directory.c_str()) != 0) {
        if (known) platSetCurrentDir(here);  // a directory that does not exist is ignored
        reportDiagnostic("the directory %s does not exist: the script is taken from setup's own folder",
                         parsed.directory.c_str());
    }
}

void setupStartUp(const char* commandLine) {
    platEnableShutdownPrivilege();
    char startFolder[1025];
    if (platGetCurrentDir(startFolder, sizeof startFolder) != 0) startFolder[0] = 0;
    // the program's own directory becomes the working directory
    char path[1025];
    if (platProgramPath(path, sizeof path) == 0) {
        char* cut = nullptr;
        for (char* p = path; *p; p++)
            if (*p == '/' || *p == '\\') cut = p;
        if (cut) {
            *cut = 0;
            platSetCurrentDir(*path ? path : "/");
        }
    }
    logLine("setup started: command line %s, started in %s", logQuoted(commandLine ? commandLine : "").c_str(),
            logQuoted(startFolder).c_str());
    applyCommandLine(commandLine, startFolder);
    if (platFileReadable("setup.txt")) run.uninstallMode = 1;
    clearVariableStore();
    if (logEnabled()) {
        char here[1025];
        if (platGetCurrentDir(here, sizeof here) != 0) here[0] = 0;
        logLine("switch %s; script folder %s; modes: silent %d, mini %d, uninstall %d%s; user language 0x%04x",
                modeName(parseSetupCommandLine(commandLine).mode), logQuoted(here).c_str(),
                static_cast<int>(run.silentMode), static_cast<int>(run.miniMode), static_cast<int>(run.uninstallMode),
                platFileReadable("setup.txt") ? " (setup.txt is there)" : "", platUserLanguage());
    }
}

int runSetupScript() {
    PlatFile* script = platFileOpen("setup.ini", "rb");
    if (!script) {
        logLine("setup.ini cannot be opened: %s", platFailureText());
        if (!run.silentMode) showFixedMessageBox(BoxOK, "ERROR", "No setup.ini file...");
        platDiagnostic("setup: No setup.ini file...");
        endRun(nullptr, EndClearMark, -1);
        return -1;
    }
    run.scriptFile = script;  // stays open to the end of the process
    run.scriptName = "setup.ini";
    run.scriptUtf8 = platFileHasUtf8Bom(script);
    int started = MarkInstallStarted();
    run.failure = started != 0 ? 1 : 0;
    if (started < 0) noteFailure();  // an install that cannot be recorded does not end as a success
    RunSection(platMainWindow(), run.uninstallMode ? "Uninstall" : "Setup");
    return 0;
}

void finishSetupScript() { endRun(nullptr, EndClearMark | EndRestartNow); }

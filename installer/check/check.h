// setupcheck: reads a setup script, the files it includes and its language
// files the way setup reads them, and reports what would go wrong before the
// script ships. It asks the command table what each command needs, so it
// never disagrees with setup about a command.
#pragma once
#include <string>
#include <vector>

struct CheckMessage {
    std::string file;  // the file's name as the script writes it (setup.ini, setup.French.txt...)
    int line;          // from 1; 0 for the file as a whole
    bool error;        // an error, else a warning
    std::string text;
};

struct CheckReport {
    std::vector<CheckMessage> messages;  // file by file in the order read, then by line
    int files = 0;
    int errors = 0;
    int warnings = 0;
};

// Checks the setup.ini of the current directory, every file it includes or
// parses that can be found there, and every setup.<Language>.txt beside it.
CheckReport checkSetupScripts();

// One "file:line: error: text" (or "warning") line per message, the file names
// after prefix, then the summary line.
std::string formatCheckReport(const CheckReport& report, const std::string& prefix);

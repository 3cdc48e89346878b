// The system variables: directories of the machine, the default destination,
// browser facts and the message file.
#pragma once
#include <string>
#include <utility>
#include <vector>

struct SystemVars {
    // {name, value} in the order the variables are set
    std::vector<std::pair<std::string, std::string>> values;
    int languageCode = 9;  // the code of the user's language (traditional Chinese 260)
};

// Reads what GetSystemVars sets. SRCDIR is missing when the working directory
// does not fit in 260 characters; PROGRAMFILES and DSTDIR are missing when the
// registry holds no program-files directory.
SystemVars readSystemVars();
// "setup.<Language>.txt" for the language code when that file can be opened
// in the working directory, else "setup.English.txt".
std::string messageFileFor(int languageCode);

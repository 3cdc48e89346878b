#include "cmdline.h"
#include <cstring>

std::vector<std::string> splitCommandLine(const char* text) {
    std::vector<std::string> args;
    if (!text) return args;
    const char* p = text;
    for (;;) {
        while (*p == ' ' || *p == '\t') p++;
        if (!*p) break;
        std::string arg;
        bool quoted = false;
        while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
            if (*p == '\\') {
                size_t run = 0;
                while (p[run] == '\\') run++;
                if (p[run] == '"') {
                    arg.append(run / 2, '\\');
                    p += run;
                    if (run % 2) {
                        arg += '"';  // an escaped quote
                        p++;
                    }
                    // an even run leaves the quote to the code below
                } else {
                    arg.append(run, '\\');  // backslashes not before a quote are kept
                    p += run;
                }
                continue;
            }
            if (*p == '"') {
                if (quoted && p[1] == '"') {
                    arg += '"';  // "" inside quoting is one quote
                    p += 2;
                    continue;
                }
                quoted = !quoted;
                p++;
                continue;
            }
            arg += *p++;
        }
        args.push_back(arg);
    }
    return args;
}

std::string quoteExecArgument(const std::string& argument) {
    static const char reserved[] = " \t\n\"'\\><~|&;$*?#`()";
    bool needsQuotes = argument.empty();
    for (char c : argument)
        if (std::strchr(reserved, c) && c) needsQuotes = true;
    std::string out;
    if (needsQuotes) out += '"';
    for (char c : argument) {
        if (needsQuotes && (c == '"' || c == '`' || c == '$' || c == '\\')) out += '\\';
        if (c == '%') out += '%';
        out += c;
    }
    if (needsQuotes) out += '"';
    return out;
}

std::string escapeDesktopValue(const std::string& value) {
    std::string out;
    for (char c : value) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
    return out;
}

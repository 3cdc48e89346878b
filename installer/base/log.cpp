#include "log.h"
#include <cstdarg>

namespace {
LogWriter writer = nullptr;
bool writing = false;  // a line being written logs nothing more
}  // namespace

void setLogWriter(LogWriter w) { writer = w; }

bool logEnabled() { return writer != nullptr; }

void logLine(const char* format, ...) {
    if (!writer || writing) return;
    va_list args;
    va_start(args, format);
    std::string text = formatStringV(format, args);
    va_end(args);
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n') line += "\\n";
        else line += c;
    }
    writing = true;
    writer(line.c_str());
    writing = false;
}

std::string logQuoted(const char* text) { return text ? "\"" + std::string(text) + "\"" : std::string("none"); }

void logChange(const char* what, const char* path, const char* other, int result, const char* why) {
    if (!writer) return;
    std::string line = std::string(what) + ": " + (path ? path : "(none)");
    if (other) line += std::string(" -> ") + other;
    if (result < 0) line += std::string(": failed") + (why && *why ? std::string(" (") + why + ")" : std::string());
    logLine("%s", line.c_str());
}

void logRegistryChange(const char* what, const char* root, const char* key, const char* name, const char* value,
                       int result) {
    if (!writer) return;
    std::string path = std::string(root) + "\\" + (key ? key : "");
    std::string line = std::string("registry ") + what + ": " + path;
    if (name || value) line += std::string(" [") + (name ? name : "@") + "]";
    if (value) line += " = " + logQuoted(value);
    if (result < 0) line += ": failed";
    logLine("%s", line.c_str());
}

// The install log: an opt-in record of a run for whoever has to find out
// afterwards what happened (support staff ask for it). The frame installs a
// writer when $SETUP_LOG names a file; without one, nothing is formatted or
// written. Every layer may log: the runner its sections and command lines,
// the platform every file, registry value and shortcut it writes or
// removes, the dialogs every question with its answer and where that came
// from. The writer stamps the time on each line and must not go through the
// platform layer, so that the log's own writes are never logged.
#pragma once
#include "format.h"
#include <string>

// Receives one line (no line end, no time stamp).
typedef void (*LogWriter)(const char* line);

// Installs the writer; nullptr: no log.
void setLogWriter(LogWriter writer);
// Whether a log is being kept (so that costly details are computed only then).
bool logEnabled();
// Writes one line to the log (nothing without a writer). Line breaks inside
// the text are written as the two characters \n, so that every line of the
// log starts with its time stamp.
void logLine(const char* format, ...) SETUP_PRINTF(1, 2);

// A text for a log line: in double quotes, or none for an absent text.
std::string logQuoted(const char* text);
// A change the platform made or failed to make: "<what>: <path>" (and
// " -> <other>" when other is given), then ": failed" (and the reason) when
// result is below 0. Logged only when a log is kept.
void logChange(const char* what, const char* path, const char* other, int result, const char* why = nullptr);
// A registry change: "registry <what>: <root>\<key>" with the value's name
// ("@" for the default value) and, when given, " = <value>".
void logRegistryChange(const char* what, const char* root, const char* key, const char* name, const char* value,
                       int result);

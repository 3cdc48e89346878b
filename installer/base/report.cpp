#include "report.h"
#include <cstdarg>
#include <cstdio>
#include <string>

namespace {
void stderrDiagnostic(const char* text) { std::fprintf(stderr, "%s\n", text); }
int noBox(BoxWhen, int, const char*, const char*, const char* const*, int) { return 0; }
int noFixedBox(BoxWhen, int, const char*, const char*) { return 0; }
void noProgress(PlatWindow, const char*, const char* const*, int) {}
int noErrorBox(const char*, const char* const*, int) { return 0; }

const ReportSink defaultSink = {stderrDiagnostic, noBox, noFixedBox, noProgress, noErrorBox};
const ReportSink* sink = &defaultSink;
}  // namespace

void setReportSink(const ReportSink* s) { sink = s ? s : &defaultSink; }

void reportDiagnostic(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = formatStringV(format, args);
    va_end(args);
    sink->diagnostic(text.c_str());
}

int reportBox(BoxWhen when, int type, const char* titleKey, const char* textKey, const char* const* args,
              int argCount) {
    return sink->box(when, type, titleKey, textKey, args, argCount);
}

int reportFixedBox(BoxWhen when, int type, const char* titleKey, const char* text) {
    return sink->fixedBox(when, type, titleKey, text);
}

int reportErrorBox(const char* textKey, const char* const* args, int argCount) {
    return sink->errorBox(textKey, args, argCount);
}

void reportProgress(PlatWindow window, const char* textKey, const char* arg) {
    const char* args[1] = {arg};
    sink->progress(window, textKey, args, arg ? 1 : 0);
}

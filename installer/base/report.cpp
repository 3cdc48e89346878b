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
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(n > 0 ? static_cast<size_t>(n) + 1 : 1, '\0');
    if (n > 0) std::vsnprintf(&text[0], text.size(), format, again);
    va_end(again);
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
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

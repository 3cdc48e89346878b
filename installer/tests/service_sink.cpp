#include "service_sink.h"

namespace {
std::vector<std::string> recorded;
int boxAnswer = 0;

std::string withArgs(const char* key, const char* const* args, int argCount) {
    std::string s = key ? key : "(none)";
    s += "(";
    for (int i = 0; i < argCount; i++) s += std::string(i ? ", " : "") + (args[i] ? args[i] : "(none)");
    return s + ")";
}

void diagnostic(const char* text) { recorded.push_back(std::string("diagnostic ") + text); }
int box(BoxWhen, int, const char* titleKey, const char* textKey, const char* const* args, int argCount) {
    recorded.push_back(std::string("box ") + (titleKey ? titleKey : "") + "/" + withArgs(textKey, args, argCount));
    return boxAnswer;
}
int fixedBox(BoxWhen, int, const char* titleKey, const char* text) {
    recorded.push_back(std::string("fixed ") + (titleKey ? titleKey : "") + ": " + text);
    return boxAnswer;
}
void progress(PlatWindow, const char* textKey, const char* const* args, int argCount) {
    recorded.push_back("progress " + withArgs(textKey, args, argCount));
}
int errorBox(const char* textKey, const char* const* args, int argCount) {
    recorded.push_back("error " + withArgs(textKey, args, argCount));
    return boxAnswer;
}
const ReportSink sink = {diagnostic, box, fixedBox, progress, errorBox};
}  // namespace

namespace service_sink {
void install(int answer) {
    recorded.clear();
    boxAnswer = answer;
    setReportSink(&sink);
}
const std::vector<std::string>& events() { return recorded; }
std::vector<std::string> of(const std::string& kind) {
    std::vector<std::string> out;
    for (const std::string& e : recorded)
        if (e.compare(0, kind.size() + 1, kind + " ") == 0) out.push_back(e.substr(kind.size() + 1));
    return out;
}
}  // namespace service_sink

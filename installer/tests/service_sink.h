// A report sink for tests of the services alone: it records what a service
// reports (by message key) and answers its boxes as told.
#pragma once
#include "base/report.h"
#include <string>
#include <vector>

namespace service_sink {
// Installs the sink and forgets what it recorded; boxes are answered with answer.
void install(int answer = 0);
// Lines like "box ERROR_COPY_TTL/ERROR_COPY_MSG(src, dst)", "progress COPY_MSG(a.dll)",
// "fixed ERROR_TTL: text", "error ERROR_REG_DLL(x.dll)", "diagnostic text", in the order they came.
const std::vector<std::string>& events();
// The events of one kind ("box", "progress", "fixed", "error", "diagnostic"), without the kind word.
std::vector<std::string> of(const std::string& kind);
}  // namespace service_sink

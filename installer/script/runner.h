// The section runner.
#pragma once
#include "../base/window.h"

// Runs one section of the current script file under its own progress window.
void RunSection(PlatWindow owner, const char* name);

// An open file of the two real platform layers: a C stream. Both open it their
// own way (files_posix.cpp, files_win32.cpp); files_stdio.cpp does the rest.
#pragma once
#include <cstdio>

struct PlatFile {
    FILE* stream;
};

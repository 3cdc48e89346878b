// Opening input files as Windows does: names match ignoring letter case.
#pragma once
#include <cstdio>

// True when a and b are equal ignoring ASCII letter case.
bool sameIgnoringCase(const char* a, const char* b);

// Opens an input file for reading ("rb"). Scenes, projects and textures
// come from Windows, where file names match ignoring case: when the path
// does not exist as written, each of its components is looked up ignoring
// ASCII letter case. Returns nullptr when no such file exists.
FILE* openInput(const char* path);

// Texture search paths: the directory of the converted file, then every
// distinct drive-letter path found in the project file.
#pragma once
#include "scene/scene.h"

constexpr int kMaxMapPaths = 64;
constexpr int kProjectScanBytes = 16384;

// Each entry uses '/' as separator and ends with '/' unless it is empty
// (the current directory).
extern char mapPaths[kMaxMapPaths][kPathChars];
extern int mapPathCount;

// Makes the directory part of path the next search path.
void addProjectDirectory(const char* path);
// Adds every drive-letter path found in the project file's first bytes.
// Returns 0, or -1 when the file cannot be opened (the run goes on).
int scanProjectFile(const char* path);
// Adds the paths found in the first n bytes of a project file.
void scanProjectBytes(const unsigned char* bytes, int n);
// Adds one project path (text followed by '/') unless already listed,
// ignoring case. Returns 0 added, -1 duplicate.
int addMapPath(const char* text);
// Looks a texture name up through the search paths; on success the name
// (a kPathChars buffer) becomes the path found. Returns 0 found, -1 not found.
int resolveMapName(char* name);

void resetMapPaths();

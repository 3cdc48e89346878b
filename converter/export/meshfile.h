// The .m3d output stream and the text conventions its sections share.
#pragma once
#include <cstdio>

// Open from the creation of the .m3d file to the statistics trailer.
extern FILE* meshFile;

// Copies a material or object name into a 32-character buffer, every space
// replaced by an underscore. Returns 0.
int exportName(char* dst, const char* src);

// Writes one material block; the caller marks the material written.
int writeMaterialBlock(int index);

// The texture reference of a resolved texture path: what follows the
// directory after the first "/vexa/" segment, or the whole path (with a
// warning) when there is none. The result points into path.
const char* vexaRelativePath(const char* path);

// The runtime's configuration files in the destination directory: qolt.ini
// (partitions, plug-ins, version and update lines) and the files of older
// releases it is built from (qoltpack.ini, qoltdll.ini).
#pragma once
#include <cstdio>
#include <string>

const int kPluginSlots = 256;
const int kPluginChars = 256;  // terminator included
const size_t kPackLineChars = 1018;

// The plug-in lines of the new release: each slot holds the text after
// "plugin " with its line end; an empty slot starts with the terminator.
extern char pluginTable[kPluginSlots][kPluginChars];

// Appends "disk <dir>\part2\ 0" to DSTDIR\Qolt.ini.
void AddPartition(const char* dir);
// Brings DSTDIR\qolt.ini up to the new release: rewrites the version lines of
// an existing file, or copies the new one and imports the old pack files.
void ImportOldVexa(const char* vexaValue, const char* updateValue);
// The condition of the update line of DSTDIR\qolt.ini against version.
int IsVexaUpdated(const char* version);

void ImportPackFiles();
void RewriteVexaLines(const char* vexaValue, const char* updateValue);
void MergePlugins();
void ReadNewPlugins();
// The text to write after "plugin " for an old entry (with its line end).
std::string ChooseNewerPlugin(const char* oldEntry);
// The next significant line of a pack file, converted (slashes, quoted
// spaces escaped) with its line end when it had one. false at the end.
bool ReadPackLine(FILE* pack, std::string& line);

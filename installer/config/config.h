// The runtime's configuration files in the destination directory: qolt.ini
// (partitions, plug-ins, version and update lines) and the files of older
// releases it is built from (qoltpack.ini, qoltdll.ini).
#pragma once
#include "../fileops/fileops.h"
#include <string>

const int kPluginSlots = 256;
const int kPluginChars = 256;  // terminator included
const size_t kPackLineChars = 1018;

// The plug-in lines of the new release: each slot holds the text after
// "plugin " with its line end; an empty slot starts with the terminator.
extern char pluginTable[kPluginSlots][kPluginChars];

// Appends "disk <dir>\part2\ 0" to dstdir\Qolt.ini. -1 (with the ERROR_OPEN
// box, unless silent) when the file cannot be opened.
int AddPartition(const char* dstdir, const char* dir);

struct ImportResult {
    bool failed = false;                  // a step failed (the install counts as failed)
    TransferResult copy = TransferDone;   // the copy of the new qolt.ini, when one was made
};
// Brings dstdir\qolt.ini up to the new release: rewrites the version lines of
// an existing file (merging the plug-ins of srcdir\qolt.ini), or copies the
// new one and imports the old pack files.
ImportResult ImportOldVexa(const char* srcdir, const char* dstdir, const char* vexaValue, const char* updateValue);
// The condition of the update line of dstdir\qolt.ini against version; 0
// when a failure is already known.
int IsVexaUpdated(const char* dstdir, bool failureKnown, const char* version);

void ImportPackFiles(const char* dstdir);
// false when a step failed.
bool RewriteVexaLines(const char* srcdir, const char* dstdir, const char* vexaValue, const char* updateValue);
bool MergePlugins(const char* srcdir, const char* dstdir);
bool ReadNewPlugins(const char* srcdir);
// The text to write after "plugin " for an old entry (with its line end).
std::string ChooseNewerPlugin(const char* oldEntry);
// The next significant line of a pack file, converted (slashes, quoted
// spaces escaped) with its line end when it had one. false at the end.
bool ReadPackLine(PlatFile* pack, std::string& line);

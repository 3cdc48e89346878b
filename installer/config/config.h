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

// Every change of qolt.ini writes the whole new file beside it (qolttemp.ini)
// and renames it over qolt.ini in one step, so that qolt.ini is always the
// old file or the new one, whenever the installer stops.

// Adds "disk <dir>\part2\ 0" at the end of dstdir\Qolt.ini. -1 (with the
// ERROR_OPEN box, unless silent) when the file cannot be read or written.
int AddPartition(const char* dstdir, const char* dir);

struct ImportResult {
    bool failed = false;                  // a step failed (the install counts as failed)
    bool unwritten = false;               // qolt.ini could not be written and is as it was (reported)
    TransferResult copy = TransferDone;   // the copy of the new qolt.ini, when one was made
};
// Brings dstdir\qolt.ini up to the new release: rewrites the version lines of
// an existing file (merging the plug-ins of srcdir\qolt.ini), or copies the
// new one and imports the old pack files.
ImportResult ImportOldVexa(const char* srcdir, const char* dstdir, const char* vexaValue, const char* updateValue);
// The condition of the update line of dstdir\qolt.ini against version; 0
// when a failure is already known.
int IsVexaUpdated(const char* dstdir, bool failureKnown, const char* version);

// Appends to qolt (the new qolt.ini being written) the partitions of
// dstdir\qoltpack.ini, or the two default ones, and the frelpdll.dll line of
// dstdir\qoltdll.ini.
void ImportPackFiles(const char* dstdir, PlatFile* qolt);
// Merges the new plug-ins into dstdir\qolt.ini and replaces its version lines.
ImportResult RewriteVexaLines(const char* srcdir, const char* dstdir, const char* vexaValue, const char* updateValue);
// The lines of dstdir\qolt.ini with the plug-ins of srcdir\qolt.ini merged
// in. false when dstdir\qolt.ini cannot be read; newRead is false when
// srcdir\qolt.ini cannot (the merge then goes on without new plug-ins).
bool MergePlugins(const char* srcdir, const char* dstdir, std::string& merged, bool& newRead);
bool ReadNewPlugins(const char* srcdir);
// The text to write after "plugin " for an old entry (with its line end).
std::string ChooseNewerPlugin(const char* oldEntry);
// The next significant line of a pack file, converted (slashes, quoted
// spaces escaped) with its line end when it had one. false at the end.
bool ReadPackLine(PlatFile* pack, std::string& line);

// A third implementation of the platform layer, for unit tests: files,
// directories, links, the registry, the environment and the answers to
// questions live in memory, and every call is recorded, so a test sees what a
// command asked of the system without touching it.
//
// Paths are in Windows form and compare ignoring case; a relative path is
// taken from the current directory (C:\setup at the start). The drives C:
// and D: exist from the start.
#pragma once
#include "../../base/question.h"
#include "../registry.h"
#include <string>
#include <vector>

namespace recording {

// Forgets everything: files, registry, environment, answers, records.
void reset();

// ---- the file system
void addDir(const std::string& path);  // and the directories above it
void addFile(const std::string& path, const std::string& content, bool readOnly = false);
// A symbolic link (or junction) at path naming target; never entered by listings.
void addLink(const std::string& path, const std::string& target, bool toDirectory);
bool exists(const std::string& path);
bool isDir(const std::string& path);
bool isReadOnly(const std::string& path);
// The content of a file ("" when there is none: see exists).
std::string content(const std::string& path);
// The full paths of everything at or below path, sorted, as created (case kept).
std::vector<std::string> tree(const std::string& path);
// Makes writes to this file fail (a full disk), or opening it fail.
void failWrites(const std::string& path);
void failOpen(const std::string& path);
// The fixed drives platFixedDrives gives (default: "c:" and "d:").
void setFixedDrives(const std::vector<std::string>& roots);

// ---- the registry
// The value, or "<absent>".
std::string registryValue(RegRoot root, const std::string& key, const char* name);
bool registryKeyExists(RegRoot root, const std::string& key);
// Makes every registry change fail (an unwritable registry).
void failRegistryWrites(bool fail);

// ---- the environment and the machine
void setEnv(const std::string& name, const std::string& value);
void setUserLanguage(unsigned languageId);

// ---- questions
// The next question takes this choice (its word, its label, a number for an
// entry of a list, or the kind of a choice that takes a text, with that text)
// after setting the fields to these values, in order. A refused answer, and
// a choice that keeps the question open, go on with the next answer. The
// choice "<no dialog>" makes the dialog impossible to show; "<end of input>"
// gives no answer, as the end of the terminal's input does.
void answer(const std::string& choice, const std::vector<std::string>& fields = {}, const std::string& text = "");
// Questions asked so far, with their fields as answered.
const std::vector<Question>& asked();

// ---- what was done
// Every platform call that changes or asks something, as "name(arguments) = result".
const std::vector<std::string>& calls();
// Progress texts shown, diagnostics and report lines written.
const std::vector<std::string>& progressTexts();
const std::vector<std::string>& diagnostics();
const std::vector<std::string>& reports();
bool restartRequested();

// ---- the shell
// The special folders, there from the start.
extern const char* const kProgramsFolder;
extern const char* const kStartupFolder;
extern const char* const kDesktopFolder;
// Makes every special folder unavailable (no shell).
void failShellFolders(bool fail);
struct RecordedShortcut {
    std::string target, workDir, arguments, title;
};
// The shortcut saved in the file at path; false when there is none.
bool shortcut(const std::string& path, RecordedShortcut& out);
// A library file that has these entry points. Any other file fails to load.
void addLibrary(const std::string& path, const std::vector<std::string>& entryPoints);
// A program file that exits with code when run, or cannot be started at all.
void addProgram(const std::string& path, int exitCode, bool startable = true);
// The font files added and not removed since, in order.
std::vector<std::string> fonts();

// ---- sockets
// Windows Sockets as the machine has them: not there at all, or granting a version.
void setSockets(bool available, int major = 1, int minor = 1);
// The protocol database lacks this name (compared as written).
void removeProtocol(const std::string& name);
// Another program holds this port.
void takePort(int port);

}  // namespace recording

// Files, directories and drives. Paths are in Windows form (backslash joins);
// the posix layer turns them into Linux paths at this boundary. Texts are
// 8-bit (Windows-1252). Results: 0 success, -1 failure unless noted.
#pragma once
#include <cstddef>
#include <cstdio>

// Composed paths fit in 260 characters, terminator included.
const int kPathBytes = 260;

// ---- open files
struct PlatFile;
// Opens a file as fopen does with mode: "r" reads, "w" creates or empties,
// "a" and "a+" append ("b" or "t" may follow; line ends differ on Windows
// only); "x" after "w" creates a new file only, never through a link. Only a
// regular file is opened, and without waiting: a directory, a pipe or a
// device gives nullptr at once, as does a file that cannot be opened.
PlatFile* platFileOpen(const char* path, const char* mode);
// Closes the file; -1 when a write or the close failed.
int platFileClose(PlatFile* file);
// Writes what was written so far through to the disk; -1 when that failed.
int platFileSync(PlatFile* file);
// The next byte (0 to 255), or -1 at the end of the file.
int platFileGetc(PlatFile* file);
// Puts back the byte just read.
void platFileUngetc(PlatFile* file, int c);
size_t platFileRead(PlatFile* file, void* buffer, size_t size);
int platFileWrite(PlatFile* file, const char* data, size_t size);
int platFilePuts(PlatFile* file, const char* text);
long platFileTell(PlatFile* file);
// whence is SEEK_SET or SEEK_END; clears the end-of-file state.
int platFileSeek(PlatFile* file, long offset, int whence);
// 1 once a read met the end of the file.
int platFileAtEnd(PlatFile* file);
// Reads one line piece of at most size-1 characters, up to and including the
// line feed. A carriage return before a line feed is dropped, as text mode
// does, while positions stay those of the bytes in the file. Returns the
// number of characters read (0 at the end of the file).
int platFileReadPiece(PlatFile* file, char* buffer, int size);
// 1 when the file can be opened for reading (a directory cannot).
int platFileReadable(const char* path);

// ---- tests and names
// 1 when a file or directory matches the pattern ("*" and "?" in the last part).
int platPathMatches(const char* pattern);
// 1 when path names a regular file holding at least one byte.
int platFileNonEmpty(const char* path);
// Creates a new empty file named <first 3 chars of prefix><hex>.tmp in dir and
// writes its full path to out.
int platCreateTempFile(const char* dir, const char* prefix, char* out, int size);

// ---- changes
// Creates one directory; its parent must exist. 0 when created, 1 when a
// directory of that name exists already, -1 on failure.
int platCreateDir(const char* path);
// Clears read-only, hidden and system. posix: makes the file writable by its owner.
int platClearAttributes(const char* path);
// Deletes a file, never a directory. A read-only file stays (posix: a file its
// owner may not write counts as read-only, even for root).
int platDeleteFile(const char* path);
// Removes an empty directory.
int platRemoveDir(const char* path);
// Removes a symbolic link or junction itself; what it points at is untouched.
int platRemoveLink(const char* path);
// Copies the regular file from onto to, replacing it, a read-only target
// too. The copy is made beside the target and renamed over it, so a failed
// copy leaves an existing target as it was, its attributes included; a link
// at to is replaced, never written through.
int platCopyFile(const char* from, const char* to);
// Moves from onto to, replacing it (a read-only target too) in one step on
// the same volume; across volumes it copies as platCopyFile does, then
// deletes the source. A failed move leaves the target as it was.
int platMoveFile(const char* from, const char* to);
// Why the last failed file operation of this layer failed, in a few words
// ("not a regular file", "No space left on device"); "" when not known.
const char* platFailureText();

// ---- listings
// One entry of a directory listing. isLink: a symbolic link, junction or
// mount point (posix: a directory on another file system), never entered;
// isDir with isLink: it leads to a directory.
struct PlatDirEntry {
    char name[kPathBytes];
    int isDir;
    int isLink;
};
struct PlatDirList;
// Lists every entry of dir ("." and ".." may be among them); nullptr when the
// directory cannot be listed.
PlatDirList* platOpenDir(const char* dir);
// Fills entry with the next entry: 1, or 0 at the end.
int platReadDir(PlatDirList* list, PlatDirEntry* entry);
void platCloseDir(PlatDirList* list);
// Roots of the fixed drives to search, in order (Windows: "c:" and so on, as
// the drive mask and drive types give them; posix: mount points of local disk
// file systems). $SETUP_SEARCH_ROOTS (';'-separated on Windows, ':' on posix)
// replaces the list. Returns the number of roots stored (at most max).
int platFixedDrives(char (*roots)[kPathBytes], int max);

// ---- tree walks
// A directory held open while a tree is walked. Each step names one entry of
// an open directory, so no path is composed and parsed again below the root:
// posix holds a directory descriptor (a link swapped in during the walk is
// never followed, and a name is one name whatever characters it holds);
// Windows holds the path, and checks each directory for a reparse point as
// it enters it. Entries are never "." or "..".
struct PlatTreeDir;
enum PlatTreeStatus {
    TreeOpened = 0,
    TreeMissing,     // nothing of that name
    TreeIsLink,      // a symbolic link, junction or mount point: not entered
    TreeNotDir,      // a file, not a directory
    TreeUnreadable,  // a directory that cannot be opened or listed
};
// Opens the directory path as the root of a walk. A root that is a link is
// entered only with followLink (a copy's source, named by the script).
PlatTreeDir* platTreeOpen(const char* path, int followLink, PlatTreeStatus* status);
// Opens the directory name of dir; a link there is never entered.
PlatTreeDir* platTreeOpenSub(PlatTreeDir* dir, const char* name, PlatTreeStatus* status);
// Creates the directory name in dir unless it exists, then opens it as
// platTreeOpenSub does (a link there is never written through).
PlatTreeDir* platTreeMakeSub(PlatTreeDir* dir, const char* name, PlatTreeStatus* status);
void platTreeClose(PlatTreeDir* dir);
// The next entry of dir: 1, or 0 at the end.
int platTreeRead(PlatTreeDir* dir, PlatDirEntry* entry);
// Deletes the file or the link name in dir (a link itself, never what it
// names); a read-only file stays, as platDeleteFile does.
int platTreeDeleteFile(PlatTreeDir* dir, const char* name);
// Removes the empty directory name of dir.
int platTreeRemoveDir(PlatTreeDir* dir, const char* name);
// Removes the link, junction or (empty) mount point name of dir as such.
int platTreeRemoveLink(PlatTreeDir* dir, const char* name);
// Copies the regular file name of from to toName in to, as platCopyFile does.
int platTreeCopyFile(PlatTreeDir* from, const char* name, PlatTreeDir* to, const char* toName);

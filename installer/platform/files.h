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
// only). Never opens a directory; nullptr when the file cannot be opened.
PlatFile* platFileOpen(const char* path, const char* mode);
// Closes the file; -1 when a write or the close failed.
int platFileClose(PlatFile* file);
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
// Copies from onto to, replacing it. The copy is made beside the target and
// renamed over it, so a failed copy leaves an existing target as it was.
int platCopyFile(const char* from, const char* to);
// Moves from onto to, replacing it in one step on the same volume; across
// volumes it copies as platCopyFile does, then deletes the source.
int platMoveFile(const char* from, const char* to);

// ---- listings
// One entry of a directory listing. isLink: a symbolic link, junction or
// mount point (posix: a directory on another file system), never entered.
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

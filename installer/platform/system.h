// The process and the machine: program path, working directory, environment,
// the user's language, system directories, restart.
#pragma once

// Full path of the running program; -1 when it does not fit.
int platProgramPath(char* out, int size);
int platSetCurrentDir(const char* dir);
int platGetCurrentDir(char* out, int size);
// The value of an environment variable, or nullptr when it is not set.
const char* platEnv(const char* name);
// System, Windows and temporary directories. posix: /usr/lib, /usr, $TMPDIR or /tmp.
void platSystemDir(char* out, int size);
void platWindowsDir(char* out, int size);
void platTempDir(char* out, int size);
// The user's default language as a Windows language identifier
// (primary language in the low 10 bits, sublanguage above).
unsigned platUserLanguage();
// Enables the shutdown privilege; 1 when adjusted, 0 otherwise. posix: nothing to do.
int platEnableShutdownPrivilege();
// Asks the system to restart. posix: never done; a notice is printed at the end.
void platRequestRestart();

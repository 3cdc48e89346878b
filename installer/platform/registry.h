// The registry. key is relative to root; name nullptr is the key's default
// value. posix: a .reg file at $SETUP_REGISTRY (default
// $XDG_DATA_HOME/vexa/registry.reg).
//
// Both builds behave alike for what is missing: reading, testing or deleting
// never creates a key; a missing key reads as a key without values.
#pragma once

enum RegRoot { RegClassesRoot, RegCurrentUser, RegLocalMachine };

// The root's name as the registry writes it ("HKEY_LOCAL_MACHINE").
inline const char* regRootName(RegRoot root) {
    switch (root) {
    case RegClassesRoot: return "HKEY_CLASSES_ROOT";
    case RegCurrentUser: return "HKEY_CURRENT_USER";
    case RegLocalMachine: return "HKEY_LOCAL_MACHINE";
    }
    return "?";
}

// 0 and the text, or -1: no such key or value, not a string, or longer than size-1.
int platRegGetString(RegRoot root, const char* key, const char* name, char* out, int size);
// Creates the key (and the keys above it) when missing and writes the value.
int platRegSetString(RegRoot root, const char* key, const char* name, const char* value);
// 0 when the value was deleted; -1 when the key or the value is missing, or
// the registry cannot be changed.
int platRegDeleteValue(RegRoot root, const char* key, const char* name);
// Creates the key and the keys above it; 0 when it exists afterwards.
int platRegCreateKey(RegRoot root, const char* key);
// 1 when the value exists, 0 when it or its key does not, -1 when the
// registry cannot be read.
int platRegValueExists(RegRoot root, const char* key, const char* name);
// Deletes a key that has no subkeys (a key with subkeys stays: -1).
int platRegDeleteKey(RegRoot root, const char* key);

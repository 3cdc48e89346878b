// The registry on Windows.
#include "registry.h"
#include "../base/log.h"
#include <windows.h>

namespace {
HKEY rootKey(RegRoot root) {
    switch (root) {
    case RegClassesRoot: return HKEY_CLASSES_ROOT;
    case RegCurrentUser: return HKEY_CURRENT_USER;
    case RegLocalMachine: return HKEY_LOCAL_MACHINE;
    }
    return HKEY_LOCAL_MACHINE;
}

// Create-or-open with an empty class, non-volatile, full access; a key made
// here is logged.
HKEY createKey(RegRoot root, const char* key) {
    HKEY h;
    char emptyClass[] = "";
    DWORD disposition = 0;
    if (RegCreateKeyExA(rootKey(root), key, 0, emptyClass, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &h,
                        &disposition) != ERROR_SUCCESS) {
        logRegistryChange("key created", regRootName(root), key, nullptr, nullptr, -1);
        return nullptr;
    }
    if (disposition == REG_CREATED_NEW_KEY) logRegistryChange("key created", regRootName(root), key, nullptr, nullptr, 0);
    return h;
}
}  // namespace

int platRegGetString(RegRoot root, const char* key, const char* name, char* out, int size) {
    HKEY h;
    if (RegOpenKeyExA(rootKey(root), key, 0, KEY_READ, &h) != ERROR_SUCCESS) return -1;
    DWORD type = 0;
    DWORD bytes = static_cast<DWORD>(size - 1);  // room for a terminator the data may lack
    LONG r = RegQueryValueExA(h, name, nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes);
    RegCloseKey(h);
    if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return -1;
    out[bytes] = 0;
    return 0;
}

int platRegSetString(RegRoot root, const char* key, const char* name, const char* value) {
    HKEY h = createKey(root, key);
    LONG r = ERROR_INVALID_HANDLE;
    if (h) {
        // the byte count is the text's length, without the terminator
        r = RegSetValueExA(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value));
        RegFlushKey(h);
        RegCloseKey(h);
    }
    int result = r == ERROR_SUCCESS ? 0 : -1;
    logRegistryChange("value set", regRootName(root), key, name, value ? value : "", result);
    return result;
}

int platRegDeleteValue(RegRoot root, const char* key, const char* name) {
    HKEY h;
    // opened, never created: a missing key has nothing to delete
    if (RegOpenKeyExA(rootKey(root), key, 0, KEY_ALL_ACCESS, &h) != ERROR_SUCCESS) return -1;
    LONG r = RegDeleteValueA(h, name);
    RegFlushKey(h);
    RegCloseKey(h);
    // a value that was not there is no change
    if (r == ERROR_SUCCESS) logRegistryChange("value deleted", regRootName(root), key, name ? name : "@", nullptr, 0);
    return r == ERROR_SUCCESS ? 0 : -1;
}

int platRegCreateKey(RegRoot root, const char* key) {
    HKEY h = createKey(root, key);
    if (!h) return -1;
    RegCloseKey(h);
    return 0;
}

int platRegValueExists(RegRoot root, const char* key, const char* name) {
    HKEY h;
    LONG opened = RegOpenKeyExA(rootKey(root), key, 0, KEY_READ, &h);
    if (opened == ERROR_FILE_NOT_FOUND) return 0;  // a missing key holds no value
    if (opened != ERROR_SUCCESS) return -1;
    LONG r = RegQueryValueExA(h, name, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(h);
    return r == ERROR_SUCCESS ? 1 : 0;
}

int platRegDeleteKey(RegRoot root, const char* key) {
    // RegDeleteKey leaves a key that has subkeys of its own
    if (RegDeleteKeyA(rootKey(root), key) != ERROR_SUCCESS) return -1;
    logRegistryChange("key deleted", regRootName(root), key, nullptr, nullptr, 0);
    return 0;
}

// The variable store: fixed slots of separately allocated name and value copies.
#include "store.h"
#include "../base/text.h"
#include <cstdlib>
#include <cstring>

namespace {
struct VariableSlot {
    char* name;
    char* value;
};
VariableSlot slots[kVariableSlots];
const StoreObserver* observer = nullptr;

char* copyText(const char* text) {
    size_t n = std::strlen(text) + 1;
    char* p = static_cast<char*>(std::malloc(n));
    if (p) std::memcpy(p, text, n);
    return p;
}

void freeSlot(VariableSlot& s) {
    std::free(s.name);
    std::free(s.value);
    s.name = nullptr;
    s.value = nullptr;
}

int findSlot(const char* name) {
    for (int i = 0; i < kVariableSlots; i++)
        if (slots[i].name && textEqualNoCase(slots[i].name, name)) return i;
    return -1;
}
}  // namespace

int SetVariable(const char* name, const char* value) {
    if (!name || !value) return -1;
    if (observer) observer->stored(name);
    int i = findSlot(name);
    if (i < 0) {
        for (int j = 0; j < kVariableSlots; j++)
            if (!slots[j].name) { i = j; break; }
        if (i < 0) return -1;  // store full: nothing changes
    }
    char* newName = copyText(name);
    char* newValue = copyText(value);
    freeSlot(slots[i]);
    if (!newName || !newValue) {
        std::free(newName);
        std::free(newValue);
        return -1;  // out of memory: the slot is left free
    }
    slots[i].name = newName;
    slots[i].value = newValue;
    return i;
}

char* GetVariable(const char* name) {
    if (!name) return nullptr;
    if (observer) observer->lookedUp(name);
    int i = findSlot(name);
    return i < 0 ? nullptr : slots[i].value;
}

void ClearVariable(const char* name) {
    if (!name) return;
    int i = findSlot(name);
    if (i >= 0) freeSlot(slots[i]);
}

void clearVariableStore() {
    for (VariableSlot& s : slots) freeSlot(s);
}

int variableCount() {
    int n = 0;
    for (const VariableSlot& s : slots)
        if (s.name) n++;
    return n;
}

void setStoreObserver(const StoreObserver* o) { observer = o; }

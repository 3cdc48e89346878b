// The variable store: 400 {name, value} text pairs, names compared ignoring case.
#pragma once

const int kVariableSlots = 400;

// Returns the slot index, or -1 when all slots are taken or memory ran out
// (the slot is then free). An existing name is reused and takes the new case.
int SetVariable(const char* name, const char* value);
// The stored value (owned by the store, may be changed in place without
// changing its length), or nullptr when the name is not stored.
char* GetVariable(const char* name);
// Releases the variable; an unknown name does nothing.
void ClearVariable(const char* name);
// Empties the whole store.
void clearVariableStore();
// Number of used slots.
int variableCount();

// Tests: sees every name GetVariable looks up and every name SetVariable
// stores (nullptr: nobody watches).
struct StoreObserver {
    void (*lookedUp)(const char* name);
    void (*stored)(const char* name);
};
void setStoreObserver(const StoreObserver* observer);

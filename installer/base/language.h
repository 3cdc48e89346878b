// The language table: Windows primary-language codes and the names that
// message files and the runtime's settings use.
#pragma once

// Name of the first language table row with that code, or "English".
const char* LanguageName(int code);
// Language code of a Windows language identifier (traditional Chinese is 260,
// other Chinese than traditional and simplified is English).
int languageCodeFor(unsigned languageId);
// The name setup chooses for the language code of this name (compared
// ignoring case): the table's own spelling of it ("French" for "french"),
// the name of an earlier row with the same code ("Croatian" for "Serbian"),
// or nullptr when no row has this name.
const char* languageChosenFor(const char* name);

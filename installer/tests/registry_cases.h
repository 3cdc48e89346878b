// What every implementation of the registry does with missing keys and
// values: the same on Windows, on Linux and on the recording platform.
// Reading, testing and deleting never create a key.
#pragma once
#include "platform/registry.h"
#include <gtest/gtest.h>
#include <string>

// base: a key that does not exist yet, below which the cases may write.
inline void expectMissingKeysAndValuesAlike(RegRoot root, const std::string& base) {
    const std::string key = base + "\\Missing";
    const char* k = key.c_str();
    char out[64];
    EXPECT_EQ(-1, platRegGetString(root, k, "v", out, sizeof out));
    EXPECT_EQ(0, platRegValueExists(root, k, "v"));
    EXPECT_EQ(0, platRegValueExists(root, k, nullptr));
    EXPECT_EQ(-1, platRegDeleteValue(root, k, "v"));
    // none of these made the key: deleting it finds nothing
    EXPECT_EQ(-1, platRegDeleteKey(root, k));

    ASSERT_EQ(0, platRegCreateKey(root, k));
    EXPECT_EQ(0, platRegValueExists(root, k, "v"));
    EXPECT_EQ(-1, platRegDeleteValue(root, k, "v"));
    ASSERT_EQ(0, platRegSetString(root, k, "v", "text"));
    EXPECT_EQ(1, platRegValueExists(root, k, "V"));  // names ignore case
    ASSERT_EQ(0, platRegGetString(root, k, "v", out, sizeof out));
    EXPECT_STREQ("text", out);
    EXPECT_EQ(-1, platRegGetString(root, k, "v", out, 4));  // does not fit
    EXPECT_EQ(0, platRegDeleteValue(root, k, "v"));
    EXPECT_EQ(0, platRegValueExists(root, k, "v"));
    // a key with a subkey stays; without it, it goes
    ASSERT_EQ(0, platRegCreateKey(root, (key + "\\Sub").c_str()));
    EXPECT_EQ(-1, platRegDeleteKey(root, k));
    EXPECT_EQ(0, platRegDeleteKey(root, (key + "\\Sub").c_str()));
    EXPECT_EQ(0, platRegDeleteKey(root, k));
    EXPECT_EQ(-1, platRegDeleteKey(root, k));
    platRegDeleteKey(root, base.c_str());
}

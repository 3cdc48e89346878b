// What both platform layers promise alike: file tests, temporary names and
// the registry. Runs natively and, in the Windows build, under Wine.
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "registry_cases.h"
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace fs = std::filesystem;

namespace {
class PlatformTest : public ::testing::Test {
  protected:
    std::string dir;  // in the platform's own form
    fs::path root;
    std::string savedRegistry;
    void SetUp() override {
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root = fs::temp_directory_path() / ("vexa-platform-" + std::to_string(stamp) + "-" +
                                            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "Data" / "Empty");
        std::ofstream(root / "Data" / "First.DAT") << "one";
        std::ofstream(root / "Data" / "empty.txt");
        dir = root.string();
        const char* r = std::getenv("SETUP_REGISTRY");
        savedRegistry = r ? r : "";
#ifndef _WIN32
        setenv("SETUP_REGISTRY", (dir + "/registry.reg").c_str(), 1);
#endif
    }
    void TearDown() override {
#ifndef _WIN32
        if (savedRegistry.empty()) unsetenv("SETUP_REGISTRY");
        else setenv("SETUP_REGISTRY", savedRegistry.c_str(), 1);
#endif
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    std::string at(const char* relative) { return dir + "\\" + relative; }  // joined as scripts join paths
};
}  // namespace

TEST_F(PlatformTest, PathMatchesFilesDirectoriesAndWildcards) {
    struct MatchCase {
        const char* pattern;
        int expected;
    };
    static const MatchCase cases[] = {
        {"Data\\*.dat", 1},        {"data\\first.dat", 1},  {"Data\\*.xyz", 0},  {"Data\\Empty", 1},
        {"Data\\Empty\\", 1},      {"Data\\Empty\\*", 0},   {"Data\\F?rst.*", 1}, {"Missing\\*", 0},
        {"Data\\*", 1},            {"nothing*", 0},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(c.expected, platPathMatches(at(c.pattern).c_str()));
    }
}

TEST_F(PlatformTest, FileTests) {
    EXPECT_EQ(1, platFileNonEmpty(at("DATA\\first.dat").c_str()));
    EXPECT_EQ(0, platFileNonEmpty(at("Data\\empty.txt").c_str()));
    EXPECT_EQ(0, platFileNonEmpty(at("Data\\Empty").c_str()));
    EXPECT_EQ(0, platFileNonEmpty(at("Data\\none.txt").c_str()));
    EXPECT_EQ(nullptr, platFileOpen(at("Data\\Empty").c_str(), "rb"));  // a directory is not a file
    PlatFile* f = platFileOpen(at("data\\FIRST.dat").c_str(), "rb");
    ASSERT_NE(nullptr, f);
    char piece[8];
    EXPECT_EQ(3, platFileReadPiece(f, piece, sizeof piece));
    EXPECT_STREQ("one", piece);
    EXPECT_EQ(0, platFileClose(f));
    EXPECT_EQ(nullptr, platFileOpen(nullptr, "rb"));
}

TEST_F(PlatformTest, CurrentDirectoryRoundTrip) {
    char before[1024], inside[1024];
    ASSERT_EQ(0, platGetCurrentDir(before, sizeof before));
    ASSERT_EQ(0, platSetCurrentDir(at("Data").c_str()));
    ASSERT_EQ(0, platGetCurrentDir(inside, sizeof inside));
    EXPECT_EQ(1, platPathMatches("first.dat"));
    EXPECT_EQ(-1, platSetCurrentDir(at("NoSuchDir").c_str()));
    char still[1024];
    ASSERT_EQ(0, platGetCurrentDir(still, sizeof still));
    EXPECT_STREQ(inside, still);
    char tiny[4];
    EXPECT_EQ(-1, platGetCurrentDir(tiny, sizeof tiny));
    ASSERT_EQ(0, platSetCurrentDir(before));
}

TEST_F(PlatformTest, TemporaryFilesAreNewEmptyAndNamedFromThePrefix) {
    char a[512], b[512];
    ASSERT_EQ(0, platCreateTempFile(at("Data").c_str(), "temp", a, sizeof a));
    ASSERT_EQ(0, platCreateTempFile((at("Data") + "\\").c_str(), "temp", b, sizeof b));
    EXPECT_STRNE(a, b);
    for (const char* path : {a, b}) {
        std::string p = path;
        SCOPED_TRACE(p);
        ASSERT_EQ(0u, p.find(at("Data") + "\\"));
        std::string name = p.substr(at("Data").size() + 1);
        EXPECT_EQ(0u, name.find("tem"));
        ASSERT_GT(name.size(), 7u);
        std::string ext = name.substr(name.size() - 4);
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(".tmp", ext);
        EXPECT_EQ(1, platPathMatches(path));
        EXPECT_EQ(0, platFileNonEmpty(path));
    }
    EXPECT_EQ(-1, platCreateTempFile(at("Missing").c_str(), "temp", a, sizeof a));
}

TEST_F(PlatformTest, RegistryStringValues) {
    const char* key = "Software\\VexaSetupTest\\Sub";
    ASSERT_EQ(0, platRegCreateKey(RegCurrentUser, key));
    EXPECT_EQ(0, platRegValueExists(RegCurrentUser, key, "Mark"));
    ASSERT_EQ(0, platRegSetString(RegCurrentUser, key, "Mark", "1"));
    ASSERT_EQ(0, platRegSetString(RegCurrentUser, key, nullptr, "default text"));
    char out[64];
    ASSERT_EQ(0, platRegGetString(RegCurrentUser, "software\\vexasetuptest\\SUB", "MARK", out, sizeof out));
    EXPECT_STREQ("1", out);  // stored without its terminator, read back whole
    ASSERT_EQ(0, platRegGetString(RegCurrentUser, key, nullptr, out, sizeof out));
    EXPECT_STREQ("default text", out);
    EXPECT_EQ(-1, platRegGetString(RegCurrentUser, key, nullptr, out, 5));  // does not fit
    EXPECT_EQ(1, platRegValueExists(RegCurrentUser, key, "mark"));
    EXPECT_EQ(0, platRegDeleteValue(RegCurrentUser, key, "Mark"));
    EXPECT_EQ(0, platRegDeleteValue(RegCurrentUser, key, nullptr));
    EXPECT_EQ(0, platRegValueExists(RegCurrentUser, key, "Mark"));
    EXPECT_EQ(-1, platRegDeleteValue(RegCurrentUser, key, "Mark"));
    EXPECT_EQ(-1, platRegGetString(RegCurrentUser, key, "Mark", out, sizeof out));
    EXPECT_EQ(-1, platRegGetString(RegCurrentUser, "Software\\VexaSetupTest\\NoKey", "Mark", out, sizeof out));
}

TEST_F(PlatformTest, CreateDirectoryTellsNewExistingAndMissingParent) {
    EXPECT_EQ(0, platCreateDir(at("Made").c_str()));
    EXPECT_EQ(1, platCreateDir(at("made").c_str()));  // the same directory, any case
    EXPECT_EQ(1, platCreateDir((at("Made") + "\\").c_str()));
    EXPECT_EQ(-1, platCreateDir(at("No\\Parent").c_str()));
    EXPECT_EQ(-1, platCreateDir(at("Data\\First.DAT").c_str()));  // a file of that name is no directory
    EXPECT_TRUE(fs::is_directory(root / "Made"));
}

TEST_F(PlatformTest, CopyReplacesTargetAndFailedCopyKeepsIt) {
    std::ofstream(root / "Data" / "target.txt") << "old";
    ASSERT_EQ(0, platCopyFile(at("Data\\First.DAT").c_str(), at("Data\\TARGET.txt").c_str()));
    std::ifstream in(root / "Data" / "target.txt");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ("one", text);
    std::ofstream(root / "Data" / "keep.txt") << "kept";
    EXPECT_EQ(-1, platCopyFile(at("Data\\none.dat").c_str(), at("Data\\keep.txt").c_str()));
    EXPECT_EQ(-1, platCopyFile(at("Data\\Empty").c_str(), at("Data\\keep.txt").c_str()));
    EXPECT_EQ(-1, platCopyFile(at("Data\\First.DAT").c_str(), at("Data\\Empty").c_str()));
    EXPECT_EQ(-1, platCopyFile(at("Data\\First.DAT").c_str(), at("NoDir\\x.txt").c_str()));
    std::ifstream keep(root / "Data" / "keep.txt");
    std::string kept((std::istreambuf_iterator<char>(keep)), std::istreambuf_iterator<char>());
    EXPECT_EQ("kept", kept);
    // nothing is left behind by the failed copies
    int entries = 0;
    for (const auto& e : fs::directory_iterator(root / "Data")) entries += e.exists() ? 1 : 0;
    EXPECT_EQ(5, entries);  // First.DAT, empty.txt, Empty, target.txt, keep.txt
}

TEST_F(PlatformTest, MoveReplacesTarget) {
    std::ofstream(root / "Data" / "target.txt") << "old";
    ASSERT_EQ(0, platMoveFile(at("Data\\First.DAT").c_str(), at("Data\\target.txt").c_str()));
    EXPECT_FALSE(fs::exists(root / "Data" / "First.DAT"));
    EXPECT_EQ(3u, fs::file_size(root / "Data" / "target.txt"));
    EXPECT_EQ(-1, platMoveFile(at("Data\\none.dat").c_str(), at("Data\\target.txt").c_str()));
    EXPECT_EQ(3u, fs::file_size(root / "Data" / "target.txt"));
}

TEST_F(PlatformTest, ReadOnlyFilesResistDeletionUntilClearedAndDirectoriesAreNoFiles) {
    fs::permissions(root / "Data" / "First.DAT", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_EQ(-1, platDeleteFile(at("Data\\First.DAT").c_str()));
    EXPECT_TRUE(fs::exists(root / "Data" / "First.DAT"));
    EXPECT_EQ(0, platClearAttributes(at("Data\\first.dat").c_str()));
    EXPECT_EQ(0, platDeleteFile(at("Data\\First.DAT").c_str()));
    EXPECT_FALSE(fs::exists(root / "Data" / "First.DAT"));
    EXPECT_EQ(-1, platDeleteFile(at("Data\\Empty").c_str()));
    EXPECT_EQ(-1, platRemoveDir(at("Data").c_str()));  // not empty
    EXPECT_EQ(0, platRemoveDir(at("Data\\Empty").c_str()));
}

TEST_F(PlatformTest, ListingGivesNamesAndKinds) {
    PlatDirList* list = platOpenDir(at("Data").c_str());
    ASSERT_NE(nullptr, list);
    std::string seen;
    PlatDirEntry entry;
    while (platReadDir(list, &entry)) {
        std::string name = entry.name;
        if (name == "." || name == "..") continue;
        EXPECT_EQ(0, entry.isLink) << name;
        seen += name + (entry.isDir ? "/" : "") + ";";
    }
    platCloseDir(list);
    EXPECT_NE(std::string::npos, seen.find("First.DAT;"));
    EXPECT_NE(std::string::npos, seen.find("empty.txt;"));
    EXPECT_NE(std::string::npos, seen.find("Empty/;"));
    EXPECT_EQ(nullptr, platOpenDir(at("Missing").c_str()));
}

TEST_F(PlatformTest, RegistryKeysWithSubkeysAreNotDeleted) {
    ASSERT_EQ(0, platRegSetString(RegCurrentUser, "Software\\VexaSetupTest2\\A\\B", "x", "1"));
    EXPECT_EQ(-1, platRegDeleteKey(RegCurrentUser, "Software\\VexaSetupTest2\\A"));
    EXPECT_EQ(0, platRegDeleteKey(RegCurrentUser, "software\\vexasetuptest2\\a\\b"));
    char out[8];
    EXPECT_EQ(-1, platRegGetString(RegCurrentUser, "Software\\VexaSetupTest2\\A\\B", "x", out, sizeof out));
    EXPECT_EQ(0, platRegDeleteKey(RegCurrentUser, "Software\\VexaSetupTest2\\A"));
    EXPECT_EQ(0, platRegDeleteKey(RegCurrentUser, "Software\\VexaSetupTest2"));
    EXPECT_EQ(-1, platRegDeleteKey(RegCurrentUser, "Software\\VexaSetupTest2"));
}

TEST_F(PlatformTest, MissingKeysAndValuesBehaveAsOnEveryBuild) {
    expectMissingKeysAndValuesAlike(RegCurrentUser, "Software\\VexaSetupTest3");
}

// The tree-walk calls: each names one entry of an open folder.
TEST_F(PlatformTest, TreeWalksNameEntriesOfOpenFolders) {
    PlatTreeStatus status;
    EXPECT_EQ(nullptr, platTreeOpen(at("Missing").c_str(), 0, &status));
    EXPECT_EQ(TreeMissing, status);
    EXPECT_EQ(nullptr, platTreeOpen(at("Data\\First.DAT").c_str(), 0, &status));
    EXPECT_EQ(TreeNotDir, status);
    PlatTreeDir* data = platTreeOpen(at("Data").c_str(), 0, &status);
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(TreeOpened, status);
    std::string seen;
    PlatDirEntry entry;
    while (platTreeRead(data, &entry)) seen += std::string(entry.name) + (entry.isDir ? "/" : "") + ";";
    EXPECT_EQ(std::string::npos, seen.find("./"));  // never "." or ".."
    EXPECT_NE(std::string::npos, seen.find("First.DAT;"));
    EXPECT_NE(std::string::npos, seen.find("Empty/;"));
    PlatTreeDir* made = platTreeMakeSub(data, "Made", &status);
    ASSERT_NE(nullptr, made);
    EXPECT_EQ(0, platTreeCopyFile(data, "First.DAT", made, "copy.dat"));
    EXPECT_EQ(-1, platTreeCopyFile(data, "Empty", made, "x"));  // a folder is no file
    EXPECT_EQ(-1, platTreeCopyFile(data, "none.dat", made, "x"));
    EXPECT_EQ(3u, fs::file_size(root / "Data" / "Made" / "copy.dat"));
    EXPECT_EQ(-1, platTreeRemoveDir(data, "Made"));  // not empty
    EXPECT_EQ(0, platTreeDeleteFile(made, "copy.dat"));
    platTreeClose(made);
    EXPECT_EQ(0, platTreeRemoveDir(data, "Made"));
    EXPECT_EQ(-1, platTreeDeleteFile(data, "Empty"));  // a folder is no file
    EXPECT_EQ(0, platTreeDeleteFile(data, "empty.txt"));
    platTreeClose(data);
    EXPECT_FALSE(fs::exists(root / "Data" / "empty.txt"));
    EXPECT_FALSE(fs::exists(root / "Data" / "Made"));
}

// A link to a folder is never entered, as a root or below one, and goes as a link.
TEST_F(PlatformTest, TreeWalksNeverEnterALink) {
    fs::create_directories(root / "Outside");
    std::ofstream(root / "Outside" / "precious.txt") << "p";
    std::error_code ec;
    fs::create_directory_symlink(root / "Outside", root / "Data" / "Link", ec);
    if (ec || !fs::is_symlink(root / "Data" / "Link")) GTEST_SKIP() << "no directory links here: " << ec.message();
    PlatTreeStatus status;
    EXPECT_EQ(nullptr, platTreeOpen(at("Data\\Link").c_str(), 0, &status));
    EXPECT_EQ(TreeIsLink, status);
    PlatTreeDir* followed = platTreeOpen(at("Data\\Link").c_str(), 1, &status);  // a copy's source root may be one
    ASSERT_NE(nullptr, followed);
    platTreeClose(followed);
    PlatTreeDir* data = platTreeOpen(at("Data").c_str(), 0, &status);
    ASSERT_NE(nullptr, data);
    PlatDirEntry entry;
    bool listed = false;
    while (platTreeRead(data, &entry))
        if (std::string(entry.name) == "Link") listed = entry.isLink == 1;
    EXPECT_TRUE(listed);
    EXPECT_EQ(nullptr, platTreeOpenSub(data, "Link", &status));
    EXPECT_EQ(TreeIsLink, status);
    EXPECT_EQ(nullptr, platTreeMakeSub(data, "Link", &status));  // never written through
    EXPECT_EQ(TreeIsLink, status);
    EXPECT_EQ(0, platTreeRemoveLink(data, "Link"));
    platTreeClose(data);
    EXPECT_FALSE(fs::exists(root / "Data" / "Link"));
    EXPECT_TRUE(fs::exists(root / "Outside" / "precious.txt"));
}

#ifdef _WIN32
#include <windows.h>
// A copy that cannot replace its read-only target (here: the target is held
// open) leaves it read-only, as it was.
TEST_F(PlatformTest, FailedCopyLeavesAReadOnlyTargetReadOnly) {
    std::string target = at("Data\\target.txt");
    std::ofstream(target) << "old";
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(-1, platCopyFile(at("Data\\First.DAT").c_str(), target.c_str()));
    CloseHandle(held);
    DWORD attributes = GetFileAttributesA(target.c_str());
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, platCopyFile(at("Data\\First.DAT").c_str(), target.c_str()));  // replaced when it can be
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}
#endif

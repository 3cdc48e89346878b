// The file operations and configuration files as services, on the recording
// platform: what they ask of the file system and what they report.
#include "config/config.h"
#include "fileops/fileops.h"
#include "platform/recording/recording.h"
#include "service_sink.h"
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
class FileOpsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        recording::reset();
        service_sink::install();
        std::memset(pluginTable, 0, sizeof pluginTable);
    }
    // The calls of the recording platform that changed something, from index from on.
    std::vector<std::string> callsFrom(size_t from) {
        const std::vector<std::string>& all = recording::calls();
        return std::vector<std::string>(all.begin() + static_cast<long>(std::min(from, all.size())), all.end());
    }
};

void fillSlots(std::initializer_list<const char*> texts) {
    int i = 0;
    for (const char* t : texts) std::strcpy(pluginTable[i++], t);
}

PlatFile* fileWith(const std::string& text) {
    recording::addFile("C:\\data\\pack.ini", text);
    return platFileOpen("C:\\data\\pack.ini", "r");
}
}  // namespace

TEST_F(FileOpsTest, ComposePathRefusesWhatDoesNotFit) {
    char out[kPathBytes];
    std::string part(250, 'd');
    EXPECT_EQ(0, composePath(out, ReportQuietly, "%s\\%s", part.c_str(), "12345678"));  // 259 characters
    EXPECT_EQ(259u, std::strlen(out));
    EXPECT_EQ(-1, composePath(out, ReportQuietly, "%s\\%s", part.c_str(), "123456789"));
    EXPECT_STREQ("", out);  // never a truncated path
    EXPECT_TRUE(service_sink::of("fixed").empty());
    EXPECT_EQ(-1, composePath(out, ReportWithBox, "%s/%s/*.*", (part + "dddd").c_str(), "x"));
    ASSERT_EQ(1u, service_sink::of("fixed").size());
    EXPECT_NE(std::string::npos, service_sink::of("fixed")[0].find("is longer than 259 characters"));
    EXPECT_EQ(-1, composePath(out, ReportQuietly, "%s\\%s", "dir", nullptr));
    EXPECT_EQ(0, composePath(out, ReportQuietly, "%s/%s/%s", "a", "b", "c"));
    EXPECT_STREQ("a/b/c", out);
}

TEST_F(FileOpsTest, CopyAndMoveFormsComposeTheirPathsAndShowProgress) {
    struct FormCase {
        PathForm form;
        bool move;
        const char* first;
        const char* second;
        TransferResult result;
        const char* call;      // the platform call that transfers, "" for none
        const char* progress;  // "" for none
    };
    static const FormCase cases[] = {
        {FormPlain, false, "a.dll", nullptr, TransferDone, "copyFile(\"C:\\src\\a.dll\", \"C:\\dst\\a.dll\") = 0",
         "COPY_MSG(C:\\dst\\a.dll)"},
        {FormPlain, false, "a.dll", "b.dll", TransferDone, "copyFile(\"C:\\src\\a.dll\", \"C:\\dst\\b.dll\") = 0",
         "COPY_MSG(C:\\dst\\b.dll)"},
        {FormS, false, "a.dll", "C:\\x", TransferDone, "copyFile(\"C:\\src\\a.dll\", \"C:\\x\\a.dll\") = 0",
         "COPY_MSG(C:\\x\\a.dll)"},
        {FormD, false, "C:\\src\\a.dll", "c.dll", TransferDone,
         "copyFile(\"C:\\src\\a.dll\", \"C:\\dst\\c.dll\") = 0", "COPY_MSG(C:\\dst\\c.dll)"},
        {FormA, true, "C:\\src\\a.dll", "C:\\x\\m.dll", TransferDone,
         "moveFile(\"C:\\src\\a.dll\", \"C:\\x\\m.dll\") = 0", "MOVE_MSG(C:\\src\\a.dll)"},
        {FormPlain, true, "a.dll", nullptr, TransferDone, "moveFile(\"C:\\src\\a.dll\", \"C:\\dst\\a.dll\") = 0",
         "MOVE_MSG(C:\\dst\\a.dll)"},
        // CopyA and MoveA with an absent path do nothing at all
        {FormA, false, "C:\\src\\a.dll", nullptr, TransferNothing, "", ""},
        {FormA, true, nullptr, "C:\\x", TransferNothing, "", ""},
        // the relative forms cannot make a path from an absent name: a failed copy
        {FormPlain, false, nullptr, nullptr, TransferFailed, "", ""},
    };
    for (const FormCase& c : cases) {
        SCOPED_TRACE(std::string(c.first ? c.first : "(none)") + " " + (c.second ? c.second : "(none)"));
        recording::reset();
        service_sink::install();
        recording::addFile("C:\\src\\a.dll", "library");
        recording::addDir("C:\\dst");
        recording::addDir("C:\\x");
        size_t before = recording::calls().size();
        EXPECT_EQ(c.result, copyOrMove(nullptr, c.form, c.move, "C:\\src", "C:\\dst", c.first, c.second));
        std::vector<std::string> transfers;
        for (const std::string& call : callsFrom(before))
            if (call.compare(0, 8, "copyFile") == 0 || call.compare(0, 8, "moveFile") == 0) transfers.push_back(call);
        EXPECT_EQ(*c.call ? std::vector<std::string>{c.call} : std::vector<std::string>{}, transfers);
        EXPECT_EQ(*c.progress ? std::vector<std::string>{c.progress} : std::vector<std::string>{},
                  service_sink::of("progress"));
    }
}

TEST_F(FileOpsTest, FailedCopyAsksAboutARestartAndKeepsTheOldTarget) {
    struct AnswerCase {
        int answer;
        TransferResult result;
    };
    for (AnswerCase c : {AnswerCase{ButtonYes, TransferFailedRestart}, AnswerCase{ButtonNo, TransferFailed},
                         AnswerCase{0, TransferFailed}}) {
        recording::reset();
        service_sink::install(c.answer);
        recording::addFile("C:\\dst\\keep.dll", "old");
        EXPECT_EQ(c.result, CopyOneFile("C:\\src\\missing.dll", "C:\\dst\\keep.dll"));
        EXPECT_EQ(std::vector<std::string>{"ERROR_COPY_TTL/ERROR_COPY_MSG(C:\\src\\missing.dll, C:\\dst\\keep.dll)"},
                  service_sink::of("box"));
        EXPECT_EQ("old", recording::content("C:\\dst\\keep.dll"));
    }
    service_sink::install(ButtonNo);
    EXPECT_EQ(TransferFailed, MoveOneFile("C:\\nowhere.dll", "C:\\dst\\keep.dll"));
    EXPECT_EQ(std::vector<std::string>{"ERROR_MOVE_TTL/ERROR_MOVE_MSG(C:\\nowhere.dll, C:\\dst\\keep.dll)"},
              service_sink::of("box"));
}

TEST_F(FileOpsTest, ReadOnlyTargetIsReplacedAndLeftWritable) {
    recording::addFile("C:\\src\\a.dll", "new", true);
    recording::addFile("C:\\dst\\a.dll", "old", true);
    EXPECT_EQ(TransferDone, CopyOneFile("C:\\src\\a.dll", "C:\\dst\\a.dll"));
    EXPECT_EQ("new", recording::content("C:\\dst\\a.dll"));
    EXPECT_FALSE(recording::isReadOnly("C:\\dst\\a.dll"));
}

TEST_F(FileOpsTest, DeleteTreeKeepsReadOnlyFilesAndRemovesLinksAsLinks) {
    recording::addFile("C:\\app\\a.txt", "a");
    recording::addFile("C:\\app\\sub\\b.txt", "b");
    recording::addFile("C:\\app\\keep\\deeper\\ro.txt", "r", true);
    recording::addFile("C:\\app\\keep\\gone.txt", "g");
    recording::addDir("C:\\app\\empty");
    recording::addFile("C:\\elsewhere\\precious.txt", "p");
    recording::addLink("C:\\app\\link", "C:\\elsewhere", true);
    DeleteTree("C:\\app", nullptr);
    EXPECT_EQ((std::vector<std::string>{"C:\\app\\", "C:\\app\\keep\\", "C:\\app\\keep\\deeper\\",
                                        "C:\\app\\keep\\deeper\\ro.txt"}),
              recording::tree("C:\\app"));
    EXPECT_TRUE(recording::exists("C:\\elsewhere\\precious.txt"));
    // a sub directory names the tree below the root
    recording::addFile("C:\\base\\part\\x.txt", "x");
    recording::addFile("C:\\base\\other.txt", "o");
    DeleteTree("C:\\base", "part");
    EXPECT_EQ((std::vector<std::string>{"C:\\base\\", "C:\\base\\other.txt"}), recording::tree("C:\\base"));
}

TEST_F(FileOpsTest, TreeDeletionsRefuseAnEmptyRoot) {
    recording::addFile("C:\\setup\\x.txt", "x");
    for (const char* root : {static_cast<const char*>(nullptr), ""}) {
        size_t before = recording::calls().size();
        DeleteTree(root, nullptr);
        DeleteFilesIn(root, nullptr);
        EXPECT_TRUE(callsFrom(before).empty());
    }
    EXPECT_TRUE(recording::exists("C:\\setup\\x.txt"));
    EXPECT_EQ(4u, service_sink::of("diagnostic").size());
}

TEST_F(FileOpsTest, DeleteFilesInLeavesDirectories) {
    recording::addFile("C:\\d\\one.txt", "1");
    recording::addFile("C:\\d\\sub\\two.txt", "2");
    DeleteFilesIn("C:\\d", nullptr);
    EXPECT_EQ((std::vector<std::string>{"C:\\d\\", "C:\\d\\sub\\", "C:\\d\\sub\\two.txt"}), recording::tree("C:\\d"));
}

TEST_F(FileOpsTest, CopyTreeCopiesEmptyDirectoriesSkipsLinksAndStopsAtAFailure) {
    recording::addFile("C:\\src\\data\\a.txt", "a");
    recording::addFile("C:\\src\\data\\sub\\b.txt", "b");
    recording::addDir("C:\\src\\data\\empty");
    recording::addLink("C:\\src\\data\\link", "C:\\elsewhere", true);
    recording::addDir("C:\\dst");
    EXPECT_EQ(TransferDone, CopyTree(nullptr, "C:\\dst", "C:\\src", "data"));
    EXPECT_EQ((std::vector<std::string>{"C:\\dst\\data\\", "C:\\dst\\data\\a.txt", "C:\\dst\\data\\empty\\",
                                        "C:\\dst\\data\\sub\\", "C:\\dst\\data\\sub\\b.txt"}),
              recording::tree("C:\\dst\\data"));
    EXPECT_EQ("b", recording::content("C:\\dst\\data\\sub\\b.txt"));

    recording::addFile("C:\\dst2\\data\\a.txt", "locked", true);
    recording::failWrites("C:\\dst2\\data\\a.txt");
    EXPECT_EQ(TransferFailed, CopyTree(nullptr, "C:\\dst2", "C:\\src", "data"));
    EXPECT_EQ(1u, service_sink::of("box").size());
    EXPECT_FALSE(recording::exists("C:\\dst2\\data\\sub\\b.txt"));  // nothing after the failure
}

TEST_F(FileOpsTest, DriveSearchMatchesExactNamesAndCanBeEnded) {
    recording::addFile("C:\\apps\\one\\SETUP.EXE", "x");
    recording::addFile("C:\\apps\\two\\Setup.exe", "x");
    recording::addFile("D:\\SETUP.EXE", "x");
    recording::addFile("C:\\elsewhere\\SETUP.EXE", "x");
    recording::addLink("C:\\apps\\link", "C:\\elsewhere", true);
    std::vector<std::string> found;
    DriveSearch search{nullptr, false, false, [&](const char* dir, PlatWindow) {
                           found.push_back(dir);
                           return true;
                       }};
    SearchDrives(search, "SETUP.EXE");
    EXPECT_EQ((std::vector<std::string>{"c:\\apps\\one", "c:\\elsewhere", "d:"}), found);
    found.clear();
    search.onMatch = [&](const char* dir, PlatWindow) {
        found.push_back(dir);
        return false;
    };
    SearchDrives(search, "SETUP.EXE");
    EXPECT_EQ(std::vector<std::string>{"c:\\apps\\one"}, found);
}

TEST_F(FileOpsTest, ChooseNewerPluginKeepsOrReplacesByTextualVersion) {
    struct PluginCase {
        const char* oldEntry;
        const char* chosen;
        int slotEmptied;  // index of the slot taken, -1 when none
    };
    static const PluginCase cases[] = {
        {"frelpdll.dll\n", "FRELPDLL.DLL\n", 0},    // no version: the new one
        {"foo-2.dll\n", "foo-2.dll\n", 1},          // -2 sorts after -10: the old one, new dropped
        {"bar-1.dll\n", "bar-3.dll extra\n", 2},    // older: replaced
        {"baz-3.dll\n", "baz-3.dll\n", 3},          // equal: the new text
        {"qux.dll\n", "qux.dll\n", -1},             // no new line of that name
        {"-odd.dll\n", "-odd.dll\n", -1},           // no base name to match
    };
    for (const PluginCase& c : cases) {
        SCOPED_TRACE(c.oldEntry);
        fillSlots({"FRELPDLL.DLL\n", "foo-10.dll\n", "bar-3.dll extra\n", "baz-3.dll\n"});
        EXPECT_EQ(c.chosen, ChooseNewerPlugin(c.oldEntry));
        for (int i = 0; i < 4; i++) EXPECT_EQ(i == c.slotEmptied, pluginTable[i][0] == 0) << "slot " << i;
    }
}

TEST_F(FileOpsTest, PackLinesAreConvertedAndInsignificantLinesSkipped) {
    PlatFile* f = fileWith("# comment\n"
                           "ab\n"
                           "   \n"
                           "\"C:\\Data Files\\part\" 0\n"
                           "  D:\\x 5\n"
                           "\"E:\\open quote 7");
    ASSERT_NE(nullptr, f);
    std::string line;
    ASSERT_TRUE(ReadPackLine(f, line));
    EXPECT_EQ("C:/Data\\ Files/part 0\n", line);
    ASSERT_TRUE(ReadPackLine(f, line));
    EXPECT_EQ("D:/x 5\n", line);
    ASSERT_TRUE(ReadPackLine(f, line));
    EXPECT_EQ("E:/open\\ quote\\ 7", line);  // the last line keeps its missing line end
    EXPECT_FALSE(ReadPackLine(f, line));
    platFileClose(f);
}

TEST_F(FileOpsTest, OverlongPackLinesAreLeftOut) {
    // 600 quoted spaces become 1200 characters
    PlatFile* f = fileWith("\"" + std::string(600, ' ') + "\" 0\nF:\\ok 1\n");
    ASSERT_NE(nullptr, f);
    std::string line;
    ASSERT_TRUE(ReadPackLine(f, line));
    EXPECT_EQ("F:/ok 1\n", line);
    platFileClose(f);
}

TEST_F(FileOpsTest, ImportOldVexaOnAFreshDestinationCopiesAndAddsTheDefaultDisks) {
    recording::addFile("C:\\src\\qolt.ini", "vexa 1\nplugin a.dll\n");
    recording::addDir("C:\\dst");
    ImportResult r = ImportOldVexa("C:\\src", "C:\\dst", "2", "auto");
    EXPECT_FALSE(r.failed);
    EXPECT_EQ(TransferDone, r.copy);
    EXPECT_EQ("vexa 1\nplugin a.dll\ndisk ./Cache 64000\ndisk ./Partition 0\n", recording::content("C:\\dst\\qolt.ini"));
}

TEST_F(FileOpsTest, AddPartitionThatCannotOpenItsFileShowsTheOpenError) {
    recording::addFile("C:\\dst\\Qolt.ini", "vexa 1\n");
    recording::failOpen("C:\\dst\\Qolt.ini");
    EXPECT_EQ(-1, AddPartition("C:\\dst", "E:\\data"));
    EXPECT_EQ(std::vector<std::string>{"ERROR_OPEN_TTL/ERROR_OPEN_MSG(C:\\dst\\Qolt.ini)"}, service_sink::of("box"));
    recording::reset();
    recording::addFile("C:\\dst\\qolt.ini", "vexa 1");  // no line end: the disk line starts its own
    EXPECT_EQ(0, AddPartition("C:\\dst", "E:\\data"));
    EXPECT_EQ("vexa 1\ndisk E:\\data\\part2\\ 0\n", recording::content("C:\\dst\\qolt.ini"));
}

TEST_F(FileOpsTest, FailedCopyKeepsAReadOnlyTargetReadOnly) {
    recording::addFile("C:\\src\\a.dll", "new");
    recording::addFile("C:\\dst\\a.dll", "old", true);
    recording::failWrites("C:\\dst\\a.dll");  // a full disk, or a folder that cannot be written
    EXPECT_EQ(TransferFailed, CopyOneFile("C:\\src\\a.dll", "C:\\dst\\a.dll"));
    EXPECT_EQ(TransferFailed, MoveOneFile("C:\\src\\a.dll", "C:\\dst\\a.dll"));
    EXPECT_EQ("old", recording::content("C:\\dst\\a.dll"));
    EXPECT_TRUE(recording::isReadOnly("C:\\dst\\a.dll"));
}

TEST_F(FileOpsTest, TreeRootsThatAreLinksAreNeverEntered) {
    recording::addFile("C:\\elsewhere\\precious.txt", "p");
    recording::addLink("C:\\victim", "C:\\elsewhere", true);
    recording::addLink("C:\\flat", "C:\\elsewhere", true);
    EXPECT_EQ(0, DeleteTree("C:\\victim", nullptr));
    EXPECT_FALSE(recording::exists("C:\\victim"));  // the link itself goes
    EXPECT_EQ(0, DeleteFilesIn("C:\\flat", nullptr));
    EXPECT_TRUE(recording::exists("C:\\flat"));
    EXPECT_EQ((std::vector<std::string>{"C:\\elsewhere\\", "C:\\elsewhere\\precious.txt"}),
              recording::tree("C:\\elsewhere"));
    EXPECT_EQ(2u, service_sink::of("diagnostic").size());
}

TEST_F(FileOpsTest, TreeCopiesNeverWriteThroughALinkInTheDestination) {
    struct LinkCase {
        const char* link;  // in the destination, leading out of it
        const char* written;
    };
    static const LinkCase cases[] = {
        {"C:\\dst\\data", "C:\\elsewhere\\a.txt"},          // the copied folder itself
        {"C:\\dst\\data\\sub", "C:\\elsewhere\\b.txt"},     // a folder below it
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.link);
        recording::reset();
        service_sink::install(ButtonNo);
        recording::addFile("C:\\src\\data\\a.txt", "a");
        recording::addFile("C:\\src\\data\\sub\\b.txt", "b");
        recording::addDir("C:\\dst\\data");
        recording::addDir("C:\\elsewhere");
        recording::addLink(c.link, "C:\\elsewhere", true);
        EXPECT_EQ(TransferFailed, CopyTree(nullptr, "C:\\dst", "C:\\src", "data"));
        EXPECT_EQ(std::vector<std::string>{"C:\\elsewhere\\"}, recording::tree("C:\\elsewhere"));
        EXPECT_FALSE(recording::exists(c.written));
        EXPECT_EQ(1u, service_sink::of("box").size());
    }
}

TEST_F(FileOpsTest, TreeCopyOfAMissingOrUnreadableFolderGoesOnAndSaysSo) {
    recording::addDir("C:\\dst");
    EXPECT_EQ(TransferPartial, CopyTree(nullptr, "C:\\dst", "C:\\src", "nothere"));
    EXPECT_TRUE(recording::isDir("C:\\dst\\nothere"));  // the target folder is still made
    recording::addFile("C:\\src\\data\\locked\\x.txt", "x");
    recording::addFile("C:\\src\\data\\y.txt", "y");
    recording::failOpen("C:\\src\\data\\locked");
    EXPECT_EQ(TransferPartial, CopyTree(nullptr, "C:\\dst", "C:\\src", "data"));
    EXPECT_EQ("y", recording::content("C:\\dst\\data\\y.txt"));
    EXPECT_FALSE(recording::exists("C:\\dst\\data\\locked\\x.txt"));
    EXPECT_EQ(2u, service_sink::of("diagnostic").size());
    EXPECT_TRUE(service_sink::of("box").empty());
}

TEST_F(FileOpsTest, DeleteTreeLeavesWhatIsDeeperThan259CharactersAndSaysSo) {
    std::string deep = "C:\\app\\" + std::string(130, 'd') + "\\" + std::string(130, 'e');
    recording::addFile(deep + "\\f.txt", "f");
    recording::addFile("C:\\app\\top.txt", "t");
    EXPECT_EQ(-1, DeleteTree("C:\\app", nullptr));
    EXPECT_TRUE(recording::exists(deep + "\\f.txt"));
    EXPECT_FALSE(recording::exists("C:\\app\\top.txt"));
    EXPECT_EQ(1u, service_sink::of("diagnostic").size());
}

// qolt.ini is written whole beside itself and renamed over in one step: the
// merge and the version lines together, one rename.
TEST_F(FileOpsTest, QoltIniIsReplacedInOneRenameOrNotAtAll) {
    recording::addFile("C:\\src\\qolt.ini", "plugin new.dll\n");
    recording::addFile("C:\\dst\\qolt.ini", "vexa 1\nupdate no\nplugin old.dll\n");
    size_t before = recording::calls().size();
    ImportResult r = ImportOldVexa("C:\\src", "C:\\dst", "2", "auto");
    EXPECT_FALSE(r.failed || r.unwritten);
    EXPECT_EQ("vexa 2\nupdate auto\nplugin old.dll\nplugin new.dll\n", recording::content("C:\\dst\\qolt.ini"));
    std::vector<std::string> renames;
    for (const std::string& call : callsFrom(before))
        if (call.compare(0, 8, "moveFile") == 0) renames.push_back(call);
    EXPECT_EQ(std::vector<std::string>{"moveFile(\"C:\\dst\\qolttemp.ini\", \"C:\\dst\\qolt.ini\") = 0"}, renames);
    EXPECT_FALSE(recording::exists("C:\\dst\\newqolt.ini"));
    EXPECT_FALSE(recording::exists("C:\\dst\\qolttemp.ini"));

    // a full disk: qolt.ini is as it was, and nothing is left beside it
    struct DiskCase {
        const char* before;  // "" for no qolt.ini
    };
    for (DiskCase c : {DiskCase{"vexa 1\nplugin old.dll\n"}, DiskCase{""}}) {
        SCOPED_TRACE(c.before);
        recording::reset();
        service_sink::install();
        recording::addFile("C:\\src\\qolt.ini", "plugin new.dll\n");
        recording::addFile("C:\\dst\\qoltpack.ini", "D:\\p 1\n");
        if (*c.before) recording::addFile("C:\\dst\\qolt.ini", c.before);
        else recording::addDir("C:\\dst");
        recording::failWrites("C:\\dst\\qolttemp.ini");
        r = ImportOldVexa("C:\\src", "C:\\dst", "2", "auto");
        EXPECT_TRUE(r.unwritten);
        EXPECT_EQ(*c.before != 0, recording::exists("C:\\dst\\qolt.ini"));
        EXPECT_EQ(c.before, recording::content("C:\\dst\\qolt.ini"));
        EXPECT_FALSE(recording::exists("C:\\dst\\qolttemp.ini"));
        EXPECT_EQ(-1, AddPartition("C:\\dst", "E:\\data"));
        EXPECT_EQ(c.before, recording::content("C:\\dst\\qolt.ini"));
    }
}

// A leftover of an interrupted run, or a link planted where the new file is
// written, goes first: nothing is written through it.
TEST_F(FileOpsTest, TheNewQoltIniIsNeverWrittenThroughALink) {
    recording::addFile("C:\\src\\qolt.ini", "plugin a.dll\n");
    recording::addFile("C:\\elsewhere\\victim.txt", "precious");
    recording::addDir("C:\\dst");
    recording::addLink("C:\\dst\\qolttemp.ini", "C:\\elsewhere\\victim.txt", false);
    ImportResult r = ImportOldVexa("C:\\src", "C:\\dst", "2", "auto");
    EXPECT_FALSE(r.failed || r.unwritten);
    EXPECT_EQ("precious", recording::content("C:\\elsewhere\\victim.txt"));
    EXPECT_EQ("plugin a.dll\ndisk ./Cache 64000\ndisk ./Partition 0\n", recording::content("C:\\dst\\qolt.ini"));
}

TEST_F(FileOpsTest, PackLinesThatNameNoDirectoryAreLeftOut) {
    PlatFile* f = fileWith("\"\"\"\"\n  \"\" \"\"\nG:\\ok 2\n\"\"\"\"");
    ASSERT_NE(nullptr, f);
    std::string line;
    ASSERT_TRUE(ReadPackLine(f, line));
    EXPECT_EQ("G:/ok 2\n", line);
    EXPECT_FALSE(ReadPackLine(f, line));
    platFileClose(f);
}

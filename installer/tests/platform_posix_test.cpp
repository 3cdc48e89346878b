// The Linux stand-ins: the registry file format and defaults, the user's
// language, and the file operations where Linux differs from Windows (pipes,
// links, names holding backslashes, permissions).
#include "fileops/fileops.h"
#include "base/text.h"
#include "platform/files.h"
#include "platform/hostpath_posix.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/terminal_posix.h"
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
std::string readAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

class PosixPlatformTest : public ::testing::Test {
  protected:
    std::string dir;
    void SetUp() override {
        char tmpl[] = "/tmp/setup-test-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(tmpl));
        dir = tmpl;
        setenv("SETUP_REGISTRY", (dir + "/sub/registry.reg").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("SETUP_REGISTRY");
        std::system(("rm -rf '" + dir + "'").c_str());
    }
    void useRegistry(const std::string& path) { setenv("SETUP_REGISTRY", path.c_str(), 1); }
};

// Stops the test process when a call waits instead of failing at once.
struct Deadline {
    explicit Deadline(unsigned seconds) { alarm(seconds); }
    ~Deadline() { alarm(0); }
};

int countEntries(const std::string& path) {
    int n = 0;
    if (DIR* d = opendir(path.c_str())) {
        while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
        closedir(d);
    }
    return n;
}
}  // namespace

TEST_F(PosixPlatformTest, MissingRegistryStartsWithProgramFiles) {
    char out[256];
    ASSERT_EQ(0, platRegGetString(RegLocalMachine, "software\\microsoft\\windows\\currentversion", "PROGRAMFILESDIR",
                                  out, sizeof out));
    EXPECT_EQ(geteuid() == 0 ? std::string("/opt") : std::string(getenv("HOME")) + "/.local/opt", out);
    EXPECT_EQ(0, platRegValueExists(RegLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", "x"));
    struct stat st;
    EXPECT_NE(0, stat((dir + "/sub/registry.reg").c_str(), &st));  // reading creates nothing
}

TEST_F(PosixPlatformTest, RegistryValuesRoundTripIgnoringCase) {
    ASSERT_EQ(0, platRegSetString(RegLocalMachine, "Software\\Maroveth", "InstallFailled", "1"));
    ASSERT_EQ(0, platRegSetString(RegClassesRoot, "vexa_file\\shell\\open\\command", nullptr, "\"C:\\q\\qoltwin.exe\" \"%1\""));
    char out[256];
    ASSERT_EQ(0, platRegGetString(RegLocalMachine, "SOFTWARE\\MAROVETH", "installfailled", out, sizeof out));
    EXPECT_STREQ("1", out);
    ASSERT_EQ(0, platRegGetString(RegClassesRoot, "VEXA_FILE\\shell\\open\\command", nullptr, out, sizeof out));
    EXPECT_STREQ("\"C:\\q\\qoltwin.exe\" \"%1\"", out);
    EXPECT_EQ(-1, platRegGetString(RegClassesRoot, "VEXA_FILE\\shell\\open\\command", nullptr, out, 5));  // too small
    EXPECT_EQ(1, platRegValueExists(RegLocalMachine, "Software\\Maroveth", "INSTALLFAILLED"));
    ASSERT_EQ(0, platRegDeleteValue(RegLocalMachine, "Software\\Maroveth", "installFailled"));
    EXPECT_EQ(0, platRegValueExists(RegLocalMachine, "Software\\Maroveth", "InstallFailled"));
    EXPECT_EQ(-1, platRegDeleteValue(RegLocalMachine, "Software\\Maroveth", "InstallFailled"));
    std::string text = readAll(dir + "/sub/registry.reg");
    EXPECT_EQ(0u, text.find("Windows Registry Editor Version 5.00\n"));
    EXPECT_NE(std::string::npos, text.find("[HKEY_CLASSES_ROOT\\vexa_file\\shell\\open\\command]\n"
                                           "@=\"\\\"C:\\\\q\\\\qoltwin.exe\\\" \\\"%1\\\"\"\n"));
    EXPECT_NE(std::string::npos, text.find("\"ProgramFilesDir\"="));  // the defaults were written too
}

TEST_F(PosixPlatformTest, RegistryKeepsValuesItDoesNotKnow) {
    std::ofstream(dir + "/reg.reg") << "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Test]\r\n"
                                       "\"Num\"=dword:00000010\r\n\"Bin\"=hex:01,02,\\\r\n  03\r\n\"S\"=\"v\"\r\n";
    setenv("SETUP_REGISTRY", (dir + "/reg.reg").c_str(), 1);
    char out[64];
    EXPECT_EQ(-1, platRegGetString(RegCurrentUser, "Test", "Num", out, sizeof out));  // not a text
    ASSERT_EQ(0, platRegSetString(RegCurrentUser, "Test", "S", "w"));
    std::string text = readAll(dir + "/reg.reg");
    // the file's own line ends stay, on the lines changed too
    EXPECT_NE(std::string::npos, text.find("\"Num\"=dword:00000010\r\n"));
    EXPECT_NE(std::string::npos, text.find("\"Bin\"=hex:01,02,\\\r\n  03\r\n"));
    EXPECT_NE(std::string::npos, text.find("\"S\"=\"w\"\r\n"));
    EXPECT_EQ(-1, platRegSetString(RegCurrentUser, "Test", "S", "two\nlines"));
}

// A rewrite changes the lines of what it changes and keeps every other line
// byte for byte: comments, other types, lines it cannot read (said once).
TEST_F(PosixPlatformTest, RegistryRewriteKeepsEveryLineItDoesNotChange) {
    const std::string before = "Windows Registry Editor Version 5.00\n"
                               "; written by hand\n"
                               "\n"
                               "[HKEY_CURRENT_USER\\Test]\n"
                               "\"S\"=\"old\"\n"
                               "this line means nothing\n"
                               "\"N\"=dword:00000001\n"
                               "  ; indented comment\n"
                               "\n"
                               "[HKEY_CURRENT_USER\\Gone]\n"
                               "\"X\"=\"1\"\n"
                               "\n"
                               "[HKEY_CURRENT_USER\\Other\n"
                               "\"Y\"=\"2\"\n";
    useRegistry(dir + "/hand.reg");
    std::ofstream(dir + "/hand.reg", std::ios::binary) << before;
    testing::internal::CaptureStderr();
    ASSERT_EQ(0, platRegSetString(RegCurrentUser, "Test", "S", "new"));
    ASSERT_EQ(0, platRegSetString(RegCurrentUser, "Test", "Added", "a"));
    ASSERT_EQ(0, platRegDeleteKey(RegCurrentUser, "Gone"));
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ("Windows Registry Editor Version 5.00\n"
              "; written by hand\n"
              "\n"
              "[HKEY_CURRENT_USER\\Test]\n"
              "\"S\"=\"new\"\n"
              "this line means nothing\n"
              "\"N\"=dword:00000001\n"
              "\"Added\"=\"a\"\n"
              "  ; indented comment\n"
              "\n"
              "[HKEY_CURRENT_USER\\Other\n"
              "\"Y\"=\"2\"\n",
              readAll(dir + "/hand.reg"));
    EXPECT_NE(std::string::npos, said.find("line 6: cannot be read, kept as it is: this line means nothing"));
    EXPECT_NE(std::string::npos, said.find("line 13"));
    EXPECT_NE(std::string::npos, said.find("line 14"));
}

TEST_F(PosixPlatformTest, RegistryRewriteKeepsTheModeAndWritesThroughALink) {
    mkdir((dir + "/real").c_str(), 0755);
    std::ofstream(dir + "/real/reg.reg") << "Windows Registry Editor Version 5.00\n";
    chmod((dir + "/real/reg.reg").c_str(), 0444);
    ASSERT_EQ(0, symlink("real/reg.reg", (dir + "/link.reg").c_str()));
    useRegistry(dir + "/link.reg");
    ASSERT_EQ(0, platRegSetString(RegCurrentUser, "Test", "S", "v"));
    struct stat st;
    ASSERT_EQ(0, lstat((dir + "/link.reg").c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode));  // still the link
    ASSERT_EQ(0, stat((dir + "/real/reg.reg").c_str(), &st));
    EXPECT_EQ(0444u, st.st_mode & 07777);
    EXPECT_NE(std::string::npos, readAll(dir + "/real/reg.reg").find("\"S\"=\"v\""));
    EXPECT_EQ(2, countEntries(dir + "/real"));  // reg.reg and its lock: the temporary file went into that folder
}

TEST_F(PosixPlatformTest, RegistryWriterRemovesTemporaryFilesOfKilledWriters) {
    useRegistry(dir + "/r.reg");
    for (const char* name : {"/r.reg.Ab12Cd", "/r.reg.zzzzzz"}) std::ofstream(dir + name) << "torn";
    std::ofstream(dir + "/r.reg.keep") << "not a temporary file";
    ASSERT_EQ(0, platRegSetString(RegCurrentUser, "Test", "S", "v"));
    struct stat st;
    EXPECT_NE(0, stat((dir + "/r.reg.Ab12Cd").c_str(), &st));
    EXPECT_NE(0, stat((dir + "/r.reg.zzzzzz").c_str(), &st));
    EXPECT_EQ(0, stat((dir + "/r.reg.keep").c_str(), &st));
}

TEST_F(PosixPlatformTest, RegistryThatIsNoFileIsRefusedAtOnce) {
    Deadline deadline(20);
    ASSERT_EQ(0, mkfifo((dir + "/pipe.reg").c_str(), 0644));
    mkdir((dir + "/dir.reg").c_str(), 0755);
    for (const char* name : {"/pipe.reg", "/dir.reg"}) {
        SCOPED_TRACE(name);
        useRegistry(dir + name);
        char out[16];
        EXPECT_EQ(-1, platRegGetString(RegLocalMachine, "Software\\Maroveth", "x", out, sizeof out));
        EXPECT_EQ(-1, platRegValueExists(RegLocalMachine, "Software\\Maroveth", "x"));
        EXPECT_EQ(-1, platRegSetString(RegLocalMachine, "Software\\Maroveth", "x", "1"));
        EXPECT_EQ(-1, platRegCreateKey(RegLocalMachine, "Software\\Maroveth"));
    }
}

// One write of a registry of 30,000 keys (1 MB) takes a moment, not the
// seconds of a reading that compares every key with every other (the
// benchmark times 1 MB and 10 MB).
TEST_F(PosixPlatformTest, RegistryOfAMegabyteIsWrittenQuickly) {
    std::string text = "Windows Registry Editor Version 5.00\n";
    for (int i = 0; text.size() < 1000000; i++)
        text += "[HKEY_CURRENT_USER\\K" + std::to_string(i) + "]\n\"V\"=\"" + std::to_string(i) + "\"\n";
    useRegistry(dir + "/big.reg");
    std::ofstream(dir + "/big.reg") << text;
    auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(0, platRegSetString(RegLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vexa",
                                  "UninstallString", "setup /UNINSTALL"));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 2.0);
    std::string after = readAll(dir + "/big.reg");
    EXPECT_EQ(0u, after.find(text));  // everything before stays as it was
    EXPECT_NE(std::string::npos, after.find("\"UninstallString\"=\"setup /UNINSTALL\"", text.size()));
}

// Pipes, and files that are not regular files, are refused at once where a
// file is read or copied, never waited on.
TEST_F(PosixPlatformTest, PipesAreRefusedWithoutWaiting) {
    Deadline deadline(20);
    std::string pipe = dir + "/pipe";
    ASSERT_EQ(0, mkfifo(pipe.c_str(), 0644));
    for (const char* mode : {"rb", "r", "a+", "w"}) {
        SCOPED_TRACE(mode);
        EXPECT_EQ(nullptr, platFileOpen(pipe.c_str(), mode));
        EXPECT_NE(std::string::npos, std::string(platFailureText()).find("not a regular file"));
    }
    EXPECT_EQ(-1, platCopyFile(pipe.c_str(), (dir + "/copy").c_str()));
    EXPECT_EQ(0, platFileReadable(pipe.c_str()));
    EXPECT_EQ(nullptr, platFileOpen("/dev/zero", "rb"));
    std::ofstream(dir + "/old") << "old";
    EXPECT_EQ(nullptr, platFileOpen((dir + "/old").c_str(), "wx"));  // a new file only
    struct stat st;
    EXPECT_NE(0, stat((dir + "/copy").c_str(), &st));
}

// A second process swaps folders of a tree for links to a folder outside it
// while the tree is deleted: the walk holds each folder open and never
// follows a link, so nothing outside is touched.
TEST_F(PosixPlatformTest, TreeDeletionNeverFollowsALinkSwappedInMeanwhile) {
    // the files outside have the names of the files inside: a path followed
    // through a link swapped in deletes one of them
    const int folders = 20, filesEach = 100, outsideFiles = 100;
    std::string outside = dir + "/outside", victim = dir + "/victim", parked = dir + "/parked";
    mkdir(outside.c_str(), 0755);
    mkdir(victim.c_str(), 0755);
    mkdir(parked.c_str(), 0755);
    for (int i = 0; i < outsideFiles; i++) std::ofstream(outside + "/o" + std::to_string(i)) << "precious";
    for (int d = 0; d < folders; d++) {
        std::string f = victim + "/s" + std::to_string(d);
        mkdir(f.c_str(), 0755);
        for (int i = 0; i < filesEach; i++) std::ofstream(f + "/o" + std::to_string(i)) << "x";
    }
    // the swapper makes a bounded number of passes; the tree is deleted
    // meanwhile, and once more when it has stopped
    std::atomic<bool> started{false}, done{false};
    std::thread swapper([&] {
        for (int pass = 0; pass < 5; pass++) {
            for (int d = 0; d < folders; d++) {
                std::string f = victim + "/s" + std::to_string(d), p = parked + "/s" + std::to_string(d);
                if (rename(f.c_str(), p.c_str()) != 0) continue;
                if (symlink("../outside", f.c_str()) == 0) {
                    started = true;
                    std::this_thread::sleep_for(std::chrono::microseconds(500));  // the walker runs meanwhile
                    unlink(f.c_str());
                }
                rename(p.c_str(), f.c_str());
            }
        }
        started = true;
        done = true;
    });
    while (!started) std::this_thread::yield();
    while (!done) {
        mkdir(victim.c_str(), 0755);  // the swapper may put folders back into it
        DeleteTree(victim.c_str(), nullptr);
    }
    swapper.join();
    DeleteTree(victim.c_str(), nullptr);
    EXPECT_EQ(outsideFiles, countEntries(outside));
}

// As an unprivileged user, where permissions hold: a copy that fails in a
// read-only folder leaves the read-only target as it was, and a folder of a
// copied tree that cannot be read is said and counted.
TEST_F(PosixPlatformTest, PermissionsOfAnUnprivilegedUserHold) {
    std::string ro = dir + "/ro", src = dir + "/src";
    mkdir(ro.c_str(), 0755);
    std::ofstream(ro + "/target.txt") << "old";
    std::ofstream(dir + "/new.txt") << "new";
    mkdir(src.c_str(), 0755);
    mkdir((src + "/pkg").c_str(), 0755);
    mkdir((src + "/pkg/locked").c_str(), 0755);
    std::ofstream(src + "/pkg/locked/x.txt") << "x";
    std::ofstream(src + "/pkg/y.txt") << "y";
    mkdir((dir + "/dst").c_str(), 0755);
    // the scratch folder belongs to the unprivileged user, when root runs the test
    if (geteuid() == 0) {
        ASSERT_EQ(0, std::system(("chown -R 65534:65534 '" + dir + "' && chmod 755 '" + dir + "'").c_str()));
    }
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
        chmod((ro + "/target.txt").c_str(), 0444);
        chmod(ro.c_str(), 0555);
        chmod((src + "/pkg/locked").c_str(), 0);
        int failures = 0;
        if (CopyOneFile((dir + "/new.txt").c_str(), (ro + "/target.txt").c_str()) != TransferFailed) failures |= 1;
        struct stat st;
        if (stat((ro + "/target.txt").c_str(), &st) != 0 || (st.st_mode & 07777) != 0444) failures |= 2;
        if (CopyTree(nullptr, (dir + "/dst").c_str(), src.c_str(), "pkg") != TransferPartial) failures |= 4;
        if (stat((dir + "/dst/pkg/y.txt").c_str(), &st) != 0) failures |= 8;
        chmod(ro.c_str(), 0755);
        chmod((src + "/pkg/locked").c_str(), 0755);
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << "1: copy not failed, 2: target mode changed, 4: unreadable folder not "
                                         "counted, 8: the copy did not go on";
}

// A copy that fails while it writes (here a file-size limit stands for a
// full disk): a new name is removed again, an existing file stays as it was,
// and no temporary file is left beside either.
TEST_F(PosixPlatformTest, FailedCopyLeavesNoPartOfItsFile) {
    std::string big = dir + "/big.bin", kept = dir + "/kept.txt";
    std::ofstream(big) << std::string(64 * 1024, 'x');
    std::ofstream(kept) << "old";
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(100);
        int failures = 0;
        if (platCopyFile(big.c_str(), (dir + "/new.bin").c_str()) != -1) failures |= 1;
        if (platCopyFile(big.c_str(), kept.c_str()) != -1) failures |= 2;
        _exit(failures);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << "1: the copy to a new name, 2: the copy over a file did not fail";
    struct stat st;
    EXPECT_NE(0, stat((dir + "/new.bin").c_str(), &st)) << "a part of the new file is left";
    EXPECT_EQ("old", readAll(kept));
    std::vector<std::string> names;  // the temporary files' names start with a dot
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0) names.push_back(e->d_name);
        closedir(d);
    }
    EXPECT_EQ(2u, names.size()) << "more than big.bin and kept.txt are left: " << ::testing::PrintToString(names);
}

TEST(PosixLanguage, FromLocaleEnvironment) {
    struct LocaleCase {
        const char* lcAll;
        const char* lang;
        unsigned id;
    };
    static const LocaleCase cases[] = {
        {"", "fr_FR.UTF-8", 0x040C}, {"", "zh_TW.UTF-8", 0x0404}, {"", "zh_CN", 0x0804},
        {"", "zh_HK.UTF-8", 0x0C04}, {"", "C", 0x0409},           {"", "", 0x0409},
        {"de_DE", "fr_FR", 0x0407},  {"", "sr_RS@latin", 0x041A}, {"", "xx_YY", 0x0400},
        {"", "ca_ES.UTF-8", 0x0403},
    };
    for (const LocaleCase& c : cases) {
        SCOPED_TRACE(std::string(c.lcAll) + "/" + c.lang);
        setenv("LC_ALL", c.lcAll, 1);
        unsetenv("LC_MESSAGES");
        setenv("LANG", c.lang, 1);
        EXPECT_EQ(c.id, platUserLanguage());
    }
    unsetenv("LC_ALL");
}

// What the terminal shows: valid UTF-8 (from a UTF-8 language or script
// file, or a file name) as it is, every other byte as Windows-1252, within
// one text.
TEST(TerminalText, Utf8KeptAndWindows1252Converted) {
    struct TextCase {
        const char* text;
        const char* shown;
    };
    static const TextCase cases[] = {
        {"plain", "plain"},
        {"Ch\xE2teau", "Ch\xC3\xA2teau"},                  // Windows-1252
        {"Ch\xC3\xA2teau", "Ch\xC3\xA2teau"},              // UTF-8, as it is
        {"\x80 \xE2\x82\xAC", "\xE2\x82\xAC \xE2\x82\xAC"},  // the euro in both
        {"Copie de \xC3\xA9t\xC3\xA9 vers caf\xE9", "Copie de \xC3\xA9t\xC3\xA9 vers caf\xC3\xA9"},  // both in one text
        {"\xC3", "\xC3\x83"},                               // a cut sequence is Windows-1252
        {"\xC0\xA9", "\xC3\x80\xC2\xA9"},                   // an overlong form is not UTF-8
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},   // nor is a surrogate
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},           // four bytes
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.shown, toUtf8(c.text));
    }
}

// What a person types goes back to Windows-1252, the scripts' own code page:
// every character of it comes back as its byte, others as '?', and a stray
// byte that is no UTF-8 stays as typed (or becomes '?', as Windows makes it).
TEST(TerminalText, TypedUtf8BackToWindows1252) {
    for (int b = 0x20; b <= 0xFF; b++) {
        char one[2] = {static_cast<char>(b), 0};
        bool undefined = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        SCOPED_TRACE(b);
        EXPECT_EQ(std::string(1, undefined ? '?' : one[0]), windows1252FromUtf8(toUtf8(one), true));
    }
    EXPECT_EQ("caf\xE9 ?", windows1252FromUtf8("caf\xE9 \xE4\xB8\xAD", true));
    EXPECT_EQ("caf? ?", windows1252FromUtf8("caf\xE9 \xE4\xB8\xAD", false));
    EXPECT_EQ("\xC3", windows1252FromUtf8("\xC3", true));  // a cut sequence
}

// Why an answer was refused, in the person's language, with its subject in
// place (as UTF-8); the English text is the one the answers file reports.
TEST(TerminalText, RefusalsInTheUsersLanguage) {
    Refusal name = refusalOf(RefusalNotAFolderName, "caf\xE9:");
    EXPECT_EQ("\"caf\xC3\xA9:\" n'est pas un nom de dossier : il ne doit \xC3\xAAtre ni vide ni contenir l'un de \" * / : < > ? \\ |",
              terminalRefusal(terminalTextsFor(0x040C), name));
    EXPECT_EQ(toUtf8(name.text.c_str()), terminalRefusal(terminalTextsFor(0x0409), name));
    EXPECT_EQ("la cartella /x non esiste", terminalRefusal(terminalTextsFor(0x0410), refusalOf(RefusalNoSuchFolder, "/x")));
    Refusal asWritten;
    asWritten.text = "Nicht \xFC" "bersetzt";
    EXPECT_EQ("Nicht \xC3\xBC" "bersetzt", terminalRefusal(terminalTextsFor(0x0407), asWritten));
    // every language says every refusal, with its subject where English has one
    for (unsigned language : {0x0407u, 0x0C0Au, 0x040Cu, 0x0410u})
        for (int form = RefusalNotAFolderName; form < RefusalFormCount; form++) {
            const char* text = terminalTextsFor(language).refusals[form];
            SCOPED_TRACE(std::to_string(language) + " " + std::to_string(form));
            ASSERT_NE(nullptr, text);
            EXPECT_EQ(std::strstr(kRefusalForms[form], "%s") != nullptr, std::strstr(text, "%s") != nullptr);
        }
}

// The terminal's own words follow the user's language; a label the script
// gave stays as it is.
TEST(TerminalText, ButtonsInTheUsersLanguage) {
    struct WordCase {
        unsigned language;
        const char* word;
        const char* label;
        const char* shown;
    };
    static const WordCase cases[] = {
        {0x040C, "yes", "Yes", "Oui"},     {0x040C, "no", "No", "Non"},        {0x040C, "cancel", "Cancel", "Annuler"},
        {0x0407, "yes", "Yes", "Ja"},      {0x0410, "no", "No", "No"},         {0x0C0A, "yes", "Yes", "S\xC3\xAD"},
        {0x0410, "cancel", "Cancel", "Annulla"}, {0x0409, "yes", "Yes", "Yes"}, {0x0411, "no", "No", "No"},  // Japanese: English
        {0x040C, "abort", "Abandon", "Abandon"},  // the script's own label
        {0x040C, "", "Custom", "Custom"},
    };
    for (const WordCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.language) + " " + c.word);
        EXPECT_EQ(c.shown, terminalButtonLabel(terminalTextsFor(c.language), c.word, c.label));
    }
    EXPECT_EQ(std::string("French"), terminalTextsFor(0x080C).language);  // Belgian French is French
    EXPECT_EQ(std::string("English"), terminalTextsFor(0x0413).language);
    EXPECT_EQ("Num\xC3\xA9ro (de 1 \xC3\xA0 3)", fillText(terminalTextsFor(0x040C).numberPrompt, "3"));
}

// The Linux stand-ins: the registry file format and defaults, the user's language.
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

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
};
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
    EXPECT_NE(std::string::npos, text.find("\"Num\"=dword:00000010\n"));
    EXPECT_NE(std::string::npos, text.find("\"Bin\"=hex:01,02,\\\n  03\n"));
    EXPECT_NE(std::string::npos, text.find("\"S\"=\"w\"\n"));
    EXPECT_EQ(-1, platRegSetString(RegCurrentUser, "Test", "S", "two\nlines"));
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

// The Linux stand-ins of the shell: the freedesktop folders, desktop entries
// and menus, and the user's font folder. Every folder lies in a scratch
// directory: HOME and the XDG variables point there during each test.
#include "platform/shell.h"
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <chrono>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
std::string readAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

const char* const kVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR"};

class ShellPosixTest : public ::testing::Test {
  protected:
    fs::path root;
    std::string saved[4];
    bool wasSet[4] = {};
    void SetUp() override {
        char tmpl[] = "/tmp/setup-shell-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(tmpl));
        root = tmpl;
        for (int i = 0; i < 4; i++) {
            const char* v = std::getenv(kVariables[i]);
            wasSet[i] = v != nullptr;
            saved[i] = v ? v : "";
        }
        setenv("HOME", (root / "home").c_str(), 1);
        setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        setenv("XDG_DESKTOP_DIR", (root / "desk").c_str(), 1);
        fs::create_directories(root / "home");
    }
    void TearDown() override {
        for (int i = 0; i < 4; i++) {
            if (wasSet[i]) setenv(kVariables[i], saved[i].c_str(), 1);
            else unsetenv(kVariables[i]);
        }
        std::error_code ec;
        fs::remove_all(root, ec);
    }
    std::string folder(ShellFolder f) {
        char path[1024];
        if (platShellFolder(f, path, sizeof path) != 0) return "<none>";
        return path;
    }
    // desktop-file-validate's complaints about a file ("" when it has none)
    std::string validate(const fs::path& file) {
        std::string out = (root / "validate.txt").string();
        std::string command = "desktop-file-validate '" + file.string() + "' > '" + out + "' 2>&1";
        int status = std::system(command.c_str());
        std::string text = readAll(out);
        if (status != 0 && text.empty()) return "desktop-file-validate did not run (install desktop-file-utils)";
        return text;
    }
};
}  // namespace

TEST_F(ShellPosixTest, FoldersFollowTheXdgVariablesAndAreCreated) {
    EXPECT_EQ((root / "data/applications").string(), folder(FolderPrograms));
    EXPECT_EQ((root / "config/autostart").string(), folder(FolderStartup));
    EXPECT_EQ((root / "desk").string(), folder(FolderDesktop));
    for (const char* made : {"data/applications", "config/autostart", "desk"})
        EXPECT_TRUE(fs::is_directory(root / made)) << made;
    // unset or relative variables fall back to the home directory
    unsetenv("XDG_DESKTOP_DIR");
    setenv("XDG_DATA_HOME", "relative/data", 1);
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ((root / "home/Desktop").string(), folder(FolderDesktop));
    EXPECT_EQ((root / "home/.local/share/applications").string(), folder(FolderPrograms));
    EXPECT_EQ((root / "home/.config/autostart").string(), folder(FolderStartup));
    EXPECT_FALSE(fs::exists("relative"));
    // a folder that cannot be made
    std::ofstream(root / "blocker") << "a file";
    setenv("XDG_DESKTOP_DIR", (root / "blocker/desk").c_str(), 1);
    EXPECT_EQ("<none>", folder(FolderDesktop));
}

TEST_F(ShellPosixTest, AShortcutIsADesktopEntryThatValidates) {
    fs::create_directories(root / "Vexa 3D/bin");
    fs::create_directories(root / "menu");
    std::string program = (root / "Vexa 3D/bin/qoltwin").string();
    std::ofstream(program) << "#!/bin/sh\n";
    chmod(program.c_str(), 0755);
    std::ofstream(root / "Vexa 3D/readme.txt") << "text";
    std::string dst = (root / "Vexa 3D").string();
    struct EntryCase {
        const char* title;
        std::string target;
        const char* arguments;
        std::string exec;
    };
    const EntryCase cases[] = {
        {"Vexa", dst + "\\bin\\qoltwin", "", "\"" + dst + "/bin/qoltwin\""},
        {"Vexa args", dst + "\\bin\\qoltwin", "-f \"a b\" 100% $HOME c:\\x",
         "\"" + dst + "/bin/qoltwin\" -f \"a b\" 100%% \"\\\\$HOME\" \"c:\\\\\\\\x\""},
        {"Read me", dst + "\\readme.txt", "-ignored", "xdg-open \"" + dst + "/readme.txt\""},
        {"Later", dst + "\\bin\\notyet", "", "\"" + dst + "/bin/notyet\""},  // not installed yet: a program
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.title);
        std::string file = (root / "menu").string() + "\\" + c.title + ".desktop";
        std::string workDir = dst + "\\";
        ShortcutSpec spec = {c.target.c_str(), workDir.c_str(), c.arguments, c.title};
        ASSERT_EQ(0, platSaveShortcut(file.c_str(), spec));
        fs::path written = root / "menu" / (std::string(c.title) + ".desktop");
        EXPECT_EQ("[Desktop Entry]\nType=Application\nName=" + std::string(c.title) + "\nExec=" + c.exec +
                      "\nPath=" + dst + "\n",
                  readAll(written));
        EXPECT_EQ("", validate(written));
    }
    // saved again: replaced, not appended
    std::string target = dst + "\\bin\\qoltwin";
    ShortcutSpec again = {target.c_str(), dst.c_str(), "", "Vexa"};
    ASSERT_EQ(0, platSaveShortcut(((root / "menu").string() + "\\Vexa.desktop").c_str(), again));
    std::string text = readAll(root / "menu/Vexa.desktop");
    EXPECT_EQ(1, std::count(text.begin(), text.end(), '['));
    // no folder: no entry
    ShortcutSpec spec = {program.c_str(), dst.c_str(), "", "X"};
    EXPECT_EQ(-1, platSaveShortcut((root / "nofolder/X.desktop").c_str(), spec));
    EXPECT_FALSE(fs::exists(root / "nofolder"));
}

TEST_F(ShellPosixTest, AProgramGroupIsASubmenuWhileItHoldsEntries) {
    std::string programs = folder(FolderPrograms);
    fs::path group = fs::path(programs) / "Vexa 3D";
    fs::path menu = root / "config/menus/applications-merged/vexa-Vexa 3D.menu";
    fs::path directory = root / "data/desktop-directories/vexa-Vexa 3D.directory";
    fs::create_directories(group / "Tools");
    platProgramGroupChanged((programs + "\\Vexa 3D").c_str());
    EXPECT_FALSE(fs::exists(menu));  // an empty group shows nothing
    std::ofstream(group / "Vexa.desktop") << "[Desktop Entry]\n";
    std::ofstream(group / "Alpha.desktop") << "[Desktop Entry]\n";
    std::ofstream(group / "Tools/Tool & more.desktop") << "[Desktop Entry]\n";
    std::ofstream(group / "notes.txt") << "not an entry";
    platProgramGroupChanged((programs + "\\Vexa 3D").c_str());
    EXPECT_EQ("<!DOCTYPE Menu PUBLIC \"-//freedesktop//DTD Menu 1.0//EN\"\n"
              " \"http://www.freedesktop.org/standards/menu-spec/menu-1.0.dtd\">\n"
              "<Menu>\n"
              "  <Name>Applications</Name>\n"
              "  <Menu>\n"
              "    <Name>Vexa 3D</Name>\n"
              "    <Directory>vexa-Vexa 3D.directory</Directory>\n"
              "    <Include>\n"
              "      <Filename>Vexa 3D-Alpha.desktop</Filename>\n"
              "      <Filename>Vexa 3D-Vexa.desktop</Filename>\n"
              "    </Include>\n"
              "    <Menu>\n"
              "      <Name>Tools</Name>\n"
              "      <Include>\n"
              "        <Filename>Vexa 3D-Tools-Tool &amp; more.desktop</Filename>\n"
              "      </Include>\n"
              "    </Menu>\n"
              "  </Menu>\n"
              "</Menu>\n",
              readAll(menu));
    EXPECT_EQ("[Desktop Entry]\nType=Directory\nName=Vexa 3D\n", readAll(directory));
    EXPECT_EQ("", validate(directory));
    fs::remove_all(group);
    platProgramGroupChanged((programs + "\\Vexa 3D").c_str());
    EXPECT_FALSE(fs::exists(menu));
    EXPECT_FALSE(fs::exists(directory));
    // outside the applications folder: nothing
    fs::create_directories(root / "elsewhere");
    std::ofstream(root / "elsewhere/x.desktop") << "[Desktop Entry]\n";
    platProgramGroupChanged((root / "elsewhere").c_str());
    EXPECT_TRUE(fs::is_empty(root / "config/menus/applications-merged"));
}

TEST_F(ShellPosixTest, FontsAreLinksInTheUsersFontFolder) {
    fs::create_directories(root / "Vexa 3D/fonts");
    std::string font = (root / "Vexa 3D/fonts/VexaSans.ttf").string();
    std::ofstream(font) << "font data";
    fs::path link = root / "data/fonts/VexaSans.ttf";
    ASSERT_EQ(0, platAddFont(font.c_str()));
    ASSERT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(font, fs::read_symlink(link).string());
    EXPECT_EQ(0, platAddFont(font.c_str()));  // there already
    EXPECT_EQ(-1, platAddFont((root / "Vexa 3D/fonts/missing.ttf").c_str()));
    EXPECT_FALSE(fs::exists(root / "data/fonts/missing.ttf"));
    ASSERT_EQ(0, platRemoveFont(font.c_str()));
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_TRUE(fs::exists(font));
    EXPECT_EQ(-1, platRemoveFont(font.c_str()));
    // a font of the user's own with that name is never touched
    std::ofstream(link) << "the user's font";
    EXPECT_EQ(-1, platAddFont(font.c_str()));
    EXPECT_EQ(-1, platRemoveFont(font.c_str()));
    EXPECT_EQ("the user's font", readAll(link));
    // nor a link of that name to another font
    fs::remove(link);
    fs::create_symlink(root / "other.ttf", link);
    EXPECT_EQ(-1, platRemoveFont(font.c_str()));
    EXPECT_TRUE(fs::is_symlink(link));
}

// A program started without waiting holds nothing of setup's output, so
// whoever reads that output (a pipe, a log collector) is not kept waiting
// until the program ends.
TEST_F(ShellPosixTest, AProgramStartedWithoutWaitingKeepsNoneOfSetupsOutput) {
    int pipeFds[2];
    ASSERT_EQ(0, pipe(pipeFds));
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dup2(pipeFds[1], 1);
        dup2(pipeFds[1], 2);
        close(pipeFds[0]);
        close(pipeFds[1]);
        _exit(platOpenFile("sleep", "10", "/") == 0 ? 0 : 1);  // stops by itself
    }
    close(pipeFds[1]);
    auto start = std::chrono::steady_clock::now();
    char buffer[256];
    while (read(pipeFds[0], buffer, sizeof buffer) > 0) {
    }
    close(pipeFds[0]);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_LT(seconds, 5.0);
}

// What both platform layers promise alike for programs, libraries and the
// port probe, with the helpers built next to this test program. Runs natively
// and, in the Windows build, under Wine.
#include "platform/shell.h"
#include "platform/system.h"
#include "system/network.h"
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <thread>
#ifdef _WIN32
#include <winsock.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {
#ifdef _WIN32
const char* const kProgram = "exitcode.exe";
const char* const kSelfReg = "selfreg.dll";
const char* const kNoReg = "noreg.dll";
#else
const char* const kProgram = "exitcode";
const char* const kSelfReg = "selfreg.so";
const char* const kNoReg = "noreg.so";
#endif

std::string readAll(const fs::path& p) {
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// Waits up to ten seconds for a file that another process writes.
bool appears(const fs::path& p) {
    for (int i = 0; i < 200; i++) {
        if (fs::exists(p) && fs::file_size(p) > 0) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

class ShellTest : public ::testing::Test {
  protected:
    fs::path root, helpers;
    char savedDir[1024] = "";
    void SetUp() override {
        auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root = fs::temp_directory_path() / ("vexa-shell-" + std::to_string(stamp));
        fs::create_directories(root / "work");
        char self[1024];
        ASSERT_EQ(0, platProgramPath(self, sizeof self));
        helpers = fs::path(self).parent_path();
        for (const char* helper : {kProgram, kSelfReg, kNoReg})
            fs::copy_file(helpers / helper, root / helper, fs::copy_options::overwrite_existing);
        ASSERT_EQ(0, platGetCurrentDir(savedDir, sizeof savedDir));
        ASSERT_EQ(0, platSetCurrentDir(root.string().c_str()));
    }
    void TearDown() override {
        platSetCurrentDir(savedDir);
        // a program started without waiting may still hold its folder a moment (Windows)
        std::error_code ec;
        for (int i = 0; i < 50 && (fs::remove_all(root, ec), fs::exists(root)); i++)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    std::string at(const char* name) { return (root / name).string(); }
};

#ifdef _WIN32
struct Sockets {
    Sockets() {
        WSADATA data;
        WSAStartup(MAKEWORD(1, 1), &data);
    }
    ~Sockets() { WSACleanup(); }
};
typedef SOCKET Socket;
const Socket kBad = INVALID_SOCKET;
void closeSocket(Socket s) { closesocket(s); }
#else
struct Sockets {
    Sockets() {}  // nothing to start
};
typedef int Socket;
const Socket kBad = -1;
void closeSocket(Socket s) { close(s); }
#endif

// A listener on the loopback address, as a running runtime holds its port.
Socket listenOnLoopback(int port) {
    Socket s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == kBad) return kBad;
    sockaddr_in a;
    std::memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<unsigned short>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || listen(s, 3) != 0) {
        closeSocket(s);
        return kBad;
    }
    return s;
}
}  // namespace

TEST_F(ShellTest, RunAndWaitGivesTheWholeCommandLineAndTheExitCode) {
    struct RunCase {
        const char* commandLine;
        int code;
    };
    const RunCase cases[] = {{"/s", 0}, {"7 a \"b c\"", 7}, {"42", 42}};
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.commandLine);
        fs::remove(root / "cmdline.txt");
        int code = -5;
        ASSERT_EQ(0, platRunAndWait(at(kProgram).c_str(), c.commandLine, &code));
        EXPECT_EQ(c.code, code);
        EXPECT_EQ(c.commandLine, readAll(root / "cmdline.txt"));  // exactly that, one argument
    }
    int code = -5;
    EXPECT_EQ(-1, platRunAndWait(at("missing-program").c_str(), "/s", &code));
    EXPECT_EQ(-5, code);
}

TEST_F(ShellTest, OpenFileStartsAProgramWithItsParametersInTheDirectory) {
    ASSERT_EQ(0, platOpenFile(at(kProgram).c_str(), "3 \"a b\"", at("work").c_str()));
    ASSERT_TRUE(appears(root / "work" / "cmdline.txt"));
    std::string line = readAll(root / "work" / "cmdline.txt");
#ifdef _WIN32
    // the program's own name comes first in a Windows command line
    EXPECT_EQ("3 \"a b\"", line.substr(line.size() - 7)) << line;
#else
    EXPECT_EQ("3 | a b", line);  // split as Windows splits, no shell in between
#endif
}

TEST_F(ShellTest, LibrariesLoadAndTheirEntryPointsAreCalled) {
    PlatLibrary* library = platLoadLibrary(at(kSelfReg).c_str());
    ASSERT_NE(nullptr, library);
    EXPECT_EQ(1, platCallEntryPoint(library, "DllRegisterServer"));
    EXPECT_EQ(0, platCallEntryPoint(library, "DllRegisterServerX"));
    platFreeLibrary(library);
    EXPECT_EQ("called\n", readAll(root / "selfreg-registered.txt"));
    EXPECT_FALSE(fs::exists(root / "selfreg-unregistered.txt"));

    // a bare name of a file in the current directory; a .dll name is found
    // as the .so of the same name on Linux
    library = platLoadLibrary("selfreg.dll");
    ASSERT_NE(nullptr, library);
    EXPECT_EQ(1, platCallEntryPoint(library, "DllUnregisterServer"));
    platFreeLibrary(library);
    EXPECT_EQ("called\n", readAll(root / "selfreg-unregistered.txt"));

    library = platLoadLibrary(at(kNoReg).c_str());
    ASSERT_NE(nullptr, library);
    EXPECT_EQ(0, platCallEntryPoint(library, "DllRegisterServer"));
    platFreeLibrary(library);
    EXPECT_EQ(nullptr, platLoadLibrary(at("missing.dll").c_str()));
    std::ofstream(root / "text.dll") << "no library";
    EXPECT_EQ(nullptr, platLoadLibrary(at("text.dll").c_str()));
}

TEST_F(ShellTest, FilesAreToldFromDirectories) {
    EXPECT_EQ(1, platIsFile(at(kProgram).c_str()));
    EXPECT_EQ(0, platIsFile(at("work").c_str()));
    EXPECT_EQ(0, platIsFile(at("missing").c_str()));
    EXPECT_EQ(0, platIsFile(nullptr));
}

// The port probe on this machine's real sockets: the listener binds the
// loopback address only, and closes within the test.
TEST(PortProbe, Port1200HeldByAListenerMeansRunning) {
    Sockets sockets;
    EXPECT_EQ(1, DetectTCPIP());
    // another test (or program) may hold the port a moment: wait for it
    int free = 1;
    for (int i = 0; i < 100 && (free = IsVexaRunning()) != 0; i++)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ASSERT_EQ(0, free) << "port 1200 stays in use on this machine; the probe cannot be tested";
    Socket listener = listenOnLoopback(kRuntimePort);
    ASSERT_NE(kBad, listener);
    EXPECT_EQ(1, IsVexaRunning());
    closeSocket(listener);
    EXPECT_EQ(0, IsVexaRunning());
}

#ifdef _WIN32
// Under Wine the folders lie in the test prefix, never in the user's home.
TEST(ShellFolders, TheSystemGivesAllThree) {
    for (ShellFolder folder : {FolderPrograms, FolderStartup, FolderDesktop}) {
        char path[1024];
        ASSERT_EQ(0, platShellFolder(folder, path, sizeof path));
        EXPECT_TRUE(fs::is_directory(path)) << path;
        char tiny[4];
        EXPECT_EQ(-1, platShellFolder(folder, tiny, sizeof tiny));
    }
}

TEST_F(ShellTest, AShortcutHoldsItsTargetWorkingDirectoryAndArguments) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ShortcutSpec spec = {"C:\\Vexa 3D\\bin\\qoltwin.exe", "C:\\Vexa 3D", "-f \"a b\"", "Vexa"};
    ASSERT_EQ(0, platSaveShortcut(at("Vexa.lnk").c_str(), spec));
    IShellLinkA* link = nullptr;
    IPersistFile* persist = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                           reinterpret_cast<void**>(&link))));
    ASSERT_TRUE(SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))));
    std::wstring file = (root / "Vexa.lnk").wstring();
    ASSERT_TRUE(SUCCEEDED(persist->Load(file.c_str(), STGM_READ)));
    char path[MAX_PATH] = "", dir[MAX_PATH] = "", args[MAX_PATH] = "", description[MAX_PATH] = "x";
    link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetWorkingDirectory(dir, MAX_PATH);
    link->GetArguments(args, MAX_PATH);
    link->GetDescription(description, MAX_PATH);
    EXPECT_STREQ("C:\\Vexa 3D\\bin\\qoltwin.exe", path);
    EXPECT_STREQ("C:\\Vexa 3D", dir);
    EXPECT_STREQ("-f \"a b\"", args);
    EXPECT_STREQ("", description);  // nothing but the three settings
    persist->Release();
    link->Release();
    // a folder that is not there: no shortcut
    EXPECT_EQ(-1, platSaveShortcut(at("missing\\Vexa.lnk").c_str(), spec));
    EXPECT_FALSE(fs::exists(root / "missing"));
    CoUninitialize();
}
#endif

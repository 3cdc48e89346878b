// Reads shortcut files back through the shell-link object and prints, for
// each, "path|working directory|arguments" on a line of its own (or
// "unreadable" when the file cannot be loaded as a shortcut).
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <cstdio>

int main(int argc, char** argv) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    for (int i = 1; i < argc; i++) {
        IShellLinkA* link = nullptr;
        IPersistFile* persist = nullptr;
        WCHAR wide[MAX_PATH];
        char path[MAX_PATH] = "", dir[MAX_PATH] = "", args[1024] = "";
        bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                             reinterpret_cast<void**>(&link))) &&
                  SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
                  MultiByteToWideChar(CP_ACP, 0, argv[i], -1, wide, MAX_PATH) > 0 &&
                  SUCCEEDED(persist->Load(wide, STGM_READ)) &&
                  SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)) &&
                  SUCCEEDED(link->GetWorkingDirectory(dir, MAX_PATH)) &&
                  SUCCEEDED(link->GetArguments(args, sizeof args));
        if (ok) {
            std::printf("%s|%s|%s\n", path, dir, args);
        } else {
            std::printf("unreadable\n");
            status = 1;
        }
        if (persist) persist->Release();
        if (link) link->Release();
    }
    CoUninitialize();
    return status;
}

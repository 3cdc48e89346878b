// The socket steps of the network probes on Windows: Windows Sockets 1.1.
#include "net.h"
#include <winsock.h>
#include <cstring>

int platNetStart(int* major, int* minor) {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0) return -1;
    if (major) *major = LOBYTE(data.wVersion);
    if (minor) *minor = HIBYTE(data.wVersion);
    return 0;
}

void platNetStop() { WSACleanup(); }

int platNetProtocolKnown(const char* name) { return name && getprotobyname(name) ? 1 : 0; }

PlatSocket platNetStreamSocket(int protocol) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, protocol);
    return s == INVALID_SOCKET ? kNoSocket : static_cast<PlatSocket>(s);
}

int platNetBindAnyAddress(PlatSocket socket, int port) {
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(port));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    return bind(static_cast<SOCKET>(socket), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? 0 : -1;
}

int platNetListen(PlatSocket socket, int backlog) { return listen(static_cast<SOCKET>(socket), backlog) == 0 ? 0 : -1; }

void platNetClose(PlatSocket socket) {
    if (socket != kNoSocket) closesocket(static_cast<SOCKET>(socket));
}

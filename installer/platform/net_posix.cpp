// The socket steps of the network probes on Linux: BSD sockets and the
// protocol database of /etc/protocols.
#include "net.h"
#include <arpa/inet.h>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

int platNetStart(int* major, int* minor) {
    // the socket interface is always there, and it does what version 1.1 does
    if (major) *major = 1;
    if (minor) *minor = 1;
    return 0;
}

void platNetStop() {}

int platNetProtocolKnown(const char* name) {
    if (!name) return 0;
    int known = getprotobyname(name) != nullptr;
    endprotoent();
    return known;
}

PlatSocket platNetStreamSocket(int protocol) {
    int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, protocol);
    return s < 0 ? kNoSocket : static_cast<PlatSocket>(s);
}

int platNetBindAnyAddress(PlatSocket socket, int port) {
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    return bind(static_cast<int>(socket), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? 0 : -1;
}

int platNetListen(PlatSocket socket, int backlog) { return listen(static_cast<int>(socket), backlog) == 0 ? 0 : -1; }

void platNetClose(PlatSocket socket) {
    if (socket != kNoSocket) close(static_cast<int>(socket));
}

// The socket steps of the network probes (Windows Sockets 1.1; posix: BSD
// sockets with the system's protocol database).
#pragma once
#include <cstdint>

// Starts the socket library asking for version 1.1. 0 and the version it
// grants, or -1 when it cannot be started. posix: always 1.1.
int platNetStart(int* major, int* minor);
// Releases what platNetStart started.
void platNetStop();
// 1 when the protocol database knows the name (looked up as written).
int platNetProtocolKnown(const char* name);

typedef intptr_t PlatSocket;
const PlatSocket kNoSocket = -1;
// A stream socket of the Internet family with the given protocol number
// (0: the default); kNoSocket when it cannot be created.
PlatSocket platNetStreamSocket(int protocol);
// Binds the socket to port (host order) on any local address: 0 or -1.
int platNetBindAnyAddress(PlatSocket socket, int port);
int platNetListen(PlatSocket socket, int backlog);
void platNetClose(PlatSocket socket);

// The two network probes.
#pragma once

// The runtime's port: a running runtime holds it.
const int kRuntimePort = 1200;

// 1 when TCP/IP is usable: Windows Sockets 1.1 is there, the protocol names
// TCP, IP and UDP are known, and a TCP stream socket can be made. Else 0.
int DetectTCPIP();
// 1 when the runtime's port cannot be taken (bound on any local address and
// listened on): the runtime is taken to be running. Also 1 without Windows
// Sockets 1.1. 0 when the port was free.
int IsVexaRunning();

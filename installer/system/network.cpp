#include "network.h"
#include "../platform/net.h"

int DetectTCPIP() {
    int major = 0, minor = 0;
    if (platNetStart(&major, &minor) != 0) return 0;
    int usable = 0;
    // ORDER: the protocols are looked up as TCP, IP, UDP
    if (major == 1 && minor == 1 && platNetProtocolKnown("TCP") && platNetProtocolKnown("IP") &&
        platNetProtocolKnown("UDP")) {
        PlatSocket s = platNetStreamSocket(6);
        usable = s != kNoSocket;
        if (s != kNoSocket) platNetClose(s);
    }
    platNetStop();
    return usable;
}

int IsVexaRunning() {
    int major = 0, minor = 0;
    if (platNetStart(&major, &minor) != 0) return 1;
    int taken = 1;
    if (major == 1 && minor == 1) {
        PlatSocket s = platNetStreamSocket(0);
        taken = s == kNoSocket || platNetBindAnyAddress(s, kRuntimePort) != 0 || platNetListen(s, 3) != 0;
        if (s != kNoSocket) platNetClose(s);
    }
    platNetStop();
    return taken;
}

// Holds a TCP port on the loopback address for the tests of the port probe,
// and always stops by itself.
//   hold_port listen <port> <seconds> <ready file> <stop file>
//     listens until the stop file exists or the seconds are over; writes the
//     ready file once it listens. Exit 0, or 2 when the port cannot be had.
//   hold_port free <port> <seconds>
//     waits until the port can be bound on any address. Exit 0, or 1 when the
//     seconds ran out.
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

static double now() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

static int bound(int port, unsigned long address) {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    if (s < 0) return -1;
    sockaddr_in a;
    std::memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<unsigned short>(port));
    a.sin_addr.s_addr = htonl(address);
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(s);
        return -1;
    }
    return s;
}

int main(int argc, char** argv) {
    if (argc >= 4 && !std::strcmp(argv[1], "free")) {
        int port = std::atoi(argv[2]);
        double end = now() + std::atof(argv[3]);
        while (now() < end) {
            int s = bound(port, INADDR_ANY);
            if (s >= 0) {
                close(s);
                return 0;
            }
            usleep(100000);
        }
        std::fprintf(stderr, "hold_port: port %d still taken\n", port);
        return 1;
    }
    if (argc < 6 || std::strcmp(argv[1], "listen")) {
        std::fprintf(stderr, "usage: hold_port listen <port> <seconds> <ready file> <stop file>\n"
                             "       hold_port free <port> <seconds>\n");
        return 2;
    }
    int port = std::atoi(argv[2]);
    double end = now() + std::atof(argv[3]);
    int s = bound(port, INADDR_LOOPBACK);
    if (s < 0 || listen(s, 3) != 0) {
        std::fprintf(stderr, "hold_port: cannot listen on 127.0.0.1:%d\n", port);
        return 2;
    }
    if (FILE* f = std::fopen(argv[4], "w")) std::fclose(f);
    struct stat st;
    while (now() < end && stat(argv[5], &st) != 0) usleep(50000);
    close(s);
    return 0;
}

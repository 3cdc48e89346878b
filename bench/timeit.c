/* Times commands in alternation: round r runs every command once, in turn,
 * so that a slow spell of the machine hits all of them alike. Prints one
 * line per command: its name and the median wall time in milliseconds.
 * Usage: timeit ROUNDS NAME 'cmd args...' [NAME 'cmd args...']...
 * Commands are split on spaces (no quoting) and run with their output sent
 * to /dev/null. */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static int cmp(const void* a, const void* b) {
    double x = *(const double*)a, y = *(const double*)b;
    return x < y ? -1 : x > y;
}

static double run(char** argv) {
    double start = now();
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execvp(argv[0], argv);
        _exit(127);
    }
    int status;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        fprintf(stderr, "timeit: %s failed\n", argv[0]);
        exit(1);
    }
    return now() - start;
}

int main(int argc, char** argv) {
    if (argc < 4 || (argc - 2) % 2) return 2;
    int rounds = atoi(argv[1]), n = (argc - 2) / 2;
    char** names = malloc(n * sizeof *names);
    char*** cmds = malloc(n * sizeof *cmds);
    double* times = malloc((size_t)n * rounds * sizeof *times);
    for (int i = 0; i < n; ++i) {
        names[i] = argv[2 + 2 * i];
        char* text = strdup(argv[3 + 2 * i]);
        cmds[i] = calloc(64, sizeof(char*));
        int k = 0;
        for (char* w = strtok(text, " "); w && k < 63; w = strtok(NULL, " ")) cmds[i][k++] = w;
    }
    for (int i = 0; i < n; ++i) run(cmds[i]);  /* warm the caches */
    for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < n; ++i) times[i * rounds + r] = run(cmds[i]);
    for (int i = 0; i < n; ++i) {
        qsort(times + i * rounds, rounds, sizeof *times, cmp);
        printf("%s %.3f\n", names[i], times[i * rounds + rounds / 2]);
    }
    return 0;
}

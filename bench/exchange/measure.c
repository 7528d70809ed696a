/* Runs a command and prints its wall time and CPU time (user + system) in seconds and its peak
 * resident memory in KB:
 *
 *     exchange_measure COMMAND [ARGS...]   ->   "12.34 13.10 118592 0" (wall, CPU, KB, exit status)
 *
 * The command's own output goes to /dev/null; its errors stay on stderr.
 */
#define _GNU_SOURCE
#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: exchange_measure COMMAND [ARGS...]\n");
        return 2;
    }
    struct timespec start, end;
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
            dup2(null, STDOUT_FILENO);
        execvp(argv[1], argv + 1);
        perror(argv[1]);
        _exit(127);
    }
    int status = 0;
    struct rusage usage;
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0) {
        perror("exchange_measure");
        return 2;
    }
    clock_gettime(CLOCK_MONOTONIC, &end);
    const double seconds = (double)(end.tv_sec - start.tv_sec) + (double)(end.tv_nsec - start.tv_nsec) / 1e9;
    const double cpu = (double)(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                       (double)(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    printf("%.2f %.2f %ld %d\n", seconds, cpu, usage.ru_maxrss, WIFEXITED(status) ? WEXITSTATUS(status) : 128);
    return 0;
}

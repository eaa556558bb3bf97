// measure COMMAND [ARGUMENT...]: runs the command with its output discarded and prints
// "wall_seconds cpu_seconds peak_rss_kib", from the kernel's exact accounting of the child.
// time(1) rounds CPU time to hundredths, too coarse for a program that uses a tenth of a second.
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: measure COMMAND [ARGUMENT...]\n");
        return 2;
    }
    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (child < 0 || wait4(child, &status, 0, &usage) != child) {
        std::perror("measure");
        return 1;
    }
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - started;
    std::printf("%.3f %.4f %ld\n", wall.count(), seconds(usage.ru_utime) + seconds(usage.ru_stime),
                usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

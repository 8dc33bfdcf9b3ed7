#include "StartupClock.h"

#include "StartupWatch.h"

#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

extern char** environ;

namespace quendral::bench {

namespace {

constexpr int kReportFd = 3;

std::string readAll(int fd)
{
    std::string text;
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

}  // namespace

std::optional<StartupTimes> timeStartup(const std::string& executable, const std::string& argument)
{
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        return std::nullopt;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // dup2 clears close-on-exec on the copy, so only the report end reaches the child.
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], kReportFd);

    std::string reportArg = "--report-fd=" + std::to_string(kReportFd);
    std::string extra = argument;
    char* argv[] = {const_cast<char*>(executable.c_str()), reportArg.data(),
        extra.empty() ? nullptr : extra.data(), nullptr};

    pid_t pid = 0;
    const std::int64_t started = monotonicNs();
    const int spawnError = posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (spawnError != 0) {
        ::close(pipeFds[0]);
        return std::nullopt;
    }

    const std::string report = readAll(pipeFds[0]);
    ::close(pipeFds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) { }

    std::istringstream in(report);
    std::int64_t activated = 0;
    std::int64_t painted = 0;
    std::int64_t activatedCpu = 0;
    std::int64_t paintedCpu = 0;
    long peak = 0;
    if (!(in >> activated >> painted >> activatedCpu >> paintedCpu >> peak) || !WIFEXITED(status)
        || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return StartupTimes{{double(activated - started) / 1e9, double(activatedCpu) / 1e9},
        {double(painted - started) / 1e9, double(paintedCpu) / 1e9}, peak};
}

}  // namespace quendral::bench

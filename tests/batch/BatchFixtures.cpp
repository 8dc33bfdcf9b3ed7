#include "BatchFixtures.h"

#include "AnswerKey.h"
#include "Blocks.h"
#include "Catalogue.h"
#include "Section.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace quendral::batch::test {

std::string recordBytes(const AnswerRecord& record, std::size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(record.bytes.data()), record.bytes.size());
    bytes.resize(size, '\0');
    return bytes;
}

TemporaryFolder::TemporaryFolder()
{
    std::string pattern = std::filesystem::temp_directory_path() / "quendral-batch-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void writeFile(const std::string& path, std::string_view bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exists(const std::string& path)
{
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

ProgramRun runProgram(
    const std::vector<std::string>& arguments, const std::string& workDir, RunLimits limits)
{
    std::vector<std::string> command{QUENDRAL_BATCH_EXE};
    command.insert(command.end(), arguments.begin(), arguments.end());
    return runCommand(command, workDir, limits);
}

ProgramRun runCommand(const std::vector<std::string>& command, const std::string& workDir,
    RunLimits limits, const std::vector<std::string>& environment)
{
    std::vector<char*> argv;
    std::vector<std::string> copies = command;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child == 0) {
        for (int sig : {SIGPIPE, SIGXFSZ})
            std::signal(sig, SIG_DFL);
        if (limits.fileSizeLimit >= 0) {
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = static_cast<rlim_t>(limits.fileSizeLimit);
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        for (const std::string& change : environment) {
            const std::size_t equals = change.find('=');
            if (equals == std::string::npos)
                ::unsetenv(change.c_str());
            else
                ::setenv(change.substr(0, equals).c_str(), change.c_str() + equals + 1, 1);
        }
        if (::dup2(out[1], 1) < 0 || ::dup2(err[1], 2) < 0 || ::chdir(workDir.c_str()) != 0)
            ::_exit(126);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    ProgramRun run;
    if (child < 0) {
        ::close(out[0]);
        ::close(err[0]);
        return run;
    }

    const auto deadline
        = std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.timeoutMs);
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    int open = 2;
    while (open > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            run.timedOut = true;
            ::kill(child, SIGKILL);
            break;
        }
        if (::poll(fds, 2, static_cast<int>(left.count())) < 0 && errno != EINTR)
            break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[65536];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    for (const pollfd& fd : fds) {
        if (fd.fd >= 0)
            ::close(fd.fd);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child)
        return run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return run;
}

bool expectedTicked(int block, int n)
{
    return expectedAt(static_cast<std::size_t>(reviewCatalogue(block).box(n).byte))
        == Expected::Ticked;
}

std::string itemRowStart(int block, int n)
{
    const ReviewCatalogue& catalogue = reviewCatalogue(block);
    const CatalogueRow& box = catalogue.box(n);
    const bool ticked = expectedTicked(block, n);
    std::string optionText = box.caption;
    if (optionText.find('"') != std::string::npos) {
        std::string quoted = "\"";
        for (char c : optionText)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        optionText = quoted + "\"";
    }
    const int question = (n + 3) / 4;
    return std::to_string(block) + ";" + std::to_string(question) + ";" + box.option + ";"
        + CollapseDoubleSpaces(catalogue.label(question).caption) + ";" + optionText + ";"
        + (ticked ? "angekreuzt" : "nicht angekreuzt");
}

std::vector<std::string> crlfLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string_view::npos;
         end = text.find("\r\n", start)) {
        lines.emplace_back(text.substr(start, end - start));
        start = end + 2;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

}  // namespace quendral::batch::test

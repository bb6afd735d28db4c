#include "process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

namespace lumvrex::testing {
namespace {

// Only async-signal-safe calls between fork and exec.
[[noreturn]] void startChild(const std::filesystem::path &program, char *const *argv,
                             const ProgramOptions &options, int in, int out, int err)
{
    ::dup2(in, 0);
    if (options.outputFile) {
        const int file = ::open(options.outputFile->c_str(), O_WRONLY | O_CLOEXEC);
        ::dup2(file, 1);
    } else {
        ::dup2(out, 1);
    }
    ::dup2(err, 2);
    if (options.closedInput)
        ::close(0);
    if (options.closedOutput)
        ::close(1);
    if (options.as == ProgramOptions::As::Nobody && ::geteuid() == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(99);
    }
    if (options.addressSpaceLimit) {
        rlimit limit = {};
        limit.rlim_cur = limit.rlim_max = *options.addressSpaceLimit;
        ::setrlimit(RLIMIT_AS, &limit);
    }
    if (options.as == ProgramOptions::As::SmallFileLimit) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = {};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = rlim_t(64) * 1024;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ::execv(program.c_str(), argv);
    ::_exit(127);
}

} // namespace

ProgramRun runProgram(const std::filesystem::path &program, const std::vector<std::string> &arguments,
                      const ProgramOptions &options)
{
    std::vector<std::string> argumentText{program.string()};
    argumentText.insert(argumentText.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    argv.reserve(argumentText.size() + 1);
    for (std::string &argument : argumentText)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "pipe: " << std::strerror(errno);
        return {};
    }
    // The child inherits the environment; setting it here and restoring it
    // after the fork keeps the child's side free of allocation.
    std::vector<std::pair<std::string, std::optional<std::string>>> saved;
    std::vector<std::string> settings{"LC_ALL=C"};
    settings.insert(settings.end(), options.environment.begin(), options.environment.end());
    for (const std::string &setting : settings) {
        const std::string name = setting.substr(0, setting.find('='));
        const char *old = std::getenv(name.c_str());
        saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        ::setenv(name.c_str(), setting.substr(name.size() + 1).c_str(), 1);
    }
    const pid_t child = ::fork();
    if (child == 0)
        startChild(program, argv.data(), options, in[0], out[1], err[1]);
    for (const auto &[name, value] : saved) {
        if (value)
            ::setenv(name.c_str(), value->c_str(), 1);
        else
            ::unsetenv(name.c_str());
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);

    // Feed the input and gather both outputs at once, so that no pipe fills.
    ProgramRun run;
    std::string_view input = options.input;
    ::signal(SIGPIPE, SIG_IGN);
    pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {in[1], POLLOUT, 0}};
    if (input.empty()) {
        ::close(in[1]);
        fds[2].fd = -1;
    }
    const auto signalAt = std::chrono::steady_clock::now() + options.signalAfter;
    bool signalled = options.signal == 0;
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        int timeout = -1;
        if (!signalled) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                signalAt - std::chrono::steady_clock::now());
            if (left.count() <= 0) {
                ::kill(child, options.signal);
                signalled = true;
            } else {
                timeout = static_cast<int>(left.count());
            }
        }
        if (::poll(fds, 3, timeout) < 0 && errno != EINTR)
            break;
        char buffer[65536];
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got <= 0) {
                ::close(fds[i].fd);
                fds[i].fd = -1;
            } else {
                (i == 0 ? run.out : run.err).append(buffer, static_cast<std::size_t>(got));
            }
        }
        if (fds[2].fd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t put = ::write(fds[2].fd, input.data(), std::min<std::size_t>(input.size(), 65536));
            if (put > 0)
                input.remove_prefix(static_cast<std::size_t>(put));
            if (put <= 0 || input.empty()) {
                ::close(fds[2].fd);
                fds[2].fd = -1;
            }
        }
    }
    if (fds[2].fd >= 0)
        ::close(fds[2].fd);
    if (!signalled)
        ::kill(child, options.signal); // it ended its output first; the signal still goes
    int status = 0;
    rusage usage = {};
    ::wait4(child, &status, 0, &usage);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.endedBySignal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.peakKilobytes = usage.ru_maxrss;
    return run;
}

ProgramRun runCli(const std::vector<std::string> &arguments, const ProgramOptions &options)
{
    return runProgram(LUMVREX_CLI, arguments, options);
}

} // namespace lumvrex::testing

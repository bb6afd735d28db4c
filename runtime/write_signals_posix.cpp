#include "runtime/write_signals_posix.h"

#include <cstring>
#include <iterator>

#include <pthread.h>
#include <unistd.h>

namespace lumvrex {
namespace {

const int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

} // namespace

QuietWriteSignals::QuietWriteSignals()
{
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &m_oldPipe);
    ::sigaction(SIGXFSZ, &ignore, &m_oldFileSize);
}

QuietWriteSignals::~QuietWriteSignals()
{
    ::sigaction(SIGPIPE, &m_oldPipe, nullptr);
    ::sigaction(SIGXFSZ, &m_oldFileSize, nullptr);
}

HeldStopSignals::HeldStopSignals()
{
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : kStopSignals)
        sigaddset(&held, signal);
    ::pthread_sigmask(SIG_BLOCK, &held, &m_old);
}

HeldStopSignals::~HeldStopSignals()
{
    ::pthread_sigmask(SIG_SETMASK, &m_old, nullptr);
}

namespace temporary_name_cleanup {
namespace {

char g_path[4096];
volatile std::sig_atomic_t g_armed = 0;
struct sigaction g_previous[std::size(kStopSignals)];
bool g_installed[std::size(kStopSignals)];

void removeAndStop(int signal)
{
    if (g_armed)
        ::unlink(g_path);
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (kStopSignals[i] == signal)
            ::sigaction(signal, &g_previous[i], nullptr);
    }
    ::raise(signal); // delivered with the previous action once this returns
}

} // namespace

void arm(const std::string &path)
{
    if (path.size() >= sizeof g_path)
        return;
    std::memcpy(g_path, path.c_str(), path.size() + 1);
    g_armed = 1;
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        struct sigaction current = {};
        ::sigaction(kStopSignals[i], nullptr, &current);
        // An ignored signal stops nothing, so nothing needs removing.
        g_installed[i] = current.sa_handler != SIG_IGN;
        if (!g_installed[i])
            continue;
        struct sigaction cleanup = {};
        cleanup.sa_handler = removeAndStop;
        sigemptyset(&cleanup.sa_mask);
        ::sigaction(kStopSignals[i], &cleanup, &g_previous[i]);
    }
}

void disarm()
{
    g_armed = 0;
    for (std::size_t i = 0; i < std::size(kStopSignals); ++i) {
        if (g_installed[i])
            ::sigaction(kStopSignals[i], &g_previous[i], nullptr);
        g_installed[i] = false;
    }
}

} // namespace temporary_name_cleanup
} // namespace lumvrex

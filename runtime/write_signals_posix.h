#pragma once

#include <csignal>
#include <string>

namespace lumvrex {

// While a write runs, a reader that went away or a file-size limit give an
// error to report instead of ending the process (and the window with it).
class QuietWriteSignals
{
public:
    QuietWriteSignals();
    ~QuietWriteSignals();
    QuietWriteSignals(const QuietWriteSignals &) = delete;
    QuietWriteSignals &operator=(const QuietWriteSignals &) = delete;

private:
    struct sigaction m_oldPipe = {};
    struct sigaction m_oldFileSize = {};
};

// Holds back Ctrl+C and termination (SIGINT, SIGTERM, SIGHUP) for a step
// that must not be cut in two; they arrive as soon as it is over.
class HeldStopSignals
{
public:
    HeldStopSignals();
    ~HeldStopSignals();
    HeldStopSignals(const HeldStopSignals &) = delete;
    HeldStopSignals &operator=(const HeldStopSignals &) = delete;

private:
    sigset_t m_old{};
};

// A named temporary file is removed when the process is stopped by one of
// those signals while it exists. Only one exists at a time.
namespace temporary_name_cleanup {

void arm(const std::string &path);
void disarm();

} // namespace temporary_name_cleanup

} // namespace lumvrex

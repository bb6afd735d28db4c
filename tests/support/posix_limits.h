#pragma once

#include <csignal>
#include <cstdint>

namespace lumvrex::testing {

// True when the tests run as root, for whom permission bits stop nothing.
bool runningAsRoot();

// Runs a scope with the permissions of "nobody" when the test runs as root,
// so that permission bits stop writes as they stop a normal user.
class Unprivileged
{
public:
    Unprivileged();
    ~Unprivileged();
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

private:
    bool m_switched;
};

// A file-size limit for the scope; writes past it fail with EFBIG instead of
// ending the process with SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    std::uint64_t m_oldSoftLimit;
    void (*m_oldHandler)(int);
};

} // namespace lumvrex::testing

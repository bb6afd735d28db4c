#include "posix_limits.h"

#include <cstdlib>

#include <sys/resource.h>
#include <unistd.h>

namespace lumvrex::testing {

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

Unprivileged::Unprivileged()
    : m_switched(runningAsRoot())
{
    if (m_switched && (::setegid(65534) != 0 || ::seteuid(65534) != 0))
        std::abort();
}

Unprivileged::~Unprivileged()
{
    if (m_switched && (::seteuid(0) != 0 || ::setegid(0) != 0))
        std::abort();
}

FileSizeLimit::FileSizeLimit(std::uint64_t bytes)
{
    rlimit limit = {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_oldSoftLimit = limit.rlim_cur;
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        std::abort();
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit limit = {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = m_oldSoftLimit;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, m_oldHandler);
}

} // namespace lumvrex::testing

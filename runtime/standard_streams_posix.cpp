#include "runtime/standard_streams.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace lumvrex {
namespace {

bool g_closed[3] = {false, false, false};

} // namespace

void guardStandardStreams()
{
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        g_closed[fd] = true;
        // The lowest free number is fd itself.
        ::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    }
}

bool standardStreamWasClosed(int fd)
{
    return fd >= 0 && fd < 3 && g_closed[fd];
}

} // namespace lumvrex

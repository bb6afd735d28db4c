#include "runtime/standard_streams.h"

#include <windows.h>

namespace lumvrex {
namespace {

bool g_closed[3] = {false, false, false};

} // namespace

void guardStandardStreams()
{
    // Handles are not reused the way POSIX descriptors are; only note which
    // streams are missing.
    const DWORD streams[] = {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    for (int fd = 0; fd < 3; ++fd) {
        const HANDLE handle = GetStdHandle(streams[fd]);
        g_closed[fd] = handle == nullptr || handle == INVALID_HANDLE_VALUE;
    }
}

bool standardStreamWasClosed(int fd)
{
    return fd >= 0 && fd < 3 && g_closed[fd];
}

} // namespace lumvrex

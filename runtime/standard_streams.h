#pragma once

namespace lumvrex {

// Checks which of standard input, output and error are closed and, on
// POSIX systems, opens the null device in their place: otherwise a file
// opened later takes such a number, and a message meant for standard error
// could land in a script. Called once at start.
void guardStandardStreams();

// Whether standard stream fd (0, 1 or 2) was closed when
// guardStandardStreams() ran.
bool standardStreamWasClosed(int fd);

} // namespace lumvrex

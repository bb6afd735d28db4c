// The small services of the operating system: text for the console, the
// user's decimal separator, paths as text, hidden files, large pages, the
// standard streams and the system's words for its error codes.
#pragma once

#include "runtime/result.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace lumvrex {

// Writes UTF-8 text to standard output or standard error. A Windows console
// shows the characters it holds whatever its code page.
void printToStandardOutput(std::string_view text);
void printToStandardError(std::string_view text);

// The decimal separator of the user's own settings, as UTF-8: "," for a
// Spanish user, "." for an English one. On POSIX systems it comes from the
// environment's LC_NUMERIC (LC_ALL, LC_NUMERIC, LANG); on Windows from the
// user's regional settings.
std::string userDecimalSeparator();

// Paths cross into and out of the core as UTF-8. On Windows the conversion
// goes to and from UTF-16 directly, never through the ANSI code page; on
// POSIX systems a path is its bytes.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path &path);

// Whether file managers hide a file or folder by default: a name starting
// with '.', and on Windows the hidden or system attribute (desktop.ini,
// Thumbs.db).
bool hiddenFile(const std::filesystem::path &path);

// Asks for the memory from start on to be backed by large pages where the
// system has them (Linux's transparent huge pages), before it is first
// written: megabytes then cost a few page faults instead of thousands. Only
// a hint.
void adviseLargePages(void *start, std::size_t size);

// Checks which of standard input, output and error are closed and, on
// POSIX systems, keeps their numbers taken by a descriptor that can be
// neither read nor written: otherwise a file opened later takes such a
// number, and a message meant for standard error could land in a script.
// Called once at start.
void guardStandardStreams();

// Whether standard stream fd (0, 1 or 2) was closed when
// guardStandardStreams() ran.
bool standardStreamWasClosed(int fd);

// The operating system's own words for a code: errno's on POSIX systems,
// FormatMessage's for a Windows code. UTF-8, without a final period.
std::string systemErrorText(SystemCode code);

// An Error whose message is the system's words for its code.
inline Error systemError(Error::Kind kind, SystemCode code)
{
    return {kind, systemErrorText(code), code};
}

#ifdef _WIN32
// The same, in the given language (a LANGID) where Windows has the text in
// it, else in the user's or any other language it has.
std::string systemErrorText(SystemCode code, unsigned short language);

// UTF-8 and the UTF-16 of Windows' wide functions. A lone surrogate, which
// Windows allows in names, becomes U+FFFD.
std::string utf8FromWide(std::wstring_view wide);
std::wstring wideFromUtf8(std::string_view utf8);
#endif

} // namespace lumvrex

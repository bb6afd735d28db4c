#include "runtime/system.h"

#include <cerrno>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <system_error>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace lumvrex {
namespace {

bool g_closed[3] = {false, false, false};

void print(std::FILE *stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

} // namespace

void printToStandardOutput(std::string_view text)
{
    print(stdout, text);
}

void printToStandardError(std::string_view text)
{
    print(stderr, text);
}

std::string userDecimalSeparator()
{
    // setlocale changes the whole process; the numeric locale is put back so
    // that nothing else (number parsing among it) sees the user's settings.
    const char *current = std::setlocale(LC_NUMERIC, nullptr);
    const std::string previous = current ? current : "C";
    std::string separator = ".";
    if (std::setlocale(LC_NUMERIC, "")) {
        if (const std::lconv *conventions = std::localeconv(); conventions && conventions->decimal_point)
            separator = conventions->decimal_point;
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
    return separator;
}

std::filesystem::path pathFromUtf8(std::string_view utf8)
{
    return {std::string(utf8)};
}

std::string utf8FromPath(const std::filesystem::path &path)
{
    return path.native();
}

bool hiddenFile(const std::filesystem::path &path)
{
    return path.filename().native().starts_with('.');
}

void adviseLargePages([[maybe_unused]] void *start, [[maybe_unused]] std::size_t size)
{
#if defined(MADV_HUGEPAGE)
    // Less than a large page gains nothing.
    if (size < (std::size_t(2) << 20))
        return;
    const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    // From the first whole page on: madvise() takes no other start.
    const auto from = (reinterpret_cast<std::uintptr_t>(start) + pageSize - 1) / pageSize * pageSize;
    ::madvise(reinterpret_cast<void *>(from), reinterpret_cast<std::uintptr_t>(start) + size - from,
              MADV_HUGEPAGE);
#endif
}

void guardStandardStreams()
{
    for (int fd = 0; fd < 3; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        g_closed[fd] = true;
        // The lowest free number is fd itself. The root folder, opened to
        // read, refuses every read and write, as the closed stream did.
        ::open("/", O_RDONLY | O_DIRECTORY);
    }
}

bool standardStreamWasClosed(int fd)
{
    return fd >= 0 && fd < 3 && g_closed[fd];
}

std::string systemErrorText(SystemCode code)
{
    return std::generic_category().message(code.errnoValue().value_or(0));
}

} // namespace lumvrex

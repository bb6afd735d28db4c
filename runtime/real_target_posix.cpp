#include "runtime/real_target_posix.h"

#include "runtime/descriptor_posix.h"
#include "runtime/system_error_text.h"

#include <algorithm>
#include <filesystem>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace lumvrex {

namespace fs = std::filesystem;

std::optional<int> ownDescriptorNamed(const std::string &name)
{
    if (name == "/dev/stdout")
        return 1;
    if (name == "/dev/stderr")
        return 2;
    const std::string pidPrefix = "/proc/" + std::to_string(::getpid()) + "/fd/";
    for (const std::string &prefix : {std::string("/dev/fd/"), std::string("/proc/self/fd/"), pidPrefix}) {
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string number = name.substr(prefix.size());
        if (number.size() > 9
            || !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        return std::stoi(number);
    }
    return std::nullopt;
}

Result<std::string> followLinks(const std::string &name)
{
    constexpr int kMaxLinkHops = 40;
    std::string final = name;
    for (int hops = 0;; ++hops) {
        struct stat info = {};
        if (::lstat(final.c_str(), &info) != 0) {
            if (errno == ENOENT)
                return final;
            return systemError(Error::Kind::WriteFailed, lastErrno());
        }
        if (!S_ISLNK(info.st_mode))
            return final;
        if (hops == kMaxLinkHops)
            return systemError(Error::Kind::WriteFailed, SystemCode::fromErrno(ELOOP));
        std::vector<char> target(static_cast<std::size_t>(std::max<off_t>(info.st_size, 255)) + 1);
        const ssize_t length = ::readlink(final.c_str(), target.data(), target.size());
        if (length < 0)
            return systemError(Error::Kind::WriteFailed, lastErrno());
        const fs::path link(std::string(target.data(), static_cast<std::size_t>(length)));
        final = link.is_absolute() ? link.native() : (fs::path(final).parent_path() / link).native();
    }
}

} // namespace lumvrex

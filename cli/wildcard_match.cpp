#include "cli/wildcard_match.h"

namespace lumvrex {
namespace {

bool matchesFrom(std::u32string_view pattern, std::u32string_view name)
{
    // The last * seen and where the name stood then: on a mismatch, that *
    // takes one more character and matching goes on from there.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::u32string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            star = p++;
            starName = n;
        } else if (star != std::u32string_view::npos) {
            p = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool holdsWildcard(std::string_view path)
{
    // The "?" of a "\\?\" prefix is no wildcard.
    return path.find_first_of("*?", path.starts_with(R"(\\?\)") ? 4 : 0) != std::string_view::npos;
}

std::size_t lastPartAt(std::string_view path)
{
    const std::size_t separator = path.find_last_of("\\/");
    if (separator != std::string_view::npos)
        return separator + 1;
    const bool drive = path.size() >= 2 && path[1] == ':'
        && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive ? 2 : 0;
}

bool wildcardMatches(std::u32string_view pattern, std::u32string_view name)
{
    if (matchesFrom(pattern, name))
        return true;
    return pattern.ends_with(U".*") && name.find(U'.') == std::u32string_view::npos
        && matchesFrom(pattern.substr(0, pattern.size() - 2), name);
}

} // namespace lumvrex

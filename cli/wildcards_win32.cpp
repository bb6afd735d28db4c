#include "cli/wildcards.h"

#include "cli/wildcard_match.h"
#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "publication/page_order.h"
#include "runtime/system.h"
#include "runtime/utf8.h"

#include <string>
#include <vector>

#include <windows.h>

namespace lumvrex {
namespace {

// The same text in capitals, as Windows compares names: case never decides.
std::u32string capitals(std::wstring_view text)
{
    std::wstring upper(text.size(), L'\0');
    if (!upper.empty())
        LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, text.data(), static_cast<int>(text.size()),
                     upper.data(), static_cast<int>(upper.size()));
    return nameCodePoints(utf8FromWide(upper));
}

bool leftOut(const WIN32_FIND_DATAW &found)
{
    const std::wstring_view name = found.cFileName;
    return name == L"." || name == L".."
        || (found.dwFileAttributes
            & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}

// The names in the pattern's folder that its last part matches.
Result<std::vector<std::string>> matchingNames(std::string_view pattern)
{
    const std::wstring wide = wideFromUtf8(pattern);
    const std::u32string lastPart =
        capitals(std::wstring_view(wideFromUtf8(pattern.substr(lastPartAt(pattern)))));
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(wide.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return names;
        return badInput(
            formatMessage(localized("usage error", "cannot look for the files \"%1$s\" matches: %2$s"),
                          {utf8::printable(pattern), systemErrorText(SystemCode::fromWindows(error))}),
            SystemCode::fromWindows(error));
    }
    do {
        // FindFirstFileW also matches short 8.3 names ("*.jpg" takes
        // "a.jpg_old" through "A~1.JPG"): the whole name must match.
        if (!leftOut(found) && wildcardMatches(lastPart, capitals(found.cFileName)))
            names.push_back(utf8FromWide(found.cFileName));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

} // namespace

Result<PageList> expandWildcards(const PageList &pictures)
{
    PageList expanded;
    for (const std::string_view picture : pictures) {
        if (!holdsWildcard(picture)) {
            expanded.append(picture);
            continue;
        }
        const std::string_view folder = picture.substr(0, lastPartAt(picture));
        if (holdsWildcard(folder))
            return badInput(formatMessage(
                localized("usage error", "only the last part of a path may hold * or ?: \"%s\""),
                {utf8::printable(picture)}));
        Result<std::vector<std::string>> names = matchingNames(picture);
        if (!names)
            return names.error();
        if (names->empty())
            return badInput(formatMessage(localized("usage error", "no file matches \"%s\""),
                                          {utf8::printable(picture)}));
        for (const std::size_t index : nameOrder(*names))
            expanded.append(std::string(folder) + (*names)[index]);
    }
    return expanded;
}

} // namespace lumvrex

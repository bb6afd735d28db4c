#pragma once

#include "publication/page_list.h"
#include "runtime/result.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lumvrex {

struct PathListLimits
{
    std::size_t maxPages;                              // pages in all; more is refused as soon as read
    std::size_t maxPathBytes = 32767;                  // a longer entry is refused as soon as it is read
    std::size_t maxTotalBytes = std::size_t(16) << 20; // keeps what a list may cost in memory bounded
};

// What ends each path in a list.
enum class ListSeparator { Line, Nul };

// Takes a list of paths piece by piece, as it arrives: one path per line (a
// final CR dropped), or NUL-separated. Empty entries are skipped, and a UTF-8
// byte order mark at the start is dropped. Memory stays bounded by the limits
// whatever the input. listName names the list in messages, which are
// BadInput Errors. Whether each path is UTF-8 that a script can hold is
// checked when the script is made, in the same pass that encodes it; the
// number of each path's line (or entry) is kept in entryNumbers for that.
class PathListParser
{
public:
    PathListParser(std::string listName, ListSeparator separator, PathListLimits limits, PageList &pages,
                   std::vector<std::size_t> *entryNumbers = nullptr);

    Status feed(std::string_view bytes);
    // The end of the list: takes a last entry that has no separator after it.
    Status finish();

private:
    Status take(std::string_view entry);
    Status tooLong() const;
    std::string where() const;

    std::string m_listName;
    char m_separator;
    PathListLimits m_limits;
    PageList &m_pages;
    std::vector<std::size_t> *m_entryNumbers;
    std::string m_pending; // the start of an entry whose end has not arrived
    std::size_t m_entry = 1;
};

// How messages name a list: the list "fotos.txt", or the list on standard
// input for "-".
std::string listNameFor(std::string_view source);

// Reads the list that source names ("-" for standard input) with a
// PathListParser, appending its paths to pages (kMaxPages in all at most)
// and the number of each one's line or entry to entryNumbers. A list that
// cannot be read is named in the Error.
Status readPathList(const std::string &source, ListSeparator separator, PageList &pages,
                    std::vector<std::size_t> &entryNumbers);

} // namespace lumvrex

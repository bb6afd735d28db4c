// Arbitrary bytes as a list of paths for --files-from, fed to the reader in
// pieces. Either it refuses the list with a message that says where and
// shows no raw control character, or it gives exactly the entries (and their
// line numbers) a plain split of the whole list gives, within the limits.
#include "cli/path_list_reader.h"
#include "runtime/utf8.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace lumvrex;

[[noreturn]] void broken(const char *what, const std::string &detail = {})
{
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

// Small limits, so that inputs reach them.
constexpr PathListLimits kLimits{50, 300, 4000};

struct Entry
{
    std::string path;
    std::size_t line;
};

std::vector<Entry> plainSplit(std::string_view list, char separator)
{
    std::vector<Entry> entries;
    if (list.starts_with("\xEF\xBB\xBF"))
        list.remove_prefix(3);
    std::size_t line = 1;
    for (std::size_t start = 0; start <= list.size(); ++line) {
        std::size_t end = list.find(separator, start);
        if (end == std::string_view::npos)
            end = list.size();
        std::string_view entry = list.substr(start, end - start);
        if (separator == '\n' && entry.ends_with('\r'))
            entry.remove_suffix(1);
        if (!entry.empty())
            entries.push_back({std::string(entry), line});
        start = end + 1;
    }
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte: the separator, and the size of the pieces.
    const bool nullSeparated = (data[0] & 1) != 0;
    const std::size_t piece = 1 + (data[0] >> 1);
    const std::string_view list(reinterpret_cast<const char *>(data + 1), size - 1);

    PageList pages{"/positional.png"};
    std::vector<std::size_t> lines;
    PathListParser parser("the list", nullSeparated ? ListSeparator::Nul : ListSeparator::Line, kLimits,
                          pages, &lines);
    Status status;
    for (std::size_t at = 0; at < list.size() && status; at += piece)
        status = parser.feed(list.substr(at, piece));
    if (status)
        status = parser.finish();

    if (!status) {
        const std::string &message = status.error().message;
        if (!message.starts_with("line ") && !message.starts_with("entry ")
            && !message.starts_with("the list"))
            broken("a refusal that says not where:", message);
        if (message.size() > 200 || utf8::printable(message) != message)
            broken("a message that is long or not printable:", message);
        return 0;
    }
    const std::vector<Entry> expected = plainSplit(list, nullSeparated ? '\0' : '\n');
    if (pages.size() != expected.size() + 1 || lines.size() != expected.size())
        broken("a different number of entries than a plain split");
    std::size_t total = 0;
    for (std::size_t i = 1; i < pages.size(); ++i) {
        const std::string_view path = pages[i];
        if (path != expected[i - 1].path || lines[i - 1] != expected[i - 1].line)
            broken("an entry differs from a plain split:", std::string(path));
        if (path.size() > kLimits.maxPathBytes)
            broken("an entry past the limits:", std::string(path));
        if (!nullSeparated && path.find('\0') != std::string_view::npos)
            broken("a NUL byte in a line");
        total += path.size();
    }
    if (pages.size() > kLimits.maxPages || total > kLimits.maxTotalBytes)
        broken("more entries or bytes than the limits allow");
    return 0;
}

#include "cli/path_list_reader.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "publication/publication_inputs.h"
#include "runtime/input_file.h"
#include "runtime/system.h"
#include "runtime/utf8.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>

namespace lumvrex {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kReadBytes = std::size_t(64) << 10;

std::string cannotReadList(const std::string &listName, std::string_view reason)
{
    return formatMessage(localized("list", "cannot read %1$s: %2$s"), {listName, reason});
}

} // namespace

PathListParser::PathListParser(std::string listName, ListSeparator separator, PathListLimits limits,
                               PageList &pages, std::vector<std::size_t> *entryNumbers)
    : m_listName(std::move(listName))
    , m_separator(separator == ListSeparator::Nul ? '\0' : '\n')
    , m_limits(limits)
    , m_pages(pages)
    , m_entryNumbers(entryNumbers)
{ }

std::string PathListParser::where() const
{
    // TRANSLATORS: the start of a message about one entry of a list of paths,
    // e.g. "line 12 of the list "fotos.txt" is longer than 32,767 bytes".
    return formatMessage(m_separator == '\n' ? localized("list", "line %1$s of %2$s")
                                             : localized("list", "entry %1$s of %2$s"),
                         {std::to_string(m_entry), m_listName});
}

Status PathListParser::tooLong() const
{
    const bool holdsNul = m_separator == '\n' && m_pending.find('\0') != std::string::npos;
    return badInput(formatMessage(
        holdsNul ? localized("list",
                             "%1$s is longer than %2$s bytes; it holds NUL bytes: if the list is "
                             "NUL-separated, use --null")
                 : localized("list", "%1$s is longer than %2$s bytes"),
        {where(), withThousands(m_limits.maxPathBytes)}));
}

Status PathListParser::feed(std::string_view bytes)
{
    // Room for a CR and a byte order mark beside the longest path.
    const std::size_t longestEntry = m_limits.maxPathBytes + 1 + kByteOrderMark.size();
    while (!bytes.empty()) {
        if (m_pending.empty() && bytes.front() == m_separator) {
            // Empty entries, which a list of NUL bytes holds by the billion.
            const std::size_t empty = std::min(bytes.find_first_not_of(m_separator), bytes.size());
            m_entry += empty;
            bytes.remove_prefix(empty);
            if (bytes.empty())
                break;
        }
        const std::size_t end = bytes.find(m_separator);
        const std::string_view piece = bytes.substr(0, end);
        if (m_pending.size() + piece.size() > longestEntry) {
            m_pending.append(piece.substr(0, longestEntry + 1 - m_pending.size()));
            return tooLong();
        }
        if (end == std::string_view::npos) {
            m_pending.append(piece);
            return {};
        }
        Status taken;
        if (m_pending.empty()) {
            taken = take(piece);
        } else {
            m_pending.append(piece);
            taken = take(m_pending);
            m_pending.clear();
        }
        if (!taken)
            return taken;
        ++m_entry;
        bytes.remove_prefix(end + 1);
    }
    return {};
}

Status PathListParser::finish()
{
    if (m_pending.empty())
        return {};
    const std::string last = std::move(m_pending);
    m_pending.clear();
    return take(last);
}

Status PathListParser::take(std::string_view entry)
{
    if (m_entry == 1 && entry.starts_with(kByteOrderMark))
        entry.remove_prefix(kByteOrderMark.size());
    if (m_separator == '\n' && entry.ends_with('\r'))
        entry.remove_suffix(1);
    if (entry.empty())
        return {};
    if (entry.size() > m_limits.maxPathBytes)
        return tooLong();
    if (m_separator == '\n' && entry.find('\0') != std::string_view::npos)
        return badInput(formatMessage(
            localized("list", "%s holds a NUL byte: if the list is NUL-separated, use --null"), {where()}));
    if (m_pages.size() == m_limits.maxPages)
        return badInput(formatMessage(localized("list", "%1$s gives more than %2$s pages"),
                                      {m_listName, withThousands(m_limits.maxPages)}));
    if (m_pages.totalBytes() + entry.size() > m_limits.maxTotalBytes)
        return badInput(formatMessage(localized("list", "%1$s holds more than %2$s MiB of paths"),
                                      {m_listName, withThousands(m_limits.maxTotalBytes >> 20)}));
    m_pages.append(entry);
    if (m_entryNumbers)
        m_entryNumbers->push_back(m_entry);
    return {};
}

std::string listNameFor(std::string_view source)
{
    if (source == "-")
        return std::string(localized("list", "the list on standard input"));
    return formatMessage(localized("list", "the list \"%s\""), {utf8::printable(source)});
}

Status readPathList(const std::string &source, ListSeparator separator, PageList &pages,
                    std::vector<std::size_t> &entryNumbers)
{
    const std::string listName = listNameFor(source);
    Result<InputFile> input =
        source == "-" ? InputFile::standardInput() : InputFile::open(pathFromUtf8(source));
    if (!input)
        return badInput(cannotReadList(listName, input.error().message), input.error().code);
    const PathListLimits limits{kMaxPages};
    PathListParser parser(listName, separator, limits, pages, &entryNumbers);
    if (const std::optional<std::uint64_t> size = input->sizeHint())
        pages.reserve(pages.size(),
                      pages.totalBytes() + std::min<std::uint64_t>(*size, limits.maxTotalBytes));
    const auto buffer = std::make_unique_for_overwrite<char[]>(kReadBytes);
    for (;;) {
        const Result<std::size_t> got = input->read(buffer.get(), kReadBytes);
        if (!got)
            return badInput(cannotReadList(listName, got.error().message));
        if (*got == 0)
            return parser.finish();
        if (Status fed = parser.feed(std::string_view(buffer.get(), *got)); !fed)
            return fed;
    }
}

} // namespace lumvrex

#include "cli/cli_main.h"

#include "cli/command_line.h"
#include "cli/natural_sort.h"
#include "cli/path_list_reader.h"
#include "cli/wildcard_match.h"
#include "cli/wildcards.h"
#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "publication/page_effect_source.h"
#include "publication/publication_script.h"
#include "publication/script_decimal_separator.h"
#include "runtime/file_writer.h"
#include "runtime/system.h"
#include "runtime/utf8.h"
#include "runtime/windows1252.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace lumvrex {
namespace {

int fail(int code, const std::string &message)
{
    printToStandardError("lumvrex-cli: " + message + "\n");
    return code;
}

int failWith(const Error &error)
{
    return fail(error.kind == Error::Kind::BadInput ? kExitBadInput : kExitWriteFailed, error.message);
}

// Where each page came from, to name it in messages: the command line, or a
// line (or NUL-separated entry) of the list.
class PageOrigins
{
public:
    explicit PageOrigins(std::size_t pictures)
        : m_pictures(pictures)
    { }

    Status readList(const std::string &source, ListSeparator separator, PageList &pages)
    {
        m_listName = listNameFor(source);
        m_nulSeparated = separator == ListSeparator::Nul;
        return readPathList(source, separator, pages, m_listEntries);
    }

    // On Windows a line of the list that holds * or ? is refused: no file
    // is named so there, and the list is no command line to expand.
    Status refuseWildcards(const PageList &pages) const
    {
        for (std::size_t index = m_pictures; kExpandsWildcards && index < pages.size(); ++index) {
            if (holdsWildcard(pages[index]))
                return badInput(formatMessage(
                    localized("page",
                              "%s: a Windows file name cannot hold * or ?, and lumvrex-cli expands "
                              "them only in PICTURE arguments"),
                    {name(index, pages[index])}));
        }
        return {};
    }

    // "Page 3 (/fotos/a.png)", or "Line 12 of the list "x" (/fotos/a.png)",
    // by the page's place as given.
    std::string name(std::size_t index, std::string_view page) const
    {
        if (index < m_pictures)
            return pageName(index, page);
        const std::string path = utf8::printable(page);
        const std::string entry = std::to_string(m_listEntries[index - m_pictures]);
        return formatMessage(m_nulSeparated ? localized("page", "Entry %1$s of %2$s (%3$s)")
                                            : localized("page", "Line %1$s of %2$s (%3$s)"),
                             {entry, m_listName, path});
    }

private:
    std::size_t m_pictures;
    std::string m_listName;
    bool m_nulSeparated = false;
    std::vector<std::size_t> m_listEntries; // of the pages after the pictures
};

// The path a page of script bytes names, as UTF-8.
std::string pathText(std::string_view scriptBytes)
{
    std::string text;
    text.reserve(scriptBytes.size());
    for (const char byte : scriptBytes)
        utf8::append(text, windows1252::codePointFor(static_cast<unsigned char>(byte)));
    return text;
}

// "page N: PATH" for each page whose file does not exist, N its page in
// the script.
std::string missingPictures(const PageList &encodedPages)
{
    std::string missing;
    for (std::size_t i = 0; i < encodedPages.size(); ++i) {
        const std::string path = pathText(encodedPages[i]);
        std::error_code error;
        if (!std::filesystem::exists(pathFromUtf8(path), error))
            missing += "\n  "
                + formatMessage(localized("check files", "page %1$s: %2$s"),
                                {std::to_string(i + 1), utf8::printable(path)});
    }
    return missing;
}

std::unique_ptr<PageEffectSource> effectSource(const CliOptions &options)
{
    if (options.seed)
        return std::make_unique<SeededEffectSource>(*options.seed);
    return std::make_unique<ClockEffectSource>();
}

} // namespace

int runCli(const std::vector<std::string> &arguments)
{
    std::variant<CliOptions, CliExit> parsed = parseCommandLine(arguments);
    if (const auto *exit = std::get_if<CliExit>(&parsed)) {
        if (exit->code == kExitWritten)
            printToStandardOutput(exit->text);
        else
            printToStandardError(exit->text);
        return exit->code;
    }
    auto &options = std::get<CliOptions>(parsed);
    PublicationInputs &inputs = options.inputs;
    Result<PageList> pictures = expandWildcards(inputs.pages);
    if (!pictures) {
        const CliExit usage = usageError(pictures.error().message);
        printToStandardError(usage.text);
        return usage.code;
    }
    inputs.pages = std::move(*pictures);

    PageOrigins origins(inputs.pages.size());
    if (options.filesFrom) {
        if (const Status read = origins.readList(
                *options.filesFrom, options.nullSeparated ? ListSeparator::Nul : ListSeparator::Line,
                inputs.pages);
            !read)
            return failWith(read.error());
        if (const Status refused = origins.refuseWildcards(inputs.pages); !refused)
            return failWith(refused.error());
    }
    Result<EncodedInputs> encoded =
        encodeInputs(std::move(inputs),
                     [&](std::size_t index, std::string_view page) { return origins.name(index, page); });
    if (!encoded)
        return failWith(encoded.error());
    if (options.naturalSort)
        sortNaturally(encoded->pages);
    if (options.checkFiles) {
        if (const std::string missing = missingPictures(encoded->pages); !missing.empty())
            return fail(kExitBadInput,
                        std::string(localized("check files", "these pictures do not exist:")) + missing);
    }
    const std::unique_ptr<PageEffectSource> effects = effectSource(options);
    const char separator = scriptDecimalSeparator(userDecimalSeparator());
    const std::string script = publicationScript(*encoded, *effects, separator);
    const Status written =
        options.output == "-" ? writeStandardOutput(script) : writeFile(pathFromUtf8(options.output), script);
    if (!written)
        return failWith(written.error());
    return kExitWritten;
}

} // namespace lumvrex

#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>

namespace lumvrex {
namespace {

const char *const kProgram = "lumvrex-cli";

const char *const kDescription = "Writes a NeoBook publication script (.pub) with one page per picture,\n"
                                 "in the order given: the PICTUREs first, then the paths of --files-from.";

const char *const kExitCodes = "Exit codes:\n"
                               "  0  the script was written\n"
                               "  1  the script could not be written (the message names the path and why)\n"
                               "  2  bad usage or bad input; nothing was written";

// CLI11 puts the description before the usage line; people look for
// "Usage:" first.
class UsageFirst final : public CLI::Formatter
{
public:
    std::string make_help(const CLI::App *app, std::string name, CLI::AppFormatMode mode) const override
    {
        if (mode == CLI::AppFormatMode::Sub)
            return make_expanded(app);
        return make_usage(app, std::move(name)) + "\n" + make_description(app) + make_positionals(app)
            + make_groups(app, mode) + "\n" + make_footer(app);
    }
};

CliExit usageError(const std::string &message)
{
    return {kExitBadInput,
            std::string(kProgram) + ": " + message + "\nTry '" + kProgram
                + " --help' for more information.\n"};
}

std::optional<std::uint32_t> parseSeed(const std::string &text)
{
    if (text.empty() || text.size() > 10
        || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const unsigned long long value = std::stoull(text);
    if (value > 0xFFFFFFFFULL)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

} // namespace

std::variant<CliOptions, CliExit> parseCommandLine(const std::vector<std::string> &arguments)
{
    CLI::App app(kDescription, kProgram);
    app.footer(kExitCodes);
    // The same options everywhere: on Windows CLI11 would otherwise take a
    // picture such as /fotos/a.png for an option.
    app.allow_windows_style_options(false);
    app.set_version_flag("-v,--version", std::string(kProgram) + " " + LUMVREX_VERSION_TEXT,
                         "Show the version and exit.");
    app.set_help_flag("-h,--help", "Show this help and exit.");
    auto formatter = std::make_shared<UsageFirst>();
    formatter->column_width(28);
    app.formatter(formatter);

    CliOptions options;
    std::string filesFrom;
    std::string seed;
    std::vector<std::string> pictures;
    app.add_option("-o,--output", options.output, "Write the script to OUTPUT; '-' is standard output.")
        ->type_name("OUTPUT")
        ->required();
    app.add_option("--title", options.inputs.title, "E-book title.")->type_name("T");
    app.add_option("--back-color", options.inputs.backColor, "Page background colour.")->type_name("C");
    app.add_option("--width", options.inputs.width, "Screen width.")->type_name("W");
    app.add_option("--height", options.inputs.height, "Screen height.")->type_name("H");
    app.add_option("--icon", options.inputs.icon, "Icon file name.")->type_name("I");
    CLI::Option *list =
        app.add_option("--files-from", filesFrom,
                       "Read more picture paths from LIST, one per line ('-' is standard input).")
            ->type_name("LIST");
    app.add_flag("--null", options.nullSeparated, "Paths in LIST are separated by NUL bytes, not lines.")
        ->needs(list);
    app.add_flag("--natural-sort", options.naturalSort, "Sort the pages so that page2 comes before page10.");
    app.add_flag("--check-files", options.checkFiles, "Write nothing if a picture does not exist.");
    app.add_option("--seed", seed,
                   "Draw the page effects from a generator seeded with N, for the same bytes on every run.")
        ->type_name("N");
    app.add_option("PICTURE", pictures, "Picture files, one page each.")->type_name("");

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp &) {
        return CliExit{kExitWritten, app.help()};
    } catch (const CLI::CallForVersion &version) {
        return CliExit{kExitWritten, std::string(version.what()) + "\n"};
    } catch (const CLI::RequiredError &) {
        return usageError("an output file is needed: -o OUTPUT");
    } catch (const CLI::ParseError &error) {
        return usageError(error.what());
    }

    if (options.output.empty())
        return usageError("the output file name is empty");
    if (!seed.empty() || app.count("--seed") > 0) {
        options.seed = parseSeed(seed);
        if (!options.seed)
            return usageError("--seed takes a whole number from 0 to 4294967295, not \"" + seed + "\"");
    }
    if (list->count() > 0)
        options.filesFrom = filesFrom;
    options.inputs.pages.reserve(pictures.size(), 0);
    for (const std::string &picture : pictures)
        options.inputs.pages.append(picture);
    return options;
}

} // namespace lumvrex

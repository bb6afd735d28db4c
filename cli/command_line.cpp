#include "cli/command_line.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>

namespace lumvrex {
namespace {

const char *const kProgram = "lumvrex-cli";

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

// Goes after the last argument: an option left without a value takes it,
// and lumvrex-cli says so itself. No user can type it (arguments hold no NUL).
constexpr std::string_view kNoValue{"\0", 1};

// "The following arguments were not expected: --b --a": named last first,
// with a "--" among them, as lumvrex-cli has always named them.
std::string unexpected(const CLI::App &app)
{
    std::vector<std::string> extras = app.remaining();
    std::reverse(extras.begin(), extras.end());
    std::string named;
    for (const std::string &extra : extras)
        named.append(named.empty() ? "" : " ").append(extra);
    return formatMessage(localizedCount("usage error", "The following argument was not expected: %s",
                                        "The following arguments were not expected: %s",
                                        app.remaining_size()),
                         {named});
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

CliExit usageError(const std::string &message)
{
    return {kExitBadInput,
            std::string(kProgram) + ": " + message + "\n"
                + formatMessage(localized("usage error", "Try '%s --help' for more information."), {kProgram})
                + "\n"};
}

std::variant<CliOptions, CliExit> parseCommandLine(const std::vector<std::string> &arguments)
{
    CLI::App app(
        std::string(localized("help",
                              "Writes a NeoBook publication script (.pub) with one page per picture,\n"
                              "in the order given: the PICTUREs first, then the paths of --files-from.")),
        kProgram);
    app.footer(
        std::string(localized("help",
                              "Exit codes:\n"
                              "  0  the script was written\n"
                              "  1  the script could not be written (the message names the path and why)\n"
                              "  2  bad usage or bad input; nothing was written")));
    // The same options everywhere: on Windows CLI11 would otherwise take a
    // picture such as /fotos/a.png for an option.
    app.allow_windows_style_options(false);
    app.option_defaults()->group(std::string(localized("help", "Options")));
    app.set_version_flag("-v,--version", std::string(kProgram) + " " + LUMVREX_VERSION_TEXT,
                         std::string(localized("help", "Show the version and exit.")));
    app.set_help_flag("-h,--help", std::string(localized("help", "Show this help and exit.")));
    auto formatter = std::make_shared<UsageFirst>();
    formatter->column_width(28);
    // TRANSLATORS: the heading of the usage line, as in "Usage: lumvrex-cli [OPTIONS] [PICTURE...]".
    formatter->label("Usage", std::string(localized("help", "Usage")));
    // TRANSLATORS: stands for the options in the usage line; capitals, as a placeholder.
    formatter->label("OPTIONS", std::string(localized("help", "OPTIONS")));
    // TRANSLATORS: the heading of the list of arguments that are not options (the pictures).
    formatter->label("Positionals", std::string(localized("help", "Positionals")));
    // TRANSLATORS: marks the one option that must be given; capitals.
    formatter->label("REQUIRED", std::string(localized("help", "REQUIRED")));
    // TRANSLATORS: "--null Needs: --files-from", an option that only goes with another.
    formatter->label("Needs", std::string(localized("help", "Needs")));
    app.formatter(formatter);

    // CLI11 takes the arguments apart and refuses only an option given twice
    // or a flag given a value that is not one; the rest is checked below, in
    // lumvrex-cli's own words.
    app.allow_extras();
    CliOptions options;
    std::string filesFrom;
    std::string seed;
    std::vector<std::string> pictures;
    CLI::Option *output =
        app.add_option("-o,--output", options.output,
                       std::string(localized("help", "Write the script to OUTPUT; '-' is standard output.")))
            ->type_name("OUTPUT");
    app.add_option("--title", options.inputs.title, std::string(localized("help", "E-book title.")))
        ->type_name("T");
    app.add_option("--back-color", options.inputs.backColor,
                   std::string(localized("help", "Page background colour.")))
        ->type_name("C");
    app.add_option("--width", options.inputs.width, std::string(localized("help", "Screen width.")))
        ->type_name("W");
    app.add_option("--height", options.inputs.height, std::string(localized("help", "Screen height.")))
        ->type_name("H");
    app.add_option("--icon", options.inputs.icon, std::string(localized("help", "Icon file name.")))
        ->type_name("I");
    CLI::Option *list =
        app.add_option(
               "--files-from", filesFrom,
               std::string(localized(
                   "help", "Read more picture paths from LIST, one per line ('-' is standard input).")))
            ->type_name("LIST");
    CLI::Option *nullFlag =
        app.add_flag("--null", options.nullSeparated,
                     std::string(localized("help", "Paths in LIST are separated by NUL bytes, not lines.")));
    app.add_flag("--natural-sort", options.naturalSort,
                 std::string(localized("help", "Sort the pages so that page2 comes before page10.")));
    app.add_flag("--check-files", options.checkFiles,
                 std::string(localized("help", "Write nothing if a picture does not exist.")));
    app.add_option(
           "--seed", seed,
           std::string(localized(
               "help",
               "Draw the page effects from a generator seeded with N, for the same bytes on every run.")))
        ->type_name("N");
    app.add_option("PICTURE", pictures, std::string(localized("help", "Picture files, one page each.")))
        ->type_name("");

    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed{std::string(kNoValue)};
    reversed.insert(reversed.end(), arguments.rbegin(), arguments.rend());
    std::optional<CliExit> stopped;
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp &) {
        // The help marks what the checks below hold the options to.
        output->required();
        nullFlag->needs(list);
        stopped = CliExit{kExitWritten, app.help()};
    } catch (const CLI::CallForVersion &version) {
        stopped = CliExit{kExitWritten, std::string(version.what()) + "\n"};
    } catch (const CLI::ParseError &error) {
        // An option given twice, or a flag given a value that is not one.
        stopped = usageError(error.what());
    }

    // In the order they have always been said: a missing value, what
    // stopped CLI11, the output, --null's list, unexpected arguments.
    for (const CLI::Option *option : app.get_options()) {
        if (!option->get_positional() && option->count() > 0 && option->results().back() == kNoValue)
            return usageError(formatMessage(localized("usage error", "%1$s: 1 required %2$s missing"),
                                            {option->get_name(), option->get_type_name()}));
    }
    if (stopped)
        return *stopped;
    if (output->count() == 0)
        return usageError(std::string(localized("usage error", "an output file is needed: -o OUTPUT")));
    if (nullFlag->count() > 0 && list->count() == 0)
        return usageError(formatMessage(localized("usage error", "%1$s requires %2$s"),
                                        {nullFlag->get_name(), list->get_name()}));
    if (app.remaining_size() > 0)
        return usageError(unexpected(app));
    if (options.output.empty())
        return usageError(std::string(localized("usage error", "the output file name is empty")));
    if (!seed.empty() || app.count("--seed") > 0) {
        options.seed = parseSeed(seed);
        if (!options.seed)
            return usageError(formatMessage(
                localized("usage error", "--seed takes a whole number from 0 to 4294967295, not \"%s\""),
                {seed}));
    }
    if (list->count() > 0)
        options.filesFrom = filesFrom;
    if (!pictures.empty() && pictures.back() == kNoValue)
        pictures.pop_back();
    options.inputs.pages.reserve(pictures.size(), 0);
    for (const std::string &picture : pictures)
        options.inputs.pages.append(picture);
    return options;
}

} // namespace lumvrex

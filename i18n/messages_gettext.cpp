// The C library's gettext: it picks the language from LANGUAGE, LC_ALL,
// LC_MESSAGES and LANG as every program on the desktop does, and reads the
// catalogue that packaging installs under share/locale.
#include "i18n/messages.h"

#include "i18n/mo_catalog.h"

#include <libintl.h>

#include <clocale>
#include <string>
#include <system_error>

namespace lumvrex {
namespace {

constexpr const char *kDomain = "lumvrex";

// In the C locale (C.UTF-8 included) every message is the English one: the
// lookups are skipped, and so is finding the catalogue.
bool g_english = true;

// Beside the program first (an unpacked or relocated install, the build
// tree), then where it was configured to be installed.
std::filesystem::path defaultFolder()
{
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        auto beside = program.parent_path().parent_path() / "share" / "locale";
        if (std::filesystem::is_directory(beside, error))
            return beside;
    }
    return LUMVREX_LOCALE_DIR;
}

} // namespace

void startMessages()
{
    // Only the messages' category: numbers keep the C library's "C" format.
    const char *locale = std::setlocale(LC_MESSAGES, "");
    const std::string_view name = locale ? locale : "C";
    if (name == "C" || name == "POSIX")
        return;
    if (name.starts_with("C.")) {
        // The C library's own messages (strerror's) would follow LANGUAGE
        // under C.UTF-8: plain C keeps the whole sentence English.
        std::setlocale(LC_MESSAGES, "C");
        return;
    }
    useMessageFolder(defaultFolder());
}

void useMessageFolder(const std::filesystem::path &folder)
{
    g_english = false;
    bindtextdomain(kDomain, folder.c_str());
    // The programs speak UTF-8 whatever the locale's own character set.
    bind_textdomain_codeset(kDomain, "UTF-8");
}

std::string_view localized(const char *context, const char *english)
{
    if (g_english)
        return english;
    const std::string key = catalogueKey(context, english);
    const char *text = dgettext(kDomain, key.c_str());
    return text == key.c_str() ? std::string_view(english) : std::string_view(text);
}

std::string_view localizedCount(const char *context, const char *one, const char *many, unsigned long n)
{
    if (g_english)
        return n == 1 ? std::string_view(one) : std::string_view(many);
    const std::string key = catalogueKey(context, one);
    const char *text = dngettext(kDomain, key.c_str(), many, n);
    return text == key.c_str() ? std::string_view(one) : std::string_view(text);
}

} // namespace lumvrex

// Windows has no gettext of its own: the Spanish catalogue is compiled into
// the program and read by MoCatalog, chosen by the user's display language.
#include "i18n/messages.h"

#include "i18n/mo_catalog.h"

#include <optional>
#include <span>

#include <windows.h>

namespace lumvrex {

// po/es.po compiled by msgfmt, as the build turned it into a byte table.
std::span<const unsigned char> embeddedSpanishCatalogue();

namespace {

std::optional<MoCatalog> g_catalogue;

} // namespace

void startMessages()
{
    // Any country's Spanish. The display language, not the regional format:
    // a Spanish reader with English number formats still reads Spanish, and
    // the other way round.
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_SPANISH)
        g_catalogue = MoCatalog::parse(embeddedSpanishCatalogue());
    else
        g_catalogue.reset();
}

// The catalogue is inside the program: there is no folder to look in.
void useMessageFolder(const std::filesystem::path &)
{ }

std::string_view localized(const char *context, const char *english)
{
    if (g_catalogue) {
        if (const auto text = g_catalogue->find(context, english))
            return *text;
    }
    return english;
}

std::string_view localizedCount(const char *context, const char *one, const char *many, unsigned long n)
{
    if (g_catalogue) {
        if (const auto text = g_catalogue->findPlural(context, one, n))
            return *text;
    }
    return n == 1 ? std::string_view(one) : std::string_view(many);
}

} // namespace lumvrex

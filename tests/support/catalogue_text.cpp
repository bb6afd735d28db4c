#include "support/catalogue_text.h"

#include "support/files.h"

namespace lumvrex::testing {

CatalogueText::CatalogueText(bool spanish, const std::string &spanishCatalogue, MissReport reportMiss)
    : m_spanish(spanish)
    , m_reportMiss(std::move(reportMiss))
{
    if (!spanish)
        return;
    const std::string bytes = readWholeFile(spanishCatalogue);
    m_bytes.assign(bytes.begin(), bytes.end());
    m_catalogue = MoCatalog::parse(m_bytes);
    if (!m_catalogue)
        m_reportMiss("the catalogue " + spanishCatalogue + " cannot be read");
}

std::string CatalogueText::text(const char *context, const char *english) const
{
    if (!m_spanish)
        return english;
    const auto found = m_catalogue ? m_catalogue->find(context, english) : std::nullopt;
    if (!found)
        m_reportMiss(std::string("not in the catalogue: ") + context + ": " + english);
    return found ? std::string(*found) : english;
}

std::string CatalogueText::count(const char *context, const char *one, const char *many,
                                 unsigned long n) const
{
    if (!m_spanish)
        return n == 1 ? one : many;
    const auto found = m_catalogue ? m_catalogue->findPlural(context, one, n) : std::nullopt;
    if (!found)
        m_reportMiss(std::string("not in the catalogue: ") + context + ": " + one);
    return found ? std::string(*found) : one;
}

std::string CatalogueText::thousands(unsigned long n) const
{
    const std::string digits = std::to_string(n);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += text("number", ",");
        grouped += digits[i];
    }
    return grouped;
}

} // namespace lumvrex::testing

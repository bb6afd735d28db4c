#pragma once

#include "i18n/mo_catalog.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lumvrex::testing {

// What a user of each language reads, for a test to compare with: the
// English original, or the Spanish of the catalogue that the build compiled
// from po/es.po, read with MoCatalog and not through the lookups under test.
// A Spanish text missing from the catalogue is reported: a test that fell
// back to English in both languages would prove nothing.
class CatalogueText
{
public:
    using MissReport = std::function<void(const std::string &message)>;
    CatalogueText(bool spanish, const std::string &spanishCatalogue, MissReport reportMiss);

    bool spanish() const { return m_spanish; }
    bool valid() const { return !m_spanish || m_catalogue.has_value(); }
    std::string text(const char *context, const char *english) const;
    std::string count(const char *context, const char *one, const char *many, unsigned long n) const;
    // n with its thousands grouped, as the language writes them.
    std::string thousands(unsigned long n) const;

private:
    bool m_spanish;
    MissReport m_reportMiss;
    std::vector<unsigned char> m_bytes;
    std::optional<MoCatalog> m_catalogue;
};

} // namespace lumvrex::testing

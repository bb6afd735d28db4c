#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lumvrex {

// A message's key in a catalogue: "context\x04id", or id alone for an empty
// context.
std::string catalogueKey(std::string_view context, std::string_view id);

// A compiled GNU gettext catalogue (.mo), read in place: the bytes must
// outlive the catalogue. Either byte order is taken; every offset is
// checked before it is used, so a damaged file is refused, never read past.
class MoCatalog
{
public:
    // Nothing for bytes that are not a whole catalogue, or for a catalogue
    // whose Plural-Forms the reader does not know: the program then speaks
    // English throughout rather than two languages with counts that may be
    // wrong.
    static std::optional<MoCatalog> parse(std::span<const unsigned char> bytes);

    // The translation of id in context (empty context: none), or nothing
    // when the catalogue has none.
    std::optional<std::string_view> find(std::string_view context, std::string_view id) const;

    // The form for n of a message with plural forms, by the catalogue's
    // Plural-Forms.
    std::optional<std::string_view> findPlural(std::string_view context, std::string_view singular,
                                               unsigned long n) const;

    // Every entry in the catalogue's order: its key ("context\x04id", the
    // singular only for plural entries; the header's is empty) and its
    // translation (plural forms separated by NULs).
    std::uint32_t size() const { return m_count; }
    std::string_view original(std::uint32_t index) const;
    std::string_view translation(std::uint32_t index) const;

private:
    MoCatalog(std::span<const unsigned char> bytes, bool swapped, std::uint32_t count,
              std::uint32_t originals, std::uint32_t translations);

    std::uint32_t word(std::uint32_t offset) const;
    std::optional<std::uint32_t> indexOf(std::string_view key) const;

    std::span<const unsigned char> m_bytes;
    bool m_swapped;
    std::uint32_t m_count;
    std::uint32_t m_originals;
    std::uint32_t m_translations;
    unsigned long (*m_pluralForm)(unsigned long n); // which of an entry's forms stands for n
};

} // namespace lumvrex

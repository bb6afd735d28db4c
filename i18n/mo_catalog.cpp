#include "i18n/mo_catalog.h"

#include <algorithm>

namespace lumvrex {
namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kMagicSwapped = 0xde120495;
constexpr std::uint32_t kHeaderSize = 28;

std::uint32_t readWord(std::span<const unsigned char> bytes, std::uint32_t offset, bool swapped)
{
    const auto b = [&](std::uint32_t i) { return static_cast<std::uint32_t>(bytes[offset + i]); };
    return swapped ? (b(0) << 24) | (b(1) << 16) | (b(2) << 8) | b(3)
                   : b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

// The value of "Name: value" in the catalogue's header entry.
std::string_view headerField(std::string_view header, std::string_view name)
{
    std::size_t at = 0;
    while (at < header.size()) {
        std::size_t end = header.find('\n', at);
        if (end == std::string_view::npos)
            end = header.size();
        const std::string_view line = header.substr(at, end - at);
        if (line.size() > name.size() && line.substr(0, name.size()) == name && line[name.size()] == ':') {
            std::string_view value = line.substr(name.size() + 1);
            value.remove_prefix(std::min(value.find_first_not_of(' '), value.size()));
            return value.substr(0, value.find_last_not_of(' ') + 1);
        }
        at = end + 1;
    }
    return {};
}

// Form 0 for one, form 1 for any other number.
unsigned long englishPluralForm(unsigned long n)
{
    return n == 1 ? 0 : 1;
}

// The plural forms of the languages Lumvrex ships, by their catalogues'
// Plural-Forms header; po/check_catalogue.sh holds every catalogue to this
// table. A catalogue without the header counts as English does.
struct PluralForms
{
    std::string_view header;
    unsigned long (*formFor)(unsigned long n);
};
constexpr PluralForms kPluralForms[] = {
    {"nplurals=2; plural=(n != 1);", englishPluralForm}, // English, Spanish
};

} // namespace

std::string catalogueKey(std::string_view context, std::string_view id)
{
    if (context.empty())
        return std::string(id);
    std::string key;
    key.reserve(context.size() + 1 + id.size());
    key.append(context).push_back('\x04');
    key.append(id);
    return key;
}

MoCatalog::MoCatalog(std::span<const unsigned char> bytes, bool swapped, std::uint32_t count,
                     std::uint32_t originals, std::uint32_t translations)
    : m_bytes(bytes)
    , m_swapped(swapped)
    , m_count(count)
    , m_originals(originals)
    , m_translations(translations)
    , m_pluralForm(englishPluralForm)
{ }

std::optional<MoCatalog> MoCatalog::parse(std::span<const unsigned char> bytes)
{
    if (bytes.size() < kHeaderSize || bytes.size() > 0xFFFFFFFFu)
        return std::nullopt;
    const std::uint32_t magic = readWord(bytes, 0, false);
    if (magic != kMagic && magic != kMagicSwapped)
        return std::nullopt;
    const bool swapped = magic == kMagicSwapped;
    if (readWord(bytes, 4, swapped) >> 16 != 0)
        return std::nullopt;
    const std::uint32_t count = readWord(bytes, 8, swapped);
    const std::uint32_t originals = readWord(bytes, 12, swapped);
    const std::uint32_t translations = readWord(bytes, 16, swapped);

    // Both tables and every string must lie inside the bytes, each string
    // followed by its NUL.
    const std::uint64_t size = bytes.size();
    const std::uint64_t tableBytes = std::uint64_t{count} * 8;
    if (originals + tableBytes > size || translations + tableBytes > size)
        return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
        for (const std::uint32_t table : {originals, translations}) {
            const std::uint64_t length = readWord(bytes, table + i * 8, swapped);
            const std::uint64_t offset = readWord(bytes, table + i * 8 + 4, swapped);
            if (offset + length >= size || bytes[offset + length] != 0)
                return std::nullopt;
        }
    }
    // Lookups halve the originals, so they must be in byte order.
    MoCatalog catalogue(bytes, swapped, count, originals, translations);
    for (std::uint32_t i = 1; i < count; ++i) {
        if (!(catalogue.original(i - 1) < catalogue.original(i)))
            return std::nullopt;
    }

    if (const auto header = catalogue.find({}, {})) {
        const std::string_view forms = headerField(*header, "Plural-Forms");
        if (!forms.empty()) {
            const auto known = std::ranges::find(kPluralForms, forms, &PluralForms::header);
            if (known == std::end(kPluralForms))
                return std::nullopt;
            catalogue.m_pluralForm = known->formFor;
        }
    }
    return catalogue;
}

std::uint32_t MoCatalog::word(std::uint32_t offset) const
{
    return readWord(m_bytes, offset, m_swapped);
}

// Plural entries hold "singular\0plural"; the key is the part before the NUL.
std::string_view MoCatalog::original(std::uint32_t index) const
{
    const std::uint32_t length = word(m_originals + index * 8);
    const std::uint32_t offset = word(m_originals + index * 8 + 4);
    const std::string_view whole(reinterpret_cast<const char *>(m_bytes.data()) + offset, length);
    return whole.substr(0, whole.find('\0'));
}

std::string_view MoCatalog::translation(std::uint32_t index) const
{
    const std::uint32_t length = word(m_translations + index * 8);
    const std::uint32_t offset = word(m_translations + index * 8 + 4);
    return {reinterpret_cast<const char *>(m_bytes.data()) + offset, length};
}

std::optional<std::uint32_t> MoCatalog::indexOf(std::string_view key) const
{
    std::uint32_t low = 0;
    std::uint32_t high = m_count;
    while (low < high) {
        const std::uint32_t middle = low + (high - low) / 2;
        const std::string_view candidate = original(middle);
        if (candidate == key)
            return middle;
        if (candidate < key)
            low = middle + 1;
        else
            high = middle;
    }
    return std::nullopt;
}

std::optional<std::string_view> MoCatalog::find(std::string_view context, std::string_view id) const
{
    const auto index = indexOf(catalogueKey(context, id));
    if (!index)
        return std::nullopt;
    const std::string_view text = translation(*index);
    // An empty translation means "not translated", as gettext takes it.
    if (text.empty() && !id.empty())
        return std::nullopt;
    return text.substr(0, text.find('\0'));
}

std::optional<std::string_view> MoCatalog::findPlural(std::string_view context, std::string_view singular,
                                                      unsigned long n) const
{
    const auto index = indexOf(catalogueKey(context, singular));
    if (!index)
        return std::nullopt;
    const unsigned long form = m_pluralForm(n);
    std::string_view forms = translation(*index);
    for (unsigned long i = 0; i < form; ++i) {
        const std::size_t end = forms.find('\0');
        if (end == std::string_view::npos)
            return std::nullopt;
        forms.remove_prefix(end + 1);
    }
    forms = forms.substr(0, forms.find('\0'));
    if (forms.empty())
        return std::nullopt;
    return forms;
}

} // namespace lumvrex

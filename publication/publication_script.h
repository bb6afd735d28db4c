#pragma once

#include "publication/page_list.h"
#include "publication/script_text.h"
#include "runtime/file_writer.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumvrex {

class PageEffectSource;

// The whole publication script: the 69 lines of the master block, then 28
// lines for each page, in Windows-1252 with CR LF line ends. Every page's
// effect is drawn when the script is made (the source reseeded before each
// page and drawn once), so its bytes are fixed from then on and can be
// written as often as needed. Holds on to the inputs, which must outlive it.
class PublicationScript final : public ByteProducer
{
public:
    PublicationScript(const EncodedInputs &inputs, PageEffectSource &effects, char decimalSeparator);

    std::uint64_t size() const override { return m_size; }
    Status writeTo(ByteSink &sink) const override;

private:
    std::string m_masterBlock;
    // A page block with this script's fields filled in, cut where each
    // page's own values go: its index, its effect and its picture. The end
    // of one page and the start of the next come as one piece.
    std::string m_firstPageStart;
    std::string m_afterIndex;
    std::string m_afterEffect;
    std::string m_betweenPages;
    std::string m_lastPageEnd;
    // A short text kept in a slot of fixed size, so that it is copied in one
    // fixed-size move.
    struct ShortText
    {
        std::array<char, 16> bytes;
        std::size_t size;
    };
    std::vector<ShortText> m_effects;
    const PageList &m_pages;
    std::uint64_t m_size = 0;
};

} // namespace lumvrex

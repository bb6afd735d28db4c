#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace lumvrex {

// Word-at-a-time scanning of text that is mostly ASCII: eight bytes at once
// where the machine is little-endian, one at a time elsewhere.

namespace ascii_run_detail {

constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
constexpr std::uint64_t kSpaces = 0x2020202020202020ULL;

inline std::size_t bytesBeforeFlag(std::uint64_t flagged)
{
    return flagged == 0 ? 8 : static_cast<std::size_t>(std::countr_zero(flagged) / 8);
}

} // namespace ascii_run_detail

// How many of the eight bytes at from are printable ASCII (0x20..0x7F) before
// the first that is not; all eight are copied to `to`.
inline std::size_t printableAsciiPrefix(const char *from, char *to)
{
    using namespace ascii_run_detail;
    std::memcpy(to, from, 8);
    if constexpr (std::endian::native == std::endian::little) {
        std::uint64_t word = 0;
        std::memcpy(&word, from, sizeof word);
        // A byte below 0x20 borrows and sets its own high bit; borrows only
        // start at such bytes, so the lowest flagged byte is a real one.
        return bytesBeforeFlag((word & kHighBits) | ((word - kSpaces) & ~word & kHighBits));
    } else {
        std::size_t run = 0;
        while (run < 8 && static_cast<unsigned char>(from[run]) >= 0x20
               && static_cast<unsigned char>(from[run]) < 0x80)
            ++run;
        return run;
    }
}

} // namespace lumvrex

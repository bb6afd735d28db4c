#pragma once

#include <cstddef>

namespace lumvrex::testing {

// Where a script's lines are: the master block's 69, then 28 for each page.
// Indices count from 0, as scriptLines() gives them.
inline constexpr std::size_t kMasterLines = 69;
inline constexpr std::size_t kPageLines = 28;

constexpr std::size_t scriptLineCount(std::size_t pages)
{
    return kMasterLines + kPageLines * pages;
}

// The index of line k (from 0) of page i's block.
constexpr std::size_t pageLine(std::size_t page, std::size_t line)
{
    return kMasterLines + kPageLines * page + line;
}

} // namespace lumvrex::testing

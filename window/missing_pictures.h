#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace lumvrex {

// Pages that name no picture: nothing exists at the path, or a folder does.
// Asked before "Create pub" asks for the script's path, so that the author
// can go back and mend the list.
struct MissingPicture
{
    std::size_t row;
    bool folder;
};

// The pages of entries (UTF-8 paths) that name no picture, in list order. A
// path the system cannot look at counts as naming nothing.
std::vector<MissingPicture> missingPictures(const std::vector<std::string> &entries);

// The question for them, in the user's language: how many in all, the
// first five by page number and file name, and whether to create the
// script anyway (answered Yes or No).
std::string missingPicturesQuestion(const std::vector<std::string> &entries,
                                    const std::vector<MissingPicture> &missing);

} // namespace lumvrex

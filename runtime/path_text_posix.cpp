#include "runtime/path_text.h"

#include "runtime/utf8.h"

namespace lumvrex {

std::filesystem::path pathFromUtf8(std::string_view utf8)
{
    return {std::string(utf8)};
}

std::string utf8FromPath(const std::filesystem::path &path)
{
    return path.native();
}

std::string displayPath(const std::filesystem::path &path)
{
    return utf8::printable(path.native());
}

} // namespace lumvrex

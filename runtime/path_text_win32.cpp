#include "runtime/path_text.h"

#include "runtime/utf8.h"
#include "runtime/windows_text.h"

namespace lumvrex {

std::filesystem::path pathFromUtf8(std::string_view utf8)
{
    return {wideFromUtf8(utf8)};
}

std::string utf8FromPath(const std::filesystem::path &path)
{
    return utf8FromWide(path.native());
}

std::string displayPath(const std::filesystem::path &path)
{
    return utf8::printable(utf8FromPath(path));
}

} // namespace lumvrex

#include "runtime/write_failure.h"

#include "runtime/path_text.h"

#include <string>

namespace lumvrex {
namespace {

std::string quoted(const std::filesystem::path &path)
{
    return '"' + displayPath(path) + '"';
}

} // namespace

Error writeFailure(const std::filesystem::path &path, std::string_view reason)
{
    return writeFailed("Could not write " + quoted(path) + ": " + std::string(reason) + ".");
}

Error folderFailure(const std::filesystem::path &path, const std::filesystem::path &folder,
                    std::string_view reason)
{
    return writeFailed("Could not create " + quoted(path) + " in the folder " + quoted(folder) + ": "
                       + std::string(reason) + ".");
}

Error partlyWritten(const std::filesystem::path &path, std::string_view reason)
{
    return writeFailed(quoted(path) + " was only partly written: " + std::string(reason)
                       + ". Its old contents are lost.");
}

Error standardOutputFailure(std::string_view reason)
{
    return writeFailed("Could not write standard output: " + std::string(reason) + ".");
}

} // namespace lumvrex

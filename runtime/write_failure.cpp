#include "runtime/write_failure.h"

#include "runtime/path_text.h"
#include "runtime/system_error_text.h"

#include <string>

namespace lumvrex {
namespace {

std::string quoted(const std::filesystem::path &path)
{
    return '"' + displayPath(path) + '"';
}

} // namespace

Error writeFailure(const std::filesystem::path &path, const Error &cause)
{
    return writeFailed("Could not write " + quoted(path) + ": " + cause.message + ".", cause.code);
}

Error writeFailure(const std::filesystem::path &path, SystemCode code)
{
    return writeFailure(path, systemError(Error::Kind::WriteFailed, code));
}

Error writeFailure(const std::filesystem::path &path, std::string_view reason)
{
    return writeFailure(path, writeFailed(std::string(reason)));
}

Error folderFailure(const std::filesystem::path &path, const std::filesystem::path &folder, SystemCode code)
{
    return writeFailed("Could not create " + quoted(path) + " in the folder " + quoted(folder) + ": "
                           + systemErrorText(code) + ".",
                       code);
}

Error partlyWritten(const std::filesystem::path &path, const Error &cause)
{
    return writeFailed(quoted(path) + " was only partly written: " + cause.message
                           + ". Its old contents are lost.",
                       cause.code);
}

Error partlyWritten(const std::filesystem::path &path, SystemCode code)
{
    return partlyWritten(path, systemError(Error::Kind::WriteFailed, code));
}

Error standardOutputFailure(const Error &cause)
{
    return writeFailed("Could not write standard output: " + cause.message + ".", cause.code);
}

Error standardOutputFailure(std::string_view reason)
{
    return standardOutputFailure(writeFailed(std::string(reason)));
}

} // namespace lumvrex

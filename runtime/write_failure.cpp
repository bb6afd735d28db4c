#include "runtime/write_failure.h"

#include "runtime/system.h"
#include "runtime/utf8.h"

#include "i18n/message_format.h"
#include "i18n/messages.h"

#include <string>

namespace lumvrex {
namespace {

// On one line, at most about 200 characters.
std::string quoted(const std::filesystem::path &path)
{
    return '"' + utf8::printable(utf8FromPath(path)) + '"';
}

} // namespace

Error writeFailure(const std::filesystem::path &path, const Error &cause)
{
    return writeFailed(
        formatMessage(localized("write", "Could not write %1$s: %2$s."), {quoted(path), cause.message}),
        cause.code);
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
    return writeFailed(formatMessage(localized("write", "Could not create %1$s in the folder %2$s: %3$s."),
                                     {quoted(path), quoted(folder), systemErrorText(code)}),
                       code);
}

Error partlyWritten(const std::filesystem::path &path, const Error &cause)
{
    return writeFailed(
        formatMessage(localized("write", "%1$s was only partly written: %2$s. Its old contents are lost."),
                      {quoted(path), cause.message}),
        cause.code);
}

Error partlyWritten(const std::filesystem::path &path, SystemCode code)
{
    return partlyWritten(path, systemError(Error::Kind::WriteFailed, code));
}

Error standardOutputFailure(const Error &cause)
{
    return writeFailed(
        formatMessage(localized("write", "Could not write standard output: %s."), {cause.message}),
        cause.code);
}

Error standardOutputFailure(std::string_view reason)
{
    return standardOutputFailure(writeFailed(std::string(reason)));
}

} // namespace lumvrex

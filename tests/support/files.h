#pragma once

#include "runtime/system.h"
#include "support/script_layout.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumvrex::testing {

std::string readWholeFile(const std::filesystem::path &path);
void writeWholeFile(const std::filesystem::path &path, std::string_view bytes);

// A new empty folder, removed with everything in it at the end of the scope.
class TemporaryFolder
{
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder &) = delete;
    TemporaryFolder &operator=(const TemporaryFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / pathFromUtf8(name); }
    // The names in the folder, sorted.
    std::vector<std::string> entries() const;

private:
    std::filesystem::path m_path;
};

// An expected script from tests/data: kept there as UTF-8 with LF line ends
// for reading, and turned here into the Latin-1 bytes and CR LF ends a script
// has (the fixtures hold no character outside Latin-1, so no code page table
// is needed to convert them).
std::string expectedScript(std::string_view name);

// Lines of a script without their CR LF. Fails the test on a bare LF, a CR
// inside a line or a missing final CR LF.
std::vector<std::string> scriptLines(std::string_view script);

// The lines that start with prefix, the prefix cut off.
std::vector<std::string> linesStartingWith(std::string_view script, std::string_view prefix);

// A test case's name as GoogleTest takes it: letters, digits and '_'.
std::string caseName(std::string_view name);

// Picture paths, one per line or NUL-separated, for --files-from.
std::string pathList(int count, char separator);

} // namespace lumvrex::testing

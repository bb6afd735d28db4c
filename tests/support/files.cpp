#include "files.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <random>
#include <sstream>

namespace lumvrex::testing {

namespace fs = std::filesystem;

std::string readWholeFile(const fs::path &path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        ADD_FAILURE() << "cannot read " << path;
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void writeWholeFile(const fs::path &path, std::string_view bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!file)
        ADD_FAILURE() << "cannot write " << path;
}

TemporaryFolder::TemporaryFolder()
{
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        m_path = fs::temp_directory_path() / ("lumvrex-test-" + std::to_string(random()));
        std::error_code error;
        if (fs::create_directory(m_path, error))
            return;
    }
    ADD_FAILURE() << "cannot make a temporary folder";
}

TemporaryFolder::~TemporaryFolder()
{
    std::error_code error;
    fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, error);
    fs::remove_all(m_path, error);
}

std::vector<std::string> TemporaryFolder::entries() const
{
    std::vector<std::string> names;
    for (const fs::directory_entry &entry : fs::directory_iterator(m_path))
        names.push_back(utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::string expectedScript(std::string_view name)
{
    const std::string utf8 = readWholeFile(fs::path(LUMVREX_TEST_DATA) / name);
    std::string script;
    for (std::size_t at = 0; at < utf8.size(); ++at) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        if (byte == '\n') {
            script += "\r\n";
        } else if (byte < 0x80) {
            script += static_cast<char>(byte);
        } else if ((byte == 0xC2 || byte == 0xC3) && at + 1 < utf8.size()) {
            // Two-byte UTF-8 for U+0080..U+00FF; U+0080..U+009F have other
            // bytes in a script and must not appear here.
            const int codePoint = ((byte & 0x1F) << 6) | (static_cast<unsigned char>(utf8[++at]) & 0x3F);
            EXPECT_GE(codePoint, 0xA0) << name;
            script += static_cast<char>(codePoint);
        } else {
            ADD_FAILURE() << name << " holds a character outside Latin-1";
        }
    }
    return script;
}

std::vector<std::string> scriptLines(std::string_view script)
{
    std::vector<std::string> lines;
    EXPECT_TRUE(script.empty() || script.ends_with("\r\n")) << "the script does not end with CR LF";
    while (!script.empty()) {
        const std::size_t end = script.find('\n');
        if (end == std::string_view::npos) {
            lines.emplace_back(script);
            break;
        }
        std::string_view line = script.substr(0, end);
        EXPECT_TRUE(line.ends_with('\r')) << "a line ends with LF alone: " << line;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        EXPECT_EQ(line.find('\r'), std::string_view::npos) << "a line holds a CR: " << line;
        lines.emplace_back(line);
        script.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string> linesStartingWith(std::string_view script, std::string_view prefix)
{
    std::vector<std::string> found;
    for (const std::string &line : scriptLines(script)) {
        if (line.starts_with(prefix))
            found.push_back(line.substr(prefix.size()));
    }
    return found;
}

std::string caseName(std::string_view name)
{
    std::string cleaned;
    for (const char c : name)
        cleaned += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return cleaned;
}

std::string pathList(int count, char separator)
{
    std::string list;
    for (int i = 0; i < count; ++i)
        list += "/pictures/p" + std::to_string(i) + ".png" + separator;
    return list;
}

} // namespace lumvrex::testing

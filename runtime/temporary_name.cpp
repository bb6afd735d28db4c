#include "runtime/temporary_name.h"

#include <iterator>
#include <random>

namespace lumvrex {

std::filesystem::path folderOf(const std::filesystem::path &file)
{
    std::filesystem::path folder = file.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

std::string temporaryName()
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device device;
    std::string name = ".lumvrex-";
    for (int i = 0; i < 8; ++i)
        name += kLetters[device() % (std::size(kLetters) - 1)];
    return name;
}

} // namespace lumvrex

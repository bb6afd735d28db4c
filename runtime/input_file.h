#pragma once

#include "runtime/result.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

namespace lumvrex {

// A file, or standard input, read from start to end in pieces. Errors carry
// the system's reason alone.
class InputFile
{
public:
    static Result<InputFile> open(const std::filesystem::path &path);
    static Result<InputFile> standardInput();

    InputFile(InputFile &&) noexcept;
    InputFile &operator=(InputFile &&) noexcept;
    ~InputFile();

    // Up to size bytes; 0 at the end.
    Result<std::size_t> read(char *buffer, std::size_t size);

    // The size of a file that has one, to make room for what will be read.
    std::optional<std::uint64_t> sizeHint() const;

private:
    struct Handle;
    explicit InputFile(std::unique_ptr<Handle> handle);
    std::unique_ptr<Handle> m_handle;
};

} // namespace lumvrex

#pragma once

#include "runtime/result.h"

#include <string>
#include <string_view>

namespace lumvrex {

// Where written bytes go: a file, standard output, memory. A write takes all
// of the bytes or fails with the system's reason as the Error's message.
class ByteSink
{
public:
    virtual ~ByteSink() = default;
    virtual Status write(std::string_view bytes) = 0;
};

class MemorySink final : public ByteSink
{
public:
    Status write(std::string_view bytes) override
    {
        this->bytes.append(bytes);
        return {};
    }
    std::string bytes;
};

} // namespace lumvrex

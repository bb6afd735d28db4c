#include "runtime/system_error_text.h"

#include <system_error>

namespace lumvrex {

std::string systemErrorText(int code)
{
    return std::generic_category().message(code);
}

} // namespace lumvrex

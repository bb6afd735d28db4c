#include "runtime/system_error_text.h"

#include <system_error>

namespace lumvrex {

std::string systemErrorText(SystemCode code)
{
    return std::generic_category().message(code.errnoValue().value_or(0));
}

} // namespace lumvrex

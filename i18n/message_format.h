#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace lumvrex {

// Fills a message's placeholders: "%s" and "%d" take the next argument,
// "%2$s" the second, "%%" is a percent sign. Arguments are text already
// (numbers are formatted by the caller), so a translation whose directives
// do not match its original can misplace words but never read memory.
// A placeholder past the last argument stays as written.
std::string formatMessage(std::string_view pattern, std::initializer_list<std::string_view> arguments);

} // namespace lumvrex

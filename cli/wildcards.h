#pragma once

#include "publication/page_list.h"
#include "runtime/result.h"

namespace lumvrex {

// Whether lumvrex-cli expands * and ? itself: on Windows, whose shells leave
// them to the program; elsewhere the shell has done it.
#if defined(_WIN32)
constexpr bool kExpandsWildcards = true;
#else
constexpr bool kExpandsWildcards = false;
#endif

// The PICTURE arguments with each one that holds * or ? in its last part
// replaced by the files it matches, in name order: hidden and system files,
// folders, "." and ".." left out, as cmd.exe's own commands leave them.
// Names that match only through their short 8.3 form do not count. A
// pattern that matches nothing, or holds a wildcard before its last part, is
// a BadInput Error naming it. Where the shell expands, the arguments as
// they are.
Result<PageList> expandWildcards(const PageList &pictures);

} // namespace lumvrex

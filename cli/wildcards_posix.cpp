#include "cli/wildcards.h"

namespace lumvrex {

Result<PageList> expandWildcards(const PageList &pictures)
{
    return pictures;
}

} // namespace lumvrex

#include "i18n/user_language.h"

#include <windows.h>

namespace lumvrex {

// The display language, not the regional format: a Spanish reader with
// English number formats still reads Spanish, and the other way round.
bool userLanguageIsSpanish()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_SPANISH;
}

} // namespace lumvrex

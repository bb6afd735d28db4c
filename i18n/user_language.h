#pragma once

namespace lumvrex {

// Whether the user reads Windows in Spanish (any country's).
bool userLanguageIsSpanish();

} // namespace lumvrex

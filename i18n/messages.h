#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lumvrex {

// Lumvrex's own texts in the user's language: Spanish where the user's
// messages language is Spanish, English otherwise. The English text is the
// key, so an untranslated message still reads. context says where a text
// appears, for translators and to tell apart the same words used twice.
//
// xgettext finds these calls by name: keep the strings literal.

// Chooses the language and finds the catalogue once, before the first
// lookup: call it at the start of main.
void startMessages();

// Tests point the lookups at a catalogue folder of their own (the layout of
// share/locale).
void useMessageFolder(const std::filesystem::path &folder);

std::string_view localized(const char *context, const char *english);

// "1 page" / "3 pages": the form for n, by the language's plural rule.
std::string_view localizedCount(const char *context, const char *one, const char *many, unsigned long n);

// A number with its thousands grouped as the language writes them: 32,767
// in English, 32.767 in Spanish.
std::string withThousands(unsigned long long number);

} // namespace lumvrex

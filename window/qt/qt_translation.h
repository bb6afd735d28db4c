#pragma once

class QCoreApplication;

namespace lumvrex {

// Qt's own texts (its message boxes' and input dialog's buttons, the open
// dialog, key names in menus) in the language that Lumvrex's messages speak,
// from the translations Qt installs (qt6-translations-l10n). Without them Qt
// stays English. Returns whether a translation was installed.
bool installQtTranslation(QCoreApplication &application);

} // namespace lumvrex

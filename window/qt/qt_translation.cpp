#include "window/qt/qt_translation.h"

#include "i18n/messages.h"
#include "window/qt/qt_text.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace lumvrex {

bool installQtTranslation(QCoreApplication &application)
{
    // Asked of our own catalogue, so that Qt follows the language our
    // messages chose and never speaks another one beside them.
    // TRANSLATORS: the code of your language as Qt names its translations
    // (qtbase_es.qm gives "es").
    const std::string_view language = localized("Qt translation", "en");
    if (language == "en")
        return false;
    auto *translator = new QTranslator(&application);
    if (!translator->load(QStringLiteral("qtbase_") + qString(language),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

} // namespace lumvrex

#include "i18n/message_format.h"
#include "i18n/messages.h"
#include "window/form1_layout.h"
#include "window/qt/display_check.h"
#include "window/qt/form1.h"
#include "window/qt/qt_text.h"
#include "window/qt/qt_translation.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <string>

int main(int argc, char *argv[])
{
    // Only the messages' category: QApplication's own setlocale later reads
    // the same environment, so the lookups stay in one language.
    lumvrex::startMessages();
    // Without a display Qt would abort with a message about reinstalling.
    if (const std::string missing = lumvrex::missingDisplay(argc, argv); !missing.empty()) {
        const std::string line = lumvrex::formatMessage(
            lumvrex::localized(
                "no display",
                "lumvrex: no display found (%s); lumvrex-cli writes the same script without one."),
            {missing});
        std::fprintf(stderr, "%s\n", line.c_str());
        return 2;
    }

    QApplication app(argc, argv);
    lumvrex::installQtTranslation(app);
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(lumvrex::qString(lumvrex::kApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(LUMVREX_VERSION_TEXT));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lumvrex.png")));

    lumvrex::Form1 window;
    window.show();
    return app.exec();
}

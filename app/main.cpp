#include "window/form1_layout.h"
#include "window/qt/display_check.h"
#include "window/qt/form1.h"
#include "window/qt/qt_text.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Without a display Qt would abort with a message about reinstalling.
    if (const std::string missing = lumvrex::missingDisplay(argc, argv); !missing.empty()) {
        std::fprintf(stderr,
                     "lumvrex: no display found (%s); lumvrex-cli writes the same script without one.\n",
                     missing.c_str());
        return 2;
    }

    QApplication app(argc, argv);
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(lumvrex::qString(lumvrex::kApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(LUMVREX_VERSION_TEXT));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lumvrex.png")));

    lumvrex::Form1 window;
    window.show();
    return app.exec();
}

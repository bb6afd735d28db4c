#include "window/form1_layout.h"
#include "window/qt/form1.h"
#include "window/qt/qt_text.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(lumvrex::qString(lumvrex::kApplicationTitle));
    QApplication::setApplicationVersion(QStringLiteral(LUMVREX_VERSION_TEXT));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lumvrex.png")));

    lumvrex::Form1 window;
    window.show();
    return app.exec();
}

#include "window/form1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // No display name: Qt would append it to every window title.
    QApplication::setApplicationName(QStringLiteral("Lumvrex"));
    QApplication::setApplicationVersion(QStringLiteral(LUMVREX_VERSION_TEXT));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/lumvrex.png")));

    Form1 window;
    window.show();
    return app.exec();
}

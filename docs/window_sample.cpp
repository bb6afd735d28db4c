// Opens the real window with a few fields typed and pictures dropped on the
// page list, for the screenshot in the README (see make_screenshot.sh).
//   window_sample [ICON.png]
#include "window/qt/form1.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDropEvent>
#include <QIcon>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lumvrex"));
    if (argc > 1)
        QApplication::setWindowIcon(QIcon(QString::fromLocal8Bit(argv[1])));

    lumvrex::Form1 form;
    const struct
    {
        const char *field;
        const char *text;
    } typed[] = {{"Text1", "Viaje a Cádiz"},
                 {"Text2", "16777215"},
                 {"Text4", "800"},
                 {"Text5", "600"},
                 {"Text6", "viaje.ico"}};
    for (const auto &entry : typed)
        form.findChild<QLineEdit *>(QLatin1String(entry.field))->setText(QString::fromUtf8(entry.text));
    form.show();

    QMimeData mime;
    QList<QUrl> urls;
    for (const char *name : {"playa en Cádiz.jpg", "Año nuevo en Málaga.jpg", "Sevilla 10.jpg",
                             "Sevilla 11.jpg", "catedral.jpg", "la caleta al atardecer.jpg", "castillo.jpg"})
        urls.append(QUrl::fromLocalFile(QStringLiteral("/home/autora/Fotos/") + QString::fromUtf8(name)));
    mime.setUrls(urls);
    QWidget *list = form.findChild<QAbstractItemView *>(QStringLiteral("List1"))->viewport();
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &drop);
    return app.exec();
}

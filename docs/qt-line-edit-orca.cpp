// The smallest program that shows two faults of Qt 6.4's line edits under
// the Orca 43 screen reader (Debian 12), for a report to Qt:
//  1. Tab from "First" to the empty "Second": Orca says only "tab". A line
//     edit reports its first caret position (-1 to 0) as
//     object:text-caret-moved before its focus events; Orca takes the focus
//     with the caret event, presents the empty text, and ignores the focus
//     event that follows for the object it already has. Calling
//     setText(QString()) once after making each line edit ("settext" as the
//     argument) avoids it; Lumvrex does so.
//  2. Tab to "Third" (text "abc", all selected by the Tab): Orca says "ab
//     selected." QAccessibleLineEdit::attributes() returns an empty range
//     (start == end == offset) for every offset, and Orca joins the ranges
//     by their ends, so the last character falls off. An AT-SPI client sees
//     it with getAttributeRun(i) for each character.
#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include <cstring>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Line edits"));
    auto *layout = new QVBoxLayout(&window);
    for (const char *name : {"First", "Second", "Third"}) {
        auto *edit = new QLineEdit;
        edit->setAccessibleName(QString::fromLatin1(name));
        if (argc > 1 && std::strcmp(argv[1], "settext") == 0)
            edit->setText(QString());
        layout->addWidget(edit);
    }
    static_cast<QLineEdit *>(layout->itemAt(2)->widget())->setText(QStringLiteral("abc"));
    window.show();
    return QApplication::exec();
}

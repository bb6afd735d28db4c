"""A small X window that starts a drag of files when pressed, as a file
manager does (text/uri-list), for dropping files on the window under test.

Usage: /usr/bin/python3 drag_source.py TITLE X Y FILE...
Places itself at X,Y and prints the outcome of each drag.
"""
import sys

from PyQt6.QtCore import QMimeData, Qt, QUrl
from PyQt6.QtGui import QDrag
from PyQt6.QtWidgets import QApplication, QLabel


class DragSource(QLabel):
    def __init__(self, title, paths):
        super().__init__("drag")
        self.paths = paths
        self.setWindowTitle(title)
        self.setAlignment(Qt.AlignmentFlag.AlignCenter)
        self.resize(120, 60)

    def mousePressEvent(self, event):
        mime = QMimeData()
        mime.setUrls([QUrl.fromLocalFile(path) for path in self.paths])
        drag = QDrag(self)
        drag.setMimeData(mime)
        outcome = drag.exec(Qt.DropAction.CopyAction)
        print("dropped:", outcome.name, flush=True)


def main():
    title, x, y, *paths = sys.argv[1:]
    app = QApplication(sys.argv[:1])
    source = DragSource(title, paths)
    source.move(int(x), int(y))
    source.show()
    return app.exec()


if __name__ == "__main__":
    sys.exit(main())

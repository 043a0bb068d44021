#pragma once
// Where the program puts its windows: wherever it asks, a window's frame
// lies wholly on the usable area of the screen it opens on.
#include <QPoint>
#include <QRect>

class QWidget;

namespace talvero {

// The frame moved the least that puts it inside the area; a frame larger
// than the area is cut to it, keeping its top left.
QRect KeepWithin(const QRect& frame, const QRect& area);

// The window's frame with its top left at the global point, then kept on the
// usable area of the screen that holds the point (the nearest screen when
// none does). The window is shrunk where it cannot fit, down to its minimum.
void PlaceWindow(QWidget& window, QPoint frameTopLeft);
// The window's frame centred on the usable area of the screen it opens on:
// its parent window's, else the primary screen.
void CentreOnScreen(QWidget& window);
// The window's frame centred over another window, kept on that one's screen.
void CentreOver(QWidget& window, const QWidget& over);

}  // namespace talvero

#pragma once
// How wide a window must be for the window manager to show its whole title.
#include <QFont>
#include <QString>

namespace talvero {

// The title in the font given (measured bold, as title bars often draw it)
// and room for the title bar's icon and buttons.
int WidthForTitle(const QString& title, const QFont& font);

}  // namespace talvero

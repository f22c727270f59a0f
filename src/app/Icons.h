// The icons of the commands: the desktop's icon theme by name, except where the common
// themes draw an icon all in grey, which on a tool bar looks like a disabled button.
#pragma once

#include <QIcon>

namespace tallyon {

// The icon called `name` in the desktop's theme, or the program's own drawing for the names
// it draws itself ("tallyon-copy").
QIcon CommandIcon(const char* name);

}  // namespace tallyon

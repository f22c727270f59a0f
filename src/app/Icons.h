// The icons of the commands: the desktop's icon theme by name, except where the common
// themes draw an icon all in grey, which on a tool bar looks like a disabled button.
#pragma once

#include <QIcon>
#include <QImage>

namespace tallyon {

// The icon called `name` in the desktop's theme, or the program's own drawing for the names
// it draws itself ("tallyon-copy").
QIcon CommandIcon(const char* name);

// The program's own icon, a document page whose lines each show an expression, the arrow and
// the answer in the document's colours, drawn at `size` pixels square.
QImage ProgramIconImage(int size);
// The program's icon in the sizes the desktop asks for.
QIcon ProgramIcon();
// The square sizes the program's icon is installed in.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

}  // namespace tallyon

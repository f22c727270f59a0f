// The main window's commands and menus as one table: each command's object name, captions
// and hints in both interface languages, shortcut and icon. The window builds its command
// list from it, and switching the interface language walks the same rows.
#pragma once

#include <span>

namespace tallyon {

struct CommandText {
    const char* name;       // object name of the action, "AtnFileOpen"
    const char* captionEn;  // "&" marks the access key
    const char* hintEn;
    const char* captionJa;
    const char* hintJa;
    const char* shortcut;  // portable key text; empty for none
    const char* icon;      // icon theme name; empty for a text button
    bool checkable;
};

struct MenuText {
    const char* name;  // object name of the menu, "File1"
    const char* captionEn;
    const char* captionJa;
};

// Every command of the main window except the insert commands, in menu order.
std::span<const CommandText> Commands();
// Every menu of the main menu bar, submenus of Insert included.
std::span<const MenuText> Menus();

// The row of the command or menu called `name`, or nullptr.
const CommandText* FindCommand(const char* name);
const MenuText* FindMenu(const char* name);

// Language 1 is English; every other value is Japanese.
inline const char* Caption(const CommandText& c, int language) {
    return language == 1 ? c.captionEn : c.captionJa;
}
inline const char* Hint(const CommandText& c, int language) {
    return language == 1 ? c.hintEn : c.hintJa;
}
inline const char* Caption(const MenuText& m, int language) {
    return language == 1 ? m.captionEn : m.captionJa;
}

}  // namespace tallyon

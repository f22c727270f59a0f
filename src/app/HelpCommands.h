// The Help menu's two addresses: the help document, which lives beside the program (or,
// once installed, in the program's data folder), and the maker's web page. Both go to the
// desktop's default application through the prompts, whatever the interface language.
#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace tallyon {

// The help document's file name.
inline constexpr char kHelpFileName[] = "Tallyon_J.html";

// The help document for the program in `programFolder`: beside the program when it is there,
// else in the installed data folder "../share/tallyon"; the path beside the program when
// neither exists, so that the desktop reports the missing file.
QString HelpDocumentPath(const QString& programFolder);
// The maker's web page.
QUrl MakerHomePage();

void OpenHelpIndex();
void OpenMakerHomePage();

}  // namespace tallyon

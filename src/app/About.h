// The About box: the program's name and icon with the company, the copyright and the file
// version read from the program file's own version table.
#pragma once

#include <QDialog>

#include "app/VersionInf.h"

class QLabel;
class QPushButton;

namespace tallyon {

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    // Reads the version information of `programFile` (the running program when empty). A
    // table without a translation is reported as an error, and the box opens with its value
    // rows empty.
    explicit TFrmAbout(QWidget* parent = nullptr, const QString& programFile = {});

    QLabel* Image1 = nullptr;
    QLabel* LblProduct = nullptr;
    QLabel* LblEdition = nullptr;
    QLabel* LblCompanyName = nullptr;
    QLabel* LblLegalCopyright = nullptr;
    QLabel* LblFileVersion = nullptr;
    QPushButton* BtnOk = nullptr;
    TVersionInf VersionInf1;

private:
    void FormCreate();
};

}  // namespace tallyon

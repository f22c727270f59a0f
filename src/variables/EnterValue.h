// The value dialog: a name and a value for Add and Edit in the variables window. A new dialog
// is made for every use; OK closes it only when both fields hold text.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tallyon {

class TFrmEnterValue : public QDialog {
    Q_OBJECT
public:
    // `language` 1 gives the English labels, every other value the Japanese ones.
    explicit TFrmEnterValue(int language, QWidget* parent = nullptr);

    QLabel* LblName = nullptr;
    QLineEdit* EditName = nullptr;
    QLabel* LblValue = nullptr;
    QLineEdit* EditValue = nullptr;
    QPushButton* BitBtn1 = nullptr;  // OK
    QPushButton* BitBtn2 = nullptr;  // Cancel

    // Sets the label texts for `language`.
    void FormCreate(int language);
    // OK: accepts the dialog when both fields are non-empty; otherwise it stays open.
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace tallyon

// The value dialog's layout, labels and OK rule.
#include "variables/EnterValue.h"

#include "settings/SettingsRecord.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tallyon {

namespace {

constexpr int kClientWidth = 274;
constexpr int kClientHeight = 81;

}  // namespace

TFrmEnterValue::TFrmEnterValue(int language, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Variable"));
    // A fixed border with the system menu only: no minimise, maximise or help buttons.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    LblName = new QLabel(this);
    EditName = new QLineEdit(this);
    LblValue = new QLabel(this);
    EditValue = new QLineEdit(this);
    LblName->setBuddy(EditName);
    LblValue->setBuddy(EditValue);
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn1->setDefault(true);

    auto* fields = new QGridLayout;
    fields->addWidget(LblName, 0, 0);
    fields->addWidget(EditName, 0, 1);
    fields->addWidget(LblValue, 1, 0);
    fields->addWidget(EditValue, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    // The design's client area, grown only when the fonts need more room.
    setMinimumSize(kClientWidth, kClientHeight);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &TFrmEnterValue::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate(language);
}

void TFrmEnterValue::FormCreate(int language) {
    const bool english = IsEnglish(language);
    LblName->setText(english ? QStringLiteral("Name:") : QStringLiteral("変数名："));
    LblValue->setText(english ? QStringLiteral("Value:") : QStringLiteral("値："));
}

void TFrmEnterValue::BitBtn1Click() {
    if (EditName->text().isEmpty() || EditValue->text().isEmpty()) return;
    accept();
}

void TFrmEnterValue::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen, not on the owner.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

}  // namespace tallyon

// The About box (see About.h).
#include "app/About.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "app/ErrorReport.h"
#include "app/Icons.h"

namespace tallyon {

namespace {

QFont arial(int pixels) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

TFrmAbout::TFrmAbout(QWidget* parent, const QString& programFile)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("FrmAbout");
    setWindowTitle(QStringLiteral("About Tallyot"));
    setFont(arial(12));

    Image1 = new QLabel(this);
    Image1->setPixmap(QPixmap::fromImage(ProgramIconImage(32)));
    Image1->setFixedSize(32, 32);
    LblProduct = new QLabel(QStringLiteral("Tallyon"), this);
    LblProduct->setFont(arial(24));
    LblProduct->setAlignment(Qt::AlignCenter);
    LblEdition = new QLabel(QStringLiteral("- Vostrel Light"), this);
    LblEdition->setFont(arial(13));
    LblEdition->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* head = new QGridLayout;
    head->addWidget(Image1, 0, 0, 2, 1, Qt::AlignLeft | Qt::AlignTop);
    head->addWidget(LblProduct, 0, 0, 1, 2);
    head->addWidget(LblEdition, 1, 1);
    head->setColumnStretch(1, 1);

    auto* rows = new QGridLayout;
    const char* captions[] = {"Created by", "Copyright(C) ", "File version"};
    QLabel** values[] = {&LblCompanyName, &LblLegalCopyright, &LblFileVersion};
    for (int i = 0; i < 3; ++i) {
        rows->addWidget(new QLabel(QString::fromLatin1(captions[i]), this), i, 0);
        *values[i] = new QLabel(this);
        rows->addWidget(*values[i], i, 1);
    }
    rows->setColumnStretch(1, 1);
    rows->setVerticalSpacing(0);

    BtnOk = new QPushButton(QStringLiteral("OK"), this);
    BtnOk->setDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(2);
    layout->addLayout(head);
    layout->addLayout(rows);
    layout->addLayout(buttons);
    setFixedSize(293, 150);

    if (programFile.isEmpty())
        VersionInf1.setUseExeName(true);
    else
        VersionInf1.setFileName(programFile);
    VersionInf1.DispCompanyName = LblCompanyName;
    VersionInf1.DispLegalCopyright = LblLegalCopyright;
    VersionInf1.DispFileVersion = LblFileVersion;
    FormCreate();

    if (QScreen* screen = parent ? parent->screen() : nullptr)
        move(screen->geometry().center() - rect().center());
}

void TFrmAbout::FormCreate() {
    Guarded([&] { VersionInf1.FillDisplays(); });
}

}  // namespace tallyon

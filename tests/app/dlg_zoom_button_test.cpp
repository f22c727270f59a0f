// The dialog zoom button on the options dialog: the three sizes with their ratios, font
// sizes, captions and pictures, the button's own Moveable and Sizeable switches, and exact
// restoration of the recorded layout after any number of cycles.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QTabWidget>
#include <QTextBlock>

#include "app/DlgZoomButton.h"
#include "app/WindowFixture.h"
#include "settings/Options.h"

namespace tallyon {
namespace {

// Every named widget of `dialog` with its geometry.
QMap<QString, QRect> Layout(const QWidget& dialog) {
    QMap<QString, QRect> layout;
    for (const QWidget* w : dialog.findChildren<QWidget*>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
            layout.insert(w->objectName(), w->geometry());
    return layout;
}

class ZoomButtonTest : public testing::Test {
protected:
    void SetUp() override { EnsureWindowApplication(); }
};

TEST_F(ZoomButtonTest, OptionsDialogCyclesThroughItsThreeSizes) {
    TFrmOptions dialog;
    TDlgZoomButton* zoom = dialog.DlgZoomButton1;
    ASSERT_EQ(zoom->State(), TDlgZoomState::dzSmall);
    const QMap<QString, QRect> normal = Layout(dialog);
    const QRect tabs = normal.value("PageControl1");
    const QRect precision = normal.value("EditPrecision");

    struct Size {
        TDlgZoomState state;
        QSize client;
        int fontSize;
        QRect zoomButton;
    };
    const Size sizes[] = {
        {TDlgZoomState::dzMedium, {448, 360}, 11, {5, 325, 25, 25}},
        {TDlgZoomState::dzLarge, {538, 432}, 13, {6, 390, 25, 25}},
        {TDlgZoomState::dzSmall, {359, 288}, 9, {4, 260, 25, 25}},
    };
    for (int cycle = 0; cycle < 2; ++cycle) {
        for (const Size& s : sizes) {
            zoom->click();
            SCOPED_TRACE(static_cast<int>(s.state));
            EXPECT_EQ(zoom->State(), s.state);
            EXPECT_EQ(dialog.size(), s.client);
            EXPECT_EQ(dialog.font().pointSize(), s.fontSize);
            // The button moves with the layout but keeps its size (not Sizeable).
            EXPECT_EQ(zoom->geometry(), s.zoomButton);
            const int r = zoom->Ratio();
            EXPECT_EQ(dialog.PageControl1->geometry(),
                      QRect(tabs.left() * r / 100, tabs.top() * r / 100, tabs.width() * r / 100,
                            tabs.height() * r / 100));
            // Controls on the pages scale within their page.
            EXPECT_EQ(dialog.EditPrecision->width(), precision.width() * r / 100);
        }
        EXPECT_EQ(Layout(dialog), normal);
    }
}

TEST_F(ZoomButtonTest, CaptionsPicturesAndTheButtonsOwnSwitches) {
    QDialog dialog;
    dialog.resize(200, 100);
    QFont font = dialog.font();
    font.setPointSize(10);
    dialog.setFont(font);
    auto* label = new QLabel("x", &dialog);
    label->setObjectName("Label1");
    label->setGeometry(20, 40, 60, 20);
    auto* zoom = new TDlgZoomButton(&dialog);
    zoom->setObjectName("Zoom");
    zoom->setGeometry(10, 70, 20, 20);
    zoom->SmallCaption = "S";
    zoom->MediumCaption = "M";
    zoom->LargeCaption = "L";
    zoom->Images = TDlgZoomButton::MagnifierImages();

    // Nothing happens before the layout is recorded.
    zoom->SetState(TDlgZoomState::dzLarge);
    EXPECT_EQ(dialog.size(), QSize(200, 100));
    EXPECT_EQ(zoom->text(), "");

    zoom->Initialise();
    EXPECT_EQ(zoom->State(), TDlgZoomState::dzSmall);
    EXPECT_EQ(zoom->text(), "S");
    EXPECT_EQ(zoom->icon().pixmap(16).toImage(), zoom->Images[0].pixmap(16).toImage());

    zoom->click();  // 150 percent by default
    EXPECT_EQ(zoom->text(), "M");
    EXPECT_EQ(zoom->icon().pixmap(16).toImage(), zoom->Images[1].pixmap(16).toImage());
    EXPECT_EQ(dialog.size(), QSize(300, 150));
    EXPECT_EQ(dialog.font().pointSize(), 15);
    EXPECT_EQ(label->geometry(), QRect(30, 60, 90, 30));
    EXPECT_EQ(zoom->geometry(), QRect(15, 105, 20, 20));

    zoom->SetSizeable(true);  // applies at once
    EXPECT_EQ(zoom->geometry(), QRect(15, 105, 30, 30));

    zoom->Moveable = false;
    zoom->click();  // 200 percent
    EXPECT_EQ(zoom->text(), "L");
    EXPECT_EQ(zoom->geometry(), QRect(15, 105, 40, 40));
    EXPECT_EQ(label->geometry(), QRect(40, 80, 120, 40));

    zoom->click();
    EXPECT_EQ(label->geometry(), QRect(20, 40, 60, 20));
    EXPECT_EQ(zoom->geometry(), QRect(15, 105, 20, 20));
    EXPECT_EQ(dialog.font().pointSize(), 10);
}

}  // namespace
}  // namespace tallyon

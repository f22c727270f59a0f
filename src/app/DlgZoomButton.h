// The dialog zoom button: a picture button that sits on a dialog and, each time it is pressed,
// cycles the whole dialog through three sizes (normal, medium, large).
//
// Initialise() records the dialog's normal layout once: its client size, its font size and
// the geometry of every control on it. Apply() then scales all of that by the ratio of the
// current state (100 percent, MediumRatio, LargeRatio), always from the record, so going back
// to the normal size restores the recorded layout exactly, however often the dialog was
// zoomed.
//
// The controls are the dialog's named widgets that are placed by absolute geometry, found by
// walking down through containers (plain widgets, group boxes, tab widgets and their pages).
// Widgets arranged by a layout of their parent (such as the pages of a tab widget) follow
// their parent by themselves, and the inner parts of a control (the scroll buttons of a tab
// bar, the line edit of a combo box) are placed by the control.
#pragma once

#include <QIcon>
#include <QList>
#include <QPointer>
#include <QPushButton>
#include <QRect>
#include <QString>
#include <vector>

namespace tallyon {

enum class TDlgZoomState { dzSmall, dzMedium, dzLarge };

class TDlgZoomButton : public QPushButton {
    Q_OBJECT
public:
    // `dialog` is both the button's parent and the window it zooms.
    explicit TDlgZoomButton(QWidget* dialog);

    TDlgZoomState State() const { return state_; }
    // Sets the state and applies its size at once.
    void SetState(TDlgZoomState state);

    int MediumRatio = 150;  // percent of the normal size in dzMedium
    int LargeRatio = 200;   // percent of the normal size in dzLarge
    QString SmallCaption, MediumCaption, LargeCaption;
    // Pictures for dzSmall, dzMedium and dzLarge (images 0, 1, 2); empty for none.
    QList<QIcon> Images;
    bool Moveable = true;  // the button moves with the layout

    bool Sizeable() const { return sizeable_; }
    // Whether the button itself is scaled; setting it applies the current size at once.
    void SetSizeable(bool sizeable);

    // Records the dialog's normal layout; the dialog calls it once, at the end of its
    // creation, when every control has its normal geometry. Shows the normal size.
    void Initialise();
    // The button's click: the next state (small, medium, large, small...), applied.
    void Press();
    // Sets the dialog to the size of the current state; nothing before Initialise().
    void Apply();

    // The ratio of the current state, in percent.
    int Ratio() const;

    // Three pictures of a magnifying glass, one mark per size, for the button's states.
    static QList<QIcon> MagnifierImages();

private:
    struct Recorded {
        QPointer<QWidget> control;
        QRect geometry;  // in the parent's coordinates, at the normal size
    };

    QWidget* dialog_;
    TDlgZoomState state_ = TDlgZoomState::dzSmall;
    bool sizeable_ = false;
    bool recorded_ = false;  // Initialise() has run
    QSize clientSize_;       // normal client size of the dialog
    int fontSize_ = 0;       // normal point size of the dialog's font
    std::vector<Recorded> controls_;
};

}  // namespace tallyon

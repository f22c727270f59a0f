// The dialog zoom button (see DlgZoomButton.h).
#include "app/DlgZoomButton.h"

#include <QGroupBox>
#include <QLayout>
#include <QPainter>
#include <QPixmap>
#include <QStackedWidget>
#include <QTabWidget>

namespace tallyon {

namespace {

// Whether `w` is a control of the dialog that keeps an absolute geometry of its own.
bool IsPlacedControl(const QWidget* w) {
    if (w->isWindow()) return false;
    const QString name = w->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) return false;
    const QWidget* parent = w->parentWidget();
    return parent && !parent->layout();
}

// Whether the children of `w` are controls of the dialog in their own right. Containers
// (plain widgets and frames, group boxes, tab widgets and their pages) hold controls; every
// other widget is one control, whose inner parts Qt places itself (the scroll buttons of a
// tab bar, the line edit of a combo box).
bool HoldsControls(const QWidget* w) {
    const QMetaObject* type = w->metaObject();
    return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject ||
           qobject_cast<const QGroupBox*>(w) || qobject_cast<const QTabWidget*>(w) ||
           qobject_cast<const QStackedWidget*>(w);
}

// Hands each control among the descendants of `container` to `add`, in creation order.
template <typename Out>
void CollectControls(const QWidget* container, Out&& add) {
    for (QObject* child : container->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow()) continue;
        if (IsPlacedControl(w)) add(w);
        if (HoldsControls(w)) CollectControls(w, add);
    }
}

int Scaled(int value, int ratio) {
    return value * ratio / 100;
}

}  // namespace

TDlgZoomButton::TDlgZoomButton(QWidget* dialog) : QPushButton(dialog), dialog_(dialog) {
    connect(this, &QAbstractButton::clicked, this, [this] { Press(); });
}

void TDlgZoomButton::SetState(TDlgZoomState state) {
    state_ = state;
    Apply();
}

void TDlgZoomButton::SetSizeable(bool sizeable) {
    sizeable_ = sizeable;
    Apply();
}

int TDlgZoomButton::Ratio() const {
    switch (state_) {
        case TDlgZoomState::dzSmall:
            return 100;
        case TDlgZoomState::dzMedium:
            return MediumRatio;
        case TDlgZoomState::dzLarge:
            return LargeRatio;
    }
    return 100;
}

void TDlgZoomButton::Initialise() {
    clientSize_ = dialog_->size();
    fontSize_ = dialog_->font().pointSize();
    controls_.clear();
    CollectControls(dialog_, [this](QWidget* w) { controls_.push_back({w, w->geometry()}); });
    recorded_ = true;
    state_ = TDlgZoomState::dzLarge;
    Press();
}

void TDlgZoomButton::Press() {
    switch (state_) {
        case TDlgZoomState::dzSmall:
            state_ = TDlgZoomState::dzMedium;
            break;
        case TDlgZoomState::dzMedium:
            state_ = TDlgZoomState::dzLarge;
            break;
        case TDlgZoomState::dzLarge:
            state_ = TDlgZoomState::dzSmall;
            break;
    }
    Apply();
}

void TDlgZoomButton::Apply() {
    if (!recorded_) return;
    const int r = Ratio();
    dialog_->setFixedSize(Scaled(clientSize_.width(), r), Scaled(clientSize_.height(), r));
    if (fontSize_ > 0) {
        QFont font = dialog_->font();
        font.setPointSize(Scaled(fontSize_, r));
        dialog_->setFont(font);
    }
    for (const Recorded& entry : controls_) {
        QWidget* control = entry.control;
        if (!control) continue;
        const QRect& g = entry.geometry;
        const bool self = control == this;
        const QPoint topLeft =
            self && !Moveable ? control->pos() : QPoint(Scaled(g.left(), r), Scaled(g.top(), r));
        const QSize size =
            self && !sizeable_ ? g.size() : QSize(Scaled(g.width(), r), Scaled(g.height(), r));
        control->setGeometry(QRect(topLeft, size));
    }
    const QString& caption = state_ == TDlgZoomState::dzSmall    ? SmallCaption
                             : state_ == TDlgZoomState::dzMedium ? MediumCaption
                                                                 : LargeCaption;
    setText(caption);
    const int image = static_cast<int>(state_);
    if (image < Images.size()) {
        setIcon(Images[image]);
        setIconSize(QSize(16, 16));
    }
}

QList<QIcon> TDlgZoomButton::MagnifierImages() {
    QList<QIcon> images;
    for (int marks = 1; marks <= 3; ++marks) {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(40, 40, 40), 1.6));
        p.setBrush(QColor(200, 225, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(QColor(40, 40, 40), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
        // One bar per size inside the glass: the more bars, the larger the dialog.
        p.setPen(QPen(QColor(0, 70, 160), 1.0));
        for (int i = 0; i < marks; ++i) {
            const double y = 6.0 + (i - (marks - 1) / 2.0) * 2.0;
            p.drawLine(QPointF(4, y), QPointF(8, y));
        }
        p.end();
        images << QIcon(pixmap);
    }
    return images;
}

}  // namespace tallyon

// The options dialog's radio group and up-down control (see OptionControls.h).
#include "settings/OptionControls.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>

namespace tallyon {

bool ReadIntegerField(const QLineEdit* field, int& value) {
    bool ok = false;
    const int read = field->text().trimmed().toInt(&ok);
    if (ok) value = read;
    return ok;
}

// ---- TRadioGroup -----------------------------------------------------------------------

namespace {

constexpr int kGroupTitleHeight = 16;  // pixels above the first item
constexpr int kItemHeight = 18;
constexpr int kItemLeft = 10;

}  // namespace

TRadioGroup::TRadioGroup(const QString& name, QWidget* parent) : QGroupBox(parent) {
    setObjectName(name);
}

void TRadioGroup::SetItems(const QStringList& texts) {
    qDeleteAll(items_);
    items_.clear();
    const int count = static_cast<int>(texts.size());
    if (count == 0) return;
    const int step = (height() - kGroupTitleHeight - 4) / count;
    for (int i = 0; i < count; ++i) {
        auto* item = new QRadioButton(texts[i], this);
        item->setObjectName(QStringLiteral("%1_%2").arg(objectName()).arg(i));
        const int top = kGroupTitleHeight + i * step + std::max(0, (step - kItemHeight) / 2);
        item->setGeometry(kItemLeft, top, width() - kItemLeft - 6, kItemHeight);
        connect(item, &QRadioButton::toggled, this, [this](bool on) {
            if (on) emit Changed();
        });
        items_ << item;
    }
}

void TRadioGroup::SetItemTexts(const QStringList& texts) {
    for (int i = 0; i < items_.size() && i < texts.size(); ++i)
        items_[i]->setText(texts[i]);
}

int TRadioGroup::ItemIndex() const {
    for (int i = 0; i < items_.size(); ++i)
        if (items_[i]->isChecked()) return i;
    return -1;
}

void TRadioGroup::SetItemIndex(int index) {
    if (items_.isEmpty()) return;
    if (index < 0) {
        // Radio buttons of one parent are exclusive; unchecking the chosen one needs the
        // exclusivity off for a moment.
        for (QRadioButton* item : items_) {
            item->setAutoExclusive(false);
            item->setChecked(false);
            item->setAutoExclusive(true);
        }
        emit Changed();
        return;
    }
    items_[std::min<int>(index, static_cast<int>(items_.size()) - 1)]->setChecked(true);
}

// ---- TUpDown ---------------------------------------------------------------------------

TUpDown::TUpDown(const QString& name, QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    setObjectName(name);
    up_->setArrowType(Qt::UpArrow);
    down_->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(up_, &QToolButton::clicked, this, [this] { Step(+1); });
    connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::SetPosition(int position) {
    position_ = std::clamp(position, Min, Max);
}

void TUpDown::SetAssociate(QLineEdit* edit) {
    if (associate_) associate_->removeEventFilter(this);
    associate_ = edit;
    if (associate_) associate_->installEventFilter(this);
}

void TUpDown::Step(int delta) {
    int typed = 0;
    if (associate_ && ReadIntegerField(associate_, typed)) SetPosition(typed);
    SetPosition(position_ + delta);
    if (associate_) associate_->setText(QString::number(position_));
}

void TUpDown::resizeEvent(QResizeEvent*) {
    const int half = height() / 2;
    up_->setGeometry(0, 0, width(), half);
    down_->setGeometry(0, half, width(), height() - half);
}

bool TUpDown::eventFilter(QObject* watched, QEvent* e) {
    if (watched == associate_ && e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? +1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

}  // namespace tallyon

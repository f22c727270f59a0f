// Two small controls of the options dialog that Qt has no exact counterpart for.
//
// TRadioGroup is a titled box of radio buttons with one item index; an index beyond the
// last item selects the last, a negative one selects none. TUpDown is a pair of arrow
// buttons that steps the integer in an associated edit field within a range, without
// wrapping around; unlike a spin box, the field itself accepts any text, so a value typed
// beyond the range is kept as typed.
#pragma once

#include <QGroupBox>
#include <QList>
#include <QStringList>

class QLineEdit;
class QRadioButton;
class QToolButton;

namespace tallyon {

// Reads `field` as a decimal integer (blanks around it allowed) into `value`; false, with
// `value` untouched, when the text is not one.
bool ReadIntegerField(const QLineEdit* field, int& value);

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    // `name` is the object name; the items are named `name` + "_" + their index.
    TRadioGroup(const QString& name, QWidget* parent);

    // Replaces the items by `texts`, one radio button each, spread evenly down the box;
    // place the box (setGeometry) first.
    void SetItems(const QStringList& texts);
    // Changes the texts of the existing items, keeping their places and the choice.
    void SetItemTexts(const QStringList& texts);
    int Count() const { return items_.size(); }
    QRadioButton* Item(int index) const { return items_.value(index); }

    // The chosen item, or -1 when none is.
    int ItemIndex() const;
    // Chooses item `index`: beyond the last chooses the last, negative chooses none.
    void SetItemIndex(int index);

signals:
    // The choice changed, by the user or by SetItemIndex.
    void Changed();

private:
    QList<QRadioButton*> items_;
};

class TUpDown : public QWidget {
    Q_OBJECT
public:
    TUpDown(const QString& name, QWidget* parent);

    int Min = 0;
    int Max = 100;
    // The position the buttons step from while the field holds no integer.
    int Position() const { return position_; }
    // Sets the position, kept within Min and Max; the field is left as it is.
    void SetPosition(int position);

    // The edit field whose integer the buttons step; its arrow keys step it too.
    void SetAssociate(QLineEdit* edit);

    // One step up (+1) or down (-1): the field's integer (or the position), clamped to the
    // range, moves by one without passing Min or Max and is written back to the field.
    void Step(int delta);

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QToolButton* up_;
    QToolButton* down_;
    QLineEdit* associate_ = nullptr;
    int position_ = 0;
};

}  // namespace tallyon

#pragma once

#include <QComboBox>

class QAbstractItemView;
class QListView;

namespace widgets {

// The branch selector: a combo box with editable text whose item list can be
// dropped down from code without taking the keyboard. While it is down the
// clerk keeps typing into the text (Hangul input included), the arrow keys
// move through the items, and a click on an item chooses it. Losing the
// focus closes it. The arrow button still opens the ordinary list. Both lists
// are as wide as their longest entry (the box keeps its own size).
class BranchCombo : public QComboBox {
    Q_OBJECT
public:
    explicit BranchCombo(QWidget* parent = nullptr);
    ~BranchCombo() override;

    void openList();
    void closeList();
    bool listIsOpen() const;

    // The item position as the clerk's text names it: the current item while
    // the text is that item's, else the first item of exactly that text
    // (letter case aside), else -1.
    int itemIndex() const;

    void showPopup() override;

signals:
    // The clerk clicked an item of the dropped-down list.
    void itemChosen(int index);
    // The arrow is about to open a list of no items (the branches could not
    // be read at start-up): a connected slot may fill them now. Not sent for
    // the press that brought the focus in: entering had its own chance.
    void wantsItems();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void placeList();
    int listWidth(const QAbstractItemView* view) const;

    QListView* m_list;
    bool m_focusedByPress = false; // the focus came with a press not yet delivered
    bool m_pressEntered = false;   // the press being handled brought the focus
};

} // namespace widgets

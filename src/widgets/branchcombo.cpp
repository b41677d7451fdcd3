#include "branchcombo.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QStyle>
#include <utility>

namespace widgets {

BranchCombo::BranchCombo(QWidget* parent) : QComboBox(parent), m_list(new QListView)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);

    // A tool-tip window is never activated, so the combo keeps the keyboard.
    m_list->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    m_list->setAttribute(Qt::WA_ShowWithoutActivating);
    m_list->setFocusPolicy(Qt::NoFocus);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setModel(model());
    m_list->setObjectName(QStringLiteral("cbKubunList"));
    connect(m_list, &QListView::clicked, this, [this](const QModelIndex& index) {
        setCurrentIndex(index.row());
        setEditText(itemText(index.row()));
        closeList();
        emit itemChosen(index.row());
    });
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (listIsOpen())
            m_list->setCurrentIndex(model()->index(index, modelColumn()));
    });
}

BranchCombo::~BranchCombo()
{
    delete m_list;
}

void BranchCombo::openList()
{
    if (count() == 0)
        return;
    m_list->setFont(font());
    placeList();
    m_list->setCurrentIndex(model()->index(currentIndex(), modelColumn()));
    m_list->show();
}

void BranchCombo::closeList()
{
    m_list->hide();
}

bool BranchCombo::listIsOpen() const
{
    return m_list->isVisible();
}

void BranchCombo::placeList()
{
    const int rows = qMin(count(), maxVisibleItems());
    const int rowHeight = qMax(m_list->sizeHintForRow(0), fontMetrics().height() + 2);
    const QRect screenArea = screen()->availableGeometry();
    const int listWide = qMin(listWidth(m_list), screenArea.width());
    m_list->setFixedSize(listWide, rows * rowHeight + 2 * m_list->frameWidth());
    // A list wider than the box still stays on the screen.
    QPoint at = mapToGlobal(QPoint(0, height()));
    at.setX(qMax(screenArea.left(), qMin(at.x(), screenArea.right() + 1 - listWide)));
    m_list->move(at);
}

int BranchCombo::listWidth(const QAbstractItemView* view) const
{
    // Branch names carry their address ("판교지점/경기도 성남시 …"): a list cut
    // to the box's width would show only the ends of them.
    int wide = view->sizeHintForColumn(modelColumn()) + 2 * view->frameWidth();
    if (count() > maxVisibleItems())
        wide += view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
    return qMax(width(), wide);
}

int BranchCombo::itemIndex() const
{
    const int current = currentIndex();
    const QString text = currentText();
    if (current >= 0 && itemText(current) == text)
        return current;
    return findText(text, Qt::MatchFixedString);
}

void BranchCombo::showPopup()
{
    closeList();
    if (count() == 0 && !m_pressEntered)
        emit wantsItems();
    view()->setMinimumWidth(listWidth(view()));
    QComboBox::showPopup();
}

void BranchCombo::focusInEvent(QFocusEvent* event)
{
    m_focusedByPress = event->reason() == Qt::MouseFocusReason;
    QComboBox::focusInEvent(event);
}

void BranchCombo::mousePressEvent(QMouseEvent* event)
{
    m_pressEntered = std::exchange(m_focusedByPress, false);
    QComboBox::mousePressEvent(event);
    m_pressEntered = false;
}

void BranchCombo::focusOutEvent(QFocusEvent* event)
{
    closeList();
    QComboBox::focusOutEvent(event);
}

void BranchCombo::keyPressEvent(QKeyEvent* event)
{
    if (listIsOpen() && (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return
                         || event->key() == Qt::Key_Enter)) {
        closeList();
        event->accept();
        return;
    }
    QComboBox::keyPressEvent(event);
}

void BranchCombo::hideEvent(QHideEvent* event)
{
    closeList();
    QComboBox::hideEvent(event);
}

} // namespace widgets

#include "dbgrid.h"

#include "core/strutil.h"
#include "store/statement.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPalette>

namespace widgets {

StatementModel::StatementModel(QObject* parent) : QAbstractTableModel(parent) {}

void StatementModel::setColumns(const QVector<GridColumn>& columns)
{
    beginResetModel();
    m_columns = columns;
    mapColumns();
    endResetModel();
}

void StatementModel::setStatement(store::SqlStatement* statement)
{
    if (m_statement)
        disconnect(m_statement, nullptr, this, nullptr);
    beginResetModel();
    m_statement = statement;
    mapColumns();
    endResetModel();
    if (!statement)
        return;
    auto reset = [this] {
        beginResetModel();
        mapColumns();
        endResetModel();
    };
    connect(statement, &store::SqlStatement::opened, this, reset);
    connect(statement, &store::SqlStatement::closed, this, reset);
    connect(statement, &store::SqlStatement::currentRowChanged, this, [this] {
        if (const int rows = rowCount(); rows > 0)
            emit headerDataChanged(Qt::Vertical, 0, rows - 1);
    });
    connect(statement, &store::SqlStatement::rowsFetched, this, [this](int from, int to) {
        // The rows are already there; tell the views about them.
        beginInsertRows({}, from, to);
        endInsertRows();
    });
}

void StatementModel::mapColumns()
{
    m_resultColumn.clear();
    for (const GridColumn& c : m_columns)
        m_resultColumn.append(m_statement && !c.field.isEmpty() ? m_statement->columnIndex(c.field) : -1);
}

int StatementModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_statement || !m_statement->isOpen())
        return 0;
    return m_statement->fetchedRows();
}

int StatementModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant StatementModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !m_statement)
        return {};
    const GridColumn& column = m_columns[index.column()];
    const int resultColumn = m_resultColumn.value(index.column(), -1);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(column.format.isEmpty() ? (Qt::AlignLeft | Qt::AlignVCenter)
                                                           : (Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole || resultColumn < 0)
        return {};
    const QVariant v = m_statement->value(index.row(), resultColumn);
    if (column.format == QLatin1String("#,##0"))
        return v.isNull() ? QString() : core::formatThousands(v.toDouble());
    const QString text = core::Str_TrimRight(v.toString());
    return column.shown ? column.shown(text) : text;
}

QVariant StatementModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        // The row indicator marks the current row.
        if (role == Qt::DisplayRole)
            return m_statement && m_statement->currentRow() == section ? QStringLiteral("▸") : QString();
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(Qt::AlignCenter);
        return {};
    }
    if (section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].title;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_columns[section].titleAlignment | Qt::AlignVCenter);
    return {};
}

bool StatementModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_statement && m_statement->canFetchMore();
}

void StatementModel::fetchMore(const QModelIndex& parent)
{
    if (!parent.isValid() && m_statement)
        m_statement->fetchMore(); // reported back through rowsFetched
}

DbGrid::DbGrid(QWidget* parent) : QTableView(parent), m_model(new StatementModel(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    // The chosen cell stays marked while another control has the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    verticalHeader()->setDefaultSectionSize(18);
    verticalHeader()->setFixedWidth(12);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        if (store::SqlStatement* s = statement(); s && s->isOpen() && s->fetchedRows() > 0)
            followStatementRow(s->currentRow());
    });
}

void DbGrid::setColumns(const QVector<GridColumn>& columns)
{
    m_model->setColumns(columns);
    applyWidths();
}

void DbGrid::applyWidths()
{
    const auto& columns = m_model->columns();
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].width <= 0)
            setColumnHidden(i, true);
        else
            setColumnWidth(i, columns[i].width);
    }
}

void DbGrid::setStatement(store::SqlStatement* statement)
{
    if (store::SqlStatement* old = this->statement())
        disconnect(old, nullptr, this, nullptr);
    m_model->setStatement(statement);
    if (statement)
        connect(statement, &store::SqlStatement::currentRowChanged, this, &DbGrid::followStatementRow);
}

void DbGrid::followStatementRow(int row)
{
    if (m_syncing || row < 0 || row >= m_model->rowCount())
        return;
    m_syncing = true;
    int column = currentIndex().isValid() ? currentIndex().column() : -1;
    if (column < 0 || isColumnHidden(column)) {
        column = 0;
        while (column < m_model->columnCount() - 1 && isColumnHidden(column))
            ++column;
    }
    setCurrentIndex(m_model->index(row, column));
    m_syncing = false;
}

void DbGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !current.isValid())
        return;
    if (store::SqlStatement* s = statement()) {
        m_syncing = true;
        s->setCurrentRow(current.row());
        m_syncing = false;
    }
}

void DbGrid::keyPressEvent(QKeyEvent* event)
{
    emit gridKeyDown(event->key(), event->modifiers());
    // Ctrl+End goes to the result's last row, not to the last row read so
    // far; the rows before it are read only when shown.
    if (event->key() == Qt::Key_End && (event->modifiers() & Qt::ControlModifier))
        if (store::SqlStatement* s = statement(); s && s->isOpen())
            s->reachLastRow();
    QTableView::keyPressEvent(event);
}

void DbGrid::keyReleaseEvent(QKeyEvent* event)
{
    QTableView::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        emit gridKeyUp(event->key(), event->modifiers());
}

void DbGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit cellClicked();
}

void DbGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit gridDoubleClicked();
}

} // namespace widgets

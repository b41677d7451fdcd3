#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QTableView>
#include <QVector>

#include "store/statement.h"

namespace widgets {

// One column of a data grid: the result column it shows ("" for none), its
// title, width in pixels, display format ("" for text, "#,##0" for amounts),
// the alignment of its title and what shapes a text for the screen (none:
// as stored).
struct GridColumn {
    QString field;
    QString title;
    int width = 64;
    QString format;
    Qt::Alignment titleAlignment = Qt::AlignCenter;
    QString (*shown)(const QString& stored) = nullptr;
};

// Shows the open result of a statement; the statement's current row is the
// grid's current row and follows clicks and cursor keys.
class StatementModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit StatementModel(QObject* parent = nullptr);
    void setColumns(const QVector<GridColumn>& columns);
    const QVector<GridColumn>& columns() const { return m_columns; }
    void setStatement(store::SqlStatement* statement);
    store::SqlStatement* statement() const { return m_statement; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    QVector<GridColumn> m_columns;
    QPointer<store::SqlStatement> m_statement;
    QVector<int> m_resultColumn; // result column index per grid column, -1 for none
    void mapColumns();
};

// The data grid of the windows. Key-down is reported before the grid moves
// (the row that was current), key-up after it (the new row), for every key.
class DbGrid : public QTableView {
    Q_OBJECT
public:
    explicit DbGrid(QWidget* parent = nullptr);
    void setColumns(const QVector<GridColumn>& columns);
    void setStatement(store::SqlStatement* statement);
    store::SqlStatement* statement() const { return m_model->statement(); }
    StatementModel* statementModel() const { return m_model; }

signals:
    void cellClicked();
    void gridKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void gridKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void gridDoubleClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void followStatementRow(int row);
    void applyWidths();

    StatementModel* m_model;
    bool m_syncing = false;
};

} // namespace widgets

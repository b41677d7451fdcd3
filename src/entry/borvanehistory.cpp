#include "borvane.h"

#include "core/errorreport.h"

#include <QDateTime>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace entry {

namespace {

QString operationWord(const QString& operation)
{
    if (operation == voucher::kTrailSave)
        return QStringLiteral("저장");
    if (operation == voucher::kTrailCorrect)
        return QStringLiteral("수정");
    if (operation == voucher::kTrailDelete)
        return QStringLiteral("삭제");
    return operation;
}

// The database's clock is kept in UTC; the clerk reads local time.
QString localTime(const QString& doneAt)
{
    QDateTime time = QDateTime::fromString(doneAt, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    if (!time.isValid())
        return doneAt;
    time.setTimeSpec(Qt::UTC);
    return time.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QDialog* historyDialog(QWidget* parent, const voucher::StoredLine& line, const QList<voucher::TrailRecord>& records)
{
    auto* dialog = new QDialog(parent);
    dialog->setObjectName(QStringLiteral("dlgLineHistory"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("전표 라인 이력 - %1 라인 %2").arg(line.serialJen, line.serialBun));
    auto* layout = new QVBoxLayout(dialog);

    auto* note = new QLabel(records.isEmpty() ? QStringLiteral("이 라인의 변경 이력이 없습니다.")
                                              : QStringLiteral("변경 이력 %1건 (읽기 전용)").arg(records.size()),
                            dialog);
    note->setObjectName(QStringLiteral("lbHistoryNote"));
    layout->addWidget(note);

    const QStringList headers = {QStringLiteral("일시"), QStringLiteral("작업"), QStringLiteral("사용자"),
                                 QStringLiteral("작업 PC"), QStringLiteral("변경 전"), QStringLiteral("변경 후")};
    auto* grid = new QTableWidget(int(records.size()), int(headers.size()), dialog);
    grid->setObjectName(QStringLiteral("grdLineHistory"));
    grid->setHorizontalHeaderLabels(headers);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->verticalHeader()->hide();
    for (int row = 0; row < records.size(); ++row) {
        const voucher::TrailRecord& r = records[row];
        const QStringList cells = {localTime(r.doneAt), operationWord(r.operation), r.doneBy, r.workstation,
                                   r.before.isEmpty() ? QStringLiteral("(없음)") : voucher::trailSummary(r.before),
                                   r.after.isEmpty() ? QStringLiteral("(없음)") : voucher::trailSummary(r.after)};
        for (int column = 0; column < cells.size(); ++column)
            grid->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    grid->resizeColumnsToContents();
    layout->addWidget(grid);

    auto* close = new QPushButton(QStringLiteral("닫기"), dialog);
    close->setObjectName(QStringLiteral("btnHistoryClose"));
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
    dialog->resize(760, 260);
    return dialog;
}

} // namespace

void TfmBorvane::connectHistoryKey()
{
    auto* key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_H), this);
    key->setObjectName(QStringLiteral("scLineHistory"));
    connect(key, &QShortcut::activated, this, [this] { showLineHistory(); });
}

void TfmBorvane::showLineHistory()
{
    // Only a line loaded from the list has a history to show.
    if (m_draft.mode != voucher::VoucherMode::Correcting || !m_draft.loadedLine)
        return;
    try {
        const voucher::StoredLine& line = m_draft.loadedLine->stored;
        QDialog* dialog = historyDialog(this, line, m_book.lineHistory(line.serialJen, line.serialBun));
        dialog->open();
    } catch (const std::exception& error) {
        core::reportError(error);
    }
}

} // namespace entry

#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QWidget;

namespace widgets {

// Keeps a syllable that the input method is still composing when the clerk
// leaves a field: the field takes the syllable as committed text before the
// focus moves on (and before the field's exit handler reads the text).
// Qt asks the platform input method to commit on a focus move; where that
// commits nothing (no input method, or one that drops its composition) the
// composition last shown in the field is committed here.
class PreeditCommitter : public QObject {
    Q_OBJECT
public:
    explicit PreeditCommitter(QObject* parent);
    void watch(QWidget* field);

    // The composition shown in a field, empty when none.
    QString preedit(QWidget* field) const { return m_preedit.value(field); }
    // Commits the field's composition now (a search button reads the field
    // without the focus leaving it).
    void commitPending(QWidget* field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<QWidget*, QString> m_preedit;
};

} // namespace widgets

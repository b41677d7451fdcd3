#pragma once

#include <QElapsedTimer>
#include <QString>

namespace admin {

// Long work told as it goes, on standard error, so that what a command prints
// on standard output (findings, counts, proofs) reaches a pipe unmixed: on a
// terminal one line rewritten in place (done, total, rate, time left),
// otherwise one plain line at each tenth. Work of a few thousand rows ends
// before anyone waits for it and is not told.
class Progress {
public:
    Progress(QString what, qint64 total, QString unit = QStringLiteral("행"));
    ~Progress(); // ends the line rewritten in place
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Cheap enough to call for every row.
    void advanceTo(qint64 done)
    {
        if (done >= m_nextLook)
            look(done);
    }

    static constexpr qint64 kToldFrom = 10000;

private:
    void look(qint64 done);
    QString line(qint64 done) const;

    QString m_what;
    QString m_unit;
    qint64 m_total;
    qint64 m_nextLook;
    int m_tenthsTold = 0;
    bool m_inPlace;
    bool m_lineOpen = false;
    qint64 m_lastDrawnMs = -1;
    QElapsedTimer m_clock;
};

} // namespace admin

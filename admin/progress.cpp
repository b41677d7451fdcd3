#include "progress.h"

#include <QLocale>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <unistd.h>

namespace admin {

namespace {

constexpr qint64 kRowsBetweenLooks = 4096; // on a terminal: the clock is read this often
constexpr qint64 kRedrawMs = 200;

QString grouped(qint64 n)
{
    static const QLocale grouping = [] {
        QLocale c = QLocale::c();
        c.setNumberOptions({}); // the C locale leaves out the thousands' commas unless told
        return c;
    }();
    return grouping.toString(n);
}

QString duration(qint64 seconds)
{
    return seconds >= 3600 ? QStringLiteral("%1:%2:%3").arg(seconds / 3600).arg(seconds / 60 % 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'))
                           : QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

void put(const QByteArray& bytes)
{
    std::fputs(bytes.constData(), stderr);
    std::fflush(stderr);
}

} // namespace

Progress::Progress(QString what, qint64 total, QString unit)
    : m_what(std::move(what)),
      m_unit(std::move(unit)),
      m_total(total),
      m_inPlace(isatty(fileno(stderr)) != 0)
{
    m_clock.start();
    m_nextLook = total < kToldFrom ? std::numeric_limits<qint64>::max() : m_inPlace ? 0 : (total + 9) / 10;
}

Progress::~Progress()
{
    if (m_lineOpen)
        put("\n");
}

QString Progress::line(qint64 done) const
{
    const qint64 ms = std::max<qint64>(m_clock.elapsed(), 1);
    const qint64 rate = done * 1000 / ms;
    QString text = QStringLiteral("  %1: %2 / %3%4 (%5%), 초당 %6%4")
                       .arg(m_what, grouped(done), grouped(m_total), m_unit)
                       .arg(done * 100 / m_total)
                       .arg(grouped(rate));
    if (done < m_total && rate > 0)
        text += QStringLiteral(", 남은 시간 %1").arg(duration((m_total - done + rate - 1) / rate));
    else if (done >= m_total)
        text += QStringLiteral(", %1초").arg(double(ms) / 1000.0, 0, 'f', 1);
    return text;
}

void Progress::look(qint64 done)
{
    if (!m_inPlace) {
        // One line per tenth crossed; a jump over several tells the last.
        const int tenths = int(std::min<qint64>(done * 10 / m_total, 10));
        if (tenths > m_tenthsTold) {
            m_tenthsTold = tenths;
            put(line(done).toUtf8() + '\n');
        }
        m_nextLook = tenths >= 10 ? std::numeric_limits<qint64>::max() : (m_total * (tenths + 1) + 9) / 10;
        return;
    }
    m_nextLook = std::min(done + kRowsBetweenLooks, m_total); // the last row is always drawn
    const qint64 now = m_clock.elapsed();
    const bool finished = done >= m_total;
    if (!finished && m_lastDrawnMs >= 0 && now - m_lastDrawnMs < kRedrawMs)
        return;
    m_lastDrawnMs = now;
    // Back to the line's start and clear it: the new text may be shorter.
    put("\r\x1b[K" + line(done).toUtf8());
    m_lineOpen = true;
    if (finished) {
        put("\n");
        m_lineOpen = false;
        m_nextLook = std::numeric_limits<qint64>::max();
    }
}

} // namespace admin

// The smallest Qt program that shows a window: the yardstick of the start-up
// benchmark. Prints "shown VmHWM=<kB>" at its first paint and ends, as the
// program does under VOUCHER_STARTUP_PROBE.
//
//   bench_emptywindow [--korean-label]
//
// With --korean-label the window shows one line of Korean text: the least a
// window with text pays on top (the font database, shaping, glyphs).

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QWidget>
#include <cstdio>

namespace {

class FirstPaint : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QMetaObject::invokeMethod(
                this,
                [] {
                    QByteArray peak = "?";
                    QFile status(QStringLiteral("/proc/self/status"));
                    if (status.open(QIODevice::ReadOnly)) {
                        for (const QByteArray& line : status.readAll().split('\n'))
                            if (line.startsWith("VmHWM:"))
                                peak = line.mid(6).simplified().split(' ').value(0);
                    }
                    std::printf("shown VmHWM=%s\n", peak.constData());
                    std::fflush(stdout);
                    QCoreApplication::exit(0);
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_seen = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(1024, 740); // about the entry window's size
    if (app.arguments().contains(QStringLiteral("--korean-label")))
        (new QLabel(QStringLiteral("출금 전표 기준일자"), &window))->move(16, 6);
    FirstPaint probe;
    window.installEventFilter(&probe);
    window.show();
    return app.exec();
}

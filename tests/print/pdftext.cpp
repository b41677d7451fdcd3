#include "pdftext.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>

namespace pdftext {

namespace {

QString run(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString unescape(QString text)
{
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&#39;"), QStringLiteral("'"));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

} // namespace

bool available()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

QString compactText(const QString& pdfPath)
{
    QString text = run({QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath, QStringLiteral("-")});
    text.remove(QRegularExpression(QStringLiteral("[\\s\\x01]")));
    return text;
}

QList<Word> words(const QString& pdfPath)
{
    const QString html = run({QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdfPath,
                              QStringLiteral("-")});
    static const QRegularExpression word(QStringLiteral(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
    constexpr double kMmPerPoint = 25.4 / 72;
    QList<Word> result;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const double x0 = m.captured(1).toDouble() * kMmPerPoint;
        const double y0 = m.captured(2).toDouble() * kMmPerPoint;
        const double x1 = m.captured(3).toDouble() * kMmPerPoint;
        const double y1 = m.captured(4).toDouble() * kMmPerPoint;
        QString text = unescape(m.captured(5));
        text.remove(QChar(1));
        if (!text.isEmpty())
            result.append({text, QRectF(QPointF(x0, y0), QPointF(x1, y1))});
    }
    return result;
}

QList<Word> wordsIn(const QList<Word>& all, const QRectF& areaMm)
{
    QList<Word> inside;
    for (const Word& w : all) {
        if (areaMm.contains(w.box.center()))
            inside.append(w);
    }
    std::stable_sort(inside.begin(), inside.end(), [](const Word& a, const Word& b) {
        if (qAbs(a.box.top() - b.box.top()) > 1.0)
            return a.box.top() < b.box.top();
        return a.box.left() < b.box.left();
    });
    return inside;
}

QString joined(const QList<Word>& words)
{
    QString text;
    for (const Word& w : words)
        text += w.text;
    return text;
}

} // namespace pdftext

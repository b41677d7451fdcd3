#pragma once

#include <QList>
#include <QRectF>
#include <QString>

// Text taken out of a PDF with poppler's pdftotext.
namespace pdftext {

bool available(); // whether pdftotext is installed

// The whole text with every blank and line break removed: pdftotext drops
// many of the blanks between Hangul words and reads the embedded Hangul
// font's blank glyph as U+0001, so texts are compared without any.
QString compactText(const QString& pdfPath);

struct Word {
    QString text;
    QRectF box; // millimetres from the page's top left corner
};
QList<Word> words(const QString& pdfPath);

// The words whose box lies within the area (millimetres), in reading order.
QList<Word> wordsIn(const QList<Word>& all, const QRectF& areaMm);
QString joined(const QList<Word>& words);

} // namespace pdftext

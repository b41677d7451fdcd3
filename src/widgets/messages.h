#pragma once

#include <QString>

class QWidget;

namespace widgets {

// The window's message boxes, modal with one OK button: the warning box
// (warning icon) for checks, the plain box for refused keystrokes.
void warningBox(QWidget* parent, const QString& text);
void plainBox(QWidget* parent, const QString& text);
// A question with Yes and No, Yes the default (Enter answers it); true for Yes.
bool questionBox(QWidget* parent, const QString& text);

// "출금 전표": the program's name, the title of its window and of its boxes
// (a warning and a question carry their kind instead).
extern const QString kProgramName;

// "현재 데이타가 없읍니다....": the list has no rows.
extern const QString kNoDataMessage;

} // namespace widgets

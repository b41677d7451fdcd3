#pragma once

#include <QValidator>

namespace widgets {

// Limits an edit field to a number of bytes as the Korean code page counts
// them (a Hangul syllable is two). Typing at the limit is refused; of a paste
// only what fits is kept. Text still being composed by the input method is
// not the field's text yet, so composing is never cut; the committed
// syllable is checked like a typed character.
class Cp949ByteLimit : public QValidator {
    Q_OBJECT
public:
    Cp949ByteLimit(int maxBytes, QObject* parent);
    State validate(QString& input, int& pos) const override;
    int maxBytes() const { return m_maxBytes; }

private:
    int m_maxBytes;
};

} // namespace widgets

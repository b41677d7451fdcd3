#include "bytelimit.h"

#include "core/strutil.h"

namespace widgets {

Cp949ByteLimit::Cp949ByteLimit(int maxBytes, QObject* parent) : QValidator(parent), m_maxBytes(maxBytes) {}

QValidator::State Cp949ByteLimit::validate(QString& input, int& pos) const
{
    int excess = core::cp949Length(input) - m_maxBytes;
    // What was just typed or pasted ends at the cursor: cut it from there back.
    while (excess > 0 && pos > 0) {
        int cut = 1;
        if (pos >= 2 && input[pos - 1].isLowSurrogate() && input[pos - 2].isHighSurrogate())
            cut = 2;
        excess -= core::cp949Length(input.mid(pos - cut, cut));
        input.remove(pos - cut, cut);
        pos -= cut;
    }
    // A text set from code beyond the limit keeps its beginning.
    while (excess > 0 && !input.isEmpty()) {
        int cut = 1;
        if (input.size() >= 2 && input.back().isLowSurrogate())
            cut = 2;
        excess -= core::cp949Length(input.right(cut));
        input.chop(cut);
    }
    pos = qMin(pos, int(input.size()));
    return Acceptable;
}

} // namespace widgets

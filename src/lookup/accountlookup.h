#pragma once

#include "lookupframe.h"

namespace lookup {

// The account lookup: the chart of accounts with each account's classification
// text, leaving out the cash account, the company-setting accounts and twelve
// categories. Leaving the search field straight for the close button runs no
// last search.
class TForm1 final : public LookupFrame {
    Q_OBJECT
public:
    explicit TForm1(LookupTarget* target, QWidget* parent = nullptr);
    static LookupDefinition lookupDefinition();
};

} // namespace lookup

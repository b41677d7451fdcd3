#pragma once

#include "lookupframe.h"

class QComboBox;

namespace lookup {

// The customer and bank lookup: customers and bank accounts in one list,
// restricted by the kind chosen in cbCheck. pQuery searches with the kind
// chosen, which the master book turns into the statement.
class TForm2 final : public LookupFrame {
    Q_OBJECT
public:
    explicit TForm2(LookupTarget* target, QWidget* parent = nullptr);
    static LookupDefinition lookupDefinition();

    void runSearch() override { pQuery(); }
    void pQuery();

    // The item of cbCheck that is selected: the one its text names exactly,
    // -1 once the text has been edited into something else.
    int selectedKind() const;

protected:
    void resetFilters() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cbCheckChange();

    QComboBox* cbCheck = nullptr;
};

} // namespace lookup

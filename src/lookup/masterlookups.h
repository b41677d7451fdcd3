#pragma once

#include "lookupframe.h"

namespace lookup {

// The employee, department, project and management item lookups: the frame
// with their own caption, sizes and columns.

class TForm3 final : public LookupFrame {
    Q_OBJECT
public:
    explicit TForm3(LookupTarget* target, QWidget* parent = nullptr);
    static LookupDefinition lookupDefinition();
};

class TForm4 final : public LookupFrame {
    Q_OBJECT
public:
    explicit TForm4(LookupTarget* target, QWidget* parent = nullptr);
    static LookupDefinition lookupDefinition();
};

class TForm5 final : public LookupFrame {
    Q_OBJECT
public:
    explicit TForm5(LookupTarget* target, QWidget* parent = nullptr);
    static LookupDefinition lookupDefinition();
};

class TForm6 final : public LookupFrame {
    Q_OBJECT
public:
    explicit TForm6(LookupTarget* target, QWidget* parent = nullptr);
    static LookupDefinition lookupDefinition();
};

} // namespace lookup

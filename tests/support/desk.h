#pragma once

// The window desk: the entry window with its lookup dialogs, what a clerk
// does at it, the boxes it shows and the store beneath it.
#include "deskinput.h"
#include "deskstore.h"
#include "deskwindow.h"
#include "enginedb.h"
#include "voucherseed.h"

#include "widgets/application.h"

// A test program's main with the program's application object, so that
// errors escaping a handler reach the error report as in the program.
#define ENTRY_TEST_MAIN(TestClass)                      \
    int main(int argc, char** argv)                     \
    {                                                   \
        widgets::VoucherApplication app(argc, argv);    \
        TestClass test;                                 \
        return QTest::qExec(&test, argc, argv);         \
    }

#pragma once

// The six lookup dialogs, Form1 to Form6 of the program.
#include "accountlookup.h"      // TForm1: accounts
#include "customerbanklookup.h" // TForm2: customers and banks
#include "masterlookups.h"      // TForm3 to TForm6: employees, departments, projects, items

namespace lookup {

} // namespace lookup

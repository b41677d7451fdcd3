#pragma once

#include <QStringList>

// Word pools the synthetic master data is composed from.
namespace admin {

const QStringList& surnames();
const QStringList& givenSyllables();
const QStringList& companyStems();
const QStringList& companyKinds();
const QStringList& banks();
const QStringList& places();       // cities and districts
const QStringList& departmentStems();
const QStringList& projectObjects();
const QStringList& projectActions();
const QStringList& itemObjects();
const QStringList& qualifiers();   // tell sub-accounts of one account apart
const QStringList& positions();    // job titles for employee remarks
const QStringList& descriptions(); // voucher line texts; %1 is a name from the line

} // namespace admin

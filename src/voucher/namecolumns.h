#pragma once

#include "voucher/namekinds.h"

namespace voucher {

// Where each name of a voucher line is stored in account_jen_AA: its
// name column and code column (the statements' parameters are the same names
// behind "tb"), and the name the clerk knows its field by.
struct NameColumns {
    LookupKind kind;
    const char* nameColumn;
    const char* codeColumn;
    const char* label;
};

inline constexpr NameColumns kNameColumns[kNameKinds] = {
    {LookupKind::Account, "Ac_JenName", "Ac_JenCode", "계정과목"},
    {LookupKind::CustomerBank, "Kubun_Name", "Kubun_Code", "거래처및은행명"},
    {LookupKind::Employee, "Sawon_Name", "Sawon_Code", "사원이름"},
    {LookupKind::Department, "Buser_Name", "Buser_Code", "부서이름"},
    {LookupKind::Project, "Project_Name", "Project_Code", "프로젝트이름"},
    {LookupKind::Item, "Item_Name", "Item_Code", "관리항목"},
};

} // namespace voucher

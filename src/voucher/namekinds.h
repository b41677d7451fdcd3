#pragma once

#include <array>

namespace voucher {

// The six kinds of name a voucher line carries, each with its code; the
// entry window has a field for each and a lookup dialog serves each.
enum class LookupKind { Account, CustomerBank, Employee, Department, Project, Item };

inline constexpr int kNameKinds = 6;

inline constexpr std::array<LookupKind, kNameKinds> kAllNameKinds = {
    LookupKind::Account, LookupKind::CustomerBank, LookupKind::Employee,
    LookupKind::Department, LookupKind::Project, LookupKind::Item,
};

} // namespace voucher

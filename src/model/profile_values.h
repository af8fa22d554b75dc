#pragma once
// Values of the application profile that the document model uses, as GBK.
#include <string>

namespace mirel {

std::string ProfileOwner();         // "Owner" of section "Settings"
std::string ProfileCompanyName();   // "CompanyName" of section "Settings"

}  // namespace mirel

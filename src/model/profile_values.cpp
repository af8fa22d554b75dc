#include "model/profile_values.h"

#include "platform/gbk.h"
#include "platform/settings.h"

namespace mirel {

std::string ProfileOwner()
{
    return Utf8ToGbk(Profile::Application().Owner()).text;
}

std::string ProfileCompanyName()
{
    return Utf8ToGbk(Profile::Application().CompanyName()).text;
}

}  // namespace mirel

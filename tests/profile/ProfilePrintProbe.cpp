// Builds two effect profiles from its own program directory and writes the
// second to standard output. The profile tests run a copy of it in a folder
// they prepare, so the real program directory is what gets exercised.
//   profile-print-probe [--keep]
#include "profile/EffectProfile.h"
#include "profile/LumetXmlProfileHelper.h"
#include "tests/profile/ProfileFixture.h"

#include <clocale>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // Like the panel, run under the user's locale.
    std::setlocale(LC_ALL, "");
    LumetXmlProfileHelper::SetKeepProfileFile(argc > 1 && std::strcmp(argv[1], "--keep") == 0);
    const auto group = ProfileFixture::TwoLedGroup();
    EffectProfile::Build(group.get(), group->GetKey(), 1, EffectProfile::Parts());
    const std::string last = EffectProfile::Build(group.get(), group->GetKey(), 4, EffectProfile::Parts());
    std::fwrite(last.data(), 1, last.size(), stdout);
    return 0;
}

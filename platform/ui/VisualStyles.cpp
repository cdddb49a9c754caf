// The style in force, one per process, read and written on the user-interface
// thread.
#include "platform/ui/VisualStyles.h"

#include "platform/ui/Controls.h"

namespace {

TPlatformStyle& Current()
{
    static TPlatformStyle style;
    return style;
}

}  // namespace

const TPlatformStyle& ActivePlatformStyle() { return Current(); }

void InstallPlatformStyle(const TPlatformStyle& Style) { Current() = Style; }

bool IsCustomStyleActive()
{
    const TPlatformStyle& s = Current();
    return s.Enabled && s.Name != L"Windows";
}

String ActiveStyleName() { return Current().Name; }

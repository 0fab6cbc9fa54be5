#include "core/ProjectHooks.h"

ProjectHooks &projectHooks()
{
    static ProjectHooks hooks;
    return hooks;
}

#include "platform/memory_limits.h"

#include <sys/resource.h>

namespace trimlet {

bool AddressSpaceIsLimited() {
    static constexpr int kLimits[] = {RLIMIT_AS, RLIMIT_DATA};
    for (const int resource : kLimits) {
        struct rlimit limit {};
        if (::getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) return true;
    }
    return false;
}

}  // namespace trimlet

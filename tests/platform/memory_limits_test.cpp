#include "platform/memory_limits.h"

#include <sys/resource.h>

#include <gtest/gtest.h>

namespace trimlet {
namespace {

// A limit on the address space is seen, and its removal too. The limit set is far above
// anything the tests use, and the old one is put back.
TEST(MemoryLimits, AddressSpaceLimitIsSeen) {
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_AS, &old), 0);
    struct rlimit limited = old;
    const rlim_t terabyte = rlim_t{1} << 40;
    limited.rlim_cur =
        old.rlim_max == RLIM_INFINITY || old.rlim_max > terabyte ? terabyte : old.rlim_max;
    ASSERT_EQ(::setrlimit(RLIMIT_AS, &limited), 0);
    EXPECT_TRUE(AddressSpaceIsLimited());
    ASSERT_EQ(::setrlimit(RLIMIT_AS, &old), 0);
    if (old.rlim_cur == RLIM_INFINITY) {
        struct rlimit data {};
        ASSERT_EQ(::getrlimit(RLIMIT_DATA, &data), 0);
        if (data.rlim_cur == RLIM_INFINITY) {
            EXPECT_FALSE(AddressSpaceIsLimited());
        }
    }
}

}  // namespace
}  // namespace trimlet

#include "common/result.h"

#include <gtest/gtest.h>

namespace trimlet {
namespace {

TEST(ResultName, NamesKnownCodesAndHexForUnknown) {
    EXPECT_STREQ(ResultName(RESULT_OK), "RESULT_OK");
    EXPECT_STREQ(ResultName(RESULT_SKIPPED), "RESULT_SKIPPED");
    EXPECT_STREQ(ResultName(0x20000099), "RESULT_0x20000099");
}

}  // namespace
}  // namespace trimlet

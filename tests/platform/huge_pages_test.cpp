#include "platform/huge_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace trimlet {
namespace {

// Faulting pages in ahead must never change what the caller writes meanwhile or wrote
// before, whether the caller finishes first or lets it run to the end.
TEST(FaultInAhead, LeavesTheBytesWrittenBeforeAndMeanwhile) {
    for (const bool finishEarly : {false, true}) {
        SCOPED_TRACE(finishEarly ? "finished early" : "run to the end");
        constexpr std::size_t kSize = std::size_t{24} << 20;
        std::string buffer;
        buffer.reserve(kSize);
        buffer.assign(std::size_t{1} << 20, 'a');  // written before
        AdviseHugePages(buffer.data(), buffer.capacity());
        FaultInAhead pages(buffer.data(), buffer.capacity());
        for (std::size_t i = buffer.size(); i < kSize; ++i)
            buffer.push_back(static_cast<char>('b' + i % 7));
        if (finishEarly) pages.Finish();
        pages.Finish();  // a second call waits for nothing
        ASSERT_EQ(buffer.size(), kSize);
        std::size_t wrong = 0;
        for (std::size_t i = 0; i < kSize; ++i) {
            const char expected = i < (std::size_t{1} << 20) ? 'a' : static_cast<char>('b' + i % 7);
            wrong += buffer[i] != expected;
        }
        EXPECT_EQ(wrong, 0u);
    }
}

}  // namespace
}  // namespace trimlet

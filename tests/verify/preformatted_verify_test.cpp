// The verifier and the trimmer agree on the elements a page's CSS makes preformatted.

#include <gtest/gtest.h>

#include <string>

#include "engine/preformatted.h"
#include "engine/trim_engine.h"
#include "test_support.h"
#include "verify/page_verifier.h"

namespace trimlet::test {
namespace {

constexpr std::string_view kPage =
    "<style>div.line { white-space: pre-wrap }</style>\n"
    "<div class=line><span>   20</span>  <b>public</b>:</div>\n<div>  text  </div>\n";

TEST(VerifyPreformatted, TheLearnedSetIsTheTrimmersSet) {
    engine::PreformattedSelectors set;
    engine::LearnFromStyleElements(kPage, set);
    std::string kept, broken;
    ASSERT_RESULT(TrimHtmlText(kPage, kept, kDefaultTrimMode, Charset::Utf8, {}, &set), RESULT_OK);
    ASSERT_RESULT(TrimHtmlText(kPage, broken, kDefaultTrimMode, Charset::Utf8), RESULT_OK);
    ASSERT_NE(kept, broken);

    Verdict verdict;
    // Learned by the verifier itself, or handed over: the listing must stay.
    ASSERT_RESULT(VerifyHtml(kPage, kept, kDefaultTrimMode, Charset::Utf8, verdict), RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Same) << verdict.difference;
    ASSERT_RESULT(VerifyHtml(kPage, broken, kDefaultTrimMode, Charset::Utf8, verdict), RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Differs);
    VerifyOptions given;
    given.preformatted = &set;
    ASSERT_RESULT(VerifyHtml(kPage, broken, kDefaultTrimMode, Charset::Utf8, verdict, given),
                  RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Differs);

    // Not learning, the verifier takes the listing for ordinary text.
    VerifyOptions none;
    none.learnPreformatted = false;
    ASSERT_RESULT(VerifyHtml(kPage, broken, kDefaultTrimMode, Charset::Utf8, verdict, none),
                  RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Same) << verdict.difference;
    // Trimming inside PRE is asked for: the styled elements too.
    std::string inside;
    ASSERT_RESULT(
        TrimHtmlText(kPage, inside, kDefaultTrimMode | TM_INSIDE_PRE, Charset::Utf8, {}, &set),
        RESULT_OK);
    ASSERT_RESULT(
        VerifyHtml(kPage, inside, kDefaultTrimMode | TM_INSIDE_PRE, Charset::Utf8, verdict),
        RESULT_OK);
    EXPECT_EQ(verdict.status, VerifyStatus::Same) << verdict.difference;
}

}  // namespace
}  // namespace trimlet::test

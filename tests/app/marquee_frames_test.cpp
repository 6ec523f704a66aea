#include "app/marquee_frames.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/messages.h"
#include "text/text_loading.h"

namespace trimlet {
namespace {

// Every frame until the effect finishes; stops at `limit` so a loop that never ends fails.
std::vector<std::string> Play(MarqueeFrames& frames, std::size_t limit = 10000) {
    std::vector<std::string> shown;
    while (!frames.Finished() && shown.size() < limit)
        shown.push_back(frames.Tick());
    return shown;
}

MarqueeFitCount Fits(int blanks, int bands) {
    return [=](std::string_view text) { return text == " " ? blanks : bands; };
}

using Frames = std::vector<std::string>;

// Scroll enters from the right and leaves the final text at the left edge; a wide character
// leaving the edge turns into one blank first, so no frame shows half a character.
TEST(MarqueeFrames, ScrollAndRepeatCounts) {
    struct Case {
        const char* name;
        MarqueeKind kind;
        const char* text;
        int repeat;
        int blanks;
        Frames expected;
    };
    const Case cases[] = {
        {"enters from the right",
         MarqueeKind::Scroll,
         "ab",
         1,
         2,
         {" ab", "ab", "b", "", " F", "F"}},
        {"wide character at the edge",
         MarqueeKind::Scroll,
         "aあ",
         1,
         1,
         {"aあ", "あ", " ", "", "F"}},
        {"twice, then the final text", MarqueeKind::Scroll, "x", 2, 1, {"x", "", "x", "", "F"}},
        {"a negative count plays as none", MarqueeKind::Scroll, "x", -1, 1, {"F"}},
        {"an unmeasurable blank enters without blanks", MarqueeKind::Scroll, "x", 1, -1, {"", "F"}},
        {"blink without repeat shows the final text at once", MarqueeKind::Blink, "x", 0, 0, {"F"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MarqueeFrames frames(c.kind, c.text, "F", c.repeat, Fits(c.blanks, 0));
        EXPECT_EQ(Play(frames), c.expected);
        EXPECT_EQ(frames.Tick(), "F");  // the final line stays
    }
}

// One letter per tick: '*' the effect text, '_' an empty line, 'F' the final text.
std::string Pattern(const Frames& frames, std::string_view effect, std::string_view final) {
    std::string pattern;
    for (const std::string& f : frames) {
        pattern += f == effect ? '*' : f.empty() ? '_' : f == final ? 'F' : '?';
    }
    return pattern;
}

TEST(MarqueeBlink, FourBlinksPerCycleForThreeCycles) {
    const std::string cycle = "**__**__**__**_____" + std::string(31, 'F');
    MarqueeFrames frames(MarqueeKind::Blink, "★★", "F", 3, Fits(0, 0));
    EXPECT_EQ(Pattern(Play(frames), "★★", "F"), cycle + "_" + cycle + "_" + cycle + "F");
    EXPECT_EQ(frames.Shown(), "F");
}

// The frames one after another, separated by '|'.
std::string Joined(const Frames& frames) {
    std::string joined;
    for (std::size_t i = 0; i < frames.size(); ++i)
        joined += (i == 0 ? "" : "|") + frames[i];
    return joined;
}

// Type all, erase all, type all, erase to two thirds, type all, finish; the wide character
// shows as a blank for one tick both ways.
TEST(MarqueeTypewriter, TypesErasesAndEndsOnTheFinalText) {
    MarqueeFrames frames(MarqueeKind::Typewriter, "■", "AあB", 1, Fits(0, 0));
    EXPECT_EQ(Joined(Play(frames)),
              "A■|A ■|Aあ■|AあB■|Aあ■|A ■|A■|■|A■|A ■|Aあ■|AあB■|Aあ■|AあB■|AあB");
}

// Build up, march, then reveal the final text from the left. Fewer than four characters take
// the default band; more take their first four, and the band is at least one copy.
TEST(MarqueeBand, BuildsMarchesAndRevealsTheFinalTextFromTheLeft) {
    std::vector<std::string> asked;
    const auto fit = [&](int copies) {
        return [&asked, copies](std::string_view text) {
            asked.emplace_back(text);
            return copies;
        };
    };
    MarqueeFrames frames(MarqueeKind::Band, "ab", "XYZ", 1, fit(2));
    EXPECT_EQ(Joined(Play(frames)),
              "─☆|─☆☆─|─☆☆──☆|─☆☆──☆☆─|☆☆──☆☆──|☆──☆☆──☆|──☆☆──☆☆|"
              "─☆☆──☆☆─|X☆☆──☆☆─|XY☆──☆☆─|XYZ");
    MarqueeFrames own(MarqueeKind::Band, "abcdef", "", 2, fit(-1));
    EXPECT_EQ(Joined(Play(own)), "ab|abcd|bcda|cdab|dabc|abcd|ab|abcd|bcda|cdab|dabc|abcd|");
    EXPECT_EQ(asked, (std::vector<std::string>{"─☆☆─", "abcd"}));
}

TEST(MarqueeEffectCounter, FiveOpeningsCycleFromARandomStart) {
    for (unsigned random : {0u, 1u, 6u, 7u}) {
        SCOPED_TRACE(random);
        MarqueeEffectCounter counter;
        int asked = 0;
        const auto source = [&] {
            ++asked;
            return random;
        };
        std::vector<int> effects;
        for (int i = 0; i < 5; ++i)
            effects.push_back(counter.Next(source));
        const int k = static_cast<int>(random % 4);
        EXPECT_EQ(effects, (std::vector<int>{k, (k + 1) % 4, (k + 2) % 4, (k + 3) % 4, k}));
        EXPECT_EQ(asked, 1);
    }
}

// The real effects with the real texts, on lines of several widths: each ends on the final
// text, and no frame holds part of a character.
TEST(MarqueeEffects, EveryEffectEndsOnTheFinalTextWithWholeCharacters) {
    for (int value = 0; value < kMarqueeEffectCount; ++value) {
        const MarqueeEffect effect = MarqueeEffectFor(value);
        EXPECT_EQ(static_cast<int>(effect.kind), value);
        EXPECT_GT(effect.intervalMs, 0);
        for (int fit : {-1, 0, 1, 37}) {
            SCOPED_TRACE(std::to_string(value) + " fit " + std::to_string(fit));
            MarqueeFrames frames(effect.kind, effect.text, TXT_ABOUT_ATTRIBUTION,
                                 effect.repeatCount, Fits(fit, fit));
            const Frames shown = Play(frames);
            ASSERT_TRUE(frames.Finished());
            EXPECT_EQ(shown.back(), TXT_ABOUT_ATTRIBUTION);
            for (const std::string& f : shown)
                ASSERT_TRUE(IsValidUtf8(f)) << f;
        }
    }
    EXPECT_EQ(SplitCharacters(MarqueeEffectFor(1).text).size(), 24u);
}

TEST(MarqueeCharacters, WideCharactersAndSplitting) {
    struct Case {
        char32_t c;
        bool wide;
    };
    const Case cases[] = {
        {U'A', false},         {U'あ', true},
        {U'\u3000', true},  // full-width blank
        {U'Ａ', true},         {U'ｱ', false},
        {U'★', false},  // ambiguous width counts as narrow
        {U'\U0001F600', true}, {U'\U00020000', true},
        {U'é', false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.c));
        EXPECT_EQ(IsWideCharacter(c.c), c.wide);
    }
    EXPECT_EQ(SplitCharacters("aあ\xE3\x81"),
              (std::vector<std::string>{"a", "あ", "\xE3", "\x81"}));
    EXPECT_EQ(SplitCharacters("\xC0\xAF\xF4\x90\x80\x80").size(), 6u);  // overlong, too high
}

}  // namespace
}  // namespace trimlet

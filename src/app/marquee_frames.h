#pragma once
// The animated line of the about box, as a sequence of texts: one effect (scroll, blink,
// band or typewriter) played over a text and ended by a final line that stays. The
// generator knows nothing of windows or timers; the caller ticks it at the effect's interval
// and shows what it returns. Texts are UTF-8 and a whole character is always the unit, so no
// frame ever holds part of one.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace trimlet {

enum class MarqueeKind { Scroll = 0, Blink = 1, Band = 2, Typewriter = 3 };

// How many times `text` fits across the line (the line's width divided by the text's width);
// -1 or 0 when it does not fit or cannot be measured.
using MarqueeFitCount = std::function<int(std::string_view text)>;

// One effect of the table: what plays, how often, and the timer interval.
struct MarqueeEffect {
    MarqueeKind kind = MarqueeKind::Scroll;
    const char* text = "";
    int repeatCount = 0;
    int intervalMs = 0;
};

inline constexpr int kMarqueeEffectCount = 4;

// The effect numbered `value` (0 scroll, 1 blink, 2 band, 3 typewriter); other values wrap.
MarqueeEffect MarqueeEffectFor(int value);

// Picks the effect of each opening of the about box: a random one first, then the next one
// in turn at each later opening.
class MarqueeEffectCounter {
  public:
    // `random` is asked once, for the first opening; any value is taken modulo 4.
    int Next(const std::function<unsigned()>& random);
    // The same with a random first effect from the system's random source.
    int Next();

  private:
    int value_ = -1;
};

// The counter that lives as long as the process.
MarqueeEffectCounter& ProcessMarqueeEffectCounter();

// True for a character the line shows two columns wide (East Asian width "wide" or
// "fullwidth").
bool IsWideCharacter(char32_t c);

// The UTF-8 text split into whole characters. A byte that does not start a well-formed
// sequence stands alone, so any text splits and joins back to itself.
std::vector<std::string> SplitCharacters(std::string_view text);

class MarqueeFrames {
  public:
    // Sets the effect up. `fitCount` is asked here only: for the blanks a scroll enters
    // with, and for the number of bands across the line. A negative repeat count plays as 0.
    MarqueeFrames(MarqueeKind kind, std::string_view effectText, std::string_view finalText,
                  int repeatCount, const MarqueeFitCount& fitCount);

    // Advances one tick and returns the text the line shows now. Once finished, the final
    // text stays and further ticks change nothing.
    const std::string& Tick();

    bool Finished() const { return finished_; }
    const std::string& Shown() const { return shown_; }

  private:
    void TickScroll();
    void TickBlink();
    void TickBand();
    void TickTypewriter();

    void LoadScrollText();
    void Finish();
    void TypeStep();
    void EraseStep();
    std::string BandFrame() const;

    MarqueeKind kind_;
    std::string effectText_;
    std::string finalText_;
    std::vector<std::string> finalChars_;
    int repeat_ = 0;
    bool finished_ = false;
    std::string shown_;

    // scroll
    std::size_t scrollBlanks_ = 0;
    std::string buffer_;
    bool playingFinal_ = false;

    // blink and band
    int step_ = 0;
    bool revealing_ = false;  // band: the cycles are over and the final text comes in

    // band
    std::vector<std::string> band_;  // the whole band across the line, by character
    std::size_t bandHalves_ = 0;     // halves (two characters each) in the whole band

    // typewriter
    std::size_t typed_ = 0;   // whole characters of the final text shown
    bool halfTyped_ = false;  // a blank stands in for the next (wide) character
    bool erasing_ = false;
    bool shortErased_ = false;  // the last erase, down to two thirds, has happened
};

}  // namespace trimlet

#include "app/marquee_frames.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <random>

#include "common/messages.h"

namespace trimlet {

namespace {

struct CodeRange {
    char32_t first;
    char32_t last;
};

// East Asian width W and F, merged into ranges.
constexpr CodeRange kWideRanges[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x2E99},
    {0x2E9B, 0x2EF3},   {0x2F00, 0x2FD5},   {0x2FF0, 0x2FFB},   {0x3000, 0x303E},
    {0x3041, 0x3096},   {0x3099, 0x30FF},   {0x3105, 0x312F},   {0x3131, 0x318E},
    {0x3190, 0x31E3},   {0x31F0, 0x321E},   {0x3220, 0x3247},   {0x3250, 0x4DBF},
    {0x4E00, 0xA48C},   {0xA490, 0xA4C6},   {0xA960, 0xA97C},   {0xAC00, 0xD7A3},
    {0xF900, 0xFAFF},   {0xFE10, 0xFE19},   {0xFE30, 0xFE52},   {0xFE54, 0xFE66},
    {0xFE68, 0xFE6B},   {0xFF01, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x16FF0, 0x16FF1}, {0x17000, 0x187F7}, {0x18800, 0x18CD5}, {0x18D00, 0x18D08},
    {0x1AFF0, 0x1B2FB}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF}, {0x1F18E, 0x1F18E},
    {0x1F191, 0x1F19A}, {0x1F200, 0x1F202}, {0x1F210, 0x1F23B}, {0x1F240, 0x1F248},
    {0x1F250, 0x1F251}, {0x1F260, 0x1F265}, {0x1F300, 0x1F320}, {0x1F32D, 0x1F335},
    {0x1F337, 0x1F37C}, {0x1F37E, 0x1F393}, {0x1F3A0, 0x1F3CA}, {0x1F3CF, 0x1F3D3},
    {0x1F3E0, 0x1F3F0}, {0x1F3F4, 0x1F3F4}, {0x1F3F8, 0x1F43E}, {0x1F440, 0x1F440},
    {0x1F442, 0x1F4FC}, {0x1F4FF, 0x1F53D}, {0x1F54B, 0x1F54E}, {0x1F550, 0x1F567},
    {0x1F57A, 0x1F57A}, {0x1F595, 0x1F596}, {0x1F5A4, 0x1F5A4}, {0x1F5FB, 0x1F64F},
    {0x1F680, 0x1F6C5}, {0x1F6CC, 0x1F6CC}, {0x1F6D0, 0x1F6D2}, {0x1F6D5, 0x1F6D7},
    {0x1F6DC, 0x1F6DF}, {0x1F6EB, 0x1F6EC}, {0x1F6F4, 0x1F6FC}, {0x1F7E0, 0x1F7EB},
    {0x1F7F0, 0x1F7F0}, {0x1F90C, 0x1F93A}, {0x1F93C, 0x1F945}, {0x1F947, 0x1F9FF},
    {0x1FA70, 0x1FAFF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

struct Decoded {
    char32_t code = 0xFFFD;
    std::size_t length = 1;
};

// The character starting at `i`: a well-formed sequence (no overlong form, surrogate or
// value past U+10FFFF) as a whole, any other byte alone.
Decoded DecodeAt(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return {};
    }
    if (text.size() - i < length) return {};
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return {};
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {};
    return {code, length};
}

bool IsWide(std::string_view character) {
    return !character.empty() && IsWideCharacter(DecodeAt(character, 0).code);
}

std::string Join(const std::vector<std::string>& chars, std::size_t first, std::size_t last) {
    std::string out;
    for (std::size_t i = first; i < last && i < chars.size(); ++i)
        out += chars[i];
    return out;
}

constexpr int kBlinkCycleSteps = 50;

}  // namespace

MarqueeEffect MarqueeEffectFor(int value) {
    switch (((value % kMarqueeEffectCount) + kMarqueeEffectCount) % kMarqueeEffectCount) {
        case 0:
            return {MarqueeKind::Scroll, TXT_MARQUEE_SCROLL, 1, 70};
        case 1:
            return {MarqueeKind::Blink, TXT_MARQUEE_BLINK, 3, 80};
        case 2:
            return {MarqueeKind::Band, TXT_MARQUEE_BAND, 3, 60};
        default:
            return {MarqueeKind::Typewriter, TXT_MARQUEE_TYPEWRITER, 1, 25};
    }
}

int MarqueeEffectCounter::Next(const std::function<unsigned()>& random) {
    if (value_ < 0) {
        value_ = static_cast<int>(random() % kMarqueeEffectCount);
    } else {
        value_ = (value_ + 1) % kMarqueeEffectCount;
    }
    return value_;
}

int MarqueeEffectCounter::Next() {
    return Next([] {
        const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(ticks));
        return static_cast<unsigned>(generator());
    });
}

MarqueeEffectCounter& ProcessMarqueeEffectCounter() {
    static MarqueeEffectCounter counter;
    return counter;
}

bool IsWideCharacter(char32_t c) {
    const auto* end = std::end(kWideRanges);
    const auto* it = std::upper_bound(std::begin(kWideRanges), end, c,
                                      [](char32_t v, const CodeRange& r) { return v < r.first; });
    return it != std::begin(kWideRanges) && c <= (it - 1)->last;
}

std::vector<std::string> SplitCharacters(std::string_view text) {
    std::vector<std::string> chars;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = DecodeAt(text, i).length;
        chars.emplace_back(text.substr(i, length));
        i += length;
    }
    return chars;
}

MarqueeFrames::MarqueeFrames(MarqueeKind kind, std::string_view effectText,
                             std::string_view finalText, int repeatCount,
                             const MarqueeFitCount& fitCount)
    : kind_(kind),
      effectText_(effectText),
      finalText_(finalText),
      finalChars_(SplitCharacters(finalText)),
      repeat_(std::max(repeatCount, 0)) {
    if (kind_ == MarqueeKind::Scroll) {
        scrollBlanks_ = static_cast<std::size_t>(std::max(fitCount(" "), 0));
        LoadScrollText();
    } else if (kind_ == MarqueeKind::Band) {
        std::vector<std::string> chars = SplitCharacters(effectText_);
        if (chars.size() < 4) chars = SplitCharacters(TXT_MARQUEE_BAND);
        chars.resize(4);
        const int copies = std::max(fitCount(Join(chars, 0, 4)), 1);
        for (int i = 0; i < copies; ++i)
            band_.insert(band_.end(), chars.begin(), chars.end());
        bandHalves_ = band_.size() / 2;
    }
}

const std::string& MarqueeFrames::Tick() {
    if (finished_) return shown_;
    switch (kind_) {
        case MarqueeKind::Scroll:
            TickScroll();
            break;
        case MarqueeKind::Blink:
            TickBlink();
            break;
        case MarqueeKind::Band:
            TickBand();
            break;
        case MarqueeKind::Typewriter:
            TickTypewriter();
            break;
    }
    return shown_;
}

void MarqueeFrames::Finish() {
    shown_ = finalText_;
    finished_ = true;
}

// ---- scroll ----------------------------------------------------------------------------

void MarqueeFrames::LoadScrollText() {
    playingFinal_ = repeat_ == 0;
    buffer_.assign(scrollBlanks_, ' ');
    buffer_ += playingFinal_ ? finalText_ : effectText_;
}

// A character leaves at the left edge each tick; a wide one first turns into a blank, so
// the text moves by one column at a time and never shows half a character.
void MarqueeFrames::TickScroll() {
    if (playingFinal_ && buffer_.size() <= finalText_.size()) {
        Finish();
        return;
    }
    if (!buffer_.empty()) {
        const std::size_t length = DecodeAt(buffer_, 0).length;
        if (IsWide(std::string_view(buffer_).substr(0, length))) {
            buffer_.replace(0, length, " ");
        } else {
            buffer_.erase(0, length);
        }
    }
    shown_ = buffer_;
    if (playingFinal_ && buffer_.size() <= finalText_.size()) {
        Finish();
    } else if (buffer_.empty()) {
        if (--repeat_ >= 0) {
            LoadScrollText();
        } else {
            Finish();
        }
    }
}

// ---- blink -----------------------------------------------------------------------------

// Each cycle of 51 steps shows the text four times with blank steps between, then the final
// line from step 19 on; the last cycle leaves the final line standing.
void MarqueeFrames::TickBlink() {
    if (repeat_ == 0) {
        Finish();
        return;
    }
    switch (step_) {
        case 0:
        case 4:
        case 8:
        case 12:
            shown_ = effectText_;
            break;
        case 2:
        case 6:
        case 10:
        case 14:
            shown_.clear();
            break;
        case 19:
            shown_ = finalText_;
            break;
        case kBlinkCycleSteps:
            step_ = 0;
            if (--repeat_ > 0) {
                shown_.clear();
            } else {
                Finish();
            }
            return;
        default:
            break;
    }
    ++step_;
}

// ---- band ------------------------------------------------------------------------------

// A cycle builds the band up from the left one half (two characters) per tick, then marches
// it one character to the left per tick for one period of four. After the cycles the final
// text covers the band from the left one character per tick, and stands alone at the end.
std::string MarqueeFrames::BandFrame() const {
    const std::size_t step = static_cast<std::size_t>(step_);
    if (step < bandHalves_) return Join(band_, 0, 2 * (step + 1));
    const std::size_t shift = step - bandHalves_ + 1;
    return Join(band_, shift, band_.size()) + Join(band_, 0, shift);
}

void MarqueeFrames::TickBand() {
    if (!revealing_ && repeat_ == 0) {
        revealing_ = true;
        step_ = 0;
    }
    if (revealing_) {
        const std::size_t covered = static_cast<std::size_t>(++step_);
        if (covered >= finalChars_.size()) {
            Finish();
        } else {
            shown_ = Join(finalChars_, 0, covered) + Join(band_, covered, band_.size());
        }
        return;
    }
    shown_ = BandFrame();
    if (static_cast<std::size_t>(++step_) == bandHalves_ + 4) {
        step_ = 0;
        --repeat_;
    }
}

// ---- typewriter ------------------------------------------------------------------------

void MarqueeFrames::TypeStep() {
    if (halfTyped_) {
        halfTyped_ = false;
        ++typed_;
    } else if (typed_ < finalChars_.size()) {
        if (IsWide(finalChars_[typed_])) {
            halfTyped_ = true;
        } else {
            ++typed_;
        }
    }
}

void MarqueeFrames::EraseStep() {
    if (halfTyped_) {
        halfTyped_ = false;
    } else if (typed_ > 0) {
        --typed_;
        halfTyped_ = IsWide(finalChars_[typed_]);
    }
}

// Types the final text behind the cursor, erases it, and again while repeats are left; the
// last round erases only down to two thirds before typing the rest and ending.
void MarqueeFrames::TickTypewriter() {
    const bool atStart = typed_ == 0 && !halfTyped_;
    if (!erasing_) {
        if (typed_ == finalChars_.size()) {
            if (repeat_ == 0 && shortErased_) {
                Finish();
                return;
            }
            erasing_ = true;
            EraseStep();
        } else {
            TypeStep();
        }
    } else if (repeat_ > 0 && atStart) {
        --repeat_;
        erasing_ = false;
        TypeStep();
    } else if (repeat_ == 0 && !halfTyped_ && typed_ <= finalChars_.size() * 2 / 3) {
        shortErased_ = true;
        erasing_ = false;
        TypeStep();
    } else {
        EraseStep();
    }
    shown_ = Join(finalChars_, 0, typed_);
    if (halfTyped_) shown_ += ' ';
    shown_ += effectText_;
}

}  // namespace trimlet

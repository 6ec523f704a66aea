#include "cli/option_names.h"

#include <array>
#include <cstdio>

#include "cli/cli_texts.h"

namespace trimlet::cli {

namespace {

constexpr std::array<OptionValueName, 3> kBlankLineValues = {{
    {"delete", TM_BLANK_LINES_DELETE},
    {"merge", TM_BLANK_LINES_MERGE},
    {"keep", 0},
}};

constexpr TrimMode kBlankLineBits = TM_BLANK_LINES_DELETE | TM_BLANK_LINES_MERGE;

constexpr std::array<OptionName, 18> kNames = {{
    {"collapse-spaces", TM_COLLAPSE_SPACES, {}, text::kOptCollapseSpaces},
    {"trim-line-ends", TM_TRIM_LINE_ENDS, {}, text::kOptTrimLineEnds},
    {"line-breaks-as-blanks", TM_CR_REG_AS_WSP, {}, text::kOptLineBreaksAsBlanks},
    {"blank-lines", kBlankLineBits, kBlankLineValues, text::kOptBlankLines},
    {"html-comments", TM_HTML_COMMENT_DEL, {}, text::kOptHtmlComments},
    {"keep-ssi", TM_KEEP_SSI, {}, text::kOptKeepSsi},
    {"keep-marked", TM_KEEP_DOVETAG, {}, text::kOptKeepMarked},
    {"body-comments-only", TM_BODY_COMMENTS_ONLY, {}, text::kOptBodyCommentsOnly},
    {"fullwidth-blank", TM_ZENKAKU_AS_WSP, {}, text::kOptFullwidthBlank},
    {"between-tags", TM_BETWEEN_TAGS, {}, text::kOptBetweenTags},
    {"inside-pre", TM_INSIDE_PRE, {}, text::kOptInsidePre},
    {"between-inline-tags", TM_BETWEEN_INLINE_TAGS, {}, text::kOptBetweenInlineTags},
    {"special-comments", TM_SPECIAL_COMMENTS_DEL, {}, text::kOptSpecialComments},
    {"script-comments", TM_SCRIPT_COMMENT_DEL, {}, text::kOptScriptComments},
    {"script-block-comments", TM_SCRIPT_BLOCK_COMMENT, {}, text::kOptScriptBlockComments},
    {"script-line-comments", TM_SCRIPT_LINE_COMMENT, {}, text::kOptScriptLineComments},
    {"vbs-rem-comments", TM_VBS_REM_COMMENT, {}, text::kOptVbsRemComments},
    {"keep-script-html-comments", TM_KEEP_SCRIPT_HTML_COMMENT, {}, text::kOptKeepScriptHtml},
}};

const OptionName* FindName(std::string_view name) {
    for (const OptionName& option : kNames) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

// The value of `option` that `mode` has; the first value when its bits match none.
std::string_view ValueOf(const OptionName& option, TrimMode mode) {
    for (const OptionValueName& value : option.values) {
        if ((mode & option.bits) == value.bits) return value.name;
    }
    return option.values.front().name;
}

bool TakeItem(std::string_view item, TrimMode& mode) {
    bool on = true;
    if (item.starts_with('+') || item.starts_with('-')) {
        on = item.front() == '+';
        item.remove_prefix(1);
    }
    std::string_view value;
    bool hasValue = false;
    if (const auto equals = item.find('='); equals != std::string_view::npos) {
        value = item.substr(equals + 1);
        item = item.substr(0, equals);
        hasValue = true;
    }
    const OptionName* option = FindName(item);
    if (option == nullptr) return false;
    if (option->values.empty()) {
        if (hasValue) return false;
        mode = on ? (mode | option->bits) : (mode & ~option->bits);
        return true;
    }
    if (!hasValue) {
        if (on) return false;  // "blank-lines" needs its value; "-blank-lines" keeps them
        mode &= ~option->bits;
        return true;
    }
    if (!on && hasValue) return false;
    for (const OptionValueName& choice : option->values) {
        if (choice.name == value) {
            mode = (mode & ~option->bits) | choice.bits;
            return true;
        }
    }
    return false;
}

}  // namespace

std::span<const OptionName> OptionNames() {
    return kNames;
}

std::optional<TrimMode> ParseOptionList(std::string_view list, std::string& problem) {
    TrimMode mode = kDefaultTrimMode;
    bool first = true;
    for (;;) {
        const auto comma = list.find(',');
        const std::string_view item = list.substr(0, comma);
        if (first && (item == "default" || item == "none")) {
            mode = item == "none" ? 0 : kDefaultTrimMode;
        } else if (item.empty() || !TakeItem(item, mode)) {
            problem = std::string(item);
            return std::nullopt;
        }
        first = false;
        if (comma == std::string_view::npos) return mode;
        list.remove_prefix(comma + 1);
    }
}

std::string DescribeOptionNames() {
    std::string lines;
    for (const OptionName& option : kNames) {
        std::string name(option.name);
        if (!option.values.empty()) {
            name += '=';
            for (std::size_t i = 0; i < option.values.size(); ++i) {
                if (i > 0) name += '|';
                name += option.values[i].name;
            }
        }
        const std::string_view byDefault =
            option.values.empty()
                ? ((kDefaultTrimMode & option.bits) != 0 ? text::kOptOn : text::kOptOff)
                : ValueOf(option, kDefaultTrimMode);
        char bits[16];
        std::snprintf(bits, sizeof bits, "0x%08X", static_cast<unsigned>(option.bits));
        char line[160];
        std::snprintf(line, sizeof line, "%-30s %s  %-7s ", name.c_str(), bits,
                      std::string(byDefault).c_str());
        (lines += line) += option.removes;
        lines += '\n';
    }
    return lines;
}

std::string OptionListOf(TrimMode mode) {
    std::string list = "none";
    for (const OptionName& option : kNames) {
        if (option.values.empty()) {
            if ((mode & option.bits) != 0) (list += ",+") += option.name;
        } else if ((mode & option.bits) != 0) {
            ((list += ',') += option.name) += '=';
            list += ValueOf(option, mode);
        }
    }
    return list;
}

}  // namespace trimlet::cli

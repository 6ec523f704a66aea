#pragma once
// The trim mode by names: every option bit of the trim mode has a name, and a list of
// names ("default,-between-tags,+between-inline-tags") makes a trim mode.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "engine/trim_mode.h"

namespace trimlet::cli {

// One named option. A switch has one bit; "blank-lines" chooses among values, each a set
// of bits within `bits` (none for "keep").
struct OptionValueName {
    std::string_view name;
    TrimMode bits;
};
struct OptionName {
    std::string_view name;
    TrimMode bits;                            // every bit the option governs
    std::span<const OptionValueName> values;  // empty for a switch
    std::string_view removes;                 // what it does, for "trimlet options"
};

// Every named option, in the order of their bits.
std::span<const OptionName> OptionNames();

// Makes a trim mode from a list of items separated by commas: "+name" or "name" switches
// an option on, "-name" off, "name=value" chooses a value ("-blank-lines" is "keep"). The
// first item may be "default" or "none", the mode the rest changes; without it the
// default mode. Nothing, with `problem` naming the item at fault, for an unknown name or
// value, an empty item, or "default"/"none" after the first item.
std::optional<TrimMode> ParseOptionList(std::string_view list, std::string& problem);

// The lines "trimlet options" prints: for each option its name (with its values), its bits
// in hexadecimal, whether the default mode has it, and what it does.
std::string DescribeOptionNames();

// The names of the options `mode` has switched on, as a list ParseOptionList takes back
// ("none,+collapse-spaces,blank-lines=delete"); bits without a name are left out.
std::string OptionListOf(TrimMode mode);

}  // namespace trimlet::cli

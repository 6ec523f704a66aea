#pragma once
// Generated corpora for the benchmarks: realistic pages (indented markup, inline scripts,
// comments, Japanese text) and script files, the same every run.

#include <cstddef>
#include <string>

#include "common/charset.h"

namespace trimlet::bench {

// HTML pages of at least `minBytes` in the given charset; CP932 and UTF-8 hold the same text.
std::string MakeHtmlCorpus(Charset charset, std::size_t minBytes);

// JavaScript of at least `minBytes` in the given charset.
std::string MakeScriptCorpus(Charset charset, std::size_t minBytes);

}  // namespace trimlet::bench

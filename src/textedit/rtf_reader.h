#pragma once

#include <string_view>

#include "textedit/rich_text.h"

// Reads RTF as Windows rich-edit controls write it: fonts, colours, sizes, the three effects,
// paragraph alignment, code-page and Unicode characters. Destinations and control words it has
// no use for are skipped. Malformed input (unbalanced braces, a cut-off end, stray bytes) gives
// the best text it can; input that is not RTF at all is taken as plain text.
RichText ReadRtf(std::string_view rtf, const CharFormat& defaultFormat = CharFormat());

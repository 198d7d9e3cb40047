#pragma once

#include <string>

class RichText;

// Puts one space between ">" and "<" wherever they meet, in the text itself, so that typed
// markup keeps its tags apart.
void SeparateAdjacentTags(RichText& text);

// The HTML a text item shows: a font tag wherever face, colour or size changes at a word,
// u, b and i tags where the effects switch, "<BR>" at each paragraph break, the words as
// typed (markup passes through). Characters outside ASCII are written as numeric character
// references, since the page declares no character set. Runs SeparateAdjacentTags first.
std::string convertToHtml(RichText& text, const std::string& itemId, bool justify);

#pragma once

#include <string>

// The word rules of the spell check, on 8-bit text.

// The 21 punctuation characters the check strips and trims.
inline constexpr const char* kSpellPunctuation = "\"',.!?-$@()#`:;_+=[]~";

// Strips punctuation from both ends of the word, pass after pass, as the check does before it
// looks a word up ("(see)" gives "see").
std::string StripPunctuation(std::string word);

// Words the check never asks about: shorter than 2 characters, one of the common words (case
// ignored), or a number with at most one ".".
bool IsStopWordOrNumber(const std::string& word);

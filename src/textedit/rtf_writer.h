#pragma once

#include <string>

class RichText;

// The text as RTF in the form a Windows rich-edit control streams it: header with the code
// page, font table, colour table, then the paragraphs with their alignment and the format
// changes of the characters. Characters of code page 1252 are written as \'hh, others as \u.
std::string WriteRtf(const RichText& text);

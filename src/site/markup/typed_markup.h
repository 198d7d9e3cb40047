#pragma once

#include <string>
#include <string_view>

// A text section's HTML as a page may carry it. The words of a section pass into the page as
// typed, so a user may format with a few tags by hand; everything else they type must show as
// the text it is and never run, nor close the section and push other items about.
//
// Kept as written: the tags the text editor writes (font, SPAN with its own ids, u, b, i, BR,
// the closing </p>) and a short list of formatting tags a user might type (a, big, em, h1-h6,
// hr, img, li, ol, p, s, small, span, strike, strong, sub, sup, ul) whose attributes are all of
// align, alt, border, color, face, height, href, size, src, style, target, title, width, an id
// of the editor's own form ("pagetextitem3~5"), whose addresses are relative or http, https,
// mailto, ftp or tel, and whose style sets only properties of the words and their box (colours,
// fonts, text, margins, padding, borders, sizes; never position, top or z-index). Every other
// "<" that a browser would read as markup (other tags, end tags of the page's own elements,
// scripts, comments, event attributes, javascript: links, a tag left open to the end, the end
// tag of an element shown as text) becomes "&lt;". Formatting tags left open are closed at the
// end, so they cannot spill into the items after the section.
//
// Text holding only such markup comes back byte for byte.
void AppendTypedMarkup(std::string& page, std::string_view typed);

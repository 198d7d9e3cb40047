#pragma once

#include <string>
#include <string_view>

// What a user typed, made safe for the place of a generated page or address it goes to. Text
// without the characters concerned comes back unchanged, so ordinary pages keep their bytes.

// Text content of an element (the title): "&" and "<" as references.
std::string HtmlText(std::string_view text);

// An attribute value delimited by the quote given (' or "): that quote and "&" as references.
std::string HtmlAttribute(std::string_view value, char quote);

// A file name as the argument of CSS url(...): as it is when CSS takes it bare, in double
// quotes with quotes and backslashes escaped when it holds blanks, parentheses, quotes,
// backslashes or control characters (my photo (1).jpg). Blanks alone name no picture and stay.
std::string CssUrlArgument(std::string_view path);

// The text inside a JavaScript string literal in either quotes, unable to end its script
// element early.
std::string ScriptStringContent(std::string_view text);

// The text as a JavaScript string literal in single quotes.
std::string ScriptString(std::string_view text);

// A name as one value of a request address: every byte but letters, digits and "-._~" as %XX
// ("my page.html" as "my%20page.html").
std::string PercentEncoded(std::string_view value);
// "%40" as "@": every "%" followed by two hexadecimal digits is the byte they name; any other
// "%" stays as it is.
std::string PercentDecoded(std::string_view text);

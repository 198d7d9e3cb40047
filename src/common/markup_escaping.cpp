#include "common/markup_escaping.h"
#include "common/hex_text.h"

#include <cctype>

std::string HtmlText(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
        if (c == '&') {
            result += "&amp;";
        } else if (c == '<') {
            result += "&lt;";
        } else {
            result += c;
        }
    }
    return result;
}

std::string HtmlAttribute(std::string_view value, char quote) {
    std::string result;
    result.reserve(value.size());
    for (const char c : value) {
        if (c == '&') {
            result += "&amp;";
        } else if (c == quote) {
            result += quote == '"' ? "&quot;" : "&#39;";
        } else {
            result += c;
        }
    }
    return result;
}

std::string CssUrlArgument(std::string_view path) {
    // Blanks alone name no picture.
    const bool blank = path.find_first_not_of(' ') == std::string_view::npos;
    bool bare = true;
    for (const char c : blank ? std::string_view() : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F || c == '(' || c == ')' || c == '\'' || c == '"' ||
            c == '\\') {
            bare = false;
        }
    }
    if (bare) {
        return std::string(path);
    }
    std::string quoted = "\"";
    for (const char c : path) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
            quoted += c;
        } else if (c == '\n' || c == '\r') {
            quoted += c == '\n' ? "\\a " : "\\d ";
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string ScriptStringContent(std::string_view text) {
    std::string literal;
    literal.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                literal += "\\\\";
                break;
            case '\'':
                literal += "\\'";
                break;
            case '"':
                literal += "\\\"";
                break;
            case '<':
                literal += "\\x3C";
                break;
            case '\n':
                literal += "\\n";
                break;
            case '\r':
                literal += "\\r";
                break;
            default:
                literal += c;
        }
    }
    return literal;
}

std::string ScriptString(std::string_view text) {
    return "'" + ScriptStringContent(text) + "'";
}

std::string PercentEncoded(std::string_view value) {
    std::string encoded;
    encoded.reserve(value.size());
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
            encoded += c;
        } else {
            encoded += '%';
            AppendHexByte(encoded, byte, true);
        }
    }
    return encoded;
}

std::string PercentDecoded(std::string_view text) {
    std::string decoded;
    decoded.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = i + 2 < text.size() ? HexDigitValue(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigitValue(text[i + 2]) : -1;
        if (text[i] == '%' && high >= 0 && low >= 0) {
            decoded += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

#pragma once

#include <string>
#include <string_view>
#include <vector>

// Records in this program are texts joined by a separator ("|" between records, "^" inside a
// picture or text-properties record). Fields are counted from 0.

// Field n: the text after the n-th separator up to the next one or the end; empty when there
// is no such field.
std::string FieldAt(std::string_view text, int n, std::string_view separator);

// One more than the number of separators, so empty text has one field.
int FieldCount(std::string_view text, std::string_view separator);

// Every field in order: FieldAt(text, i, separator) for i from 0 to FieldCount - 1, in one pass.
std::vector<std::string> SplitFields(std::string_view text, std::string_view separator);

// The fields joined with the separator between each two: SplitFields the other way.
std::string JoinFields(const std::vector<std::string>& fields, std::string_view separator);

// The entry at the index of a list of fields; empty past its end.
std::string EntryAt(const std::vector<std::string>& list, std::size_t index);

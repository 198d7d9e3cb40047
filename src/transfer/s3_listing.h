#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// A bucket store's answers are read as the little XML they are: elements found by name, their
// text with the five entity references undone. A store is someone else's server: nothing in an
// answer is taken for more than text.

// The text of each element of that name in the XML, in order.
std::vector<std::string> Elements(const std::string& xml, const std::string& name);

std::string XmlUnescaped(std::string text);

// One page of a bucket's listing: each key with its ETag (quotes taken off), and the token of
// the next page when the listing goes on.
struct S3ListingPage {
    std::map<std::string, std::string> etags;
    std::optional<std::string> next;
};
S3ListingPage ReadS3Listing(const std::string& xml);

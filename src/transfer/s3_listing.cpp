#include "transfer/s3_listing.h"

#include <algorithm>
#include <utility>

// The text of each element of that name in the XML, in order.
std::vector<std::string> Elements(const std::string& xml, const std::string& name) {
    std::vector<std::string> values;
    const std::string open = "<" + name + ">";
    const std::string close = "</" + name + ">";
    for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at)) {
        const std::size_t end = xml.find(close, at);
        if (end == std::string::npos) {
            break;
        }
        values.push_back(xml.substr(at + open.size(), end - at - open.size()));
        at = end;
    }
    return values;
}

std::string XmlUnescaped(std::string text) {
    const std::pair<const char*, const char*> references[] = {
        {"&quot;", "\""}, {"&apos;", "'"}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}};
    for (const auto& [reference, character] : references) {
        for (std::size_t at = text.find(reference); at != std::string::npos;
             at = text.find(reference, at + 1)) {
            text.replace(at, std::string(reference).size(), character);
        }
    }
    return text;
}

S3ListingPage ReadS3Listing(const std::string& xml) {
    S3ListingPage page;
    const std::vector<std::string> keys = Elements(xml, "Key");
    const std::vector<std::string> tags = Elements(xml, "ETag");
    for (std::size_t i = 0; i < keys.size() && i < tags.size(); ++i) {
        std::string tag = XmlUnescaped(tags[i]);
        tag.erase(std::remove(tag.begin(), tag.end(), '"'), tag.end());
        page.etags[XmlUnescaped(keys[i])] = tag;
    }
    const std::vector<std::string> next = Elements(xml, "NextContinuationToken");
    if (!next.empty()) {
        page.next = XmlUnescaped(next[0]);
    }
    return page;
}

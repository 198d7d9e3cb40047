#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "page/page_record.h"

// A picture offered in a modern format: its IMG inside a <picture> whose sources come first.
struct WebPictureMarkup {
    // The <source> elements; empty for a picture offered as it is (no <picture> then).
    std::string sources;
    // The IMG's SRC; empty for the picture's usual address.
    std::string source;
    // Added to the IMG (" loading=\"lazy\"").
    std::string attributes;
};

// How a writer wants the items of the page written.
struct ItemWalkOptions {
    bool links = false;
    bool scalablePictures = false;
    bool pictureDivsInDragList = false;
    bool skipDeletedPictures = false;
    // The address a picture's SRC gives for its path: a copy's name, for a page that has copies
    // beside it; the path itself when not set.
    std::function<std::string(const std::string&)> pictureAddress;
    // Pictures with a description get it as their alternative text.
    bool pictureDescriptions = false;
    // Applied to a text item's record before it is written.
    std::function<std::string(const std::string&)> rewriteTextRecord;
    // The language switcher's links for the page; not set: a placeholder that names it.
    std::function<std::string()> languageSwitcher;
    // How a picture is offered to visitors, from its name (with "~"), path and record; not
    // set: the IMG alone at the picture's address.
    std::function<WebPictureMarkup(const std::string&, const std::string&, const std::string&)>
        webPicture;
};

struct ItemWalkResult {
    std::string markup;
    // Starts with ","; every written item adds its quoted name and a comma.
    std::string dragList = ",";
    int itemCount = 0;
    // Where each item's markup ends in the markup, in order.
    std::vector<std::size_t> itemEnds;
};

// The number a record's style gives a property ("left: 150px", "left:150px" or, as older
// versions wrote it, "LEFT: 150px"; the property named in lower case); empty when none. "left"
// is not read from "padding-left" or "border-left-width".
std::string StyleNumber(const std::string& style, const std::string& property);
// Where that number stands in the style: its first character and length; false when the style
// gives the property none.
bool StyleNumberSpan(std::string_view style, std::string_view property, std::size_t& start,
                     std::size_t& length);
// That number's value; 0 when the style gives the property none.
double StyleNumberValue(std::string_view style, std::string_view property);

// The record with the property's number replaced by the value; unchanged when its style gives
// the property none.
std::string WithStyleNumber(std::string record, std::string_view property,
                            const std::string& value);

// Turns the styles data and the lists into item markup, record by record: the text items and
// then the pictures whose entries contain the record's id.
ItemWalkResult WalkItems(const PageRecord& page, const ItemWalkOptions& options);

#pragma once

#include <algorithm>
#include <string>

#include "page/page_record.h"

// A container page of the given number of items, half text sections and half pictures, with
// every list filled as the designer fills it; the items stand four to a row, as a user lays
// out a long page.
inline PageRecord PageWithItems(int items) {
    PageRecord page;
    page.pageWidth = "800";
    const int rows = (items + 3) / 4;
    page.pageContainer =
        PageContainerMarkup("800", std::to_string(std::max(3000, rows * 100 + 50)));
    for (int i = 0; i < items; ++i) {
        if (!page.stylesData.empty()) {
            page.stylesData += '|';
        }
        const std::string top = std::to_string(10 + i / 4 * 100);
        const std::string left = std::to_string(10 + i % 4 * 195);
        if (i % 2 == 0) {
            const std::string id = TextId(i + 1);
            page.stylesData += "<div id='" + id + "' style='position: absolute; top: " + top +
                               "px; left: " + left + "px; width: 180px; visibility: visible;'>";
            page.texts.push_back(id + "<P><FONT face=Arial size=2>Some text of section " +
                                 std::to_string(i) + " with a few words in it.</FONT></P>");
            page.richTexts.push_back(
                "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 Some text "
                "of section " +
                std::to_string(i) + " with a few words in it.\\par}");
            page.textProperties.push_back(id + "^#FFFFFF^^#008000^1px^NOJUSTIFY");
        } else {
            const std::string name = PictureName(i);
            page.stylesData += "<div id='d" + name + "' style='position:absolute;top:" + top +
                               "px;left:" + left + "px;background:transparent;Z-INDEX:3'>^120^80";
            page.pictures.push_back(name + "/home/user/pictures/photo" + std::to_string(i) +
                                    ".jpg");
            page.links.push_back(i % 4 == 1 ? "http://example.com/" : "");
        }
    }
    return page;
}

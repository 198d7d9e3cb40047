#pragma once

#include <string>
#include <utility>
#include <vector>

// A site menu: the folder's pages as links, in an order and under labels the user chose. It
// is a section whose rich text is this definition instead of formatted words; the markup is
// made anew whenever a page is written, so each page marks itself and the pages that came or
// went since are followed.
struct SiteMenu {
    // Across a line, or down a column.
    bool across = true;
    std::string face = "Arial";
    int size = 12;
    std::string colour = "#000000";
    std::string currentColour = "#C00000";
    // Pages added to the folder later join the menu at its end, under their titles.
    bool newPages = true;
    // The pages shown, in order: file name and label.
    std::vector<std::pair<std::string, std::string>> pages;
    // Pages the user took out: they stay out, whether or not later pages join.
    std::vector<std::string> leftOut;
};

// The folder's pages a menu may show: file name and title.
using FolderPages = std::vector<std::pair<std::string, std::string>>;

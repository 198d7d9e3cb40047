#pragma once

#include <optional>
#include <string>
#include <vector>

// A starter site as its author writes it: one text file of blocks, described in
// docs/starters.md. The builder lays it out into stored designs and a site file.

// One item of a row: a section of words, or a picture, and the twelfths of the row it takes.
struct StarterColumn {
    enum class Kind { Text, Picture };
    Kind kind = Kind::Text;
    int span = 12;
    // A section's look: "plain", "band" or "accent".
    std::string look = "plain";
    // A section's lines stand centred.
    bool centred = false;
    // A section's lines as written (blank lines part paragraphs).
    std::vector<std::string> lines;
    // A picture's drawing and its description ("-": it only decorates).
    std::string picture;
    std::string description;
    // How phones show it: "hide", "full" (a picture as wide as the phone), "larger", "smaller".
    std::vector<std::string> phone;
};

using StarterRow = std::vector<StarterColumn>;

struct StarterPage {
    std::string file;
    std::string title;
    // Its label in the site menu; the title when none.
    std::string menuLabel;
    std::string description;
    std::vector<StarterRow> rows;
};

// A picture drawn by the builder: its size and its drawing commands, one a line.
struct StarterPicture {
    std::string name;
    int width = 0;
    int height = 0;
    std::vector<std::string> commands;
};

struct StarterSource {
    std::string name;
    std::string kind;
    std::string line;
    std::string bodyFont = "Lato";
    std::string headingFont = "Lato";
    std::string background = "#FFFFFF";
    std::string text = "#222222";
    std::string accent = "#1F4E79";
    std::string band = "#F2F2F2";
    // The words on an accent section.
    std::string onAccent = "#FFFFFF";
    std::vector<StarterRow> header;
    std::vector<StarterRow> footer;
    bool menu = false;
    std::vector<StarterPage> pages;
    std::vector<StarterPicture> pictures;
};

// The starter the text describes; nothing, with the line and what is wrong there, when it is
// not one.
std::optional<StarterSource> ReadStarterSource(const std::string& text, std::string& error);

#pragma once

#include <string>

#include "site/starter_source.h"

class PageStore;

// Lays a starter out as the designer would have made it by hand: its shared header, menu and
// footer, its pages of rows on a 960-pixel page in twelve columns, each section's words in the
// editor's own formatting (so the text editor opens them as they look), its pictures drawn
// into the picture folder, its phone choices, and options that make a site of today (phone
// layout, web pictures, fonts that travel). False, with the reason, when a picture cannot be
// drawn or a design cannot be stored.
bool LayOutStarter(const StarterSource& source, PageStore& store, const std::string& siteFolder,
                   const std::string& pictureFolder, std::string& error);

// A picture of the starter's home page as laid out, a fifth of its size, for the gallery of
// starters; false, with the reason, when it cannot be written.
bool DrawStarterThumbnail(const StarterSource& source, const std::string& pictureFolder,
                          const std::string& pngFile, std::string& error);

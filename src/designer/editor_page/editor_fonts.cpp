#include "designer/editor_page/editor_fonts.h"

#include "store/page_store.h"

std::string EditorFonts::style(const PageRecord& page) {
    if (page.directory.empty() || !store_.siteOptions().load(page.directory).siteFonts) {
        return std::string();
    }
    return FontFaceStyle(fonts_.prepare(store_, page.directory, &page).fonts,
                         [](const TravellingFont& font) {
                             return std::string(kFontCacheFolder) + "/" + font.cachedName;
                         });
}

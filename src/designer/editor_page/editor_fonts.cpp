#include "designer/editor_page/editor_fonts.h"

#include "store/page_store.h"

std::string EditorFonts::style(const PageRecord& page) {
    if (page.directory.empty()) {
        return std::string();
    }
    const long long generation = store_.generation();
    if (page.directory != folder_ || generation != generation_) {
        folder_ = page.directory;
        generation_ = generation;
        siteFonts_ = store_.siteOptions().load(folder_).siteFonts;
        stored_ = siteFonts_ ? FolderFaces(store_, folder_) : FaceCharacters();
    }
    if (!siteFonts_) {
        return std::string();
    }
    FaceCharacters faces = stored_;
    AddPageFaces(page, faces);
    return FontFaceStyle(fonts_.prepare(faces).fonts, [](const TravellingFont& font) {
        return std::string(kFontCacheFolder) + "/" + font.cachedName;
    });
}

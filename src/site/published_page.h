#pragma once

#include <set>
#include <string>

#include "page/page_record.h"
#include "platform/site_options.h"
#include "site/language_versions.h"
#include "site/picture_copies.h"
#include "site/site_fonts.h"

class PageStore;
class Prompts;

// The upload variant has no script and no onload handler: the hosting service serves the page
// as it is. The preview variant is the saved page as it reads from the working folder before
// anything is copied: pictures by their full paths, backgrounds from the backgrounds folder.
// The shaping variant is the preview of the phone view: items hidden on phones shown faded.
enum class PublishVariant { Save, Upload, Preview, Shaping };

// Turns a page record into the finished stand-alone page and puts copies of every picture it
// uses beside it in the site folder.
class PagePublisher {
  public:
    // Pictures go beside the page as `SiteCopies` names them; a copy that fails is told.
    PagePublisher(std::string workingFolder, Prompts& prompts);

    // The pictures of the picture list and the two background pictures.
    void copyPictures(const PageRecord& page, const std::string& siteFolder);
    // Pages of a phone-friendly site folder also lay out in one column on narrow screens.
    void setSiteOptions(const SiteOptions& options) { site_ = options; }
    // The fonts the site's pages bring along, for a site whose options ask for them.
    void setSiteFonts(SiteFontSet fonts) { fonts_ = std::move(fonts); }
    // The folder's options from the store, and the fonts of every page stored there (and of
    // the page given, which may hold more than its stored design) when the options ask.
    void setUpFor(PageStore& store, const std::string& folder, const PageRecord* current = nullptr);
    // The titles of the folder's pages in its other languages, for their menus.
    void setTranslatedTitles(TranslatedTitles titles) { titles_ = std::move(titles); }
    const SiteOptions& siteOptions() const { return site_; }
    const TranslatedTitles& translatedTitles() const { return titles_; }
    const SiteFontSet& siteFonts() const { return fonts_; }
    // The page text; text-item background pictures are copied while it is built (not for the
    // preview).
    std::string pageText(const PageRecord& page, PublishVariant variant,
                         const std::string& siteFolder);
    // Copies the pictures, builds the text and writes it to the site folder under the file
    // name; false when the file could not be written.
    bool publish(const PageRecord& page, PublishVariant variant, const std::string& siteFolder,
                 const std::string& fileName, std::string& text);

  private:
    void copyPictures(const PageRecord& page, SiteCopies& copies);
    std::string pageText(const PageRecord& page, PublishVariant variant, SiteCopies& copies);
    // The name a background picture has beside the published page (copied there when asked).
    std::string background(const std::string& name, SiteCopies& copies, bool copy);
    std::string withLocalBackground(const std::string& record, SiteCopies& copies);
    // Tells the user a picture the page shows could not be copied beside it.
    void copied(bool done, const std::string& picture);
    // Each other language's version of the page, in its folder beside the main pages.
    bool writeLanguageVersions(const PageRecord& page, const std::string& siteFolder,
                               const std::string& fileName, SiteCopies& copies);
    // The font rules of the page's head, each file where the variant finds it.
    std::string fontHead(const PageRecord& page, PublishVariant variant) const;

    std::string workingFolder_;
    Prompts& prompts_;
    SiteOptions site_;
    SiteFontSet fonts_;
    FolderFonts folderFonts_;
    TranslatedTitles titles_;
    // The language of the version being written (empty: the main one), where its addresses of
    // the site's files start from, and its sections shown in the main language.
    std::string language_;
    std::string prefix_;
    std::set<std::string> untranslated_;
};

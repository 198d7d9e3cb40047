#include "site/published_page.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

#include "common/character_references.h"
#include "common/markup_escaping.h"
#include "common/paths.h"
#include "common/text_case.h"
#include "common/text_file.h"
#include "common/text_search.h"
#include "files/content_hash.h"
#include "page/item_ids.h"
#include "platform/prompts.h"
#include "site/markup/item_walk.h"
#include "site/phone/phone_layout.h"
#include "site/picture_copies.h"
#include "site/picture_loading.h"
#include "site/site_files.h"
#include "site/web_picture_set.h"
#include "store/page_store.h"

namespace {

// Older browsers counted the padding of a div into its size; the script evens that out.
constexpr const char* kCompatibilityScript =
    "\n<script Language='Javascript'>"
    "\nfunction browserCompatibility()"
    "\n{"
    "\nvar browserName = navigator.appName;"
    "\nif (browserName != \"Microsoft Internet Explorer\")"
    "\n{"
    "\n//do CSS pixel adjustments for Firefox compatibility"
    "\nvar divlist = document.all.tags('div');"
    "\nfor(var i = 0; i < divlist.length;i++)"
    "\n{"
    "\nif(divlist[i].id != 'pagecontainer')"
    "\n{"
    "\nnewWidth = parseInt(divlist[i].style.width)  - 20;"
    "\ndivlist[i].style.width = newWidth + \"px\";"
    "\nnewHeight = parseInt(divlist[i].style.height)  - 20;"
    "\ndivlist[i].style.height = newHeight + \"px\";"
    "\n}"
    "\n}"
    "\n}"
    "\n}</script>";

constexpr const char* kBackgroundsUrl = "url(backgrounds/";
constexpr const char* kQuotedBackgroundsUrl = "url(\"backgrounds/";
constexpr const char* kBackgroundsFolder = "backgrounds/";
constexpr std::size_t kShortestPictureName = 4;
constexpr std::size_t kShortestBodyPicture = 5;
constexpr std::size_t kShortestContainerPicture = 2;
constexpr std::size_t kShortestContainerEnd = 4;

// A name inside a quoted CSS string, its backslash escapes taken away.
std::string CssUnescaped(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
        }
        plain += text[i];
    }
    return plain;
}

// Background pictures lie beside a published page; the preview finds them where the working
// folder keeps them.
using BackgroundAddress = std::function<std::string(const std::string&)>;

std::string BodyBackground(const PageRecord& page, const BackgroundAddress& address) {
    if (page.backImage.size() < kShortestBodyPicture) {
        return "bgcolor = '" + HtmlAttribute(page.backColor, '\'') + "' ";
    }
    return "background = '" + HtmlAttribute(address(page.backImage), '\'') + "' ";
}

std::string ContainerStart(const PageRecord& page, const BackgroundAddress& address) {
    std::string start = page.pageContainer;
    if (page.hasContainer()) {
        start += page.pageImage.size() < kShortestContainerPicture
                     ? "background-color:" + HtmlAttribute(page.pageColor, '\'') + "'>"
                     : "background-Image:url(" +
                           HtmlAttribute(CssUrlArgument(address(page.pageImage)), '\'') + ")'>";
    }
    return start;
}

// Every page of a site folder as it reads now: what its copies may be referred to by.
std::vector<std::string> PageTextsIn(const std::string& siteFolder) {
    std::vector<std::string> texts;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(siteFolder, error)) {
        const std::string name = LowerCase(entry.path().filename().string());
        if (entry.is_regular_file(error) && name.size() > 4 &&
            (name.compare(name.size() - 5, 5, ".html") == 0 ||
             name.compare(name.size() - 4, 4, ".htm") == 0)) {
            texts.push_back(ReadTextFile(entry.path().string()).value_or(std::string()));
        }
    }
    return texts;
}

}  // namespace

PagePublisher::PagePublisher(std::string workingFolder, Prompts& prompts)
    : workingFolder_(std::move(workingFolder)), prompts_(prompts), folderFonts_(workingFolder_) {}

void PagePublisher::copied(bool done, const std::string& picture) {
    if (!done) {
        prompts_.messageBox("The picture " + picture +
                                " could not be copied beside the page: the page shows it only "
                                "once it is there.",
                            "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Warning);
    }
}

std::string PagePublisher::background(const std::string& name, SiteCopies& copies, bool copy) {
    // Names this short were never copied.
    if (name.size() <= kShortestPictureName) {
        return name;
    }
    const std::string picture = JoinPath(JoinPath(workingFolder_, "backgrounds"), name);
    if (copy) {
        copied(copies.copy(picture, SiteCopies::Naming::Kept), picture);
    }
    return copies.nameOf(picture, SiteCopies::Naming::Kept);
}

void PagePublisher::copyPictures(const PageRecord& page, const std::string& siteFolder) {
    SiteCopies copies(workingFolder_, siteFolder);
    copyPictures(page, copies);
}

void PagePublisher::copyPictures(const PageRecord& page, SiteCopies& copies) {
    // A site of web pictures gets an original only where a page refers to it (one that could
    // not be prepared): the walk copies it then. A camera's original carries its owner and place.
    if (site_.webPictures) {
        background(page.backImage, copies, true);
        background(page.pageImage, copies, true);
        return;
    }
    for (const std::string& entry : page.pictures) {
        if (entry == kDeletedPicture) {
            continue;
        }
        const std::size_t tilde = entry.find('~');
        if (tilde != std::string::npos && tilde + 2 < entry.size()) {
            copied(copies.copy(entry.substr(tilde + 1)), entry.substr(tilde + 1));
        }
    }
    background(page.backImage, copies, true);
    background(page.pageImage, copies, true);
}

// A text item's background picture is taken from the working folder's backgrounds; on the
// published page it lies beside the page.
std::string PagePublisher::withLocalBackground(const std::string& record, SiteCopies& copies) {
    // The browser writes the address in quotes (url("backgrounds/a.gif")).
    std::size_t url = record.find(kBackgroundsUrl);
    const bool quoted = url == std::string::npos;
    if (quoted) {
        url = record.find(kQuotedBackgroundsUrl);
    }
    if (url == std::string::npos) {
        return record;
    }
    const std::size_t folderStart = url + (quoted ? 5 : 4);
    const std::size_t nameStart = folderStart + std::string(kBackgroundsFolder).size();
    const std::size_t nameEnd =
        quoted ? record.find("\")", nameStart) : record.find(')', nameStart);
    const std::string name = nameEnd == std::string::npos
                                 ? std::string()
                                 : record.substr(nameStart, nameEnd - nameStart);
    std::string rewritten = record;
    const std::string plain = quoted ? CssUnescaped(name) : name;
    const std::string copy = background(plain, copies, true);
    // Numbered to spare another file: "-N" goes before the extension in the text too.
    if (copy != plain && nameEnd != std::string::npos) {
        const std::size_t dot = plain.rfind('.');
        const std::string numbered =
            copy.substr(dot == std::string::npos ? plain.size() : dot, copy.size() - plain.size());
        const std::size_t rawDot = name.rfind('.');
        rewritten.insert(rawDot == std::string::npos ? nameEnd : nameStart + rawDot, numbered);
    }
    rewritten.replace(folderStart, std::string(kBackgroundsFolder).size(), prefix_);
    return rewritten;
}

std::string PagePublisher::pageText(const PageRecord& page, PublishVariant variant,
                                    const std::string& siteFolder) {
    SiteCopies copies(workingFolder_, siteFolder);
    return pageText(page, variant, copies);
}

std::string PagePublisher::pageText(const PageRecord& page, PublishVariant variant,
                                    SiteCopies& copies) {
    const bool preview = variant == PublishVariant::Preview || variant == PublishVariant::Shaping;
    // A site that asked for anything of today's web gets a page without the old script, whose
    // call throws in every current browser, and with its character set declared.
    const bool current = site_.phoneFriendly || site_.webPictures || !site_.siteAddress.empty() ||
                         site_.siteFonts || SeveralLanguages(site_);
    // Every version of a page of several languages says its language.
    const bool languages = SeveralLanguages(site_) && variant == PublishVariant::Save;
    const std::string version = language_.empty() ? MainLanguage(site_) : language_;
    std::optional<std::string> lang = page.language;
    if (languages && (!language_.empty() || !lang)) {
        lang = version;
    }
    std::string text =
        lang ? "<html lang='" + HtmlAttribute(*lang, '\'') + "'>" : std::string("<html>");
    text += current ? "<head><meta charset='utf-8'><title>" : "<head><title>";
    text += AsciiWithCharacterReferences(HtmlText(page.pageTitle)) + "</title>";
    // Browsers ask every site for its icon: without one, say there is none rather than have
    // the missing file logged as an error.
    if (current && !std::filesystem::exists(JoinPath(copies.siteFolder(), "favicon.ico"))) {
        text += "<link rel='icon' href='data:,'>";
    }
    if (page.description) {
        text += "<meta name='description' content='" +
                AsciiWithCharacterReferences(HtmlAttribute(*page.description, '\'')) + "'>";
    }
    if (languages) {
        text += AlternateLinks(site_, page.fileName, version);
    }
    if (site_.phoneFriendly) {
        text += PhoneHead(
            page, variant == PublishVariant::Shaping ? PhoneShown::Shaping : PhoneShown::Published);
    }
    text += fontHead(page, variant);
    std::optional<WebPictureSet> web =
        site_.webPictures && !preview
            ? std::optional<WebPictureSet>(std::in_place, workingFolder_, page, site_.phoneFriendly)
            : std::nullopt;
    if (web) {
        // Camera photos take a while: the work is told once it passes half a second.
        const auto start = std::chrono::steady_clock::now();
        bool told = false;
        web->prepareAll(page, [&](std::size_t done, std::size_t total) {
            if (told || std::chrono::steady_clock::now() - start > std::chrono::milliseconds(500)) {
                told = true;
                prompts_.taskProgress("Preparing pictures for the web", done, total);
            }
        });
    }
    if (!site_.siteAddress.empty() && !preview) {
        const std::string largest = LargestPicture(page);
        std::string picture;
        for (const std::string& entry : page.pictures) {
            if (!largest.empty() && StartsWith(entry, largest)) {
                const std::string path = entry.substr(largest.size());
                picture =
                    web ? web->fallbackName(largest, path, page, copies) : copies.nameOf(path);
                break;
            }
        }
        // A language's version lies in its folder; the pictures lie at the root.
        text += AddressedHead(
            language_.empty() ? site_.siteAddress : site_.siteAddress + language_ + "/",
            page.fileName, page.pageTitle, page.description.value_or(""),
            picture.empty() ? picture : prefix_ + picture);
    }
    // Beside a published page under the copy's name; the preview finds them in the working
    // folder.
    const BackgroundAddress backgrounds = [&](const std::string& name) {
        return preview ? kBackgroundsFolder + name : prefix_ + background(name, copies, false);
    };
    if (variant == PublishVariant::Upload || current) {
        text += "</head><body " + BodyBackground(page, backgrounds) + ">";
    } else {
        text += kCompatibilityScript;
        text += "</head><body " + BodyBackground(page, backgrounds) +
                "onload='browserCompatibility()'>";
    }
    text += ContainerStart(page, backgrounds);

    ItemWalkOptions options;
    options.links = true;
    if (SeveralLanguages(site_)) {
        options.languageSwitcher = [&] {
            return LanguageSwitcherMarkup(site_, page.fileName,
                                          language_.empty() ? MainLanguage(site_) : language_);
        };
    }
    options.pictureDescriptions = true;
    if (!preview) {
        options.pictureAddress = [&](const std::string& path) {
            if (web) {
                copied(copies.copy(path), path);
            }
            return prefix_ + copies.nameOf(path);
        };
        options.rewriteTextRecord = [&](const std::string& record) {
            std::string rewritten = withLocalBackground(record, copies);
            // A section shown in the main words for want of a translation says so.
            const std::size_t start = rewritten.find("<div ");
            if (!untranslated_.empty() && start != std::string::npos &&
                untranslated_.count(std::string(RecordIdIn(rewritten))) != 0) {
                rewritten.insert(start + 5,
                                 "lang='" + HtmlAttribute(MainLanguage(site_), '\'') + "' ");
            }
            return rewritten;
        };
    }
    if (web) {
        options.webPicture = [&](const std::string& name, const std::string& path,
                                 const std::string& record) {
            return web->markup(name, path, record, copies, prefix_);
        };
    }
    text += WalkItems(page, options).markup;
    if (web) {
        for (const std::string& refusal : web->refusals()) {
            prompts_.messageBox("The picture " + refusal +
                                    ". It is published as it is, without copies prepared for "
                                    "the web.",
                                "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Warning);
        }
    }

    if (page.pageContainer.size() > kShortestContainerEnd) {
        text += "</div></CENTER>";
    }
    return text + "</body></html>";
}

bool PagePublisher::writeLanguageVersions(const PageRecord& page, const std::string& siteFolder,
                                          const std::string& fileName, SiteCopies& copies) {
    bool written = true;
    for (std::size_t i = 1; i < site_.languages.size(); ++i) {
        language_ = site_.languages[i];
        prefix_ = "../";
        untranslated_.clear();
        const PageRecord version = InLanguage(page, language_, titles_, untranslated_);
        const std::string folder = JoinPath(siteFolder, language_);
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        written = WriteTextFile(JoinPath(folder, fileName),
                                pageText(version, PublishVariant::Save, copies)) &&
                  written;
    }
    language_.clear();
    prefix_.clear();
    untranslated_.clear();
    return written;
}

void PagePublisher::setUpFor(PageStore& store, const std::string& folder,
                             const PageRecord* current) {
    site_ = store.siteOptions().load(folder);
    fonts_ = SiteFontSet();
    titles_ = SeveralLanguages(site_) ? store.translatedTitles(folder) : TranslatedTitles();
    if (site_.siteFonts) {
        fonts_ = folderFonts_.prepare(store, folder, current);
    }
}

std::string PagePublisher::fontHead(const PageRecord& page, PublishVariant variant) const {
    if (!site_.siteFonts || fonts_.fonts.empty()) {
        return std::string();
    }
    switch (variant) {
        case PublishVariant::Save: {
            // The page's own faces come first, before anything asks for them.
            std::string head;
            for (const TravellingFont& font : FontsOfPage(fonts_, page)) {
                head += "<link rel='preload' href='" +
                        HtmlAttribute(prefix_ + font.fileName, '\'') +
                        "' as='font' type='font/woff2' crossorigin>";
            }
            return head + FontFaceStyle(fonts_.fonts, [this](const TravellingFont& font) {
                       return prefix_ + font.fileName;
                   });
        }
        case PublishVariant::Upload:
            // The hosting service keeps pages and pictures only: the fonts travel inside.
            return FontFaceStyle(fonts_.fonts, [](const TravellingFont& font) {
                return "data:font/woff2;base64," +
                       Base64Of(ReadTextFile(font.cachedPath).value_or(std::string()));
            });
        case PublishVariant::Preview:
        case PublishVariant::Shaping:
            break;
    }
    return FontFaceStyle(fonts_.fonts, [](const TravellingFont& font) {
        return std::string(kFontCacheFolder) + "/" + font.cachedName;
    });
}

bool PagePublisher::publish(const PageRecord& page, PublishVariant variant,
                            const std::string& siteFolder, const std::string& fileName,
                            std::string& text) {
    // One set of copies for both: each picture is named and compared once.
    SiteCopies copies(workingFolder_, siteFolder);
    copyPictures(page, copies);
    text = pageText(page, variant, copies);
    if (!WriteTextFile(JoinPath(siteFolder, fileName), text)) {
        return false;
    }
    if (variant == PublishVariant::Save && SeveralLanguages(site_) &&
        !writeLanguageVersions(page, siteFolder, fileName, copies)) {
        return false;
    }
    if (site_.webPictures && variant == PublishVariant::Save) {
        copies.removeUnreferenced(PageTextsIn(siteFolder));
    }
    if (site_.siteFonts && variant == PublishVariant::Save) {
        if (!PlaceFonts(fonts_.fonts, siteFolder)) {
            prompts_.messageBox("The site's font files could not all be written to " + siteFolder +
                                    ". Visitors see their own faces instead.",
                                "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Warning);
        }
        RemoveUnreferencedFonts(siteFolder, fonts_.fonts, [&] { return PageTextsIn(siteFolder); });
    }
    if (!site_.siteAddress.empty() && variant != PublishVariant::Preview &&
        !WriteSiteFiles(siteFolder, site_.siteAddress, site_.languages)) {
        prompts_.messageBox(
            "sitemap.xml and robots.txt could not be written to " + siteFolder + ".",
            "QUILLORA MESSAGE", MessageButtons::Ok, MessageIcon::Warning);
    }
    return true;
}

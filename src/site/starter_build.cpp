#include "site/starter_build.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>

#include "common/paths.h"
#include "page/page_record.h"
#include "page/phone_choices.h"
#include "page/site_items.h"
#include "page/site_menu.h"
#include "platform/site_options.h"
#include "site/starter_pictures.h"
#include "store/page_store.h"
#include "textedit/html_conversion.h"
#include "textedit/rich_text.h"
#include "textedit/rtf_writer.h"
#include "textedit/text_editor_state.h"

namespace {

constexpr int kPageWidth = 960;
constexpr int kMargin = 24;
constexpr int kGutter = 24;
constexpr int kColumn = (kPageWidth - 2 * kMargin - 11 * kGutter) / 12;
constexpr int kPadding = 16;
constexpr int kRowGap = 32;
constexpr int kMenuHeight = 56;
constexpr int kBodySize = 12;
constexpr int kHeadingSize = 24;
constexpr int kSubheadingSize = 15;

int SpanWidth(int span) {
    return kColumn * span + kGutter * (span - 1);
}

CharFormat Format(const std::string& face, int size, const std::string& colour, bool bold) {
    CharFormat format;
    format.face = face;
    format.size = size;
    const BackgroundRgb rgb = BackgroundColourOf(colour);
    format.red = static_cast<unsigned char>(rgb.red);
    format.green = static_cast<unsigned char>(rgb.green);
    format.blue = static_cast<unsigned char>(rgb.blue);
    format.bold = bold;
    return format;
}

// A paragraph's words with **bold** and *italic* runs.
void AppendRuns(RichText& text, const std::string& words, CharFormat format) {
    std::size_t at = 0;
    while (at < words.size()) {
        const bool bold = words.compare(at, 2, "**") == 0;
        const bool italic = !bold && words[at] == '*';
        if (bold || italic) {
            const std::string mark = bold ? "**" : "*";
            const std::size_t end = words.find(mark, at + mark.size());
            if (end != std::string::npos) {
                CharFormat marked = format;
                marked.bold = marked.bold || bold;
                marked.italic = italic;
                text.insert(text.length(), words.substr(at + mark.size(), end - at - mark.size()),
                            marked);
                at = end + mark.size();
                continue;
            }
        }
        const std::size_t next = std::min(words.find('*', at + 1), words.size());
        text.insert(text.length(), words.substr(at, next - at), format);
        at = next;
    }
}

// A line of a section: "# " starts a heading, "## " a smaller one; its words and their size.
struct Line {
    std::string_view words;
    int size = kBodySize;
    bool heading = false;
};

Line LineOf(std::string_view line) {
    if (line.rfind("## ", 0) == 0) {
        return {line.substr(3), kSubheadingSize, true};
    }
    if (line.rfind("# ", 0) == 0) {
        return {line.substr(2), kHeadingSize, true};
    }
    return {line, kBodySize, false};
}

// A section's lines in the editor's formatting, each line its own; a blank line leaves an
// empty line between paragraphs.
RichText SectionWords(const std::vector<std::string>& lines, const StarterSource& source,
                      const std::string& colour, const std::string& headingColour) {
    RichText text;
    const CharFormat body = Format(source.bodyFont, kBodySize, colour, false);
    text.setDefaultFormat(body);
    bool first = true;
    bool gap = false;
    for (const std::string& line : lines) {
        if (line.empty()) {
            gap = !first;
            continue;
        }
        if (!first) {
            text.insert(text.length(), gap ? "\r\r" : "\r", body);
        }
        const Line read = LineOf(line);
        AppendRuns(
            text, std::string(read.words),
            read.heading ? Format(source.headingFont, read.size, headingColour, true) : body);
        first = false;
        gap = false;
    }
    return text;
}

struct Look {
    std::string background;
    std::string colour;
    std::string headingColour;
};

Look LookOf(const StarterSource& source, const std::string& look) {
    if (look == "band") {
        return {source.band, source.text, source.accent};
    }
    if (look == "accent") {
        return {source.accent, source.onAccent, source.onAccent};
    }
    return {source.background, source.text, source.accent};
}

void AppendRecord(PageRecord& page, const std::string& record) {
    page.stylesData += (page.stylesData.empty() ? "" : "|") + record;
}

// A section's box settings as the text editor keeps them: its background, no border.
std::string Properties(const std::string& id, const std::string& background) {
    return id + "^" + background + "^^" + background + "^0px^" + kLeftAligned;
}

// The drawing of that name; nothing when the starter draws none.
const StarterPicture* PictureNamed(const StarterSource& source, const std::string& name) {
    for (const StarterPicture& picture : source.pictures) {
        if (picture.name == name) {
            return &picture;
        }
    }
    return nullptr;
}

// An item placed on the page: where it stands and what it is.
struct Placed {
    const StarterColumn* column = nullptr;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class Designer {
  public:
    Designer(const StarterSource& source, const std::string& pictureFolder)
        : source_(source), pictureFolder_(pictureFolder) {}

    // The rows placed from the top given; where the next would start.
    int placeRows(const std::vector<StarterRow>& rows, int top, std::vector<Placed>& placed) {
        for (const StarterRow& row : rows) {
            int left = kMargin;
            int tallest = 0;
            for (const StarterColumn& column : row) {
                Placed item{&column, left, top, SpanWidth(column.span), 0};
                item.height = column.kind == StarterColumn::Kind::Picture
                                  ? pictureHeight(column, item.width)
                                  : textHeight(column, item.width);
                tallest = std::max(tallest, item.height);
                placed.push_back(item);
                left += SpanWidth(column.span) + kGutter;
            }
            // Boxes side by side stand as tall as each other.
            for (std::size_t i = placed.size() - row.size(); i < placed.size(); ++i) {
                if (placed[i].column->kind == StarterColumn::Kind::Text) {
                    placed[i].height = tallest;
                }
            }
            if (!row.empty()) {
                top += tallest + kRowGap;
            }
        }
        return top;
    }

    // The items written into the record under ids of its counting (shared ones with "S").
    void write(const std::vector<Placed>& placed, PageRecord& page, bool shared) {
        for (const Placed& item : placed) {
            const StarterColumn& column = *item.column;
            const int number = ++page.elementCount;
            const std::string count = (shared ? "S" : "") + std::to_string(number);
            if (column.kind == StarterColumn::Kind::Picture) {
                const std::string name = "pageimageitem" + count + "~";
                AppendRecord(page,
                             "<div id='d" + name + "' style='position:absolute;top:" +
                                 std::to_string(item.top) + "px;left:" + std::to_string(item.left) +
                                 "px;background:transparent;Z-INDEX:1'>^" +
                                 std::to_string(item.width) + "^" + std::to_string(item.height));
                page.pictures.push_back(name + picturePath(column.picture));
                page.links.emplace_back();
                page.pictureDescriptions[name] =
                    column.description == "-" ? std::string() : column.description;
                phone(page, "d" + name, column);
                continue;
            }
            const std::string id = "pagetextitem" + count + "~";
            const Look look = LookOf(source_, column.look);
            AppendRecord(page, record(id, item, column));
            RichText words = SectionWords(column.lines, source_, look.colour, look.headingColour);
            page.texts.push_back(id + convertToHtml(words, id, false));
            page.richTexts.push_back(WriteRtf(words));
            page.textProperties.push_back(Properties(id, look.background));
            phone(page, id, column);
        }
    }

    // The site menu, shared, under the header.
    void writeMenu(PageRecord& shared, int top) {
        SiteMenu menu;
        menu.face = source_.bodyFont;
        menu.size = kBodySize;
        menu.colour = source_.text;
        menu.currentColour = source_.accent;
        for (const StarterPage& page : source_.pages) {
            menu.pages.emplace_back(page.file,
                                    page.menuLabel.empty() ? page.title : page.menuLabel);
        }
        const std::string id = "pagetextitemS" + std::to_string(++shared.elementCount) + "~";
        AppendRecord(
            shared, "<div id='" + id + "' style='position: absolute; top: " + std::to_string(top) +
                        "px; left: " + std::to_string(kMargin) +
                        "px; width: " + std::to_string(SpanWidth(12) - 2 * kPadding) +
                        "px; border-width: 0px; padding: 8px " + std::to_string(kPadding) +
                        "px; background-color: " + source_.background + "; visibility: visible;'>");
        shared.texts.push_back(id);
        shared.richTexts.push_back(WriteSiteMenu(menu));
        shared.textProperties.push_back(Properties(id, source_.background));
    }

    bool drawPictures(std::string& error) const {
        for (const StarterPicture& picture : source_.pictures) {
            if (!DrawStarterPicture(picture, picturePath(picture.name), error)) {
                return false;
            }
        }
        return true;
    }

    std::string picturePath(const std::string& name) const {
        return JoinPath(pictureFolder_, name + ".png");
    }

  private:
    std::string record(const std::string& id, const Placed& item,
                       const StarterColumn& column) const {
        const Look look = LookOf(source_, column.look);
        return "<div id='" + id + "' style='position: absolute; top: " + std::to_string(item.top) +
               "px; left: " + std::to_string(item.left) +
               "px; width: " + std::to_string(item.width - 2 * kPadding) +
               "px; height: " + std::to_string(item.height - 2 * kPadding) +
               "px; border-width: 0px; padding: " + std::to_string(kPadding) +
               "px; background-color: " + look.background + ";" +
               (column.centred ? " text-align: center;" : " text-align: left;") +
               " visibility: visible;'>";
    }

    // How tall the section's words stand at the width: each line's characters wrapped at an
    // average letter's width, in lines of its own size, with room to spare for wider faces.
    int textHeight(const StarterColumn& column, int width) const {
        const double room = width - 2 * kPadding;
        double height = 2 * kPadding;
        const auto lines = [&](std::size_t characters, int points) {
            const double pixels = points * 4.0 / 3.0;
            const double perLine = std::max(1.0, room / (pixels * 0.55));
            return std::ceil(static_cast<double>(characters) / perLine) * pixels * 1.25;
        };
        for (const std::string& line : column.lines) {
            const Line read = LineOf(line);
            height += lines(std::max<std::size_t>(line.size(), 1), read.size);
        }
        return static_cast<int>(std::ceil(height * 1.15));
    }

    int pictureHeight(const StarterColumn& column, int width) const {
        const StarterPicture* picture = PictureNamed(source_, column.picture);
        return picture != nullptr ? width * picture->height / picture->width : width * 2 / 3;
    }

    static void phone(PageRecord& page, const std::string& id, const StarterColumn& column) {
        for (const std::string& choice : column.phone) {
            if (choice == "hide") {
                SetPhoneChoice(page.phoneChoices, id, kPhoneHidden, "1");
            } else if (choice == "full") {
                SetPhoneChoice(page.phoneChoices, id, kPhoneWidth, kPhoneFullWidth);
            } else if (choice == "larger") {
                SetPhoneChoice(page.phoneChoices, id, kPhoneTextSize, "1");
            } else if (choice == "smaller") {
                SetPhoneChoice(page.phoneChoices, id, kPhoneTextSize, "-1");
            }
        }
    }

    const StarterSource& source_;
    std::string pictureFolder_;
};

// The parts every page shares and where each page's own rows start and the footer stands.
struct Frame {
    std::vector<Placed> header;
    int menuTop = 0;
    std::vector<std::vector<Placed>> pages;
    std::vector<Placed> footer;
    int length = 0;
};

Frame FrameOf(const StarterSource& source, Designer& designer) {
    Frame frame;
    int top = designer.placeRows(source.header, kMargin, frame.header);
    if (source.menu) {
        frame.menuTop = top - kRowGap / 2;
        top = frame.menuTop + kMenuHeight + kRowGap / 2;
    }
    int lowest = top;
    for (const StarterPage& page : source.pages) {
        frame.pages.emplace_back();
        lowest = std::max(lowest, designer.placeRows(page.rows, top, frame.pages.back()));
    }
    frame.length = designer.placeRows(source.footer, lowest, frame.footer) - kRowGap + kMargin;
    return frame;
}

std::string ContainerMarkup(const StarterSource& source, int length) {
    return "<CENTER><div id='pagecontainer' style='position:relative;top:15px;width:" +
           std::to_string(kPageWidth) + "px;height:" + std::to_string(length) +
           "px;border-width:1px;border-style:solid;border-color:" + source.background + ";";
}

}  // namespace

bool LayOutStarter(const StarterSource& source, PageStore& store, const std::string& siteFolder,
                   const std::string& pictureFolder, std::string& error) {
    Designer designer(source, pictureFolder);
    if (!designer.drawPictures(error)) {
        return false;
    }
    const Frame frame = FrameOf(source, designer);
    PageRecord shared;
    shared.directory = siteFolder;
    shared.fileName = kSiteItemsFile;
    designer.write(frame.header, shared, true);
    if (source.menu) {
        designer.writeMenu(shared, frame.menuTop);
    }
    designer.write(frame.footer, shared, true);
    if (!store.savePage(shared)) {
        error = "the shared items could not be stored";
        return false;
    }
    for (std::size_t i = 0; i < source.pages.size(); ++i) {
        const StarterPage& from = source.pages[i];
        PageRecord page;
        page.directory = siteFolder;
        page.fileName = from.file;
        page.pageTitle = from.title;
        page.language = "en";
        page.description = from.description;
        page.backColor = source.background;
        page.pageColor = source.background;
        page.pageWidth = std::to_string(kPageWidth);
        page.pageLength = std::to_string(frame.length);
        page.pageContainer = ContainerMarkup(source, frame.length);
        designer.write(frame.pages[i], page, false);
        SetPhoneChoice(page.phoneChoices, "", kPhoneSpacing, "16");
        if (!store.savePage(page)) {
            error = "the page " + from.file + " could not be stored";
            return false;
        }
    }
    SiteOptions options;
    options.phoneFriendly = true;
    options.webPictures = true;
    options.siteFonts = true;
    if (!store.siteOptions().save(siteFolder, options)) {
        error = "the site options could not be stored";
        return false;
    }
    return true;
}

bool DrawStarterThumbnail(const StarterSource& source, const std::string& pictureFolder,
                          const std::string& pngFile, std::string& error) {
    constexpr double kScale = 0.2;
    Designer designer(source, pictureFolder);
    const Frame frame = FrameOf(source, designer);
    std::vector<SceneItem> scene;
    const int height = static_cast<int>(std::min(frame.length, 1200) * kScale);
    scene.push_back(
        {0, 0, kPageWidth * kScale, static_cast<double>(height), source.background, nullptr});
    const auto add = [&](const std::vector<Placed>& items) {
        for (const Placed& item : items) {
            const double left = item.left * kScale;
            const double top = item.top * kScale;
            const double width = item.width * kScale;
            const StarterColumn& column = *item.column;
            if (column.kind == StarterColumn::Kind::Picture) {
                if (const StarterPicture* picture = PictureNamed(source, column.picture)) {
                    scene.push_back({left, top, width, item.height * kScale, "", picture});
                }
                continue;
            }
            const Look look = LookOf(source, column.look);
            scene.push_back({left, top, width, item.height * kScale, look.background, nullptr});
            // Its words as grey strokes: a heading's stronger.
            double line = top + kPadding * kScale;
            for (const std::string& words : column.lines) {
                if (words.empty() || line > top + item.height * kScale - 4) {
                    continue;
                }
                const bool heading = LineOf(words).heading;
                scene.push_back(
                    {left + kPadding * kScale, line,
                     std::min(width - 2 * kPadding * kScale,
                              static_cast<double>(words.size()) * (heading ? 2.4 : 1.2)),
                     heading ? 4.0 : 2.0, heading ? look.headingColour : look.colour + "80",
                     nullptr});
                line += heading ? 8 : 5;
            }
        }
    };
    add(frame.header);
    if (source.menu) {
        scene.push_back({kMargin * kScale, (frame.menuTop + 20) * kScale, SpanWidth(12) * kScale, 2,
                         source.accent, nullptr});
    }
    if (!frame.pages.empty()) {
        add(frame.pages.front());
    }
    add(frame.footer);
    if (!DrawScene(static_cast<int>(kPageWidth * kScale), height, scene, pngFile)) {
        error = pngFile + " could not be written";
        return false;
    }
    return true;
}

#include "setup/quickstart_tutorial.h"

#include <vector>

#include "common/paths.h"
#include "page/working_files.h"

namespace {

struct Section {
    int top;
    int left;
    int width;
    const char* heading;
    const char* text;
};

const std::vector<Section>& Sections() {
    static const std::vector<Section> sections = {
        {20, 30, 540, "Welcome to Quillora",
         "This page was made with Quillora. Every box on it is a text section or a picture that "
         "you can move, resize and edit. It is the tutorial: look around, then start a page of "
         "your own with the + button at the top of the window."},
        {180, 30, 360, "Adding text and pictures",
         "Click an empty place of the page. A menu opens: <B>Add text</B> writes a new section "
         "where you clicked, <B>Add picture</B> places a picture from your disk. The same menu "
         "sets the colour, background picture and length of the page."},
        {180, 410, 360, "Moving and resizing",
         "Drag a section or a picture to move it. A small square appears at its lower right "
         "corner when the mouse is over it: drag that square to resize. A picture stretches "
         "freely; one you have just added keeps its proportions. Click an item to edit, delete "
         "or centre it."},
        {390, 30, 360, "The bar above the page",
         "<B>Container</B> chooses how wide the page is: 700, 800 or 900 pixels, or the whole "
         "window. <B>Grid</B> shows lines that dragged items snap to. The grid is only there "
         "while you design."},
        {390, 410, 360, "Saving",
         "<B>Save</B> keeps the design and writes the finished page, with copies of its "
         "pictures, into the site folder. <B>Save as</B> saves under a new name and "
         "<B>Preview</B> shows the finished page in your own browser."},
        {600, 30, 740, "Your turn",
         "This tutorial is for reference only and is never overwritten. Press the + button, "
         "give your page a name, and click anywhere to begin. Quillora saves your page when "
         "you close it and offers it again at the next start."},
    };
    return sections;
}

constexpr const char* kPictureName = "pageimageitem500~";
constexpr const char* kPictureFile = "quillora-logo.gif";

std::string TextRecord(const std::string& id, const Section& section) {
    return "<div id='" + id + "' style='position:absolute;top:" + std::to_string(section.top) +
           "px;left:" + std::to_string(section.left) + "px;width:" + std::to_string(section.width) +
           "px;border-width:1px;border-style:solid;border-color:#008000;padding:10px;"
           "background-color:#ffffff;visibility:visible'>";
}

std::string TextHtml(const Section& section) {
    return std::string("<P align=left><FONT face='Arial' size=4 color=#008000>") + section.heading +
           "</FONT></P><P align=left><FONT face='Arial' size=2 color=#203040>" + section.text +
           "</FONT></P>";
}

std::string RichText(const Section& section) {
    return std::string("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs28 ") +
           section.heading + "\\par\\fs20 " + section.text + "\\par}";
}

}  // namespace

PageRecord QuickstartTutorial(const std::string& workingFolder) {
    PageRecord page;
    page.directory = JoinPath(workingFolder, kDefaultSiteFolder);
    page.fileName = kQuickstartPage;
    page.pageTitle = "Quillora quickstart";
    page.backImage = "stripes.gif";
    page.pageColor = "#FFFFFF";
    page.pageWidth = "800";
    page.pageLength = "740";
    page.pageContainer = PageContainerMarkup(page.pageWidth, page.pageLength);
    int count = 0;
    for (const Section& section : Sections()) {
        const std::string id = TextId(++count);
        if (!page.stylesData.empty()) {
            page.stylesData += "|";
        }
        page.stylesData += TextRecord(id, section);
        page.texts.push_back(id + TextHtml(section));
        page.richTexts.push_back(RichText(section));
        page.textProperties.push_back(id + "^#ffffff^^#008000^1px^NOJUSTIFY");
    }
    page.stylesData += std::string("|<div id='d") + kPictureName +
                       "' style='position:absolute;top:40px;left:600px;background:transparent;"
                       "Z-INDEX:2'>^160^60";
    page.pictures.push_back(kPictureName + JoinPath(page.directory, kPictureFile));
    page.links.push_back("");
    page.elementCount = count + 1;
    return page;
}

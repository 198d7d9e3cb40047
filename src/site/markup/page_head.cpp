#include "site/markup/page_head.h"

#include "common/markup_escaping.h"
#include "common/number_text.h"
#include "page/site_items.h"

namespace {

// The fixed text of the editor page's head and body start, cut where values are spliced in.
// The page reports to the program through hostNavigate, which the browser adapter provides.
constexpr const char* kHeadStart = R"QH(<html><head><!-- saved from url=(0014)about:internet -->
<title>test</title><style type='text/css'><!--#target{position: Absolute; top:400px;visibility:hidden;Left:400px;width:37px;height:100px;text-align:left;border: 0px;}--></style><script type='text/javascript'>
function swapImage(whichItem)
{
if(whichItem == 1)
{document.images['addtarget'].src='image_on.gif';
}
if(whichItem == 2)
{document.images['addtarget'].src='text_on.gif';
}
if(whichItem == 3)
{document.images['addtarget'].src='color_on.gif';
}
if(whichItem == 4)
{document.images['addtarget'].src='bkimage_on.gif';
}
if(whichItem == 5)
{document.images['addtarget'].src='length_on.gif';
}
if(whichItem == 6)
{document.images['addtarget'].src='cancel_on.gif';
}
}
function addGraphic()
{
target.style.visibility = 'hidden';
target.style.display = 'none';
loadStylesData();

var functionlaunch = 'addgraphic';
var adjustleft =  target.style.posLeft + 37;
var adjusttop =  target.style.posTop + 37;
functionlaunch = functionlaunch +  adjustleft;
functionlaunch = functionlaunch +  '~';
functionlaunch = functionlaunch +  adjusttop;
functionlaunch = 'http://addtrigger' + functionlaunch;
hostNavigate(functionlaunch);
}
function addText()
{
target.style.visibility = 'hidden';
target.style.display = 'none';
loadStylesData();

var functionlaunch = 'addtext';
var adjustleft =  target.style.posLeft + 37;
var adjusttop =  target.style.posTop + 37;
functionlaunch = functionlaunch +  adjustleft;
functionlaunch = functionlaunch +  '~';
functionlaunch = functionlaunch +  adjusttop;
functionlaunch = 'http://addtrigger' + functionlaunch;
hostNavigate(functionlaunch);
}
function loadStylesData()
{
hostNavigate('http://clipboardcache')
var pagecontainerX = 0;
var pagecontainerY = 0;var outputString = ""; 
var divlist = document.all.tags('div');
for(var i = 0; i < divlist.length;i++)
{
var nametest = divlist[i].id
if(divlist[i].id == "pagecontainer")
{
pagecontainerX = Math.floor((document.body.clientWidth - )QH";

constexpr const char* kAfterPageWidth = R"QH()/2);
if(pagecontainerX < 0){pagecontainerX = 5;};
pagecontainerY = 30;
}
if(nametest.indexOf('pageimageitem') == -1)
{
if(divlist[i].style.visibility=="visible")
{
if((divlist[i].id != "pagecontainer")&&(divlist[i].id != "target"))
{
outputString = outputString + "<div id='";
outputString = outputString + divlist[i].id;
outputString = outputString + "' style='";
outputString = outputString + divlist[i].style.cssText;
outputString = outputString + "'>|";}
}
}
}
for(var j = 0; j < document.images.length;j++)
{
if(document.images[j].name != 'addtarget')
{
for(var i = 0; i < dd.elements.length;i++)
{
if (document.images[j].name == dd.elements[i].name)
{
outputString = outputString + "<div id='d"  + document.images[j].name;
outputString = outputString + "' style='position:absolute;top:" + (dd.elements[i].y - pagecontainerY);
outputString = outputString + "px;left:" + (dd.elements[i].x - pagecontainerX);
outputString = outputString + "px;background:transparent;Z-INDEX:" + dd.elements[i].z + "'>^";
outputString = outputString +  dd.elements[i].w;
outputString = outputString +  "^";
outputString = outputString + dd.elements[i].h;
outputString = outputString + "|";
}
}
}
}
outputString = outputString.substring(0,outputString.length - 1);
if( window.clipboardData && clipboardData.setData )
{

clipboardData.setData('Text', outputString);
}else{alert('Internet Explorer required');}
}
function styleChange(areaName)
{
var divlist = document.all.tags('div');
divlist[areaName].style.border = ')QH";

constexpr const char* kAfterBorder = R"QH(';
divlist[areaName].style.backgroundImage='url()QH";

constexpr const char* kAfterBackgroundPicture = R"QH()';
divlist[areaName].style.textAlign=')QH";

constexpr const char* kAfterTextAlignment = R"QH(';
divlist[areaName].style.backgroundColor = ')QH";

constexpr const char* kAfterBackgroundColour = R"QH(';
}</script><script type='text/javascript' src='triggermenu.js'></script></head><body )QH";

constexpr const char* kAfterBodyAttributes = R"QH(oncontextmenu='return false';>
<script type='text/javascript' src='dragdrop.js'></script><div id='target'><map NAME='linkareas'><area SHAPE=RECT COORDS='15,11 97,33' A HREF='Javascript:addGraphic()' ALT='Add graphic image' onmouseover='Javascript:swapImage(1)'><area SHAPE=RECT COORDS='15,37 97,56' HREF='Javascript:addText()' ALT='Add text section' onmouseover='Javascript:swapImage(2)'><area SHAPE=RECT COORDS='15,64 97,83' HREF='Javascript:backgroundColor()' ALT='Background color' onmouseover='Javascript:swapImage(3)'><area SHAPE=RECT COORDS='15,88 97,107' HREF='Javascript:backgroundImage()' ALT='Background image' onmouseover='Javascript:swapImage(4)'><area SHAPE=RECT COORDS='15,114 97,134' HREF='Javascript:changePageLenth()' ALT='Page length' onmouseover='Javascript:swapImage(5)'><area SHAPE=RECT COORDS='15,140 97,160' HREF='Javascript:cancelTarget()' ALT='Cancel' onmouseover='Javascript:swapImage(6)'></map><IMG name='addtarget' SRC='quillmenu_off.gif' ISMAP USEMAP='#linkareas' BORDER=0></div>)QH";

std::string BodyBackgroundAttribute(const PageRecord& page, const EditorState& editor) {
    if (editor.gridPicture.size() > 1) {
        return "background = '" + editor.gridPicture + "' ";
    }
    if (page.backImage.size() > 4) {
        return "background = 'backgrounds/" + HtmlAttribute(page.backImage, '\'') + "' ";
    }
    return "bgcolor = '" + HtmlAttribute(page.backColor, '\'') + "' ";
}

std::string ContainerBackground(const PageRecord& page, const EditorState& editor) {
    if (!page.hasContainer()) {
        return std::string();
    }
    if (editor.gridPicture.size() > 1) {
        return "background:transparent'>";
    }
    if (page.pageImage.size() > 1) {
        return "background-Image:url(" +
               HtmlAttribute(CssUrlArgument("backgrounds/" + page.pageImage), '\'') + ")'>";
    }
    return "background-color:" + HtmlAttribute(page.pageColor, '\'') + "'>";
}

constexpr const char* kSiteItemMark =
    "<style>div[id^='pagetextitemS'],div[id^='dpageimageitemS']{outline:2px dashed #2f6fdb;"
    "outline-offset:1px}</style>";

// Sections not yet translated into the language edited in; the outline takes no room.
constexpr const char* kUntranslatedMark =
    "<style>.quillora-untranslated{outline:2px dotted #b35c00;outline-offset:2px}</style>";

}  // namespace

std::string PageHead(const PageRecord& page, const EditorState& editor,
                     std::string_view fontStyle) {
    const StyleRequest& style = editor.styleRequest;
    std::string head;
    head.reserve(5000);
    head += kHeadStart;
    // A number inside the head's script: whatever else a design holds there would run.
    head += LeadingDigits(page.pageWidth);
    head += kAfterPageWidth;
    // The style request's values come from the text editor: strings of the script.
    head += ScriptStringContent(style.border);
    head += kAfterBorder;
    head += ScriptStringContent(CssUrlArgument(style.backgroundPicture));
    head += kAfterBackgroundPicture;
    head += ScriptStringContent(style.textAlignment);
    head += kAfterTextAlignment;
    head += ScriptStringContent(style.backgroundColour);
    head += kAfterBackgroundColour;
    head += BodyBackgroundAttribute(page, editor);
    head += editor.centringRequest;
    head += style.onload;
    head += kAfterBodyAttributes;
    head += page.pageContainer;
    head += ContainerBackground(page, editor);
    if (!editor.editingLanguage.empty()) {
        head += kUntranslatedMark;
    }
    // Items shared with every page of the site are marked, so the user knows a change to
    // one reaches them all; pages without any keep their bytes.
    if (PlacesSiteItems(page)) {
        head += kSiteItemMark;
    }
    head += fontStyle;
    return head;
}

std::optional<PageHeadParts> SplitPageHead(std::string_view head) {
    constexpr std::string_view kScriptTag = "<script type='text/javascript'>";
    constexpr std::string_view kScriptEndTag = "</script>";
    constexpr std::string_view kBodyTag = "<body ";
    const std::string_view fixedBodyStart = kAfterBodyAttributes;
    const std::size_t script = head.find(kScriptTag);
    const std::size_t scriptEnd =
        script == std::string_view::npos ? script : head.find(kScriptEndTag, script);
    const std::size_t body =
        scriptEnd == std::string_view::npos ? scriptEnd : head.find(kBodyTag, scriptEnd);
    const std::size_t fixed =
        body == std::string_view::npos ? body : head.find(fixedBodyStart, body);
    if (fixed == std::string_view::npos) {
        return std::nullopt;
    }
    PageHeadParts parts;
    const std::size_t scriptStart = script + kScriptTag.size();
    parts.script = head.substr(scriptStart, scriptEnd - scriptStart);
    parts.bodyStart = head.substr(body, fixed + fixedBodyStart.find('>') + 1 - body);
    parts.container = head.substr(fixed + fixedBodyStart.size());
    constexpr std::string_view kFontStyle = "<style>@font-face{";
    const std::size_t fonts = parts.container.rfind(kFontStyle);
    if (fonts != std::string_view::npos) {
        parts.fonts = parts.container.substr(fonts);
        parts.container = parts.container.substr(0, fonts);
    }
    const std::string_view mark = kSiteItemMark;
    if (parts.container.size() >= mark.size() &&
        parts.container.substr(parts.container.size() - mark.size()) == mark) {
        parts.siteItemMark = true;
        parts.container.remove_suffix(mark.size());
    }
    return parts;
}

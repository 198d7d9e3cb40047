#pragma once

#include <string>

#include "page/page_record.h"

// Pages that the designer tests share.

inline const std::string kTextRecord1 =
    "<div id='pagetextitem1~' style='LEFT: 20px; TOP: 30px; visibility: visible'>";
inline const std::string kPictureRecord417 =
    "<div id='dpageimageitem417~' style='position:absolute;top:40px;left:50px;"
    "background:transparent;Z-INDEX:3'>^120^80";
inline const std::string kPictureRecord9 =
    "<div id='dpageimageitem9~' style='position:absolute;top:200px;left:10px;"
    "background:transparent;Z-INDEX:4'>^64^48";
inline const std::string kTextRecord3 =
    "<div id='pagetextitem3~' style='LEFT: 300px; TOP: 30px; visibility: visible'>";
inline const std::string kPictureRecord5 =
    "<div id='dpageimageitem5~' style='position:absolute;top:90px;left:400px;"
    "background:transparent;Z-INDEX:5'>^64^48";

// An 800-pixel container page with two text items (and a deleted one), a linked picture, a
// picture whose link is too short to count, and a picture entry marked for deletion.
inline PageRecord ItemPage() {
    PageRecord page;
    page.pageWidth = "800";
    page.pageLength = "1200";
    page.pageContainer = PageContainerMarkup("800", "1200");
    page.backImage = "sky.gif";
    page.pageImage = "tile.jpg";
    page.stylesData = kTextRecord1 + "|" + kPictureRecord417 + "|" + kPictureRecord9 + "|" +
                      kTextRecord3 + "|" + kPictureRecord5;
    page.texts = {"pagetextitem1~<P>Hello</P>", kRemovedItem, "pagetextitem3~<P>Third</P>"};
    page.richTexts = {"{\\rtf1 Hello}", "{\\rtf1 gone}", "{\\rtf1 Third}"};
    page.textProperties = {"pagetextitem1~^^^^^NOJUSTIFY", "pagetextitem2~^^^^^NOJUSTIFY",
                           "pagetextitem3~^^^^^NOJUSTIFY"};
    page.pictures = {"pageimageitem417~/pics/sun.jpg", "pageimageitem9~/pics/DELETETHISFILE.gif",
                     "pageimageitem5~/pics/moon.gif"};
    page.links = {"http://example.com/", "", "abcd"};
    return page;
}

// A page built as users build them, with three photos straight from a camera, published with
// the site's web pictures and phone layout on, and audited by Lighthouse (a phone on a
// simulated mobile network) in Debian's chromium, served over HTTP on loopback.
#include <gtest/gtest.h>

// Before Qt's headers: glib names a member "signals", which Qt makes a keyword.
#include "support/camera_photo.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "lighthouse_audit.h"
#include "platform/console_prompts.h"
#include "site/published_page.h"
#include "site/site_fonts.h"
#include "support/temp_folder.h"

namespace {

std::string Section(int number, int left, int top, int width) {
    const std::string id = "pagetextitem" + std::to_string(number) + "~";
    return "<div id='" + id + "' style='position: absolute; top: " + std::to_string(top) +
           "px; left: " + std::to_string(left) + "px; width: " + std::to_string(width) +
           "px; border-width: 1px; border-style: solid; border-color: #008000; padding: 10px; "
           "background-color: #ffffff; visibility: visible;'>";
}

std::string Words(int number, const std::string& words, const std::string& face) {
    return "pagetextitem" + std::to_string(number) + "~<font face='" + face +
           "' color='#000000'><SPAN id='pagetextitem" + std::to_string(number) +
           "~0' style='font-size:12pt;'>" + words + "</SPAN></font>";
}

std::string Picture(int number, int left, int top, int width, int height) {
    return "<div id='dpageimageitem" + std::to_string(number) +
           "~' style='position:absolute;top:" + std::to_string(top) +
           "px;left:" + std::to_string(left) +
           "px;background:transparent;Z-INDEX:" + std::to_string(number) + "'>^" +
           std::to_string(width) + "^" + std::to_string(height);
}

}  // namespace

// Its sections carry their own fonts, beside the page.
TEST(Lighthouse, APageOfCameraPhotosScoresTopMarksOnAPhone) {
    TempFolder working;
    TempFolder site;
    const std::string photos[] = {working / "IMG_0001.JPG", working / "IMG_0002.JPG",
                                  working / "IMG_0003.JPG"};
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(SaveCameraPhoto(photos[i], 4000, 3000, 90.0 + 30 * i));
    }

    PageRecord page;
    page.directory = site.path();
    page.fileName = "index.html";
    page.pageTitle = "Our garden";
    page.pageWidth = "800";
    page.pageContainer = PageContainerMarkup("800", "1400");
    page.language = "en";
    page.description = "The garden through the year, with photos of every season.";
    const std::string text =
        "The garden in spring: tulips along the path, the old apple tree in bloom and the first "
        "vegetables in their beds.";
    page.stylesData = Section(1, 20, 20, 360) + "|" + Picture(2, 420, 20, 320, 240) + "|" +
                      Section(3, 20, 300, 360) + "|" + Picture(4, 420, 300, 330, 220) + "|" +
                      Section(5, 20, 560, 700) + "|" + Picture(6, 20, 720, 760, 190) + "|" +
                      Section(7, 20, 940, 360) + "|" + Section(8, 420, 940, 330);
    for (const int number : {1, 3, 5, 7, 8}) {
        page.texts.push_back(Words(number, text, number == 5 ? "Open Sans" : "Arial"));
        page.richTexts.emplace_back();
        page.textProperties.push_back("pagetextitem" + std::to_string(number) +
                                      "~^#ffffff^^#008000^1px^NOJUSTIFY");
    }
    page.pictures = {"pageimageitem2~" + photos[0], "pageimageitem4~" + photos[1],
                     "pageimageitem6~" + photos[2]};
    page.links = {"", "", ""};
    page.pictureDescriptions = {{"pageimageitem2~", "Tulips along the path"},
                                {"pageimageitem4~", "The apple tree in bloom"},
                                {"pageimageitem6~", "The vegetable beds in a row"}};

    ConsolePrompts prompts(std::cerr);
    PagePublisher publisher(working.path(), prompts);
    SiteOptions options;
    options.phoneFriendly = true;
    options.webPictures = true;
    options.siteFonts = true;
    publisher.setSiteOptions(options);
    FaceCharacters faces;
    AddPageFaces(page, faces);
    publisher.setSiteFonts(SiteFonts(working.path()).prepare(faces));
    std::string published;
    ASSERT_TRUE(
        publisher.publish(page, PublishVariant::Save, site.path(), "index.html", published));

    const QJsonObject audit = LighthouseAudit(site.path(), "index.html", working.path());
    ASSERT_FALSE(audit.isEmpty());
    const QJsonObject categories = audit["categories"].toObject();
    for (const char* category : {"performance", "accessibility", "best-practices", "seo"}) {
        const double score = categories[category].toObject()["score"].toDouble();
        std::printf("%s %.0f\n", category, score * 100);
        EXPECT_GE(score, 0.95) << category;
    }
    const QJsonObject audits = audit["audits"].toObject();
    EXPECT_EQ(audits["errors-in-console"].toObject()["score"].toDouble(), 1.0);
    EXPECT_EQ(audits["charset"].toObject()["score"].toDouble(), 1.0);
    EXPECT_LE(audits["cumulative-layout-shift"].toObject()["numericValue"].toDouble(), 0.01);
    EXPECT_EQ(audits["uses-responsive-images"].toObject()["score"].toDouble(), 1.0);
    EXPECT_EQ(audits["modern-image-formats"].toObject()["score"].toDouble(), 1.0);
    std::printf(
        "largest contentful paint %s, bytes %s\n",
        audits["largest-contentful-paint"]
            .toObject()["displayValue"]
            .toString()
            .toStdString()
            .c_str(),
        audits["total-byte-weight"].toObject()["displayValue"].toString().toStdString().c_str());
}

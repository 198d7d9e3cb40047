#pragma once

// Designs as users make them, published for a phone-friendly site folder and shown in
// browsers of their own sizes.
#include <QAction>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenuBar>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <filesystem>
#include <tuple>

#include "site/published_page.h"
#include "window_fixture.h"

namespace {

std::string Text(const std::string& id, int left, int top, int width, int height) {
    return "<div id='" + id + "~' style='position: absolute; left: " + std::to_string(left) +
           "px; top: " + std::to_string(top) + "px; width: " + std::to_string(width) +
           "px; height: " + std::to_string(height) +
           "px; visibility: visible; padding: 10px; border: 1px solid green;'>";
}

std::string Picture(const std::string& id, int left, int top, int width, int height) {
    return "<div id='d" + id + "~' style='position:absolute;top:" + std::to_string(top) +
           "px;left:" + std::to_string(left) + "px;background:transparent;Z-INDEX:1'>^" +
           std::to_string(width) + "^" + std::to_string(height);
}

// Designs as users make them; each item is added with its record and list entries.
class Design {
  public:
    Design(const std::string& name, const std::string& containerWidth) : name_(name) {
        page_.fileName = name + ".html";
        page_.pageTitle = "The " + name + " page";
        if (!containerWidth.empty()) {
            page_.pageWidth = containerWidth;
            page_.pageContainer = PageContainerMarkup(containerWidth, "1600");
        }
    }
    Design& text(const std::string& id, int left, int top, int width, int height,
                 const std::string& words) {
        add(Text(id, left, top, width, height));
        page_.texts.push_back(id + "~<P>" + words + "</P>");
        return *this;
    }
    Design& picture(const std::string& id, int left, int top, int width, int height,
                    const std::string& file) {
        add(Picture(id, left, top, width, height));
        page_.pictures.push_back(id + "~" + file);
        page_.links.push_back("");
        return *this;
    }
    PageRecord& page() { return page_; }
    const std::string& name() const { return name_; }

  private:
    void add(const std::string& record) {
        page_.stylesData += (page_.stylesData.empty() ? "" : "|") + record;
    }
    std::string name_;
    PageRecord page_;
};

class PhonePagesTest : public WindowFixture {
  protected:
    PhonePagesTest() {
        std::filesystem::create_directories(site.path());
        for (const auto& [file, width, height] :
             {std::tuple<const char*, int, int>{"wide.png", 900, 300}, {"small.png", 120, 80}}) {
            QImage picture(width, height, QImage::Format_RGB32);
            picture.fill(QColor(40, 120, 200));
            picture.save(QString::fromStdString(pictures / file));
        }
    }

    std::vector<Design> designs() {
        std::vector<Design> all;
        const std::string words = "Words that wrap over a few lines of the section.";
        all.push_back(Design("twocolumns", "800")
                          .text("pagetextitem1", 10, 10, 370, 150, "Left one. " + words)
                          .text("pagetextitem2", 410, 10, 370, 150, "Right one. " + words)
                          .text("pagetextitem3", 10, 200, 370, 150, "Left two. " + words)
                          .text("pagetextitem4", 410, 200, 370, 150, "Right two. " + words));
        all.push_back(Design("overlapping", "800")
                          .text("pagetextitem1", 10, 10, 300, 200, "Under. " + words)
                          .picture("pageimageitem2", 150, 100, 120, 80, pictures / "small.png")
                          .text("pagetextitem3", 250, 150, 300, 200, "Over. " + words)
                          .text("pagetextitem4", 20, 500, 600, 60, "Copyright, at the foot."));
        all.push_back(Design("fullwidth", "")
                          .text("pagetextitem1", 0, 0, 1200, 80, "The header across. " + words)
                          .text("pagetextitem2", 20, 120, 500, 300, words + words)
                          .picture("pageimageitem3", 600, 120, 120, 80, pictures / "small.png"));
        all.push_back(Design("widepicture", "1000")
                          .text("pagetextitem1", 10, 10, 900, 60, "Above the picture.")
                          .picture("pageimageitem2", 50, 100, 900, 300, pictures / "wide.png")
                          .text("pagetextitem3", 10, 420, 900, 60, "Below the picture."));
        Design many("manyitems", "1000");
        for (int i = 0; i < 200; ++i) {
            many.text("pagetextitem" + std::to_string(i + 1), 10 + (i % 10) * 98,
                      10 + (i / 10) * 70, 78, 40, "Item " + std::to_string(i + 1));
        }
        all.push_back(many);
        return all;
    }

    std::string publish(const PageRecord& page, bool phone, const std::string& fileName) {
        PagePublisher publisher(working, prompts);
        SiteOptions options;
        options.phoneFriendly = phone;
        publisher.setSiteOptions(options);
        std::string text;
        EXPECT_TRUE(publisher.publish(page, PublishVariant::Save, site.path(), fileName, text));
        return site / fileName;
    }

    // A browser of its own, of the given size, showing the file.
    std::unique_ptr<QWebEngineView> show(const std::string& file, int width, int height) {
        auto view = std::make_unique<QWebEngineView>();
        view->resize(width, height);
        view->show();
        bool loaded = false;
        QObject::connect(view.get(), &QWebEngineView::loadFinished, [&](bool) { loaded = true; });
        view->load(QUrl::fromLocalFile(QString::fromStdString(file)));
        EXPECT_TRUE(WaitFor([&] { return loaded; })) << file;
        QObject::disconnect(view.get(), &QWebEngineView::loadFinished, nullptr, nullptr);
        return view;
    }
    static QVariant run(QWebEngineView& view, const QString& script) {
        QVariant result;
        bool done = false;
        view.page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        WaitFor([&] { return done; });
        return result;
    }
    // The page as shown, once two pictures taken in turn agree.
    static QImage settled(QWebEngineView& view) {
        QImage last;
        for (int tries = 0; tries < 40; ++tries) {
            QTest::qWait(100);
            QImage now = view.grab().toImage();
            if (!last.isNull() && now == last) {
                return now;
            }
            last = now;
        }
        return last;
    }

    TempFolder site;
    TempFolder pictures;
};

// Where each item stands on the phone: the width of what scrolls (the body, on a page without
// a doctype) against the window's, items
// that overlap or cannot be seen, the items from top to bottom and those left out.
constexpr const char* kPhoneCheck = R"((function(){
var items = Array.prototype.slice.call(
  document.querySelectorAll("div[id^='pagetextitem'],div[id^='dpageimageitem']"));
var absent = items.filter(function(e){return e.getClientRects().length===0;})
  .map(function(e){return e.id;});
items = items.filter(function(e){return e.getClientRects().length>0;});
var boxes = items.map(function(e){var r=e.getBoundingClientRect();
  return {id:e.id, l:r.left, t:r.top+window.scrollY, r:r.right, b:r.bottom+window.scrollY};});
var overlaps = 0;
for (var i = 0; i < boxes.length; ++i) for (var j = i + 1; j < boxes.length; ++j) {
  var a = boxes[i], b = boxes[j];
  if (a.l < b.r && b.l < a.r && a.t < b.b && b.t < a.b) ++overlaps;
}
var scroller = document.scrollingElement;
var width = scroller.clientWidth;
var unseen = boxes.filter(function(b){return b.r-b.l < 1 || b.b-b.t < 1 || b.l < 0 || b.r > width;});
var order = boxes.slice().sort(function(a,b){return a.t-b.t;}).map(function(b){return b.id;});
return JSON.stringify({scrollWidth: scroller.scrollWidth, width: width,
  overlaps: overlaps, unseen: unseen.length, order: order, count: boxes.length, absent: absent});
})())";

}  // namespace

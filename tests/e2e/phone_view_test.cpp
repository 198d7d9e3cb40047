// The phone layout in the user's hands: the phone view of the real window, and the published
// page in a real browser at phone, in-between and desktop widths.
#include <QJsonArray>
#include <QToolButton>

#include "common/fields.h"
#include "phone_pages_fixture.h"
#include "site/phone/phone_layout.h"
#include "store/page_store.h"

namespace {

class PhoneViewTest : public PhonePagesTest {
  protected:
    // A headline, a wide picture, a section below, a small picture and a decoration.
    Design shaped() {
        Design design("shaped", "1000");
        design.text("pagetextitem1", 10, 10, 900, 60, "The headline across the page")
            .picture("pageimageitem2", 50, 100, 900, 300, pictures / "wide.png")
            .text("pagetextitem3", 10, 420, 900, 60, "Below the picture.")
            .picture("pageimageitem4", 700, 500, 120, 80, pictures / "small.png")
            .text("pagetextitem5", 10, 600, 400, 60, "A decoration for desktops.");
        design.page().directory = path("webpages");
        return design;
    }

    QJsonObject seen(QWebEngineView& view, const QString& script) {
        return QJsonDocument::fromJson(run(view, script).toString().toUtf8()).object();
    }

    // The phone view, loaded and ready for the mouse.
    bool phoneViewShown() {
        return WaitFor([&] {
            return js("document.URL.indexOf('phoneview.html')>=0&&document.body!==null&&"
                      "document.body.getAttribute('data-ready')==='true'")
                .toBool();
        });
    }
    // The centre of an item of the phone's column, or of a button of the bar, in the
    // browser's coordinates.
    QPointF centreIn(const QString& box) {
        const QVariantList point =
            js("(function(){var b=" + box +
               ";var r=b.getBoundingClientRect();var x=r.left+r.width/2,y=r.top+r.height/2;"
               "if(b.ownerDocument!==document){var o=document.getElementById('phoneframe')"
               ".getBoundingClientRect();x+=o.left;y+=o.top;}return [x,y];})()")
                .toList();
        return point.size() == 2 ? QPointF(point[0].toDouble(), point[1].toDouble()) : QPointF();
    }
    static QString item(const std::string& id) {
        return "document.getElementById('phoneframe').contentDocument.getElementById('" +
               QString::fromStdString(id) + "')";
    }
    static QString button(const char* id) {
        return QStringLiteral("document.getElementById('%1')").arg(QLatin1String(id));
    }
    // One action in the view; true once the view is back with its result.
    bool inView(const std::function<void()>& action) {
        return redrawnAfter(action) && phoneViewShown();
    }
    const PageRecord& design() { return window->session().workspace().page; }
};

}  // namespace

TEST_F(PhoneViewTest, TheChosenColumnIsWhatAPhoneShowsAndWiderScreensKeepTheirPixels) {
    Design design = shaped();
    const std::string plainPhone = publish(design.page(), true, "plain.html");
    PhoneChoices& choices = design.page().phoneChoices;
    SetPhoneChoice(choices, "dpageimageitem4~", kPhoneOrder, "1");
    SetPhoneChoice(choices, "pagetextitem5~", kPhoneHidden, "1");
    SetPhoneChoice(choices, "dpageimageitem2~", kPhoneWidth, kPhoneFullWidth);
    SetPhoneChoice(choices, "pagetextitem1~", kPhoneTextSize, "1");
    SetPhoneChoice(choices, "", kPhoneSpacing, "20");
    const std::string chosen = publish(design.page(), true, "shaped.html");

    auto phone = show(chosen, 375, 667);
    const QJsonObject column = seen(*phone, kPhoneCheck);
    std::vector<std::string> order;
    for (const QJsonValue& id : column["order"].toArray()) {
        order.push_back(id.toString().toStdString());
    }
    EXPECT_EQ(order, (std::vector<std::string>{"dpageimageitem4~", "pagetextitem1~",
                                               "dpageimageitem2~", "pagetextitem3~"}));
    EXPECT_EQ(column["absent"].toArray(), QJsonArray{"pagetextitem5~"});
    EXPECT_EQ(column["overlaps"].toInt(), 0);
    EXPECT_EQ(column["unseen"].toInt(), 0);
    EXPECT_LE(column["scrollWidth"].toInt(), column["width"].toInt());
    const QJsonObject sizes = seen(
        *phone,
        "JSON.stringify((function(){var w=document.scrollingElement.clientWidth;"
        "var p=document.getElementById('dpageimageitem2~').querySelector('img')"
        ".getBoundingClientRect();var a=document.getElementById('dpageimageitem2~')"
        ".getBoundingClientRect();var b=document.getElementById('pagetextitem3~')"
        ".getBoundingClientRect();var z=getComputedStyle(document.getElementById("
        "'pagetextitem1~')).zoom;return {screen:w,left:p.left,width:p.width,gap:b.top-a.bottom,"
        "zoom:z};})())");
    EXPECT_EQ(sizes["left"].toDouble(), 0);
    EXPECT_EQ(sizes["width"].toDouble(), sizes["screen"].toDouble());
    EXPECT_EQ(sizes["gap"].toDouble(), 20);
    EXPECT_EQ(sizes["zoom"].toString(), "1.2");

    // Between phone and desktop the container (or a full-screen page) is scaled to the window:
    // nothing scrolls sideways, with choices or without, for every design.
    std::vector<std::string> pages = {chosen, plainPhone};
    for (Design& other : designs()) {
        pages.push_back(publish(other.page(), true, other.name() + ".html"));
    }
    for (const std::string& file : pages) {
        for (const int width : {600, 700, 1000}) {
            auto between = show(file, width, 800);
            EXPECT_LE(run(*between, "document.scrollingElement.scrollWidth").toInt(),
                      run(*between, "document.scrollingElement.clientWidth").toInt())
                << file << " at " << width;
        }
    }
    // On a desktop the choices change no pixel.
    auto desk = show(chosen, 1280, 900);
    auto deskPlain = show(plainPhone, 1280, 900);
    const QImage shapedPixels = settled(*desk);
    EXPECT_FALSE(shapedPixels.isNull());
    EXPECT_TRUE(shapedPixels == settled(*deskPlain));
}

TEST_F(PhoneViewTest, InThePhoneViewItemsAreMovedHiddenAndSizedEachUndoneAndTheDesktopStays) {
    {
        SqliteDatabase db;
        db.open(path("quilldata.db"));
        PageStore pages(db, prompts);
        SiteOptions options;
        options.phoneFriendly = true;
        ASSERT_TRUE(pages.siteOptions().save(path("webpages"), options));
    }
    Design page = shaped();
    store(page.page(), true);
    startWindow();
    ASSERT_TRUE(resume());
    // The desktop layout, record by record (the editor page hands its items over in an order
    // of its own).
    const auto records = [&] {
        std::vector<std::string> all = SplitFields(design().stylesData, "|");
        std::sort(all.begin(), all.end());
        return all;
    };
    const std::vector<std::string> desktop = records();

    auto* phoneButton = window->findChild<QToolButton*>("phoneViewButton");
    ASSERT_NE(phoneButton, nullptr);
    ASSERT_TRUE(inView([&] { phoneButton->click(); }));
    EXPECT_TRUE(phoneButton->isChecked());
    // The editor page's own commands wait for the desktop view.
    EXPECT_FALSE(menuEntry("Duplicate").isEnabled());
    EXPECT_FALSE(menuEntry("Align Left").isEnabled());
    EXPECT_EQ(js("document.getElementById('phoneframe').getBoundingClientRect().width").toInt(),
              375);
    const std::vector<std::string> designed = PhoneColumn(design());
    ASSERT_EQ(designed.front(), "pagetextitem1~");

    // The small picture dragged above the headline.
    const QPointF small = centreIn(item("dpageimageitem4~"));
    const QPointF headline = centreIn(item("pagetextitem1~"));
    ASSERT_TRUE(inView([&] { drag(small, QPointF(0, headline.y() - small.y() - 20)); }));
    EXPECT_EQ(PhoneColumn(design()).front(), "dpageimageitem4~");
    EXPECT_EQ(js(item("dpageimageitem4~") + ".getBoundingClientRect().top<" +
                 item("pagetextitem1~") + ".getBoundingClientRect().top")
                  .toBool(),
              true);
    ASSERT_TRUE(inView([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(PhoneColumn(design()), designed);
    // A drag that strays off the phone still lands: the headline let go beside the phone, level
    // with the foot of the column, goes last.
    const QPointF top = centreIn(item("pagetextitem1~"));
    const QPointF foot = centreIn(item("pagetextitem5~"));
    ASSERT_TRUE(inView([&] { drag(top, QPointF(300, foot.y() - top.y() + 30)); }));
    EXPECT_EQ(PhoneColumn(design()).back(), "pagetextitem1~");
    ASSERT_TRUE(inView([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_EQ(PhoneColumn(design()), designed);

    // Hidden on phones: still there, faded, to be shown again.
    click(centreIn(item("pagetextitem5~")));
    ASSERT_TRUE(inView([&] { click(centreIn(button("hide"))); }));
    EXPECT_EQ(PhoneChoiceOf(design().phoneChoices, "pagetextitem5~", kPhoneHidden), "1");
    EXPECT_EQ(js("getComputedStyle(" + item("pagetextitem5~") + ").opacity").toString(), "0.35");
    EXPECT_EQ(js(button("hide") + ".textContent").toString(), "Show on phones");
    ASSERT_TRUE(inView([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_TRUE(design().phoneChoices.empty());

    // A larger headline, then a picture as wide as the phone.
    click(centreIn(item("pagetextitem1~")));
    ASSERT_TRUE(inView([&] { click(centreIn(button("larger"))); }));
    EXPECT_EQ(js("getComputedStyle(" + item("pagetextitem1~") + ").zoom").toString(), "1.2");
    ASSERT_TRUE(inView([&] { press(Qt::Key_Z, Qt::ControlModifier); }));
    EXPECT_TRUE(design().phoneChoices.empty());
    click(centreIn(item("dpageimageitem2~")));
    ASSERT_TRUE(inView([&] { click(centreIn(button("fullwidth"))); }));
    EXPECT_EQ(js(item("dpageimageitem2~") + ".querySelector('img').getBoundingClientRect().width")
                  .toInt(),
              375);
    ASSERT_TRUE(inView([&] { click(centreIn(button("spacemore"))); }));
    EXPECT_EQ(js("document.getElementById('spacing').textContent").toString(), "12 px");

    // Saved from the view, the page carries its choices; the desktop view never moved.
    press(Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(WaitFor([&] {
        return ReadFile(path("webpages/shaped.html"))
                   .find("#pagecontainer>div{margin-bottom:12px}") != std::string::npos;
    }));
    EXPECT_EQ(stored("select VALUE from phonechoices where ITEM='dpageimageitem2~'"), "FULL");
    EXPECT_EQ(stored("select VALUE from phonechoices where NAME='SPACING'"), "12");
    ASSERT_TRUE(redrawnAfter([&] { menuEntry("&Phone").trigger(); }));
    ASSERT_TRUE(editorShown());
    EXPECT_FALSE(phoneButton->isChecked());
    EXPECT_TRUE(menuEntry("Duplicate").isEnabled());
    EXPECT_EQ(records(), desktop);
    EXPECT_EQ(spot(picture("pageimageitem4~")), "700,500");
}

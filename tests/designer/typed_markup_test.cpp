#include "site/markup/typed_markup.h"

#include <gtest/gtest.h>

#include "textedit/html_conversion.h"
#include "textedit/rich_text.h"

namespace {

std::string Safe(const std::string& typed) {
    std::string page;
    AppendTypedMarkup(page, typed);
    return page;
}

}  // namespace

TEST(TypedMarkup, TheEditorsOwnMarkupPassesByteForByte) {
    RichText text("Hello big\rbold world, <A HREF='page2.html'>next</A> 3 < 5", CharFormat());
    CharFormat big;
    big.face = "Times New Roman";
    big.size = 20;
    big.red = 200;
    text.setFormat(6, 9, big);
    CharFormat effects;
    effects.bold = true;
    effects.italic = true;
    effects.underline = true;
    text.setFormat(10, 14, effects);
    for (const bool justify : {false, true}) {
        RichText converted = text;
        const std::string html = convertToHtml(converted, "pagetextitem3~", justify);
        EXPECT_EQ(Safe(html), html);
    }
}

TEST(TypedMarkup, HandTypedFormattingStaysAndEverythingElseShowsAsText) {
    const struct {
        const char* typed;
        const char* page;
    } cases[] = {
        // A short list of formatting a user types by hand.
        {"<b>bold</b> <EM>em</EM> <h2 align=center>T</h2>",
         "<b>bold</b> <EM>em</EM> <h2 align=center>T</h2>"},
        {"<a href=\"https://example.org/\" target=_blank>x</a>",
         "<a href=\"https://example.org/\" target=_blank>x</a>"},
        {"<img src='pic.gif' alt='a > b' width=20><br/>",
         "<img src='pic.gif' alt='a > b' width=20><br/>"},
        {"<ul><li>a</li></ul><p style='color:red'>x</p>",
         "<ul><li>a</li></ul><p style='color:red'>x</p>"},
        {"<a href='mailto:me@example.org'>m</a>", "<a href='mailto:me@example.org'>m</a>"},
        // A "<" that a browser shows as it stands stays as typed.
        {"Price: 3 < 5, a <5, a<", "Price: 3 < 5, a <5, a<"},
        // So does a typed character reference; a lone "&" stays as it is.
        {"&lt;b&gt; &#60;i&#x3E; &amp;", "&amp;lt;b&amp;gt; &amp;#60;i&amp;#x3E; &amp;amp;"},
        {"Tom & Jerry, AT&T, &;, &#; &#x;", "Tom & Jerry, AT&T, &;, &#; &#x;"},
        // The editor writes letters beyond ASCII as references: they stay letters.
        {"Caf&#233; &#x44F; &#127;", "Caf&#233; &#x44F; &amp;#127;"},
        {"<a href='p.html?a=1&amp;b=2'>x &copy;</a>",
         "<a href='p.html?a=1&amp;b=2'>x &amp;copy;</a>"},
        // Other tags, and tags that would close the section, show as typed.
        {"A </div><script>alert(1)</script> B", "A &lt;/div>&lt;script>alert(1)&lt;/script> B"},
        {"x<y>z", "x&lt;y>z"},
        {"</center><style>*{}</style>", "&lt;/center>&lt;style>*{}&lt;/style>"},
        {"<!-- hidden --> <?x?> </ 5> </>", "&lt;!-- hidden --> &lt;?x?> &lt;/ 5> &lt;/>"},
        {"<div title='</div>'>", "&lt;div title='&lt;/div>'>"},
        // Event attributes and addresses that run code.
        {"<img src=x onerror=alert(1)>", "&lt;img src=x onerror=alert(1)>"},
        {"<a href='javascript:alert(1)'>x</a>", "&lt;a href='javascript:alert(1)'>x&lt;/a>"},
        {"<p onclick='go()'>x</p> <p>y</p>", "&lt;p onclick='go()'>x&lt;/p> <p>y</p>"},
        {"<b>a<b onclick=x>b</b>c</b>", "<b>a&lt;b onclick=x>b&lt;/b>c</b>"},
        {"<a href=' JavaScript:x'>", "&lt;a href=' JavaScript:x'>"},
        {"<a href='&#106;avascript:x'>", "&lt;a href='&amp;#106;avascript:x'>"},
        {"<a href='java&Tab;script&colon;x'>", "&lt;a href='java&amp;Tab;script&amp;colon;x'>"},
        {"<img src='data:image/svg+xml,x'>", "&lt;img src='data:image/svg+xml,x'>"},
        {"<p style='width:expression(alert(1))'>", "&lt;p style='width:expression(alert(1))'>"},
        // Styles only shape the words: none lays the section over the page.
        {"<span style='color: red; font-size:12pt;'>x</span>",
         "<span style='color: red; font-size:12pt;'>x</span>"},
        {"<p style='margin-left:4px;border-top:1px solid'>x</p>",
         "<p style='margin-left:4px;border-top:1px solid'>x</p>"},
        {"<span style='position:fixed;top:0'>x</span>",
         "&lt;span style='position:fixed;top:0'>x&lt;/span>"},
        {"<b style='z-index:9'>x</b>", "&lt;b style='z-index:9'>x&lt;/b>"},
        {"<i style='p\\6fsition:fixed'>x</i>", "&lt;i style='p\\6fsition:fixed'>x&lt;/i>"},
        // Ids that could be taken for an item or the page's own elements.
        {"<span id='pagecontainer'>", "&lt;span id='pagecontainer'>"},
        {"<span id='pagetextitem1~'>", "&lt;span id='pagetextitem1~'>"},
        {"</b class=x>", "&lt;/b class=x>"},
        // A tag that never ends would swallow what follows the section.
        {"a <b", "a &lt;b"},
        {"<a title='x>y", "&lt;a title='x>y"},
        // Formatting left open is closed, last opened first.
        {"<b>open", "<b>open</b>"},
        {"<font color=red><i>x</font>", "<font color=red><i>x</font></i>"},
        {"</u>stray", "</u>stray"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(Safe(test.typed), test.page) << test.typed;
    }
}

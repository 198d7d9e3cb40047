// Every starter that comes with the program, made into a site as a newcomer makes it, then read
// in the real browser: its pages and links whole, nothing wider than the screen from a small
// phone to a wide desktop, no words running out of their boxes, nothing an accessibility
// checker calls serious, and top marks from Lighthouse on a phone.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <filesystem>
#include <regex>
#include <sstream>

#include "common/paths.h"
#include "lighthouse_audit.h"
#include "publish/batch_publish.h"
#include "site/starters.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

bool WaitUntil(const std::function<bool()>& condition) {
    for (int waited = 0; waited < 15000; waited += 20) {
        if (condition()) {
            return true;
        }
        QTest::qWait(20);
    }
    return condition();
}

QVariant RunScript(QWebEngineView& view, const QString& script) {
    QVariant result;
    bool done = false;
    view.page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    WaitUntil([&] { return done; });
    return result;
}

bool Load(QWebEngineView& view, const std::string& file) {
    bool loaded = false;
    const auto connection =
        QObject::connect(&view, &QWebEngineView::loadFinished, [&](bool ok) { loaded = ok; });
    view.load(QUrl::fromLocalFile(QString::fromStdString(file)));
    const bool done = WaitUntil([&] { return loaded; });
    QObject::disconnect(connection);
    return done;
}

// What a page in the browser does wrong at its width: wider than the screen, words running out
// of their box, a picture that did not load.
constexpr const char* kLayoutCheck = R"JS(
(function () {
    var wrong = [];
    if (document.scrollingElement.scrollWidth > window.innerWidth) {
        wrong.push('wider than the screen: ' + document.scrollingElement.scrollWidth);
    }
    document.querySelectorAll("div[id^='pagetextitem']").forEach(function (d) {
        if (d.scrollHeight > d.clientHeight + 1 || d.scrollWidth > d.clientWidth + 1) {
            wrong.push(d.id + ' runs out of its box');
        }
    });
    Array.prototype.forEach.call(document.images, function (i) {
        if (!i.complete || i.naturalWidth === 0) {
            wrong.push('picture not loaded: ' + i.currentSrc);
        }
    });
    return wrong.join('; ');
})()
)JS";

// The addresses a page links to or loads from its own folder.
std::vector<std::string> LocalAddresses(const std::string& html) {
    std::vector<std::string> found;
    static const std::regex address(R"((?:href|src|srcset)\s*=\s*['"]([^'"]+)['"])",
                                    std::regex::icase);
    for (std::sregex_iterator at(html.begin(), html.end(), address), end; at != end; ++at) {
        std::istringstream candidates((*at)[1].str());
        for (std::string candidate; std::getline(candidates, candidate, ',');) {
            std::istringstream words(candidate);
            std::string first;
            words >> first;
            if (!first.empty() && first.find(':') == std::string::npos && first[0] != '#') {
                found.push_back(first.substr(0, first.find_first_of("#?")));
            }
        }
    }
    return found;
}

class StarterTest : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(StarterTest, MakesAWholeSiteThatReadsWellEverywhere) {
    TempFolder working;
    const std::string site = working / "site";
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunBatchPublish({"--workdir", working.path(), "--new-site", GetParam(), site},
                              working.path(), out, err),
              0)
        << err.str();

    std::vector<std::string> pages;
    for (const auto& entry : fs::directory_iterator(site)) {
        if (entry.path().extension() == ".html") {
            pages.push_back(entry.path().filename().string());
        }
    }
    std::sort(pages.begin(), pages.end());
    ASSERT_GE(pages.size(), 3u);
    ASSERT_NE(std::find(pages.begin(), pages.end(), "index.html"), pages.end());
    for (const std::string& page : pages) {
        const std::string html = ReadFile(JoinPath(site, page));
        for (const std::string& address : LocalAddresses(html)) {
            EXPECT_TRUE(fs::exists(JoinPath(site, address))) << page << " -> " << address;
        }
        // Every page's menu leads to every other page.
        for (const std::string& other : pages) {
            EXPECT_NE(html.find("href='" + other + "'"), std::string::npos)
                << page << " does not link to " << other;
        }
    }

    QFile axe(QStringLiteral(QUILLORA_AXE_SCRIPT));
    ASSERT_TRUE(axe.open(QIODevice::ReadOnly));
    const QString checker = QString::fromUtf8(axe.readAll());
    QWebEngineView view;
    for (const int width : {320, 375, 768, 1024, 1280, 1920}) {
        view.resize(width, 900);
        view.show();
        for (const std::string& page : pages) {
            ASSERT_TRUE(Load(view, JoinPath(site, page))) << page;
            WaitUntil(
                [&] { return RunScript(view, "document.fonts.status").toString() == "loaded"; });
            EXPECT_EQ(RunScript(view, kLayoutCheck).toString().toStdString(), "")
                << page << " at " << width << " pixels";
            if (width != 375 && width != 1280) {
                continue;
            }
            RunScript(view, checker);
            RunScript(view,
                      QStringLiteral(
                          "window.axeFound=null;axe.run(document).then(function(r){"
                          "window.axeFound=r.violations.filter(function(v){return "
                          "v.impact==='serious'||v.impact==='critical';}).map(function(v){"
                          "return v.id+' '+v.nodes.map(function(n){return n.target;}).join(',');"
                          "}).join('; ');});"));
            QVariant found;
            WaitUntil([&] {
                found = RunScript(view, QStringLiteral("window.axeFound"));
                return !found.isNull();
            });
            EXPECT_EQ(found.toString().toStdString(), "") << page << " at " << width;
        }
    }

    const QJsonObject audit = LighthouseAudit(site, "index.html", working.path());
    ASSERT_FALSE(audit.isEmpty());
    const QJsonObject categories = audit["categories"].toObject();
    for (const char* category : {"performance", "accessibility", "best-practices", "seo"}) {
        EXPECT_GE(categories[category].toObject()["score"].toDouble(), 0.95) << category;
    }
    EXPECT_LE(
        audit["audits"].toObject()["cumulative-layout-shift"].toObject()["numericValue"].toDouble(),
        0.01);
}

std::vector<std::string> StarterIds() {
    std::vector<std::string> ids;
    for (const StarterEntry& starter : ListStarters(InstalledStartersFolder())) {
        ids.push_back(starter.id);
    }
    return ids;
}

INSTANTIATE_TEST_SUITE_P(Shipped, StarterTest, ::testing::ValuesIn(StarterIds()),
                         [](const ::testing::TestParamInfo<std::string>& starter) {
                             return starter.param;
                         });

// Twelve starters of the kinds a newcomer looks for, each offered by the command line.
TEST(Starters, TwelveKindsAreListedOnTheCommandLine) {
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunBatchPublish({"--list-starters"}, "/nowhere", out, err), 0);
    std::vector<std::string> lines;
    std::istringstream listed(out.str());
    for (std::string line; std::getline(listed, line);) {
        ASSERT_EQ(std::count(line.begin(), line.end(), '\t'), 1) << line;
        lines.push_back(line);
    }
    EXPECT_GE(lines.size(), 12u);
    EXPECT_NE(out.str().find("cafe\tCorner Café (Café or bakery): "), std::string::npos);
    EXPECT_EQ(RunBatchPublish({"--new-site", "no-such", "/tmp/x"}, "/nowhere", out, err), 2);
    EXPECT_NE(err.str().find("There is no starter named no-such"), std::string::npos);
}

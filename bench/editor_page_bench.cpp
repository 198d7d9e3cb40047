// Time to write the editor page (item walk and file) for pages of 10, 200 and 1000 items,
// half text sections and half pictures.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "designer/controls_page.h"
#include "designer/editor_page_writer.h"
#include "platform/browser.h"
#include "platform/clipboard.h"

namespace {

class NoBrowser : public Browser {
  public:
    void navigate(const std::string&) override {}
};

class NoClipboard : public Clipboard {
  public:
    std::string text() override { return std::string(); }
    void setText(const std::string&) override {}
};

PageRecord PageWithItems(int items) {
    PageRecord page;
    page.pageWidth = "800";
    page.pageContainer = PageContainerMarkup("800", "3000");
    for (int i = 0; i < items; ++i) {
        if (!page.stylesData.empty()) {
            page.stylesData += '|';
        }
        if (i % 2 == 0) {
            const std::string id = TextId(i + 1);
            page.stylesData += "<div id='" + id +
                               "' style='position: absolute; top: 10px; left: 20px; width: "
                               "300px; visibility: visible;'>";
            page.texts.push_back(id + "<P><FONT face=Arial size=2>Some text of section " +
                                 std::to_string(i) + " with a few words in it.</FONT></P>");
        } else {
            const std::string name = PictureName(i);
            page.stylesData += "<div id='d" + name +
                               "' style='position:absolute;top:40px;left:60px;background:"
                               "transparent;Z-INDEX:3'>^120^80";
            page.pictures.push_back(name + "/home/user/pictures/photo" + std::to_string(i) +
                                    ".jpg");
            page.links.push_back(i % 4 == 1 ? "http://example.com/" : "");
        }
    }
    return page;
}

void WriteEditorPage(benchmark::State& state) {
    const std::string folder = (std::filesystem::temp_directory_path() / "quillora-bench").string();
    std::filesystem::create_directories(folder);
    NoBrowser browser;
    NoClipboard clipboard;
    ControlsPage controls(folder);
    EditorPageWriter writer(folder, controls, browser, clipboard);
    const PageRecord page = PageWithItems(static_cast<int>(state.range(0)));
    EditorState editor;
    for (auto _ : state) {
        writer.writePictureChange(page, editor);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(WriteEditorPage)->Arg(10)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

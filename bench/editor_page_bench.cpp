// Time to write the editor page (item walk and file) and to publish the finished page for
// pages of 10, 200 and 1000 items, half text sections and half pictures; publishing a 200-item
// page of a phone-friendly site folder beside the same page without.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "bench_pages.h"
#include "bench_ports.h"
#include "designer/editor_page/controls_page.h"
#include "designer/editor_page/editor_page_writer.h"
#include "designer/pages/recovery.h"
#include "platform/browser.h"
#include "platform/clipboard.h"
#include "platform/console_prompts.h"
#include "site/published_page.h"

namespace {

void WriteEditorPage(benchmark::State& state) {
    const std::string folder = (std::filesystem::temp_directory_path() / "quillora-bench").string();
    std::filesystem::create_directories(folder);
    NoBrowser browser;
    NoClipboard clipboard;
    ControlsPage controls(folder);
    ConsolePrompts prompts(std::cerr);
    EditorPageWriter writer(folder, controls, browser, clipboard, prompts);
    const PageRecord page = PageWithItems(static_cast<int>(state.range(0)));
    EditorState editor;
    for (auto _ : state) {
        writer.writePictureChange(page, editor);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(WriteEditorPage)->Arg(10)->Arg(200)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

// The finished page written into its site folder, as a save does (the pictures' copies
// included); the second argument 1 for a phone-friendly site folder.
void PublishPage(benchmark::State& state) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / "quillora-publish-bench").string();
    std::filesystem::create_directories(folder);
    ConsolePrompts prompts(std::cerr);
    PagePublisher publisher(folder, prompts);
    SiteOptions options;
    options.phoneFriendly = state.range(1) != 0;
    publisher.setSiteOptions(options);
    const PageRecord page = PageWithItems(static_cast<int>(state.range(0)));
    std::string text;
    for (auto _ : state) {
        publisher.publish(page, PublishVariant::Save, folder, "page.html", text);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(PublishPage)
    ->Args({200, 0})
    ->Args({200, 1})
    ->Args({1000, 0})
    ->Unit(benchmark::kMillisecond);

// The recovery file of a page, written whole to disk (with its flush) after a change.
void WriteRecoveryFile(benchmark::State& state) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / "quillora-recovery-bench").string();
    std::filesystem::create_directories(folder);
    const PageRecord page = PageWithItems(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        WriteRecovery(folder, page);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(WriteRecoveryFile)->Arg(200)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

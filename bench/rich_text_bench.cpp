// The text editor's conversions on a 10,000-word text whose format changes every ten words:
// the HTML conversion, writing RTF, and reading it back.
#include <benchmark/benchmark.h>

#include "textedit/html_conversion.h"
#include "textedit/rich_text.h"
#include "textedit/rtf_reader.h"
#include "textedit/rtf_writer.h"

namespace {

RichText LongText() {
    RichText text;
    for (int block = 0; block < 1000; ++block) {
        CharFormat format;
        format.bold = block % 2 == 1;
        format.italic = block % 3 == 1;
        format.size = 10 + block % 4 * 2;
        format.red = static_cast<unsigned char>(block % 5 * 50);
        format.face = block % 7 == 0 ? "Times New Roman" : "Arial";
        std::string words;
        for (int word = 0; word < 10; ++word) {
            words += "word" + std::to_string(block * 10 + word) + (word == 9 ? "\r" : " ");
        }
        text.insert(text.length(), words, format);
    }
    return text;
}

void ConvertToHtml(benchmark::State& state) {
    const RichText original = LongText();
    for (auto _ : state) {
        state.PauseTiming();
        RichText text = original;
        state.ResumeTiming();
        benchmark::DoNotOptimize(convertToHtml(text, "pagetextitem1~", false));
    }
}
BENCHMARK(ConvertToHtml)->Unit(benchmark::kMillisecond);

void WriteRtfText(benchmark::State& state) {
    const RichText text = LongText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(WriteRtf(text));
    }
}
BENCHMARK(WriteRtfText)->Unit(benchmark::kMillisecond);

void ReadRtfText(benchmark::State& state) {
    const std::string rtf = WriteRtf(LongText());
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadRtf(rtf));
    }
}
BENCHMARK(ReadRtfText)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// libFuzzer target for the RTF reader: any bytes must read without a crash, hang or undefined
// behaviour, and what was read must survive writing and the HTML conversion.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "textedit/html_conversion.h"
#include "textedit/rtf_reader.h"
#include "textedit/rtf_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    RichText text = ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
    RichText again = ReadRtf(WriteRtf(text));
    convertToHtml(again, "pagetextitem1~", size % 2 == 0);
    return 0;
}

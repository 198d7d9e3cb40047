#include "files/web_pictures.h"

#include <vips/vips.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "common/paths.h"
#include "common/text_file.h"
#include "files/content_hash.h"

namespace {

// Pictures come from anywhere: libvips would pick its loader by content (SVG, PDF, and
// ImageMagick's many formats among them), so every loader is blocked but those of the kinds a
// page shows. ImageMagick stays for BMP alone, which Sniffed lets through by its own mark.
bool VipsReady() {
    static const bool ready = [] {
        if (VIPS_INIT("quillora") != 0) {
            return false;
        }
        vips_operation_block_set("VipsForeignLoad", TRUE);
        for (const char* loader :
             {"VipsForeignLoadJpeg", "VipsForeignLoadPng", "VipsForeignLoadNsgif",
              "VipsForeignLoadWebp", "VipsForeignLoadMagick"}) {
            vips_operation_block_set(loader, FALSE);
        }
        return true;
    }();
    return ready;
}

struct Unref {
    void operator()(VipsImage* image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, Unref>;

enum class Sniffed { Jpeg, Png, Gif, Webp, Bmp, Other };

// The kind a file's first bytes show, whatever its name says.
Sniffed SniffedKind(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char bytes[12] = {};
    file.read(bytes, sizeof bytes);
    const std::string start(bytes, static_cast<std::size_t>(file.gcount()));
    const auto startsWith = [&start](std::string_view mark, std::size_t at = 0) {
        return start.size() >= at + mark.size() && start.compare(at, mark.size(), mark) == 0;
    };
    if (startsWith("\xFF\xD8\xFF")) {
        return Sniffed::Jpeg;
    }
    if (startsWith("\x89PNG\r\n\x1A\n")) {
        return Sniffed::Png;
    }
    if (startsWith("GIF87a") || startsWith("GIF89a")) {
        return Sniffed::Gif;
    }
    if (startsWith("RIFF") && startsWith("WEBP", 8)) {
        return Sniffed::Webp;
    }
    return startsWith("BM") ? Sniffed::Bmp : Sniffed::Other;
}

// The header of a picture of a kind a page shows and of a size worth decoding; the reason
// when it is not one.
struct Header {
    Image image;
    std::string refused;
};
Header ReadHeader(const std::string& path) {
    if (!VipsReady()) {
        return {Image(), "the picture library could not start"};
    }
    if (SniffedKind(path) == Sniffed::Other) {
        return {Image(), "it is no JPEG, PNG, GIF, WebP or BMP picture"};
    }
    VipsImage* header = vips_image_new_from_file(path.c_str(), nullptr);
    if (header == nullptr) {
        vips_error_clear();
        return {Image(), "it does not read as a picture"};
    }
    Image image(header);
    const long long pixels = static_cast<long long>(vips_image_get_width(header)) *
                             vips_image_get_height(header) * vips_image_get_n_pages(header);
    if (pixels > kMostPicturePixels) {
        return {Image(),
                "it is " + std::to_string(vips_image_get_width(header)) + " x " +
                    std::to_string(vips_image_get_height(header)) + " pixels, more than the " +
                    std::to_string(kMostPicturePixels / 1000000) + " million a picture may have"};
    }
    return {std::move(image), std::string()};
}

enum class Kind { Jpeg, Png, Gif, Other };

Kind KindOf(const std::string& path) {
    const char* loader = vips_foreign_find_load(path.c_str());
    const std::string_view name = loader == nullptr ? "" : loader;
    if (name.find("Jpeg") != std::string_view::npos) {
        return Kind::Jpeg;
    }
    if (name.find("Png") != std::string_view::npos) {
        return Kind::Png;
    }
    if (name.find("Gif") != std::string_view::npos) {
        return Kind::Gif;
    }
    return Kind::Other;
}

// The original's kind for the fallback copy; a kind no browser should be sent (BMP and the
// like) falls back to PNG.
const char* FallbackExtension(Kind kind) {
    switch (kind) {
        case Kind::Jpeg:
            return ".jpg";
        case Kind::Gif:
            return ".gif";
        default:
            return ".png";
    }
}

// Fitted inside the box, never enlarged, turned upright as the camera's orientation says, and
// bare of every metadata item (camera, owner, place, orientation, profile): the savers' own
// stripping leaves EXIF in a WebP.
Image Fitted(const std::string& path, int width, int height) {
    VipsImage* fitted = nullptr;
    // A print shop's CMYK photo comes to sRGB through its own profile, or the standard CMYK
    // profile when it has none, before it is fitted: many CMYK profiles offer only their
    // perceptual table, and libvips would otherwise set them aside for its own.
    const Image original(vips_image_new_from_file(path.c_str(), nullptr));
    const bool cmyk =
        original && vips_image_guess_interpretation(original.get()) == VIPS_INTERPRETATION_CMYK;
    int made = 0;
    if (cmyk) {
        VipsImage* light = nullptr;
        made = vips_icc_transform(original.get(), &light, "srgb", "embedded", TRUE, "input_profile",
                                  "cmyk", "intent", VIPS_INTENT_PERCEPTUAL, nullptr);
        const Image lightImage(light);
        made = made != 0 || vips_thumbnail_image(light, &fitted, width, "height", height, "size",
                                                 VIPS_SIZE_DOWN, nullptr) != 0;
    } else {
        made = vips_thumbnail(path.c_str(), &fitted, width, "height", height, "size",
                              VIPS_SIZE_DOWN, nullptr);
    }
    if (made != 0) {
        vips_error_clear();
        return Image();
    }
    Image fittedImage(fitted);
    // Colours a profile gives (Display P3, Adobe RGB) are turned into sRGB before the profile
    // goes, so that the copy shows them as the original does.
    if (!cmyk && vips_image_get_typeof(fitted, VIPS_META_ICC_NAME) != 0) {
        VipsImage* standard = nullptr;
        if (vips_icc_transform(fitted, &standard, "srgb", "embedded", TRUE, nullptr) == 0) {
            fittedImage.reset(standard);
            fitted = standard;
        } else {
            vips_error_clear();
        }
    }
    VipsImage* bare = nullptr;
    if (vips_copy(fitted, &bare, nullptr) != 0) {
        vips_error_clear();
        return Image();
    }
    gchar** fields = vips_image_get_fields(bare);
    for (gchar** field = fields; field != nullptr && *field != nullptr; ++field) {
        // The picture's own description (size, bands, format) cannot be removed and stays.
        vips_image_remove(bare, *field);
    }
    g_strfreev(fields);
    // Read once into memory: the copy is saved twice, and a JPEG is read only in order.
    const Image bareImage(bare);
    VipsImage* held = vips_image_copy_memory(bare);
    if (held == nullptr) {
        vips_error_clear();
    }
    return Image(held);
}

// A copy already upright, in sRGB and bare, fitted inside a smaller box.
Image FittedFrom(VipsImage* image, int width, int height) {
    VipsImage* fitted = nullptr;
    if (vips_thumbnail_image(image, &fitted, width, "height", height, "size", VIPS_SIZE_DOWN,
                             nullptr) != 0) {
        vips_error_clear();
        return Image();
    }
    const Image fittedImage(fitted);
    VipsImage* held = vips_image_copy_memory(fitted);
    if (held == nullptr) {
        vips_error_clear();
    }
    return Image(held);
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    }
    return value;
}

void PutLittleEndian(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

// A WebP file without its EXIF, XMP and colour-profile chunks, which this libvips writes
// whatever it is asked (a basic EXIF block at least); the extended header's flags for them
// cleared. Empty when the bytes are no WebP file.
std::string WithoutMetadataChunks(const std::string& webp) {
    constexpr std::size_t kHeader = 12;
    if (webp.size() < kHeader || webp.compare(0, 4, "RIFF") != 0 ||
        webp.compare(8, 4, "WEBP") != 0) {
        return std::string();
    }
    std::string kept = webp.substr(0, kHeader);
    for (std::size_t at = kHeader; at + 8 <= webp.size();) {
        const std::string fourCc = webp.substr(at, 4);
        const std::size_t size = LittleEndian(webp, at + 4);
        const std::size_t whole = 8 + size + (size % 2);
        if (at + whole > webp.size()) {
            return std::string();
        }
        if (fourCc != "EXIF" && fourCc != "XMP " && fourCc != "ICCP") {
            std::string chunk = webp.substr(at, whole);
            if (fourCc == "VP8X" && size > 0) {
                constexpr unsigned char kMetadataFlags = 0x20 | 0x08 | 0x04;
                chunk[8] =
                    static_cast<char>(static_cast<unsigned char>(chunk[8]) & ~kMetadataFlags);
            }
            kept += chunk;
        }
        at += whole;
    }
    PutLittleEndian(kept, 4, static_cast<std::uint32_t>(kept.size() - 8));
    return kept;
}

bool SaveWebp(VipsImage* image, const std::string& file, bool lossless) {
    void* buffer = nullptr;
    std::size_t length = 0;
    if (vips_webpsave_buffer(image, &buffer, &length, "Q", 80, "lossless", lossless ? TRUE : FALSE,
                             "effort", 2, nullptr) != 0) {
        return false;
    }
    const std::string bytes(static_cast<const char*>(buffer), length);
    g_free(buffer);
    const std::string bare = WithoutMetadataChunks(bytes);
    return !bare.empty() && WriteTextFile(file, bare);
}

bool SaveFallback(VipsImage* image, const std::string& file, Kind kind) {
    switch (kind) {
        case Kind::Jpeg:
            return vips_jpegsave(image, file.c_str(), "Q", 82, "strip", TRUE, "interlace", TRUE,
                                 "optimize_coding", TRUE, nullptr) == 0;
        case Kind::Gif:
            return vips_gifsave(image, file.c_str(), "strip", TRUE, nullptr) == 0;
        default:
            return vips_pngsave(image, file.c_str(), "strip", TRUE, "compression", 9, nullptr) == 0;
    }
}

std::string SizeName(const std::string& stem, const VipsImage* image, const char* extension) {
    return stem + "-" + std::to_string(vips_image_get_width(image)) + "x" +
           std::to_string(vips_image_get_height(image)) + extension;
}

// Written under a passing name and then given its own, so that a copy cut short never counts.
template <typename Save>
bool SaveWhole(const std::string& path, Save&& save) {
    const std::string part = path + ".part";
    if (!save(part)) {
        vips_error_clear();
        std::error_code error;
        std::filesystem::remove(part, error);
        return false;
    }
    std::error_code error;
    std::filesystem::rename(part, path, error);
    return !error;
}

constexpr const char* kIndexName = "prepared.txt";

// What an earlier publish prepared in the folder: three lines, the names of the copies.
bool ReadIndex(const std::string& folder, PreparedPicture& picture) {
    const std::optional<std::vector<std::string>> lines =
        ReadTextLines(JoinPath(folder, kIndexName));
    if (!lines || lines->size() < 3) {
        return false;
    }
    const std::vector<std::string>& names = *lines;
    std::error_code error;
    for (const std::string& name : {names[0], names[2]}) {
        if (name.empty() || !std::filesystem::exists(JoinPath(folder, name), error)) {
            return false;
        }
    }
    picture.prepared = true;
    picture.webp1x = JoinPath(folder, names[0]);
    picture.webp2x = names[1].empty() ? std::string() : JoinPath(folder, names[1]);
    picture.fallback = JoinPath(folder, names[2]);
    return true;
}

}  // namespace

std::optional<std::pair<int, int>> PictureDimensions(const std::string& path) {
    const Header read = ReadHeader(path);
    if (!read.image) {
        return std::nullopt;
    }
    VipsImage* header = read.image.get();
    int width = vips_image_get_width(header);
    int height = vips_image_get_height(header);
    int orientation = 1;
    // Orientations 5 to 8 stand the picture on its side.
    if (vips_image_get_typeof(header, VIPS_META_ORIENTATION) != 0 &&
        vips_image_get_int(header, VIPS_META_ORIENTATION, &orientation) == 0 && orientation >= 5) {
        std::swap(width, height);
    }
    return std::pair{width, height};
}

WebPictures::WebPictures(std::string cacheFolder) : cacheFolder_(std::move(cacheFolder)) {}

PreparedPicture WebPictures::prepare(const std::string& original, int width, int height) {
    PreparedPicture picture;
    const std::string hash = hashOf(original);
    if (width <= 0 || height <= 0 || hash.empty()) {
        return picture;
    }
    const Header read = ReadHeader(original);
    if (!read.image) {
        picture.refused = read.refused;
        return picture;
    }
    const std::string folder =
        JoinPath(cacheFolder_, hash + "-" + std::to_string(width) + "x" + std::to_string(height));
    if (ReadIndex(folder, picture)) {
        return picture;
    }
    const Kind kind = KindOf(original);
    VipsImage* header = read.image.get();
    // A moving GIF would stand still: it is published as it is.
    if (vips_image_get_n_pages(header) > 1) {
        return picture;
    }
    // Transparency and GIF's few colours keep every pixel.
    const bool lossless = kind == Kind::Gif || (kind == Kind::Png && vips_image_hasalpha(header));
    // The original is decoded once, for the larger copy; the smaller one is made from that.
    const Image doubled = Fitted(original, 2 * width, 2 * height);
    const Image single = doubled ? FittedFrom(doubled.get(), width, height) : Image();
    if (!single || !doubled) {
        return picture;
    }
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::string stem = SplitPath(original).name;
    const bool larger = vips_image_get_width(doubled.get()) > vips_image_get_width(single.get());
    const std::string single1x = SizeName(stem, single.get(), ".webp");
    const std::string double2x = larger ? SizeName(stem, doubled.get(), ".webp") : std::string();
    const std::string fallback = SizeName(stem, doubled.get(), FallbackExtension(kind));
    const bool saved =
        SaveWhole(
            JoinPath(folder, single1x),
            [&](const std::string& file) { return SaveWebp(single.get(), file, lossless); }) &&
        (!larger || SaveWhole(JoinPath(folder, double2x),
                              [&](const std::string& file) {
                                  return SaveWebp(doubled.get(), file, lossless);
                              })) &&
        SaveWhole(JoinPath(folder, fallback),
                  [&](const std::string& file) { return SaveFallback(doubled.get(), file, kind); });
    if (!saved || !WriteTextFile(JoinPath(folder, kIndexName),
                                 single1x + "\n" + double2x + "\n" + fallback + "\n")) {
        return picture;
    }
    ++made_;
    ReadIndex(folder, picture);
    return picture;
}

std::string WebPictures::hashOf(const std::string& original) {
    {
        const std::lock_guard<std::mutex> hold(hashesLock_);
        const auto known = hashes_.find(original);
        if (known != hashes_.end()) {
            return known->second;
        }
    }
    const std::string hash = ContentHashOfFile(original);
    const std::lock_guard<std::mutex> hold(hashesLock_);
    return hashes_.emplace(original, hash).first->second;
}

void WebPictures::prepareAll(
    const std::vector<Request>& requests,
    const std::function<void(std::size_t done, std::size_t total)>& progress) {
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> done{0};
    const auto work = [&] {
        for (std::size_t i = next++; i < requests.size(); i = next++) {
            prepare(requests[i].original, requests[i].width, requests[i].height);
            ++done;
        }
    };
    const std::size_t cores = std::max(1U, std::thread::hardware_concurrency());
    // One picture a core: libvips's own threads for each picture would only contend.
    const int concurrency = VipsReady() ? vips_concurrency_get() : 1;
    if (requests.size() > 1) {
        vips_concurrency_set(1);
    }
    std::vector<std::future<void>> workers;
    for (std::size_t i = 0; i < std::min(cores, requests.size()); ++i) {
        workers.push_back(std::async(std::launch::async, work));
    }
    for (std::future<void>& worker : workers) {
        while (worker.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            if (progress) {
                progress(done.load(), requests.size());
            }
        }
        worker.get();
    }
    vips_concurrency_set(concurrency);
    if (progress) {
        progress(requests.size(), requests.size());
    }
}

#include "files/web_pictures.h"

#include <vips/vips.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "common/paths.h"
#include "common/text_file.h"
#include "files/content_hash.h"

namespace {

bool VipsReady() {
    static const bool ready = VIPS_INIT("quillora") == 0;
    return ready;
}

struct Unref {
    void operator()(VipsImage* image) const { g_object_unref(image); }
};
using Image = std::unique_ptr<VipsImage, Unref>;

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

// Fitted inside the box, never enlarged, turned upright as the camera's orientation says.
Image Fitted(const std::string& path, int width, int height) {
    VipsImage* out = nullptr;
    if (vips_thumbnail(path.c_str(), &out, width, "height", height, "size", VIPS_SIZE_DOWN,
                       nullptr) != 0) {
        vips_error_clear();
        return Image();
    }
    return Image(out);
}

bool SaveWebp(VipsImage* image, const std::string& file, bool lossless) {
    return vips_webpsave(image, file.c_str(), "Q", 80, "lossless", lossless ? TRUE : FALSE, "strip",
                         TRUE, "effort", 4, nullptr) == 0;
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

WebPictures::WebPictures(std::string cacheFolder) : cacheFolder_(std::move(cacheFolder)) {}

PreparedPicture WebPictures::prepare(const std::string& original, int width, int height) {
    PreparedPicture picture;
    const std::string hash = ContentHashOfFile(original);
    if (width <= 0 || height <= 0 || hash.empty() || !VipsReady()) {
        return picture;
    }
    const std::string folder =
        JoinPath(cacheFolder_, hash + "-" + std::to_string(width) + "x" + std::to_string(height));
    if (ReadIndex(folder, picture)) {
        return picture;
    }
    const Kind kind = KindOf(original);
    VipsImage* header = vips_image_new_from_file(original.c_str(), nullptr);
    if (header == nullptr) {
        vips_error_clear();
        return picture;
    }
    const Image headerImage(header);
    // A moving GIF would stand still: it is published as it is.
    if (vips_image_get_n_pages(header) > 1) {
        return picture;
    }
    // Transparency and GIF's few colours keep every pixel.
    const bool lossless = kind == Kind::Gif || (kind == Kind::Png && vips_image_hasalpha(header));
    const Image single = Fitted(original, width, height);
    const Image doubled = Fitted(original, 2 * width, 2 * height);
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

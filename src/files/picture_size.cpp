#include "files/picture_size.h"

#include <cstdio>
#include <fstream>

#include "common/paths.h"
#include "common/text_search.h"
#include "files/web_pictures.h"
#include "platform/prompts.h"

namespace {

std::optional<PictureSize> Fail(Prompts& prompts, const std::string& text) {
    prompts.messageBox(text, "quillora", MessageButtons::Ok, MessageIcon::None);
    return std::nullopt;
}

// A file's weight as a person reads it: "12.3 MB", "840 KB".
std::string Weight(long long bytes) {
    char text[32];
    if (bytes >= 1'000'000) {
        std::snprintf(text, sizeof text, "%.1f MB", static_cast<double>(bytes) / 1'000'000);
    } else {
        std::snprintf(text, sizeof text, "%lld KB", (bytes + 999) / 1000);
    }
    return text;
}

}  // namespace

std::string PictureKindName(const std::string& bytes) {
    const std::string head = bytes.substr(0, 512);
    if (StartsWith(head, "%PDF")) {
        return "a PDF document";
    }
    if (head.find("<svg") != std::string::npos) {
        return "an SVG drawing";
    }
    if (StartsWith(head, "II*") || StartsWith(head, "MM\0*")) {
        return "a TIFF picture";
    }
    if (StartsWith(head, "ftypheic", 4) || StartsWith(head, "ftypheix", 4) ||
        StartsWith(head, "ftypmif1", 4)) {
        return "a HEIC photo";
    }
    if (StartsWith(head, "ftypavif", 4)) {
        return "an AVIF photo";
    }
    if (StartsWith(head, "8BPS")) {
        return "a Photoshop document";
    }
    if (StartsWith(head, std::string("\0\0\1\0", 4))) {
        return "an icon file";
    }
    if (head.find("<html") != std::string::npos || head.find("<HTML") != std::string::npos) {
        return "a web page";
    }
    if (StartsWith(head, "\xFF\xD8") || StartsWith(head, "\x89PNG") || StartsWith(head, "GIF8") ||
        StartsWith(head, "RIFF") || StartsWith(head, "BM")) {
        return "a damaged or unfinished picture";
    }
    const bool text = head.find('\0') == std::string::npos;
    return text ? "a text file" : "a file of a kind this program cannot show";
}

std::optional<PictureSize> LoadPictureSize(const std::string& path, PictureDecoder& decoder,
                                           Prompts& prompts) {
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    if (!file) {
        return Fail(prompts, "Could not read file");
    }
    const std::streamoff size = file.tellg();
    if (size < 0) {
        return Fail(prompts, "File seems to be empty");
    }
    // An empty file leaves nothing to hold the picture in.
    if (size == 0) {
        return Fail(prompts, "Could not lock memory for image");
    }
    file.seekg(0);
    // In one read: a camera's photo is megabytes, too many to take a character at a time.
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (!file.read(bytes.data(), size) || file.gcount() != size) {
        return Fail(prompts, "Could not read file");
    }
    const std::optional<PictureSize> picture = decoder.decode(bytes);
    if (!picture) {
        return Fail(prompts, "Could not load image: " + FileNameOf(path) + " is " +
                                 PictureKindName(bytes) +
                                 ". Pages show JPEG, PNG, GIF, WebP and BMP pictures: save it as "
                                 "one of those and add that file.");
    }
    if (picture->width <= 0 || picture->height <= 0) {
        return Fail(prompts, "Could not load image (pgpPicture failure)");
    }
    const long long pixels = static_cast<long long>(picture->width) * picture->height;
    if (pixels > kMostPicturePixels) {
        // Taken all the same, but the user hears now what every visitor would download.
        prompts.messageBox(
            FileNameOf(path) + " is " + std::to_string(picture->width) + " x " +
                std::to_string(picture->height) + " pixels, more than the " +
                std::to_string(kMostPicturePixels / 1'000'000) +
                " million of which web copies are made: every visitor of the page downloads it "
                "whole, " +
                Weight(static_cast<long long>(size)) +
                ". A smaller copy of it, saved from a picture program, loads faster.",
            "quillora", MessageButtons::Ok, MessageIcon::Warning);
    }
    return picture;
}

#include "files/picture_size.h"

#include <fstream>

#include "platform/prompts.h"

namespace {

std::optional<PictureSize> Fail(Prompts& prompts, const char* text) {
    prompts.messageBox(text, "quillora", MessageButtons::Ok, MessageIcon::None);
    return std::nullopt;
}

}  // namespace

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
        return Fail(prompts, "Could not load image (hr failure)");
    }
    if (picture->width <= 0 || picture->height <= 0) {
        return Fail(prompts, "Could not load image (pgpPicture failure)");
    }
    return picture;
}

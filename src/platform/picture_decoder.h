#pragma once

#include <optional>
#include <string>

// A picture's natural size in pixels.
struct PictureSize {
    int width = 0;
    int height = 0;
};

// Decodes picture files (at least BMP, JPEG, GIF and PNG) far enough to know their size.
class PictureDecoder {
  public:
    virtual ~PictureDecoder() = default;
    // The size of the picture held in the bytes; nothing when they do not decode as one.
    virtual std::optional<PictureSize> decode(const std::string& bytes) = 0;
};

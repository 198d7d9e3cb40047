#pragma once

#include <optional>
#include <string>

#include "platform/picture_decoder.h"

class Prompts;

// Picture files as the file dialogs offer them.
inline constexpr const char* kPictureFilter =
    "Image files (*.jpg;*.gif;*.bmp;*.png)|*.jpg;*.gif;*.bmp;*.png||";

// The natural size in pixels of the picture in the file. A file that cannot be read or does
// not decode is reported to the user, with a text that names the step that failed, and gives
// nothing.
std::optional<PictureSize> LoadPictureSize(const std::string& path, PictureDecoder& decoder,
                                           Prompts& prompts);

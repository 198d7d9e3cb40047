#pragma once

#include <optional>
#include <string>

#include "platform/picture_decoder.h"

class Prompts;

// Picture files as the file dialogs offer them.
inline constexpr const char* kPictureFilter =
    "Image files (*.jpg;*.gif;*.bmp;*.png)|*.jpg;*.gif;*.bmp;*.png||";

// What a file that is no picture a page shows is, by its first bytes: "an SVG drawing", "a PDF
// document", "a text file".
std::string PictureKindName(const std::string& bytes);

// The natural size in pixels of the picture in the file. A file that cannot be read or does
// not decode is reported to the user, with a text that names the step that failed (the file
// and what it is, when it does not decode), and gives nothing. A picture of more pixels than
// web copies are made of is taken, and the user told what every visitor would download.
std::optional<PictureSize> LoadPictureSize(const std::string& path, PictureDecoder& decoder,
                                           Prompts& prompts);

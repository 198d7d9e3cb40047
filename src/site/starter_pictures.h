#pragma once

#include <string>
#include <vector>

#include "site/starter_source.h"

// Draws a starter's picture from its commands and writes it as a PNG file; false, with the
// command that is wrong or the file that could not be written, otherwise. The commands, one a
// line, paint over each other in order, smoothed at their edges:
//   fill #RRGGBB                  gradient #TOP #BOTTOM
//   rect X Y W H #RRGGBB          circle X Y R #RRGGBB
//   ellipse X Y RX RY #RRGGBB     triangle X1 Y1 X2 Y2 X3 Y3 #RRGGBB
//   hills BASE HEIGHT WAVELENGTH PHASE #RRGGBB (the land under a wave)
// A colour may carry a fifth pair, its opacity (#RRGGBBAA).
bool DrawStarterPicture(const StarterPicture& picture, const std::string& pngFile,
                        std::string& error);

// A part of a scene: a box of one colour, or a picture's drawing scaled to the box's width.
struct SceneItem {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    std::string colour;
    const StarterPicture* picture = nullptr;
};

// The parts painted over each other in order on a white canvas and written as a PNG file; false
// when the file cannot be written.
bool DrawScene(int width, int height, const std::vector<SceneItem>& items,
               const std::string& pngFile);

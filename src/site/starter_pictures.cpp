#include "site/starter_pictures.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <optional>
#include <sstream>
#include <vector>

#include "common/text_file.h"

namespace {

struct Colour {
    double red = 0;
    double green = 0;
    double blue = 0;
    double opacity = 1;
};

std::optional<Colour> ReadColour(const std::string& text) {
    if (text.size() != 7 && text.size() != 9) {
        return std::nullopt;
    }
    if (text[0] != '#' ||
        text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) {
        return std::nullopt;
    }
    const auto pair = [&](std::size_t at) { return std::stoi(text.substr(at, 2), nullptr, 16); };
    return Colour{static_cast<double>(pair(1)), static_cast<double>(pair(3)),
                  static_cast<double>(pair(5)), text.size() == 9 ? pair(7) / 255.0 : 1.0};
}

// Where a picture's drawing lands on the canvas: its corner and scale; only its own area is
// painted.
struct Placement {
    double left = 0;
    double top = 0;
    double scale = 1;
    double width = 0;
    double height = 0;
};

// The canvas, in doubles, painted shape by shape: each pixel takes as much of the shape's
// colour as of its four sample points lie inside the shape.
class Canvas {
  public:
    Canvas(int width, int height)
        : width_(width),
          height_(height),
          pixels_(static_cast<std::size_t>(width * height), Colour{255, 255, 255, 1}) {}

    int width() const { return width_; }
    int height() const { return height_; }

    void paint(const Placement& area, const std::function<bool(double, double)>& inside,
               const Colour& colour) {
        paintShaded(area, inside, [&](double) { return colour; });
    }

    // Paints with a colour that may change from top to bottom; only the pixels of the area are
    // tried.
    void paintShaded(const Placement& area, const std::function<bool(double, double)>& inside,
                     const std::function<Colour(double)>& colourAt) {
        static constexpr std::array<std::pair<double, double>, 4> kSamples = {
            {{0.25, 0.25}, {0.75, 0.25}, {0.25, 0.75}, {0.75, 0.75}}};
        const auto clamped = [](double value, int most) {
            return std::clamp(static_cast<int>(value), 0, most);
        };
        const int left = clamped(std::floor(area.left), width_);
        const int right = clamped(std::ceil(area.left + area.width * area.scale), width_);
        const int top = clamped(std::floor(area.top), height_);
        const int bottom = clamped(std::ceil(area.top + area.height * area.scale), height_);
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                int hits = 0;
                for (const auto& [dx, dy] : kSamples) {
                    hits += inside(x + dx, y + dy) ? 1 : 0;
                }
                if (hits > 0) {
                    const Colour colour = colourAt(y + 0.5);
                    blend(pixels_[static_cast<std::size_t>(y * width_ + x)], colour,
                          colour.opacity * hits / 4.0);
                }
            }
        }
    }

    std::string rows() const {
        std::string data;
        data.reserve(static_cast<std::size_t>(height_ * (width_ * 3 + 1)));
        for (int y = 0; y < height_; ++y) {
            data += '\0';
            for (int x = 0; x < width_; ++x) {
                const Colour& c = pixels_[static_cast<std::size_t>(y * width_ + x)];
                for (const double value : {c.red, c.green, c.blue}) {
                    data += static_cast<char>(static_cast<unsigned char>(std::lround(value)));
                }
            }
        }
        return data;
    }

  private:
    static void blend(Colour& under, const Colour& over, double amount) {
        under.red += (over.red - under.red) * amount;
        under.green += (over.green - under.green) * amount;
        under.blue += (over.blue - under.blue) * amount;
    }

    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

double Side(double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

// One command painted; false when it is none the drawing knows or its numbers are wrong.
bool Paint(Canvas& canvas, const std::string& command, const Placement& at) {
    std::istringstream in(command);
    std::string verb;
    in >> verb;
    std::vector<double> numbers;
    std::vector<Colour> colours;
    for (std::string word; in >> word;) {
        if (word[0] == '#') {
            const std::optional<Colour> colour = ReadColour(word);
            if (!colour) {
                return false;
            }
            colours.push_back(*colour);
        } else {
            std::istringstream number(word);
            double value = 0;
            if (!(number >> value) || !number.eof()) {
                return false;
            }
            numbers.push_back(value);
        }
    }
    const auto takes = [&](std::size_t count, std::size_t colourCount) {
        return numbers.size() == count && colours.size() == colourCount;
    };
    const std::vector<double>& n = numbers;
    // The shape in the picture's own pixels, tried at a canvas point.
    const auto placed = [&](const std::function<bool(double, double)>& shape) {
        return [&at, shape](double x, double y) {
            const double px = (x - at.left) / at.scale;
            const double py = (y - at.top) / at.scale;
            return px >= 0 && py >= 0 && px < at.width && py < at.height && shape(px, py);
        };
    };
    const auto all = [](double, double) { return true; };
    if (verb == "fill" && takes(0, 1)) {
        canvas.paint(at, placed(all), colours[0]);
    } else if (verb == "gradient" && takes(0, 2)) {
        const Colour top = colours[0];
        const Colour bottom = colours[1];
        canvas.paintShaded(at, placed(all), [&](double y) {
            const double t = std::clamp((y - at.top) / (at.height * at.scale), 0.0, 1.0);
            return Colour{top.red + (bottom.red - top.red) * t,
                          top.green + (bottom.green - top.green) * t,
                          top.blue + (bottom.blue - top.blue) * t, 1};
        });
    } else if (verb == "rect" && takes(4, 1)) {
        canvas.paint(at, placed([&](double x, double y) {
                         return x >= n[0] && x < n[0] + n[2] && y >= n[1] && y < n[1] + n[3];
                     }),
                     colours[0]);
    } else if (verb == "circle" && takes(3, 1)) {
        canvas.paint(at, placed([&](double x, double y) {
                         return (x - n[0]) * (x - n[0]) + (y - n[1]) * (y - n[1]) <= n[2] * n[2];
                     }),
                     colours[0]);
    } else if (verb == "ellipse" && takes(4, 1) && n[2] > 0 && n[3] > 0) {
        canvas.paint(at, placed([&](double x, double y) {
                         const double dx = (x - n[0]) / n[2];
                         const double dy = (y - n[1]) / n[3];
                         return dx * dx + dy * dy <= 1;
                     }),
                     colours[0]);
    } else if (verb == "triangle" && takes(6, 1)) {
        canvas.paint(at, placed([&](double x, double y) {
                         const double a = Side(n[0], n[1], n[2], n[3], x, y);
                         const double b = Side(n[2], n[3], n[4], n[5], x, y);
                         const double c = Side(n[4], n[5], n[0], n[1], x, y);
                         return (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0);
                     }),
                     colours[0]);
    } else if (verb == "hills" && takes(4, 1) && n[2] > 0) {
        canvas.paint(at, placed([&](double x, double y) {
                         return y >= n[0] - n[1] * std::sin((x / n[2] + n[3]) * 2 * M_PI);
                     }),
                     colours[0]);
    } else {
        return false;
    }
    return true;
}

void AppendBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

void AppendChunk(std::string& png, const char* type, const std::string& data) {
    AppendBigEndian(png, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    png += typed;
    AppendBigEndian(
        png, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                              static_cast<uInt>(typed.size()))));
}

std::optional<std::string> Png(int width, int height, const std::string& rows) {
    uLongf size = compressBound(static_cast<uLong>(rows.size()));
    std::string compressed(size, '\0');
    if (compress2(reinterpret_cast<Bytef*>(compressed.data()), &size,
                  reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        return std::nullopt;
    }
    compressed.resize(size);
    std::string header;
    AppendBigEndian(header, static_cast<std::uint32_t>(width));
    AppendBigEndian(header, static_cast<std::uint32_t>(height));
    // Eight bits a channel, truecolour, no interlace.
    header += std::string("\x08\x02\x00\x00\x00", 5);
    std::string png("\x89PNG\r\n\x1a\n", 8);
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "IDAT", compressed);
    AppendChunk(png, "IEND", std::string());
    return png;
}

bool WritePng(const Canvas& canvas, const std::string& pngFile) {
    const std::optional<std::string> png = Png(canvas.width(), canvas.height(), canvas.rows());
    return png && WriteTextFile(pngFile, *png);
}

}  // namespace

bool DrawStarterPicture(const StarterPicture& picture, const std::string& pngFile,
                        std::string& error) {
    Canvas canvas(picture.width, picture.height);
    const Placement whole{0, 0, 1, static_cast<double>(picture.width),
                          static_cast<double>(picture.height)};
    for (const std::string& command : picture.commands) {
        if (!Paint(canvas, command, whole)) {
            error = "picture " + picture.name + ": cannot draw \"" + command + "\"";
            return false;
        }
    }
    if (!WritePng(canvas, pngFile)) {
        error = "picture " + picture.name + ": " + pngFile + " could not be written";
        return false;
    }
    return true;
}

bool DrawScene(int width, int height, const std::vector<SceneItem>& items,
               const std::string& pngFile) {
    Canvas canvas(width, height);
    for (const SceneItem& item : items) {
        if (item.picture == nullptr) {
            Paint(canvas, "fill " + item.colour, {item.left, item.top, 1, item.width, item.height});
            continue;
        }
        const double scale = item.width / item.picture->width;
        for (const std::string& command : item.picture->commands) {
            Paint(canvas, command,
                  {item.left, item.top, scale, static_cast<double>(item.picture->width),
                   static_cast<double>(item.picture->height)});
        }
    }
    return WritePng(canvas, pngFile);
}

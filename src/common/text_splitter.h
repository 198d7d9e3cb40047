#pragma once

#include <string>

// Hands out the pieces of a text between occurrences of a separator, empty pieces included.
// A text without the separator yields no piece at all; otherwise the piece after the last
// separator (possibly empty) is the final one.
class TextSplitter {
  public:
    TextSplitter(std::string text, std::string separator);

    bool hasMore() const;
    std::string next();

  private:
    std::string text_;
    std::string separator_;
    std::size_t position_ = 0;
    bool lastPieceGiven_ = false;
};

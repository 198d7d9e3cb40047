#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

class RichText;

// What the text editor holds for the section being written, and the rules of its controls that
// do not need a window: the box settings and their text-properties record, the alignment
// switches, the list selections and the close.
struct TextEditorState {
    // 1 a new section, 2 an existing one.
    static constexpr int kNewSection = 1;
    static constexpr int kExistingSection = 2;

    std::string itemId;
    std::string workingFolder;
    // The language the words are written in, whose dictionary checks them; empty: the working
    // folder's own.
    std::string spellLanguage;
    int editMode = kNewSection;
    // The results of the last close.
    std::string htmlText;
    std::string rtfText;
    std::string backgroundColor = "#FFFFFF";
    std::string backgroundImage;
    std::string borderColor = "#808080";
    std::string borderWidth = "1px";
    bool justify = false;
    bool rightAlign = false;
    bool centerAlign = false;
    bool cancelled = false;
    // The first background-picture browse opens in the working folder's backgrounds.
    bool firstBrowse = true;

    // Takes the box settings of a text-properties record (id ^ background colour ^ background
    // picture ^ border colour ^ border width ^ marker). A record of 2 characters or fewer
    // changes nothing; the alignment switches change only when the record has a marker field.
    void applyTextProperties(const std::string& properties);
    // The one alignment the radio buttons show: justify, else centre, else right, else left.
    enum class ShownAlignment { Left, Right, Centre, Justify };
    ShownAlignment shownAlignment() const;
    // A radio button was chosen: only its switch is set (left sets none).
    void chooseAlignment(ShownAlignment alignment);
};

// The red, green and blue of an HTML colour text as the editing area's background takes it:
// characters 2-3, 4-5 and 6-7 as hexadecimal pairs (any case, a leading "0X" skipped, reading
// stops at the first other character, a pair without digits is 0). Empty text gives black.
struct BackgroundRgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};
BackgroundRgb BackgroundColourOf(const std::string& htmlColour);

// The entry of a list that the rule of the face, border-width and size lists picks: the first
// that begins with the text (case ignored), searching from the second entry on and wrapping
// round to the first. Nothing when no entry does.
std::optional<std::size_t> FindFromSecondEntry(const std::vector<std::string>& entries,
                                               const std::string& start);

// The sizes the size list offers, in points; "12" is the start.
const std::vector<int>& FontSizes();
inline constexpr std::size_t kStartSizeIndex = 4;
// The border widths: "0px" to "20px".
std::vector<std::string> BorderWidths();
// The size list's entry equal to the points, or nothing (the list keeps its selection).
std::optional<std::size_t> SizeIndexOf(int points);

// Bold, italic and underline buttons: a selection that has the effect throughout loses it, one
// that lacks it throughout or is mixed gets it.
bool EffectAfterToggle(bool throughout, bool nowhere);

// The close of the editor on its text: tags typed next to each other are separated in the
// text itself, then the HTML and the RTF of the section are taken into the state.
void FinishSection(RichText& text, TextEditorState& state);

#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace tavro {

// A small model of a rich-text document: what the RTF reader produces, the
// RTF writer consumes and the rich-text control shows.

// A line break inside a paragraph (RTF \line), kept in the text as the
// Unicode line separator, the character Qt uses for it as well.
inline constexpr char16_t kLineBreak = u'\u2028';

struct Color {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    auto operator<=>(const Color&) const = default;
};

struct CharacterFormat {
    // Index into Document::fonts; kDefaultFont when the source named none.
    static constexpr int kDefaultFont = -1;
    int font = kDefaultFont;
    int halfPoints = 24;  // font size in half points, 24 = 12 pt
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::optional<Color> textColor;        // none: the automatic colour
    std::optional<Color> backgroundColor;  // none: no background
    bool operator==(const CharacterFormat&) const = default;
};

enum class Alignment : std::uint8_t { Left, Center, Right, Justify };

// Indents are in twips (1/1440 inch); the first-line indent is relative to
// the left indent and may be negative (a hanging indent).
struct ParagraphFormat {
    Alignment alignment = Alignment::Left;
    int leftIndent = 0;
    int rightIndent = 0;
    int firstLineIndent = 0;
    // The paragraph is one row of a table: tabs separate its cells, and a
    // cell's own paragraphs are kept as line breaks.
    bool tableRow = false;
    bool operator==(const ParagraphFormat&) const = default;
};

// Pictures are kept encoded, as PNG or JPEG: the reader turns bitmaps into
// PNG and pictures it cannot show (metafiles, damaged data) into a visible
// placeholder.
enum class PictureFormat : std::uint8_t { Png, Jpeg };

struct Picture {
    PictureFormat format = PictureFormat::Png;
    std::vector<std::uint8_t> data;
    int width = 0;  // pixels, as the encoded image says
    int height = 0;
    int displayWidth = 0;  // twips; 0 shows the picture at its own size
    int displayHeight = 0;
    bool operator==(const Picture&) const = default;
};

struct TextRun {
    CharacterFormat format;
    std::u16string text;  // no paragraph ends; tabs and kLineBreak allowed
    bool operator==(const TextRun&) const = default;
};

using Run = std::variant<TextRun, Picture>;

struct Paragraph {
    ParagraphFormat format;
    std::vector<Run> runs;
    bool operator==(const Paragraph&) const = default;
};

struct Document {
    std::vector<std::u16string> fonts;  // family names, each once
    std::vector<Paragraph> paragraphs;
    bool operator==(const Document&) const = default;
};

}  // namespace tavro

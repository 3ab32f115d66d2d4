#pragma once

#include <string_view>

namespace tavro {

// The RTF control words the reader acts on. Words that stand for one
// character (\emdash, \tab, ...) are Keyword::Character with that character.
enum class Keyword : unsigned char {
    Unknown,
    Character,
    // Document
    Ansi,
    AnsiCodePage,
    Mac,
    Pc,
    Pca,
    DefaultFont,
    UnicodeSkipCount,
    Unicode,
    Binary,
    // Destinations
    FontTable,
    ColorTable,
    Picture,
    ShapePicture,
    UnicodeWithAnsi,
    UnicodeAlternative,
    SkippedDestination,
    // Font and colour tables
    Font,
    FontCharset,
    Red,
    Green,
    Blue,
    // Character formatting
    Plain,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    FontSize,
    TextColor,
    BackgroundColor,
    Hidden,
    // Paragraph formatting
    ParagraphDefaults,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustify,
    LeftIndent,
    RightIndent,
    FirstLineIndent,
    InTable,
    // Breaks
    Paragraph,
    Line,
    Cell,
    Row,
    SectionOrPage,
    // Pictures
    PngBlip,
    JpegBlip,
    DibBitmap,
    DeviceBitmap,
    Metafile,
    PictureWidth,
    PictureHeight,
    PictureGoalWidth,
    PictureGoalHeight,
    PictureScaleX,
    PictureScaleY,
    BitmapBitsPerPixel,
    BitmapPlanes,
    BitmapWidthBytes,
};

struct KeywordInfo {
    Keyword keyword = Keyword::Unknown;
    char16_t character = 0;  // for Keyword::Character
};

KeywordInfo LookUpKeyword(std::string_view word);

}  // namespace tavro

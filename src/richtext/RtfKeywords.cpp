#include "richtext/RtfKeywords.h"

#include <array>
#include <cstdint>

namespace tavro {

namespace {

struct KeywordEntry {
    std::string_view word;
    KeywordInfo info;
};

constexpr std::array kKeywords = {
    KeywordEntry{"aftncn", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"aftnsep", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"aftnsepc", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"annotation", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"ansi", {Keyword::Ansi, 0}},
    KeywordEntry{"ansicpg", {Keyword::AnsiCodePage, 0}},
    KeywordEntry{"atnauthor", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"atnid", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"author", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"b", {Keyword::Bold, 0}},
    KeywordEntry{"background", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"bin", {Keyword::Binary, 0}},
    KeywordEntry{"bkmkend", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"bkmkstart", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"blue", {Keyword::Blue, 0}},
    KeywordEntry{"bullet", {Keyword::Character, u'\u2022'}},
    KeywordEntry{"cb", {Keyword::BackgroundColor, 0}},
    KeywordEntry{"cell", {Keyword::Cell, 0}},
    KeywordEntry{"cf", {Keyword::TextColor, 0}},
    KeywordEntry{"chcbpat", {Keyword::BackgroundColor, 0}},
    KeywordEntry{"colorschememapping", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"colortbl", {Keyword::ColorTable, 0}},
    KeywordEntry{"comment", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"datastore", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"deff", {Keyword::DefaultFont, 0}},
    KeywordEntry{"dibitmap", {Keyword::DibBitmap, 0}},
    KeywordEntry{"do", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"docvar", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"emdash", {Keyword::Character, u'\u2014'}},
    KeywordEntry{"emfblip", {Keyword::Metafile, 0}},
    KeywordEntry{"emspace", {Keyword::Character, u'\u2003'}},
    KeywordEntry{"endash", {Keyword::Character, u'\u2013'}},
    KeywordEntry{"enspace", {Keyword::Character, u'\u2002'}},
    KeywordEntry{"f", {Keyword::Font, 0}},
    KeywordEntry{"falt", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"fcharset", {Keyword::FontCharset, 0}},
    KeywordEntry{"fi", {Keyword::FirstLineIndent, 0}},
    KeywordEntry{"filetbl", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"fldinst", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"fname", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"fonttbl", {Keyword::FontTable, 0}},
    KeywordEntry{"footer", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"footerf", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"footerl", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"footerr", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"footnote", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"fs", {Keyword::FontSize, 0}},
    KeywordEntry{"ftncn", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"ftnsep", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"ftnsepc", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"generator", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"green", {Keyword::Green, 0}},
    KeywordEntry{"header", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"headerf", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"headerl", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"headerr", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"highlight", {Keyword::BackgroundColor, 0}},
    KeywordEntry{"i", {Keyword::Italic, 0}},
    KeywordEntry{"info", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"intbl", {Keyword::InTable, 0}},
    KeywordEntry{"jpegblip", {Keyword::JpegBlip, 0}},
    KeywordEntry{"latentstyles", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"ldblquote", {Keyword::Character, u'\u201C'}},
    KeywordEntry{"li", {Keyword::LeftIndent, 0}},
    KeywordEntry{"lin", {Keyword::LeftIndent, 0}},
    KeywordEntry{"line", {Keyword::Line, 0}},
    KeywordEntry{"listoverridetable", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"listpicture", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"listtable", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"lquote", {Keyword::Character, u'\u2018'}},
    KeywordEntry{"ltrmark", {Keyword::Character, u'\u200E'}},
    KeywordEntry{"mac", {Keyword::Mac, 0}},
    KeywordEntry{"macpict", {Keyword::Metafile, 0}},
    KeywordEntry{"mmathPr", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"nestcell", {Keyword::Cell, 0}},
    KeywordEntry{"nestrow", {Keyword::Row, 0}},
    KeywordEntry{"nonshppict", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"objclass", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"objdata", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"operator", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"page", {Keyword::SectionOrPage, 0}},
    KeywordEntry{"panose", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"par", {Keyword::Paragraph, 0}},
    KeywordEntry{"pard", {Keyword::ParagraphDefaults, 0}},
    KeywordEntry{"pc", {Keyword::Pc, 0}},
    KeywordEntry{"pca", {Keyword::Pca, 0}},
    KeywordEntry{"pgdsctbl", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"pich", {Keyword::PictureHeight, 0}},
    KeywordEntry{"pichgoal", {Keyword::PictureGoalHeight, 0}},
    KeywordEntry{"picscalex", {Keyword::PictureScaleX, 0}},
    KeywordEntry{"picscaley", {Keyword::PictureScaleY, 0}},
    KeywordEntry{"pict", {Keyword::Picture, 0}},
    KeywordEntry{"picw", {Keyword::PictureWidth, 0}},
    KeywordEntry{"picwgoal", {Keyword::PictureGoalWidth, 0}},
    KeywordEntry{"plain", {Keyword::Plain, 0}},
    KeywordEntry{"pmmetafile", {Keyword::Metafile, 0}},
    KeywordEntry{"pn", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"pngblip", {Keyword::PngBlip, 0}},
    KeywordEntry{"pnseclvl", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"private", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"protusertbl", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"qc", {Keyword::AlignCenter, 0}},
    KeywordEntry{"qd", {Keyword::AlignJustify, 0}},
    KeywordEntry{"qj", {Keyword::AlignJustify, 0}},
    KeywordEntry{"ql", {Keyword::AlignLeft, 0}},
    KeywordEntry{"qmspace", {Keyword::Character, u'\u2005'}},
    KeywordEntry{"qr", {Keyword::AlignRight, 0}},
    KeywordEntry{"rdblquote", {Keyword::Character, u'\u201D'}},
    KeywordEntry{"red", {Keyword::Red, 0}},
    KeywordEntry{"revtbl", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"ri", {Keyword::RightIndent, 0}},
    KeywordEntry{"rin", {Keyword::RightIndent, 0}},
    KeywordEntry{"row", {Keyword::Row, 0}},
    KeywordEntry{"rquote", {Keyword::Character, u'\u2019'}},
    KeywordEntry{"rsidtbl", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"rtlmark", {Keyword::Character, u'\u200F'}},
    KeywordEntry{"sect", {Keyword::SectionOrPage, 0}},
    KeywordEntry{"shpinst", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"shppict", {Keyword::ShapePicture, 0}},
    KeywordEntry{"strike", {Keyword::Strike, 0}},
    KeywordEntry{"striked", {Keyword::Strike, 0}},
    KeywordEntry{"stylesheet", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"tab", {Keyword::Character, u'\t'}},
    KeywordEntry{"tc", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"tcn", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"template", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"themedata", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"title", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"txe", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"u", {Keyword::Unicode, 0}},
    KeywordEntry{"uc", {Keyword::UnicodeSkipCount, 0}},
    KeywordEntry{"ud", {Keyword::UnicodeAlternative, 0}},
    KeywordEntry{"ul", {Keyword::Underline, 0}},
    KeywordEntry{"uld", {Keyword::Underline, 0}},
    KeywordEntry{"uldash", {Keyword::Underline, 0}},
    KeywordEntry{"uldashd", {Keyword::Underline, 0}},
    KeywordEntry{"uldashdd", {Keyword::Underline, 0}},
    KeywordEntry{"uldb", {Keyword::Underline, 0}},
    KeywordEntry{"ulhwave", {Keyword::Underline, 0}},
    KeywordEntry{"ulldash", {Keyword::Underline, 0}},
    KeywordEntry{"ulnone", {Keyword::UnderlineNone, 0}},
    KeywordEntry{"ulth", {Keyword::Underline, 0}},
    KeywordEntry{"ulthd", {Keyword::Underline, 0}},
    KeywordEntry{"ulthdash", {Keyword::Underline, 0}},
    KeywordEntry{"ulthdashd", {Keyword::Underline, 0}},
    KeywordEntry{"ulthdashdd", {Keyword::Underline, 0}},
    KeywordEntry{"ulthldash", {Keyword::Underline, 0}},
    KeywordEntry{"ululdbwave", {Keyword::Underline, 0}},
    KeywordEntry{"ulw", {Keyword::Underline, 0}},
    KeywordEntry{"ulwave", {Keyword::Underline, 0}},
    KeywordEntry{"upr", {Keyword::UnicodeWithAnsi, 0}},
    KeywordEntry{"userprops", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"v", {Keyword::Hidden, 0}},
    KeywordEntry{"wbitmap", {Keyword::DeviceBitmap, 0}},
    KeywordEntry{"wbmbitspixel", {Keyword::BitmapBitsPerPixel, 0}},
    KeywordEntry{"wbmplanes", {Keyword::BitmapPlanes, 0}},
    KeywordEntry{"wbmwidthbytes", {Keyword::BitmapWidthBytes, 0}},
    KeywordEntry{"wgrffmtfilter", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"wmetafile", {Keyword::Metafile, 0}},
    KeywordEntry{"xe", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"xmlnstbl", {Keyword::SkippedDestination, 0}},
    KeywordEntry{"zwj", {Keyword::Character, u'\u200D'}},
    KeywordEntry{"zwnj", {Keyword::Character, u'\u200C'}},
};
// An open-addressing hash table of indexes into kKeywords, made at compile
// time: one hash and, as a rule, one comparison per control word.
constexpr std::uint32_t Hash(std::string_view word) {
    std::uint32_t hash = 2166136261u;  // FNV-1a
    for (char c : word) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

constexpr std::size_t kSlots = 1024;
static_assert(kKeywords.size() * 4 <= kSlots, "keep the table sparse");

constexpr std::array<std::int16_t, kSlots> MakeSlots() {
    std::array<std::int16_t, kSlots> slots{};
    slots.fill(-1);
    for (std::size_t i = 0; i < kKeywords.size(); ++i) {
        std::size_t slot = Hash(kKeywords[i].word) % kSlots;
        while (slots[slot] >= 0) {
            slot = (slot + 1) % kSlots;
        }
        slots[slot] = static_cast<std::int16_t>(i);
    }
    return slots;
}
constexpr std::array<std::int16_t, kSlots> kSlotTable = MakeSlots();

}  // namespace

KeywordInfo LookUpKeyword(std::string_view word) {
    for (std::size_t slot = Hash(word) % kSlots; kSlotTable[slot] >= 0;
         slot = (slot + 1) % kSlots) {
        const KeywordEntry& entry = kKeywords[static_cast<std::size_t>(kSlotTable[slot])];
        if (entry.word == word) {
            return entry.info;
        }
    }
    return {};
}

}  // namespace tavro

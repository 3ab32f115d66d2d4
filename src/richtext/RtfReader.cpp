#include "richtext/RtfReader.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "richtext/BitmapPictures.h"
#include "richtext/CodePages.h"
#include "richtext/ImageSize.h"
#include "richtext/RtfKeywords.h"

namespace tavro {

namespace {

// What may come before the document's first brace.
constexpr std::string_view kBlanks = " \t\r\n";

// Groups nested deeper than this are read as part of their parent: real
// documents stay far below it, and it bounds the memory of hostile ones.
constexpr std::size_t kMaxGroupDepth = 1000;

// Bounds for numbers taken from control words.
constexpr int kLargestTwips = 1'000'000;
constexpr int kLargestHalfPoints = 3276;
constexpr int kLargestUnicodeSkip = 16;

enum Problem : unsigned {
    kUnclosedGroups = 1u << 0,
    kBinaryPastEnd = 1u << 1,
    kBadHex = 1u << 2,
    kUnreadablePicture = 1u << 3,
    kTooDeep = 1u << 4,
};

constexpr std::array<std::pair<unsigned, std::string_view>, 5> kProblemTexts = {{
    {kUnclosedGroups, "The document ends before all its groups are closed (a truncated file?)."},
    {kBinaryPastEnd, "Binary data (\\bin) runs past the end of the file."},
    {kBadHex,
     "Hexadecimal data holds characters that are not hexadecimal digits; they were skipped."},
    {kUnreadablePicture,
     "A picture's data does not match its format; a placeholder shows instead."},
    {kTooDeep,
     "Groups are nested too deeply; the innermost ones were read as part of their parent."},
}};

enum class Destination : std::uint8_t {
    Text,        // the document's body
    FontTable,   // font names
    ColorTable,  // colour entries
    Picture,     // picture data
    Dropped,     // text that is not shown (the ANSI twin of \upr)
};

enum class PictureKind : std::uint8_t { None, Png, Jpeg, Dib, DeviceBitmap, Metafile };

// Character formatting as control words set it: fonts and colours are still
// the document's numbers, resolved against the tables when text is stored.
struct RunStyle {
    int font = -1;  // -1: the default font (\deff)
    int halfPoints = 24;
    int textColor = -1;  // -1: automatic
    int backgroundColor = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool operator==(const RunStyle&) const = default;
};

struct GroupState {
    RunStyle style;
    ParagraphFormat paragraph;
    bool inTable = false;  // \intbl: the paragraph belongs to a table cell
    Destination destination = Destination::Text;
    bool hidden = false;
    int unicodeSkip = 1;
};

struct ControlWord {
    std::string_view word;
    bool hasParameter = false;
    int parameter = 0;
};

struct FontEntry {
    int index = CharacterFormat::kDefaultFont;
    int codePage = 0;  // 0: the document's
};

struct PictureBuilder {
    PictureKind kind = PictureKind::None;
    std::vector<std::uint8_t> data;
    int pendingNibble = -1;
    int width = 0;  // \picw, \pich
    int height = 0;
    int goalWidth = 0;  // \picwgoal, \pichgoal, twips
    int goalHeight = 0;
    int scaleX = 100;
    int scaleY = 100;
    DeviceBitmapLayout bitmap;
};

constexpr std::array<std::int8_t, 256> MakeHexTable() {
    std::array<std::int8_t, 256> table{};
    table.fill(-1);
    for (int i = 0; i < 10; ++i) {
        table['0' + i] = static_cast<std::int8_t>(i);
    }
    for (int i = 0; i < 6; ++i) {
        table['a' + i] = static_cast<std::int8_t>(10 + i);
        table['A' + i] = static_cast<std::int8_t>(10 + i);
    }
    return table;
}
constexpr std::array<std::int8_t, 256> kHexValue = MakeHexTable();

// Bytes that end a stretch of plain text.
constexpr std::array<bool, 256> MakeSpecialTable() {
    std::array<bool, 256> table{};
    table['\\'] = table['{'] = table['}'] = table['\r'] = table['\n'] = true;
    return table;
}
constexpr std::array<bool, 256> kEndsText = MakeSpecialTable();

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

int Clamp(int value, int low, int high) {
    return std::clamp(value, low, high);
}

class Reader {
  public:
    explicit Reader(std::string_view input) : input_(input) {}

    RtfReadResult Read();

  private:
    // Tokens
    ControlWord ParseControlWord();
    void ReadControl();
    void ReadControlSymbol(char symbol);
    void ReadPlainText();
    void ReadHexEscape();
    void ReadBinary(int length);
    void SkipGroup();

    // Groups
    void OpenGroup();
    void CloseGroup(bool skipped);
    void EnterDestination(Destination destination);

    // Control words
    void Dispatch(Keyword keyword, const ControlWord& control);
    void DispatchCharacterFormat(Keyword keyword, const ControlWord& control);
    void DispatchPicture(Keyword keyword, const ControlWord& control);

    // Text
    void AppendCharacter(char16_t c);
    void AppendAscii(std::string_view text);
    void AppendByte(char byte);
    void FlushBytes();
    void PrepareRun();
    void FlushText();
    void BreakParagraph();
    void EndCell();
    void EndParagraph(bool tableRow = false);
    void EndRow();
    CharacterFormat Resolve(const RunStyle& style) const;
    std::optional<Color> ResolveColor(int index) const;
    int CodePageOfFont(int font) const;
    int CodePageOfFontEntry() const;
    const CodePageDecoder& Decoder(int codePage);

    // Tables and pictures
    void CommitFont();
    void CommitColor();
    void AppendHex(std::string_view text);
    void FinishPicture();
    Picture BuildPicture();

    std::string_view input_;
    std::size_t pos_ = 0;
    bool finished_ = false;
    unsigned problems_ = 0;

    std::vector<GroupState> stack_;
    GroupState state_;
    std::size_t excessDepth_ = 0;
    bool groupStart_ = false;
    bool starred_ = false;
    int skipCount_ = 0;  // fallback characters still to skip after \uN

    int documentCodePage_ = kAnsiCodePage;
    int defaultFont_ = 0;
    std::map<int, std::unique_ptr<CodePageDecoder>> decoders_;

    Document document_;
    Paragraph paragraph_;
    std::u16string text_;  // text of the run being collected
    RunStyle textStyle_;
    std::string bytes_;  // code-page bytes not decoded yet
    int bytesCodePage_ = kAnsiCodePage;

    std::unordered_map<int, FontEntry> fonts_;
    std::unordered_map<std::u16string, int> fontIndexes_;  // family name to Document::fonts
    int fontNumber_ = 0;
    int fontCharset_ = -1;
    std::u16string fontName_;
    std::vector<std::optional<Color>> colors_;
    Color color_;
    bool colorGiven_ = false;
    PictureBuilder picture_;
};

RtfReadResult Reader::Read() {
    RtfReadResult result;
    if (!IsRtf(input_)) {
        return result;
    }
    result.isRtf = true;
    pos_ = input_.find_first_not_of(kBlanks);
    while (pos_ < input_.size() && !finished_) {
        switch (input_[pos_]) {
            case '{':
                ++pos_;
                OpenGroup();
                break;
            case '}':
                ++pos_;
                CloseGroup(false);
                break;
            case '\\':
                ReadControl();
                break;
            case '\r':
            case '\n':
                ++pos_;
                break;
            default:
                ReadPlainText();
                break;
        }
    }
    if (!finished_) {
        problems_ |= kUnclosedGroups;
        excessDepth_ = 0;
        while (!finished_) {
            CloseGroup(false);
        }
    }
    result.document = std::move(document_);
    for (const auto& [problem, text] : kProblemTexts) {
        if ((problems_ & problem) != 0) {
            result.problems.emplace_back(text);
        }
    }
    return result;
}

// Tokens --------------------------------------------------------------------

ControlWord Reader::ParseControlWord() {
    // pos_ is on the first letter after the backslash.
    ControlWord control;
    const std::size_t wordStart = pos_;
    while (pos_ < input_.size() && IsLetter(input_[pos_])) {
        ++pos_;
    }
    control.word = input_.substr(wordStart, pos_ - wordStart);
    bool negative = false;
    if (pos_ + 1 < input_.size() && input_[pos_] == '-' && IsDigit(input_[pos_ + 1])) {
        negative = true;
        ++pos_;
    }
    if (pos_ < input_.size() && IsDigit(input_[pos_])) {
        // Any number of digits is consumed; the value saturates.
        std::int64_t value = 0;
        while (pos_ < input_.size() && IsDigit(input_[pos_])) {
            value = std::min<std::int64_t>(value * 10 + (input_[pos_] - '0'), INT32_MAX);
            ++pos_;
        }
        control.hasParameter = true;
        control.parameter = static_cast<int>(negative ? -value : value);
    }
    if (pos_ < input_.size() && input_[pos_] == ' ') {
        ++pos_;  // the delimiting space belongs to the control word
    }
    return control;
}

void Reader::ReadControl() {
    ++pos_;  // the backslash
    if (pos_ >= input_.size()) {
        return;
    }
    const char c = input_[pos_];
    if (!IsLetter(c)) {
        ++pos_;
        ReadControlSymbol(c);
        return;
    }
    const ControlWord control = ParseControlWord();
    const bool groupStart = groupStart_;
    const bool starred = starred_;
    groupStart_ = starred_ = false;
    const KeywordInfo info = LookUpKeyword(control.word);
    if (info.keyword == Keyword::Binary) {
        ReadBinary(control.hasParameter ? control.parameter : 0);
        return;
    }
    FlushBytes();
    skipCount_ = 0;
    const bool knownDestination =
        info.keyword == Keyword::FontTable || info.keyword == Keyword::ColorTable ||
        info.keyword == Keyword::Picture || info.keyword == Keyword::ShapePicture ||
        info.keyword == Keyword::UnicodeWithAnsi || info.keyword == Keyword::UnicodeAlternative;
    if ((starred && groupStart && !knownDestination) ||
        info.keyword == Keyword::SkippedDestination) {
        SkipGroup();
        return;
    }
    if (info.keyword == Keyword::Character) {
        AppendCharacter(info.character);
        return;
    }
    Dispatch(info.keyword, control);
}

void Reader::ReadControlSymbol(char symbol) {
    if (symbol == '\'') {
        ReadHexEscape();
        return;
    }
    if (symbol == '*') {
        starred_ = groupStart_;
        return;
    }
    groupStart_ = false;
    FlushBytes();
    skipCount_ = 0;
    switch (symbol) {
        case '\\':
        case '{':
        case '}':
            AppendCharacter(static_cast<char16_t>(symbol));
            break;
        case '~':
            AppendCharacter(u'\u00A0');
            break;
        case '_':
            AppendCharacter(u'\u2011');
            break;
        case '\r':
        case '\n':
            if (state_.destination == Destination::Text) {
                BreakParagraph();
            }
            break;
        case '\t':
            AppendCharacter(u'\t');
            break;
        default:
            break;  // \- (optional hyphen), \| and \: (index entries), unknown symbols
    }
}

void Reader::ReadHexEscape() {
    groupStart_ = false;
    int value = 0;
    int digits = 0;
    while (digits < 2 && pos_ < input_.size()) {
        const int nibble = kHexValue[static_cast<unsigned char>(input_[pos_])];
        if (nibble < 0) {
            break;
        }
        value = value * 16 + nibble;
        ++digits;
        ++pos_;
    }
    if (digits < 2) {
        problems_ |= kBadHex;
        return;
    }
    if (skipCount_ > 0) {
        --skipCount_;
        return;
    }
    AppendByte(static_cast<char>(value));
}

void Reader::ReadBinary(int length) {
    const std::size_t available = input_.size() - pos_;
    std::size_t count = length > 0 ? static_cast<std::size_t>(length) : 0;
    if (count > available) {
        problems_ |= kBinaryPastEnd;
        count = available;
    }
    if (skipCount_ > 0) {
        --skipCount_;  // binary data counts as one fallback character
    } else if (state_.destination == Destination::Picture) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(input_.data() + pos_);
        picture_.data.insert(picture_.data.end(), bytes, bytes + count);
    }
    pos_ += count;
}

void Reader::ReadPlainText() {
    groupStart_ = starred_ = false;
    std::size_t end = pos_;
    while (end < input_.size() && !kEndsText[static_cast<unsigned char>(input_[end])]) {
        ++end;
    }
    std::string_view text = input_.substr(pos_, end - pos_);
    pos_ = end;
    if (skipCount_ > 0) {
        const std::size_t skipped = std::min(text.size(), static_cast<std::size_t>(skipCount_));
        skipCount_ -= static_cast<int>(skipped);
        text.remove_prefix(skipped);
    }
    switch (state_.destination) {
        case Destination::Text:
            if (!state_.hidden) {
                AppendAscii(text);
            }
            break;
        case Destination::FontTable:
            for (char c : text) {
                if (c == ';') {
                    CommitFont();
                } else {
                    AppendByte(c);
                }
            }
            break;
        case Destination::ColorTable:
            for (char c : text) {
                if (c == ';') {
                    CommitColor();
                }
            }
            break;
        case Destination::Picture:
            AppendHex(text);
            break;
        case Destination::Dropped:
            break;
    }
}

// Passes over the rest of the current group and closes it. Only \binN
// needs reading on the way: its data may hold braces.
void Reader::SkipGroup() {
    std::size_t depth = 0;
    while (pos_ < input_.size()) {
        const char c = input_[pos_];
        if (c == '\\') {
            ++pos_;
            if (pos_ < input_.size() && IsLetter(input_[pos_])) {
                const ControlWord control = ParseControlWord();
                if (control.word == "bin" && control.hasParameter) {
                    ReadBinary(control.parameter);
                }
            } else {
                ++pos_;
            }
        } else if (c == '{') {
            ++depth;
            ++pos_;
        } else if (c == '}') {
            ++pos_;
            if (depth == 0) {
                CloseGroup(true);
                return;
            }
            --depth;
        } else {
            ++pos_;
            while (pos_ < input_.size() && !kEndsText[static_cast<unsigned char>(input_[pos_])]) {
                ++pos_;
            }
        }
    }
}

// Groups --------------------------------------------------------------------

void Reader::OpenGroup() {
    FlushBytes();
    skipCount_ = 0;
    groupStart_ = true;
    starred_ = false;
    if (stack_.size() >= kMaxGroupDepth || excessDepth_ > 0) {
        problems_ |= kTooDeep;
        ++excessDepth_;
        return;
    }
    stack_.push_back(state_);
}

// A skipped group closes without effect on the tables or pictures.
void Reader::CloseGroup(bool skipped) {
    FlushBytes();
    skipCount_ = 0;
    groupStart_ = starred_ = false;
    if (excessDepth_ > 0) {
        --excessDepth_;
        return;
    }
    if (stack_.empty()) {
        finished_ = true;
        return;
    }
    const GroupState closed = state_;
    state_ = stack_.back();
    stack_.pop_back();
    if (!skipped && closed.destination == Destination::FontTable) {
        CommitFont();
    } else if (!skipped && closed.destination == Destination::Picture &&
               state_.destination != Destination::Picture) {
        FinishPicture();
    }
    if (stack_.empty()) {
        // The document's own group has closed: what follows is not RTF.
        FlushText();
        if (!paragraph_.runs.empty()) {
            paragraph_.format = closed.paragraph;
            document_.paragraphs.push_back(std::move(paragraph_));
        }
        finished_ = true;
    }
}

void Reader::EnterDestination(Destination destination) {
    if (destination == Destination::Picture && state_.destination != Destination::Picture) {
        picture_ = PictureBuilder{};
    }
    if (destination == Destination::FontTable) {
        fontName_.clear();
        fontCharset_ = -1;
    }
    state_.destination = destination;
}

// Control words -------------------------------------------------------------

void Reader::Dispatch(Keyword keyword, const ControlWord& control) {
    const int parameter = control.parameter;
    if (state_.destination == Destination::Picture) {
        DispatchPicture(keyword, control);
        return;
    }
    switch (keyword) {
        case Keyword::Ansi:
            documentCodePage_ = kAnsiCodePage;
            break;
        case Keyword::Mac:
            documentCodePage_ = kMacCodePage;
            break;
        case Keyword::Pc:
            documentCodePage_ = kPcCodePage;
            break;
        case Keyword::Pca:
            documentCodePage_ = kPcaCodePage;
            break;
        case Keyword::AnsiCodePage:
            if (parameter > 0 && parameter < 65536) {
                documentCodePage_ = parameter;
            }
            break;
        case Keyword::DefaultFont:
            defaultFont_ = parameter;
            break;
        case Keyword::UnicodeSkipCount:
            state_.unicodeSkip = Clamp(parameter, 0, kLargestUnicodeSkip);
            break;
        case Keyword::Unicode: {
            const int code = parameter < 0 ? parameter + 65536 : parameter;
            AppendCharacter(code >= 0 && code <= 0xFFFF ? static_cast<char16_t>(code) : u'\uFFFD');
            skipCount_ = state_.unicodeSkip;
            break;
        }
        case Keyword::FontTable:
            EnterDestination(Destination::FontTable);
            break;
        case Keyword::ColorTable:
            colors_.clear();
            color_ = {};
            colorGiven_ = false;
            EnterDestination(Destination::ColorTable);
            break;
        case Keyword::Picture:
            EnterDestination(Destination::Picture);
            break;
        case Keyword::UnicodeWithAnsi:
            EnterDestination(Destination::Dropped);
            break;
        case Keyword::UnicodeAlternative:
            EnterDestination(Destination::Text);
            break;
        case Keyword::Font:
            if (state_.destination == Destination::FontTable) {
                if (!fontName_.empty()) {
                    CommitFont();
                }
                fontNumber_ = parameter;
                fontCharset_ = -1;
            } else {
                state_.style.font = parameter;
            }
            break;
        case Keyword::FontCharset:
            fontCharset_ = parameter;
            break;
        case Keyword::Red:
            color_.red = static_cast<std::uint8_t>(Clamp(parameter, 0, 255));
            colorGiven_ = true;
            break;
        case Keyword::Green:
            color_.green = static_cast<std::uint8_t>(Clamp(parameter, 0, 255));
            colorGiven_ = true;
            break;
        case Keyword::Blue:
            color_.blue = static_cast<std::uint8_t>(Clamp(parameter, 0, 255));
            colorGiven_ = true;
            break;
        case Keyword::ParagraphDefaults:
            state_.paragraph = ParagraphFormat{};
            state_.inTable = false;
            break;
        case Keyword::InTable:
            state_.inTable = true;
            break;
        case Keyword::AlignLeft:
            state_.paragraph.alignment = Alignment::Left;
            break;
        case Keyword::AlignCenter:
            state_.paragraph.alignment = Alignment::Center;
            break;
        case Keyword::AlignRight:
            state_.paragraph.alignment = Alignment::Right;
            break;
        case Keyword::AlignJustify:
            state_.paragraph.alignment = Alignment::Justify;
            break;
        case Keyword::LeftIndent:
            state_.paragraph.leftIndent = Clamp(parameter, -kLargestTwips, kLargestTwips);
            break;
        case Keyword::RightIndent:
            state_.paragraph.rightIndent = Clamp(parameter, -kLargestTwips, kLargestTwips);
            break;
        case Keyword::FirstLineIndent:
            state_.paragraph.firstLineIndent = Clamp(parameter, -kLargestTwips, kLargestTwips);
            break;
        case Keyword::Paragraph:
            if (state_.destination == Destination::Text) {
                BreakParagraph();
            }
            break;
        case Keyword::SectionOrPage:
            if (state_.destination == Destination::Text &&
                (!text_.empty() || !paragraph_.runs.empty())) {
                EndParagraph();
            }
            break;
        case Keyword::Line:
            AppendCharacter(kLineBreak);
            break;
        case Keyword::Cell:
            EndCell();
            break;
        case Keyword::Row:
            if (state_.destination == Destination::Text) {
                EndRow();
                state_.inTable = false;
            }
            break;
        default:
            DispatchCharacterFormat(keyword, control);
            break;
    }
}

void Reader::DispatchCharacterFormat(Keyword keyword, const ControlWord& control) {
    // A toggle without a parameter, or with any other than 0, switches on.
    const bool on = !control.hasParameter || control.parameter != 0;
    RunStyle& style = state_.style;
    switch (keyword) {
        case Keyword::Plain:
            style = RunStyle{};
            state_.hidden = false;
            break;
        case Keyword::Bold:
            style.bold = on;
            break;
        case Keyword::Italic:
            style.italic = on;
            break;
        case Keyword::Underline:
            style.underline = on;
            break;
        case Keyword::UnderlineNone:
            style.underline = false;
            break;
        case Keyword::Strike:
            style.strike = on;
            break;
        case Keyword::Hidden:
            state_.hidden = on;
            break;
        case Keyword::FontSize:
            style.halfPoints =
                control.parameter > 0 ? std::min(control.parameter, kLargestHalfPoints) : 24;
            break;
        case Keyword::TextColor:
            style.textColor = control.parameter;
            break;
        case Keyword::BackgroundColor:
            style.backgroundColor = control.parameter;
            break;
        default:
            break;  // everything else is layout this model does not keep
    }
}

void Reader::DispatchPicture(Keyword keyword, const ControlWord& control) {
    const int parameter = control.parameter;
    const int length = Clamp(parameter, 0, kLargestTwips);
    switch (keyword) {
        case Keyword::PngBlip:
            picture_.kind = PictureKind::Png;
            break;
        case Keyword::JpegBlip:
            picture_.kind = PictureKind::Jpeg;
            break;
        case Keyword::DibBitmap:
            picture_.kind = PictureKind::Dib;
            break;
        case Keyword::DeviceBitmap:
            picture_.kind = PictureKind::DeviceBitmap;
            break;
        case Keyword::Metafile:
            picture_.kind = PictureKind::Metafile;
            break;
        case Keyword::PictureWidth:
            picture_.width = length;
            break;
        case Keyword::PictureHeight:
            picture_.height = length;
            break;
        case Keyword::PictureGoalWidth:
            picture_.goalWidth = length;
            break;
        case Keyword::PictureGoalHeight:
            picture_.goalHeight = length;
            break;
        case Keyword::PictureScaleX:
            picture_.scaleX = length;
            break;
        case Keyword::PictureScaleY:
            picture_.scaleY = length;
            break;
        case Keyword::BitmapBitsPerPixel:
            picture_.bitmap.bitsPerPixel = parameter;
            break;
        case Keyword::BitmapPlanes:
            picture_.bitmap.planes = parameter;
            break;
        case Keyword::BitmapWidthBytes:
            picture_.bitmap.widthBytes = length;
            break;
        default:
            break;
    }
}

// Text ----------------------------------------------------------------------

void Reader::AppendCharacter(char16_t c) {
    const bool control = c < 0x20 && c != u'\t';
    switch (state_.destination) {
        case Destination::Text:
            if (state_.hidden || control) {
                return;
            }
            if (c == u'\u2029') {
                BreakParagraph();
                return;
            }
            PrepareRun();
            // Tabs end a row's cells: a tab within a cell reads as a blank.
            text_ += c == u'\t' && state_.inTable ? u' ' : c;
            break;
        case Destination::FontTable:
            if (!control) {
                fontName_ += c;
            }
            break;
        default:
            break;
    }
}

void Reader::AppendAscii(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = at;
        while (end < text.size()) {
            const auto c = static_cast<unsigned char>(text[end]);
            if (c < 0x20 || c >= 0x80) {
                break;
            }
            ++end;
        }
        if (end > at) {
            FlushBytes();
            PrepareRun();
            text_.append(text.begin() + static_cast<std::ptrdiff_t>(at),
                         text.begin() + static_cast<std::ptrdiff_t>(end));
            at = end;
        }
        if (at < text.size()) {
            const char c = text[at++];
            if ((static_cast<unsigned char>(c) & 0x80) != 0) {
                AppendByte(c);  // 8-bit text: a byte of the code page
            } else if (c == '\t') {
                FlushBytes();
                AppendCharacter(u'\t');
            }
        }
    }
}

void Reader::AppendByte(char byte) {
    const int codePage = state_.destination == Destination::FontTable
                             ? CodePageOfFontEntry()
                             : CodePageOfFont(state_.style.font);
    if (!bytes_.empty() && codePage != bytesCodePage_) {
        FlushBytes();
    }
    bytesCodePage_ = codePage;
    bytes_ += byte;
}

void Reader::FlushBytes() {
    if (bytes_.empty()) {
        return;
    }
    std::u16string decoded;
    Decoder(bytesCodePage_).Decode(bytes_, decoded);
    bytes_.clear();
    for (char16_t c : decoded) {
        AppendCharacter(c);
    }
}

const CodePageDecoder& Reader::Decoder(int codePage) {
    auto& decoder = decoders_[codePage];
    if (!decoder) {
        decoder = std::make_unique<CodePageDecoder>(codePage);
    }
    return *decoder;
}

int Reader::CodePageOfFont(int font) const {
    const auto found = fonts_.find(font < 0 ? defaultFont_ : font);
    if (found == fonts_.end() || found->second.codePage == 0) {
        return documentCodePage_;
    }
    return found->second.codePage;
}

// Font names are written in the charset of their own entry.
int Reader::CodePageOfFontEntry() const {
    const int codePage = CharsetCodePage(fontCharset_);
    return codePage != 0 ? codePage : documentCodePage_;
}

void Reader::PrepareRun() {
    if (!text_.empty() && !(textStyle_ == state_.style)) {
        FlushText();
    }
    if (text_.empty()) {
        textStyle_ = state_.style;
    }
}

std::optional<Color> Reader::ResolveColor(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= colors_.size()) {
        return std::nullopt;
    }
    return colors_[static_cast<std::size_t>(index)];
}

CharacterFormat Reader::Resolve(const RunStyle& style) const {
    CharacterFormat format;
    const auto font = fonts_.find(style.font < 0 ? defaultFont_ : style.font);
    format.font = font == fonts_.end() ? CharacterFormat::kDefaultFont : font->second.index;
    format.halfPoints = style.halfPoints;
    format.bold = style.bold;
    format.italic = style.italic;
    format.underline = style.underline;
    format.strike = style.strike;
    format.textColor = ResolveColor(style.textColor);
    format.backgroundColor = ResolveColor(style.backgroundColor);
    return format;
}

void Reader::FlushText() {
    if (text_.empty()) {
        return;
    }
    CharacterFormat format = Resolve(textStyle_);
    if (!paragraph_.runs.empty()) {
        if (auto* last = std::get_if<TextRun>(&paragraph_.runs.back());
            last != nullptr && last->format == format) {
            last->text += text_;
            text_.clear();
            return;
        }
    }
    paragraph_.runs.emplace_back(TextRun{std::move(format), std::move(text_)});
    text_.clear();
}

// A paragraph end; in a table cell, the cell's paragraphs stay in the row,
// each on a line of its own.
void Reader::BreakParagraph() {
    if (state_.inTable) {
        AppendCharacter(kLineBreak);
    } else {
        EndParagraph();
    }
}

void Reader::EndCell() {
    if (state_.destination == Destination::Text) {
        PrepareRun();
        text_ += u'\t';
    }
}

void Reader::EndParagraph(bool tableRow) {
    FlushBytes();
    FlushText();
    paragraph_.format = state_.paragraph;
    paragraph_.format.tableRow = tableRow;
    document_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = Paragraph{};
}

// A table row becomes one paragraph with its cells separated by tabs.
void Reader::EndRow() {
    FlushText();
    if (!paragraph_.runs.empty()) {
        if (auto* last = std::get_if<TextRun>(&paragraph_.runs.back());
            last != nullptr && !last->text.empty() && last->text.back() == u'\t') {
            last->text.pop_back();
            if (last->text.empty()) {
                paragraph_.runs.pop_back();
            }
        }
    }
    EndParagraph(true);
}

// Tables and pictures -------------------------------------------------------

void Reader::CommitFont() {
    FlushBytes();
    const std::size_t first = fontName_.find_first_not_of(u' ');
    const std::size_t last = fontName_.find_last_not_of(u' ');
    if (first == std::u16string::npos) {
        fontName_.clear();
        return;
    }
    std::u16string name = fontName_.substr(first, last - first + 1);
    fontName_.clear();
    const auto [found, added] =
        fontIndexes_.try_emplace(name, static_cast<int>(document_.fonts.size()));
    if (added) {
        document_.fonts.push_back(std::move(name));
    }
    fonts_[fontNumber_] = {found->second, CharsetCodePage(fontCharset_)};
}

void Reader::CommitColor() {
    colors_.push_back(colorGiven_ ? std::optional<Color>(color_) : std::nullopt);
    color_ = {};
    colorGiven_ = false;
}

void Reader::AppendHex(std::string_view text) {
    auto& data = picture_.data;
    int nibble = picture_.pendingNibble;
    for (char c : text) {
        const int value = kHexValue[static_cast<unsigned char>(c)];
        if (value < 0) {
            if (c != ' ' && c != '\t') {
                problems_ |= kBadHex;
            }
            continue;
        }
        if (nibble < 0) {
            nibble = value;
        } else {
            data.push_back(static_cast<std::uint8_t>(nibble * 16 + value));
            nibble = -1;
        }
    }
    picture_.pendingNibble = nibble;
}

Picture Reader::BuildPicture() {
    const auto& data = picture_.data;
    std::optional<Picture> picture;
    switch (picture_.kind) {
        case PictureKind::Png:
        case PictureKind::Jpeg: {
            const bool png = picture_.kind == PictureKind::Png;
            if (const auto size = png ? PngSize(data) : JpegSize(data)) {
                picture = Picture{png ? PictureFormat::Png : PictureFormat::Jpeg,
                                  data,
                                  size->width,
                                  size->height,
                                  0,
                                  0};
            }
            break;
        }
        case PictureKind::Dib:
            picture = PictureFromDib(data);
            break;
        case PictureKind::DeviceBitmap: {
            DeviceBitmapLayout layout = picture_.bitmap;
            layout.width = picture_.width;
            layout.height = picture_.height;
            picture = PictureFromDeviceBitmap(data, layout);
            break;
        }
        case PictureKind::Metafile:
        case PictureKind::None:
            break;
    }
    const bool pixelSized = picture_.kind != PictureKind::Metafile;
    if (!picture) {
        if (picture_.kind != PictureKind::Metafile) {
            problems_ |= kUnreadablePicture;
        }
        // Metafile sizes are in their own units: the goal size tells more.
        const int width = picture_.goalWidth > 0 ? picture_.goalWidth / 15
                          : pixelSized           ? picture_.width
                                                 : 0;
        const int height = picture_.goalHeight > 0 ? picture_.goalHeight / 15
                           : pixelSized            ? picture_.height
                                                   : 0;
        picture = PlaceholderPicture(width, height);
    }
    // The display size: the goal size when given, scaled.
    const auto scaled = [](int twips, int scale) {
        return static_cast<int>(
            std::min<std::int64_t>(std::int64_t{twips} * scale / 100, kLargestTwips));
    };
    if (picture_.goalWidth > 0 || picture_.scaleX != 100) {
        const int twips = picture_.goalWidth > 0 ? picture_.goalWidth : picture->width * 15;
        picture->displayWidth = scaled(twips, picture_.scaleX);
    }
    if (picture_.goalHeight > 0 || picture_.scaleY != 100) {
        const int twips = picture_.goalHeight > 0 ? picture_.goalHeight : picture->height * 15;
        picture->displayHeight = scaled(twips, picture_.scaleY);
    }
    return std::move(*picture);
}

void Reader::FinishPicture() {
    Picture picture = BuildPicture();
    picture_ = PictureBuilder{};
    if (state_.destination != Destination::Text || state_.hidden) {
        return;
    }
    FlushText();
    paragraph_.runs.emplace_back(std::move(picture));
}

}  // namespace

bool IsRtf(std::string_view input) {
    const std::size_t start = input.find_first_not_of(kBlanks);
    return start != std::string_view::npos && input.substr(start, 5) == "{\\rtf";
}

RtfReadResult ReadRtf(std::string_view rtf) {
    return Reader(rtf).Read();
}

}  // namespace tavro

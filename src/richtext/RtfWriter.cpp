#include "richtext/RtfWriter.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <string_view>

namespace tavro {

namespace {

constexpr std::size_t kHexLineLength = 128;
// Table rows are laid out over the text width of a letter page (6.5 inches),
// in equal cells.
constexpr int kTableWidthTwips = 9360;

class Writer {
  public:
    explicit Writer(const Document& document) : document_(document) {}

    std::string Write();

  private:
    void CollectColors();
    int ColorNumber(const std::optional<Color>& color) const;
    void WriteHeader();
    void WriteParagraph(const Paragraph& paragraph);
    void WriteRowStart(const Paragraph& paragraph);
    void WriteTextRun(const TextRun& run, bool tableRow);
    void WritePicture(const Picture& picture);
    // Tabs end a cell in a table row; ';' is escaped in font names.
    void WriteText(std::u16string_view text, bool fontName, bool tableRow);
    void WriteNumber(std::string_view word, int value);

    const Document& document_;
    std::vector<Color> colors_;          // the colour table after its automatic entry
    std::map<Color, int> colorNumbers_;  // colour to its number in the table
    std::string out_;
};

std::string Writer::Write() {
    CollectColors();
    WriteHeader();
    for (const Paragraph& paragraph : document_.paragraphs) {
        WriteParagraph(paragraph);
    }
    out_ += "}\n";
    return std::move(out_);
}

void Writer::CollectColors() {
    const auto add = [this](const std::optional<Color>& color) {
        if (color &&
            colorNumbers_.try_emplace(*color, static_cast<int>(colors_.size()) + 1).second) {
            colors_.push_back(*color);
        }
    };
    for (const Paragraph& paragraph : document_.paragraphs) {
        for (const Run& run : paragraph.runs) {
            if (const auto* text = std::get_if<TextRun>(&run)) {
                add(text->format.textColor);
                add(text->format.backgroundColor);
            }
        }
    }
}

int Writer::ColorNumber(const std::optional<Color>& color) const {
    return colorNumbers_.at(*color);
}

void Writer::WriteNumber(std::string_view word, int value) {
    out_ += '\\';
    out_ += word;
    out_ += std::to_string(value);
}

void Writer::WriteHeader() {
    // The default font is one the table does not hold, so that text without
    // a font of its own stays in the reader's default font.
    out_ += "{\\rtf1\\ansi\\ansicpg1252\\uc1";
    WriteNumber("deff", static_cast<int>(document_.fonts.size()));
    out_ += "\n{\\fonttbl";
    for (std::size_t i = 0; i < document_.fonts.size(); ++i) {
        out_ += "{";
        WriteNumber("f", static_cast<int>(i));
        out_ += "\\fnil\\fcharset0 ";
        WriteText(document_.fonts[i], true, false);
        out_ += ";}";
    }
    out_ += "}\n{\\colortbl;";
    for (const Color& color : colors_) {
        WriteNumber("red", color.red);
        WriteNumber("green", color.green);
        WriteNumber("blue", color.blue);
        out_ += ';';
    }
    out_ += "}\n";
}

void Writer::WriteParagraph(const Paragraph& paragraph) {
    const ParagraphFormat& format = paragraph.format;
    if (format.tableRow) {
        WriteRowStart(paragraph);
    }
    out_ += format.tableRow ? "\\pard\\intbl" : "\\pard";
    switch (format.alignment) {
        case Alignment::Left:
            out_ += "\\ql";
            break;
        case Alignment::Center:
            out_ += "\\qc";
            break;
        case Alignment::Right:
            out_ += "\\qr";
            break;
        case Alignment::Justify:
            out_ += "\\qj";
            break;
    }
    if (format.leftIndent != 0) {
        WriteNumber("li", format.leftIndent);
    }
    if (format.rightIndent != 0) {
        WriteNumber("ri", format.rightIndent);
    }
    if (format.firstLineIndent != 0) {
        WriteNumber("fi", format.firstLineIndent);
    }
    out_ += '\n';
    for (const Run& run : paragraph.runs) {
        if (const auto* text = std::get_if<TextRun>(&run)) {
            WriteTextRun(*text, format.tableRow);
        } else {
            WritePicture(std::get<Picture>(run));
        }
    }
    out_ += format.tableRow ? "\\cell\\row\n" : "\\par\n";
}

// The row's definition: one cell per tab and one more.
void Writer::WriteRowStart(const Paragraph& paragraph) {
    int cells = 1;
    for (const Run& run : paragraph.runs) {
        if (const auto* text = std::get_if<TextRun>(&run)) {
            cells += static_cast<int>(std::count(text->text.begin(), text->text.end(), u'\t'));
        }
    }
    out_ += "\\trowd\\trgaph108";
    for (int cell = 1; cell <= cells; ++cell) {
        WriteNumber("cellx", static_cast<int>(std::int64_t{kTableWidthTwips} * cell / cells));
    }
    out_ += '\n';
}

void Writer::WriteTextRun(const TextRun& run, bool tableRow) {
    const CharacterFormat& format = run.format;
    out_ += '{';
    if (format.font != CharacterFormat::kDefaultFont) {
        WriteNumber("f", format.font);
    }
    WriteNumber("fs", format.halfPoints);
    if (format.bold) {
        out_ += "\\b";
    }
    if (format.italic) {
        out_ += "\\i";
    }
    if (format.underline) {
        out_ += "\\ul";
    }
    if (format.strike) {
        out_ += "\\strike";
    }
    if (format.textColor) {
        WriteNumber("cf", ColorNumber(format.textColor));
    }
    if (format.backgroundColor) {
        WriteNumber("chcbpat", ColorNumber(format.backgroundColor));
    }
    out_ += ' ';
    WriteText(run.text, false, tableRow);
    out_ += "}\n";
}

void Writer::WritePicture(const Picture& picture) {
    out_ += picture.format == PictureFormat::Png ? "{\\pict\\pngblip" : "{\\pict\\jpegblip";
    WriteNumber("picw", picture.width);
    WriteNumber("pich", picture.height);
    if (picture.displayWidth > 0) {
        WriteNumber("picwgoal", picture.displayWidth);
    }
    if (picture.displayHeight > 0) {
        WriteNumber("pichgoal", picture.displayHeight);
    }
    static constexpr char kDigits[] = "0123456789abcdef";
    for (std::size_t i = 0; i < picture.data.size(); ++i) {
        if (i % (kHexLineLength / 2) == 0) {
            out_ += '\n';
        }
        out_ += kDigits[picture.data[i] >> 4];
        out_ += kDigits[picture.data[i] & 0xF];
    }
    out_ += "}\n";
}

void Writer::WriteText(std::u16string_view text, bool fontName, bool tableRow) {
    for (char16_t c : text) {
        switch (c) {
            case u'\\':
                out_ += "\\\\";
                break;
            case u'{':
                out_ += "\\{";
                break;
            case u'}':
                out_ += "\\}";
                break;
            case u'\t':
                out_ += tableRow ? "\\cell " : "\\tab ";
                break;
            case kLineBreak:
                out_ += "\\line ";
                break;
            default:
                if (c < 0x20) {
                    break;  // control characters have no place in the text
                }
                if (c < 0x80 && !(fontName && c == u';')) {
                    out_ += static_cast<char>(c);
                } else {
                    // \uN takes a signed 16-bit number; '?' is the fallback
                    // for readers without Unicode.
                    WriteNumber("u", c > 0x7FFF ? c - 0x10000 : c);
                    out_ += '?';
                }
                break;
        }
    }
}

}  // namespace

std::string WriteRtf(const Document& document) {
    return Writer(document).Write();
}

}  // namespace tavro

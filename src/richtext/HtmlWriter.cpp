#include "richtext/HtmlWriter.h"

#include <array>
#include <cmath>
#include <string_view>
#include <utility>

#include "richtext/Base64.h"
#include "text/Utf8.h"

namespace tavro {

namespace {

// A length in points, given in hundredths: "12", "10.5", "-0.35".
std::string Points(int hundredths) {
    std::string text = hundredths < 0 ? "-" : "";
    const int magnitude = std::abs(hundredths);
    text += std::to_string(magnitude / 100);
    if (const int fraction = magnitude % 100; fraction != 0) {
        text += '.';
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) {
            text += static_cast<char>('0' + fraction % 10);
        }
    }
    return text + "pt";
}

// Twips are 1/20 point; CSS pixels are 1/96 inch, 15 twips.
std::string TwipsInPoints(int twips) {
    return Points(twips * 5);
}

int TwipsInPixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

std::string HexColor(const Color& color) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "#";
    for (const std::uint8_t part : {color.red, color.green, color.blue}) {
        text += kDigits[part >> 4];
        text += kDigits[part & 0xF];
    }
    return text;
}

// A font family as a quoted CSS string. Everything in ASCII but letters,
// digits, blanks, '-', '_' and '.' is written as a CSS escape, so that no
// name can end the string, the declaration or the attribute.
std::string CssFamily(std::u16string_view name) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::u16string quoted = u"'";
    for (const char16_t c : name) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                           (c >= u'0' && c <= u'9') || c == u' ' || c == u'-' || c == u'_' ||
                           c == u'.' || c >= 0x80;
        if (plain) {
            quoted += c;
        } else if (c >= 0x20 && c != 0x7F) {
            quoted += u'\\';
            quoted += static_cast<char16_t>(kDigits[c >> 4]);
            quoted += static_cast<char16_t>(kDigits[c & 0xF]);
            quoted += u' ';
        }
    }
    return ToUtf8(quoted + u"'");
}

std::string_view TextAlign(Alignment alignment) {
    switch (alignment) {
        case Alignment::Center:
            return "text-align:center;";
        case Alignment::Right:
            return "text-align:right;";
        case Alignment::Justify:
            return "text-align:justify;";
        case Alignment::Left:
            break;
    }
    return "";
}

class Writer {
  public:
    explicit Writer(const Document& document) : document_(document) {}

    std::string Write();

  private:
    void WriteParagraph(const Paragraph& paragraph);
    void WriteRow(const Paragraph& paragraph);
    void WriteRuns(const Paragraph& paragraph);
    void WriteTextRun(const TextRun& run);
    void WriteFormatted(const CharacterFormat& format, std::u16string_view text);
    void WriteText(std::u16string_view text);
    void WritePicture(const Picture& picture);
    std::string CharacterStyle(const CharacterFormat& format) const;
    void StartBlock();
    void EndBlock();

    const Document& document_;
    std::string out_;
    std::string cellStart_;  // the start tag of a cell of the row being written
    bool inRow_ = false;
    // What the block (a paragraph or a cell) holds so far.
    bool empty_ = true;
    bool endsWithBreak_ = false;
    bool spaceWouldCollapse_ = true;  // at a line's start or after a space
};

std::string Writer::Write() {
    out_ = "<html><head><meta charset=\"utf-8\"></head><body>\n";
    const std::vector<Paragraph>& paragraphs = document_.paragraphs;
    for (std::size_t i = 0; i < paragraphs.size();) {
        if (!paragraphs[i].format.tableRow) {
            WriteParagraph(paragraphs[i++]);
            continue;
        }
        out_ += "<table style=\"border-collapse:collapse\">\n";
        for (; i < paragraphs.size() && paragraphs[i].format.tableRow; ++i) {
            WriteRow(paragraphs[i]);
        }
        out_ += "</table>\n";
    }
    out_ += "</body></html>\n";
    return std::move(out_);
}

void Writer::WriteParagraph(const Paragraph& paragraph) {
    const ParagraphFormat& format = paragraph.format;
    out_ += "<p style=\"margin:0;";
    out_ += TextAlign(format.alignment);
    if (format.leftIndent != 0) {
        out_ += "margin-left:" + TwipsInPoints(format.leftIndent) + ';';
    }
    if (format.rightIndent != 0) {
        out_ += "margin-right:" + TwipsInPoints(format.rightIndent) + ';';
    }
    if (format.firstLineIndent != 0) {
        out_ += "text-indent:" + TwipsInPoints(format.firstLineIndent) + ';';
    }
    out_ += "\">";
    StartBlock();
    WriteRuns(paragraph);
    EndBlock();
    out_ += "</p>\n";
}

// Cells get the gap word processors leave between them by default.
void Writer::WriteRow(const Paragraph& paragraph) {
    cellStart_ = "<td style=\"padding:0 5.4pt;vertical-align:top;";
    cellStart_ += TextAlign(paragraph.format.alignment);
    cellStart_ += "\">";
    out_ += "<tr>" + cellStart_;
    inRow_ = true;
    StartBlock();
    WriteRuns(paragraph);
    EndBlock();
    inRow_ = false;
    out_ += "</td></tr>\n";
}

void Writer::WriteRuns(const Paragraph& paragraph) {
    for (const Run& run : paragraph.runs) {
        if (const auto* text = std::get_if<TextRun>(&run)) {
            WriteTextRun(*text);
        } else {
            WritePicture(std::get<Picture>(run));
        }
    }
}

// In a table row, the run's tabs end cells.
void Writer::WriteTextRun(const TextRun& run) {
    std::u16string_view text = run.text;
    while (inRow_) {
        const std::size_t tab = text.find(u'\t');
        if (tab == std::u16string_view::npos) {
            break;
        }
        WriteFormatted(run.format, text.substr(0, tab));
        EndBlock();
        out_ += "</td>" + cellStart_;
        StartBlock();
        text.remove_prefix(tab + 1);
    }
    WriteFormatted(run.format, text);
}

void Writer::WriteFormatted(const CharacterFormat& format, std::u16string_view text) {
    if (text.empty()) {
        return;
    }
    const std::array<std::pair<bool, std::string_view>, 4> elements = {{
        {format.bold, "b"},
        {format.italic, "i"},
        {format.underline, "u"},
        {format.strike, "s"},
    }};
    out_ += "<span style=\"" + CharacterStyle(format) + "\">";
    for (const auto& [on, name] : elements) {
        if (on) {
            out_.append("<").append(name).append(">");
        }
    }
    WriteText(text);
    for (auto element = elements.rbegin(); element != elements.rend(); ++element) {
        if (element->first) {
            out_.append("</").append(element->second).append(">");
        }
    }
    out_ += "</span>";
}

std::string Writer::CharacterStyle(const CharacterFormat& format) const {
    std::string style;
    if (format.font >= 0 && static_cast<std::size_t>(format.font) < document_.fonts.size()) {
        style +=
            "font-family:" + CssFamily(document_.fonts[static_cast<std::size_t>(format.font)]) +
            ';';
    }
    style += "font-size:" + Points(format.halfPoints * 50) + ';';
    if (format.textColor) {
        style += "color:" + HexColor(*format.textColor) + ';';
    }
    if (format.backgroundColor) {
        style += "background-color:" + HexColor(*format.backgroundColor) + ';';
    }
    return style;
}

// Runs of blanks, and blanks at a line's start, alternate with no-break
// spaces so that the browser shows every one.
void Writer::WriteText(std::u16string_view text) {
    std::u16string html;
    for (const char16_t c : text) {
        bool collapses = false;
        switch (c) {
            case u'&':
                html += u"&amp;";
                break;
            case u'<':
                html += u"&lt;";
                break;
            case u'>':
                html += u"&gt;";
                break;
            case u'"':
                html += u"&quot;";
                break;
            case u'\'':
                html += u"&#39;";
                break;
            case u' ':
                html += spaceWouldCollapse_ ? u"&nbsp;" : u" ";
                collapses = !spaceWouldCollapse_;
                break;
            case u'\t':
                html += u"<span style=\"white-space:pre\">\t</span>";
                break;
            case kLineBreak:
                html += u"<br>";
                collapses = true;
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    continue;  // control characters have no place in the text
                }
                html += c;
                break;
        }
        empty_ = false;
        endsWithBreak_ = c == kLineBreak;
        spaceWouldCollapse_ = collapses;
    }
    out_ += ToUtf8(html);
}

void Writer::WritePicture(const Picture& picture) {
    out_ += picture.format == PictureFormat::Png ? "<img src=\"data:image/png;base64,"
                                                 : "<img src=\"data:image/jpeg;base64,";
    out_ += EncodeBase64(picture.data);
    out_ += '"';
    if (picture.displayWidth > 0) {
        out_ += " width=\"" + std::to_string(TwipsInPixels(picture.displayWidth)) + '"';
    }
    if (picture.displayHeight > 0) {
        out_ += " height=\"" + std::to_string(TwipsInPixels(picture.displayHeight)) + '"';
    }
    out_ += '>';
    empty_ = false;
    endsWithBreak_ = false;
    spaceWouldCollapse_ = false;
}

void Writer::StartBlock() {
    empty_ = true;
    endsWithBreak_ = false;
    spaceWouldCollapse_ = true;
}

// An empty block, or a last line that is empty, shows as a line only with a
// break of its own.
void Writer::EndBlock() {
    if (empty_ || endsWithBreak_) {
        out_ += "<br>";
    }
}

}  // namespace

std::string WriteHtml(const Document& document) {
    return Writer(document).Write();
}

}  // namespace tavro

#include "editor/RichTextConversion.h"

#include <algorithm>

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

namespace tavro {

namespace {

// Twips are 1/1440 inch; QTextDocument lengths are pixels at 96 per inch.
constexpr double kTwipsPerPixel = 15.0;

// Marks a block that holds one row of a table (its cells separated by tabs).
constexpr int kTableRowProperty = QTextFormat::UserProperty;

double ToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

int ToTwips(double pixels) {
    return static_cast<int>(std::lround(pixels * kTwipsPerPixel));
}

QColor ToQColor(const Color& color) {
    return {color.red, color.green, color.blue};
}

Color FromQColor(const QColor& color) {
    return {static_cast<std::uint8_t>(color.red()), static_cast<std::uint8_t>(color.green()),
            static_cast<std::uint8_t>(color.blue())};
}

QTextBlockFormat ToBlockFormat(const ParagraphFormat& format) {
    QTextBlockFormat block;
    switch (format.alignment) {
        case Alignment::Left:
            block.setAlignment(Qt::AlignLeft);
            break;
        case Alignment::Center:
            block.setAlignment(Qt::AlignHCenter);
            break;
        case Alignment::Right:
            block.setAlignment(Qt::AlignRight);
            break;
        case Alignment::Justify:
            block.setAlignment(Qt::AlignJustify);
            break;
    }
    block.setLeftMargin(ToPixels(format.leftIndent));
    block.setRightMargin(ToPixels(format.rightIndent));
    block.setTextIndent(ToPixels(format.firstLineIndent));
    if (format.tableRow) {
        block.setProperty(kTableRowProperty, true);
    }
    return block;
}

ParagraphFormat FromBlockFormat(const QTextBlockFormat& block) {
    ParagraphFormat format;
    const Qt::Alignment horizontal = block.alignment() & Qt::AlignHorizontal_Mask;
    if (horizontal & Qt::AlignHCenter) {
        format.alignment = Alignment::Center;
    } else if (horizontal & Qt::AlignRight) {
        format.alignment = Alignment::Right;
    } else if (horizontal & Qt::AlignJustify) {
        format.alignment = Alignment::Justify;
    }
    format.leftIndent = ToTwips(block.leftMargin());
    format.rightIndent = ToTwips(block.rightMargin());
    format.firstLineIndent = ToTwips(block.textIndent());
    format.tableRow = block.boolProperty(kTableRowProperty);
    return format;
}

QTextCharFormat ToCharFormat(const CharacterFormat& format, const Document& document) {
    QTextCharFormat chars;
    if (format.font >= 0 && static_cast<std::size_t>(format.font) < document.fonts.size()) {
        chars.setFontFamilies(
            {QString::fromStdU16String(document.fonts[static_cast<std::size_t>(format.font)])});
    }
    chars.setFontPointSize(format.halfPoints / 2.0);
    chars.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    chars.setFontItalic(format.italic);
    chars.setFontUnderline(format.underline);
    chars.setFontStrikeOut(format.strike);
    if (format.textColor) {
        chars.setForeground(ToQColor(*format.textColor));
    }
    if (format.backgroundColor) {
        chars.setBackground(ToQColor(*format.backgroundColor));
    }
    return chars;
}

class RangeReader {
  public:
    RangeReader(const QTextDocument& document, const DocumentPictures& pictures)
        : document_(document), pictures_(pictures) {}

    Document Read(int from, int to);

  private:
    CharacterFormat FromCharFormat(const QTextCharFormat& chars);
    int FontIndex(const QString& family);
    void AddText(Paragraph& paragraph, const CharacterFormat& format, const QString& text);

    const QTextDocument& document_;
    const DocumentPictures& pictures_;
    Document result_;
};

Document RangeReader::Read(int from, int to) {
    if (document_.isEmpty()) {
        return {};
    }
    for (QTextBlock block = document_.findBlock(from); block.isValid() && block.position() <= to;
         block = block.next()) {
        Paragraph paragraph;
        paragraph.format = FromBlockFormat(block.blockFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int start = std::max(from, fragment.position());
            const int end = std::min(to, fragment.position() + fragment.length());
            if (start >= end) {
                continue;
            }
            const QString text = fragment.text().mid(start - fragment.position(), end - start);
            const QTextCharFormat chars = fragment.charFormat();
            if (chars.isImageFormat()) {
                const QTextImageFormat image = chars.toImageFormat();
                Picture picture = pictures_.Find(document_, image.name());
                picture.displayWidth = image.width() > 0 ? ToTwips(image.width()) : 0;
                picture.displayHeight = image.height() > 0 ? ToTwips(image.height()) : 0;
                for (int i = 0; i < text.size(); ++i) {
                    paragraph.runs.emplace_back(picture);
                }
            } else {
                AddText(paragraph, FromCharFormat(chars), text);
            }
        }
        result_.paragraphs.push_back(std::move(paragraph));
    }
    return std::move(result_);
}

void RangeReader::AddText(Paragraph& paragraph, const CharacterFormat& format,
                          const QString& text) {
    if (!paragraph.runs.empty()) {
        if (auto* last = std::get_if<TextRun>(&paragraph.runs.back());
            last != nullptr && last->format == format) {
            last->text += text.toStdU16String();
            return;
        }
    }
    paragraph.runs.emplace_back(TextRun{format, text.toStdU16String()});
}

int RangeReader::FontIndex(const QString& family) {
    const std::u16string name = family.toStdU16String();
    auto& fonts = result_.fonts;
    const auto found = std::find(fonts.begin(), fonts.end(), name);
    if (found != fonts.end()) {
        return static_cast<int>(found - fonts.begin());
    }
    fonts.push_back(name);
    return static_cast<int>(fonts.size()) - 1;
}

CharacterFormat RangeReader::FromCharFormat(const QTextCharFormat& chars) {
    const QFont fallback = document_.defaultFont();
    CharacterFormat format;
    const QStringList families = chars.fontFamilies().toStringList();
    format.font = FontIndex(families.isEmpty() ? fallback.family() : families.front());
    const double points = chars.hasProperty(QTextFormat::FontPointSize) ? chars.fontPointSize()
                                                                        : fallback.pointSizeF();
    format.halfPoints = std::max(1, static_cast<int>(std::lround(points * 2)));
    format.bold = chars.fontWeight() >= QFont::DemiBold;
    format.italic = chars.fontItalic();
    format.underline = chars.fontUnderline();
    format.strike = chars.fontStrikeOut();
    if (chars.hasProperty(QTextFormat::ForegroundBrush) &&
        chars.foreground().style() != Qt::NoBrush) {
        format.textColor = FromQColor(chars.foreground().color());
    }
    if (chars.hasProperty(QTextFormat::BackgroundBrush) &&
        chars.background().style() != Qt::NoBrush) {
        format.backgroundColor = FromQColor(chars.background().color());
    }
    return format;
}

}  // namespace

void InsertRichDocument(QTextCursor& cursor, const Document& document, DocumentPictures& pictures,
                        bool firstParagraphLayout) {
    QTextDocument& target = *cursor.document();
    cursor.beginEditBlock();
    bool first = true;
    for (const Paragraph& paragraph : document.paragraphs) {
        if (!first) {
            cursor.insertBlock(ToBlockFormat(paragraph.format));
        } else if (firstParagraphLayout) {
            cursor.setBlockFormat(ToBlockFormat(paragraph.format));
        }
        first = false;
        for (const Run& run : paragraph.runs) {
            if (const auto* text = std::get_if<TextRun>(&run)) {
                cursor.insertText(QString::fromStdU16String(text->text),
                                  ToCharFormat(text->format, document));
            } else {
                const Picture& picture = std::get<Picture>(run);
                QTextImageFormat image;
                image.setName(pictures.Add(target, picture));
                if (picture.displayWidth > 0) {
                    image.setWidth(ToPixels(picture.displayWidth));
                }
                if (picture.displayHeight > 0) {
                    image.setHeight(ToPixels(picture.displayHeight));
                }
                cursor.insertImage(image);
            }
        }
    }
    cursor.endEditBlock();
}

Document RichDocumentFromRange(const QTextDocument& document, int from, int to,
                               const DocumentPictures& pictures) {
    return RangeReader(document, pictures).Read(from, to);
}

}  // namespace tavro

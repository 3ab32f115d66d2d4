#include "legend/LegendComposer.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "ProgramVersion.h"
#include "legend/LegendTexts.h"
#include "platform/PictureLoader.h"
#include "richtext/ImageSize.h"
#include "richtext/RtfReader.h"
#include "store/ContentFileReading.h"
#include "store/DataFolder.h"
#include "store/TriggerTable.h"
#include "store/TriggerType.h"

namespace tavro {

namespace {

namespace fs = std::filesystem;

// Arial, the one font of the legend's font table.
constexpr int kLegendFontNumber = 0;

// Pictures show at 96 pixels per inch, made smaller where they would not fit
// the text area of a page (6 inches wide with the default page of RTF) or
// would take more than most of its height.
constexpr std::int64_t kTwipsPerPixel = 15;
constexpr std::int64_t kLargestPictureWidth = 8640;
constexpr std::int64_t kLargestPictureHeight = 11520;

CharacterFormat LegendFormat(int halfPoints = kLegendHalfPoints, bool bold = false) {
    CharacterFormat format;
    format.font = kLegendFontNumber;
    format.halfPoints = halfPoints;
    format.bold = bold;
    return format;
}

CharacterFormat TitleFormat() {
    CharacterFormat format = LegendFormat(kLegendTitleHalfPoints, true);
    format.italic = true;
    format.underline = true;
    return format;
}

// The lines of a field that holds line breaks (CR LF, CR or LF).
std::vector<std::u16string_view> FieldLines(std::u16string_view field) {
    std::vector<std::u16string_view> lines;
    for (;;) {
        const std::size_t end = field.find_first_of(u"\r\n");
        if (end == std::u16string_view::npos) {
            lines.push_back(field);
            return lines;
        }
        lines.push_back(field.substr(0, end));
        const bool crLf = field[end] == u'\r' && end + 1 < field.size() && field[end + 1] == u'\n';
        field.remove_prefix(end + (crLf ? 2 : 1));
    }
}

// The loader's PNG or JPEG bytes as a picture sized for the page; nothing
// when they are neither.
std::optional<Picture> LegendPicture(std::vector<std::uint8_t> bytes) {
    Picture picture;
    std::optional<PixelSize> size = PngSize(bytes);
    if (!size) {
        size = JpegSize(bytes);
        picture.format = PictureFormat::Jpeg;
    }
    if (!size) {
        return std::nullopt;
    }
    picture.data = std::move(bytes);
    picture.width = size->width;
    picture.height = size->height;
    std::int64_t width = size->width * kTwipsPerPixel;
    std::int64_t height = size->height * kTwipsPerPixel;
    if (width > kLargestPictureWidth) {
        height = std::max<std::int64_t>(1, height * kLargestPictureWidth / width);
        width = kLargestPictureWidth;
    }
    if (height > kLargestPictureHeight) {
        width = std::max<std::int64_t>(1, width * kLargestPictureHeight / height);
        height = kLargestPictureHeight;
    }
    picture.displayWidth = static_cast<int>(width);
    picture.displayHeight = static_cast<int>(height);
    return picture;
}

class Composer {
  public:
    Composer(const fs::path& programFolder, PictureLoader& pictures)
        : programFolder_(programFolder), pictures_(pictures) {
        document_.fonts.emplace_back(kLegendFont);
    }

    Document Compose(const TriggerTable& triggers) {
        AddHeader();
        for (int slot = 0; slot < triggers.UsedSlots(); ++slot) {
            // A slot without a trigger text is deleted (or not yet named).
            if (!triggers.Slot(slot).Trigger.empty()) {
                AddTrigger(triggers.Slot(slot));
            }
        }
        return std::move(document_);
    }

  private:
    void AddHeader() {
        AddLine(kLegendTitle, TitleFormat());
        AddLine(std::u16string(kLegendVersionLineStart) + std::u16string(kProgramVersion));
        AddLine(u"");
        AddLine(kLegendRule);
    }

    void AddTrigger(const TriggerRecord& record) {
        AddField(kLabelTrigger, record.Trigger, LegendFormat(kLegendTriggerHalfPoints, true));
        AddField(kLabelType, record.Type);
        AddField(kLabelName, record.Display);
        if (record.Type == kTypeText) {
            AddField(kLabelText, record.ReplaceText);
        } else if (record.Type == kTypeImage) {
            AddField(kLabelImage, record.ReplaceImageFile);
            AddPicture(record.ReplaceImageFile);
            AddField(kLabelAlternateText, record.ReplaceText);
        } else if (record.Type == kTypeRTF) {
            AddField(kLabelRichTextFile, record.ReplaceRTFFile);
            AddRichTextFile(record.ReplaceRTFFile);
            AddField(kLabelAlternateText, record.ReplaceText);
        } else if (record.Type == kTypeLaunch) {
            AddField(kLabelLaunch, record.CommandLine);
        }
        AddLine(u"");
        AddLine(kLegendRule);
        AddLine(u"");
    }

    Paragraph& NewParagraph() { return document_.paragraphs.emplace_back(); }

    static void AddText(Paragraph& paragraph, std::u16string_view text,
                        const CharacterFormat& format) {
        if (text.empty()) {
            return;
        }
        auto* last =
            paragraph.runs.empty() ? nullptr : std::get_if<TextRun>(&paragraph.runs.back());
        if (last != nullptr && last->format == format) {
            last->text += text;
        } else {
            paragraph.runs.emplace_back(TextRun{format, std::u16string(text)});
        }
    }

    void AddLine(std::u16string_view text, const CharacterFormat& format = LegendFormat()) {
        AddText(NewParagraph(), text, format);
    }

    // The label and the field's first line; further lines of the field
    // follow on lines of their own.
    void AddField(std::u16string_view label, std::u16string_view field,
                  const CharacterFormat& fieldFormat = LegendFormat()) {
        const std::vector<std::u16string_view> lines = FieldLines(field);
        Paragraph& first = NewParagraph();
        AddText(first, label, LegendFormat());
        AddText(first, lines.front(), fieldFormat);
        for (std::size_t i = 1; i < lines.size(); ++i) {
            AddLine(lines[i], fieldFormat);
        }
    }

    // The stored path where the file is, or where the data folder holds a
    // file of its name; "" for a bare name that leads nowhere.
    std::u16string ContentFile(const std::u16string& storedPath) {
        return LocateContentFile(storedPath, programFolder_);
    }

    void AddPicture(const std::u16string& storedPath) {
        const std::u16string path = ContentFile(storedPath);
        std::optional<Picture> picture;
        if (!path.empty()) {
            picture = LegendPicture(pictures_.LoadPicture(path));
        }
        if (picture) {
            NewParagraph().runs.emplace_back(std::move(*picture));
        } else {
            AddLine(kImageMissing);
        }
    }

    // The file's paragraphs with their own styles, colours and pictures, the
    // text in the legend's font and size.
    void AddRichTextFile(const std::u16string& storedPath) {
        const std::u16string path = ContentFile(storedPath);
        std::u16string error;
        const std::optional<std::string> markup =
            path.empty() ? std::nullopt : DiskContentFileReader().ReadContentFile(path, error);
        RtfReadResult content = markup ? ReadRtf(*markup) : RtfReadResult{};
        if (!content.isRtf) {
            AddLine(kRichTextMissing);
            return;
        }
        for (Paragraph& paragraph : content.document.paragraphs) {
            for (Run& run : paragraph.runs) {
                if (auto* text = std::get_if<TextRun>(&run)) {
                    text->format.font = kLegendFontNumber;
                    text->format.halfPoints = kLegendHalfPoints;
                }
            }
            document_.paragraphs.push_back(std::move(paragraph));
        }
    }

    const fs::path& programFolder_;
    PictureLoader& pictures_;
    Document document_;
};

}  // namespace

Document ComposeLegend(const TriggerTable& triggers, const fs::path& programFolder,
                       PictureLoader& pictures) {
    return Composer(programFolder, pictures).Compose(triggers);
}

}  // namespace tavro

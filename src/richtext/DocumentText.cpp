#include "richtext/DocumentText.h"

#include <string>

namespace tavro {

namespace {

std::u16string Widen(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

}  // namespace

std::u16string DocumentText(const Document& document, std::u16string_view lineEnd) {
    std::u16string text;
    for (const Paragraph& paragraph : document.paragraphs) {
        for (const Run& run : paragraph.runs) {
            if (const auto* textRun = std::get_if<TextRun>(&run)) {
                for (char16_t c : textRun->text) {
                    if (c == kLineBreak) {
                        text += lineEnd;
                    } else {
                        text += c;
                    }
                }
            } else {
                const Picture& picture = std::get<Picture>(run);
                text += Widen("[picture " + std::to_string(picture.width) + "x" +
                              std::to_string(picture.height) + "]");
            }
        }
        text += lineEnd;
    }
    return text;
}

}  // namespace tavro

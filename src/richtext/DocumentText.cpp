#include "richtext/DocumentText.h"

#include <string>

namespace tavro {

namespace {

enum class Pictures { Described, LeftOut };

std::u16string Widen(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

std::u16string VisibleText(const Document& document, std::u16string_view lineEnd,
                           Pictures pictures) {
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
            } else if (pictures == Pictures::Described) {
                const Picture& picture = std::get<Picture>(run);
                text += Widen("[picture " + std::to_string(picture.width) + "x" +
                              std::to_string(picture.height) + "]");
            }
        }
        text += lineEnd;
    }
    return text;
}

}  // namespace

std::u16string DocumentText(const Document& document, std::u16string_view lineEnd) {
    return VisibleText(document, lineEnd, Pictures::Described);
}

std::u16string PlainText(const Document& document) {
    std::u16string text = VisibleText(document, u"\n", Pictures::LeftOut);
    if (!text.empty()) {
        text.pop_back();
    }
    return text;
}

}  // namespace tavro

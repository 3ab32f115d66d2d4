#pragma once

#include <filesystem>
#include <string>

#include "richtext/ImageSize.h"
#include "richtext/RichDocument.h"
#include "support/Files.h"

namespace tavro::test {

// Builds documents for tests in the order they read:
// Font(...).Paragraph().Text(...).Picture(...).Paragraph()...
class RichDocumentBuilder {
  public:
    RichDocumentBuilder& Font(std::u16string family) {
        document_.fonts.push_back(std::move(family));
        return *this;
    }
    RichDocumentBuilder& Paragraph(ParagraphFormat format = {}) {
        document_.paragraphs.push_back({format, {}});
        return *this;
    }
    RichDocumentBuilder& Text(std::u16string text, CharacterFormat format = {}) {
        document_.paragraphs.back().runs.emplace_back(TextRun{format, std::move(text)});
        return *this;
    }
    RichDocumentBuilder& Picture(tavro::Picture picture) {
        document_.paragraphs.back().runs.emplace_back(std::move(picture));
        return *this;
    }
    Document Build() const { return document_; }

  private:
    Document document_;
};

// A file of tests/richtext/data.
inline std::string TestDataFile(const std::string& name) {
    return ReadFile(std::filesystem::path(TAVRO_RICHTEXT_TEST_DATA) / name);
}

// A real JPEG file: one blue pixel.
inline Picture Picture1x1Jpeg() {
    const std::string bytes = TestDataFile("blue-1x1.jpg");
    tavro::Picture picture;
    picture.format = PictureFormat::Jpeg;
    picture.data.assign(bytes.begin(), bytes.end());
    const auto size = JpegSize(picture.data);
    picture.width = size ? size->width : 0;
    picture.height = size ? size->height : 0;
    return picture;
}

}  // namespace tavro::test

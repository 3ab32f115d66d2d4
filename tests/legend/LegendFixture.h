#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "legend/LegendComposer.h"
#include "legend/LegendSample.h"
#include "platform/fake/FakePictureLoader.h"
#include "platform/fake/FakePlatform.h"
#include "richtext/DocumentText.h"
#include "richtext/PngEncoder.h"
#include "store/DataFolder.h"
#include "store/TriggerTable.h"
#include "support/Files.h"
#include "support/TemporaryFolder.h"

namespace tavro::test {

// A program folder of its own with a data folder, a trigger table, the fake
// platform, and the fake picture loader, which reads PNG and JPEG files.
class LegendFixture : public ::testing::Test {
  protected:
    LegendFixture() { std::filesystem::create_directory(DataFolderPath(ProgramFolder())); }

    const std::filesystem::path& ProgramFolder() const { return folder_.Path(); }
    std::filesystem::path DataFile(const std::string& name) const {
        return DataFolderPath(ProgramFolder()) / name;
    }

    TriggerRecord& Add(std::u16string trigger, std::u16string display, std::u16string type) {
        return AddTrigger(triggers_, std::move(trigger), std::move(display), std::move(type));
    }

    Document Compose() { return ComposeLegend(triggers_, ProgramFolder(), pictures_); }

    // The legend's paragraphs as text, pictures as "[picture WxH]".
    static std::vector<std::u16string> Lines(const Document& document) {
        std::vector<std::u16string> lines;
        const std::u16string text = DocumentText(document);
        for (std::size_t start = 0; start < text.size();) {
            const std::size_t end = text.find(u'\n', start);
            lines.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }

    // A grey PNG of the given size, written to the path; returns its bytes.
    static std::vector<std::uint8_t> WritePng(const std::filesystem::path& path, int width,
                                              int height) {
        const std::vector<std::uint8_t> rgba(static_cast<std::size_t>(width * height * 4), 128);
        std::vector<std::uint8_t> png = EncodePng(width, height, rgba);
        WriteFile(path, std::string(png.begin(), png.end()));
        return png;
    }

    TemporaryFolder folder_{"tavro-legend"};
    TriggerTable triggers_;
    fake::FakePlatform platform_;
    fake::CallLog& log_ = platform_.log;
    fake::FakePictureLoader pictures_{log_};
};

}  // namespace tavro::test

#pragma once

#include <filesystem>

#include <QImage>

#include "platform/StagingArea.h"

namespace tavro {

class Engine;

// Stands in for the editor's controls until the main window exists: showing
// a trigger reads its replacement, command line, rich-text file and picture
// straight from the trigger table and the content files.
class InterimStagingArea final : public StagingArea {
  public:
    InterimStagingArea(Engine& engine, std::filesystem::path programFolder)
        : engine_(engine), programFolder_(std::move(programFolder)) {}

    void ShowTrigger(int slot) override;
    std::u16string ReplaceText() override { return replaceText_; }
    std::string ReplaceRTF() override { return replaceRTF_; }
    // A rich-text file that is missing, unreadable or empty gives nothing.
    bool HasReplaceRTF() override { return !replaceRTF_.empty(); }
    std::u16string CommandLine() override { return commandLine_; }
    bool HasTriggerPicture() override { return !picture_.isNull(); }

    const QImage& TriggerPicture() const { return picture_; }

  private:
    Engine& engine_;
    std::filesystem::path programFolder_;
    std::u16string replaceText_;
    std::string replaceRTF_;
    std::u16string commandLine_;
    QImage picture_;
};

}  // namespace tavro

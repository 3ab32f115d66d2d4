#include "app/InterimStagingArea.h"

#include <fstream>
#include <iterator>

#include "engine/Engine.h"
#include "store/DataFolder.h"

namespace tavro {

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

void InterimStagingArea::ShowTrigger(int slot) {
    TriggerTable& triggers = engine_.Triggers();
    triggers.CurrentTrigger = slot;
    const TriggerRecord& record = triggers.Slot(slot);
    replaceText_ = record.ReplaceText;
    commandLine_ = record.CommandLine;
    const std::u16string rtfFile = FindContentFile(record.ReplaceRTFFile, programFolder_, triggers);
    replaceRTF_ = rtfFile.empty() ? std::string() : ReadFile(std::filesystem::path(rtfFile));
    const std::u16string imageFile =
        FindContentFile(record.ReplaceImageFile, programFolder_, triggers);
    picture_ = imageFile.empty() ? QImage() : QImage(QString::fromStdU16String(imageFile));
}

}  // namespace tavro

#include "legend/LegendPrinter.h"

#include <fstream>
#include <string>

#include "legend/LegendComposer.h"
#include "legend/LegendTexts.h"
#include "platform/MessageBoxes.h"
#include "richtext/RtfWriter.h"
#include "window/WindowOperations.h"

namespace tavro {

std::filesystem::path LegendFilePath(const std::filesystem::path& programFolder) {
    return programFolder / kLegendFileName;
}

bool SaveLegend(const Document& legend, const std::filesystem::path& file) {
    // Written in place rather than through a renamed temporary file, so that
    // a legend file the user made read-only is refused, not replaced.
    const std::string rtf = WriteRtf(legend);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(rtf.data(), static_cast<std::streamsize>(rtf.size()));
    out.close();
    return !out.fail();
}

LegendPrinter::LegendPrinter(const Ports& ports, std::filesystem::path programFolder)
    : ports_(ports), programFolder_(std::move(programFolder)) {}

void LegendPrinter::mnuPrint(const TriggerTable& triggers) {
    const std::filesystem::path file = LegendFilePath(programFolder_);
    if (SaveLegend(ComposeLegend(triggers, programFolder_, ports_.pictures), file)) {
        ports_.windows.ShellOpen(file.u16string());
        return;
    }
    ports_.messages.ShowMessage(
        std::u16string(kCannotSaveStart) + file.u16string() + std::u16string(kCannotSaveEnd),
        std::u16string(kCannotSaveTitle), MessageIcon::Exclamation);
}

}  // namespace tavro

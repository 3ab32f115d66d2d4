#pragma once

#include <filesystem>

#include "richtext/RichDocument.h"

namespace tavro {

class MessageBoxes;
class PictureLoader;
class TriggerTable;
class WindowOperations;

// The legend file beside the program: printout.rtf.
std::filesystem::path LegendFilePath(const std::filesystem::path& programFolder);

// Writes the legend as RTF in place of the file's content; false when the
// file could not be written completely.
bool SaveLegend(const Document& legend, const std::filesystem::path& file);

// File > Print Triggers: the legend of all triggers, saved beside the
// program and opened with the program the desktop associates with RTF
// files, where the user prints it.
class LegendPrinter {
  public:
    struct Ports {
        WindowOperations& windows;
        MessageBoxes& messages;
        PictureLoader& pictures;
    };

    LegendPrinter(const Ports& ports, std::filesystem::path programFolder);

    // Composes the legend, saves it as printout.rtf in the program folder
    // and opens it. A failed save says so in a message and opens nothing.
    void mnuPrint(const TriggerTable& triggers);

  private:
    Ports ports_;
    std::filesystem::path programFolder_;
};

}  // namespace tavro

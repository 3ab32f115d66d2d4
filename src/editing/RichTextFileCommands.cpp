#include "editing/RichTextFileCommands.h"

#include "editing/ContentFileTexts.h"
#include "editing/ContentPageControls.h"
#include "richtext/RtfWriter.h"

namespace tavro {

RichTextFileCommands::RichTextFileCommands(const Dependencies& dependencies,
                                           RichTextPageControls& page)
    : ContentFileCommands(dependencies, page, EditorField::txtRTFFile,
                          &TriggerRecord::ReplaceRTFFile),
      page_(page) {}

void RichTextFileCommands::cmdLoadRTF_Click() {
    Load({std::u16string(kRichTextFilter)});
}

void RichTextFileCommands::cmdNewRTF_Click() {
    if (SaveAsNewFile(CurrentSlot(), WriteRtf(Document{}), kRichTextFilter, kRichTextExtension,
                      kNewRichTextFailed, kCannotSaveFileTitle)) {
        Edit();
    }
}

void RichTextFileCommands::cmdPasteRTF_Click() {
    const int slot = CurrentSlot();
    SaveAsNewFile(slot, page_.PastePreview(), kRichTextFilter, kRichTextExtension,
                  kPasteRichTextFailed, kCannotSaveFileTitle);
}

}  // namespace tavro

#pragma once

#include "editing/ContentFileCommands.h"

namespace tavro {

class RichTextPageControls;

// Page 1: the rich-text file of an "RTF" trigger. Files are made empty (New
// RTF) or from the clipboard's content (Paste) and saved as RTF; New RTF
// then opens the file in the desktop's program for RTF files.
class RichTextFileCommands final : public ContentFileCommands {
  public:
    RichTextFileCommands(const Dependencies& dependencies, RichTextPageControls& page);

    void txtRTFFile_Change() { PathChanged(); }
    void cmdLoadRTF_Click();
    void cmdNewRTF_Click();
    void cmdPasteRTF_Click();
    void cmdEditRTF_Click() { Edit(); }
    void cmdReloadRTF_Click() { Refresh(); }

  private:
    RichTextPageControls& page_;
};

}  // namespace tavro

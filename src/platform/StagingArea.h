#pragma once

#include <string>

namespace tavro {

// The editor's controls, from which firing takes the replacement of the
// trigger it shows.
class StagingArea {
  public:
    virtual ~StagingArea() = default;
    // Shows the slot in the editor and makes it the current trigger; may save
    // and reload the trigger table first when it holds unsaved changes.
    virtual void ShowTrigger(int slot) = 0;
    // txtReplaceText: the replacement text, or the alternate text of rich-text
    // and image triggers.
    virtual std::u16string ReplaceText() = 0;
    // The RTF markup of txtReplaceRTF.
    virtual std::string ReplaceRTF() = 0;
    // Whether txtReplaceRTF holds the content of the trigger's rich-text
    // file (false when the file is missing or could not be read).
    virtual bool HasReplaceRTF() = 0;
    // txtCommandLine.
    virtual std::u16string CommandLine() = 0;
    // Whether TriggerPicture holds a picture.
    virtual bool HasTriggerPicture() = 0;
};

}  // namespace tavro

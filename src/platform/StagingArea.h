#pragma once

#include <string>

namespace tavro {

// The editor's controls, from which firing takes the replacement of the
// trigger it shows. Firing shows the trigger and asks what there is to
// paste before it erases the typed trigger: these answers come from content
// read ahead, never from a file read then.
class StagingArea {
  public:
    virtual ~StagingArea() = default;
    // The trigger table was loaded: reads ahead the content files of its
    // triggers, so that firing one of them reads no file.
    virtual void PrepareContentFiles() = 0;
    // Shows the slot in the editor and makes it the current trigger.
    virtual void ShowTrigger(int slot) = 0;
    // txtReplaceText: the replacement text, or the alternate text of rich-text
    // and image triggers.
    virtual std::u16string ReplaceText() = 0;
    // The content of the trigger's rich-text file as RTF markup.
    virtual std::string ReplaceRTF() = 0;
    // Whether the trigger's rich-text file holds something to paste (false
    // when the file is missing, unreadable or empty).
    virtual bool HasReplaceRTF() = 0;
    // txtCommandLine.
    virtual std::u16string CommandLine() = 0;
    // Whether TriggerPicture holds a picture.
    virtual bool HasTriggerPicture() = 0;
};

}  // namespace tavro

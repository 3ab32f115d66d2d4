#pragma once

#include <filesystem>

#include "richtext/RichDocument.h"

namespace tavro {

class PictureLoader;
class TriggerTable;

// The trigger legend as a rich-text document: a header, then for every
// trigger in use its trigger text, type and name and the lines of its type,
// with the pictures of image triggers and the content of rich-text triggers
// in place. All text is Arial 10 but the title (20, bold, italic,
// underlined) and the trigger texts (14, bold); inserted rich text keeps its
// own styles and colours.
//
// Content files are found as the rest of the program finds them
// (LocateContentFile); the legend prints the paths as stored, and the table
// is not changed.
Document ComposeLegend(const TriggerTable& triggers, const std::filesystem::path& programFolder,
                       PictureLoader& pictures);

}  // namespace tavro

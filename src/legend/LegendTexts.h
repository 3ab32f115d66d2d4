#pragma once

#include <string_view>

namespace tavro {

// The texts of the trigger legend and of its message.

inline constexpr std::u16string_view kLegendTitle = u"Tavro! Legend";
// The line under the title names the program and its version.
inline constexpr std::u16string_view kLegendVersionLineStart = u"Tavro version ";
inline constexpr std::u16string_view kLegendRule =
    u"********************************************************************************";

inline constexpr std::u16string_view kLabelTrigger = u"Trigger: ";
inline constexpr std::u16string_view kLabelType = u"Type: ";
inline constexpr std::u16string_view kLabelName = u"Name: ";
inline constexpr std::u16string_view kLabelText = u"Text: ";
inline constexpr std::u16string_view kLabelImage = u"Image: ";
inline constexpr std::u16string_view kLabelRichTextFile = u"Rich Text File: ";
inline constexpr std::u16string_view kLabelAlternateText = u"Alternate Text: ";
inline constexpr std::u16string_view kLabelLaunch = u"Launch: ";

inline constexpr std::u16string_view kImageMissing = u"***** Image File does not exist *****";
inline constexpr std::u16string_view kRichTextMissing =
    u"***** Rich Text File does not exist *****";

inline constexpr std::u16string_view kLegendFont = u"Arial";
inline constexpr int kLegendHalfPoints = 20;
inline constexpr int kLegendTitleHalfPoints = 40;
inline constexpr int kLegendTriggerHalfPoints = 28;

inline constexpr std::string_view kLegendFileName = "printout.rtf";

inline constexpr std::u16string_view kCannotSaveTitle = u"Cannot save temporary file";
inline constexpr std::u16string_view kCannotSaveStart = u"Unable to save ";
inline constexpr std::u16string_view kCannotSaveEnd = u" Please close the file and try again.";

}  // namespace tavro

#pragma once

#include <string_view>

namespace tavro {

// Every statement the store sends to the database.
inline constexpr std::string_view kSelectTriggers =
    "SELECT tblTriggers.Trigger, tblTriggers.Display, tblTriggers.ReplaceText, "
    "tblTriggers.ReplaceRTFFile, tblTriggers.ReplaceImageFile, tblTriggers.CommandLine, "
    "tblTriggers.Type FROM tblTriggers ORDER BY tblTriggers.Type, tblTriggers.Display;";
inline constexpr std::string_view kSelectSendKeyApps =
    "SELECT tblSendKeyApps.SendKeyApp FROM tblSendKeyApps;";
inline constexpr std::string_view kSelectTextOnlyApps =
    "SELECT tblTextOnlyApps.TextOnlyApp FROM tblTextOnlyApps;";
inline constexpr std::string_view kDeleteTriggers = "Delete * from tblTriggers";
inline constexpr std::string_view kDeleteSendKeyApps = "Delete * from tblSendKeyApps";
inline constexpr std::string_view kDeleteTextOnlyApps = "Delete * from tblTextOnlyApps";

inline constexpr std::string_view kTriggersTable = "tblTriggers";
inline constexpr std::string_view kSendKeyAppsTable = "tblSendKeyApps";
inline constexpr std::string_view kTextOnlyAppsTable = "tblTextOnlyApps";
inline constexpr std::string_view kSendKeyAppColumn = "SendKeyApp";
inline constexpr std::string_view kTextOnlyAppColumn = "TextOnlyApp";

// The database beside the program, and the folder of content files.
inline constexpr std::string_view kDatabaseFileName = "tavro.mdb";
inline constexpr std::string_view kDataFolderName = "data";

}  // namespace tavro

#pragma once

#include <filesystem>

namespace tavro {

struct ApplicationLists;
class DatabaseEngine;
class InputBox;
class ListBox;
class MessageBoxes;

// The SendKey and TextOnly lists of the setup page: adding and deleting
// caption fragments, and writing both lists at once.
class ApplicationListEditor {
  public:
    struct Dependencies {
        ApplicationLists& applications;
        std::filesystem::path programFolder;
        DatabaseEngine& engine;
        MessageBoxes& messages;
        InputBox& input;
        ListBox& lstSendKey;
        ListBox& lstTextOnly;
    };

    explicit ApplicationListEditor(const Dependencies& dependencies);

    void cmdAddSendKey_Click() { AddFragment(d_.lstSendKey); }
    void cmdAddTextOnly_Click() { AddFragment(d_.lstTextOnly); }
    void cmdDeleteSendKey_Click() { DeleteSelected(d_.lstSendKey); }
    void cmdDeleteTextOnly_Click() { DeleteSelected(d_.lstTextOnly); }

    // Writes both list boxes to their tables in one transaction, then reads
    // them back into the application lists. When the save fails, the tables
    // and the application lists keep what they held; the list boxes keep the
    // user's change.
    void SaveAppLists();

  private:
    void AddFragment(ListBox& listBox);
    void DeleteSelected(ListBox& listBox);

    Dependencies d_;
};

}  // namespace tavro

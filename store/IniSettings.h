#pragma once

#include <optional>
#include <string>

#include "store/SettingsStore.h"

// The settings component on Linux: an INI file, sections as INI sections,
// every value as text. Each operation opens the file, handles one value and,
// for a write, puts the whole file back before it returns, the way the
// results file is written (store/SafeFile.h). Every value the game writes
// reads back exactly; a value the player typed by hand reads as plainly
// meant (see IniDocument), and a write keeps every other line, comments
// included.
//
// A file that is not plain INI text (IsPlainIniText), or whose reading is in
// doubt (IniDocument::ReadsAsMeant), is read as far as it goes. The first
// write renames it aside to <file>.damaged (or .damaged-2, -3, ...) and
// starts a fresh file, so the player's bytes are never lost; when it cannot
// be renamed the write fails instead. A file larger than kLargestIniFile is
// not read and set aside the same way, and a write that would make it larger
// fails; a value longer than kLongestIniValue reads as absent. A read walks
// the file through a small buffer (IniValueScan), so the largest file starts
// as quickly as the disk gives it. A file written in place (a second name,
// another owner) goes through a journal (IniInPlaceJournal), so a kill leaves
// it reading as the old or the new values.
class IniSettings : public SettingsStore {
public:
    // The player's own file, DefaultPath().
    IniSettings();
    explicit IniSettings(std::string filePath);

    const std::string& FilePath() const { return m_path; }

    // MoxelGames/Aquendo/V2.ini in the user's configuration folder:
    // $XDG_CONFIG_HOME, or ~/.config when that is not set, empty or relative;
    // bytes as they are, whatever their encoding.
    static std::string DefaultPath();

protected:
    std::optional<std::string> ReadValue(const std::string& section, const std::string& name) override;
    std::optional<std::string> WriteValue(const std::string& section, const std::string& name,
                                          const std::string& text) override;

private:
    // Renames the file (the one a link names) to <file>.damaged (or
    // .damaged-2, ...); false when it could not.
    bool SetAside();

    std::string m_path;
};

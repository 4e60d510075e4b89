#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>

#include "store/IniSettings.h"
#include "store/IniText.h"
#include "store/SettingsStore.h"
#include "store/StoreTexts.h"
#include "store/WindowPlacement.h"
#include "tests/support/Levels.h"
#include "tests/support/OwnUser.h"

namespace {

namespace fs = std::filesystem;
using testlevels::TempFolder;

// The settings file where the game keeps it, below a test folder standing in for ~/.config.
fs::path SettingsFile(const TempFolder& folder) {
    return folder.path() / "MoxelGames" / "Aquendo" / "V2.ini";
}

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A settings file as the player left it by hand.
struct HandWritten {
    TempFolder folder;
    IniSettings ini;
    explicit HandWritten(const std::string& text) : ini(SettingsFile(folder).string()) {
        WriteText(SettingsFile(folder), text);
    }
};

TEST(SettingsStore, IntegerTextParses) {
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    for (const Case& c : {
             Case{"7", 7},
             Case{"-1", -1},
             Case{"037", 37},
             Case{"+3", 3},
             Case{" 12 ", 12},
             Case{"-0", 0},
             Case{"2147483647", INT32_MAX},
             Case{"-2147483648", INT32_MIN},
             Case{"2147483648", std::nullopt},
             Case{"99999999999", std::nullopt},
             Case{"", std::nullopt},
             Case{"yes", std::nullopt},
             Case{"0x10", std::nullopt},
             Case{"1e3", std::nullopt},
             Case{"1 2", std::nullopt},
             Case{"+-1", std::nullopt},
             Case{"+", std::nullopt},
             Case{"-", std::nullopt},
             Case{"3.0", std::nullopt},
         }) {
        EXPECT_EQ(ParseSettingInt(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(SettingsStore, FirstStartWithNoFileGivesTheDefaultsAndCreatesNothing) {
    TempFolder folder;
    IniSettings ini(SettingsFile(folder).string());
    EXPECT_EQ(ini.Read(settings::tongue), -1);
    EXPECT_EQ(ini.Read(settings::level), 1);
    EXPECT_EQ(ini.Read(settings::save), "");
    EXPECT_TRUE(ini.Read(settings::sound));
    EXPECT_EQ(ini.Read(settings::left), 100);
    EXPECT_EQ(ini.Read(settings::top), 50);
    EXPECT_EQ(ini.Read(settings::MainForm), "");
    EXPECT_TRUE(RestoredPosition(ini.Read(settings::MainForm), 506, 399, 800, 600).centred);
    EXPECT_FALSE(fs::exists(folder.path() / "MoxelGames"));
}

TEST(SettingsStore, HandEditedValuesReadAsTheGameParsesThem) {
    struct Case {
        std::string line;
        bool soundDefaultOn;   // ReadBool with the default true
        bool soundDefaultOff;  // and with false
        std::int32_t level;    // ReadInt with the default 1
    };
    for (const Case& c : {
             Case{"sound=2\nlevel=37", true, true, 37},
             Case{"sound=yes\nlevel=yes", true, false, 1},
             Case{"sound=0\nlevel=0", false, false, 0},
             Case{"sound=-1\nlevel=-4", true, true, -4},
             Case{"sound= 0 \nlevel=  8  ", false, false, 8},
             Case{"sound=\nlevel=", true, false, 1},
             Case{"sound=\"0\"\nlevel=\"12\"", false, false, 12},
             Case{"sound=1,0\nlevel=1,0", true, false, 1},
             Case{"sound=@Rect(1 2 3 4)\nlevel=@Size(1 2)", true, false, 1},
             Case{"Sound=0\nLevel=5", true, false, 1},                   // names are case-sensitive
             Case{"sound=0\nlevel=3\nsound=1\nlevel=5", true, true, 5},  // the last of several counts
             // Lines across the edge of the store's read buffer, a value going on over it.
             Case{"; " + std::string(65520, 'c') + "\nlevel=\\\n8\nsound=0", false, false, 8},
             Case{"; " + std::string(65534, 'c') + "\nlevel=4\nsound=0", false, false, 4},
         }) {
        SCOPED_TRACE(c.line.substr(0, 40));
        HandWritten file("[common]\n" + c.line + "\n");
        EXPECT_EQ(file.ini.ReadBool("common", "sound", true), c.soundDefaultOn);
        EXPECT_EQ(file.ini.ReadBool("common", "sound", false), c.soundDefaultOff);
        EXPECT_EQ(file.ini.Read(settings::level), c.level);
    }
}

TEST(SettingsStore, StrangeLanguageIsKeptAndWrittenBack) {
    HandWritten file("[common]\ntongue=7\n");
    const std::int32_t tongue = file.ini.Read(settings::tongue);
    EXPECT_EQ(tongue, 7);
    EXPECT_EQ(file.ini.Write(settings::tongue, tongue), std::nullopt);
    EXPECT_EQ(ReadText(SettingsFile(file.folder)), "[common]\ntongue=7\n");
}

TEST(SettingsStore, OnlyTheMissingValueTakesItsDefault) {
    HandWritten file("[other]\ntongue=1\nsound=0\n\n[common]\nlevel=5\n");
    EXPECT_EQ(file.ini.Read(settings::level), 5);
    EXPECT_EQ(file.ini.Read(settings::tongue), -1);
    EXPECT_TRUE(file.ini.Read(settings::sound));
    EXPECT_EQ(file.ini.Read(settings::save), "");
}

TEST(SettingsStore, HandWrittenPlacementWithoutQuotesIsOneText) {
    HandWritten file("[common]\nMainForm=200,0,1,312,184,818,583\nsave=/home/jörg/Meine Spiele/stand.aqd\n");
    EXPECT_EQ(file.ini.Read(settings::MainForm), "200,0,1,312,184,818,583");
    EXPECT_EQ(file.ini.Read(settings::save), "/home/jörg/Meine Spiele/stand.aqd");
    const WindowPosition p = RestoredPosition(file.ini.Read(settings::MainForm), 506, 399, 800, 600);
    EXPECT_EQ(p.left, 294);
    EXPECT_EQ(p.top, 184);
}

TEST(SettingsStore, ValuesAreWrittenAsTextAndReadBack) {
    TempFolder folder;
    fs::create_directory(folder.path() / "Jörg Müller");
    const fs::path path = folder.path() / "Jörg Müller" / "einstellungen v2.ini";
    IniSettings ini(path.string());
    IniSettings other(path.string());  // nothing is cached between operations

    EXPECT_EQ(ini.Write(settings::sound, false), std::nullopt);
    EXPECT_EQ(ini.Write(settings::level, -3), std::nullopt);
    EXPECT_EQ(ini.Write(settings::tongue, 1), std::nullopt);
    EXPECT_EQ(ReadText(path), "[common]\nlevel=-3\nsound=0\ntongue=1\n");
    EXPECT_FALSE(other.Read(settings::sound));
    EXPECT_EQ(ini.Write(settings::sound, true), std::nullopt);
    EXPECT_TRUE(other.Read(settings::sound));
    EXPECT_EQ(other.Read(settings::level), -3);

    // What other INI readers see: a ',' unquoted would make a list of the placement.
    for (const auto& [text, line] : std::vector<std::pair<std::string, std::string>>{
             {"200,0,1,312,184,818,583", "save=\"200,0,1,312,184,818,583\""},
             {"a;b", "save=\"a;b\""},
             {"a=b", "save=\"a=b\""},
             {"/home/p/x.aqd", "save=/home/p/x.aqd"},
             {" x", "save=\" x\""},
         }) {
        EXPECT_EQ(ini.Write(settings::save, text), std::nullopt);
        EXPECT_NE(ReadText(path).find("\n" + line + "\n"), std::string::npos) << text;
    }

    for (const std::string& text : std::vector<std::string>{
             "/home/jörg/Meine Spiele/stand.aqd",
             "200,0,1,312,184,818,583",
             "a; b # c = d",
             "  leading and trailing  ",
             "@ByteArray(x)",
             "@not a notation",
             "quote \" back \\ slash",
             "[common]",
             "tab\there",
             "ünïcödé ✓",
             "",
             "/home/p/a;b.aqd",
             "/home/p/a, b \"q\".aqd",
             "  /x\\y=z #1 ",
             "@@twice",
             "line\nend\r\x01"
             "2\x1f"
             "af",
             "j\xF6rg, no UTF-8 \xC3",
             std::string(65536, '/') + "stand;, \"\\=#.aqd",
         }) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ini.Write(settings::save, text), std::nullopt);
        EXPECT_EQ(other.Read(settings::save), text);
        EXPECT_EQ(other.Read(settings::level), -3);  // the other values stay
    }
}

// A value typed by hand reads as plainly written; where that is in doubt the
// file is kept aside before the first write. Either way the write keeps the
// meaning and every other line.
TEST(SettingsStore, HandEditedTextReadsAsMeant) {
    struct Case {
        std::string lines;
        std::string save;
        bool setAside;
    };
    for (const Case& c : {
             Case{"save=/home/p/a;b.aqd", "/home/p/a;b.aqd", false},
             Case{"save=/home/p/a, b \"q\".aqd", "/home/p/a, b \"q\".aqd", false},
             Case{"save = \"/home/p/my file.aqd\" ", "/home/p/my file.aqd", false},
             Case{"save=/home/p/a\\b.aqd", "/home/p/a\\b.aqd", false},
             Case{"save=\"/home/p/a;b.aqd\"", "/home/p/a;b.aqd", false},
             Case{"save=\"C:\\new\"",
                  "C:\n"
                  "ew",
                  false},
             Case{"save=\"C:\\q\"", "\"C:\\q\"", true},
             Case{"save=/x.aqd ; where I keep it", "/x.aqd", true},
             Case{"save=/x\\\n  .aqd", "/x  .aqd", true},
             Case{"; my settings\nsave=/x.aqd", "/x.aqd", false},
         }) {
        SCOPED_TRACE(c.lines);
        const std::string text = "[common]\n" + c.lines + "\nlevel=3\n";
        HandWritten file(text);
        EXPECT_EQ(file.ini.Read(settings::save), c.save);
        EXPECT_EQ(file.ini.Write(settings::tongue, 1), std::nullopt);
        const fs::path aside = SettingsFile(file.folder).string() + ".damaged";
        EXPECT_EQ(fs::exists(aside), c.setAside);
        const std::string kept = c.setAside ? ReadText(aside) : ReadText(SettingsFile(file.folder));
        EXPECT_EQ(kept, c.setAside ? text : "[common]\n" + c.lines + "\nlevel=3\ntongue=1\n");
        EXPECT_EQ(file.ini.Read(settings::save), c.setAside ? "" : c.save);
        EXPECT_EQ(file.ini.Read(settings::level), c.setAside ? 1 : 3);
    }

    // A byte order mark starts plain INI text, kept as it was.
    HandWritten marked("\xEF\xBB\xBF[common]\r\nlevel=3\r\n");
    EXPECT_EQ(marked.ini.Read(settings::level), 3);
    EXPECT_EQ(marked.ini.Write(settings::sound, false), std::nullopt);
    EXPECT_EQ(ReadText(SettingsFile(marked.folder)), "\xEF\xBB\xBF[common]\r\nlevel=3\r\nsound=0\r\n");
}

// A value too long to keep is refused when read; the game's own file, even
// with values of the largest size the game keeps, is never set aside.
TEST(SettingsStore, OverlongValueIsRefusedAndTheFileKept) {
    const std::string huge(kLongestIniValue + 100000, 'x');
    HandWritten file("[common]\nlevel=3\nsave=" + huge + "\ntongue=1\n");
    EXPECT_EQ(file.ini.Read(settings::save), "");
    EXPECT_EQ(file.ini.Read(settings::level), 3);
    const std::string longest(kLongestIniValue, 'y');
    EXPECT_EQ(file.ini.Write(settings::save, ""), std::nullopt);
    EXPECT_EQ(file.ini.Write(settings::MainForm, longest), std::nullopt);
    EXPECT_EQ(file.ini.Write(settings::MainForm, longest + "y"), ValueNotSetMessage("MainForm"));
    EXPECT_EQ(file.ini.Write(settings::left, 5), std::nullopt);
    EXPECT_EQ(file.ini.Read(settings::MainForm), longest);
    EXPECT_EQ(file.ini.Read(settings::tongue), 1);
    EXPECT_EQ(file.ini.Read(settings::level), 3);
    EXPECT_FALSE(fs::exists(SettingsFile(file.folder).string() + ".damaged"));

    // A file of the largest size is read; one byte more and it is not. A write
    // that would take it over is refused, as the next start would not read it.
    const std::string head = "[common]\nlevel=3\n;";
    HandWritten largest(head + std::string(kLargestIniFile - head.size() - 1, 'c') + "\n");
    EXPECT_EQ(largest.ini.Read(settings::level), 3);
    EXPECT_EQ(largest.ini.Write(settings::sound, false), ValueNotSetMessage("sound"));
    EXPECT_EQ(largest.ini.Write(settings::level, 4), std::nullopt);
    EXPECT_EQ(largest.ini.Read(settings::level), 4);
    HandWritten over(head + std::string(kLargestIniFile - head.size(), 'c') + "\n");
    EXPECT_EQ(over.ini.Read(settings::level), 1);

    // A file larger than any of the game's is not read, and kept aside at the first write.
    const std::string giant = "[common]\nlevel=3\n" + std::string(kLargestIniFile, ';') + "\n";
    HandWritten large(giant);
    EXPECT_EQ(large.ini.Read(settings::level), 1);
    EXPECT_EQ(large.ini.Write(settings::level, 4), std::nullopt);
    EXPECT_EQ(fs::file_size(SettingsFile(large.folder).string() + ".damaged"), giant.size());
    EXPECT_EQ(ReadText(SettingsFile(large.folder)), "[common]\nlevel=4\n");
}

TEST(SettingsStore, FailedWritesGiveTheirMessages) {
    // As root the last case runs as another user, who must reach the folder.
    TempFolder folder(geteuid() == 0 ? ownuser::ReachableTempFolder() : fs::temp_directory_path());
    // The folder for the file cannot be made: a file is in the way.
    WriteText(folder.path() / "MoxelGames", "not a folder");
    IniSettings blocked(SettingsFile(folder).string());
    EXPECT_EQ(blocked.Write(settings::sound, true), SectionNotCreatedMessage("common"));
    EXPECT_EQ(blocked.Write(settings::sound, true), "Erzeugung von Schlüssel common misslungen");
    EXPECT_EQ(ReadText(folder.path() / "MoxelGames"), "not a folder");
    EXPECT_TRUE(blocked.Read(settings::sound));

    // The file cannot be written: a folder has its name.
    fs::create_directories(folder.path() / "taken" / "V2.ini");
    IniSettings taken((folder.path() / "taken" / "V2.ini").string());
    EXPECT_EQ(taken.Write(settings::sound, false), "Konnte Daten für 'sound' nicht setzen");
    EXPECT_EQ(taken.Write(settings::level, 3), ValueNotSetMessage("level"));
    EXPECT_TRUE(taken.Read(settings::sound));
    EXPECT_TRUE(fs::is_directory(folder.path() / "taken" / "V2.ini"));

    // A file this user may write but not read: its values would be lost.
    const uid_t user = ownuser::OrdinaryUser();
    const fs::path unreadable = folder.path() / "unreadable" / "V2.ini";
    WriteText(unreadable, "[common]\nlevel=3\n");
    ownuser::GiveTree(folder.path(), user);
    ASSERT_EQ(chmod(unreadable.c_str(), 0200), 0);
    const int outcome = ownuser::RunAs(user, [&] {
        IniSettings ini(unreadable.string());
        return ini.Write(settings::sound, false) == ValueNotSetMessage("sound") ? 0 : 1;
    });
    EXPECT_EQ(outcome, 0) << "126: the user could not be changed";
    chmod(unreadable.c_str(), 0600);
    EXPECT_EQ(ReadText(unreadable), "[common]\nlevel=3\n");
}

TEST(SettingsStore, DamagedFileIsSetAsideNotDestroyed) {
    std::mt19937 random(7);
    std::string garbage;
    for (int i = 0; i < 600; ++i) garbage += static_cast<char>(random() & 0xFF);
    garbage += "\n[common]\nsound=0\n";

    for (const std::string& damaged :
         {garbage, std::string("[common\ntongue=1\n"),
          std::string("[common]\nsave=/home/j\xF6rg/stand.aqd\n"), std::string("[common]\nsound 0\n"),
          // Found by the settings fuzzer: Qt takes no '#' comment and ends a
          // line at a ';' or a lone CR, and once it has read a file it no
          // longer reports its damage. Such a file was lost, and the first
          // write failed.
          std::string("#["), std::string("# by hand\n[common]\nsound=0\n"), std::string("* ; b3=0,00,@"),
          std::string("[common]\nlevel=1\rsound 0\n"), std::string("[common]\nsave=\"x\nsound=0\n"),
          std::string("[common]\nsa[/=1\n")}) {
        TempFolder folder;
        const fs::path path = SettingsFile(folder);
        WriteText(path, damaged);
        IniSettings ini(path.string());
        // Reads never crash and never touch the file.
        ini.Read(settings::tongue);
        ini.Read(settings::save);
        ini.Read(settings::MainForm);
        EXPECT_EQ(ReadText(path), damaged);

        EXPECT_EQ(ini.Write(settings::level, 4), std::nullopt);
        EXPECT_EQ(ReadText(path.string() + ".damaged"), damaged);
        EXPECT_EQ(ReadText(path), "[common]\nlevel=4\n");

        // A second damage finds the first copy in place and keeps it.
        WriteText(path, damaged + "x");
        EXPECT_EQ(ini.Write(settings::level, 5), std::nullopt);
        EXPECT_EQ(ReadText(path.string() + ".damaged"), damaged);
        EXPECT_EQ(ReadText(path.string() + ".damaged-2"), damaged + "x");
        EXPECT_EQ(ini.Read(settings::level), 5);
    }
}

// A settings file that is a link: the file it names goes aside, the link stays.
TEST(SettingsStore, DamagedFileBehindALinkIsSetAsideAndTheLinkKept) {
    TempFolder folder;
    const fs::path real = folder.path() / "dotfiles" / "aquendo.ini";
    WriteText(real, "[common\ntongue=1\n");
    fs::create_directories(SettingsFile(folder).parent_path());
    fs::create_symlink("../../dotfiles/aquendo.ini", SettingsFile(folder));
    IniSettings ini(SettingsFile(folder).string());
    EXPECT_EQ(ini.Write(settings::level, 4), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(SettingsFile(folder)));
    EXPECT_EQ(ReadText(real.string() + ".damaged"), "[common\ntongue=1\n");
    EXPECT_EQ(ReadText(real), "[common]\nlevel=4\n");
}

// Written in place (a second name, another owner), the file reads as the old
// or the new values in every state a kill can leave, and ends as the new text.
TEST(SettingsStore, InPlaceWriteReadsAsOldOrNewWhereverItIsCut) {
    struct Case {
        std::string before;
        std::string after;
    };
    for (const Case& c : {
             Case{"[common]\nlevel=3\nsave=/home/p/long name of a saved game.aqd\nsound=0\n",
                  "[common]\nlevel=4\nsave=/x.aqd\nsound=0\n"},
             Case{"[common]\nlevel=3", "[common]\nlevel=3\nsave=\"/home/p/a, b.aqd\"\nsound=1\ntongue=1\n"},
             Case{"", "[common]\nlevel=2\n"},
         }) {
        SCOPED_TRACE(c.after);
        const std::string journal = IniInPlaceJournal(c.after, c.before.size());
        const std::string extended = c.before + journal;
        std::vector<std::string> states;
        for (std::size_t k = 0; k <= journal.size(); ++k) states.push_back(c.before + journal.substr(0, k));
        for (std::size_t k = 0; k <= c.after.size(); ++k)
            states.push_back(c.after.substr(0, k) + extended.substr(k));
        states.push_back(c.after);
        const auto values = [](std::string_view text) {
            std::vector<std::optional<std::string>> all;
            for (const char* name : {"level", "save", "sound", "tongue"})
                all.push_back(IniValue(text, "common", name));
            return all;
        };
        for (const std::string& state : states) {
            std::string decoded;
            const auto now = values(SettledIniText(state, decoded));
            ASSERT_TRUE(now == values(c.before) || now == values(c.after)) << state;
        }

        // Through the store, a hard link making it write in place, from a state
        // a kill left in the middle of the overwrite.
        HandWritten file(states[journal.size() + 1 + c.after.size() / 2]);
        fs::create_hard_link(SettingsFile(file.folder), file.folder.path() / "second name");
        EXPECT_EQ(file.ini.Read(settings::level),
                  ParseSettingInt(IniValue(c.after, "common", "level").value_or("")).value_or(1));
        EXPECT_EQ(file.ini.Write(settings::top, 9), std::nullopt);
        EXPECT_EQ(ReadText(file.folder.path() / "second name"), ReadText(SettingsFile(file.folder)));
        EXPECT_EQ(ReadText(SettingsFile(file.folder)).find(";aquendo"), std::string::npos);
        EXPECT_EQ(file.ini.Read(settings::top), 9);
        EXPECT_EQ(file.ini.Read(settings::save), IniValue(c.after, "common", "save").value_or(""));
    }
}

TEST(SettingsStore, PlainIniText) {
    struct Case {
        std::string text;
        bool plain;
    };
    for (const Case& c : {
             Case{"", true},
             Case{"[common]\r\nlevel=3\r\nsave=\"a,b\"\r\n", true},
             Case{"\xEF\xBB\xBF[common]\nlevel=3\n", true},
             Case{"; a comment\n\n  [common]  \n  level = 3\n", true},
             // Qt reads no comment after '#': such a line is a name=value pair or damage.
             Case{"# another\n[common]\nlevel = 3\n", false},
             Case{"#[", false},
             Case{"#name=3\n", true},
             // Lines Qt reads differently, or writes back so that they read differently.
             Case{"[common]\nsave=\"a,b\nlevel=4\n", false},
             Case{"[common]\nsave=\"a \\\"b\\\" c\"\nlevel=4\n", true},
             Case{"[common]\nsave=\"first \\\nsecond\"\n", true},
             Case{"[common]\nsave=\"first \\\n", false},  // the quote open at the end
             Case{"[common]\nsa/=1\n", false},
             Case{"[common]\na\\b=1\n", false},
             Case{"[x/]\na=1\n", false},
             Case{"[common]\nlevel=1\r=4\n", false},
             Case{"* ; b3=0\n", true},  // Qt's verdict on the ';' is asked separately
             Case{"[common]\nsave=/home/jörg/x\n", true},
             Case{"[common]\nsave=first \\\n  second line\n", true},
             Case{std::string("[common]\nlevel=3\0\n", 18), false},
             Case{"[common]\nlevel 3\n", false},
             Case{"[common\nlevel=3\n", false},
             Case{"[common]\n=3\n", false},
             Case{"[common]\nsave=\xC0\x80\n", false},      // overlong
             Case{"[common]\nsave=\xED\xA0\x80\n", false},  // surrogate
             Case{"[common]\nsave=\xC3\n", false},          // cut short
             Case{"[common]\nsave=\x1B[31m\n", false},
         }) {
        EXPECT_EQ(IsPlainIniText(c.text), c.plain) << c.text;
    }
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name) {
        if (const char* old = std::getenv(name)) m_old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(SettingsStore, DefaultFileIsInTheUsersConfigFolder) {
    TempFolder folder;
    {
        const ScopedEnv config("XDG_CONFIG_HOME", (folder.path() / "config home").c_str());
        EXPECT_EQ(IniSettings::DefaultPath(),
                  (folder.path() / "config home/MoxelGames/Aquendo/V2.ini").string());
        EXPECT_EQ(IniSettings().FilePath(), IniSettings::DefaultPath());
    }
    const ScopedEnv home("HOME", folder.path().c_str());
    // Unset, empty or relative, it is not used.
    for (const char* config : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        const ScopedEnv noConfig("XDG_CONFIG_HOME", config);
        EXPECT_EQ(IniSettings::DefaultPath(), (folder.path() / ".config/MoxelGames/Aquendo/V2.ini").string());
    }
    // A folder name that is no UTF-8 is kept as its bytes.
    const std::string bytes = folder.path().string() + "/J\xF6rg";
    const ScopedEnv config("XDG_CONFIG_HOME", bytes.c_str());
    EXPECT_EQ(IniSettings::DefaultPath(), bytes + "/MoxelGames/Aquendo/V2.ini");
    IniSettings ini(IniSettings::DefaultPath());
    EXPECT_EQ(ini.Write(settings::save, bytes + "/r\xF6.aqd"), std::nullopt);
    EXPECT_EQ(ini.Read(settings::save), bytes + "/r\xF6.aqd");
    EXPECT_TRUE(fs::exists(fs::path(bytes) / "MoxelGames/Aquendo/V2.ini"));
}

}  // namespace

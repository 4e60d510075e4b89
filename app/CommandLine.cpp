#include "app/CommandLine.h"

#include <array>

#include "game/Program.h"

namespace {

enum class Does { Help, Version, Levels, QuitAfterStart, LeftToQt };

struct Option {
    const char* name;       // as typed, with its dashes
    const char* shortName;  // or nullptr
    const char* argument;   // the value's name for an option that takes one, or nullptr
    Does does;
    const char* help;  // nullptr: not listed (Qt's own, named together below the table)
};

// Every option, one row each.
constexpr std::array kOptions{
    Option{"--help", "-h", nullptr, Does::Help, "show this help and end"},
    Option{"--version", nullptr, nullptr, Does::Version, "show the name and version and end"},
    Option{"--levels", nullptr, "FILE", Does::Levels,
           "play-test FILE instead of the level file beside the program: start at level 1\n"
           "      with no results and write no settings (closing still offers to save the results)"},
    Option{"--quit-after-start", nullptr, nullptr, Does::QuitAfterStart,
           "start, print the number of levels and their file, and end once the window is up;\n"
           "      the settings are read but not written (for checking an installation)"},
    Option{"-platform", nullptr, "NAME", Does::LeftToQt, nullptr},
    Option{"-platformpluginpath", nullptr, "PATH", Does::LeftToQt, nullptr},
    Option{"-platformtheme", nullptr, "NAME", Does::LeftToQt, nullptr},
    Option{"-plugin", nullptr, "NAME", Does::LeftToQt, nullptr},
    Option{"-display", nullptr, "DISPLAY", Does::LeftToQt, nullptr},
    Option{"-qwindowgeometry", nullptr, "GEOMETRY", Does::LeftToQt, nullptr},
    Option{"-qwindowicon", nullptr, "ICON", Does::LeftToQt, nullptr},
    Option{"-qwindowtitle", nullptr, "TITLE", Does::LeftToQt, nullptr},
    Option{"-style", nullptr, "STYLE", Does::LeftToQt, nullptr},
    Option{"-stylesheet", nullptr, "FILE", Does::LeftToQt, nullptr},
    Option{"-session", nullptr, "ID", Does::LeftToQt, nullptr},
    Option{"-reverse", nullptr, nullptr, Does::LeftToQt, nullptr},
};

std::string Usage(const std::string& program) {
    std::string text = "Usage: " + program + " [OPTION]...\n" + AQUENDO_NAME +
                       ", a pipe puzzle: turn the pipes until the water reaches every piece.\n\n";
    for (const Option& option : kOptions) {
        if (!option.help) continue;
        std::string names = std::string("  ") +
                            (option.shortName ? std::string(option.shortName) + ", " : "    ") + option.name +
                            (option.argument ? std::string(" ") + option.argument : "");
        text += names + "\n      " + option.help + "\n";
    }
    text += "\nQt's own options are taken too:";
    for (const Option& option : kOptions)
        if (option.does == Does::LeftToQt) text += std::string(" ") + option.name;
    return text + "\n";
}

// Qt takes its options with one dash or two.
bool Names(const Option& option, const std::string& typed) {
    if (typed == option.name || (option.shortName && typed == option.shortName)) return true;
    return option.does == Does::LeftToQt && typed == std::string("-") + option.name;
}

}  // namespace

CommandLine ParseCommandLine(const std::string& program, const std::vector<std::string>& args) {
    CommandLine line;
    const auto mistake = [&](const std::string& what) {
        line.err = program + ": " + what + "\nTry '" + program + " --help' for more information.\n";
        line.exitStatus = 2;
        return line;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::size_t equals = arg.find('=');
        const std::string typed = arg.substr(0, equals);
        const Option* found = nullptr;
        for (const Option& option : kOptions)
            if (Names(option, typed)) found = &option;
        if (!found) {
            if (arg.empty() || arg[0] != '-') return mistake("unexpected argument '" + arg + "'");
            return mistake("unknown option '" + arg + "'");
        }
        if (!found->argument && equals != std::string::npos)
            return mistake("option '" + typed + "' takes no value");
        if (found->argument && equals == std::string::npos && ++i == args.size())
            return mistake("option '" + arg + "' needs a value (" + found->argument + ")");
        const std::string value = !found->argument              ? std::string()
                                  : equals != std::string::npos ? arg.substr(equals + 1)
                                                                : args[i];
        switch (found->does) {
            case Does::Help:
                line.out = Usage(program);
                line.exitStatus = 0;
                return line;
            case Does::Version:
                line.out = std::string(AQUENDO_NAME) + " " + AQUENDO_VERSION + "\n";
                line.exitStatus = 0;
                return line;
            case Does::Levels:
                if (value.empty()) return mistake("option '" + typed + "' needs a FILE");
                line.levelsFile = value;
                break;
            case Does::QuitAfterStart:
                line.quitAfterStart = true;
                break;
            case Does::LeftToQt:
                break;
        }
    }
    return line;
}

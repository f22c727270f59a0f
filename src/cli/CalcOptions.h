// The command line of tallyon-calc: its options, their parsing into a settings record and
// the help text.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/SettingsRecord.h"

namespace tallyon {

struct TCalcOptions {
    TSettingsRecord Settings;       // number format as the options give it
    std::string DocumentPath;       // empty or "-" for standard input
    std::string VariablesPath;      // --variables: loaded before calculating
    std::string SaveVariablesPath;  // --save-variables: written afterwards
    bool InPlace = false;
    bool Help = false;
    bool Version = false;

    bool FromStandardInput() const { return DocumentPath.empty() || DocumentPath == "-"; }
};

// Parses the arguments after the program name. Returns the options, or nullopt with `error`
// set to a one-line message for a command line that does not parse.
std::optional<TCalcOptions> ParseCalcOptions(const std::vector<std::string>& args,
                                             std::string& error);

// The text printed by --help.
std::string CalcUsage();

}  // namespace tallyon

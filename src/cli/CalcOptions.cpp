// Parsing tallyon-calc's command line. Options take their value as the next argument or after
// "="; "--" ends the options.
#include "CalcOptions.h"

#include <array>
#include <charconv>
#include <string_view>

#include "engine/RuvoSub.h"

namespace tallyon {

namespace {

struct TFormatName {
    std::string_view Name;
    int OptNumFormat;
};

// The --format names, by the number format they select.
constexpr std::array<TFormatName, 5> kFormatNames{{
    {"general", 0},
    {"exponent", 1},
    {"fixed", 2},
    {"engineering", 3},
    {"user", 4},
}};

constexpr int kMaxPrecision = 18;  // the range the options dialog offers for both numbers

bool ParseSmallNumber(std::string_view text, int& value) {
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && value >= 0 && value <= kMaxPrecision;
}

}  // namespace

std::string CalcUsage() {
    return "Usage: tallyon-calc [options] [FILE]\n"
           "Calculates every line of a Tallyon document from the top, as \"Calculate again\"\n"
           "does, and writes the calculated document (CR LF line breaks) to standard output.\n"
           "Without FILE, or with FILE \"-\", the document is read from standard input.\n"
           "\n"
           "Options:\n"
           "  --format NAME         number format of answers: general (default), exponent,\n"
           "                        fixed, engineering or user\n"
           "  --precision N         significant digits, 0 to 18 (default 18)\n"
           "  --digits N            exponent or decimal digits, 0 to 18 (default 0)\n"
           "  --pattern TEXT        user format pattern, e.g. \"#,##0.000;-#,##0.000;0.000\";\n"
           "                        selects the user format unless --format says otherwise\n"
           "  --variables FILE      load a variables file before calculating\n"
           "  --save-variables FILE write the variables afterwards\n"
           "  -i, --in-place        write the result back to FILE instead of standard output\n"
           "  --help                show this text\n"
           "  --version             show the version\n"
           "\n"
           "Exit status: 0 calculated (lines marked \" >>> \" included), 1 a line could not be\n"
           "calculated (reported as FILE:LINE: message; the document is written as it stands),\n"
           "2 a file could not be read or written, or the command line is wrong.\n";
}

std::optional<TCalcOptions> ParseCalcOptions(const std::vector<std::string>& args,
                                             std::string& error) {
    TCalcOptions options;
    bool formatGiven = false;
    bool patternGiven = false;
    bool optionsEnded = false;
    std::vector<std::string> files;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg == "-" || !arg.starts_with("-")) {
            files.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = arg.find('=');
            arg.starts_with("--") && equals != std::string::npos) {
            name = arg.substr(0, equals);
            inlineValue = arg.substr(equals + 1);
        }
        // The option's value: after "=", or the next argument.
        const auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) return inlineValue;
            if (i + 1 < args.size()) return args[++i];
            error = "option " + name + " needs a value";
            return std::nullopt;
        };
        const auto noValue = [&] {
            if (inlineValue) error = "option " + name + " takes no value";
            return !inlineValue;
        };

        if (name == "--help" || name == "-h") {
            if (!noValue()) return std::nullopt;
            options.Help = true;
        } else if (name == "--version") {
            if (!noValue()) return std::nullopt;
            options.Version = true;
        } else if (name == "-i" || name == "--in-place") {
            if (!noValue()) return std::nullopt;
            options.InPlace = true;
        } else if (name == "--format") {
            const auto text = value();
            if (!text) return std::nullopt;
            bool known = false;
            for (const TFormatName& format : kFormatNames) {
                if (format.Name == *text) {
                    options.Settings.OptNumFormat = format.OptNumFormat;
                    known = true;
                }
            }
            if (!known) {
                error = "unknown format '" + *text +
                        "' (general, exponent, fixed, engineering or user)";
                return std::nullopt;
            }
            formatGiven = true;
        } else if (name == "--precision" || name == "--digits") {
            const auto text = value();
            if (!text) return std::nullopt;
            int& target =
                name == "--precision" ? options.Settings.OptPrecision : options.Settings.OptDigits;
            if (!ParseSmallNumber(*text, target)) {
                error = name + " takes a whole number from 0 to 18, not '" + *text + "'";
                return std::nullopt;
            }
        } else if (name == "--pattern") {
            const auto text = value();
            if (!text) return std::nullopt;
            options.Settings.OptNumFormatStr = *text;
            patternGiven = true;
        } else if (name == "--variables" || name == "--save-variables") {
            const auto text = value();
            if (!text) return std::nullopt;
            (name == "--variables" ? options.VariablesPath : options.SaveVariablesPath) = *text;
        } else {
            error = "unknown option '" + arg + "' (try --help)";
            return std::nullopt;
        }
    }

    if (files.size() > 1) {
        error = "only one document can be calculated at a time";
        return std::nullopt;
    }
    if (!files.empty()) options.DocumentPath = files.front();
    if (patternGiven && !formatGiven) options.Settings.OptNumFormat = static_cast<int>(TNumberFormat::UserPattern);
    // A precision of 0 means the full 18 digits, as when the settings are loaded; an empty
    // user pattern is the program's ready pattern.
    if (options.Settings.OptPrecision == 0) options.Settings.OptPrecision = 18;
    if (options.Settings.OptNumFormatStr.empty())
        options.Settings.OptNumFormatStr = std::string(kDefaultNumFormatStr);
    if (options.InPlace && options.FromStandardInput() && !options.Help && !options.Version) {
        error = "--in-place needs a FILE";
        return std::nullopt;
    }
    return options;
}

}  // namespace tallyon

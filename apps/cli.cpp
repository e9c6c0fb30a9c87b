#include "apps/cli.h"

#include <charconv>
#include <climits>
#include <memory>
#include <optional>

#include "clickdata/click_data.h"
#include "engine/stkstr.h"
#include "engine/trace_corlum.h"
#include "host/registry.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"

namespace vexclk {
namespace {

constexpr int kBadInput = 2;

const char* const kUsage =
    "usage: vexclk COMMAND [OPTIONS] ARGS...\n"
    "\n"
    "commands:\n"
    "  text   print the information text of each object\n"
    "  type   print the type code of each object (-1: cannot be classified)\n"
    "  parse  print the ten parameters of each text as the reply parser splits it\n"
    "  settings  print or change the saved display settings\n"
    "\n"
    "'vexclk COMMAND --help' describes a command.\n";

const char* const kTextUsage =
    "usage: vexclk text [OPTIONS] OBJECT...\n"
    "\n"
    "Prints the information text of each OBJECT (an engine identifier such as\n"
    "Solar.Planet.Mars), in order, from one text engine so that the cache works\n"
    "across the list.\n"
    "\n"
    "options:\n"
    "  --replies FILE          answer from a transcript (COMMAND<TAB>REPLY lines)\n"
    "  --title                 only the heading of each text\n"
    "  --raw                   the text exactly as built (UTF-8, CR LF kept); texts\n"
    "                          are separated by LF, FF, LF\n"
    "  --trace                 every engine command and reply on stderr\n"
    "  --setting NAME=VALUE    override one display setting for this run (the\n"
    "                          others come from the saved settings)\n"
    "  --very-high-precision   coordinates at the finest level\n"
    "  --origin-north          azimuths counted from the north\n"
    "  --not-earth             the observer is not on the Earth\n";

const char* const kTypeUsage =
    "usage: vexclk type [--replies FILE] OBJECT...\n"
    "\n"
    "Prints the type code of each OBJECT, one per line (-1: cannot be classified).\n";

const char* const kParseUsage =
    "usage: vexclk parse TEXT...\n"
    "\n"
    "Prints the ten parameters of each TEXT as lines N<TAB>PARAM (N = 0..9);\n"
    "texts are separated by an empty line.\n";

const char* const kSettingsUsage =
    "usage: vexclk settings\n"
    "       vexclk settings --set NAME=VALUE...\n"
    "       vexclk settings --reset\n"
    "\n"
    "Without options, prints the 29 saved display settings as NAME=VALUE lines in\n"
    "declaration order.  --set saves the given settings (NAME is the registry\n"
    "value name, such as DispEqt2000; VALUE an integer); all are checked before\n"
    "any is saved.  --reset saves the defaults.  Saving also updates the engine\n"
    "defaults ClickData.Constellation and ClickData.Cyclic.\n"
    "\n"
    "The store is $VEXCLK_REGISTRY, else\n"
    "${XDG_CONFIG_HOME:-$HOME/.config}/vexclk/registry.json.\n";

struct BadInput {
    std::string message;
};

// Strict decimal integer: optional sign, digits, nothing else, fits an int.
std::optional<int> ParseInt(const std::string& s) {
    int value = 0;
    const char* first = s.data();
    if (!s.empty() && s[0] == '+') ++first;
    const auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size() || first == s.data() + s.size()) {
        return std::nullopt;
    }
    return value;
}

std::string ShowControls(const CString& text) {
    CString shown = text;
    shown.Replace(u"\r", u"\\r");
    shown.Replace(u"\n", u"\\n");
    return shown.ToUtf8();
}

// Options shared by the commands; each command accepts its own subset.
struct Options {
    std::string replies;
    bool title = false, raw = false, trace = false;
    bool very_high_precision = false, origin_north = false, not_earth = false;
    std::vector<std::pair<const CCdStatus::Field*, int>> settings;
    std::vector<std::string> operands;
    bool help = false;
};

Options ParseOptions(const std::vector<std::string>& args, const std::string& command,
                     const std::vector<std::string>& allowed) {
    Options o;
    auto allowed_here = [&](const std::string& a) {
        for (const auto& x : allowed)
            if (x == a) return true;
        return false;
    };
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            o.operands.insert(o.operands.end(), args.begin() + static_cast<long>(i) + 1, args.end());
            break;
        }
        if (a.size() < 2 || a[0] != '-' || command == "parse") {
            if (a == "--help" && command == "parse" && o.operands.empty()) {
                o.help = true;
                continue;
            }
            o.operands.push_back(a);
            continue;
        }
        if (a == "--help") {
            o.help = true;
            continue;
        }
        if (!allowed_here(a)) throw BadInput{"vexclk " + command + ": unknown option '" + a + "'"};
        auto value = [&]() -> std::string {
            if (i + 1 >= args.size()) throw BadInput{"vexclk " + command + ": " + a + " needs a value"};
            return args[++i];
        };
        if (a == "--replies") {
            o.replies = value();
        } else if (a == "--title") {
            o.title = true;
        } else if (a == "--raw") {
            o.raw = true;
        } else if (a == "--trace") {
            o.trace = true;
        } else if (a == "--very-high-precision") {
            o.very_high_precision = true;
        } else if (a == "--origin-north") {
            o.origin_north = true;
        } else if (a == "--not-earth") {
            o.not_earth = true;
        } else if (a == "--setting") {
            const std::string nv = value();
            const size_t eq = nv.find('=');
            if (eq == std::string::npos) {
                throw BadInput{"vexclk " + command + ": --setting wants NAME=VALUE, got '" + nv + "'"};
            }
            const std::string name = nv.substr(0, eq);
            const CCdStatus::Field* field = CCdStatus::FindField(CString::FromUtf8(name));
            if (!field) throw BadInput{"vexclk " + command + ": unknown setting '" + name + "'"};
            const auto v = ParseInt(nv.substr(eq + 1));
            if (!v) {
                throw BadInput{"vexclk " + command + ": setting " + name + " wants an integer, got '" +
                               nv.substr(eq + 1) + "'"};
            }
            o.settings.emplace_back(field, *v);
        }
    }
    return o;
}

std::unique_ptr<CReplayEngine> MakeEngine(const Options& o, const std::string& command) {
    if (o.replies.empty()) {
        throw BadInput{"vexclk " + command + ": no engine: give --replies FILE"};
    }
    auto engine = std::make_unique<CReplayEngine>();
    std::string error;
    if (!engine->LoadFile(o.replies, &error)) throw BadInput{"vexclk " + command + ": " + error};
    return engine;
}

int RunText(const Options& o, std::ostream& out, std::ostream& err) {
    if (o.help) {
        out << kTextUsage;
        return 0;
    }
    if (o.operands.empty()) throw BadInput{"vexclk text: no OBJECT given"};
    auto replay = MakeEngine(o, "text");
    CTraceCorLum traced(*replay, [&err](const CString& command, const CString& reply) {
        err << "> " << ShowControls(command) << "\n< " << ShowControls(reply) << "\n";
    });
    CCorLum* engine = o.trace ? static_cast<CCorLum*>(&traced) : replay.get();

    CCdStatus status;
    status.Load();
    for (const auto& [field, value] : o.settings) status.*(field->member) = value;

    CLumClickData data;
    data.SetStatus(&status);
    data.SetExtraOption(o.very_high_precision ? 1 : 0);
    // The palette treats an observer off the Earth the same way.
    data.SetNotEarth(o.not_earth || !replay->OnEarth() ? 1 : 0);
    if (o.origin_north) data.SetOriginNorth(1);

    for (size_t i = 0; i < o.operands.size(); ++i) {
        const CString text = data.GetText(engine, CString::FromUtf8(o.operands[i]), o.title ? 1 : 0);
        if (o.raw) {
            if (i > 0) out << "\n\f\n";
            out << text.ToUtf8();
        } else {
            CString shown = text;
            shown.Replace(u"\r\n", u"\n");
            shown.TrimRight(u'\n');
            out << shown.ToUtf8() << "\n";
        }
    }
    return 0;
}

int RunType(const Options& o, std::ostream& out) {
    if (o.help) {
        out << kTypeUsage;
        return 0;
    }
    if (o.operands.empty()) throw BadInput{"vexclk type: no OBJECT given"};
    auto engine = MakeEngine(o, "type");
    CLumClickData data;
    for (const auto& object : o.operands) {
        out << data.ClassifyObject(engine.get(), CString::FromUtf8(object)) << "\n";
    }
    return 0;
}

int RunParse(const Options& o, std::ostream& out) {
    if (o.help) {
        out << kParseUsage;
        return 0;
    }
    for (size_t i = 0; i < o.operands.size(); ++i) {
        if (i > 0) out << "\n";
        const CLumProperty property(CString::FromUtf8(o.operands[i]));
        for (int n = 0; n < CLumProperty::kMaxParam; ++n) {
            out << n << "\t" << property.GetParam(n).GetText().ToUtf8() << "\n";
        }
    }
    return 0;
}

// True when the store holds every value of `status` as Save writes it.
// Save itself never reports a lost write, so the command line reads back.
bool StoreHolds(const CCdStatus& status) {
    CRegistry::Snapshot snapshot;
    for (const CCdStatus::Field& f : CCdStatus::Fields()) {
        int stored = 0;
        if (!CRegistry::Read(CCdStatus::kRegistryKey, f.name, 0, &stored,
                             static_cast<int>(f.kind)) ||
            stored != status.*(f.member)) {
            return false;
        }
    }
    const std::array<CString, 2> commands = status.EngineDefaultCommands();
    const char16_t* const names[2] = {CCdStatus::kConstellationDefault, CCdStatus::kCyclicDefault};
    for (int i = 0; i < 2; ++i) {
        CString stored;
        if (!CRegistry::Read(CCdStatus::kEngineDefaultsKey, names[i], CString(), stored) ||
            !commands[i].view().ends_with(u" = " + stored.str())) {
            return false;
        }
    }
    return true;
}

int RunSettings(const std::vector<std::string>& args, std::ostream& out) {
    bool set = false, reset = false;
    std::vector<std::pair<const CCdStatus::Field*, int>> changes;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help") {
            out << kSettingsUsage;
            return 0;
        } else if (a == "--set") {
            set = true;
        } else if (a == "--reset") {
            reset = true;
        } else if (set && a.find('=') != std::string::npos) {
            const size_t eq = a.find('=');
            const std::string name = a.substr(0, eq);
            const CCdStatus::Field* field = CCdStatus::FindField(CString::FromUtf8(name));
            if (!field) throw BadInput{"vexclk settings: unknown setting '" + name + "'"};
            const auto v = ParseInt(a.substr(eq + 1));
            if (!v) {
                throw BadInput{"vexclk settings: setting " + name + " wants an integer, got '" +
                               a.substr(eq + 1) + "'"};
            }
            changes.emplace_back(field, *v);
        } else if (set) {
            throw BadInput{"vexclk settings: --set wants NAME=VALUE, got '" + a + "'"};
        } else {
            throw BadInput{"vexclk settings: unexpected argument '" + a + "'"};
        }
    }
    if (set && reset) throw BadInput{"vexclk settings: give either --set or --reset"};
    if (set && changes.empty()) throw BadInput{"vexclk settings: --set needs NAME=VALUE"};

    CCdStatus status;
    status.Load();
    if (!set && !reset) {
        for (const CCdStatus::Field& f : CCdStatus::Fields()) {
            out << CString(f.name).ToUtf8() << "=" << status.*(f.member) << "\n";
        }
        return 0;
    }
    if (reset) status.Init();
    for (const auto& [field, value] : changes) status.*(field->member) = value;
    status.Save();
    if (!StoreHolds(status)) {
        const std::string path = CRegistry::StorePath();
        throw BadInput{"vexclk settings: cannot write the settings store" +
                       (path.empty() ? std::string(" (no home folder)") : " '" + path + "'")};
    }
    return 0;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    try {
        if (args.empty()) throw BadInput{"vexclk: no command given (try 'vexclk --help')"};
        const std::string& command = args[0];
        if (command == "--help" || command == "-h" || command == "help") {
            out << kUsage;
            return 0;
        }
        if (command == "text") {
            return RunText(ParseOptions(args, command,
                                        {"--replies", "--title", "--raw", "--trace", "--setting",
                                         "--very-high-precision", "--origin-north", "--not-earth"}),
                           out, err);
        }
        if (command == "type") return RunType(ParseOptions(args, command, {"--replies"}), out);
        if (command == "parse") return RunParse(ParseOptions(args, command, {}), out);
        if (command == "settings") return RunSettings(args, out);
        throw BadInput{"vexclk: unknown command '" + command + "' (try 'vexclk --help')"};
    } catch (const BadInput& bad) {
        err << bad.message << "\n";
        return kBadInput;
    }
}

}  // namespace vexclk

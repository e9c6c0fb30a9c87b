#include "apps/cli.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "cdf/cdf.h"
#include "clickdata/click_data.h"
#include "engine/stkstr.h"
#include "engine/trace_corlum.h"
#include "host/iso_time.h"
#include "host/message_queue.h"
#include "host/network.h"
#include "host/printable.h"
#include "host/registry.h"
#include "settings/cdstatus.h"
#include "sky/replay_engine.h"
#include "sky/sky_engine.h"
#include "thumbs/gallery_client.h"
#include "thumbs/gallery_reply.h"

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
    "  query  send engine commands and print the replies\n"
    "  find   print the objects that bear a name, or lie near a place\n"
    "  comment  print or set the user's comment on an object, or list the comments\n"
    "  keys   print the comment key and the gallery search key of each object\n"
    "  gallery  fetch one page of the posted-image gallery and its thumbnails\n"
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
    "                          instead of the sky engine\n"
    "  --time ISO-8601         the sky engine's time (default now), e.g.\n"
    "                          2026-12-06T21:00 (read in --tz) or 2026-12-06T12:00Z\n"
    "  --tz HOURS              the clock's zone, hours east of UT (default 9)\n"
    "  --lat DEG, --lon DEG    the observer's latitude (north +) and longitude\n"
    "                          (east +); default Tokyo\n"
    "  --height METRES         the observer's height (default 40)\n"
    "  --pick STAR             put STAR into the picked-star slot star.Xno0: a\n"
    "                          catalogue star (HIP32349) or a faint one\n"
    "                          (KSJ000000.8+313155)\n"
    "  --title                 only the heading of each text\n"
    "  --raw                   the text exactly as built (UTF-8, CR LF kept); texts\n"
    "                          are separated by a NUL byte\n"
    "  --trace                 every engine command and reply on stderr\n"
    "  --setting NAME=VALUE    override one display setting for this run (the\n"
    "                          others come from the saved settings)\n"
    "  --very-high-precision   coordinates at the finest level\n"
    "  --origin-north          azimuths counted from the north\n"
    "  --not-earth             the observer is not on the Earth\n";

const char* const kQueryUsage =
    "usage: vexclk query [ENGINE OPTIONS] [COMMAND...]\n"
    "\n"
    "Sends each COMMAND (or, without one, each line of standard input) to the\n"
    "engine and prints its reply on one line (CR and LF inside shown as \\r, \\n).\n"
    "Example: vexclk query '? Star.HIP32349.position.Altitude'\n"
    "ENGINE OPTIONS: --replies FILE, or --time, --tz, --lat, --lon, --height, --pick\n"
    "as for 'vexclk text'.\n";

const char* const kFindUsage =
    "usage: vexclk find TEXT...\n"
    "       vexclk find --near RA,DEC[,RADIUS]\n"
    "\n"
    "Prints the identifiers of the objects whose name or designation is TEXT\n"
    "(English or Japanese: Sirius, シリウス, 'alpha CMa', 'HD 48915', 'M 42'), or\n"
    "of the objects within RADIUS degrees (default 1) of a J2000 place, RA in\n"
    "hours and DEC in degrees, nearest first with their distances.\n";

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

const char* const kCommentUsage =
    "usage: vexclk comment [--replies FILE] [--file PATH] OBJECT\n"
    "       vexclk comment [--replies FILE] [--file PATH] --set TEXT OBJECT\n"
    "       vexclk comment --list [--file PATH]\n"
    "\n"
    "Prints the user's comment on OBJECT followed by a line feed (nothing when it\n"
    "has none).  --set stores TEXT as the comment (line feeds in TEXT are line\n"
    "breaks; an empty TEXT removes it) and saves the file.  --list prints every key\n"
    "of the file with its comment as KEY<TAB>COMMENT, where \\\\, \\t, \\n and \\r\n"
    "stand for backslash, tab, line feed and carriage return.\n"
    "\n"
    "OBJECT is filed under the key the palette uses (see 'vexclk keys'), asked of\n"
    "the sky engine or of the replies FILE; an object without one (a temporarily\n"
    "numbered star, for instance) cannot carry a comment.  The file is PATH, else\n"
    "the registry value Files/ClickData, else\n"
    "${XDG_DATA_HOME:-$HOME/.local/share}/vexclk/lumvex.cdf.\n";

const char* const kKeysUsage =
    "usage: vexclk keys [--replies FILE] OBJECT...\n"
    "\n"
    "Prints three lines for each OBJECT: its key in the comment file, whether it\n"
    "may carry a comment, and its search key in the posted-image gallery (after\n"
    "its text is built, as the palette does):\n"
    "  comment-key<TAB>KEY\n"
    "  comment-enabled<TAB>0|1\n"
    "  search-key<TAB>KEY\n"
    "Backslash, tab, line feed and carriage return in a key print as \\\\, \\t, \\n\n"
    "and \\r.\n";
const char* const kGalleryUsage =
    "usage: vexclk gallery [--base URL] [--offset N] [--timeouts CONNECT,SEND,RECEIVE]\n"
    "                      [--dir DIR] KEY\n"
    "\n"
    "Asks the posted-image gallery for the page of posts about KEY (an object's\n"
    "search string) that starts at item N (default 0), downloads the page's\n"
    "thumbnails and prints total<TAB>N, limit<TAB>N, one line per item\n"
    "INDEX<TAB>TITLE<TAB>AUTHOR<TAB>DATE<TAB>THUMBNAIL-PATH (empty when the\n"
    "thumbnail did not download; tab, CR and LF inside shown as \\t, \\r, \\n),\n"
    "then folder<TAB>PATH.\n"
    "\n"
    "options:\n"
    "  --base URL        the search service (default: $VEXCLK_GALLERY_URL, else the\n"
    "                    settings store's Network/GallerySearchURL)\n"
    "  --timeouts C,S,R  connect, send and receive time-outs in milliseconds for\n"
    "                    this run (default: the saved ImageThumb*Timeout values)\n"
    "  --dir DIR         put the thumbnails into the existing folder DIR (default:\n"
    "                    a new folder under the temporary directory, kept)\n";

struct BadInput {
    std::string message;
};

using host::Quoted;

// Where the digits of a strict number begin: after one optional "+" (which
// from_chars does not take), and never before a second sign ("+-1").
const char* NumberStart(const std::string& s) {
    if (s.empty() || s[0] != '+') return s.data();
    return s.size() > 1 && (s[1] == '-' || s[1] == '+') ? nullptr : s.data() + 1;
}

// Strict decimal integer: optional sign, digits, nothing else, fits an int.
std::optional<int> ParseInt(const std::string& s) {
    int value = 0;
    const char* first = NumberStart(s);
    if (!first) return std::nullopt;
    const auto [ptr, ec] = std::from_chars(first, s.data() + s.size(), value);
    if (ec != std::errc() || ptr != s.data() + s.size() || first == ptr) return std::nullopt;
    return value;
}

// Strict decimal number: the whole text, finite.
std::optional<double> ParseDouble(const std::string& s) {
    double value = 0.0;
    const char* first = NumberStart(s);
    if (!first) return std::nullopt;
    const auto [ptr, ec] =
        std::from_chars(first, s.data() + s.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != s.data() + s.size() || first == ptr || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// One NAME=VALUE assignment of a display setting.
std::pair<const CCdStatus::Field*, int> ParseSetting(const std::string& command,
                                                     const std::string& text) {
    const size_t eq = text.find('=');
    if (eq == std::string::npos) {
        throw BadInput{"vexclk " + command + ": a setting is NAME=VALUE, got " + Quoted(text)};
    }
    const std::string name = text.substr(0, eq);
    const CCdStatus::Field* field = CCdStatus::FindField(CString::FromUtf8(name));
    if (!field) throw BadInput{"vexclk " + command + ": unknown setting " + Quoted(name)};
    const auto v = ParseInt(text.substr(eq + 1));
    if (!v) {
        throw BadInput{"vexclk " + command + ": setting " + name + " wants an integer, got " +
                       Quoted(text.substr(eq + 1))};
    }
    return {field, *v};
}

// CR and LF (and tab, when asked) as \r, \n, \t: one value on one line.
std::string ShowControls(const CString& text, bool tabs = false) {
    CString shown = text;
    if (tabs) shown.Replace(u"\t", u"\\t");
    shown.Replace(u"\r", u"\\r");
    shown.Replace(u"\n", u"\\n");
    return shown.ToUtf8();
}

// A text on one line that can be read back exactly: backslash, tab, line
// feed and carriage return written as \\, \t, \n and \r.
std::string ShowEscaped(const CString& text) {
    CString shown = text;
    shown.Replace(u"\\", u"\\\\");
    shown.Replace(u"\t", u"\\t");
    return ShowControls(shown);
}

// Options shared by the commands; each command accepts its own subset.
struct Options {
    std::string replies;
    std::string time, near, file, pick;
    std::optional<std::string> set;
    bool list = false;
    std::optional<double> tz, lat, lon, height;
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
            o.operands.insert(o.operands.end(), args.begin() + static_cast<long>(i) + 1,
                              args.end());
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
        if (!allowed_here(a)) throw BadInput{"vexclk " + command + ": unknown option " + Quoted(a)};
        // An empty value is no value: it would read as the option left out.
        // A comment is the exception: an empty one removes the comment.
        auto value = [&](bool may_be_empty = false) -> std::string {
            if (i + 1 >= args.size() || (args[i + 1].empty() && !may_be_empty))
                throw BadInput{"vexclk " + command + ": " + a + " needs a value"};
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
            o.settings.push_back(ParseSetting(command, value()));
        } else if (a == "--time") {
            o.time = value();
        } else if (a == "--pick") {
            o.pick = value();
        } else if (a == "--near") {
            o.near = value();
        } else if (a == "--file") {
            o.file = value();
            if (o.file.empty()) throw BadInput{"vexclk " + command + ": --file needs a path"};
        } else if (a == "--set") {
            o.set = value(true);
        } else if (a == "--list") {
            o.list = true;
        } else if (a == "--tz" || a == "--lat" || a == "--lon" || a == "--height") {
            const std::string text = value();
            const auto number = ParseDouble(text);
            if (!number) {
                throw BadInput{"vexclk " + command + ": " + a + " wants a number, got " +
                               Quoted(text)};
            }
            (a == "--tz" ? o.tz : a == "--lat" ? o.lat : a == "--lon" ? o.lon : o.height) = number;
        }
    }
    return o;
}

// The engine of a command: the replay engine with --replies, else the sky
// engine set to the options' time and place.
struct Engine {
    std::unique_ptr<CCorLum> engine;
    CSkyEngine* sky = nullptr;  // the same engine, when it is the sky engine
};

// Catalogues are loaded once per process (the tests run many commands).
std::shared_ptr<const CSkyCatalog> SharedCatalog(const std::string& command) {
    static std::shared_ptr<const CSkyCatalog> catalog;
    static std::string loaded_from;
    const std::string dir = CSkyCatalog::DefaultDataDir();
    if (!catalog || loaded_from != dir) {
        auto fresh = std::make_shared<CSkyCatalog>();
        std::string error;
        if (!fresh->Load(dir, &error)) {
            throw BadInput{"vexclk " + command + ": cannot load the catalogues: " + error};
        }
        catalog = std::move(fresh);
        loaded_from = dir;
    }
    return catalog;
}

Engine MakeEngine(const Options& o, const std::string& command) {
    Engine e;
    const bool sky_options = !o.time.empty() || o.tz || o.lat || o.lon || o.height;
    if (!o.replies.empty()) {
        if (sky_options) {
            throw BadInput{"vexclk " + command +
                           ": --time, --tz, --lat, --lon and --height are for the sky engine, not "
                           "--replies"};
        }
        if (!o.pick.empty())
            throw BadInput{"vexclk " + command + ": --pick is for the sky engine, not --replies"};
        auto replay = std::make_unique<CReplayEngine>();
        std::string error;
        if (!replay->LoadFile(o.replies, &error))
            throw BadInput{"vexclk " + command + ": " + error};
        e.engine = std::move(replay);
        return e;
    }
    auto sky = std::make_unique<CSkyEngine>(SharedCatalog(command));
    if (o.tz && !sky->SetTimezone(*o.tz)) {
        throw BadInput{"vexclk " + command + ": --tz must lie within -14..14 hours"};
    }
    if (!o.time.empty()) {
        double jd = 0.0;
        std::string error;
        if (!host::ParseIsoTime(o.time, sky->GetTz(), &jd, &error) || !sky->SetJd(jd)) {
            throw BadInput{"vexclk " + command + ": --time: " +
                           (error.empty() ? "outside the years the engine serves" : error)};
        }
    }
    if ((o.lat || o.lon || o.height) &&
        !sky->SetPlace(o.lon.value_or(sky->GetLongitude()), o.lat.value_or(sky->GetLatitude()),
                       o.height.value_or(sky->GetHeight()))) {
        throw BadInput{"vexclk " + command +
                       ": the place is out of range (latitude -90..90, longitude -180..360, "
                       "height -12000..100000 m)"};
    }
    if (!o.pick.empty()) {
        const CString star = CString::FromUtf8(o.pick);
        const CSkyCatalog& catalog = sky->Catalog();
        if (!catalog.StarById(star) && !catalog.Extras().FaintById(star))
            throw BadInput{"vexclk " + command + ": --pick: no star " + Quoted(o.pick)};
        sky->SetPickedStar(star);
    }
    e.sky = sky.get();
    e.engine = std::move(sky);
    return e;
}

BadInput StoreFault(const std::string& command);

// A text engine with the display settings saved in the store, as the
// palette lends it its record.
struct TextEngine {
    CCdStatus status;
    CLumClickData data;
    TextEngine() {
        status.Load();
        data.SetStatus(&status);
    }
};

int RunText(const Options& o, std::ostream& out, std::ostream& err) {
    if (o.help) {
        out << kTextUsage;
        return 0;
    }
    if (o.operands.empty()) throw BadInput{"vexclk text: no OBJECT given"};
    // Texts made with the defaults would pass for texts made with the
    // user's saved settings.
    if (!CRegistry::CheckStore(nullptr)) throw StoreFault("text");
    Engine made = MakeEngine(o, "text");
    CCorLum* const inner = made.engine.get();
    CTraceCorLum traced(*inner, [&err](const CString& command, const CString& reply) {
        err << "> " << ShowControls(command) << "\n< " << ShowControls(reply) << "\n";
    });
    CCorLum* engine = o.trace ? static_cast<CCorLum*>(&traced) : inner;

    TextEngine text_engine;
    for (const auto& [field, value] : o.settings) text_engine.status.*(field->member) = value;
    CLumClickData& data = text_engine.data;
    data.SetExtraOption(o.very_high_precision ? 1 : 0);
    // The palette treats an observer off the Earth the same way.
    data.SetNotEarth(o.not_earth || !inner->OnEarth() ? 1 : 0);
    if (o.origin_north) data.SetOriginNorth(1);

    for (size_t i = 0; i < o.operands.size(); ++i) {
        const CString text =
            data.GetText(engine, CString::FromUtf8(o.operands[i]), o.title ? 1 : 0);
        if (o.raw) {
            if (i > 0) out << '\0';  // a text never holds NUL
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
    Engine made = MakeEngine(o, "type");
    CLumClickData data;
    for (const auto& object : o.operands) {
        out << data.ClassifyObject(made.engine.get(), CString::FromUtf8(object)) << "\n";
    }
    return 0;
}

// Reads the comment file into `cdf`; a file that is not there is no
// comment yet.
void LoadComments(CCdf& cdf, const CString& path) {
    CLumFile::Error error = CLumFile::Error::kNone;
    if (cdf.LoadFile(path, &error) || error == CLumFile::Error::kNone ||
        error == CLumFile::Error::kMissing) {
        return;
    }
    const std::string name = "'" + path.ToUtf8() + "'";
    if (error == CLumFile::Error::kUndecodable) {
        throw BadInput{"vexclk comment: " + name +
                       " is neither UTF-8 nor UTF-16 with a byte-order mark; left as it is"};
    }
    throw BadInput{"vexclk comment: cannot read the comment file " + name};
}

int RunComment(const Options& o, std::ostream& out) {
    if (o.help) {
        out << kCommentUsage;
        return 0;
    }
    if (o.list && (o.set || !o.operands.empty())) {
        throw BadInput{"vexclk comment: --list takes neither OBJECT nor --set"};
    }
    if (!o.list && o.operands.size() != 1) throw BadInput{"vexclk comment: give one OBJECT"};
    const CString path = o.file.empty() ? CCdf::DefaultPath() : CString::FromUtf8(o.file);
    if (path.IsEmpty()) {
        throw BadInput{"vexclk comment: no home folder for the comment file; give --file PATH"};
    }
    CCdf cdf;
    LoadComments(cdf, path);
    if (o.list) {
        for (const CString& key : cdf.GetKeys()) {
            CString comment;
            cdf.GetComment(key, comment);
            out << ShowEscaped(key) << "\t" << ShowEscaped(comment) << "\n";
        }
        return 0;
    }

    Engine made = MakeEngine(o, "comment");
    TextEngine text_engine;
    const CString object = CString::FromUtf8(o.operands[0]);
    CLumClickData& data = text_engine.data;
    if (!data.IsCommentEnable(made.engine.get(), object)) {
        throw BadInput{"vexclk comment: " + o.operands[0] + " cannot carry a comment"};
    }
    const CString key = data.StkToCdf(made.engine.get(), object);
    if (!o.set) {
        CString comment;
        if (cdf.GetComment(key, comment) && !comment.IsEmpty()) out << comment.ToUtf8() << "\n";
        return 0;
    }
    if (!cdf.SetComment(key, CString::FromUtf8(*o.set))) {
        throw BadInput{"vexclk comment: the key of " + o.operands[0] + " cannot be filed"};
    }
    if (!cdf.SaveFile(path)) {
        throw BadInput{"vexclk comment: cannot write the comment file '" + path.ToUtf8() + "'"};
    }
    return 0;
}

int RunKeys(const Options& o, std::ostream& out) {
    if (o.help) {
        out << kKeysUsage;
        return 0;
    }
    if (o.operands.empty()) throw BadInput{"vexclk keys: no OBJECT given"};
    Engine made = MakeEngine(o, "keys");
    CCorLum* const engine = made.engine.get();
    TextEngine text_engine;
    CLumClickData& data = text_engine.data;
    for (const auto& operand : o.operands) {
        const CString object = CString::FromUtf8(operand);
        const CString key = data.StkToCdf(engine, object);
        const int enabled = data.IsCommentEnable(engine, object);
        data.GetText(engine, object, 0);
        out << "comment-key\t" << ShowEscaped(key) << "\ncomment-enabled\t" << enabled
            << "\nsearch-key\t" << ShowEscaped(data.GetDBSearchString(engine)) << "\n";
    }
    return 0;
}

BadInput CommandTooLong() {
    return BadInput{"vexclk query: a command is longer than " +
                    std::to_string(sky::kMaxCommandLength) + " characters"};
}

// Reads one line, without its LF, but no more than `limit` bytes of it.
// False at the end of the input.
bool ReadLineAtMost(std::istream& in, size_t limit, std::string* line) {
    line->clear();
    std::streambuf* const buffer = in.rdbuf();
    for (;;) {
        const int c = buffer->sbumpc();
        if (c == std::char_traits<char>::eof()) return !line->empty();
        if (c == '\n' || line->size() == limit) return true;
        line->push_back(static_cast<char>(c));
    }
}

int RunQuery(const Options& o, std::istream& in, std::ostream& out) {
    if (o.help) {
        out << kQueryUsage;
        return 0;
    }
    Engine made = MakeEngine(o, "query");
    auto send = [&](const std::string& command) {
        const CString text = CString::FromUtf8(command);
        if (text.GetLength() > sky::kMaxCommandLength) throw CommandTooLong();
        out << ShowControls(made.engine->Doit(text)) << "\n";
    };
    if (!o.operands.empty()) {
        for (const auto& command : o.operands) send(command);
        return 0;
    }
    // UTF-8 takes at most three bytes per UTF-16 unit: a longer line is a
    // command beyond the bound, and is not read on.
    constexpr size_t kMaxLineBytes = 3 * static_cast<size_t>(sky::kMaxCommandLength) + 1;
    for (std::string line; ReadLineAtMost(in, kMaxLineBytes, &line);) {
        if (line.size() >= kMaxLineBytes) throw CommandTooLong();
        if (!line.empty() && line.back() == '\r') line.pop_back();
        send(line);
    }
    return 0;
}

int RunFind(const Options& o, std::ostream& out) {
    if (o.help) {
        out << kFindUsage;
        return 0;
    }
    if (o.near.empty() == o.operands.empty()) {
        throw BadInput{"vexclk find: give either TEXT or --near RA,DEC[,RADIUS]"};
    }
    Engine made = MakeEngine(Options{}, "find");  // names and places need the sky engine
    if (o.near.empty()) {
        for (const auto& text : o.operands) {
            for (const CString& id : made.sky->FindByName(CString::FromUtf8(text))) {
                out << id.ToUtf8() << "\n";
            }
        }
        return 0;
    }
    std::vector<double> numbers;
    bool numeric = true;  // every comma-separated piece is a number
    for (size_t from = 0;;) {
        const size_t comma = o.near.find(',', from);
        const auto number = ParseDouble(o.near.substr(from, comma - from));
        numeric = numeric && number;
        if (number) numbers.push_back(*number);
        if (comma == std::string::npos) break;
        from = comma + 1;
    }
    const bool ok = numeric && (numbers.size() == 2 || numbers.size() == 3) && numbers[0] >= 0.0 &&
                    numbers[0] < 24.0 && std::fabs(numbers[1]) <= 90.0 &&
                    (numbers.size() == 2 || (numbers[2] > 0.0 && numbers[2] <= 180.0));
    if (!ok) {
        throw BadInput{
            "vexclk find: --near wants RA,DEC[,RADIUS]: RA 0..24 h, DEC -90..90, "
            "RADIUS 0..180 degrees; got " +
            Quoted(o.near)};
    }
    const double radius = numbers.size() == 3 ? numbers[2] : 1.0;
    for (const auto& [id, distance] : made.sky->FindNear(numbers[0], numbers[1], radius, 20)) {
        CString line;
        line.Format(u"%s\t%.4f", id, distance);
        out << line.ToUtf8() << "\n";
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

// The bad input of a store that cannot be read, or cannot be written.
BadInput StoreFault(const std::string& command) {
    const std::string path = CRegistry::StorePath();
    if (path.empty())
        return BadInput{"vexclk " + command + ": cannot write the settings store (no home folder)"};
    std::string problem;
    if (!CRegistry::CheckStore(&problem)) {
        return BadInput{"vexclk " + command + ": cannot read the settings store " + Quoted(path) +
                        ": " + problem};
    }
    return BadInput{"vexclk " + command + ": cannot write the settings store " + Quoted(path)};
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
            changes.push_back(ParseSetting("settings", a));
        } else if (set) {
            throw BadInput{"vexclk settings: --set wants NAME=VALUE, got " + Quoted(a)};
        } else {
            throw BadInput{"vexclk settings: unexpected argument " + Quoted(a)};
        }
    }
    if (set && reset) throw BadInput{"vexclk settings: give either --set or --reset"};
    if (set && changes.empty()) throw BadInput{"vexclk settings: --set needs NAME=VALUE"};

    CCdStatus status;
    if (!set && !reset) {
        // Defaults listed for a store that cannot be read would pass for
        // saved settings.
        if (!CRegistry::CheckStore(nullptr)) throw StoreFault("settings");
        status.Load();
        for (const CCdStatus::Field& f : CCdStatus::Fields()) {
            out << CString(f.name).ToUtf8() << "=" << status.*(f.member) << "\n";
        }
        return 0;
    }
    // Under the store's lock, so that another process's save in between is
    // kept and every value reported saved here is in the store.
    const int saved = status.Update([&](CCdStatus& stored) {
        if (reset) stored.Init();
        for (const auto& [field, value] : changes) stored.*(field->member) = value;
    });
    if (!saved) throw StoreFault("settings");
    return 0;
}

// "C,S,R": three time-outs in milliseconds, each at least 1.
host::HttpTimeouts ParseTimeouts(const std::string& text) {
    std::vector<int> values;
    for (size_t start = 0; start <= text.size() && values.size() < 4;) {
        const size_t comma = std::min(text.find(',', start), text.size());
        const auto v = ParseInt(text.substr(start, comma - start));
        values.push_back(v && *v >= 1 ? *v : 0);
        start = comma + 1;
    }
    if (values.size() != 3 || std::count(values.begin(), values.end(), 0) > 0) {
        throw BadInput{
            "vexclk gallery: --timeouts wants CONNECT,SEND,RECEIVE in milliseconds "
            "(each at least 1), got '" +
            text + "'"};
    }
    return {values[0], values[1], values[2]};
}

int RunGallery(const std::vector<std::string>& args, std::ostream& out) {
    CMessageQueue queue;
    CGalleryClient client(queue);
    std::string dir;
    std::vector<std::string> keys;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= args.size()) throw BadInput{"vexclk gallery: " + a + " needs a value"};
            return args[++i];
        };
        if (a == "--help") {
            out << kGalleryUsage;
            return 0;
        } else if (a == "--base") {
            client.SetBaseUrl(CString::FromUtf8(value()));
        } else if (a == "--dir") {
            dir = value();
        } else if (a == "--timeouts") {
            client.SetTimeouts(ParseTimeouts(value()));
        } else if (a == "--offset") {
            const std::string text = value();
            const auto n = ParseInt(text);
            if (!n || *n < 0 || *n > kMaxTotal) {
                throw BadInput{"vexclk gallery: --offset wants an item number within 0.." +
                               std::to_string(kMaxTotal) + ", got '" + text + "'"};
            }
            client.SetOffset(*n);
        } else if (a.size() > 1 && a[0] == '-') {
            throw BadInput{"vexclk gallery: unknown option '" + a + "'"};
        } else {
            keys.push_back(a);
        }
    }
    if (keys.size() != 1) throw BadInput{"vexclk gallery: give one KEY"};
    if (!dir.empty()) {
        std::error_code ec;
        if (!std::filesystem::is_directory(dir, ec)) {
            throw BadInput{"vexclk gallery: --dir '" + dir + "' is not a folder"};
        }
        client.SetThumbFolder(dir);
    } else if (!client.PrepareThumbFolder()) {
        throw BadInput{"vexclk gallery: cannot create a folder for the thumbnails"};
    }
    client.SetSearchKey(CString::FromUtf8(keys[0]));
    client.RequestPage(1);
    if (PumpGalleryMessages(queue, client, -1) == CGalleryClient::Event::Failed) {
        throw BadInput{"vexclk gallery: " + ShowControls(CString::FromUtf8(client.GetFailure()))};
    }
    client.KeepThumbFolder();
    out << "total\t" << client.GetTotal() << "\nlimit\t" << client.GetLimit() << "\n";
    const CArray<CImageItem>& items = client.Items();
    for (int i = client.GetOffset(); i < items.GetSize(); ++i) {
        const CImageItem& item = items[i];
        std::error_code ec;
        const std::string thumb = item.thumbPath.ToUtf8();
        out << i << '\t' << ShowControls(item.title, true) << '\t'
            << ShowControls(item.author, true) << '\t' << ShowControls(item.date, true) << '\t'
            << (!thumb.empty() && std::filesystem::is_regular_file(thumb, ec) ? thumb : "") << "\n";
    }
    out << "folder\t" << client.GetThumbFolder() << "\n";
    return 0;
}

}  // namespace

bool MakeCommandEngine(const std::vector<std::string>& args, CommandEngine* made,
                       std::string* error) {
    const std::string command = args.empty() ? std::string() : args[0];
    try {
        const Options o = ParseOptions(
            args, command, {"--replies", "--time", "--tz", "--lat", "--lon", "--height", "--pick"});
        Engine e = MakeEngine(o, command);
        made->engine = std::move(e.engine);
        made->sky = e.sky;
        made->operands = o.operands;
        return true;
    } catch (const BadInput& bad) {
        if (error) *error = bad.message;
        return false;
    }
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCli(args, std::cin, out, err);
}

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
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
                                         "--very-high-precision", "--origin-north", "--not-earth",
                                         "--time", "--tz", "--lat", "--lon", "--height", "--pick"}),
                           out, err);
        }
        if (command == "type") return RunType(ParseOptions(args, command, {"--replies"}), out);
        if (command == "query") {
            return RunQuery(ParseOptions(args, command,
                                         {"--replies", "--time", "--tz", "--lat", "--lon",
                                          "--height", "--pick"}),
                            in, out);
        }
        if (command == "find") return RunFind(ParseOptions(args, command, {"--near"}), out);
        if (command == "parse") return RunParse(ParseOptions(args, command, {}), out);
        if (command == "settings") return RunSettings(args, out);
        if (command == "comment") {
            return RunComment(
                ParseOptions(args, command, {"--replies", "--file", "--set", "--list"}), out);
        }
        if (command == "keys") return RunKeys(ParseOptions(args, command, {"--replies"}), out);
        if (command == "gallery") return RunGallery(args, out);
        throw BadInput{"vexclk: unknown command '" + command + "' (try 'vexclk --help')"};
        throw BadInput{"vexclk: unknown command " + Quoted(command) + " (try 'vexclk --help')"};
    } catch (const BadInput& bad) {
        // One line of valid UTF-8 whatever a message quotes (a catalogue
        // folder from the environment, say); quoted user text is escaped
        // already and passes unchanged.
        err << host::Printable(bad.message) << "\n";
        return kBadInput;
    }
}

}  // namespace vexclk

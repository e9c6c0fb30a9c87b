#include "host/registry.h"

#include <fcntl.h>
#include <picojson.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <mutex>

#include "host/file_read.h"
#include "host/file_system.h"

using host::FileDescriptor;
using host::FileState;

// One reading of the store, shared by the reads that use it.
struct host::detail::RegistryDocument {
    picojson::object root;
};

// One change of the store: the lock, the document as read, and what the
// change did to it.  Held by a single write or by a CRegistry::Batch.
struct host::detail::RegistryUpdate {
    bool ok = false;  // locked and read: the document may be changed
    std::string path;
    host::StoreWriteLock lock;
    FileState state = FileState::kMissing;
    std::string old;
    mode_t mode = 0600;
    picojson::object root;
    bool keep_aside = false;
};

namespace {

// Far beyond any settings file; a bigger file is not ours and is treated as
// unreadable JSON rather than pulled into memory on every read.
constexpr size_t kMaxStoreBytes = size_t{16} << 20;

// Names beside the store "registry.json":
//   registry.json.lock                 the writers' lock (never removed)
//   registry.json.tmp-XXXXXX           a replacement being written
//   registry.json.corrupt-STAMP[-N]    a bad store kept aside
const char kCorruptInfix[] = ".corrupt-";

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Reads the whole store.  `mode` receives the file's permission bits.  A
// device or pipe is no store: it is never read (nor kept aside by copying).
FileState ReadWhole(const std::string& path, std::string* bytes, mode_t* mode,
                    std::string* problem = nullptr) {
    return host::ReadWholeFile(path, kMaxStoreBytes, bytes, mode, problem);
}

bool IsJsonSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The store's document.  False when the bytes are not a JSON object; an
// empty (or blank) file is an empty store.  A UTF-8 byte-order mark, which
// editors on Windows like to add, is skipped.
bool Parse(const std::string& bytes, picojson::object* root) {
    root->clear();
    auto first = bytes.begin();
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) first += 3;
    auto content = first;
    while (content != bytes.end() && IsJsonSpace(*content)) ++content;
    if (content == bytes.end()) return true;
    picojson::value value;
    std::string error;
    auto rest = picojson::parse(value, first, bytes.end(), &error);
    if (!error.empty()) return false;
    for (; rest != bytes.end(); ++rest) {
        if (!IsJsonSpace(*rest)) return false;
    }
    if (!value.is<picojson::object>()) return false;
    *root = std::move(value.get<picojson::object>());
    return true;
}

const picojson::value* Lookup(const picojson::object& root, const CString& key,
                              const CString& name) {
    const auto k = root.find(key.ToUtf8());
    if (k == root.end() || !k->second.is<picojson::object>()) return nullptr;
    const picojson::object& values = k->second.get<picojson::object>();
    const auto v = values.find(name.ToUtf8());
    return v == values.end() ? nullptr : &v->second;
}

using Document = host::detail::RegistryDocument;

// State shared by the threads of this process.  Allocated once and never
// freed, so that a write from a destructor at exit still finds it.
struct Shared {
    std::mutex mutex;  // guards the cache; writers are serialised by the file lock
    // The last document parsed, with the exact bytes it came from.  Reused
    // only while the file holds the same bytes, so another process's write is
    // always seen by the next reading.
    std::string bytes;
    std::shared_ptr<const Document> document;
};

Shared& State() {
    static Shared* const shared = new Shared;
    return *shared;
}

// Reads the store now.  An empty document when there is no usable file.
std::shared_ptr<const Document> ReadStore() {
    static const auto* const empty =
        new std::shared_ptr<const Document>(std::make_shared<const Document>());
    const std::string path = CRegistry::StorePath();
    std::string bytes;
    if (path.empty() || host::ReadWholeFile(path, kMaxStoreBytes, &bytes) != FileState::kRead) {
        return *empty;
    }
    Shared& s = State();
    std::lock_guard<std::mutex> guard(s.mutex);
    if (s.document && bytes == s.bytes) return s.document;
    auto document = std::make_shared<Document>();
    Parse(bytes, &document->root);  // a bad file reads as empty; cached all the same
    s.bytes = std::move(bytes);
    s.document = std::move(document);
    return s.document;
}

// Copies `from` to a new file `to`; fails with EEXIST if `to` is there.
bool CopyExclusive(const std::string& from, const std::string& to) {
    FileDescriptor in(open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!in.ok()) return false;
    FileDescriptor out(open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!out.ok()) return false;
    char buffer[8192];
    bool ok = true;
    for (;;) {
        const ssize_t n = read(in.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            break;
        }
        if (!host::WriteAll(out.get(), buffer, static_cast<size_t>(n))) {
            ok = false;
            break;
        }
    }
    ok = fsync(out.get()) == 0 && ok;
    ok = out.Close() && ok;
    if (!ok) unlink(to.c_str());
    return ok;
}

// Keeps a store that cannot be understood under a name of its own before it
// is replaced: a hard link when the file system has them (instant, and the
// store never goes missing), else a copy.  Never overwrites an earlier one.
bool KeepAside(const std::string& path) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = path + kCorruptInfix + stamp;
    for (int n = 0; n < 10000; ++n) {
        const std::string name = n == 0 ? base : base + "-" + std::to_string(n);
        if (link(path.c_str(), name.c_str()) == 0) return true;
        if (errno == EEXIST) continue;
        if (CopyExclusive(path, name)) return true;
        if (errno != EEXIST) return false;
    }
    return false;
}

using Update = host::detail::RegistryUpdate;

// Locks the store and reads it.  False when the change cannot be made.
bool Begin(Update& u) {
    u.path = CRegistry::StorePath();
    if (u.path.empty()) return false;
    u.path = host::ResolveLink(u.path);
    if (!u.lock.Acquire(u.path)) return false;
    u.state = host::ReadWholeFile(u.path, kMaxStoreBytes, &u.old, &u.mode);
    // A store that exists but cannot be read must not be overwritten with a
    // document that lacks everything it holds.
    if (u.state == FileState::kUnreadable) return false;
    u.keep_aside =
        u.state == FileState::kOversized || (u.state == FileState::kRead && !Parse(u.old, &u.root));
    if (u.keep_aside) u.root.clear();
    u.ok = true;
    return true;
}

void Set(Update& u, const CString& key, const CString& name, picojson::value value) {
    const std::string key8 = key.ToUtf8();
    auto entry = u.root.find(key8);
    if (entry != u.root.end() && !entry->second.is<picojson::object>()) {
        // The key holds something other than values: keep the file as it
        // was before the key is rebuilt.
        u.keep_aside = true;
        entry->second = picojson::value(picojson::object());
    }
    if (entry == u.root.end()) entry = u.root.emplace(key8, picojson::object()).first;
    entry->second.get<picojson::object>()[name.ToUtf8()] = std::move(value);
}

// Writes the changed document, if it changed.  True when the store holds it.
bool Finish(Update& u) {
    if (!u.ok) return false;
    std::string text = picojson::value(u.root).serialize(true);
    text += '\n';
    if (u.state == FileState::kRead && !u.keep_aside && text == u.old) return true;  // unchanged
    if (u.keep_aside && !KeepAside(u.path)) return false;
    host::StoreReplacement replacement;
    if (!replacement.Open(u.path, u.mode) || !replacement.Write(text) || !replacement.Commit()) {
        return false;
    }
    auto document = std::make_shared<Document>();
    document->root = std::move(u.root);
    Shared& s = State();
    std::lock_guard<std::mutex> guard(s.mutex);
    s.bytes = std::move(text);
    s.document = std::move(document);
    return true;
}

// The batch and the snapshot open on this thread, if any.
thread_local Update* t_batch = nullptr;
thread_local const Document* t_snapshot = nullptr;

int WriteValue(const CString& key, const CString& name, picojson::value value) {
    try {
        if (t_batch) {
            if (!t_batch->ok) return 0;
            Set(*t_batch, key, name, std::move(value));
            return 1;
        }
        Update u;
        if (!Begin(u)) return 0;
        Set(u, key, name, std::move(value));
        return Finish(u) ? 1 : 0;
    } catch (...) {
        return 0;  // out of memory, or a file-system error thrown by the library
    }
}

// The value a read finds: in this thread's open batch, else in its
// snapshot, else in the store as it is now.
bool Find(const CString& key, const CString& name, picojson::value* found) {
    const picojson::value* v = nullptr;
    std::shared_ptr<const Document> now;
    if (t_batch && t_batch->ok) {
        v = Lookup(t_batch->root, key, name);
    } else if (t_snapshot) {
        v = Lookup(t_snapshot->root, key, name);
    } else {
        now = ReadStore();
        v = Lookup(now->root, key, name);
    }
    if (v) *found = *v;
    return v != nullptr;
}

}  // namespace

std::string CRegistry::StorePath() {
    std::string path = Env("VEXCLK_REGISTRY");
    if (!path.empty()) return path;
    const std::string config = host::XdgFolder("XDG_CONFIG_HOME", ".config");
    return config.empty() ? config : config + "/vexclk/registry.json";
}

int CRegistry::Read(const CString& key, const CString& name, int def, int* result, int kind) {
    (void)kind;  // flags and integers are stored alike
    if (!result) return 0;
    try {
        picojson::value v;
        if (Find(key, name, &v) && v.is<double>()) {
            const double d = v.get<double>();
            if (std::isfinite(d) && d == std::trunc(d) && d >= INT_MIN && d <= INT_MAX) {
                *result = static_cast<int>(d);
                return 1;
            }
        }
    } catch (...) {
    }
    *result = def;
    return 0;
}

int CRegistry::Read(const CString& key, const CString& name, const CString& def, CString& result) {
    try {
        picojson::value v;
        if (Find(key, name, &v) && v.is<std::string>()) {
            result = CString::FromUtf8(v.get<std::string>());
            return 1;
        }
    } catch (...) {
    }
    if (&result != &def) result = def;
    return 0;
}

int CRegistry::Write(const CString& key, const CString& name, int value, int kind) {
    (void)kind;
    return WriteValue(key, name, picojson::value(static_cast<double>(value)));
}

int CRegistry::Write(const CString& key, const CString& name, const CString& value) {
    return WriteValue(key, name, picojson::value(value.ToUtf8()));
}

CRegistry::Batch::Batch() {
    if (t_batch) return;  // nested: the outer batch carries the writes
    try {
        m_update = new Update;
        Begin(*m_update);
        t_batch = m_update;
    } catch (...) {
        delete m_update;
        m_update = nullptr;
        m_failed = true;
    }
}

CRegistry::Batch::~Batch() {
    Commit();
}

void CRegistry::Batch::Abandon() {
    if (!m_update) return;
    if (t_batch == m_update) t_batch = nullptr;
    delete m_update;  // releases the lock; the file stays as it was
    m_update = nullptr;
    m_failed = true;
}

int CRegistry::Transaction(const std::function<void()>& change) {
    Batch batch;
    try {
        change();
    } catch (...) {
        batch.Abandon();  // half a change is never written
        return 0;
    }
    return batch.Commit();
}

int CRegistry::Batch::Commit() {
    if (!m_update) {
        if (m_failed) return 0;
        return !t_batch || t_batch->ok ? 1 : 0;
    }
    if (t_batch == m_update) t_batch = nullptr;
    bool ok = false;
    try {
        ok = Finish(*m_update);
    } catch (...) {
    }
    delete m_update;  // releases the lock
    m_update = nullptr;
    m_failed = !ok;
    return ok ? 1 : 0;
}

CRegistry::Snapshot::Snapshot() {
    // Nested: the outer snapshot serves; in a batch, its locked reading does.
    if (t_snapshot || (t_batch && t_batch->ok)) return;
    try {
        m_document = ReadStore();
        t_snapshot = m_document.get();
    } catch (...) {
        m_document.reset();  // reads go to the file one by one
    }
}

CRegistry::Snapshot::~Snapshot() {
    if (m_document && t_snapshot == m_document.get()) t_snapshot = nullptr;
}

int CRegistry::CheckStore(std::string* problem) {
    std::string ignored;
    std::string& why = problem ? *problem : ignored;
    why.clear();
    const std::string path = CRegistry::StorePath();
    if (path.empty()) return 1;  // nowhere to look: an empty store
    try {
        std::string bytes;
        picojson::object root;
        switch (ReadWhole(path, &bytes, nullptr, &why)) {
            case FileState::kMissing:
                why.clear();
                return 1;
            case FileState::kRead:
                if (Parse(bytes, &root)) return 1;
                why = "not a JSON object";
                return 0;
            default:
                return 0;
        }
    } catch (...) {
        why = "out of memory";
        return 0;
    }
}

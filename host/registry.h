// The host's per-user settings store ("the registry"): named keys, each
// holding named integer and string values.
//
// Everything lives in one UTF-8 JSON file per user:
//   $VEXCLK_REGISTRY when that is set and not empty, else
//   ${XDG_CONFIG_HOME:-$HOME/.config}/vexclk/registry.json.
// The top level is an object with one member per key ("ClickData",
// "Default", "Dialog\\CdEdit", ...); each key is an object with one member per
// value name.  Integers (flags and integers alike) are JSON numbers, strings
// are JSON strings.  Keys and value names match exactly, case included.
//
// Several processes may use the store at once (the palette, its settings
// dialog, the command line):
// - A write takes an advisory lock (flock on "<store>.lock" beside the file),
//   re-reads the file, changes its one value and replaces the file with a
//   fully written, fsynced temporary file by rename.  Two processes writing
//   different values therefore keep both, and the file is never torn.
// - A change decided from what is stored (a record loaded, edited and saved)
//   is one Transaction: read and written under the lock, so that nothing
//   another process saves in between is written over.
// - A read takes no lock: the rename makes every replacement atomic.  Reads
//   always look at the file (nothing is assumed about other processes); the
//   parsed document is reused only while the file's bytes are unchanged.
// - A store that is not valid JSON, or whose top level is not an object,
//   reads as empty.  The next write first keeps the bad file beside the store
//   as "<store>.corrupt-YYYYMMDD-HHMMSS[-N]" (never overwriting an earlier
//   one), so hand-edited settings are never lost.
// - A write that cannot be completed (no home, unwritable folder, full disk)
//   returns 0 and leaves the old file as it was.
//
// No operation throws; a failure reads as the caller's default.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "host/cstring.h"

class CWnd;

namespace host::detail {
struct RegistryUpdate;    // the locked store being changed
struct RegistryDocument;  // one reading of the store
}  // namespace host::detail

class CRegistry {
  public:
    // kind: 0 a flag, 1 an integer.  Both are stored as numbers; the kind
    // is accepted for the host's interface and not recorded.
    //
    // Stores the saved value in *result, or `def` when the store has none
    // (absent, or not an integral number within int range).  Returns
    // non-zero when the saved value was used, 0 when the default was.
    static int Read(const CString& key, const CString& name, int def, int* result, int kind);
    // The same for a string value; a value that is not a JSON string reads
    // as `def`.
    static int Read(const CString& key, const CString& name, const CString& def, CString& result);

    // Saves one value.  Returns non-zero when the store on disk holds it,
    // 0 when the write was lost (the old file is then unchanged).
    static int Write(const CString& key, const CString& name, int value, int kind);
    static int Write(const CString& key, const CString& name, const CString& value);

    // A window's placement, kept as the string "LEFT,TOP,RIGHT,BOTTOM,SHOWN"
    // (its window rectangle in screen pixels, and 1 when it was visible).
    // Read moves and sizes `window` to the saved rectangle, without showing
    // or hiding it, and stores the saved visibility in *shown (when not
    // null); with a non-zero `flag` a rectangle that no screen shows any
    // longer is moved onto the primary screen.  Returns 0, leaving the window as it is, when no
    // placement is saved or it cannot be read.  These two belong to the
    // window library (host/ui), which defines them.
    static int Read(const CString& key, const CString& name, CWnd* window, int* shown, int flag);
    static int Write(const CString& key, const CString& name, CWnd* window);

    // Groups the writes that this thread makes while it lives into one
    // replacement of the store, so that a record of many values is saved
    // all at once (no reader sees half of it) and flushed to disk once.
    // The store stays locked meanwhile: keep the scope short.  Writes in
    // the scope return non-zero when they are accepted; Commit (or the
    // destructor) writes the file and tells whether that worked.  Reads in
    // the scope see its writes.  A batch opened inside another on the same
    // thread adds to the outer one.
    class Batch {
      public:
        Batch();
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        int Commit();

      private:
        friend class CRegistry;
        // Drops the writes and releases the lock; the store stays as it was.
        void Abandon();

        host::detail::RegistryUpdate* m_update = nullptr;
        bool m_failed = false;
    };

    // One read-modify-write of the store: locks the store and reads it, runs
    // `change`, whose reads see the store as it is under the lock (and the
    // writes made so far), and replaces the store with its writes at once.
    // No other process can write in between, so a value that `change`
    // decides from what it read is never saved over another process's
    // newer one.  Returns non-zero when the store holds the result; 0 when
    // the store could not be locked and read or not be written (it is then
    // unchanged), or when `change` threw (nothing of it is written).
    // Inside a batch, the change becomes part of it.
    static int Transaction(const std::function<void()>& change);

    // Makes the reads of this thread, while it lives, look at one reading
    // of the store: a record loaded in the scope comes from a single
    // version of the file (never half of another process's save), and the
    // file is read once instead of once per value.  Takes no lock.  Writes
    // made in the scope (outside a batch) are not seen by its reads.
    class Snapshot {
      public:
        Snapshot();
        ~Snapshot();
        Snapshot(const Snapshot&) = delete;
        Snapshot& operator=(const Snapshot&) = delete;

      private:
        std::shared_ptr<const host::detail::RegistryDocument> m_document;
    };

    // Non-zero when the store can be read: it is missing (an empty store)
    // or a JSON object.  Otherwise 0 with the reason in *problem ("Permission
    // denied", "Is a directory", "not a JSON object", ...).  Reads, which
    // fall back to the defaults, never tell; a caller that shows settings to
    // a user asks here.
    static int CheckStore(std::string* problem);

    // The store file this process uses (see above); empty when neither
    // VEXCLK_REGISTRY, XDG_CONFIG_HOME nor a home folder is known.
    static std::string StorePath();
};

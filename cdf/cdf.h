// CCdf: the user's comments on objects, kept in a text file ("lumvex.cdf").
//
// The store holds entries, each a key naming an object (see
// CLumClickData::StkToCdf) and the entry's item lines; one kind of item is
// the comment.  Keys are opaque and case-sensitive.  On disk:
//
//   :KEY            starts an entry (every leading ':' belongs to the mark)
//   <TAB>ITEM       an item of the entry above
//
// Lines before the first key line belong to no entry; they are kept and
// written back first, as they were.  A key that appears twice is one entry:
// its items in file order, the key written once where it first appeared.
// Item lines stay exactly as read (after their leading tabs), so items of
// other kinds survive a load and save.
//
// The comment item is "@msg" (in any letter case), a tab, and the quoted
// comment, in one of two forms:
//   @msg<TAB>"TEXT"   the form the palette has always written: a line feed
//                     is \n, a carriage return \r, a double quote \", and a
//                     backslash stands for itself.
//   @msg<TAB>e"TEXT"  the escaped form: as above, and a backslash is \\.
// A comment is written in the first form unless that would read back
// differently (a backslash typed before n, r or a quote), so that files stay
// readable by older versions wherever they read them right.  The first form
// ends at the line's closing quote: a comment ending in a backslash reads
// back with it.
#pragma once

#include "host/collections.h"
#include "host/cstring.h"
#include "host/lum_file.h"

class CCdf {
  public:
    CCdf() = default;
    explicit CCdf(const CString& path) { LoadFile(path); }
    virtual ~CCdf() = default;

    // Adds the entries of a file to the store.  1 when the file was read and
    // held at least one line; 0 when it is missing, cannot be read or
    // decoded (the reason in *error), or is empty.
    int LoadFile(const CString& path, CLumFile::Error* error = nullptr);
    // Writes the store to a new version of the file; entries without an
    // item of value (an empty comment alone) are left out.  1 on success;
    // 0 when it cannot be written, or when the file there cannot be decoded
    // (it is never overwritten then): the file on disk stays as it was.
    int SaveFile(const CString& path);

    // 1 and the comment when the entry of `key` has a readable comment item;
    // 0 and an empty comment otherwise.
    int GetComment(const CString& key, CString& comment) const;
    // Stores a comment, creating the entry when needed.  0, storing nothing,
    // for a key the file cannot carry (one holding a line break or starting
    // with ':').
    int SetComment(const CString& key, const CString& comment);

    // Keys in the order they were first read or added.
    const CStringArray& GetKeys() const { return m_keys; }

    // The comment file of this user: the registry value "Files"/"ClickData"
    // when it is set, else "lumvex.cdf" in the data folder
    // (${XDG_DATA_HOME:-$HOME/.local/share}/vexclk).  Empty without a home.
    static CString DefaultPath();

  protected:
    void AddEntry(const CString& key, const CStringArray& lines);

    CMapStringTo<CStringArray> m_entries;
    CStringArray m_keys;
    CStringArray m_preamble;  // lines before the first key line
};

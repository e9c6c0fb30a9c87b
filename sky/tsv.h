// The TSV files of data/, as tools/skydata_common.py writes them: "#"
// comment lines, one line of column names, then rows of exactly that many
// tab-separated UTF-8 fields.  Columns are bound by their names, so a column
// added to a file, or a change of their order, needs no change in a reader.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/cstring.h"

namespace sky {

// The path of the file `name` in the folder `dir` ("" for the current one).
std::string JoinPath(const std::string& dir, const char* name);

class CTsvFile {
  public:
    // A column bound by name; its position in the file's rows.
    struct Column {
        size_t index = 0;
        const char* name = "";
    };

    // Reads the whole file and its column line.  False with a one-line
    // reason ("PATH: ...") in *error for a missing, unreadable or empty file.
    bool Open(const std::string& path, std::string* error);

    // The column called `name`.  A name the file lacks is remembered and
    // reported by ColumnsFound().
    Column Bind(const char* name);
    bool ColumnsFound(std::string* error) const;

    // An upper bound of the number of rows, for reserving storage.
    size_t RowsAtMost() const { return m_rowsAtMost; }

    // Moves to the next row; false at the end of the file or, with *error
    // set, for a row with the wrong number of fields.
    bool Next(std::string* error);
    int Line() const { return m_line; }

    // Field readers of the current row: each gives false with the reason,
    // the line and the column name in *error.
    bool Text(const Column& c, CString* out, std::string* error) const;
    bool List(const Column& c, std::vector<CString>* out, std::string* error) const;  // '|' between
    bool Double(const Column& c, double* out, std::string* error) const;              // finite
    bool Optional(const Column& c, std::optional<double>* out, std::string* error) const;
    // A non-negative integer; an empty field reads as 0 ("none").
    bool Number(const Column& c, int* out, std::string* error) const;
    // A J2000 place in degrees: RA in [0, 360), Dec in [-90, 90].
    bool Position(const Column& ra, const Column& dec, double* raDeg, double* decDeg,
                  std::string* error) const;

    // A reason tied to the current line and a column.
    bool Fail(const Column& c, const std::string& what, std::string* error) const;

  private:
    bool NextLine(std::string_view* line);
    std::string Where() const;

    std::string m_path;
    std::string m_text;
    std::vector<std::string> m_names;  // the column line
    std::vector<std::string> m_missing;
    std::vector<std::string_view> m_fields;  // of the current row
    size_t m_pos = 0;
    size_t m_rowsAtMost = 0;
    int m_line = 0;
};

}  // namespace sky

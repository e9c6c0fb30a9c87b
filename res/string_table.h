// The module's string table: resource id -> UTF-16 text.
#pragma once

#include "host/cstring.h"
#include "res/resource.h"

// The text of string-table entry `id`; empty for an id the table lacks, as
// the host's LoadString leaves its string empty when the entry is missing.
CString LoadResString(int id);

// The comment file reader: any bytes on disk as the comment file, then one
// comment stored, saved and read back.  The input is FILE, a NUL byte, and
// the comment as UTF-8 (without a NUL: the whole input is the file).
// Every comment must read back as typed, whatever the file held before.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cdf/cdf.h"
#include "fuzz_folder.h"

namespace {

const std::string& Folder() {
    static const std::string folder = FuzzFolder("cdf");
    return folder;
}

void WriteFile(const std::string& path, std::string_view bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) std::abort();
    std::fclose(f);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string_view bytes = input.substr(0, split);
    const CString path = CString::FromUtf8(Folder() + "/lumvex.cdf");
    WriteFile(Folder() + "/lumvex.cdf", bytes);

    CString text;
    CLumFile::Decode(std::string(bytes), &text);
    CCdf cdf;
    CLumFile::Error error = CLumFile::Error::kNone;
    cdf.LoadFile(path, &error);
    CString comment;
    for (const CString& key : cdf.GetKeys()) cdf.GetComment(key, comment);
    if (split == std::string_view::npos) return 0;

    const CString typed = CString::FromUtf8(input.substr(split + 1));
    const CString key = cdf.GetKeys().IsEmpty() ? CString(u"STAR αOri") : cdf.GetKeys()[0];
    if (!cdf.SetComment(key, typed) || !cdf.SaveFile(path)) return 0;  // undecodable: kept
    CCdf again(path);
    CString back;
    again.GetComment(key, back);
    if (back != typed && !(typed.IsEmpty() && back.IsEmpty())) std::abort();
    return 0;
}

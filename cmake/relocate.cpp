// vexclk-relocate SHARE_DIR FILE...
//
// Run by `cmake --install` on each installed library and program: fills the
// install slot (host/install_dir.h) of FILE with SHARE_DIR, the share folder
// of the prefix being installed, so the installed engine finds its
// catalogues wherever the prefix lies.  A slot is the marker followed by
// NULs to the slot's size, or (a copy installed before) SHARE_DIR followed
// by NULs; any other occurrence of the marker is left alone.  The file is
// rewritten whole through a temporary file in its folder, keeping its size
// and permissions.  Exit status: 0 when every FILE had a slot, 1 when one
// had none or could not be rewritten, 2 for a bad SHARE_DIR.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#include "host/install_dir.h"

namespace fs = std::filesystem;

namespace {

// `text` followed by NULs up to the slot's size.
std::string Slot(std::string_view text) {
    std::string slot(text);
    slot.resize(host::kInstallSlotSize, '\0');
    return slot;
}

// Replaces every whole slot holding one of `olds` by `fresh`; the count.
int FillSlots(std::string& bytes, const std::string& fresh, const std::string (&olds)[2]) {
    int filled = 0;
    for (const std::string& old : olds) {
        for (size_t at = bytes.find(old); at != std::string::npos; at = bytes.find(old, at + 1)) {
            bytes.replace(at, old.size(), fresh);
            ++filled;
        }
    }
    return filled;
}

bool Relocate(const fs::path& file, const std::string& share_dir) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        std::fprintf(stderr, "vexclk-relocate: cannot read '%s'\n", file.c_str());
        return false;
    }
    const std::string olds[2] = {Slot(VEXCLK_INSTALL_SLOT_MARKER), Slot(share_dir)};
    if (FillSlots(bytes, Slot(share_dir), olds) == 0) {
        std::fprintf(stderr, "vexclk-relocate: no install slot in '%s'\n", file.c_str());
        return false;
    }
    const fs::path temporary = file.string() + ".relocate";
    std::error_code ec;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) ec = std::make_error_code(std::errc::io_error);
    }
    if (!ec) fs::permissions(temporary, fs::status(file).permissions(), ec);
    if (!ec) fs::rename(temporary, file, ec);
    if (ec) {
        fs::remove(temporary);
        std::fprintf(stderr, "vexclk-relocate: cannot rewrite '%s': %s\n", file.c_str(),
                     ec.message().c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: vexclk-relocate SHARE_DIR FILE...\n");
        return 2;
    }
    const std::string share_dir = argv[1];
    if (share_dir.empty() || share_dir[0] != '/' || share_dir.size() >= host::kInstallSlotSize ||
        share_dir.find('\0') != std::string::npos) {
        std::fprintf(stderr,
                     "vexclk-relocate: SHARE_DIR must be an absolute path of under %zu bytes\n",
                     host::kInstallSlotSize);
        return 2;
    }
    int status = 0;
    for (int i = 2; i < argc; ++i) {
        if (!Relocate(argv[i], share_dir)) status = 1;
    }
    return status;
}

// The reply parser: a reply or identifier taken apart into parameters, and
// every typed reader, on any bytes the engine might answer.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/stkstr.h"

namespace {

const tagNAMETABLE kTable[] = {{u"Star", 1}, {u"Solar", 2}, {u"DeepSky", 3}, {nullptr, 0}};

// Every reader of one value; the results only have to exist.
void ReadAll(const CStkStr& value) {
    int found = 0;
    value.atoi(7);
    value.atof(7.0);
    value.IsNum();
    value.IsBool();
    value.Same(u"TRUE");
    value.IsInclude(u"b.c.");
    value.Channel();
    value.LineStyle();
    value.DPS();
    value.Year(7);
    value.TableSearch(kTable, &found);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    CStkString reply(CString::FromUtf8(bytes));
    ReadAll(reply);
    for (int i = -1; i <= CLumProperty::kMaxParam; ++i) {
        ReadAll(reply.GetParamP(i));
        reply.GetAtP(i, 0);
        reply.GetAtP(i, reply.GetParamP(i).GetText().GetLength());
        reply.MidP(i, 1);
        reply.IsEmptyP(i);
    }
    reply.ShiftP(static_cast<int>(size % 23) - 11);  // both directions and beyond the ten
    reply.TableValueSearchP(1, kTable, 2);
    ReadAll(reply.GetParamP(1));
    return 0;
}

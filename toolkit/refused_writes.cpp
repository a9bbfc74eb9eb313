#include "toolkit/refused_writes.h"

#include <utility>

namespace toolkit {

namespace {

WriteRefusal& Current() {
    static WriteRefusal refusal;
    return refusal;
}

}  // namespace

WriteRefusal SetWriteRefusal(WriteRefusal refusal) {
    return std::exchange(Current(), std::move(refusal));
}

bool WriteRefused(const std::wstring& folder) { return Current() && Current()(folder); }

}  // namespace toolkit

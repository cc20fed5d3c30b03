// A host callback for effects made directly in a test: it answers the version query and
// records every other call, so that tests can see what the effect told the host, in order.
#pragma once

#include <vector>

#include "host/vst2.h"

namespace orv::test {

struct HostCall {
    vst::i32 opcode;
    vst::i32 index;
    vst::iptr value;
    float opt;
};

inline std::vector<HostCall>& hostCalls()
{
    static std::vector<HostCall> calls;
    return calls;
}

inline vst::iptr recordingHost(vst::AEffect*, vst::i32 opcode, vst::i32 index, vst::iptr value, void*, float opt)
{
    if (opcode == vst::audioMasterVersion) return vst::kVstVersion;
    hostCalls().push_back({opcode, index, value, opt});
    return 0;
}

// The recorded calls with this opcode.
inline std::vector<HostCall> callsWith(vst::i32 opcode)
{
    std::vector<HostCall> out;
    for (const HostCall& c : hostCalls())
        if (c.opcode == opcode) out.push_back(c);
    return out;
}

}  // namespace orv::test

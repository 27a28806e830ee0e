#pragma once
// The program stream layer in its plainest form: every packet is read whole with
// read_pes_packet and the payload of the stream's packets is copied out of it. The layer,
// which looks at packets in place where it can, must behave exactly like it.

#include <memory>
#include <string>

#include "base/settings.h"
#include "base/stream_ops.h"
#include "input/pes_payload.h"

namespace quarnel::test {

std::unique_ptr<StreamOps> reference_ps_layer_open(const std::string& path, StreamKind wanted,
                                                   const SettingsStore& settings);

}  // namespace quarnel::test

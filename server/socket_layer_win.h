#pragma once
// The platform's socket layer, version 1.1, started when the component loads and stopped
// when it unloads.

namespace quorlex {

// 0, or the socket layer's error number.
int startSocketLayer();
void stopSocketLayer();

}  // namespace quorlex

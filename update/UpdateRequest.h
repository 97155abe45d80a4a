#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>
#include <functional>

namespace update_check
{
// Bounds of one request: nothing the server does keeps it going beyond them.
struct RequestLimits
{
    // For the connection, and for a stall: a transfer slower than about 100 bytes a second for this
    // long ends (rounded up to whole seconds by the network layer).
    int connectionTimeoutMs = 5000;
    // The whole exchange, against a server that trickles just fast enough.
    int totalTimeMs = 15000;
    // The body is read up to one byte beyond this and no further.
    std::size_t maximumBodyBytes = 64 * 1024;
};

// Fetches the body of a GET request as text: empty when the request fails (no connection, a status
// other than 2xx, a time limit passed) or when shouldStop returns true, which is asked between the
// chunks of the body. A body longer than the limit comes back as its first limit + 1 bytes, so that
// the caller can tell it apart and refuse it.
juce::String fetchResponseBody(const juce::URL& url, const RequestLimits& limits,
                               const std::function<bool()>& shouldStop);

// Bytes from a server as text: UTF-8 when they are valid UTF-8 without NUL characters, otherwise
// byte by byte (NUL as U+FFFD). Either way the text takes at least as many bytes in UTF-8 as were
// received, so a size limit on the text also holds for the bytes.
juce::String decodeResponseBody(const void* data, std::size_t size);
} // namespace update_check

#include "update/UpdateRequest.h"

#include <cstring>
#include <limits>
#include <vector>

namespace update_check
{
namespace
{
// Small, so that a stop request is noticed soon even when the body arrives slowly.
constexpr int chunkBytes = 256;
constexpr int maximumRedirects = 3;
} // namespace

juce::String decodeResponseBody(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    if (size == 0)
        return {};
    if (size <= static_cast<std::size_t>(std::numeric_limits<int>::max()) &&
        std::memchr(bytes, 0, size) == nullptr &&
        juce::CharPointer_UTF8::isValidString(bytes, static_cast<int>(size)))
        return juce::String(juce::CharPointer_UTF8(bytes), juce::CharPointer_UTF8(bytes + size));

    juce::String text;
    text.preallocateBytes(size * 2);
    for (std::size_t i = 0; i < size; ++i)
    {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text += juce::String::charToString(byte == 0 ? juce::juce_wchar(0xfffd) : juce::juce_wchar(byte));
    }
    return text;
}

juce::String fetchResponseBody(const juce::URL& url, const RequestLimits& limits,
                               const std::function<bool()>& shouldStop)
{
    const auto deadline = juce::Time::getMillisecondCounterHiRes() + limits.totalTimeMs;
    int status = 0;
    const auto stream =
        url.createInputStream(juce::URL::InputStreamOptions(juce::URL::ParameterHandling::inAddress)
                                  .withConnectionTimeoutMs(limits.connectionTimeoutMs)
                                  .withNumRedirectsToFollow(maximumRedirects)
                                  .withStatusCode(&status));
    if (stream == nullptr || status < 200 || status > 299)
        return {};

    const auto cap = limits.maximumBodyBytes;
    std::vector<char> body;
    char chunk[chunkBytes];
    while (body.size() <= cap)
    {
        if (shouldStop() || juce::Time::getMillisecondCounterHiRes() > deadline)
            return {};
        const auto wanted = static_cast<int>(std::min<std::size_t>(chunkBytes, cap + 1 - body.size()));
        const auto got = stream->read(chunk, wanted);
        if (got <= 0)
            break;
        body.insert(body.end(), chunk, chunk + got);
    }
    // A transfer that broke off (reset, stalled) is a failed request, not a short answer.
    const auto* web = dynamic_cast<juce::WebInputStream*>(stream.get());
    if (shouldStop() || (web != nullptr && web->isError()))
        return {};
    return decodeResponseBody(body.data(), body.size());
}
} // namespace update_check

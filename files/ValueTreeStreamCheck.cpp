#include "files/ValueTreeStreamCheck.h"

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string_view>

namespace
{
// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF). The framework keeps text
// as UTF-8 and writes it back by its own count of bytes, so a malformed string would make the next
// saved state unreadable.
bool isValidUtf8(const std::uint8_t* text, std::size_t size)
{
    std::size_t i = 0;
    while (i < size)
    {
        const auto lead = text[i];
        if (lead < 0x80)
        {
            ++i;
            continue;
        }

        // The lead byte tells how many continuation bytes follow.
        std::size_t extra = 0;
        if ((lead & 0xe0) == 0xc0)
            extra = 1;
        else if ((lead & 0xf0) == 0xe0)
            extra = 2;
        else if ((lead & 0xf8) == 0xf0)
            extra = 3;
        else
            return false;
        auto codePoint = (std::uint32_t)(lead & (0x7f >> (extra + 1)));

        if (extra >= size - i)
            return false;
        for (std::size_t k = 1; k <= extra; ++k)
        {
            const auto next = text[i + k];
            if ((next & 0xc0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3fu);
        }

        static constexpr std::uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (codePoint < smallest[extra] || codePoint > 0x10ffff ||
            (codePoint >= 0xd800 && codePoint <= 0xdfff))
            return false;
        i += extra + 1;
    }
    return true;
}

// Walks the stream exactly as ValueTree::readFromStream and var::readFromStream consume it,
// including their end-of-stream behaviour (a read past the end yields zero bytes).
class StreamWalker
{
public:
    StreamWalker(const void* data, std::size_t size)
        : bytes(static_cast<const std::uint8_t*>(data))
        , size(data == nullptr ? 0 : size)
    {
    }

    // Returns false when the stream is unsafe to parse. An empty type ends the tree, as it makes
    // the framework return an invalid tree.
    bool walkTree(int depth, bool& valid)
    {
        valid = false;
        if (depth > ValueTreeStreamCheck::maximumDepth)
            return false;

        bool typeIsEmpty = true;
        if (!walkString(typeIsEmpty))
            return false;
        if (typeIsEmpty)
            return true; // empty type: invalid tree, the parser stops here
        valid = true;

        int numProperties = 0;
        if (!readCompressedInt(numProperties))
            return false;
        if (numProperties < 0)
            return true; // the parser returns the tree as it is
        if ((std::size_t) numProperties > remaining())
            return false;

        // The framework never writes a name twice; reading one twice makes it compare the two
        // values, and two empty binary blocks reach memcmp with null pointers.
        std::set<std::string_view> names;
        for (int i = 0; i < numProperties; ++i)
        {
            const auto nameStart = position;
            bool nameIsEmpty = true;
            if (!walkString(nameIsEmpty))
                return false;
            if (nameIsEmpty)
                continue;
            const std::string_view name(reinterpret_cast<const char*>(bytes + nameStart),
                                        position - nameStart);
            if (!names.insert(name).second || !walkVar(depth + 1))
                return false;
        }

        int numChildren = 0;
        if (!readCompressedInt(numChildren))
            return false;
        if (numChildren > 0 && (std::size_t) numChildren > remaining())
            return false;

        for (int i = 0; i < numChildren; ++i)
        {
            bool childValid = false;
            if (!walkTree(depth + 1, childValid))
                return false;
            if (!childValid)
                break;
        }
        return true;
    }

private:
    enum Marker
    {
        markerInt = 1,
        markerBoolTrue = 2,
        markerBoolFalse = 3,
        markerDouble = 4,
        markerString = 5,
        markerInt64 = 6,
        markerArray = 7,
        markerBinary = 8,
    };

    std::size_t remaining() const { return size - position; }

    std::uint8_t readByte() { return position < size ? bytes[position++] : 0; }

    // Eight little-endian bytes at the current position, as the framework reads a double.
    double readDouble() const
    {
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < 8; ++i)
            bits |= (std::uint64_t) bytes[position + i] << (8 * i);
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }

    void skip(std::size_t n) { position += std::min(n, remaining()); }

    // A zero-terminated name (the end of the stream terminates it too); false when it is not UTF-8.
    bool walkString(bool& isEmpty)
    {
        const auto start = position;
        while (position < size && bytes[position] != 0)
            ++position;
        const auto length = position - start;
        skip(1); // the terminator
        isEmpty = length == 0;
        return isValidUtf8(bytes + start, length);
    }

    bool readCompressedInt(int& value)
    {
        value = 0;
        const auto sizeByte = readByte();
        const auto numBytes = (std::size_t)(sizeByte & 0x7f);
        if (sizeByte == 0 || numBytes > 4)
            return true;
        if (numBytes > remaining())
        {
            skip(numBytes);
            return true;
        }

        std::uint32_t magnitude = 0;
        for (std::size_t i = 0; i < numBytes; ++i)
            magnitude |= (std::uint32_t) bytes[position + i] << (8 * i);
        position += numBytes;

        const auto negative = (sizeByte & 0x80) != 0;
        if (magnitude > (std::uint32_t) INT_MAX)
        {
            // The framework casts to int and negates: INT_MIN negated overflows.
            if (negative && magnitude == 0x80000000u)
                return false;
            value = negative ? (int) -(std::int64_t)(std::int32_t) magnitude : (int) (std::int32_t) magnitude;
            return true;
        }
        value = negative ? -(int) magnitude : (int) magnitude;
        return true;
    }

    bool walkVar(int depth)
    {
        if (depth > ValueTreeStreamCheck::maximumDepth)
            return false;

        int numBytes = 0;
        if (!readCompressedInt(numBytes))
            return false;
        if (numBytes <= 0)
            return true;

        const auto payload = (std::size_t) numBytes - 1;
        switch (readByte())
        {
            case markerInt:
                skip(4);
                return true;
            case markerInt64:
                skip(8);
                return true;
            case markerDouble:
                // The framework turns a NaN into text with a cast to int (undefined behaviour) as
                // soon as anything reads the property as a string; no state or preset of ours holds
                // a number that is not finite.
                if (remaining() >= 8 && !std::isfinite(readDouble()))
                    return false;
                skip(8);
                return true;
            case markerBoolTrue:
            case markerBoolFalse:
                return true;
            case markerString:
                if (payload > remaining() || !isValidUtf8(bytes + position, payload))
                    return false;
                skip(payload);
                return true;
            case markerBinary:
                // The framework allocates the declared size before it reads.
                if (payload > remaining())
                    return false;
                skip(payload);
                return true;
            case markerArray:
            {
                int count = 0;
                if (!readCompressedInt(count))
                    return false;
                if (count > 0 && (std::size_t) count > remaining())
                    return false;
                for (int i = 0; i < count; ++i)
                    if (!walkVar(depth + 1))
                        return false;
                return true;
            }
            default:
                skip(payload);
                return true;
        }
    }

    const std::uint8_t* bytes;
    std::size_t size;
    std::size_t position = 0;
};
} // namespace

namespace ValueTreeStreamCheck
{
bool isSafeToParse(const void* data, std::size_t size)
{
    StreamWalker walker(data, size);
    bool valid = false;
    return walker.walkTree(0, valid);
}
} // namespace ValueTreeStreamCheck

juce::ValueTree readValueTreeSafely(const void* data, std::size_t size)
{
    if (data == nullptr || size == 0 || !ValueTreeStreamCheck::isSafeToParse(data, size))
        return {};
    return juce::ValueTree::readFromData(data, size);
}

#include "files/PresetFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace
{
const juce::Identifier presetType{"Preset"};
const juce::Identifier formatVersionProperty{"formatVersion"};
const juce::Identifier metadataType{"metadata"};
const juce::Identifier transferFunctionType{"transferFunction"};
const juce::Identifier baseLayerType{"baseLayer"};
const juce::Identifier tableSizeProperty{"tableSize"};
const juce::Identifier compressionProperty{"compression"};
const juce::Identifier floatDataProperty{"dataF32"};
const juce::Identifier doubleDataProperty{"data"};

// The version as an integer, the way the framework converts it, minus the undefined cases: a
// double or a decimal text beyond the int range saturates instead of overflowing.
int integerValueOf(const juce::var& value)
{
    constexpr auto lowest = (double) std::numeric_limits<int>::min();
    constexpr auto highest = (double) std::numeric_limits<int>::max();

    if (value.isInt() || value.isBool())
        return (int) value;
    if (value.isInt64() || value.isDouble())
    {
        const auto number = value.isInt64() ? (double) (juce::int64) value : (double) value;
        return std::isnan(number) ? 0 : (int) juce::jlimit(lowest, highest, number);
    }
    if (value.isString())
    {
        auto text = value.toString().trimStart();
        const auto negative = text.startsWithChar('-');
        double number = 0.0;
        for (auto c : (negative ? text.substring(1) : text))
        {
            if (c < '0' || c > '9')
                break;
            number = std::min(number * 10.0 + (c - '0'), highest + 1.0);
        }
        return (int) juce::jlimit(lowest, highest, negative ? -number : number);
    }
    return 0;
}

PresetReadResult fail(const juce::String& error)
{
    PresetReadResult result;
    result.error = error;
    return result;
}

struct Inflated
{
    enum class Outcome
    {
        complete,
        overLimit,
        truncatedOrDamaged
    };

    Outcome outcome = Outcome::complete;
    juce::MemoryBlock bytes;
};

std::uint32_t adler32(const juce::MemoryBlock& block)
{
    constexpr std::uint32_t modulus = 65521;
    constexpr std::size_t longestRunWithoutOverflow = 5552;
    std::uint32_t a = 1, b = 0;
    const auto* byte = static_cast<const unsigned char*>(block.getData());
    for (auto remaining = block.getSize(); remaining > 0;)
    {
        auto run = std::min(remaining, longestRunWithoutOverflow);
        remaining -= run;
        for (; run > 0; --run)
        {
            a += *byte++;
            b += a;
        }
        a %= modulus;
        b %= modulus;
    }
    return (b << 16) | a;
}

// Inflates until the stream ends, fails or yields nothing. The framework's decompressor stops at
// the end of its input without telling a complete stream from a cut one, so the result is checked
// against the stream's closing Adler-32 checksum: a preset cut short (a copy that stopped, a disk
// that filled) would otherwise load as part of a curve stretched over the whole table.
Inflated inflateZlib(const juce::MemoryBlock& compressed)
{
    juce::MemoryInputStream source(compressed, false);
    juce::GZIPDecompressorInputStream zlib(source);
    juce::MemoryOutputStream destination;
    char chunk[8192];

    while (!zlib.isExhausted())
    {
        const auto numRead = zlib.read(chunk, (int) sizeof(chunk));
        if (numRead <= 0)
            break;
        if (destination.getDataSize() + (std::size_t) numRead > PresetFormat::maximumInflatedBytes)
            return {Inflated::Outcome::overLimit, {}};
        destination.write(chunk, (std::size_t) numRead);
    }

    auto bytes = destination.getMemoryBlock();
    // Nothing inflated at all is left to the empty-payload check.
    if (bytes.getSize() > 0)
    {
        const auto size = compressed.getSize();
        const auto* end = static_cast<const unsigned char*>(compressed.getData()) + size;
        const auto stored = size < 4 ? ~adler32(bytes)
                                     : (std::uint32_t) end[-4] << 24 | (std::uint32_t) end[-3] << 16 |
                                           (std::uint32_t) end[-2] << 8 | (std::uint32_t) end[-1];
        if (stored != adler32(bytes))
            return {Inflated::Outcome::truncatedOrDamaged, {}};
    }
    return {Inflated::Outcome::complete, std::move(bytes)};
}

std::vector<double> decodeLittleEndian(const juce::MemoryBlock& payload, bool singlePrecision)
{
    const auto width = singlePrecision ? sizeof(float) : sizeof(double);
    const auto count = payload.getSize() / width;
    const auto* bytes = static_cast<const char*>(payload.getData());
    std::vector<double> values(count);

    for (std::size_t i = 0; i < count; ++i)
    {
        const auto* at = bytes + i * width;
        if (singlePrecision)
        {
            const auto bits = juce::ByteOrder::littleEndianInt(at);
            float value;
            std::memcpy(&value, &bits, sizeof(value));
            values[i] = value;
        }
        else
        {
            const auto bits = juce::ByteOrder::littleEndianInt64(at);
            double value;
            std::memcpy(&value, &bits, sizeof(value));
            values[i] = value;
        }
    }
    return values;
}

// Linear interpolation of any number of values (at least one) onto tableSize entries.
std::vector<double> stretchToTable(const std::vector<double>& values)
{
    const auto count = values.size();
    const auto last = count - 1;
    std::vector<double> out((std::size_t) PresetFormat::tableSize);

    for (int i = 0; i < PresetFormat::tableSize; ++i)
    {
        const auto a = (double) last / (double) (PresetFormat::tableSize - 1) * i;
        const auto k = std::min((std::size_t) std::floor(a), last);
        const auto t = a - (double) k;
        out[(std::size_t) i] = (1.0 - t) * values[k] + t * values[std::min(k + 1, last)];
    }
    return out;
}
} // namespace

PresetWriteResult writePreset(const std::vector<double>& values, const juce::String& artist)
{
    PresetWriteResult result;
    if (values.size() != (std::size_t) PresetFormat::tableSize)
    {
        result.error = "Base layer size mismatch: expected " + juce::String(PresetFormat::tableSize) +
                       ", got " + juce::String((juce::int64) values.size());
        return result;
    }

    juce::ValueTree root(presetType);
    root.setProperty(formatVersionProperty, PresetFormat::writtenVersion, nullptr);

    juce::ValueTree metadata(metadataType);
    metadata.setProperty("name", juce::String(), nullptr);
    metadata.setProperty("artist", artist, nullptr);
    metadata.setProperty("tags", juce::String(), nullptr);
    metadata.setProperty("description", juce::String(), nullptr);
    root.appendChild(metadata, nullptr);

    juce::ValueTree transferFunction(transferFunctionType);
    transferFunction.setProperty(tableSizeProperty, PresetFormat::tableSize, nullptr);

    juce::MemoryOutputStream floats;
    for (const auto value : values)
        floats.writeFloat((float) value); // little-endian, rounded to nearest

    juce::MemoryBlock compressed;
    {
        juce::MemoryOutputStream compressedStream(compressed, false);
        juce::GZIPCompressorOutputStream zlib(compressedStream, 9);
        zlib.write(floats.getData(), floats.getDataSize());
        zlib.flush();
    }

    juce::ValueTree baseLayer(baseLayerType);
    baseLayer.setProperty(compressionProperty, "zlib", nullptr);
    baseLayer.setProperty(floatDataProperty, compressed, nullptr);
    transferFunction.appendChild(baseLayer, nullptr);
    root.appendChild(transferFunction, nullptr);

    juce::MemoryOutputStream file(result.bytes, false);
    root.writeToStream(file);
    file.flush();

    result.ok = true;
    return result;
}

PresetReadResult readPreset(const juce::ValueTree& tree)
{
    if (!tree.isValid())
        return fail("Invalid ValueTree");
    if (!tree.hasType(presetType))
        return fail("ValueTree is not a Preset type");

    const auto version = integerValueOf(tree.getProperty(formatVersionProperty));
    if (version < 3 || version > 5)
        return fail("Unsupported format version: " + juce::String(version) + " (expected 3, 4, or 5)");

    const auto transferFunction = tree.getChildWithName(transferFunctionType);
    if (!transferFunction.isValid())
        return fail("Missing transferFunction element");

    const auto baseLayer = transferFunction.getChildWithName(baseLayerType);
    const auto singlePrecision = baseLayer.hasProperty(floatDataProperty);
    if (!baseLayer.isValid() || !(singlePrecision || baseLayer.hasProperty(doubleDataProperty)))
        return fail("Missing or invalid baseLayer element");

    const auto compression = baseLayer.getProperty(compressionProperty, "none").toString();
    const auto* stored =
        baseLayer.getProperty(singlePrecision ? floatDataProperty : doubleDataProperty).getBinaryData();
    if (stored == nullptr)
        return fail("Failed to extract binary data from baseLayer");

    // Points at the stored block or at its inflated copy; never copy-assigned, as the framework's
    // copy assignment of an empty block hands memcpy a null pointer.
    const juce::MemoryBlock* payload = stored;
    juce::MemoryBlock inflatedBytes;
    if (compression == "zlib")
    {
        auto inflated = inflateZlib(*stored);
        if (inflated.outcome == Inflated::Outcome::overLimit)
            return fail("Decompressed base layer exceeds the limit of " +
                        juce::String((juce::int64) PresetFormat::maximumInflatedBytes) + " bytes");
        if (inflated.outcome == Inflated::Outcome::truncatedOrDamaged)
            return fail("Compressed base layer is truncated or damaged");
        inflatedBytes = std::move(inflated.bytes);
        payload = &inflatedBytes;
    }
    else if (compression != "none")
    {
        return fail("Unsupported compression type: " + compression);
    }

    auto values = decodeLittleEndian(*payload, singlePrecision);
    if (values.empty())
        return fail("Empty base layer payload");

    PresetReadResult result;
    result.ok = true;
    result.formatVersion = version;
    result.storedValueCount = values.size();
    result.values =
        values.size() == (std::size_t) PresetFormat::tableSize ? std::move(values) : stretchToTable(values);
    return result;
}

// Readers and writers of the fixed byte images in which every record is stored: packed,
// little-endian, strings with one length byte. A record lists its fields once, in a
// MapFields(io, record) template, and these visitors read, write or describe them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quorvex {

using ByteImage = std::vector<std::uint8_t>;

// Grouping calls that only describing visitors (such as a JSON dump) care about.
struct FieldGroups {
    void BeginArray(const char* /*name*/) {}
    void EndArray() {}
    void BeginObject() {}
    void EndObject() {}
};

// Reads fields out of an image. Offsets outside the image leave the field unchanged.
class ImageReader : public FieldGroups {
public:
    explicit ImageReader(std::span<const std::uint8_t> image) : image_(image) {}

    void Byte(std::size_t offset, const char* name, std::uint8_t& value);
    void Int32(std::size_t offset, const char* name, std::int32_t& value);
    void Float(std::size_t offset, const char* name, float& value);
    void Double(std::size_t offset, const char* name, double& value);
    // A length byte above maxLength is clamped to it; the text never reaches past its field.
    void String(std::size_t offset, const char* name, std::string& value, std::size_t maxLength);

private:
    bool Fits(std::size_t offset, std::size_t width) const {
        return offset <= image_.size() && width <= image_.size() - offset;
    }
    std::span<const std::uint8_t> image_;
};

// Writes fields into an image that already holds the bytes to carry (reserved ranges).
class ImageWriter : public FieldGroups {
public:
    explicit ImageWriter(std::span<std::uint8_t> image) : image_(image) {}

    void Byte(std::size_t offset, const char* name, const std::uint8_t& value);
    void Int32(std::size_t offset, const char* name, const std::int32_t& value);
    void Float(std::size_t offset, const char* name, const float& value);
    void Double(std::size_t offset, const char* name, const double& value);
    // Longer texts are cut to maxLength characters; the bytes behind the text are zeroed.
    void String(std::size_t offset, const char* name, const std::string& value,
                std::size_t maxLength);

private:
    bool Fits(std::size_t offset, std::size_t width) const {
        return offset <= image_.size() && width <= image_.size() - offset;
    }
    std::span<std::uint8_t> image_;
};

// Little-endian primitives for code that handles raw images directly.
std::uint32_t LoadU32(const std::uint8_t* p);
void StoreU32(std::uint8_t* p, std::uint32_t v);

// Repeated fields: count equal fields, stride bytes apart, under one array name.
template <class Io, class T, std::size_t N>
void StringArray(Io& io, std::size_t offset, const char* name, std::array<T, N>& values,
                 std::size_t maxLength) {
    io.BeginArray(name);
    for (std::size_t i = 0; i < N; ++i) io.String(offset + i * (maxLength + 1), name, values[i], maxLength);
    io.EndArray();
}

template <class Io, std::size_t N>
void FloatArray(Io& io, std::size_t offset, const char* name, std::array<float, N>& values) {
    io.BeginArray(name);
    for (std::size_t i = 0; i < N; ++i) io.Float(offset + 4 * i, name, values[i]);
    io.EndArray();
}

template <class Io, std::size_t N>
void Int32Array(Io& io, std::size_t offset, const char* name, std::array<std::int32_t, N>& v) {
    io.BeginArray(name);
    for (std::size_t i = 0; i < N; ++i) io.Int32(offset + 4 * i, name, v[i]);
    io.EndArray();
}

template <class Io, std::size_t N>
void DoubleArray(Io& io, std::size_t offset, const char* name, std::array<double, N>& values) {
    io.BeginArray(name);
    for (std::size_t i = 0; i < N; ++i) io.Double(offset + 8 * i, name, values[i]);
    io.EndArray();
}

// Reads a record from an image of its size, keeping nothing else.
template <class Record>
void ReadRecord(std::span<const std::uint8_t> image, Record& record) {
    ImageReader reader(image);
    MapFields(reader, record);
}

// Writes a record over a copy of carry (the image it was read from, or zeros).
template <class Record>
ByteImage WriteRecord(const Record& record, ByteImage carry) {
    ImageWriter writer(carry);
    MapFields(writer, const_cast<Record&>(record));
    return carry;
}

}  // namespace quorvex

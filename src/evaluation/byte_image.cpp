// Little-endian field access for the record images.
#include "byte_image.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "win1252.h"

namespace quorvex {

std::uint32_t LoadU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void StoreU32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

namespace {

std::uint64_t LoadU64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(LoadU32(p)) |
           static_cast<std::uint64_t>(LoadU32(p + 4)) << 32;
}

void StoreU64(std::uint8_t* p, std::uint64_t v) {
    StoreU32(p, static_cast<std::uint32_t>(v));
    StoreU32(p + 4, static_cast<std::uint32_t>(v >> 32));
}

}  // namespace

void ImageReader::Byte(std::size_t offset, const char*, std::uint8_t& value) {
    if (Fits(offset, 1)) value = image_[offset];
}

void ImageReader::Int32(std::size_t offset, const char*, std::int32_t& value) {
    if (Fits(offset, 4)) value = static_cast<std::int32_t>(LoadU32(&image_[offset]));
}

void ImageReader::Float(std::size_t offset, const char*, float& value) {
    if (Fits(offset, 4)) value = std::bit_cast<float>(LoadU32(&image_[offset]));
}

void ImageReader::Double(std::size_t offset, const char*, double& value) {
    if (Fits(offset, 8)) value = std::bit_cast<double>(LoadU64(&image_[offset]));
}

void ImageReader::String(std::size_t offset, const char*, std::string& value,
                         std::size_t maxLength) {
    if (!Fits(offset, maxLength + 1)) return;
    const std::size_t length = std::min<std::size_t>(image_[offset], maxLength);
    const auto* text = reinterpret_cast<const char*>(&image_[offset + 1]);
    value = Win1252ToUtf8(std::string_view(text, length));
}

void ImageWriter::Byte(std::size_t offset, const char*, const std::uint8_t& value) {
    if (Fits(offset, 1)) image_[offset] = value;
}

void ImageWriter::Int32(std::size_t offset, const char*, const std::int32_t& value) {
    if (Fits(offset, 4)) StoreU32(&image_[offset], static_cast<std::uint32_t>(value));
}

void ImageWriter::Float(std::size_t offset, const char*, const float& value) {
    if (Fits(offset, 4)) StoreU32(&image_[offset], std::bit_cast<std::uint32_t>(value));
}

void ImageWriter::Double(std::size_t offset, const char*, const double& value) {
    if (Fits(offset, 8)) StoreU64(&image_[offset], std::bit_cast<std::uint64_t>(value));
}

void ImageWriter::String(std::size_t offset, const char*, const std::string& value,
                         std::size_t maxLength) {
    if (!Fits(offset, maxLength + 1)) return;
    const std::string bytes = Utf8ToWin1252(Utf8Left(value, maxLength));
    const std::size_t length = std::min(bytes.size(), maxLength);
    image_[offset] = static_cast<std::uint8_t>(length);
    std::memcpy(&image_[offset + 1], bytes.data(), length);
    std::fill(image_.begin() + static_cast<std::ptrdiff_t>(offset + 1 + length),
              image_.begin() + static_cast<std::ptrdiff_t>(offset + 1 + maxLength), 0);
}

}  // namespace quorvex

// Whole-record files: a record read from an image keeps that image, so that its reserved
// bytes go back unchanged into the next save.
#pragma once

#include <filesystem>
#include <span>

#include "byte_image.h"
#include "files.h"

namespace quorvex {

// Record needs kImageSize, MapFields and a ByteImage member Carried.
template <class Record>
Record RecordFromImage(std::span<const std::uint8_t> image) {
    Record record;
    ReadRecord(image, record);
    record.Carried.assign(image.begin(), image.end());
    record.Carried.resize(Record::kImageSize, 0);
    return record;
}

template <class Record>
ByteImage RecordImage(const Record& record) {
    ByteImage carry = record.Carried;
    carry.resize(Record::kImageSize, 0);
    return WriteRecord(record, std::move(carry));
}

// Reads the record file into record; a missing file leaves it (Missing), a short one is
// refused whole with a message naming it (Refused), record unchanged in both cases.
template <class Record>
LoadResult LoadRecordFile(const std::filesystem::path& path, Record& record) {
    ByteImage image;
    LoadResult result = ReadRecordFile(ResolvePath(path), Record::kImageSize, image);
    if (result.Loaded()) record = RecordFromImage<Record>(image);
    return result;
}

template <class Record>
bool SaveRecordFile(const std::filesystem::path& path, const Record& record) {
    return WriteFileAtomic(ResolvePath(path), RecordImage(record));
}

}  // namespace quorvex

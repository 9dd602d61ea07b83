#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

namespace pelorin {

inline constexpr int kValuesPerRecord = 36;  // value indices 0..35
inline constexpr int kShownValues = 35;      // value indices 0..34 have a box, an option, a column
inline constexpr int kMaxRecords = 1000;     // records 1..1000; record 0 is never written

using TelemetryRecord = std::array<double, kValuesPerRecord>;
using TelemetryTable = std::array<TelemetryRecord, kMaxRecords + 1>;

class TelemetryStore;
struct DecodeResult;

// The one store of decoded telemetry: records 0..1000 and RecordCount. Only the decoder
// writes it; everyone else reads.
class TelemetryStore {
  public:
    TelemetryStore() = default;

    // Value `index` (0..35) of record `rec` (0..1000). Out-of-range arguments are a caller bug.
    double value(int rec, int index) const { return TelemetryTable_[rec][index]; }
    const TelemetryRecord& record(int rec) const { return TelemetryTable_[rec]; }
    const TelemetryTable& table() const { return TelemetryTable_; }
    // Number of records the last decode stored, 0..1000.
    std::int32_t RecordCount() const { return RecordCount_; }

  private:
    friend class TelemetryStoreWriter;
    TelemetryTable TelemetryTable_{};
    std::int32_t RecordCount_ = 0;
};

// The decoder's write access to a store.
class TelemetryStoreWriter {
  public:
    explicit TelemetryStoreWriter(TelemetryStore& store) : store_(store) {}
    void reset() { store_.RecordCount_ = 0; }
    // Keeps records 1..`records` (fewer when there are fewer) and writes on after them.
    void keep(std::int32_t records) {
        store_.RecordCount_ = std::min(store_.RecordCount_, records);
    }
    // Records `by` + 1 .. `by` + `count` become records 1..`count`; the records after those keep
    // their places. Out-of-range arguments are a caller bug.
    void moveUp(std::int32_t by, std::int32_t count) {
        auto& table = store_.TelemetryTable_;
        std::copy(table.begin() + 1 + by, table.begin() + 1 + by + count, table.begin() + 1);
    }
    // Counts RecordCount up and returns the record to fill; nullptr once the table is full.
    TelemetryRecord* nextRecord() {
        if (store_.RecordCount_ >= kMaxRecords) {
            return nullptr;
        }
        ++store_.RecordCount_;
        return &store_.TelemetryTable_[store_.RecordCount_];
    }

  private:
    TelemetryStore& store_;
};

}  // namespace pelorin

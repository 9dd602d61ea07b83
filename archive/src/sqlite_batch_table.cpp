#include "sqlite_batch_table.h"

#include "sqlite_schema.h"

namespace pelorin::sqlite {
namespace {

// The columns of BatchTableDeclaration, in its order.
enum Column {
    kPacked,
    kSuspect,
    kReceived,
    kStation,
    kSource,
    kLine,
    kFrameId,
    kFirstInBatch,
    kNewFrame,
    kArchived,
    kFirstValue,
};

struct BatchVtab : sqlite3_vtab {
    const Batch* batch = nullptr;
};

struct BatchCursor : sqlite3_vtab_cursor {
    std::size_t row = 0;
};

const Batch& batchOf(sqlite3_vtab_cursor* cursor) {
    return *static_cast<BatchVtab*>(cursor->pVtab)->batch;
}

void resultText(sqlite3_context* context, const std::string& text) {
    sqlite3_result_text(context, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

extern "C" int batchConnect(sqlite3* db, void* aux, int /*argc*/, const char* const* /*argv*/,
                            sqlite3_vtab** table, char** /*error*/) {
    const int code = sqlite3_declare_vtab(db, BatchTableDeclaration().c_str());
    if (code != SQLITE_OK) {
        return code;
    }
    auto* vtab = new BatchVtab();
    vtab->batch = static_cast<const Batch*>(aux);
    *table = vtab;
    return SQLITE_OK;
}

extern "C" int batchDisconnect(sqlite3_vtab* table) {
    delete static_cast<BatchVtab*>(table);
    return SQLITE_OK;
}

// Only ever read whole, in the batch's order.
extern "C" int batchBestIndex(sqlite3_vtab* table, sqlite3_index_info* info) {
    const auto rows = static_cast<double>(static_cast<BatchVtab*>(table)->batch->entries.size());
    info->estimatedCost = rows + 1;
    info->estimatedRows = static_cast<sqlite3_int64>(rows) + 1;
    return SQLITE_OK;
}

extern "C" int batchOpen(sqlite3_vtab* /*table*/, sqlite3_vtab_cursor** cursor) {
    *cursor = new BatchCursor();
    return SQLITE_OK;
}

extern "C" int batchClose(sqlite3_vtab_cursor* cursor) {
    delete static_cast<BatchCursor*>(cursor);
    return SQLITE_OK;
}

extern "C" int batchFilter(sqlite3_vtab_cursor* cursor, int /*index*/, const char* /*name*/,
                           int /*argc*/, sqlite3_value** /*argv*/) {
    static_cast<BatchCursor*>(cursor)->row = 0;
    return SQLITE_OK;
}

extern "C" int batchNext(sqlite3_vtab_cursor* cursor) {
    ++static_cast<BatchCursor*>(cursor)->row;
    return SQLITE_OK;
}

extern "C" int batchEof(sqlite3_vtab_cursor* cursor) {
    return static_cast<BatchCursor*>(cursor)->row >= batchOf(cursor).entries.size() ? 1 : 0;
}

extern "C" int batchRowid(sqlite3_vtab_cursor* cursor, sqlite3_int64* rowid) {
    *rowid = static_cast<sqlite3_int64>(static_cast<BatchCursor*>(cursor)->row);
    return SQLITE_OK;
}

extern "C" int batchColumn(sqlite3_vtab_cursor* cursor, sqlite3_context* context, int column) {
    const Batch& b = batchOf(cursor);
    const std::size_t row = static_cast<BatchCursor*>(cursor)->row;
    const ArchiveEntry& e = b.entries[row];
    switch (column) {
        case kPacked:
            if (b.packedIsBytes[row] != 0) {
                sqlite3_result_blob(context, b.packed[row].data(),
                                    static_cast<int>(b.packed[row].size()), SQLITE_STATIC);
            } else {
                resultText(context, b.packed[row]);
            }
            break;
        case kSuspect:
            sqlite3_result_int(context, e.suspect ? 1 : 0);
            break;
        case kReceived:
            if (e.received) {
                resultText(context, b.received[row]);
            } else {
                sqlite3_result_null(context);
            }
            break;
        case kStation:
            resultText(context, e.station);
            break;
        case kSource:
            resultText(context, e.source);
            break;
        case kLine:
            sqlite3_result_int64(context, e.line);
            break;
        case kFrameId:
            sqlite3_result_int64(context, b.frameId[row]);
            break;
        case kFirstInBatch:
            sqlite3_result_int(context, b.firstInBatch[row]);
            break;
        case kNewFrame:
            sqlite3_result_int(context, b.newFrame[row]);
            break;
        case kArchived:
            sqlite3_result_int(context, b.archived[row]);
            break;
        default:
            sqlite3_result_double(context,
                                  e.values[static_cast<std::size_t>(column - kFirstValue)]);
            break;
    }
    return SQLITE_OK;
}

// Without xCreate the table is eponymous only: there by its name on every connection that has
// the module, never in the file's schema.
sqlite3_module batchModule() {
    sqlite3_module module{};
    module.xConnect = batchConnect;
    module.xBestIndex = batchBestIndex;
    module.xDisconnect = batchDisconnect;
    module.xDestroy = batchDisconnect;
    module.xOpen = batchOpen;
    module.xClose = batchClose;
    module.xFilter = batchFilter;
    module.xNext = batchNext;
    module.xEof = batchEof;
    module.xColumn = batchColumn;
    module.xRowid = batchRowid;
    return module;
}

const sqlite3_module kBatchModule = batchModule();

}  // namespace

void Batch::take(std::span<const ArchiveEntry> more) {
    entries = more;
    const std::size_t n = more.size();
    packed.resize(n);
    packedIsBytes.assign(n, 0);
    received.resize(n);
    frameId.assign(n, 0);
    firstInBatch.assign(n, 0);
    newFrame.assign(n, 0);
    archived.assign(n, 0);
}

void AddBatchTable(sqlite3* db, const Batch& batch) {
    sqlite3_create_module_v2(db, kBatchTable, &kBatchModule, const_cast<Batch*>(&batch), nullptr);
}

}  // namespace pelorin::sqlite

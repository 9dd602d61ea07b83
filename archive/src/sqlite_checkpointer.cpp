#include "sqlite_checkpointer.h"

namespace pelorin::sqlite {
namespace {

constexpr int kLongLog = 4;

}  // namespace

Checkpointer::Checkpointer(std::string path, sqlite3* writer, int pages)
    : path_(std::move(path)), pages_(pages), thread_([this] { run(); }) {
    sqlite3_wal_hook(writer, &Checkpointer::onCommit, this);
}

Checkpointer::~Checkpointer() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    thread_.join();
}

// While the writer adds without a pause the log cannot start over, and it grows; past a few
// checkpoints' worth, the writer copies it itself, and the next batch starts the log over.
int Checkpointer::onCommit(void* self, sqlite3* db, const char* schema, int pages) {
    auto* checkpointer = static_cast<Checkpointer*>(self);
    if (pages >= kLongLog * checkpointer->pages_) {
        sqlite3_wal_checkpoint_v2(db, schema, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    } else if (pages >= checkpointer->pages_) {
        {
            const std::lock_guard lock(checkpointer->mutex_);
            checkpointer->wanted_ = true;
        }
        checkpointer->wake_.notify_one();
    }
    return SQLITE_OK;
}

// A connection sees that the file is written ahead only once it has read it.
bool Checkpointer::open(sqlite3*& db) const {
    if (sqlite3_open_v2(path_.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) ==
            SQLITE_OK &&
        sqlite3_exec(db, "PRAGMA journal_mode", nullptr, nullptr, nullptr) == SQLITE_OK) {
        return true;
    }
    sqlite3_close(db);
    db = nullptr;
    return false;
}

// A passive checkpoint never waits for the writer nor holds it up; one that fails, a full disk
// or a second writer's own checkpoint, is simply tried again after a later commit.
void Checkpointer::run() {
    sqlite3* db = nullptr;
    for (;;) {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return wanted_ || stopping_; });
        if (stopping_) {
            break;
        }
        wanted_ = false;
        lock.unlock();
        if (db == nullptr && !open(db)) {
            continue;
        }
        sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    }
    sqlite3_close(db);
}

}  // namespace pelorin::sqlite

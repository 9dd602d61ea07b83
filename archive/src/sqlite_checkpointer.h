#pragma once

#include <sqlite3.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace pelorin::sqlite {

// Copies the write-ahead log of a writer's connection into the archive on a thread and a
// connection of its own, so that the writer goes on adding while the copy waits for the disk.
// Whatever is left is copied when the writer's connection closes.
class Checkpointer {
  public:
    // Takes over the checkpoints of `writer`, a connection to the archive at `path`: one is
    // started whenever the log holds `pages` pages or more.
    Checkpointer(std::string path, sqlite3* writer, int pages);
    // Waits for the checkpoint under way; before the writer's connection closes.
    ~Checkpointer();
    Checkpointer(const Checkpointer&) = delete;
    Checkpointer& operator=(const Checkpointer&) = delete;

  private:
    static int onCommit(void* self, sqlite3* db, const char* schema, int pages);
    void run();
    bool open(sqlite3*& db) const;

    std::string path_;
    int pages_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool wanted_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace pelorin::sqlite

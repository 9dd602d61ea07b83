#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelorin::sqlite {

// A prepared statement, finalized with its owner.
class Statement {
  public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Binds are 1-based, as SQLite counts them.
    void bind(int at, std::int64_t value);
    void bind(int at, double value);
    void bind(int at, std::string_view text);
    void bind(int at, std::optional<std::string_view> text);
    // True for a row, false when done; throws on an error.
    bool step();
    // step() for a statement that returns no row, then ready to run again.
    void run();
    void reset();

    std::int64_t integer(int column) const;
    double real(int column) const;
    bool isNull(int column) const;
    std::string_view text(int column) const;
    bool isBlob(int column) const;
    std::string_view blob(int column) const;

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// One open database file.
class Connection {
  public:
    // Opens without creating unless `create`; throws ArchiveError naming `path`.
    Connection(const std::string& path, bool writable, bool create);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    sqlite3* handle() const { return db_; }
    void execute(std::string_view sql);
    std::int64_t changes() const { return sqlite3_changes64(db_); }
    std::int64_t lastRowId() const { return sqlite3_last_insert_rowid(db_); }

  private:
    sqlite3* db_ = nullptr;
};

// The engine's words for the error `code` of `db`.
std::string ErrorText(sqlite3* db, int code);

// Thrown by Statement and Connection; the store adds the archive's name and what it was doing.
struct Failure {
    int code;
    std::string text;
};

}  // namespace pelorin::sqlite

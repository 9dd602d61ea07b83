#pragma once

#include <libpq-fe.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelorin::pg {

// A statement the server refused, or a connection that failed: its SQLSTATE ("" when the
// connection itself failed) and the server's words, with the password taken out.
struct Failure {
    std::string state;
    std::string text;
};

struct ResultFree {
    void operator()(PGresult* result) const { PQclear(result); }
};
using ResultHandle = std::unique_ptr<PGresult, ResultFree>;

// Text parameters of a statement; nullopt is SQL NULL.
using Params = std::vector<std::optional<std::string>>;

// A whole result, read by row and column.
class Result {
  public:
    explicit Result(ResultHandle result) : result_(std::move(result)) {}
    int rows() const { return PQntuples(result_.get()); }
    // Rows that an INSERT, UPDATE or DELETE touched.
    std::int64_t affected() const;
    bool isNull(int row, int column) const { return PQgetisnull(result_.get(), row, column) != 0; }
    std::string_view text(int row, int column) const;
    std::int64_t integer(int row, int column) const;

  private:
    ResultHandle result_;
};

// One connection, opened from a libpq URI (which brings sslmode, ~/.pgpass, PGPASSWORD and
// service files with it). Every call throws Failure.
class Connection {
  public:
    explicit Connection(const std::string& uri);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    PGconn* handle() { return conn_; }
    Result execute(const std::string& sql, const Params& params = {});
    // Sends `rows` to `copySql` (a COPY ... FROM STDIN), in the format that it names.
    void copyIn(const std::string& copySql, std::string_view rows);
    // The text with the connection's password, if any, taken out.
    std::string scrub(std::string text) const;

  private:
    [[noreturn]] void fail(const PGresult* result) const;
    ResultHandle check(PGresult* result, ExecStatusType expected) const;

    PGconn* conn_ = nullptr;
    std::string password_;
};

// Rows of a query read one at a time as the server sends them, so that a large export never
// sits whole in memory.
class RowStream {
  public:
    RowStream(Connection& connection, const std::string& sql, const Params& params = {});
    ~RowStream();
    RowStream(const RowStream&) = delete;
    RowStream& operator=(const RowStream&) = delete;

    bool step();
    bool isNull(int column) const { return PQgetisnull(row_.get(), 0, column) != 0; }
    std::string_view text(int column) const;
    std::int64_t integer(int column) const;
    double real(int column) const;

  private:
    void drain();

    Connection& connection_;
    ResultHandle row_;
    bool done_ = false;
};

}  // namespace pelorin::pg

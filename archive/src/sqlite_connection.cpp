#include "sqlite_connection.h"

namespace pelorin::sqlite {
namespace {

void check(sqlite3* db, int code) {
    if (code != SQLITE_OK) {
        throw Failure{code, ErrorText(db, code)};
    }
}

}  // namespace

std::string ErrorText(sqlite3* db, int code) {
    const char* text =
        db != nullptr && sqlite3_errcode(db) == code ? sqlite3_errmsg(db) : sqlite3_errstr(code);
    return text != nullptr ? std::string(text) : std::string("unknown error");
}

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
    check(db_, sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()),
                                  SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr));
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::bind(int at, std::int64_t value) {
    check(db_, sqlite3_bind_int64(stmt_, at, value));
}

void Statement::bind(int at, double value) {
    check(db_, sqlite3_bind_double(stmt_, at, value));
}

void Statement::bind(int at, std::string_view text) {
    check(db_, sqlite3_bind_text(stmt_, at, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT));
}

void Statement::bind(int at, std::optional<std::string_view> text) {
    if (text) {
        bind(at, *text);
    } else {
        check(db_, sqlite3_bind_null(stmt_, at));
    }
}

bool Statement::step() {
    const int code = sqlite3_step(stmt_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    sqlite3_reset(stmt_);
    throw Failure{code, ErrorText(db_, code)};
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(stmt_);
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

double Statement::real(int column) const {
    return sqlite3_column_double(stmt_, column);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::string_view Statement::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return bytes != nullptr
               ? std::string_view(bytes,
                                  static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
               : std::string_view();
}

bool Statement::isBlob(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_BLOB;
}

std::string_view Statement::blob(int column) const {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
    return bytes != nullptr
               ? std::string_view(bytes,
                                  static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
               : std::string_view();
}

Connection::Connection(const std::string& path, bool writable, bool create) {
    int flags = writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    flags |= (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int code = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (code != SQLITE_OK) {
        Failure failure{code, ErrorText(db_, code)};
        sqlite3_close(db_);
        db_ = nullptr;
        throw failure;
    }
    sqlite3_extended_result_codes(db_, 1);
}

Connection::~Connection() {
    sqlite3_close_v2(db_);
}

void Connection::execute(std::string_view sql) {
    char* message = nullptr;
    const int code = sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &message);
    if (code != SQLITE_OK) {
        Failure failure{code, message != nullptr ? message : ErrorText(db_, code)};
        sqlite3_free(message);
        throw failure;
    }
}

}  // namespace pelorin::sqlite

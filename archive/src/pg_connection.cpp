#include "pg_connection.h"

#include <charconv>
#include <system_error>

namespace pelorin::pg {
namespace {

constexpr std::string_view kHidden = "***";

struct ConninfoFree {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};

// The password written in the URI itself, to keep out of every message.
std::string passwordIn(const std::string& uri) {
    char* error = nullptr;
    std::unique_ptr<PQconninfoOption, ConninfoFree> options(PQconninfoParse(uri.c_str(), &error));
    PQfreemem(error);
    if (!options) {
        return {};
    }
    for (const PQconninfoOption* o = options.get(); o->keyword != nullptr; ++o) {
        if (std::string_view(o->keyword) == "password" && o->val != nullptr) {
            return o->val;
        }
    }
    return {};
}

std::int64_t toInteger(std::string_view text) {
    std::int64_t value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// libpq's message on one line: its line breaks and indents become single spaces.
std::string trimmed(const char* message) {
    std::string text;
    bool space = false;
    for (const char* c = message != nullptr ? message : ""; *c != '\0'; ++c) {
        if (*c == '\n' || *c == '\t' || *c == ' ') {
            space = !text.empty();
            continue;
        }
        if (space) {
            text.push_back(' ');
            space = false;
        }
        text.push_back(*c);
    }
    return text;
}

struct ParamArrays {
    explicit ParamArrays(const Params& params) {
        for (const auto& p : params) {
            values.push_back(p ? p->c_str() : nullptr);
        }
    }
    int count() const { return static_cast<int>(values.size()); }
    std::vector<const char*> values;
};

}  // namespace

std::int64_t Result::affected() const {
    return toInteger(PQcmdTuples(result_.get()));
}

std::string_view Result::text(int row, int column) const {
    return {PQgetvalue(result_.get(), row, column),
            static_cast<std::size_t>(PQgetlength(result_.get(), row, column))};
}

std::int64_t Result::integer(int row, int column) const {
    return toInteger(text(row, column));
}

Connection::Connection(const std::string& uri)
    : conn_(PQconnectdb(uri.c_str())), password_(passwordIn(uri)) {
    if (PQstatus(conn_) != CONNECTION_OK) {
        Failure failure{"", scrub(trimmed(PQerrorMessage(conn_)))};
        PQfinish(conn_);
        conn_ = nullptr;
        throw failure;
    }
    // Notices (such as "relation already exists, skipping") are no user's business.
    PQsetNoticeProcessor(
        conn_, [](void*, const char*) {}, nullptr);
}

Connection::~Connection() {
    PQfinish(conn_);
}

std::string Connection::scrub(std::string text) const {
    if (password_.empty()) {
        return text;
    }
    for (std::size_t at = text.find(password_); at != std::string::npos;
         at = text.find(password_, at + kHidden.size())) {
        text.replace(at, password_.size(), kHidden);
    }
    return text;
}

void Connection::fail(const PGresult* result) const {
    const char* state = result != nullptr ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const char* message = result != nullptr ? PQresultErrorMessage(result) : "";
    std::string text = trimmed(message);
    if (text.empty()) {
        text = trimmed(PQerrorMessage(conn_));
    }
    throw Failure{state != nullptr ? state : "", scrub(text)};
}

ResultHandle Connection::check(PGresult* raw, ExecStatusType expected) const {
    ResultHandle result(raw);
    if (!result || PQresultStatus(result.get()) != expected) {
        fail(result.get());
    }
    return result;
}

Result Connection::execute(const std::string& sql, const Params& params) {
    const ParamArrays p(params);
    // Without parameters the statement may be several, as an upgrade's are.
    PGresult* raw = params.empty() ? PQexec(conn_, sql.c_str())
                                   : PQexecParams(conn_, sql.c_str(), p.count(), nullptr,
                                                  p.values.data(), nullptr, nullptr, 0);
    ResultHandle result(raw);
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK) {
        fail(result.get());
    }
    return Result(std::move(result));
}

void Connection::copyIn(const std::string& copySql, std::string_view rows) {
    check(PQexec(conn_, copySql.c_str()), PGRES_COPY_IN);
    if (PQputCopyData(conn_, rows.data(), static_cast<int>(rows.size())) != 1 ||
        PQputCopyEnd(conn_, nullptr) != 1) {
        fail(nullptr);
    }
    ResultHandle last = check(PQgetResult(conn_), PGRES_COMMAND_OK);
    while (PGresult* more = PQgetResult(conn_)) {
        PQclear(more);
    }
}

RowStream::RowStream(Connection& connection, const std::string& sql, const Params& params)
    : connection_(connection) {
    const ParamArrays p(params);
    if (PQsendQueryParams(connection_.handle(), sql.c_str(), p.count(), nullptr, p.values.data(),
                          nullptr, nullptr, 0) != 1 ||
        PQsetSingleRowMode(connection_.handle()) != 1) {
        done_ = true;
        drain();
        throw Failure{"", connection_.scrub(trimmed(PQerrorMessage(connection_.handle())))};
    }
}

RowStream::~RowStream() {
    drain();
}

void RowStream::drain() {
    row_.reset();
    while (PGresult* more = PQgetResult(connection_.handle())) {
        PQclear(more);
    }
}

bool RowStream::step() {
    if (done_) {
        return false;
    }
    row_.reset(PQgetResult(connection_.handle()));
    const ExecStatusType status = row_ ? PQresultStatus(row_.get()) : PGRES_TUPLES_OK;
    if (status == PGRES_SINGLE_TUPLE) {
        return true;
    }
    done_ = true;
    if (status == PGRES_TUPLES_OK) {
        drain();
        return false;
    }
    const char* state = PQresultErrorField(row_.get(), PG_DIAG_SQLSTATE);
    Failure failure{state != nullptr ? state : "",
                    connection_.scrub(trimmed(PQresultErrorMessage(row_.get())))};
    drain();
    throw failure;
}

std::string_view RowStream::text(int column) const {
    return {PQgetvalue(row_.get(), 0, column),
            static_cast<std::size_t>(PQgetlength(row_.get(), 0, column))};
}

std::int64_t RowStream::integer(int column) const {
    return toInteger(text(column));
}

double RowStream::real(int column) const {
    const std::string_view t = text(column);
    double value = 0;
    // from_chars reads NaN and Infinity as the server writes them, whatever the C locale.
    std::from_chars(t.data(), t.data() + t.size(), value);
    return value;
}

}  // namespace pelorin::pg

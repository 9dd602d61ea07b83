#pragma once

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "temp_folder.h"

// The engines that archive tests run on, and new, empty archives on each.
namespace testarchive {

enum class Engine { Sqlite, Postgres };

// The test database's URI, set by scripts/test.sh for the cluster it starts.
inline constexpr const char* kPostgresVariable = "PELORIN_TEST_POSTGRES";
// A second test server's URI over TCP, where SSL is on (scripts/pg-cluster.sh start DIR --tls).
inline constexpr const char* kPostgresTlsVariable = "PELORIN_TEST_POSTGRES_TLS";

inline std::string EngineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
}

inline std::string PostgresUri(const char* variable = kPostgresVariable) {
    const char* uri = std::getenv(variable);
    return uri != nullptr ? uri : "";
}

// Runs `sql` on the test database, or at `uri`; false when the server refused it.
inline bool RunOnServer(const std::string& sql, const std::string& uri = PostgresUri()) {
    PGconn* conn = PQconnectdb(uri.c_str());
    PQsetNoticeProcessor(
        conn, [](void*, const char*) {}, nullptr);
    PGresult* result = PQexec(conn, sql.c_str());
    const bool ok = PQresultStatus(result) == PGRES_COMMAND_OK;
    PQclear(result);
    PQfinish(conn);
    return ok;
}

// New archive locations on one engine: files in a folder of their own, or schemas of their own
// in the test database, dropped at the end.
class ArchiveLocations {
  public:
    explicit ArchiveLocations(Engine engine) : engine_(engine) {}
    ~ArchiveLocations() {
        for (const std::string& schema : schemas_) {
            RunOnServer("DROP SCHEMA " + schema + " CASCADE");
        }
    }

    // Whether the engine can be tested here: PostgreSQL only with a test server.
    bool ready() const { return engine_ == Engine::Sqlite || !PostgresUri().empty(); }

    std::string fresh() {
        const std::string n = std::to_string(++count_);
        if (engine_ == Engine::Sqlite) {
            return (folder_ / ("sub" + n) / "archive.sqlite").string();
        }
        std::string schema = std::to_string(::getpid());
        schema.insert(0, 1, 't').append("_").append(n);
        if (!RunOnServer("CREATE SCHEMA " + schema)) {
            ADD_FAILURE() << "could not make schema " << schema;
        }
        schemas_.push_back(schema);
        const std::string uri = PostgresUri();
        return uri + (uri.find('?') == std::string::npos ? "?" : "&") + "options=-csearch_path%3D" +
               schema;
    }

  private:
    Engine engine_;
    TempFolder folder_;
    int count_ = 0;
    std::vector<std::string> schemas_;
};

// In CI a missing test server fails the test; elsewhere it is skipped.
inline bool ServerRequired() {
    const char* ci = std::getenv("CI");
    return ci != nullptr && std::string(ci) == "true";
}

}  // namespace testarchive

// Ends the test unless `locations` can make archives here: skipped, or failed in CI.
#define PELORIN_REQUIRE_ENGINE(locations)                                                   \
    do {                                                                                    \
        if (!(locations).ready()) {                                                         \
            if (testarchive::ServerRequired()) {                                            \
                FAIL() << testarchive::kPostgresVariable << " is not set: scripts/test.sh " \
                       << "starts a server and sets it";                                    \
            }                                                                               \
            GTEST_SKIP() << testarchive::kPostgresVariable << " names no test server";      \
        }                                                                                   \
    } while (false)

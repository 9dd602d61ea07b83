#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "archive_engines.h"
#include "archive_lines.h"
#include "pelorin/archive_location.h"
#include "pelorin/archive_store.h"

namespace {

constexpr const char* kPassword = "Zq7-secret";

TEST(ArchiveCredentials, LocationsAreShownWithoutPasswords) {
    const struct {
        std::string given;
        std::string shown;
    } cases[] = {
        {"/home/me/archive.sqlite", "/home/me/archive.sqlite"},
        {"postgresql://station@club.example/pelorin", "postgresql://station@club.example/pelorin"},
        {std::string("postgresql://station:") + kPassword + "@club.example:5433/pelorin",
         "postgresql://station@club.example:5433/pelorin"},
        {std::string("postgres://st:a@b") + kPassword + "@host/db?sslmode=require",
         "postgres://st@host/db?sslmode=require"},
        {std::string("postgresql:///pelorin?password=") + kPassword + "&host=/run/postgresql",
         "postgresql:///pelorin?host=/run/postgresql"},
        {std::string("postgresql:///pelorin?host=/run&password=") + kPassword,
         "postgresql:///pelorin?host=/run"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pelorin::RedactLocation(c.given), c.shown);
    }
}

std::string openingError(const std::string& location, pelorin::ArchiveAccess access) {
    try {
        pelorin::OpenArchive(location, access);
    } catch (const pelorin::ArchiveError& error) {
        return error.what();
    }
    return {};
}

// Failures of every kind name the archive, never its password: no server there, and a server
// that lets the station in but has no archive for it to read.
TEST(ArchiveCredentials, NoMessageHoldsThePassword) {
    const std::string withPassword =
        std::string("postgresql://station:") + kPassword +
        "@/pelorin?host=/nonexistent-pelorin-socket&password=" + kPassword;
    const std::string unreachable = openingError(withPassword, pelorin::ArchiveAccess::Write);
    EXPECT_NE(unreachable.find("postgresql://station@/pelorin"), std::string::npos) << unreachable;
    EXPECT_EQ(unreachable.find(kPassword), std::string::npos) << unreachable;

    testarchive::ArchiveLocations locations(testarchive::Engine::Postgres);
    PELORIN_REQUIRE_ENGINE(locations);
    const std::string empty = locations.fresh() + "&password=" + kPassword;
    const std::string refused = openingError(empty, pelorin::ArchiveAccess::Read);
    EXPECT_NE(refused.find("there is none"), std::string::npos) << refused;
    EXPECT_EQ(refused.find(kPassword), std::string::npos) << refused;
    const auto store = pelorin::OpenArchive(empty, pelorin::ArchiveAccess::Write);
    EXPECT_EQ(store->location().find(kPassword), std::string::npos) << store->location();
}

// Switches SSL on the TLS test server (through its database postgres, which takes plain
// connections) and waits until new connections to `uri` get it that way; back on at the end.
class SslSwitch {
  public:
    explicit SslSwitch(std::string uri) : uri_(std::move(uri)) {
        admin_ = uri_;
        admin_.replace(admin_.find("/pelorin?"), 9, "/postgres?");
    }
    ~SslSwitch() { set(true); }
    SslSwitch(const SslSwitch&) = delete;
    SslSwitch& operator=(const SslSwitch&) = delete;

    bool set(bool on) {
        testarchive::RunOnServer(std::string("ALTER SYSTEM SET ssl = ") + (on ? "on" : "off"),
                                 admin_ + "&sslmode=disable");
        testarchive::RunOnServer("DO $$BEGIN PERFORM pg_reload_conf(); END$$",
                                 admin_ + "&sslmode=disable");
        constexpr int kTries = 100;
        for (int k = 0; k < kTries; ++k) {
            PGconn* conn = PQconnectdb((uri_ + "&sslmode=require").c_str());
            const bool ssl = PQstatus(conn) == CONNECTION_OK;
            PQfinish(conn);
            if (ssl == on) {
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

  private:
    std::string uri_;
    std::string admin_;
};

// The URI's sslmode reaches the server: where SSL is required, a station that requires it gets
// in and one that disables it does not; a server without SSL refuses a station that requires
// it, and says why. No message shows the password.
TEST(ArchiveCredentials, TheUrisSslModeIsHonoured) {
    const std::string uri = testarchive::PostgresUri(testarchive::kPostgresTlsVariable);
    if (uri.empty()) {
        if (testarchive::ServerRequired()) {
            FAIL() << testarchive::kPostgresTlsVariable << " is not set: scripts/test.sh sets it";
        }
        GTEST_SKIP() << testarchive::kPostgresTlsVariable << " names no test server";
    }
    const std::string password = std::string("&password=") + kPassword;
    SslSwitch ssl(uri);
    const struct {
        bool serverSsl;
        std::string sslmode;
        std::string says;  // "" when the archive opens
    } cases[] = {
        {true, "require", ""},
        {true, "disable", "no encryption"},
        {false, "require", "server does not support SSL, but SSL was required"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(ssl.set(c.serverSsl));
        const std::string error =
            openingError(uri + "&sslmode=" + c.sslmode + password, pelorin::ArchiveAccess::Write);
        EXPECT_EQ(error.find(kPassword), std::string::npos) << error;
        if (c.says.empty()) {
            EXPECT_EQ(error, "") << c.sslmode;
        } else {
            EXPECT_NE(error.find(c.says), std::string::npos) << c.sslmode << ": " << error;
        }
    }
}

// What init prints sets up an archive that a station's login, a member of the station role,
// can add to and read, but not delete from.
TEST(ArchiveCredentials, TheStationRoleMayAddAndReadOnly) {
    testarchive::ArchiveLocations locations(testarchive::Engine::Postgres);
    PELORIN_REQUIRE_ENGINE(locations);
    const std::string role(pelorin::kStationRole);
    const std::string login = "station" + std::to_string(::getpid());
    testarchive::RunOnServer("DROP ROLE IF EXISTS " + role);
    const std::string admin = locations.fresh();
    ASSERT_TRUE(testarchive::RunOnServer(pelorin::SharedArchiveSetupSql(), admin));
    ASSERT_TRUE(testarchive::RunOnServer("CREATE ROLE " + login + " LOGIN IN ROLE " + role +
                                         "; GRANT USAGE ON SCHEMA " +
                                         admin.substr(admin.rfind("%3D") + 3) + " TO " + role));
    const std::string station = admin + "&user=" + login;
    std::string failure;
    try {
        auto store = pelorin::OpenArchive(station, pelorin::ArchiveAccess::Write);
        store->add(testarchive::entries({testarchive::logLine(2, "2026-12-08T10:00:02Z")}));
        store->add(testarchive::entries({testarchive::logLine(2, "2026-12-08T10:00:01Z")}, "B"));
        EXPECT_EQ(store->stats().receptions, 2);
        EXPECT_EQ(testarchive::frameDump(*store).at(0).substr(9, 24), "2026-12-08T10:00:01.000Z");
    } catch (const pelorin::ArchiveError& error) {
        failure = error.what();
    }
    EXPECT_EQ(failure, "");
    EXPECT_FALSE(testarchive::RunOnServer("DELETE FROM receptions", station));
    EXPECT_FALSE(testarchive::RunOnServer("UPDATE frames SET time_s = 0", station));
    testarchive::RunOnServer("DROP OWNED BY " + login + ", " + role + " CASCADE; DROP ROLE " +
                             login + "; DROP ROLE " + role);
}

}  // namespace

#include <gtest/gtest.h>

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

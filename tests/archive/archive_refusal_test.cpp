#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <random>

#include "archive_lines.h"
#include "pelorin/archive_store.h"
#include "temp_folder.h"

namespace {

using pelorin::ArchiveAccess;

void setUserVersion(const std::filesystem::path& path, int version) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    const std::string sql = "PRAGMA user_version = " + std::to_string(version);
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

std::string archiveBytes(const TempFolder& folder) {
    const auto path = folder / "whole.sqlite";
    pelorin::OpenArchive(path.string(), ArchiveAccess::Write)
        ->add(testarchive::entries({testarchive::logLine(1), testarchive::logLine(2)}));
    return ReadFile(path);
}

struct Refusal {
    const char* what;
    std::function<void(const std::filesystem::path&, const TempFolder&)> make;
    const char* says;
};

TEST(ArchiveRefusal, WhatIsNoArchiveIsRefusedAndLeftAlone) {
    const Refusal cases[] = {
        {"random bytes",
         [](const auto& path, const auto&) {
             std::mt19937 random(7);
             std::string bytes(5000, '\0');
             for (char& b : bytes) {
                 b = static_cast<char>(random());
             }
             WriteFile(path, bytes);
         },
         "is not an archive"},
        {"a short text", [](const auto& path, const auto&) { WriteFile(path, "hello\n"); },
         "is not an archive"},
        {"a truncated copy",
         [](const auto& path, const auto& folder) {
             const std::string whole = archiveBytes(folder);
             WriteFile(path, whole.substr(0, whole.size() / 2));
         },
         "cut short"},
        {"an archive of a newer schema",
         [](const auto& path, const auto& folder) {
             WriteFile(path, archiveBytes(folder));
             setUserVersion(path, 99);
         },
         "newer version (99)"},
        {"another program's database",
         [](const auto& path, const auto&) {
             sqlite3* db = nullptr;
             sqlite3_open(path.c_str(), &db);
             sqlite3_exec(db, "CREATE TABLE t (x)", nullptr, nullptr, nullptr);
             sqlite3_close(db);
         },
         "other tables"},
    };
    for (const Refusal& c : cases) {
        for (const ArchiveAccess access : {ArchiveAccess::Read, ArchiveAccess::Write}) {
            TempFolder folder;
            const auto path = folder / "archive.sqlite";
            c.make(path, folder);
            const std::string before = ReadFile(path);
            try {
                pelorin::OpenArchive(path.string(), access);
                ADD_FAILURE() << c.what << " was opened";
            } catch (const pelorin::ArchiveError& error) {
                const std::string message = error.what();
                EXPECT_NE(message.find(path.string()), std::string::npos) << message;
                EXPECT_NE(message.find(c.says), std::string::npos) << message;
            }
            EXPECT_EQ(ReadFile(path), before) << c.what;
            EXPECT_FALSE(std::filesystem::exists(path.string() + "-wal")) << c.what;
        }
    }
}

TEST(ArchiveRefusal, AMissingArchiveIsAnErrorToReadAndMadeToWrite) {
    TempFolder folder;
    const auto path = folder / "deep/er/archive.sqlite";
    EXPECT_THROW(pelorin::OpenArchive(path.string(), ArchiveAccess::Read), pelorin::ArchiveError);
    EXPECT_FALSE(std::filesystem::exists(path));
    pelorin::OpenArchive(path.string(), ArchiveAccess::Write);
    EXPECT_EQ(pelorin::OpenArchive(path.string(), ArchiveAccess::Read)->stats().frames, 0);
}

}  // namespace

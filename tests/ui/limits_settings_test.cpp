// The limits file is read alike by the core and by QSettings.
#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "pelorin/limits.h"

namespace {

// Both find the same `bounds` low and high keys, with the same numbers.
void ExpectSameLimits(const QString& path, int bounds, std::size_t repeatedKeys = 0) {
    const pelorin::LimitsLoad load = pelorin::LoadLimitsFile(path.toStdString());
    EXPECT_EQ(load.warnings.size(), repeatedKeys);
    const QSettings settings(path, QSettings::IniFormat);
    EXPECT_EQ(settings.allKeys().size(), bounds);
    for (int index = 0; index < pelorin::kShownValues; ++index) {
        const auto& [low, high] = load.limits[index];
        for (const auto& [key, bound] : {std::pair{"low", low}, std::pair{"high", high}}) {
            const QVariant theirs =
                settings.value(QStringLiteral("value%1/%2").arg(index).arg(key));
            EXPECT_EQ(theirs.isValid() ? std::optional(theirs.toDouble()) : std::nullopt, bound)
                << index << key;
        }
    }
}

TEST(LimitsSettings, TheSampleAndAHandEditedFile) {
    ExpectSameLimits(QStringLiteral(PELORIN_SAMPLES_DIR "/limits.ini"), 16);

    QTemporaryDir folder;
    // BOM, CR LF, blanks and tabs, a ";" comment after a group and a value, quotes, "+" and an
    // exponent, a key given twice (the last counts, with a warning), a group opened twice
    // (merged).
    const QString edited = folder.filePath(QStringLiteral("edited.ini"));
    QFile file(edited);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "\xEF\xBB\xBF; rails\r\n\r\n  [ value4 ] ; 5 V\r\n low = 4.75 \r\nhigh\t=\t5.25 ; V\r\n"
        "[value9]\r\nlow=\"-12.5\"\r\nhigh=+1e2\r\nhigh=40\r\n[value4]\r\nlow=4.8\r\n");
    file.close();
    ExpectSameLimits(edited, 4, 2);
    EXPECT_EQ(pelorin::LoadLimitsFile(edited.toStdString()).limits[4].low, 4.8);
}

}  // namespace

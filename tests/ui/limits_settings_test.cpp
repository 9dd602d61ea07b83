// The limits file and QSettings read each other's files alike.
#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "pelorin/limits.h"

namespace {

// Both read `bounds` low and high keys, with the same numbers.
void ExpectSameLimits(const QString& path, int bounds) {
    const pelorin::LimitsLoad load = pelorin::LoadLimitsFile(path.toStdString());
    EXPECT_TRUE(load.warnings.empty());
    QSettings settings(path, QSettings::IniFormat);
    for (int index = 0; index < pelorin::kShownValues; ++index) {
        const pelorin::ValueLimits& ours = load.limits[index];
        for (const auto& [key, bound] :
             {std::pair{"low", ours.low}, std::pair{"high", ours.high}}) {
            const QVariant theirs =
                settings.value(QStringLiteral("value%1/%2").arg(index).arg(key));
            ASSERT_EQ(theirs.isValid(), bound.has_value()) << index << key;
            bool number = false;
            if (bound) {
                EXPECT_EQ(theirs.toDouble(&number), *bound) << index << key;
                EXPECT_TRUE(number);
            }
        }
    }
    EXPECT_EQ(settings.allKeys().size(), bounds);
}

TEST(LimitsSettings, TheCoreReadsWhatQSettingsWrites) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("limits.ini"));
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(QStringLiteral("value0/low"), 3499625.0);
        settings.setValue(QStringLiteral("value9/low"), -12.5);
        settings.setValue(QStringLiteral("value9/high"), 40);
        settings.setValue(QStringLiteral("value13/high"), 1e-7);
        settings.setValue(QStringLiteral("value20/low"), 7.6);
    }
    ExpectSameLimits(path, 5);
}

TEST(LimitsSettings, QSettingsReadsTheSampleAlike) {
    ExpectSameLimits(QStringLiteral(PELORIN_SAMPLES_DIR "/limits.ini"), 16);
}

}  // namespace

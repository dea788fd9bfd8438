// The event log: lines only while it is open, collected statistics only while it is open.
#include <gtest/gtest.h>

#include <fstream>
#include <limits>
#include <sstream>
#include <string>

#include "core/event_log.h"

namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(EventLog, WritesEventsAndCountsStatisticsOnlyWhileOpen) {
    const std::string path = testing::TempDir() + "events_test.log";
    CloseEventLog();
    LogEvent("before");
    AddCollectedStat("Fountains", 2);
    EXPECT_EQ(GetCollectedStat("Fountains"), 0);

    ASSERT_TRUE(OpenEventLog(path));
    LogEvent("Player drank from fountain");
    AddCollectedStat("Bookshelves perused", 1);
    AddCollectedStat("Bookshelves perused", 2);
    AddCollectedStat("Total Purchases", -5);
    EXPECT_EQ(Contents(path), "EVENT: Player drank from fountain\n");  // flushed at once
    EXPECT_EQ(GetCollectedStat("Bookshelves perused"), 3);
    EXPECT_EQ(GetCollectedStat("Total Purchases"), -5);
    EXPECT_EQ(GetCollectedStat("Unknown"), 0);
    CloseEventLog();
    LogEvent("after");
    EXPECT_EQ(Contents(path), "EVENT: Player drank from fountain\n");
    EXPECT_TRUE(CollectedStats().empty());

    testing::internal::CaptureStdout();
    EXPECT_FALSE(OpenEventLog(testing::TempDir() + "no_such_folder/x/events.log"));
    EXPECT_NE(testing::internal::GetCapturedStdout().find("event log: cannot create"), std::string::npos);
    EXPECT_FALSE(IsEventLogOpen());
}

TEST(EventLog, ACollectedSumStopsAtTheEndsOfItsRange) {
    // Two purchases at the highest price a shop asks must not wrap the total round to a
    // negative figure, nor a run of refunds past the other end.
    const int32_t top = std::numeric_limits<int32_t>::max();
    const int32_t bottom = std::numeric_limits<int32_t>::min();
    ASSERT_TRUE(OpenEventLog(testing::TempDir() + "events_sum_test.log"));
    AddCollectedStat("Total Purchases", 2147483520);
    AddCollectedStat("Total Purchases", 2147483520);
    EXPECT_EQ(GetCollectedStat("Total Purchases"), top);
    AddCollectedStat("Total Purchases", -5);
    EXPECT_EQ(GetCollectedStat("Total Purchases"), top - 5);
    AddCollectedStat("Refunds", bottom + 1);
    AddCollectedStat("Refunds", -2);
    EXPECT_EQ(GetCollectedStat("Refunds"), bottom);
    CloseEventLog();
}

}  // namespace

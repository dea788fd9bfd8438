// Building the per-level monster tables from the monster database.
#include "levels/gen/monster_tables.h"

#include <gtest/gtest.h>

#include <string>

#include "creatures/monster_db.h"

namespace {

MonsterRecord* Record(const char* name, int32_t level, int32_t excluded = 0) {
    MonsterRecord* record = new MonsterRecord();
    record->name = name;
    record->level = level;
    record->special = excluded;
    return record;
}

class MonsterTablesTest : public testing::Test {
protected:
    void TearDown() override {
        ClearMonsterDB();
        InitMonsterTables();
    }
};

TEST_F(MonsterTablesTest, RecordsGoToTheirLevelInDatabaseOrderExceptExcludedOnes) {
    MonsterTable = {Record("rat", 0), Record("bat", 3), Record("ghost", 3, 1), Record("slug", 3),
                 Record("king", 14)};
    InitMonsterTables();
    ASSERT_EQ(MonsterTables[0].size(), 1u);
    EXPECT_EQ(MonsterTables[0][0]->name, "rat");
    ASSERT_EQ(MonsterTables[3].size(), 2u);
    EXPECT_EQ(MonsterTables[3][0]->name, "bat");
    EXPECT_EQ(MonsterTables[3][1]->name, "slug");
    ASSERT_EQ(MonsterTables[14].size(), 1u);

    // Building again starts afresh instead of doubling the entries.
    InitMonsterTables();
    EXPECT_EQ(MonsterTables[3].size(), 2u);
}

TEST_F(MonsterTablesTest, LevelOutsideTheTablesIsLeftOutWithADiagnostic) {
    MonsterTable = {Record("deep", 15), Record("negative", -1), Record("fine", 2)};
    testing::internal::CaptureStdout();
    InitMonsterTables();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("'deep'"), std::string::npos) << out;
    EXPECT_NE(out.find("'negative'"), std::string::npos) << out;
    size_t total = 0;
    for (const auto& table : MonsterTables) total += table.size();
    EXPECT_EQ(total, 1u);
    EXPECT_EQ(MonsterTables[2].size(), 1u);
}

}  // namespace

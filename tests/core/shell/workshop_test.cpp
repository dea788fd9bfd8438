// Workshop subscriptions: the enumeration pages, the downloads into the holder folder, the
// mod list, the notifications and the injected store faults.
#include "core/shell/workshop.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/shell/shell_services.h"
#include "store_platform/remote_storage.h"
#include "store_platform/store.h"
#include "tests/core/user_config_fixture.h"

namespace {

std::string ModXml(const std::string& name) {
    return "<zarnochmod><name text=\"" + name + "\"/><author text=\"Tamsin\"/><description text=\"About " + name +
           "\"/></zarnochmod>";
}

std::string ModZip(const std::string& name) {
    return BuildStoredZip({{"mod/mod.xml", ModXml(name)}, {"mod/text.xml", "<texts><line text=\"hi\"/></texts>"}});
}

class WorkshopTest : public UserConfigTest {
protected:
    void SetUp() override {
        UserConfigTest::SetUp();
        storeEnv_.reset(new ScopedEnv("VAULTMERE_STORE_DIR", store_.path().c_str()));
        SteamAPI_Shutdown();
        ASSERT_TRUE(SteamAPI_Init());
        storage_ = SteamRemoteStorage();
        ASSERT_NE(storage_, nullptr);
        enableSteamWorkshop = 1;
    }
    void TearDown() override {
        WorkshopSubscribed.reset();
        WorkshopPublished.reset();
        PublishedModList.clear();
        SteamAPI_Shutdown();
        storeEnv_.reset();
        UserConfigTest::TearDown();
    }
    // A subscribed item holding a mod of that name.
    PublishedFileId_t Subscribe(const std::string& name, uint32_t time = 1000) {
        WorkshopItem item;
        item.title = name;
        item.timeUpdated = time;
        item.content = ModZip(name);
        item.preview = "png";
        const PublishedFileId_t id = storage_->PutWorkshopItem(item);
        storage_->Subscribe(id, false);
        return id;
    }
    std::string DatFile(PublishedFileId_t id, uint32_t time) const {
        return UserFile("steam_workshop/subscribed/" + std::to_string(id) + "-" + std::to_string(time) + ".dat");
    }
    // Pumps until both holders are idle (at most `limit` pumps); the status texts seen, each
    // change once, and the pumps used.
    std::vector<std::string> PumpUntilIdle(int limit = 2000) {
        std::vector<std::string> seen{GetWorkshopStatus()};
        pumps_ = 0;
        testing::internal::CaptureStdout();
        while (pumps_ < limit) {
            const bool idle = WorkshopSubscribed->state == kWorkshopIdle &&
                              (!WorkshopPublished || WorkshopPublished->state == kWorkshopIdle);
            if (idle && PendingStoreRecords() == 0) break;
            SteamAPI_RunCallbacks();
            ++pumps_;
            if (GetWorkshopStatus() != seen.back()) seen.push_back(GetWorkshopStatus());
        }
        printed_ = testing::internal::GetCapturedStdout();
        return seen;
    }
    void Start() {
        testing::internal::CaptureStdout();
        InitSteamWorkshop();
        printed_ = testing::internal::GetCapturedStdout();
    }

    TempDir store_;
    std::unique_ptr<ScopedEnv> storeEnv_;
    StoreRemoteStorage* storage_ = nullptr;
    int pumps_ = 0;
    std::string printed_;
};

}  // namespace

TEST_F(WorkshopTest, SubscriptionsArePagedDownloadedAndListed) {
    struct Case {
        int subscriptions;
        std::vector<std::string> pages;
    } cases[] = {
        {0, {"enum subs (0, 0)"}},
        {1, {"enum subs (1, 1)"}},
        {120, {"enum subs (50, 120)", "enum subs (50, 120)", "enum subs (20, 120)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.subscriptions);
        SteamAPI_Shutdown();
        storeEnv_.reset();
        storeEnv_.reset(new ScopedEnv("VAULTMERE_STORE_DIR", (store_.path() + "/case" + std::to_string(c.subscriptions)).c_str()));
        ASSERT_TRUE(SteamAPI_Init());
        storage_ = SteamRemoteStorage();
        ModList.clear();
        WriteUserFile("steam_workshop/subscribed/55-1.dat", "an old download");
        std::vector<PublishedFileId_t> ids;
        for (int i = 0; i < c.subscriptions; ++i) ids.push_back(Subscribe("Mod " + std::to_string(i), 1000 + i));

        Start();
        const std::vector<std::string> statuses = PumpUntilIdle();
        ASSERT_LT(pumps_, 2000) << printed_;
        std::vector<std::string> pages;
        for (size_t at = printed_.find("enum subs"); at != std::string::npos; at = printed_.find("enum subs", at + 1)) {
            pages.push_back(printed_.substr(at, printed_.find('\n', at) - at));
        }
        // The published holder enumerates too (0 of 0).
        pages.erase(std::remove(pages.begin(), pages.end(), "enum subs (0, 0)"), pages.end());
        std::vector<std::string> expectedPages = c.pages;
        expectedPages.erase(std::remove(expectedPages.begin(), expectedPages.end(), "enum subs (0, 0)"),
                            expectedPages.end());
        EXPECT_EQ(pages, expectedPages) << printed_;
        if (c.subscriptions == 0) {
            EXPECT_EQ(statuses, (std::vector<std::string>{"Getting subscription list", ""}));
        } else {
            EXPECT_EQ(statuses, (std::vector<std::string>{"Getting subscription list", "Getting subscription details",
                                                          "Downloading subscriptions", ""}));
        }
        EXPECT_FALSE(FileExists(UserFile("steam_workshop/subscribed/55-1.dat"))) << "cleaned up";
        ASSERT_EQ(ModList.size(), ids.size());
        for (int i = 0; i < c.subscriptions; ++i) {
            EXPECT_EQ(ReadWholeFile(DatFile(ids[i], 1000 + i)), ModZip("Mod " + std::to_string(i)));
            EXPECT_EQ(ModList[i].workshopId, ids[i]);
            EXPECT_EQ(ModList[i].name, "Mod " + std::to_string(i));
            EXPECT_EQ(ModList[i].path, DatFile(ids[i], 1000 + i));
        }
    }
}

TEST_F(WorkshopTest, UpdatesAndWrongSizesAreDownloadedAgainAndOldVersionsRemoved) {
    const PublishedFileId_t id = Subscribe("Ember Vale", 1000);
    const PublishedFileId_t kept = Subscribe("Quiet Hall", 2000);
    Start();
    PumpUntilIdle();
    ASSERT_TRUE(FileExists(DatFile(id, 1000)));

    // A new version, and a damaged local copy of the other mod.
    WorkshopItem item;
    ASSERT_TRUE(storage_->GetWorkshopItem(id, &item));
    item.timeUpdated = 1500;
    item.content = ModZip("Ember Vale II");
    ASSERT_NE(storage_->PutWorkshopItem(item), 0u);
    WriteUserFile("steam_workshop/subscribed/" + std::to_string(kept) + "-2000.dat", "short");

    ModList.clear();
    Start();
    PumpUntilIdle();
    EXPECT_FALSE(FileExists(DatFile(id, 1000)));
    EXPECT_EQ(ReadWholeFile(DatFile(id, 1500)), ModZip("Ember Vale II"));
    EXPECT_EQ(ReadWholeFile(DatFile(kept, 2000)), ModZip("Quiet Hall"));
    EXPECT_NE(printed_.find("deleting unnecessary Steam Workshop file '" + std::to_string(id) + "-1000.dat'"),
              std::string::npos)
        << printed_;
    ASSERT_EQ(ModList.size(), 2u);
    EXPECT_EQ(ModList[0].name, "Ember Vale II");
}

TEST_F(WorkshopTest, AModTheConfigurationEnabledIsEnabledWhenItArrives) {
    Subscribe("Named Later", 1000);
    Subscribe("Not Named", 1000);
    EnableModsNamed("Named Later");
    Start();
    PumpUntilIdle();
    ASSERT_EQ(ModList.size(), 2u);
    EXPECT_EQ(ModList[0].enabled, 1);
    EXPECT_EQ(ModList[1].enabled, 0);
    LoadMods();  // a new scan forgets the names
    EXPECT_FALSE(ModEnabledByConfig("Named Later"));
}

TEST_F(WorkshopTest, AConfiguredModStaysConfiguredUntilTheWholeListIsKnown) {
    // When the configuration is written: before the first pump, after a run to idle, after a
    // run whose pages came back empty, and after a whole list without the mod.
    struct Case {
        const char* name;
        std::string faults;
        bool subscribed;
        int pumps;
        bool kept;
    } cases[] = {
        {"chain not pumped yet", "", true, 0, true},
        {"listed and enabled", "", true, 2000, true},
        {"pages came back empty", "empty-page", true, 2000, true},
        {"enumeration failed", "io-failure enumerate", true, 2000, true},
        {"no longer subscribed", "", false, 2000, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadMods();
        WriteUserFile("config.xml", "<config>\n<mod name=\"Far Shore\" />\n</config>\n");
        LoadConfig();
        const PublishedFileId_t id = Subscribe("Far Shore", 5000);
        if (!c.subscribed) storage_->Unsubscribe(id, false);
        SetStoreFaults(ParseStoreFaults(c.faults, "test"));
        Start();
        if (c.pumps > 0) PumpUntilIdle(c.pumps);
        ASSERT_TRUE(WriteConfig());
        const std::string config = ReadUserFile("config.xml");
        const std::string line = "<mod name=\"Far Shore\" />\n";
        const size_t first = config.find(line);
        EXPECT_EQ(first != std::string::npos, c.kept) << config;
        if (first != std::string::npos) {
            EXPECT_EQ(config.find("Far Shore", first + line.size()), std::string::npos) << "written once: " << config;
        }
        SetStoreFaults(StoreFaults());
        storage_->Unsubscribe(id, false);
        WorkshopSubscribed.reset();
        WorkshopPublished.reset();
    }
}

TEST_F(WorkshopTest, NotificationsAfterAndBeforeLoading) {
    const PublishedFileId_t first = Subscribe("Ash Road", 1000);
    Start();
    PumpUntilIdle();
    ASSERT_EQ(ModList.size(), 1u);

    // Unsubscribed before the mods are loaded: the mod leaves the list.
    WriteWholeFile(store_.path() + "/notify.txt", "unsubscribe " + std::to_string(first) + "\n");
    PumpUntilIdle(5);
    SteamAPI_RunCallbacks();
    SteamAPI_RunCallbacks();
    EXPECT_TRUE(ModList.empty());
    EXPECT_FALSE(FileExists(store_.path() + "/notify.txt"));

    // Subscribed after loading: downloaded, but not listed in this run.
    ModsLoaded = 1;
    WorkshopItem item;
    item.title = "Late";
    item.timeUpdated = 3000;
    item.content = ModZip("Late");
    const PublishedFileId_t late = storage_->PutWorkshopItem(item);
    WriteWholeFile(store_.path() + "/notify.txt", "subscribe " + std::to_string(late) + "\nnonsense\n");
    SteamAPI_RunCallbacks();
    PumpUntilIdle();
    EXPECT_EQ(ReadWholeFile(DatFile(late, 3000)), ModZip("Late"));
    EXPECT_TRUE(ModList.empty());
    const std::vector<PublishedFileId_t> subscribed = storage_->SubscribedIds();
    EXPECT_EQ(subscribed, std::vector<PublishedFileId_t>{late});
}

TEST_F(WorkshopTest, InjectedFaultsEndIdleWithoutABadFile) {
    // With `earlier`, a run without faults downloaded the item first: a fault of a later run
    // never deletes it.
    struct Case {
        const char* name;
        std::string faults;
        bool earlier;
        bool downloaded;
    } cases[] = {
        {"enumeration I/O failure", "io-failure enumerate", false, false},
        {"details I/O failure", "io-failure details", false, false},
        {"download I/O failure", "io-failure download", false, false},
        {"short read", "short-read", false, false},
        {"empty pages", "empty-page", false, false},
        {"empty pages after a download", "empty-page", true, true},
        {"enumeration I/O failure after a download", "io-failure enumerate", true, true},
        {"details of another file", "details-other-id", false, false},
        {"details of another file after a download", "details-other-id", true, true},
        {"details I/O failure after a download", "io-failure details", true, true},
        {"download faults after a download", "io-failure download\nshort-read\ndownload-size 3", true, true},
        {"negative download size", "download-size -5", false, false},
        {"enormous download size", "download-size 2000000000", false, false},
        {"download size unlike the details", "download-size 3", false, false},
        {"no fault", "", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ModList.clear();
        const PublishedFileId_t id = Subscribe(std::string("Case ") + c.name, 4000);
        if (c.earlier) {
            Start();
            PumpUntilIdle(200);
            ASSERT_TRUE(FileExists(DatFile(id, 4000))) << printed_;
            ModList.clear();
        }
        SetStoreFaults(ParseStoreFaults(c.faults, "test"));
        Start();
        PumpUntilIdle(200);
        EXPECT_LT(pumps_, 200) << printed_;
        EXPECT_EQ(WorkshopSubscribed->state, kWorkshopIdle);
        EXPECT_EQ(GetWorkshopStatus(), "");
        EXPECT_EQ(FileExists(DatFile(id, 4000)), c.downloaded);
        storage_->Unsubscribe(id, false);
        SetStoreFaults(StoreFaults());
    }
}

TEST_F(WorkshopTest, DisabledOrWithoutStorageThereIsNoHolder) {
    enableSteamWorkshop = 0;
    InitSteamWorkshop();
    EXPECT_EQ(WorkshopSubscribed, nullptr);
    EXPECT_EQ(GetWorkshopStatus(), "Disabled");
    enableSteamWorkshop = 1;
    StoreFaults faults;
    faults.noRemoteStorage = true;
    SetStoreFaults(faults);
    InitSteamWorkshop();
    EXPECT_EQ(WorkshopPublished, nullptr);
    EXPECT_EQ(GetWorkshopStatus(), "Disabled");
    SetStoreFaults(StoreFaults());
}

TEST(WorkshopNames, PreviewExtensionComesAfterTheLastDot) {
    struct Case {
        const char* path;
        const char* name;
    } cases[] = {
        {"/home/a/shot.png", "workshop-preview-KEY.png"},
        {"/home/a/shot.jpeg", "workshop-preview-KEY.jpeg"},
        {"/home/my.pics/shot", "workshop-preview-KEY.jpg"},
        {"a.b", "workshop-preview-KEY.b"},
        {"abc", "workshop-preview-KEY.jpg"},
        {"C:\\pics.d\\shot", "workshop-preview-KEY.jpg"},
        {"dot.", "workshop-preview-KEY.jpg"},
    };
    for (const Case& c : cases) EXPECT_EQ(PreviewCloudName("KEY", c.path), c.name) << c.path;
}

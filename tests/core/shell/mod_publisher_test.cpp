// The mod publisher: what it accepts, the publication and update through the store, and the
// list screen's clicks.
#include "core/shell/mod_publisher.h"

#include <string>
#include <vector>

#include "core/shell/shell_services.h"
#include "store_platform/remote_storage.h"
#include "store_platform/store.h"
#include "tests/core/user_config_fixture.h"

namespace {

std::string ModXml(const std::string& name) {
    return "<zarnochmod><name text=\"" + name + "\"/><author text=\"Orla\"/><description text=\"All about " + name +
           "\"/></zarnochmod>";
}

class PublisherTest : public UserConfigTest {
protected:
    void SetUp() override {
        UserConfigTest::SetUp();
        storeEnv_.reset(new ScopedEnv("VAULTMERE_STORE_DIR", store_.path().c_str()));
        SteamAPI_Shutdown();
        ASSERT_TRUE(SteamAPI_Init());
        storage_ = SteamRemoteStorage();
        enableSteamWorkshop = 1;
        WriteUserFile("up/mod.zip", BuildStoredZip({{"mod/mod.xml", ModXml("Lantern Row")},
                                                    {"mod/text.xml", "<texts><line text=\"hi\"/></texts>"}}));
        // A real picture from the assembled game folder.
        preview_ = std::string(VAULTMERE_GAME_ROOT) + "/ui/startup/picker_thumb0.png";
        testing::internal::CaptureStdout();
        InitSteamWorkshop();
        Pump();
        testing::internal::GetCapturedStdout();
    }
    void TearDown() override {
        WorkshopSubscribed.reset();
        WorkshopPublished.reset();
        PublishedModList.clear();
        SteamAPI_Shutdown();
        storeEnv_.reset();
        UserConfigTest::TearDown();
    }
    void Pump() {
        for (int i = 0; i < 500 && (PendingStoreRecords() > 0 || WorkshopPublished->publishResult == -1); ++i) {
            SteamAPI_RunCallbacks();
        }
    }
    std::vector<std::string> CloudNames() {
        std::vector<std::string> names;
        const int32_t n = storage_->GetFileCount();
        for (int32_t i = 0; i < n; ++i) names.push_back(storage_->GetFileNameAndSize(i, nullptr));
        return names;
    }

    TempDir store_;
    std::unique_ptr<ScopedEnv> storeEnv_;
    StoreRemoteStorage* storage_ = nullptr;
    std::string preview_;
};

}  // namespace

TEST_F(PublisherTest, ContentAndPreviewAreCheckedBeforeAnythingIsUploaded) {
    WriteUserFile("up/plain.zip", "this is not an archive");
    WriteUserFile("up/nomod.zip", BuildStoredZip({{"readme.txt", "no description"}}));
    WriteUserFile("up/broken.png", "\x89PNG but nothing after");
    ModRecord mod;
    struct Case {
        std::string content;
        std::string refusal;
    } contents[] = {
        {UserFile("up/mod.zip"), ""},
        {UserFile("up/plain.zip"), kPublishNotAnArchive},
        {UserFile("up/missing.zip"), kPublishNotAnArchive},
        {UserFile("up/nomod.zip"), kPublishNoModXml},
    };
    for (const Case& c : contents) EXPECT_EQ(ReadModToPublish(c.content, &mod), c.refusal) << c.content;
    ASSERT_EQ(ReadModToPublish(UserFile("up/mod.zip"), &mod), "");
    EXPECT_EQ(mod.name, "Lantern Row");
    EXPECT_EQ(mod.author, "Orla");
    EXPECT_EQ(mod.workshopId, 0u);
    EXPECT_EQ(CheckPreview(preview_), "");
    EXPECT_EQ(CheckPreview(UserFile("up/broken.png")), kPublishBadPreview);
    EXPECT_EQ(CheckPreview(UserFile("up/nothing.png")), kPublishBadPreview);
    EXPECT_EQ(CheckPreview(UserFile("up/mod.zip")), kPublishBadPreview);
    EXPECT_TRUE(CloudNames().empty());
}

TEST_F(PublisherTest, PublishThenUpdateThroughTheStore) {
    WorkshopPublished->PublishMod(UserFile("up/mod.zip"), preview_, "Lantern Row", "All about Lantern Row");
    const std::vector<std::string> temporaries = CloudNames();
    ASSERT_EQ(temporaries.size(), 2u);
    EXPECT_EQ(temporaries[0].rfind("workshop-", 0), 0u);
    EXPECT_EQ(temporaries[1].rfind("workshop-preview-", 0), 0u);
    EXPECT_EQ(temporaries[1].substr(temporaries[1].size() - 4), ".png");
    EXPECT_EQ(temporaries[0].substr(9, 16), temporaries[1].substr(17, 16)) << "one key for both";
    Pump();
    EXPECT_EQ(WorkshopPublished->publishResult, 1);
    EXPECT_TRUE(CloudNames().empty()) << "the temporary files are removed";
    const std::vector<PublishedFileId_t> published = storage_->PublishedIds();
    ASSERT_EQ(published.size(), 1u);
    WorkshopItem item;
    ASSERT_TRUE(storage_->GetWorkshopItem(published[0], &item));
    EXPECT_EQ(item.title, "Lantern Row");
    EXPECT_EQ(item.content, ReadUserFile("up/mod.zip"));

    RestartPublishedHolder();
    Pump();
    ASSERT_EQ(PublishedModList.size(), 1u);
    EXPECT_EQ(PublishedModList[0].name, "Lantern Row");
    EXPECT_EQ(PublishedModList[0].workshopId, published[0]);
    ASSERT_EQ(WorkshopPublished->files.size(), 1u);

    // An update with new content.
    WriteUserFile("up/mod2.zip", BuildStoredZip({{"mod/mod.xml", ModXml("Lantern Row Again")}}));
    const uint32_t before = item.timeUpdated;
    storage_->updateLog.clear();
    WorkshopPublished->UpdateMod(WorkshopPublished->files[0], UserFile("up/mod2.zip"), preview_, "Lantern Row Again",
                                 "New words");
    Pump();
    EXPECT_EQ(WorkshopPublished->publishResult, 1);
    EXPECT_EQ(storage_->updateLog,
              (std::vector<std::string>{"file", "preview", "title", "description", "tags", "commit"}));
    ASSERT_TRUE(storage_->GetWorkshopItem(published[0], &item));
    EXPECT_EQ(item.title, "Lantern Row Again");
    EXPECT_EQ(item.description, "New words");
    EXPECT_GT(item.timeUpdated, before);
    EXPECT_EQ(item.content, ReadUserFile("up/mod2.zip"));
    EXPECT_TRUE(CloudNames().empty());
}

TEST_F(PublisherTest, AFailedPublicationKeepsItsTemporaryFiles) {
    for (const char* kind : {"publish", "update"}) {
        SCOPED_TRACE(kind);
        SetStoreFaults(ParseStoreFaults(std::string("io-failure ") + kind, "test"));
        if (std::string(kind) == "publish") {
            WorkshopPublished->PublishMod(UserFile("up/mod.zip"), preview_, "Lantern Row", "x");
        } else {
            WorkshopFileEntry entry;
            WorkshopItem item;
            item.title = "Old";
            item.content = "old";
            entry.m_nPublishedFileId = storage_->PutWorkshopItem(item);
            WorkshopPublished->UpdateMod(entry, UserFile("up/mod.zip"), preview_, "Lantern Row", "x");
        }
        Pump();
        EXPECT_EQ(WorkshopPublished->publishResult, 0);
        const std::vector<std::string> names = CloudNames();
        EXPECT_EQ(names.size(), 2u);
        for (const std::string& n : names) storage_->FileDelete(n.c_str());
        SetStoreFaults(StoreFaults());
    }
    // An update of a file the store does not know fails at once.
    WorkshopFileEntry unknown;
    unknown.m_nPublishedFileId = 4242;
    WorkshopPublished->UpdateMod(unknown, UserFile("up/mod.zip"), preview_, "t", "d");
    EXPECT_EQ(WorkshopPublished->publishResult, 0);
}

TEST_F(PublisherTest, ListClicksSelectScrollAndNeedASelection) {
    PublisherState state;
    EXPECT_EQ(PublisherRelease(state, 100, 130), PublisherAction::None);
    EXPECT_EQ(state.selected, -1) << "an empty list selects nothing";
    EXPECT_EQ(PublisherRelease(state, 100, 560), PublisherAction::None) << "page needs a selection";
    EXPECT_EQ(PublisherRelease(state, 500, 560), PublisherAction::None) << "update needs a selection";
    EXPECT_EQ(PublisherRelease(state, 300, 560), PublisherAction::New);
    EXPECT_EQ(PublisherRelease(state, 700, 560), PublisherAction::Exit);
    for (int i = 0; i < 7; ++i) {
        ModRecord m;
        m.name = "P" + std::to_string(i);
        m.workshopId = 100 + i;
        PublishedModList.push_back(m);
    }
    EXPECT_EQ(PublisherRelease(state, 100, 116 + 64 * 2 + 5), PublisherAction::None);
    EXPECT_EQ(state.selected, 2);
    EXPECT_EQ(PublisherRelease(state, 100, 560), PublisherAction::OpenPage);
    EXPECT_EQ(PublisherRelease(state, 500, 560), PublisherAction::Update);
    PublisherRelease(state, 770, 330);
    EXPECT_EQ(state.scroll, 1);
    PublisherRelease(state, 770, 330);
    EXPECT_EQ(state.scroll, 1) << "seven mods: one step down";
    PublisherRelease(state, 100, 116 + 64 * 5 + 5);
    EXPECT_EQ(state.selected, 6);
    PublisherRelease(state, 770, 260);
    EXPECT_EQ(state.scroll, 0);
    EXPECT_EQ(WorkshopPageAddress(106),
              "https://community.vaultmere.invalid/sharedfiles/filedetails/?id=106");
}

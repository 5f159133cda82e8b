#include "platform/Document.h"

#include "platform/ScriptedPlatform.h"
#include "support/DocumentEvents.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <memory>

namespace fenwold {
namespace {

using test::RecordingObserver;

// A document with nothing but the shared file state; its saves answer as told.
class PlainDocument final : public Document {
public:
    explicit PlainDocument(Platform platform) : Document(platform, "Plain - ", "Noname.TXT") {}
    ~PlainDocument() override { NotifyClosing(); }
    bool Save() override { return ++saves, saveWorks; }
    bool SaveAs() override { return ++savesAs, saveWorks; }
    void Name() {
        SetFileName("walk.TXT");
        SetNamedFlag(true);
    }

    int saves = 0;
    int savesAs = 0;
    bool saveWorks = true;
};

class DocumentTest : public ::testing::Test {
protected:
    DocumentTest() : platform(folder.path()) {}

    test::TempFolder folder;
    ScriptedPlatform platform;
};

TEST_F(DocumentTest, ObserversAreToldInTurnAndOneThatLeavesWhileOthersAreToldIsNot) {
    PlainDocument document(platform.Get());
    RecordingObserver first(document);
    auto second = std::make_unique<RecordingObserver>(document);
    RecordingObserver third(document);
    std::vector<int> order;
    first.onEvent = [&](DocumentEvent) { order.push_back(1); };
    second->onEvent = [&](DocumentEvent) { order.push_back(2); };
    third.onEvent = [&](DocumentEvent) { order.push_back(3); };
    document.Notify(DocumentEvent::Repaint);
    EXPECT_EQ(order, (std::vector{1, 2, 3}));
    // The first one closes the second (as a tool window closes another) when told.
    first.onEvent = [&](DocumentEvent) { second.reset(); };
    document.Notify(DocumentEvent::AnimationsReplaced);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(third.Count(DocumentEvent::AnimationsReplaced), 1);
    // An observer may also end its own registration while it is told.
    third.onEvent = [&](DocumentEvent) { third.observation.Reset(); };
    document.Notify(DocumentEvent::Repaint);
    document.Notify(DocumentEvent::Repaint);
    EXPECT_EQ(third.Count(DocumentEvent::Repaint), 2);
    EXPECT_EQ(first.Count(DocumentEvent::Repaint), 3);
}

TEST_F(DocumentTest, ADocumentThatGoesFirstSaysSoAndReleasesItsObservers) {
    RecordingObserver watcher;
    {
        PlainDocument document(platform.Get());
        watcher.observation.Observe(document, watcher);
        EXPECT_EQ(watcher.observation.document(), &document);
    }
    EXPECT_EQ(watcher.events, std::vector{DocumentEvent::Closing});
    EXPECT_EQ(watcher.observation.document(), nullptr);
    watcher.observation.Reset(); // nothing left to leave
}

TEST_F(DocumentTest, ModifiedFlagGoesToTheStatusBarAndChangesAreTold) {
    PlainDocument document(platform.Get());
    RecordingObserver observer(document);
    document.SetModifiedFlag(true);
    EXPECT_TRUE(platform.statusBar.modified);
    document.SetModifiedFlag(true);
    document.SetModifiedFlag(false);
    EXPECT_FALSE(platform.statusBar.modified);
    EXPECT_EQ(observer.Count(DocumentEvent::ModifiedChanged), 2);
}

TEST_F(DocumentTest, TitleQuotesTheFileName) {
    PlainDocument document(platform.Get());
    document.SetTitle("Open - ");
    EXPECT_EQ(document.Title(), "Plain - Open - \"Noname.TXT\"");
    document.Name();
    document.SetTitle("x");
    EXPECT_EQ(document.Title(), "Plain - x\"walk.TXT\"");
}

TEST_F(DocumentTest, SaveQuestionSavesUnderTheNameOrAsksForOne) {
    PlainDocument document(platform.Get());
    EXPECT_TRUE(document.SaveModified()); // nothing to save, nothing asked
    EXPECT_TRUE(platform.prompts.messages.empty());

    document.SetModifiedFlag(true);
    platform.prompts.messageAnswers.push_back(MessageAnswer::Yes);
    EXPECT_TRUE(document.SaveModified());
    EXPECT_EQ(document.savesAs, 1); // without a name: Save As
    EXPECT_EQ(platform.prompts.messages.back().text, "너 \"Noname.TXT\" 파일을 저장 할거냐?");

    document.Name();
    document.saveWorks = false; // a failed or cancelled save keeps the document open
    platform.prompts.messageAnswers.push_back(MessageAnswer::Yes);
    EXPECT_FALSE(document.SaveModified());
    EXPECT_EQ(document.saves, 1);
    platform.prompts.messageAnswers.push_back(MessageAnswer::Cancel);
    EXPECT_FALSE(document.SaveModified());
    platform.prompts.messageAnswers.push_back(MessageAnswer::No);
    EXPECT_TRUE(document.SaveModified());
    EXPECT_EQ(document.saves, 1);
}

} // namespace
} // namespace fenwold

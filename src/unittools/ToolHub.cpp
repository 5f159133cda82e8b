#include "unittools/ToolHub.h"

#include "building/CFenwoldDoc.h"
#include "unit/AnimationDocument.h"

#include <utility>

namespace fenwold {

class ToolHub::FeedRecord final : public DocumentObserver {
public:
    FeedRecord(ToolHub& hub, ToolWindow tool, Feed feed, FeedKind kind, const ToolSource* source,
               Document* document)
        : hub_(hub), tool_(tool), feed_(feed), kind_(kind), source_(source) {
        if (document != nullptr) {
            observation_.Observe(*document, *this);
        }
    }

    FeedKind kind() const { return kind_; }
    const ToolSource* source() const { return source_; }

    // The hub may close the window, and so destroy this record, while it is told: nothing of the
    // record is used after the call.
    void OnDocumentEvent(DocumentEvent event) override {
        hub_.OnFedDocumentEvent(tool_, feed_, event);
    }

private:
    ToolHub& hub_;
    ToolWindow tool_;
    Feed feed_;
    FeedKind kind_;
    const ToolSource* source_;
    DocumentObservation observation_;
};

class ToolHub::FireObserver final : public DocumentObserver {
public:
    FireObserver(ToolHub& hub, Document& document) : hub_(hub), observation_(document, *this) {}
    void OnDocumentEvent(DocumentEvent event) override { hub_.OnFireDocumentEvent(event); }

private:
    ToolHub& hub_;
    DocumentObservation observation_;
};

ToolWindowRegistration& ToolWindowRegistration::operator=(ToolWindowRegistration&& other) noexcept {
    if (this != &other) {
        End();
        hub_ = std::exchange(other.hub_, nullptr);
        tool_ = other.tool_;
        serial_ = other.serial_;
    }
    return *this;
}

void ToolWindowRegistration::End() {
    if (hub_ != nullptr) {
        std::exchange(hub_, nullptr)->Closed(tool_, serial_);
    }
}

bool ToolWindowRegistration::IsOpen() const {
    return hub_ != nullptr && hub_->Slot(tool_).client != nullptr &&
           hub_->Slot(tool_).serial == serial_;
}

ToolHub::ToolHub() = default;

ToolHub::~ToolHub() {
    CloseAll();
}

ToolWindowRegistration ToolHub::Open(ToolWindow tool, ToolWindowClient& client) {
    Close(tool);
    WindowSlot& slot = Slot(tool);
    slot.client = &client;
    slot.serial = nextSerial_++;
    return ToolWindowRegistration(*this, tool, slot.serial);
}

void ToolHub::Close(ToolWindow tool) {
    WindowSlot& slot = Slot(tool);
    ToolWindowClient* client = std::exchange(slot.client, nullptr);
    if (client == nullptr) {
        return;
    }
    slot.serial = 0;
    slot.feeds = {};
    client->CloseWindow();
}

void ToolHub::CloseAll() {
    for (int tool = 0; tool < kToolWindowCount; ++tool) {
        Close(static_cast<ToolWindow>(tool));
    }
}

void ToolHub::Closed(ToolWindow tool, std::uint64_t serial) {
    WindowSlot& slot = Slot(tool);
    if (slot.client == nullptr || slot.serial != serial) {
        return; // the hub closed it already, or another window took its place since
    }
    slot.client = nullptr;
    slot.serial = 0;
    slot.feeds = {};
}

const ToolSource* ToolHub::SourceOf(ToolWindow tool, Feed feed) const {
    const auto& record = Slot(tool).feeds[static_cast<std::size_t>(feed)];
    return record ? record->source() : nullptr;
}

void ToolHub::Record(ToolWindow tool, Feed feed, FeedKind kind, const ToolSource* source,
                     Document* document) {
    Slot(tool).feeds[static_cast<std::size_t>(feed)] =
        std::make_unique<FeedRecord>(*this, tool, feed, kind, source, document);
}

void ToolHub::HandOver(ToolWindow tool, Feed feed, const AnimationHandOver& handOver) {
    ToolWindowClient* client = Client(tool);
    if (client == nullptr) {
        return;
    }
    Record(tool, feed, FeedKind::Animation, handOver.source, handOver.animation.Document());
    if (feed == Feed::Main) {
        client->TakeAnimation(handOver);
    } else {
        client->TakeBackAnimation(handOver);
    }
}

void ToolHub::AnimationClicked(const AnimationHandOver& handOver, bool control) {
    if (auto* building = dynamic_cast<CFenwoldDoc*>(handOver.animation.Document())) {
        // A building's animations play together on its picture.
        HandOverBuilding(ToolWindow::Animation, {building, handOver.source});
        HandOver(ToolWindow::AnimationEdit, Feed::Main, handOver);
        return;
    }
    HandOver(ToolWindow::Animation, control ? Feed::Back : Feed::Main, handOver);
    if (!handOver.toolData) {
        return; // only a unit that holds tool data has sequences, points and boxes to edit
    }
    if (control) {
        HandOver(ToolWindow::OriginPoint, Feed::Back, handOver);
        return;
    }
    HandOver(ToolWindow::CheckBox, Feed::Main, handOver);
    HandOver(ToolWindow::OriginPoint, Feed::Main, handOver);
    HandOver(ToolWindow::AnimationEdit, Feed::Main, handOver);
}

void ToolHub::HandOverPointIndex(ToolWindow tool, int point) {
    if (ToolWindowClient* client = Client(tool)) {
        client->TakePointIndex(point);
    }
}

void ToolHub::Refresh(ToolWindow tool) {
    if (ToolWindowClient* client = Client(tool)) {
        client->Redraw();
    }
}

void ToolHub::HandOverBuilding(ToolWindow tool, const BuildingHandOver& handOver) {
    ToolWindowClient* client = Client(tool);
    if (client == nullptr) {
        return;
    }
    Record(tool, Feed::Main, FeedKind::Building, handOver.source, handOver.building);
    client->TakeBuilding(handOver);
}

bool ToolHub::BuildingClicked(CFenwoldDoc& building, const ToolSource& view) {
    if (!IsOpen(ToolWindow::OriginPoint)) {
        return false;
    }
    HandOverBuilding(ToolWindow::OriginPoint, {&building, &view});
    return true;
}

void ToolHub::ShowRegistered(const RegisteredHandOver& handOver) {
    ToolWindowClient* player = Client(ToolWindow::Animation);
    if (player == nullptr) {
        return;
    }
    Record(ToolWindow::Animation, Feed::Main, FeedKind::Registered, handOver.source, nullptr);
    player->TakeRegistered(handOver);
}

void ToolHub::RegisteredListChanged(const ToolSource& source) {
    for (int tool = 0; tool < kToolWindowCount; ++tool) {
        for (const Feed feed : {Feed::Main, Feed::Back}) {
            const auto& record =
                slots_[static_cast<std::size_t>(tool)].feeds[static_cast<std::size_t>(feed)];
            if (record && record->kind() == FeedKind::Registered && record->source() == &source) {
                Client(static_cast<ToolWindow>(tool))->Forget(feed);
            }
        }
    }
}

void ToolHub::SourceGone(const ToolSource& source) {
    for (int tool = 0; tool < kToolWindowCount; ++tool) {
        const auto window = static_cast<ToolWindow>(tool);
        if (SourceOf(window, Feed::Main) == &source || SourceOf(window, Feed::Back) == &source) {
            Close(window);
        }
    }
    if (fire_.view == &source) {
        ClearFireSource();
    }
}

void ToolHub::OnFedDocumentEvent(ToolWindow tool, Feed feed, DocumentEvent event) {
    ToolWindowClient* client = Client(tool);
    if (client == nullptr) {
        return;
    }
    switch (event) {
    case DocumentEvent::AnimationsReplaced:
        client->Forget(feed);
        break;
    case DocumentEvent::GroupsReplaced:
        client->GroupsReplaced(feed);
        break;
    case DocumentEvent::BuildingRecordReplaced:
        client->ForgetBuildingRecord();
        break;
    case DocumentEvent::Repaint:
        client->Redraw();
        break;
    case DocumentEvent::Closing:
        Close(tool);
        break;
    case DocumentEvent::ModifiedChanged:
        break;
    }
}

void ToolHub::SetFireSource(AnimationDocument& document, const ToolSource& view) {
    fire_.document = &document;
    fire_.view = &view;
    ++fire_.generation;
    fireObserver_ = std::make_unique<FireObserver>(*this, document);
}

void ToolHub::ClearFireSource() {
    fire_.document = nullptr;
    fire_.view = nullptr;
    ++fire_.generation;
    fireObserver_.reset();
}

void ToolHub::OnFireDocumentEvent(DocumentEvent event) {
    if (event == DocumentEvent::AnimationsReplaced) {
        ++fire_.generation; // the same document, new animations: the fire views start again
    } else if (event == DocumentEvent::Closing) {
        ClearFireSource();
    }
}

} // namespace fenwold

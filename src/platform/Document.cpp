#include "platform/Document.h"

#include <algorithm>

namespace fenwold {

void DocumentObservation::Observe(Document& document, DocumentObserver& observer) {
    Reset();
    document_ = &document;
    observer_ = &observer;
    document.observations_.push_back(this);
}

void DocumentObservation::Reset() {
    if (document_ != nullptr) {
        std::erase(document_->observations_, this);
    }
    document_ = nullptr;
    observer_ = nullptr;
}

Document::~Document() {
    for (DocumentObservation* observation : observations_) {
        observation->document_ = nullptr;
        observation->observer_ = nullptr;
    }
}

void Document::Notify(DocumentEvent event) {
    // An observer may end its own or another's registration while it is told (a tool window
    // that closes): each one is looked up again before it is told.
    const std::vector<DocumentObservation*> registered = observations_;
    for (DocumentObservation* observation : registered) {
        if (std::find(observations_.begin(), observations_.end(), observation) !=
            observations_.end()) {
            observation->observer_->OnDocumentEvent(event);
        }
    }
}

void Document::SetTitle(std::string_view text) {
    title_ = titlePrefix_ + std::string(text) + "\"" + fileName_ + "\"" + TitleSuffix();
}

void Document::SetModifiedFlag(bool modified) {
    const bool changed = modified != modified_;
    modified_ = modified;
    platform_.statusBar.SetModifiedIndicator(modified);
    if (changed) {
        Notify(DocumentEvent::ModifiedChanged);
    }
}

bool Document::SaveModified() {
    if (!modified_) {
        return true;
    }
    const std::string question = "너 \"" + fileName_ + "\" 파일을 저장 할거냐?";
    switch (platform_.prompts.ShowMessage(question, MessageButtons::YesNoCancel)) {
    case MessageAnswer::Cancel:
        return false;
    case MessageAnswer::Yes:
        // Closing after a save that did not happen would lose the changes.
        return namedFlag_ ? Save() : SaveAs();
    default:
        return true;
    }
}

} // namespace fenwold

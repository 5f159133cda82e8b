#pragma once

#include "platform/Document.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace fenwold::test {

// Records what a document tells its observers.
class RecordingObserver final : public DocumentObserver {
public:
    RecordingObserver() = default;
    explicit RecordingObserver(Document& document) : observation(document, *this) {}

    void OnDocumentEvent(DocumentEvent event) override {
        events.push_back(event);
        if (onEvent) {
            onEvent(event);
        }
    }
    int Count(DocumentEvent event) const {
        return static_cast<int>(std::count(events.begin(), events.end(), event));
    }

    std::vector<DocumentEvent> events;
    std::function<void(DocumentEvent)> onEvent;
    DocumentObservation observation;
};

} // namespace fenwold::test

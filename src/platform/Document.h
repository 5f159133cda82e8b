#pragma once

#include "platform/FileError.h"
#include "platform/Platform.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fenwold {

// What a document tells the views and windows that show it.
enum class DocumentEvent {
    Repaint,                // something shown changed; draw again
    AnimationsReplaced,     // a new animation list (a compression result, a file read), with
                            // new groups: positions and groups held from the old one mean nothing
    GroupsReplaced,         // a new group list over the same animations: look groups up again
    BuildingRecordReplaced, // the building record was freed or replaced
    ModifiedChanged,        // the modified flag changed
    Closing,                // the document goes away: let go of everything of it
};

class DocumentObserver {
public:
    virtual void OnDocumentEvent(DocumentEvent event) = 0;

protected:
    ~DocumentObserver() = default;
};

class Document;

// An observer's registration with one document, for as long as this object lives. It ends by
// itself when the document goes first, so either may be destroyed first. Observers are told in
// the order they registered; one that unregisters (or is destroyed) while others are being told
// is told nothing more.
class DocumentObservation {
public:
    DocumentObservation() = default;
    DocumentObservation(Document& document, DocumentObserver& observer) {
        Observe(document, observer);
    }
    ~DocumentObservation() { Reset(); }
    DocumentObservation(const DocumentObservation&) = delete;
    DocumentObservation& operator=(const DocumentObservation&) = delete;

    // Ends any earlier registration first.
    void Observe(Document& document, DocumentObserver& observer);
    void Reset();
    // Null once the registration ended.
    Document* document() const { return document_; }

private:
    friend class Document;
    Document* document_ = nullptr;
    DocumentObserver* observer_ = nullptr;
};

// What every document shares: the title, the file name and path, the modified flag (shown in the
// status bar's Modified pane), the question before closing with unsaved changes, reporting file
// errors to the user, and the observers. A concrete document calls NotifyClosing first thing in
// its destructor, while its data is still whole.
class Document {
public:
    Document(Platform platform, std::string_view titlePrefix, std::string defaultFileName)
        : platform_(platform), titlePrefix_(titlePrefix), fileName_(std::move(defaultFileName)) {}
    virtual ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    // 1 once the document was opened from a file or saved under a name.
    bool NamedFlag() const { return namedFlag_; }
    // The name shown in the title and the save question.
    const std::string& FileName() const { return fileName_; }
    const std::string& Title() const { return title_; }
    const std::filesystem::path& PathName() const { return pathName_; }
    // Remembers the file the document belongs to.
    virtual void SetPathName(std::filesystem::path path) { pathName_ = std::move(path); }
    // The title: the prefix, the text, the file name between double quotes, then TitleSuffix.
    void SetTitle(std::string_view text);

    bool IsModified() const { return modified_; }
    // Stores the flag and shows it in the status bar; observers hear of a change.
    void SetModifiedFlag(bool modified);
    // Asked before the document closes: with unsaved changes the user chooses to save (Save, or
    // Save As for a document without a name), to drop them, or to keep the document open. False
    // keeps it open, also when a chosen save was cancelled or failed.
    bool SaveModified();
    // Both return whether the files were written.
    virtual bool Save() = 0;
    virtual bool SaveAs() = 0;

    void Notify(DocumentEvent event);

protected:
    // What follows the quoted file name in the title.
    virtual std::string TitleSuffix() const { return {}; }
    void SetFileName(std::string name) { fileName_ = std::move(name); }
    void SetNamedFlag(bool named) { namedFlag_ = named; }
    // Tells the observers that the document goes; they let go of it at once.
    void NotifyClosing() { Notify(DocumentEvent::Closing); }

    // Runs a file operation; a FileError is shown to the user. Returns whether it succeeded.
    template <typename Operation>
    bool ReportingFileErrors(Operation&& operation) {
        try {
            operation();
            return true;
        } catch (const FileError& error) {
            platform_.prompts.ShowMessage(error.what());
            return false;
        }
    }

    Platform platform_;

private:
    friend class DocumentObservation;

    std::string titlePrefix_;
    std::string fileName_;
    std::string title_;
    std::filesystem::path pathName_;
    bool namedFlag_ = false;
    bool modified_ = false;
    std::vector<DocumentObservation*> observations_;
};

} // namespace fenwold

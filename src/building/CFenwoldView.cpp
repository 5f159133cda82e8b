#include "building/CFenwoldView.h"

#include "building/BuildingDisplay.h"
#include "building/CBuildTeamColourDlg.h"
#include "building/CFenwoldDoc.h"
#include "building/ChildFrameTabs.h"
#include "image/TgaReader.h"
#include "platform/FileNames.h"

#include <CommandIds.h>

namespace fenwold {

CFenwoldView::CFenwoldView(Platform platform, CFenwoldDoc& document, ChildFrameTabs& tabs,
                           CFenwoldViewHost& host, BuildingToolHandOvers& tools)
    : platform_(platform), document_(document), tabs_(tabs), host_(host), tools_(tools),
      observation_(document, *this) {}

CFenwoldView::~CFenwoldView() {
    tools_.SourceGone(*this);
}

void CFenwoldView::OnDocumentEvent(DocumentEvent event) {
    if (event != DocumentEvent::ModifiedChanged && event != DocumentEvent::Closing) {
        host_.Repaint();
    }
}

CommandTable<CFenwoldView> CFenwoldView::ContextMenuCommands() {
    using View = CFenwoldView;
    static constexpr CommandRow<View> kRows[] = {
        {command::kOpenBuilding, "Open Building", nullptr, [](View& view) { view.OpenBuilding(); }},
        // Only into a picture imported here: the mask lines up with where that picture lay.
        {command::kOpenMask, "Open Mask",
         [](const View& view) {
             return view.document_.Record() != nullptr && view.document_.PictureImported();
         },
         [](View& view) { view.OpenMask(); }},
        kSeparatorRow<View>,
        {command::kTeamColourSetting, "Team color &Setting",
         [](const View& view) { return TeamColourSettingEnabled(view.document_); },
         [](View& view) { view.host_.RunTeamColourSetting(); }},
    };
    return kRows;
}

std::vector<MenuItem> CFenwoldView::ContextMenu() const {
    return MenuItemsOf(ContextMenuCommands(), *this);
}

bool CFenwoldView::IsEnabled(int command) const {
    const auto* row = FindCommand(ContextMenuCommands(), command);
    return row != nullptr && row->action != nullptr && IsCommandEnabled(*row, *this);
}

void CFenwoldView::OnCommand(int command) {
    RunCommand(ContextMenuCommands(), *this, command);
}

void CFenwoldView::OpenBuilding() {
    const auto chosen = platform_.prompts.AskOpenFile({.filter = std::string(kPictureFilter)});
    if (!chosen) {
        return;
    }
    // The document frees the old record only after the tool windows let go of it, and says
    // "그림을 읽을수 없다." when nothing could be imported.
    if (document_.ImportPicture(BareNameWithFixedExtension(*chosen, ".TGA"))) {
        tabs_.AddModeTabs();
    }
    host_.Repaint();
}

void CFenwoldView::OpenMask() {
    const auto chosen = platform_.prompts.AskOpenFile({.filter = std::string(kPictureFilter)});
    if (chosen) {
        document_.ImportMask(BareNameWithFixedExtension(*chosen, ".TGA"));
        host_.Repaint();
    }
}

void CFenwoldView::OnLeftButtonDown(int, int) {
    if (document_.Record() != nullptr && tools_.BuildingClicked(document_, *this)) {
        document_.SetModifiedFlag(true);
    }
}

const BuildingViewPicture& CFenwoldView::Picture() {
    const BuildingRecord* record = document_.Record();
    picture_.pixels = BuildingDisplayPicture(document_);
    picture_.width = record != nullptr ? record->width : 0;
    picture_.height = record != nullptr ? record->height : 0;
    picture_.zoom = 1;
    return picture_;
}

} // namespace fenwold

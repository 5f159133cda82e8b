#include "unit/CSetAnimationView.h"

#include "image/PreviewDrawing.h"
#include "image/TgaReader.h"
#include "platform/FileError.h"
#include "platform/FileNames.h"
#include "platform/RecoveryPath.h"
#include "unit/CPropertiesDlg.h"
#include "unit/CSetLookupTableDlg.h"
#include "unit/CTempBufferDlg.h"
#include "unit/CVqComputeDlg.h"
#include "unit/RunLengthUnitFile.h"
#include "unit/ToolDataFile.h"
#include "unit/UnitDoc.h"

#include <CommandIds.h>
#include <algorithm>
#include <iterator>
#include <numeric>

namespace fenwold {
CSetAnimationView::CSetAnimationView(Platform platform, RegistrationViewHost& host,
                                     ToolHandOvers& tools, CUnitDoc& unit)
    : platform_(platform), host_(host), tools_(tools), unit_(&unit) {
    Relayout();
}

CSetAnimationView::CSetAnimationView(Platform platform, RegistrationViewHost& host,
                                     ToolHandOvers& tools, BuildingRegistration building)
    : platform_(platform), host_(host), tools_(tools),
      building_(std::make_unique<BuildingRegistration>(std::move(building))) {
    Relayout();
}

CSetAnimationView::~CSetAnimationView() {
    tools_.SourceGone(*this);
    // The building must not keep a list that is about to be freed.
    if (building_) {
        building_->setRegisteredAnimations(nullptr);
    }
}

void CSetAnimationView::SetClientSize(int width, int height) {
    grid_.SetClientSize(width, height);
    Relayout();
}

void CSetAnimationView::Relayout() {
    // After deletions the start may lie past the end: nothing would be drawn, nothing could be
    // hovered, and Properties, which needs a hovered animation, could never move it back.
    firstDrawn_ = std::clamp(firstDrawn_, 0, std::max(RegisteredCount() - 1, 0));
    std::vector<GridItem> items;
    for (const RegisteredAnimation& animation : animations_) {
        items.push_back(
            {animation.width, animation.height, static_cast<int>(animation.frames.size())});
    }
    grid_.Layout(items, firstDrawn_);
}

void CSetAnimationView::Refresh() {
    Relayout();
    host_.Repaint();
}

Document& CSetAnimationView::OwnDocument() {
    return building_ ? static_cast<Document&>(building_->document) : *unit_;
}

void CSetAnimationView::RegistrationChanged() {
    registrationKept_ = false;
    TellUnkeptRegistrations();
    OwnDocument().SetModifiedFlag(true);
}

void CSetAnimationView::RegistrationKept() {
    registrationKept_ = true;
    TellUnkeptRegistrations();
}

void CSetAnimationView::TellUnkeptRegistrations() {
    if (unit_ != nullptr) {
        unit_->SetUnkeptRegistrations(registrationKept_ ? 0 : RegisteredCount());
    }
}

std::vector<const RegisteredAnimation*> CSetAnimationView::Order() const {
    std::vector<const RegisteredAnimation*> order;
    for (const RegisteredAnimation& animation : animations_) {
        order.push_back(&animation);
    }
    return order;
}

CSetAnimationView::Iterator CSetAnimationView::Hovered() {
    const int position = grid_.HoveredItem();
    if (position < 0 || position >= RegisteredCount()) {
        return animations_.end();
    }
    return std::next(animations_.begin(), position);
}

CSetAnimationView::ConstIterator CSetAnimationView::Hovered() const {
    return const_cast<CSetAnimationView*>(this)->Hovered();
}

// Each cell names an animation and a frame by position; a cell whose animation or frame is gone
// (the layout is older than the list) draws nothing.
template <typename Draw>
void CSetAnimationView::ForEachVisibleFrame(Draw&& draw) const {
    std::vector<ConstIterator> animations;
    for (auto it = animations_.begin(); it != animations_.end(); ++it) {
        animations.push_back(it);
    }
    for (const GridCell& cell : grid_.Cells()) {
        if (cell.item >= static_cast<int>(animations.size()) || !grid_.IsVisible(cell)) {
            continue;
        }
        const ConstIterator animation = animations[static_cast<std::size_t>(cell.item)];
        if (cell.index < static_cast<int>(animation->frames.size())) {
            draw(cell, animation, animation->frames[static_cast<std::size_t>(cell.index)]);
        }
    }
}

std::vector<FramePicture> CSetAnimationView::RenderVisibleFrames() const {
    std::vector<FramePicture> pictures;
    ForEachVisibleFrame([&](const GridCell& cell, ConstIterator animation,
                            const RegisteredFrame& frame) {
        const int width = animation->width;
        const int height = animation->height;
        FramePicture picture{cell.x, grid_.WindowY(cell), width, height,
                             std::vector<Pixel555>(static_cast<std::size_t>(width) *
                                                   static_cast<std::size_t>(height))};
        DrawFrame(width, height, 0, 0, width, height, picture.pixels, frame.pixelStream,
                  frame.alphaStream);
        if (!frame.maskStream.empty()) {
            DrawMaskOverlay(width, height, 0, 0, width, height, picture.pixels, frame.maskStream);
        }
        pictures.push_back(std::move(picture));
    });
    return pictures;
}

void CSetAnimationView::PaintOverlays(WindowPainter& window) const {
    ForEachVisibleFrame([&](const GridCell& cell, ConstIterator animation, const RegisteredFrame&) {
        grid_.DrawOutline(window, cell, grid_.OutlineColour(cell));
        const int x = cell.x;
        const int y = grid_.WindowY(cell);
        if (animation == change_) {
            DrawTextLabel(window, x, y, "C", kPendingLabelText, kPendingLabelBackground);
        } else if (animation == hold_) {
            DrawTextLabel(window, x, y, "H", kPendingLabelText, kPendingLabelBackground);
        } else {
            DrawNumberLabel(window, x, y, cell.item, FrameGrid::kPositionLabelText,
                            FrameGrid::kLabelBackground);
        }
        if (animation->groupNumber != -1) {
            DrawNumberLabel(window, x, y + FrameGrid::kGroupLabelOffset, animation->groupNumber,
                            FrameGrid::kGroupLabelText, FrameGrid::kLabelBackground);
        }
    });
}

void CSetAnimationView::OnMouseMove(int x, int y, WindowPainter& window) {
    grid_.MoveHover(x, y, window);
}

void CSetAnimationView::OnLeftButtonDown() {
    const Iterator hovered = Hovered();
    if (hovered != animations_.end() && !IsPending()) {
        tools_.ShowRegistered({&animations_, grid_.HoveredItem(), this});
    }
    if (change_ == animations_.end() && hold_ == animations_.end()) {
        return;
    }
    const auto before = Order();
    if (change_ != animations_.end()) {
        ExchangeAnimations(animations_, change_, hovered);
        change_ = animations_.end();
    } else {
        MoveAnimationAfter(animations_, hold_, hovered);
        hold_ = animations_.end();
    }
    // The hover stays with the animation it was on, wherever the edit moved it.
    if (hovered != animations_.end()) {
        grid_.SetHover(static_cast<int>(std::distance(animations_.begin(), hovered)),
                       grid_.HoveredIndex());
    }
    tools_.RegisteredListChanged(*this);
    if (Order() != before) {
        RegistrationChanged();
    }
    Refresh();
}

CommandTable<CSetAnimationView> CSetAnimationView::ContextMenuCommands() {
    using View = CSetAnimationView;
    constexpr auto hovered = [](const View& view) { return view.IsHovered(); };
    constexpr auto hoveredNothingPending = [](const View& view) {
        return view.IsHovered() && !view.IsPending();
    };
    static constexpr CommandRow<View> kRows[] = {
        {command::kRegistrationAni, "&Registration Ani", nullptr,
         [](View& view) { view.RegisterImageSeries(); }},
        {command::kRegistrationMask, "Registration &Mask",
         [](const View& view) { return !view.animations_.empty(); },
         [](View& view) { view.RegisterMaskSeries(); }},
        {command::kAddAnimation, "&Add Animation", nullptr,
         [](View& view) { view.AddAnimation(); }},
        {command::kAddMask, "&Add Mask", hovered, [](View& view) { view.AddMask(); }},
        {command::kChangeAnimation, "&Change Animation",
         [](const View& view) { return view.IsHovered() && view.hold_ == view.animations_.end(); },
         [](View& view) { view.ToggleChange(); },
         [](const View& view) -> std::string_view {
             return view.change_ != view.animations_.end() ? "&Change Cancel" : "&Change Animation";
         }},
        {command::kHoldAnimation, "&Hold Animation",
         [](const View& view) {
             return view.IsHovered() && view.change_ == view.animations_.end();
         },
         [](View& view) { view.ToggleHold(); },
         [](const View& view) -> std::string_view {
             return view.hold_ != view.animations_.end() ? "&Hold Cancel" : "&Hold Animation";
         }},
        {command::kDeleteAnimation, "&Delete Animation", hoveredNothingPending,
         [](View& view) { view.DeleteHoveredAnimation(); }},
        // Offered in the menu, but frames are never deleted one by one.
        {command::kDeleteFrame, "Delete Frame", hoveredNothingPending, [](View&) {}},
        {command::kVqCompute, "VQ &Compute",
         [](const View& view) { return !view.runLengthFileLoaded_; },
         [](View& view) { view.ComputeVq(); }},
        {command::kSetTempBuffer, "Set Temp &Buffer", hovered,
         [](View& view) { view.SetTempBuffer(); }},
        {command::kProperties, "&Properties", hovered, [](View& view) { view.ShowProperties(); }},
    };
    return kRows;
}

CommandTable<CSetAnimationView> CSetAnimationView::FileMenuCommands() {
    static constexpr CommandRow<CSetAnimationView> kRows[] = {
        {command::kSaveUre, "Save &URE", nullptr,
         [](CSetAnimationView& view) { view.SaveRunLengthFile(); }},
    };
    return kRows;
}

const CommandRow<CSetAnimationView>* CSetAnimationView::FindRow(int command) const {
    const auto* row = FindCommand(ContextMenuCommands(), command);
    return row != nullptr ? row : FindCommand(FileMenuCommands(), command);
}

std::vector<MenuItem> CSetAnimationView::ContextMenu() const {
    return MenuItemsOf(ContextMenuCommands(), *this);
}

bool CSetAnimationView::IsEnabled(int command) const {
    const auto* row = FindRow(command);
    return row != nullptr && IsCommandEnabled(*row, *this);
}

std::string CSetAnimationView::MenuText(int command) const {
    const auto* row = FindRow(command);
    return row != nullptr ? CommandText(*row, *this) : std::string();
}

void CSetAnimationView::OnCommand(int command) {
    const auto* row = FindRow(command);
    if (row != nullptr && IsCommandEnabled(*row, *this)) {
        row->action(*this);
    }
}

void CSetAnimationView::ShowListToBuilding() {
    if (building_) {
        building_->setRegisteredAnimations(&animations_);
    }
}

void CSetAnimationView::RegisterImageSeries() {
    const auto chosen = host_.RunAnimationRegistry();
    if (!chosen) {
        return;
    }
    const std::size_t animationsBefore = animations_.size();
    const std::int32_t framesBefore = loader_.frameCounter();
    const std::size_t groupsBefore = groups_.size();
    {
        const ProgressScope progress = loader_.ImageProgress(chosen->totalFileCount);
        if (chosen->setGroup) {
            // A series the loader refuses adds no animation and is not counted, so that the
            // groups after it still take their own animations.
            std::vector<std::size_t> added;
            for (const auto& group : chosen->groups) {
                const std::size_t before = animations_.size();
                loader_.LoadImageSeriesList(group);
                added.push_back(animations_.size() - before);
            }
            // Each group's members are the animations its series added, at the end of the list;
            // group numbers go on from the groups registered before.
            auto member =
                std::prev(animations_.end(), static_cast<std::ptrdiff_t>(std::accumulate(
                                                 added.begin(), added.end(), std::size_t{0})));
            for (const std::size_t count : added) {
                const auto number = static_cast<std::int32_t>(groups_.size());
                RegistrationGroup& group = groups_.emplace_back();
                for (std::size_t i = 0; i < count; ++i, ++member) {
                    member->groupNumber = number;
                    group.members.push_back(&*member);
                }
            }
        } else {
            loader_.LoadImageSeriesList(chosen->series);
            ShowListToBuilding();
        }
    }
    if (animations_.size() != animationsBefore || groups_.size() != groupsBefore) {
        RegistrationChanged();
    }
    ReportRegistered(animationsBefore, framesBefore);
    Refresh();
}

void CSetAnimationView::ReportRegistered(std::size_t animationsBefore, std::int32_t framesBefore) {
    const std::size_t added = animations_.size() - animationsBefore;
    platform_.statusBar.ShowMessage(
        "Registered " + std::to_string(added) + (added == 1 ? " animation (" : " animations (") +
        std::to_string(loader_.frameCounter() - framesBefore) + " frames).");
}

void CSetAnimationView::RegisterMaskSeries() {
    const auto chosen = host_.RunAnimationRegistry();
    if (!chosen) {
        return;
    }
    loader_.StartMasksAtFirstAnimation();
    int masked = 0;
    {
        const ProgressScope progress = loader_.MaskProgress(chosen->totalFileCount);
        if (chosen->setGroup) {
            for (const auto& group : chosen->groups) {
                masked += loader_.LoadMaskSeriesList(group);
            }
        } else {
            masked += loader_.LoadMaskSeriesList(chosen->series);
        }
    }
    if (masked > 0) {
        RegistrationChanged();
    }
    ReportMasked(masked);
    Refresh();
}

void CSetAnimationView::ReportMasked(int animations) {
    platform_.statusBar.ShowMessage("Masks added to " + std::to_string(animations) +
                                    (animations == 1 ? " animation." : " animations."));
}

void CSetAnimationView::AddAnimation() {
    const PictureSeries series = host_.RunFileSpecial(
        {.filter = std::string(kPictureFilter), .title = std::string(kFileSpecialTitle)});
    if (series.names.empty()) {
        return;
    }
    const std::size_t animationsBefore = animations_.size();
    const std::int32_t framesBefore = loader_.frameCounter();
    bool added = false;
    {
        const ProgressScope progress = loader_.ImageProgress(static_cast<int>(series.names.size()));
        added = loader_.LoadImageSeries(series);
    }
    ShowListToBuilding();
    if (added) {
        RegistrationChanged();
    }
    ReportRegistered(animationsBefore, framesBefore);
    Refresh();
}

void CSetAnimationView::AddMask() {
    const PictureSeries series = host_.RunFileSpecial(
        {.filter = std::string(kPictureFilter), .title = std::string(kFileSpecialTitle)});
    if (series.names.empty()) {
        return;
    }
    bool added = false;
    {
        const ProgressScope progress = loader_.MaskProgress(static_cast<int>(series.names.size()));
        // The series was listed for this one animation: another count is another animation's.
        added = loader_.LoadMaskSeries(series, *Hovered(), FrameSetLoader::MaskCount::Exact);
    }
    if (added) {
        RegistrationChanged();
    }
    ReportMasked(added ? 1 : 0);
    Refresh();
}

void CSetAnimationView::ToggleChange() {
    change_ = change_ != animations_.end() ? animations_.end() : Hovered();
    host_.Repaint();
}

void CSetAnimationView::ToggleHold() {
    hold_ = hold_ != animations_.end() ? animations_.end() : Hovered();
    host_.Repaint();
}

void CSetAnimationView::DeleteHoveredAnimation() {
    const Iterator hovered = Hovered();
    RegisteredAnimation* doomed = &*hovered;
    tools_.RegisteredListChanged(*this);
    // A group lets go of its member, so that the member counts keep matching the list.
    for (RegistrationGroup& group : groups_) {
        std::erase(group.members, doomed);
    }
    animations_.erase(hovered);
    grid_.ClearHover();
    RegistrationChanged();
    Refresh();
}

void CSetAnimationView::ComputeVq() {
    if (animations_.empty()) {
        platform_.prompts.ShowMessage(kNothingRegistered);
        return;
    }
    CSetLookupTableDlg settings;
    if (!host_.RunLookupTableDialog(settings)) {
        return;
    }
    CompressionParameters parameters;
    parameters.lookupTableSize = settings.lookupTableSize;
    parameters.sampling = settings.sampling;
    parameters.noLbg = settings.noLbg;
    parameters.weightMode = settings.weightMode;
    parameters.refinePasses = settings.PassesToRun();
    CompressionResultSink& sink =
        building_ ? building_->document : static_cast<CompressionResultSink&>(*unit_);
    CVqComputeDlg compute(animations_, parameters, sink, platform_);
    if (!host_.RunVqComputeDialog(compute)) {
        return;
    }
    // The compressed animations now hold what was registered.
    RegistrationKept();
    const UnitData& compressed = building_ ? building_->document.Animations() : unit_->Animations();
    platform_.statusBar.ShowMessage(
        "VQ Compute done: " + std::to_string(compressed.AnimationCount()) + " animations, " +
        std::to_string(compressed.TotalFrameCount()) + " frames, " +
        std::to_string(compressed.codebook.Size()) + " lookup table entries.");
    if (building_) {
        return;
    }
    // The unit's animations are the registered ones in list order.
    std::vector<std::vector<std::int32_t>> memberPositions;
    for (const RegistrationGroup& group : groups_) {
        auto& positions = memberPositions.emplace_back();
        for (const RegisteredAnimation* member : group.members) {
            const auto at =
                std::find_if(animations_.begin(), animations_.end(),
                             [&](const RegisteredAnimation& a) { return &a == member; });
            positions.push_back(static_cast<std::int32_t>(std::distance(animations_.begin(), at)));
        }
    }
    unit_->RebuildGroupsAt(memberPositions);
    unit_->SetQualityText(compute.QualitySummary());
    // A copy to a fixed place, so that a compression survives a crash before the first save.
    try {
        WriteToolData(unit_->Data(), RecoveryToolDataPath());
    } catch (const FileError& error) {
        platform_.prompts.ShowMessage(error.what());
    }
}

void CSetAnimationView::SetTempBuffer() {
    RegisteredAnimation& hovered = *Hovered();
    CTempBufferDlg dialog;
    dialog.values = hovered.tempBuffer;
    if (host_.RunTempBufferDialog(dialog) && dialog.values != hovered.tempBuffer) {
        hovered.tempBuffer = dialog.values;
        RegistrationChanged();
    }
}

void CSetAnimationView::ShowProperties() {
    CPropertiesDlg dialog{.animationCount = loader_.animationCount(),
                          .totalFrameCount = loader_.frameCounter(),
                          .startAnimation = firstDrawn_,
                          .height = Hovered()->height,
                          .width = Hovered()->width,
                          .codebookSize = 0};
    if (host_.RunPropertiesDialog(dialog)) {
        firstDrawn_ = dialog.startAnimation;
        Refresh();
    }
}

void CSetAnimationView::SaveRunLengthFile() {
    const auto chosen = platform_.prompts.AskSaveFile({.filter = kRunLengthUnitFilter});
    if (!chosen) {
        return;
    }
    try {
        WriteRunLengthUnitFile(platform_.folder.Locate(BareNameWithFixedExtension(*chosen, ".URE")),
                               animations_);
        RegistrationKept();
    } catch (const FileError&) {
        // The file is written whole or not at all, so any failure leaves no file.
        platform_.prompts.ShowMessage(kSaveFailed);
    }
}

bool CSetAnimationView::OpenRunLengthFile(const std::filesystem::path& path) {
    RegisteredAnimations read;
    try {
        read = ReadRunLengthUnitFile(platform_.folder.Locate(path));
    } catch (const FileError& error) {
        platform_.prompts.ShowMessage(error.what());
        return false;
    }
    animations_.splice(animations_.end(), read);
    runLengthFileLoaded_ = true;
    // Kept by that file, unless other registrations were not kept before.
    TellUnkeptRegistrations();
    Refresh();
    return true;
}

} // namespace fenwold

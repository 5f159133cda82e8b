#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace fenwold {

// One item of a menu as a window shows it: its command id (resources/CommandIds.h), its text and
// whether it can be chosen.
struct MenuItem {
    int command = 0;
    std::string text;
    bool enabled = false;
    bool checked = false;
};

// One row of a window's menu: the command, its text, when it is enabled and what it does. The
// rows of one menu, in menu order, make its table; the window's Qt side turns them into a menu and
// hands the chosen id back. `enabled` null means always; `changingText`, when set, gives the text
// instead of `text` (a command whose text follows the window's state); `checked`, when set, says
// when the item carries a check mark.
template <typename Owner>
struct CommandRow {
    int command;
    std::string_view text;
    bool (*enabled)(const Owner&);
    void (*action)(Owner&);
    std::string_view (*changingText)(const Owner&) = nullptr;
    bool (*checked)(const Owner&) = nullptr;
};

template <typename Owner>
using CommandTable = std::span<const CommandRow<Owner>>;

// A separator between a menu's groups of rows: command 0 with no action. MenuItemsOf gives it as
// an item of command 0, never enabled, and RunCommand never runs it.
template <typename Owner>
inline constexpr CommandRow<Owner> kSeparatorRow{0, "", [](const Owner&) { return false; },
                                                 nullptr};

template <typename Owner>
const CommandRow<Owner>* FindCommand(CommandTable<Owner> table, int command) {
    for (const CommandRow<Owner>& row : table) {
        if (row.command == command) {
            return &row;
        }
    }
    return nullptr;
}

template <typename Owner>
bool IsCommandEnabled(const CommandRow<Owner>& row, const Owner& owner) {
    return row.enabled == nullptr || row.enabled(owner);
}

template <typename Owner>
std::string CommandText(const CommandRow<Owner>& row, const Owner& owner) {
    return std::string(row.changingText != nullptr ? row.changingText(owner) : row.text);
}

// The menu as the window shows it now.
template <typename Owner>
std::vector<MenuItem> MenuItemsOf(CommandTable<Owner> table, const Owner& owner) {
    std::vector<MenuItem> items;
    for (const CommandRow<Owner>& row : table) {
        items.push_back({row.command, CommandText(row, owner), IsCommandEnabled(row, owner),
                         row.checked != nullptr && row.checked(owner)});
    }
    return items;
}

// Runs the command when the table holds it and it is enabled; returns whether it ran.
template <typename Owner>
bool RunCommand(CommandTable<Owner> table, Owner& owner, int command) {
    const CommandRow<Owner>* row = FindCommand(table, command);
    if (row == nullptr || row->action == nullptr || !IsCommandEnabled(*row, owner)) {
        return false;
    }
    row->action(owner);
    return true;
}

} // namespace fenwold

#pragma once
// A table of commands: numeric id -> what runs and when it is enabled (and,
// for toggles and radio items, when it is checked). The frame and each view
// keep one; the frame routes an id to the active view's table first, then
// to its own, and evaluates every rule again after each command.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace mirel {

struct Command {
    int id = 0;
    std::string text; // the menu text, UTF-8 (may be empty)
    std::function<void()> run;
    std::function<bool()> enabled; // none: always enabled
    std::function<bool()> checked; // none: not a check item
};

// The evaluated state of one command.
struct CommandState {
    bool enabled = false;
    std::optional<bool> checked;
    friend bool operator==(const CommandState&, const CommandState&) = default;
};

class CommandTable {
public:
    // Adds or replaces the command with this id.
    void Add(Command command);
    void Remove(int id);
    bool Has(int id) const { return commands_.count(id) != 0; }
    const Command* Find(int id) const;

    bool IsEnabled(int id) const; // false for an unknown id
    std::optional<bool> IsChecked(int id) const;
    CommandState State(int id) const;

    // Runs the command when it exists and is enabled; false otherwise.
    bool Execute(int id) const;

    std::vector<int> Ids() const;

private:
    std::map<int, Command> commands_;
};

} // namespace mirel

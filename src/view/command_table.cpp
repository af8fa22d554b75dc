#include "view/command_table.h"

namespace mirel {

void CommandTable::Add(Command command)
{
    const int id = command.id;
    commands_[id] = std::move(command);
}

void CommandTable::Remove(int id)
{
    commands_.erase(id);
}

const Command* CommandTable::Find(int id) const
{
    const auto it = commands_.find(id);
    return it == commands_.end() ? nullptr : &it->second;
}

bool CommandTable::IsEnabled(int id) const
{
    const Command* c = Find(id);
    return c && (!c->enabled || c->enabled());
}

std::optional<bool> CommandTable::IsChecked(int id) const
{
    const Command* c = Find(id);
    if (!c || !c->checked)
        return std::nullopt;
    return c->checked();
}

CommandState CommandTable::State(int id) const
{
    return { IsEnabled(id), IsChecked(id) };
}

bool CommandTable::Execute(int id) const
{
    const Command* c = Find(id);
    if (!c || (c->enabled && !c->enabled()) || !c->run)
        return false;
    // The command may change the table (a view that goes away): run a copy.
    const std::function<void()> run = c->run;
    run();
    return true;
}

std::vector<int> CommandTable::Ids() const
{
    std::vector<int> ids;
    ids.reserve(commands_.size());
    for (const auto& [id, c] : commands_)
        ids.push_back(id);
    return ids;
}

} // namespace mirel

// The command table: running, enabling and checking by id.
#include "view/command_table.h"

#include <gtest/gtest.h>

namespace mirel {
namespace {

TEST(CommandTableTest, RunsOnlyEnabledKnownCommands)
{
    CommandTable table;
    int runs = 0;
    bool allowed = false;
    table.Add({ 100, "x", [&] { ++runs; }, [&] { return allowed; }, nullptr });
    table.Add({ 200, "y", [&] { runs += 10; }, nullptr, nullptr });

    EXPECT_FALSE(table.Execute(100));
    EXPECT_FALSE(table.Execute(300));
    EXPECT_TRUE(table.Execute(200));
    EXPECT_EQ(runs, 10);
    allowed = true;
    EXPECT_TRUE(table.Execute(100));
    EXPECT_EQ(runs, 11);
    EXPECT_EQ(table.State(100), (CommandState { true, std::nullopt }));
    EXPECT_EQ(table.State(300), (CommandState { false, std::nullopt }));
}

TEST(CommandTableTest, CheckedRulesAndReplacement)
{
    CommandTable table;
    int style = 1;
    for (int i = 0; i < 3; ++i)
        table.Add({ 10 + i, {}, [&, i] { style = i; }, nullptr, [&, i] { return style == i; } });
    EXPECT_EQ(table.IsChecked(11), true);
    EXPECT_EQ(table.IsChecked(10), false);
    table.Execute(12);
    EXPECT_EQ(table.IsChecked(12), true);
    EXPECT_EQ(table.IsChecked(11), false);
    // A later Add with the same id replaces the command.
    table.Add({ 12, {}, [&] { style = 7; }, [] { return false; }, nullptr });
    EXPECT_FALSE(table.Execute(12));
    EXPECT_FALSE(table.IsChecked(12).has_value());
    table.Remove(12);
    EXPECT_FALSE(table.Has(12));
    EXPECT_EQ(table.Ids(), (std::vector<int> { 10, 11 }));
}

TEST(CommandTableTest, ACommandMayRemoveItself)
{
    CommandTable table;
    int runs = 0;
    table.Add({ 1, {},
        [&] {
            ++runs;
            table.Remove(1);
        },
        nullptr, nullptr });
    EXPECT_TRUE(table.Execute(1));
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(table.Has(1));
}

} // namespace
} // namespace mirel

#include "app/form/MainFormEvents.h"
#include "platform/Product.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/ScriptedConnection.h"

#include <gtest/gtest.h>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
class MainFormEventsTest : public ::testing::Test {
protected:
    RecordingWindow window;
    std::shared_ptr<ConnectionScript> script = std::make_shared<ConnectionScript>();
    MainFormEvents events{window, window, ScriptedConnection::Factory(script), EmberlineInstance()};

    void SetUp() override
    {
        script->log = &window.calls;
        script->catalogResult = CatalogRows({{"master", "1"}, {"Emberline", "0"}, {"A,B", "0"}});
    }
};
} // namespace

TEST_F(MainFormEventsTest, LoadEmptiesTheListThenAddsTheOfferedNamesInOrder)
{
    window.items = {"stale"};
    window.text = "typed";
    events.Form_Load();
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"Clear", "cn1.New", "cn1.Open(master)",
                                        "cn1.CommandTimeout", "cn1.Execute", "cn1.Close",
                                        "cn1.Release", "AddItem(Emberline)", "AddItem(A,B)"}));
    EXPECT_EQ(window.text, "");
}

TEST_F(MainFormEventsTest, PressRunsOnTheTextAsTypedAndLeavesTheListAlone)
{
    events.Form_Load();
    window.calls.clear();
    window.text = " Emberline ";
    script->openLeavesClosed = true;
    events.cmdUpdate_Click();

    ASSERT_EQ(script->opened.size(), 2u);
    EXPECT_EQ(script->opened[1].database, " Emberline ");
    EXPECT_EQ(window.Messages(), std::vector<std::string>{MsgBoxCall("Could not open the database.",
                                                                     48, "Database Error")});
    EXPECT_EQ(window.text, " Emberline ");
    EXPECT_EQ(window.items, (std::vector<std::string>{"Emberline", "A,B"}));
}

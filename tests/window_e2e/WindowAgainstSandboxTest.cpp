#include "app/qt/frmMain.h"
#include "discovery/OfferedDatabases.h"
#include "platform/Product.h"
#include "platform/odbc/OdbcConnection.h"
#include "tests/app/qt/MessageBoxWatcher.h"
#include "tests/app/qt/QtPrinting.h"
#include "tests/support/Sandbox.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
ConnectionFactory Odbc()
{
    return [] { return std::make_unique<odbc::OdbcConnection>(); };
}

std::vector<std::string> Offered() { return OfferedDatabases(Odbc(), EmberlineInstance()); }

class WindowAgainstSandbox : public ::testing::Test {
protected:
    void TearDown() override { sandbox.Restore(); }

    static std::vector<QString> Items(const QComboBox& combo)
    {
        std::vector<QString> items;
        for (int i = 0; i < combo.count(); ++i)
            items.push_back(combo.itemText(i));
        return items;
    }

    Sandbox sandbox;
    MessageBoxWatcher boxes;
};
} // namespace

TEST_F(WindowAgainstSandbox, OffersUserDatabasesOnlyAndKeepsNamesWhole)
{
    const std::string folder =
        sandbox.ServeCopiesOfEmberline({"Emberline", "EmberlineSupport", "EmberlineSupport2",
                                        "Emberline Training", "Sales, East", "Publishing"});
    ASSERT_TRUE(std::ofstream(folder + "/Publishing.distribution"));

    EXPECT_EQ(Offered(), (std::vector<std::string>{"Emberline", "Emberline Training",
                                                   "EmberlineSupport2", "Sales, East"}));
}

TEST_F(WindowAgainstSandbox, OffersTheSupportNameInOtherLetterCase)
{
    sandbox.ServeCopiesOfEmberline({"emberlinesupport"});
    EXPECT_EQ(Offered(), std::vector<std::string>{"emberlinesupport"});
}

TEST_F(WindowAgainstSandbox, RefusedLoginLeavesTheListEmptyWithoutAMessage)
{
    sandbox.Control(R"({"cmd": "faults", "faults": {"refuse_logins": true}})");
    frmMain window(Odbc(), EmberlineInstance());
    EXPECT_EQ(window.findChild<QComboBox*>("cboDatabase")->count(), 0);
    QApplication::processEvents();
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(WindowAgainstSandbox, WindowIsUpWithinASecondWhenNothingAnswers)
{
    sandbox.Control(R"({"cmd": "stop"})");
    QElapsedTimer clock;
    clock.start();
    frmMain window(Odbc(), EmberlineInstance());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(window.findChild<QComboBox*>("cboDatabase")->count(), 0);
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(WindowAgainstSandbox, UpdatesTheChosenSampleDatabase)
{
    sandbox.ServeCopiesOfEmberline(
        {"Emberline", "Emberline Training", "EmberlineArchive", "EmberlineSupport"});
    frmMain window(Odbc(), EmberlineInstance());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* combo = window.findChild<QComboBox*>("cboDatabase");
    EXPECT_EQ(Items(*combo),
              (std::vector<QString>{"Emberline", "Emberline Training", "EmberlineArchive"}));
    combo->setCurrentIndex(combo->findText(QStringLiteral("Emberline")));
    QTest::mouseClick(window.findChild<QPushButton*>("cmdUpdate"), Qt::LeftButton);

    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].title, "Congratulations");
    EXPECT_EQ(boxes.seen[0].text, "Update successful.");
}

#include "DatabaseList.h"
#include "MessageBoxWatcher.h"
#include "OdbcConnection.h"
#include "QtPrinting.h"
#include "SandboxInstance.h"
#include "frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
ConnectionFactory Odbc()
{
    return [] { return std::make_unique<odbc::OdbcConnection>(); };
}

class WindowAgainstSandbox : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sandbox.Problem().isEmpty()) << sandbox.Problem().toStdString();
    }
    void TearDown() override { EXPECT_TRUE(sandbox.Restore()); }

    // Serves a data folder of copies of the sample Emberline database with these names.
    void ServeDatabases(const QString& folder, std::initializer_list<const char*> names)
    {
        const QString data = sandbox.NewDataDir(folder);
        for (const char* name : names)
            ASSERT_TRUE(sandbox.AddDatabase(data, QString::fromUtf8(name))) << name;
        ASSERT_TRUE(sandbox.ServeFrom(data));
        dataDir = data;
    }

    static std::vector<QString> Items(const QComboBox& combo)
    {
        std::vector<QString> items;
        for (int i = 0; i < combo.count(); ++i)
            items.push_back(combo.itemText(i));
        return items;
    }

    SandboxInstance sandbox;
    QString dataDir;
    MessageBoxWatcher boxes;
};
} // namespace

TEST_F(WindowAgainstSandbox, OffersUserDatabasesOnlyAndKeepsNamesWhole)
{
    ServeDatabases(QStringLiteral("names"), {"Emberline", "EmberlineSupport", "EmberlineSupport2",
                                             "Emberline Training", "Sales, East", "Publishing"});
    QFile marker(dataDir + QStringLiteral("/Publishing.distribution"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));

    EXPECT_EQ(GetDatabaseNames(Odbc()),
              (std::vector<std::string>{"Emberline", "Emberline Training", "EmberlineSupport2",
                                        "Sales, East"}));
}

TEST_F(WindowAgainstSandbox, OffersTheSupportNameInOtherLetterCase)
{
    ServeDatabases(QStringLiteral("lower"), {"emberlinesupport"});
    EXPECT_EQ(GetDatabaseList(Odbc()), "emberlinesupport");
}

TEST_F(WindowAgainstSandbox, RefusedLoginLeavesTheListEmptyWithoutAMessage)
{
    ASSERT_TRUE(sandbox.Control(R"({"cmd": "faults", "faults": {"refuse_logins": true}})"));
    frmMain window(Odbc());
    EXPECT_EQ(window.findChild<QComboBox*>("cboDatabase")->count(), 0);
    QApplication::processEvents();
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(WindowAgainstSandbox, WindowIsUpWithinASecondWhenNothingAnswers)
{
    ASSERT_TRUE(sandbox.Control(R"({"cmd": "stop"})"));
    QElapsedTimer clock;
    clock.start();
    frmMain window(Odbc());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_EQ(window.findChild<QComboBox*>("cboDatabase")->count(), 0);
    EXPECT_TRUE(boxes.seen.empty());
}

TEST_F(WindowAgainstSandbox, UpdatesTheChosenSampleDatabase)
{
    ServeDatabases(QStringLiteral("samples"),
                   {"Emberline", "Emberline Training", "EmberlineArchive", "EmberlineSupport"});
    frmMain window(Odbc());
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

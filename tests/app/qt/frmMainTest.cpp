#include "EmberlineInstance.h"
#include "MessageBoxWatcher.h"
#include "QtPrinting.h"
#include "ScriptedConnection.h"
#include "frmMain.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
// The control table in pixels: twips / 15 at 96 DPI, round(twips / 10) at 144 DPI.
struct Placement {
    const char* name;
    QRect at96Dpi;
    QRect at144Dpi;
};

const Placement Controls[] = {
    {"fraInstructions", {16, 0, 449, 105}, {24, 0, 674, 158}},
    {"lblInstructions", {8, 16, 424, 78}, {12, 24, 636, 117}},
    {"lblPath", {81, 113, 301, 30}, {122, 170, 452, 45}},
    {"cboDatabase", {80, 152, 305, 21}, {120, 228, 458, 32}},
    {"cmdUpdate", {152, 192, 161, 28}, {228, 288, 242, 42}},
};

class frmMainTest : public ::testing::Test {
protected:
    std::vector<std::string> log;
    std::shared_ptr<ConnectionScript> script = std::make_shared<ConnectionScript>();
    std::unique_ptr<frmMain> window;
    MessageBoxWatcher boxes;

    void SetUp() override
    {
        script->log = &log;
        script->catalogResult = CatalogRows({{"Emberline", "0"}, {"Reports", "0"}});
        window =
            std::make_unique<frmMain>(ScriptedConnection::Factory(script), EmberlineInstance());
    }
    void TearDown() override
    {
        window.reset();
        EXPECT_EQ(script->live, 0) << "a connection outlived the window";
        EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()) << "a window was left behind";
    }

    template <typename Control>
    Control* Find(const char* name)
    {
        auto* control = window->findChild<Control*>(name);
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QComboBox* Combo() { return Find<QComboBox>("cboDatabase"); }
    QPushButton* Button() { return Find<QPushButton>("cmdUpdate"); }

    void ShowActive()
    {
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    static QWidgetList VisibleWindows()
    {
        QWidgetList visible;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->isVisible())
                visible.append(widget);
        return visible;
    }
    QWidget* Focused() const { return QApplication::focusWidget(); }
    bool ComboHasFocus() { return Focused() == Combo() || Combo()->isAncestorOf(Focused()); }
};
} // namespace

// CTest runs this at 96 and at 144 logical DPI.
TEST_F(frmMainTest, PlacesEveryControlInTwipsScaledToTheScreen)
{
    const int dpi = window->logicalDpiX();
    ASSERT_EQ(window->logicalDpiY(), dpi);
    ASSERT_TRUE(dpi == 96 || dpi == 144) << "no pixel table for " << dpi << " DPI";
    for (const Placement& p : Controls) {
        SCOPED_TRACE(p.name);
        const QWidget* control = Find<QWidget>(p.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), dpi == 96 ? p.at96Dpi : p.at144Dpi);
    }
    EXPECT_EQ(Find<QWidget>("lblInstructions")->parentWidget(), Find<QWidget>("fraInstructions"));
    EXPECT_EQ(window->size(), dpi == 96 ? QSize(484, 238) : QSize(726, 357));
}

TEST_F(frmMainTest, ResizingTheWindowMovesNothing)
{
    ShowActive();
    std::vector<QRect> before;
    for (const Placement& p : Controls)
        before.push_back(Find<QWidget>(p.name)->geometry());
    for (const QSize size : {QSize(900, 700), QSize(120, 80)}) {
        window->resize(size);
        QApplication::processEvents();
        for (std::size_t i = 0; i < std::size(Controls); ++i)
            EXPECT_EQ(Find<QWidget>(Controls[i].name)->geometry(), before[i]) << Controls[i].name;
    }
}

TEST_F(frmMainTest, ShowsItsTextsInBoldLabelsThatWrapAndFit)
{
    EXPECT_EQ(window->windowTitle(), "Emberline Flagwright");
    EXPECT_TRUE(Find<QGroupBox>("fraInstructions")->title().isEmpty());
    EXPECT_EQ(Button()->text(), "Update the Selected Database");
    EXPECT_EQ(Combo()->currentText(), "");
    EXPECT_EQ(Find<QLabel>("lblInstructions")->text(),
              "This program will update the Kind Code table to fix problems with 'Direct' and "
              "'Line Overheard' data for an Emberline database version 14.01.03 database.");
    EXPECT_EQ(Find<QLabel>("lblPath")->text(),
              "Select a database from the dropdown list to be updated.");
    EXPECT_TRUE(Find<QLabel>("lblInstructions")->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(Find<QLabel>("lblPath")->alignment() & Qt::AlignHCenter);

    for (const char* name : {"lblInstructions", "lblPath"}) {
        SCOPED_TRACE(name);
        const QLabel* label = Find<QLabel>(name);
        EXPECT_EQ(label->font().families().value(0), "MS Sans Serif");
        EXPECT_DOUBLE_EQ(label->font().pointSizeF(), 8.25);
        EXPECT_EQ(label->font().weight(), QFont::Bold);
        EXPECT_TRUE(label->font().bold());
        EXPECT_FALSE(label->font().italic() || label->font().underline() ||
                     label->font().strikeOut());
        EXPECT_TRUE(label->wordWrap());
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << "text cut off";
    }
}

TEST_F(frmMainTest, ButtonAndListUseTheWindowFontAndTheButtonTextFits)
{
    for (const QWidget* control : std::initializer_list<QWidget*>{Button(), Combo()}) {
        EXPECT_DOUBLE_EQ(control->font().pointSizeF(), 8.25);
        EXPECT_FALSE(control->font().bold());
    }
    QStyleOptionButton option;
    option.initFrom(Button());
    const QRect contents =
        Button()->style()->subElementRect(QStyle::SE_PushButtonContents, &option, Button());
    EXPECT_LE(QFontMetrics(Button()->font()).horizontalAdvance(Button()->text()), contents.width())
        << "text cut off";
}

TEST_F(frmMainTest, HasNoAccessKeysAndNoDefaultButton)
{
    for (const QString& text : {Button()->text(), Find<QLabel>("lblInstructions")->text(),
                                Find<QLabel>("lblPath")->text()})
        EXPECT_TRUE(QKeySequence::mnemonic(text).isEmpty()) << text.toStdString();
    EXPECT_FALSE(Button()->isDefault());
    EXPECT_FALSE(Button()->autoDefault());
}

TEST_F(frmMainTest, FocusStartsOnTheButtonAndTabsOnlyBetweenButtonAndList)
{
    ShowActive();
    EXPECT_EQ(Focused(), Button());
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_TRUE(ComboHasFocus());
    QTest::keyClick(Focused(), Qt::Key_Tab);
    EXPECT_EQ(Focused(), Button());
    QTest::keyClick(Focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(ComboHasFocus());
    QTest::keyClick(Focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), Button());
}

TEST_F(frmMainTest, LoadsTheDatabaseListBeforeItIsShownAndLeavesTheTextEmpty)
{
    ASSERT_EQ(Combo()->count(), 2);
    EXPECT_EQ(Combo()->itemText(0), "Emberline");
    EXPECT_EQ(Combo()->itemText(1), "Reports");
    EXPECT_EQ(Combo()->currentText(), "");
    EXPECT_EQ(script->created, 1);
}

TEST_F(frmMainTest, SpaceOnTheButtonAtStartSaysNoDatabaseIsSelected)
{
    ShowActive();
    QTest::keyClick(Focused(), Qt::Key_Space);

    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].title, "Flagwright");
    EXPECT_EQ(boxes.seen[0].text, "No database selected.");
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(boxes.seen[0].buttons, 1);
    EXPECT_EQ(script->created, 1) << "no connection for an empty selection";
    EXPECT_EQ(VisibleWindows(), QWidgetList{window.get()});
}

TEST_F(frmMainTest, RunsWithTheNameAsTypedAndKeepsListAndText)
{
    script->openLeavesClosed = true;
    ShowActive();
    QTest::keyClicks(Combo()->lineEdit(), "EMBERLINE");
    QTest::mouseClick(Button(), Qt::LeftButton);

    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].title, "Database Error");
    EXPECT_EQ(boxes.seen[0].text, "Could not open the database.");
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes.seen[0].pointer, Qt::ArrowCursor) << "the box shows the arrow";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(script->opened.size(), 2u);
    EXPECT_EQ(script->opened[1].database, "EMBERLINE");
    EXPECT_EQ(Combo()->currentText(), "EMBERLINE");
    ASSERT_EQ(Combo()->count(), 2);
    EXPECT_EQ(Combo()->itemText(0), "Emberline");
    EXPECT_EQ(Combo()->itemText(1), "Reports");
}

TEST_F(frmMainTest, EnterAndEscapeInTheListStartNothingAndTypingCompletesNothing)
{
    ShowActive();
    Combo()->setFocus();
    QTest::keyClicks(Combo()->lineEdit(), "Rep");
    QTest::keyClick(Combo()->lineEdit(), Qt::Key_Return);
    QTest::keyClick(Combo()->lineEdit(), Qt::Key_Enter);
    QTest::keyClick(Combo()->lineEdit(), Qt::Key_Escape);
    QApplication::processEvents();

    EXPECT_TRUE(boxes.seen.empty());
    EXPECT_EQ(script->created, 1);
    EXPECT_EQ(Combo()->count(), 2);
    EXPECT_EQ(Combo()->currentText(), "Rep") << "typed text is neither completed nor dropped";
    EXPECT_TRUE(window->isVisible());
}

TEST_F(frmMainTest, ClosingTheWindowEndsTheProgramAndReleasesAnOpenConnection)
{
    script->versionResult = Recordset({"Value"}, {});
    ShowActive();
    Combo()->setEditText("Reports");
    Button()->click();
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].text, "Database is not an Emberline database.");
    EXPECT_EQ(script->live, 1) << "the run leaves this connection open";

    QTimer::singleShot(0, window.get(), [this] { window->close(); });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QApplication::exit(1); });
    giveUp.start(5000);
    EXPECT_EQ(QApplication::exec(), 0) << "the program did not end with its window";
}

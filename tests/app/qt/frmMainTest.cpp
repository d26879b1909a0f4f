#include "app/qt/frmMain.h"
#include "platform/Product.h"
#include "tests/app/FormGolden.h"
#include "tests/app/qt/MessageBoxWatcher.h"
#include "tests/app/qt/QtPrinting.h"
#include "tests/support/ScriptedConnection.h"

#include <QApplication>
#include <QComboBox>
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
golden::Rect Of(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// The text a control shows: a label's or a button's, a frame's title, a list's edit field.
QString Shown(const QWidget* control)
{
    for (const char* property : {"text", "title", "currentText"})
        if (control->property(property).isValid())
            return control->property(property).toString();
    return {};
}

class frmMainTest : public ::testing::Test {
protected:
    std::shared_ptr<ConnectionScript> script = std::make_shared<ConnectionScript>();
    std::unique_ptr<frmMain> window;
    MessageBoxWatcher boxes;

    void SetUp() override
    {
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
    QWidget* Focused() const { return QApplication::focusWidget(); }
};
} // namespace

// CTest runs this at 96 and at 144 logical DPI.
TEST_F(frmMainTest, PlacesEveryControlInTwipsScaledToTheScreen)
{
    const int dpi = window->logicalDpiX();
    ASSERT_EQ(window->logicalDpiY(), dpi);
    ASSERT_TRUE(dpi == 96 || dpi == 144) << "no pixel table for " << dpi << " DPI";
    EXPECT_EQ(Of(window->rect()), golden::Window.At(dpi));
    for (const golden::Control& c : golden::Controls) {
        SCOPED_TRACE(c.name);
        const QWidget* control = Find<QWidget>(c.name);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(Of(control->geometry()), c.At(dpi));
        EXPECT_EQ(control->parentWidget()->objectName(), c.parent);
    }
}

TEST_F(frmMainTest, ResizingTheWindowMovesNothing)
{
    ShowActive();
    for (const QSize size : {QSize(900, 700), QSize(120, 80)}) {
        window->resize(size);
        QApplication::processEvents();
        for (const golden::Control& c : golden::Controls)
            EXPECT_EQ(Of(Find<QWidget>(c.name)->geometry()), c.At(window->logicalDpiX())) << c.name;
    }
}

TEST_F(frmMainTest, ShowsItsTextsInBoldLabelsThatWrapAndFit)
{
    EXPECT_EQ(window->windowTitle(), golden::Window.text);
    for (const golden::Control& c : golden::Controls)
        EXPECT_EQ(Shown(Find<QWidget>(c.name)), c.text) << c.name;
    EXPECT_TRUE(Find<QLabel>("lblInstructions")->alignment() & Qt::AlignLeft);
    EXPECT_TRUE(Find<QLabel>("lblPath")->alignment() & Qt::AlignHCenter);
    for (const char* name : {"lblInstructions", "lblPath"}) {
        const QLabel* label = Find<QLabel>(name);
        EXPECT_EQ(label->font().weight(), QFont::Bold) << name;
        EXPECT_TRUE(label->wordWrap()) << name;
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << name << " cut off";
    }
}

TEST_F(frmMainTest, ButtonAndListUseTheWindowFontAndTheButtonTextFits)
{
    for (const golden::Control& c : golden::Controls) {
        SCOPED_TRACE(c.name);
        const QFont font = Find<QWidget>(c.name)->font();
        EXPECT_EQ(font.families().value(0), "MS Sans Serif");
        EXPECT_DOUBLE_EQ(font.pointSizeF(), 8.25);
        EXPECT_EQ(font.bold(), c.bold);
        EXPECT_FALSE(font.italic() || font.underline() || font.strikeOut());
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
    for (const golden::Control& c : golden::Controls)
        EXPECT_TRUE(QKeySequence::mnemonic(Shown(Find<QWidget>(c.name))).isEmpty()) << c.name;
    EXPECT_FALSE(Button()->isDefault());
    EXPECT_FALSE(Button()->autoDefault());
}

// Round the tab order twice with Tab, then twice back with Shift+Tab.
TEST_F(frmMainTest, FocusStartsOnTheButtonAndTabsOnlyBetweenButtonAndList)
{
    ShowActive();
    constexpr std::size_t n = std::size(golden::TabOrder);
    for (std::size_t i = 0; i < 4 * n; ++i) {
        const bool back = i >= 2 * n;
        QWidget* expected = Find<QWidget>(golden::TabOrder[(back ? 4 * n - i : i) % n]);
        EXPECT_TRUE(Focused() == expected || expected->isAncestorOf(Focused())) << "step " << i;
        QTest::keyClick(Focused(), back ? Qt::Key_Backtab : Qt::Key_Tab,
                        back ? Qt::ShiftModifier : Qt::NoModifier);
    }
    EXPECT_EQ(Focused(), Find<QWidget>(golden::TabOrder[0]));
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
    for (const QWidget* shown : QApplication::topLevelWidgets())
        EXPECT_EQ(shown->isVisible(), shown == window.get()) << "a box was left open";
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

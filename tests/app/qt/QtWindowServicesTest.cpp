#include "platform/qt/QtComboBox.h"
#include "platform/qt/QtWindowServices.h"
#include "tests/app/qt/MessageBoxWatcher.h"
#include "tests/app/qt/QtPrinting.h"

#include <QApplication>
#include <QComboBox>

#include <gtest/gtest.h>

using namespace flagwright;
using namespace flagwright::testing;

namespace {
std::optional<Qt::CursorShape> Pointer()
{
    const QCursor* cursor = QApplication::overrideCursor();
    return cursor ? std::optional(cursor->shape()) : std::nullopt;
}

class QtWindowServicesTest : public ::testing::Test {
protected:
    QtWindowServices services{nullptr};
    MessageBoxWatcher boxes;

    void TearDown() override { EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty()); }
};
} // namespace

TEST_F(QtWindowServicesTest, ShowsExactlyTheRequestedPointer)
{
    // Twice the hourglass is still one override; twice the default is no error.
    using enum ScreenPointer;
    const std::pair<ScreenPointer, std::optional<Qt::CursorShape>> steps[] = {
        {Hourglass, Qt::WaitCursor}, {Default, std::nullopt}, {Hourglass, Qt::WaitCursor},
        {Hourglass, Qt::WaitCursor}, {Default, std::nullopt}, {Default, std::nullopt}};
    for (const auto& [requested, shown] : steps) {
        services.SetScreenPointer(requested);
        EXPECT_EQ(Pointer(), shown);
    }
}

TEST_F(QtWindowServicesTest, LeavesAnotherOverrideAlone)
{
    QApplication::setOverrideCursor(Qt::IBeamCursor);
    services.SetScreenPointer(ScreenPointer::Default);
    EXPECT_EQ(Pointer(), Qt::IBeamCursor);
    QApplication::restoreOverrideCursor();
}

TEST_F(QtWindowServicesTest, ReleasesTheHourglassWhenDestroyed)
{
    {
        QtWindowServices other(nullptr);
        other.SetScreenPointer(ScreenPointer::Hourglass);
    }
    EXPECT_EQ(Pointer(), std::nullopt);
}

TEST_F(QtWindowServicesTest, MessageBoxesShowPromptTitleAndIconWithOnlyOk)
{
    services.MsgBox("Plain", MsgBoxStyle::OkOnly);
    services.MsgBox("Careful\r\n\r\nnow <b>", MsgBoxStyle::Exclamation, "Database Error");
    services.MsgBox("Done", MsgBoxStyle::Information, "Congratulations");

    ASSERT_EQ(boxes.seen.size(), 3u);
    EXPECT_EQ(boxes.seen[0].title, "Flagwright");
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::NoIcon);
    EXPECT_EQ(boxes.seen[1].title, "Database Error");
    EXPECT_EQ(boxes.seen[1].text, "Careful\n\nnow <b>");
    EXPECT_EQ(boxes.seen[1].icon, QMessageBox::Warning);
    EXPECT_EQ(boxes.seen[2].title, "Congratulations");
    EXPECT_EQ(boxes.seen[2].icon, QMessageBox::Information);
    for (const ShownBox& box : boxes.seen)
        EXPECT_EQ(box.buttons, 1);
}

TEST_F(QtWindowServicesTest, BoxShownUnderTheHourglassShowsTheArrowThenTheHourglassAgain)
{
    services.SetScreenPointer(ScreenPointer::Hourglass);
    services.MsgBox("Busy", MsgBoxStyle::OkOnly);
    ASSERT_EQ(boxes.seen.size(), 1u);
    EXPECT_EQ(boxes.seen[0].pointer, Qt::ArrowCursor);
    EXPECT_EQ(Pointer(), Qt::WaitCursor);
    services.SetScreenPointer(ScreenPointer::Default);
}

TEST(QtComboBoxTest, AddsItemsWithoutTouchingTheTextAndClearsBoth)
{
    QComboBox box;
    box.setEditable(true);
    QtComboBox combo(box);

    combo.AddItem("Emberline");
    combo.AddItem("Ärchiv,2020");
    EXPECT_EQ(combo.Text(), "");
    ASSERT_EQ(box.count(), 2);
    EXPECT_EQ(box.itemText(1), QString::fromUtf8("Ärchiv,2020"));

    box.setEditText(QString::fromUtf8("Typed é"));
    combo.AddItem("Reports");
    EXPECT_EQ(combo.Text(), "Typed é");

    // A name holding a lone surrogate, picked from the list, comes back as itself.
    combo.AddItem("Sales\xED\xA0\x80");
    box.setCurrentIndex(3);
    EXPECT_EQ(combo.Text(), "Sales\xED\xA0\x80");

    combo.Clear();
    EXPECT_EQ(box.count(), 0);
    EXPECT_EQ(combo.Text(), "");
}

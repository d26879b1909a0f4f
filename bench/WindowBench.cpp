// The program's own start path, measured: QApplication, the main window with its database
// list loaded, shown until the window system reports it exposed. With a database name it then
// presses the update button and times the press to the first message box, which it answers.
// Last it prints the process's peak resident memory.
//
//   flagwright_window_bench [DATABASE]
//
// Output, one "key value" per line: shown (seconds from main), shown_at (Unix time, for a
// caller that timed the launch), databases (items listed), update (seconds), message, max_rss_kib.
#include "app/qt/frmMain.h"
#include "platform/Product.h"
#include "platform/odbc/OdbcConnection.h"
#include "tests/app/qt/MessageBoxWatcher.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QTest>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <optional>

using namespace flagwright;

namespace {
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Notes when the first message box is shown: inside MsgBox, as the box's modal loop starts.
class FirstBoxClock : public QObject {
public:
    std::optional<Clock::time_point> shown;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!shown && event->type() == QEvent::Show && qobject_cast<QMessageBox*>(watched))
            shown = Clock::now();
        return false;
    }
};
} // namespace

int main(int argc, char* argv[])
{
    const auto started = Clock::now();
    QApplication app(argc, argv);
    QApplication::setApplicationName(ApplicationTitle);

    frmMain window([] { return std::make_unique<odbc::OdbcConnection>(); }, EmberlineInstance());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window, 10000)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    std::printf("shown %.4f\n", SecondsSince(started));
    std::printf(
        "shown_at %.6f\n",
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count());
    auto* databases = window.findChild<QComboBox*>("cboDatabase");
    std::printf("databases %d\n", databases->count());

    if (argc > 1) {
        databases->setEditText(QString::fromUtf8(argv[1]));
        FirstBoxClock boxClock;
        app.installEventFilter(&boxClock);
        testing::MessageBoxWatcher watcher;
        const auto pressed = Clock::now();
        window.findChild<QPushButton*>("cmdUpdate")->click();
        const double seconds =
            std::chrono::duration<double>(boxClock.shown.value_or(Clock::now()) - pressed).count();
        std::printf("update %.4f\n", seconds);
        std::printf("message %s\n",
                    watcher.seen.empty() ? "(none)" : watcher.seen.front().text.toUtf8().data());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("max_rss_kib %ld\n", usage.ru_maxrss);
    return 0;
}

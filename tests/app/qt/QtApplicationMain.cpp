// Runs the window tests inside one QApplication, created only when tests run (not when CTest
// lists them), with a pinned locale so texts and number formats do not depend on the machine.
#include <QApplication>
#include <QLocale>

#include <gtest/gtest.h>

#include <memory>

namespace {
class QtApplication : public ::testing::Environment {
public:
    QtApplication(int& argc, char** argv) : argc_(argc), argv_(argv) {}

    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> app_;
};
} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new QtApplication(argc, argv));
    return RUN_ALL_TESTS();
}

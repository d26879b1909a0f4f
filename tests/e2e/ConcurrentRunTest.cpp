#include "EndToEndFixture.h"

#include <cstdio>
#include <iostream>

using namespace flagwright;
using namespace flagwright::e2e;

namespace {
// The output of update_once, started without waiting for it.
class UpdateProcess {
public:
    explicit UpdateProcess(const std::string& database)
        : pipe_(popen((std::string(UPDATE_ONCE) + " '" + database + "'").c_str(), "r"))
    {}
    UpdateProcess(const UpdateProcess&) = delete;
    UpdateProcess& operator=(const UpdateProcess&) = delete;
    ~UpdateProcess()
    {
        if (pipe_)
            pclose(pipe_);
    }

    // Every line it printed, once it has ended with exit status 0.
    std::vector<std::string> Lines()
    {
        EXPECT_NE(pipe_, nullptr);
        std::string output;
        char buffer[4096];
        for (std::size_t got; pipe_ && (got = fread(buffer, 1, sizeof buffer, pipe_)) > 0;)
            output.append(buffer, got);
        EXPECT_EQ(pipe_ ? pclose(pipe_) : -1, 0);
        pipe_ = nullptr;
        std::vector<std::string> lines;
        for (std::size_t start = 0, end; (end = output.find('\n', start)) != std::string::npos;
             start = end + 1)
            lines.push_back(output.substr(start, end - start));
        return lines;
    }

private:
    FILE* pipe_;
};

// Two program instances updating the same database at once both report, and the database
// ends fully corrected and stamped whichever of them wins.
TEST_F(EndToEnd, TwoProcessesAtOnceLeaveTheDatabaseCorrect)
{
    const std::string db = sandbox.CopyDatabase("Emberline", "E2E two processes");
    const auto kindsBefore = Kinds(db);
    UpdateProcess first(db);
    UpdateProcess second(db);
    const auto firstLines = first.Lines();
    const auto secondLines = second.Lines();

    for (const auto& lines : {firstLines, secondLines}) {
        ASSERT_EQ(lines.size(), 1U);
        std::cout << lines[0] << '\n';
        EXPECT_EQ(lines[0].rfind("MsgBox(", 0), 0U) << lines[0];
        ExpectNoPassword(lines[0], "message");
    }
    EXPECT_TRUE(firstLines[0] == SuccessBox || secondLines[0] == SuccessBox)
        << firstLines[0] << "\n"
        << secondLines[0];
    EXPECT_EQ(Default(db, "DBVersion"), "14.01.04");
    EXPECT_EQ(Default(db, "DBUpdateFrom"), "14.01.03");
    EXPECT_EQ(Kinds(db), Corrected(kindsBefore));
}
} // namespace

#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace flagwright::e2e {

// The output of update_once, started without waiting for it; environment is a shell prefix
// such as "ODBCSYSINI='/x' ".
class UpdateProcess {
public:
    explicit UpdateProcess(const std::string& database, const std::string& environment = "")
        : pipe_(popen((environment + UPDATE_ONCE + " '" + database + "'").c_str(), "r"))
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

} // namespace flagwright::e2e

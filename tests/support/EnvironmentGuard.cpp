// Part of every test program: a test that leaves an environment variable
// changed fails. The programs also run whole, and a later test must find the
// environment the program started with (ScopedEnv puts a variable back).
#include <gtest/gtest.h>

#include <map>
#include <string>

#include <unistd.h>

namespace {

class EnvironmentGuard : public testing::EmptyTestEventListener
{
public:
    void OnTestStart(const testing::TestInfo &) override { before_ = Snapshot(); }

    void OnTestEnd(const testing::TestInfo &) override
    {
        const std::map<std::string, std::string> after = Snapshot();
        if (after == before_)
            return;
        std::string changed;
        for (const auto &[name, value] : before_) {
            const auto now = after.find(name);
            if (now == after.end())
                changed += "\n  " + name + " was " + value + ", is now unset";
            else if (now->second != value)
                changed += "\n  " + name + " was " + value + ", is now " + now->second;
        }
        for (const auto &[name, value] : after) {
            if (!before_.count(name))
                changed += "\n  " + name + " was unset, is now " + value;
        }
        ADD_FAILURE() << "the test left the environment changed:" << changed;
    }

private:
    static std::map<std::string, std::string> Snapshot()
    {
        std::map<std::string, std::string> variables;
        for (char **entry = environ; *entry; ++entry) {
            const std::string text = *entry;
            const std::size_t equals = text.find('=');
            variables[text.substr(0, equals)]
                = equals == std::string::npos ? std::string() : text.substr(equals + 1);
        }
        return variables;
    }

    std::map<std::string, std::string> before_;
};

[[maybe_unused]] const bool registered = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new EnvironmentGuard);
    return true;
}();

} // namespace

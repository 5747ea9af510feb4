// An environment variable changed for the life of one object. What was there
// before comes back exactly, including a variable that was not set at all:
// the test programs run whole, and a later test must find the environment
// the program started with.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class ScopedEnv
{
public:
    // A null value unsets the variable.
    ScopedEnv(const char *name, const char *value)
        : name_(name)
    {
        if (const char *old = std::getenv(name))
            old_ = old;
        Set(value);
    }
    ScopedEnv(const char *name, const std::string &value)
        : ScopedEnv(name, value.c_str())
    { }
    ~ScopedEnv() { Set(old_ ? old_->c_str() : nullptr); }
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

    void Set(const char *value) const
    {
        if (value)
            setenv(name_.c_str(), value, 1);
        else
            unsetenv(name_.c_str());
    }

private:
    std::string name_;
    std::optional<std::string> old_;
};

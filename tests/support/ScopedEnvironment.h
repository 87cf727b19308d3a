// Sets or unsets an environment variable for the life of the object, then puts it back.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class ScopedEnvironment {
public:
    // A null value unsets the variable.
    ScopedEnvironment(const char* name, const char* value) : FName(name) {
        if (const char* old = std::getenv(name)) FOld = old;
        Set(value);
    }
    ~ScopedEnvironment() { Set(FOld ? FOld->c_str() : nullptr); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void Set(const char* value) {
        if (value != nullptr) {
            setenv(FName.c_str(), value, 1);
        } else {
            unsetenv(FName.c_str());
        }
    }
    std::string FName;
    std::optional<std::string> FOld;
};

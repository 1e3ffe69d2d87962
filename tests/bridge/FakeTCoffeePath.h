#pragma once
#include <stdlib.h>

#include <string>

namespace kadrel::test {

// Puts a folder first on the search path for the life of the object.
class SearchPathFirst {
public:
    explicit SearchPathFirst(const std::string& folder) {
        const char* old = std::getenv("PATH");
        old_ = old != nullptr ? old : "";
        setenv("PATH", (folder + ":" + old_).c_str(), 1);
    }
    ~SearchPathFirst() { setenv("PATH", old_.c_str(), 1); }
    SearchPathFirst(const SearchPathFirst&) = delete;
    SearchPathFirst& operator=(const SearchPathFirst&) = delete;

private:
    std::string old_;
};

// Sets an environment variable for the life of the object.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) { setenv(name, value.c_str(), 1); }
    ~ScopedVariable() { unsetenv(name_); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
};

}  // namespace kadrel::test

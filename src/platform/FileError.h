#pragma once

#include <stdexcept>
#include <string>

namespace fenwold {

// Raised by every file operation that fails: carries the file's name and a reason a person can
// read, so the message shown to the user names both.
class FileError : public std::runtime_error {
public:
    FileError(std::string path, std::string reason)
        : std::runtime_error(path + ": " + reason), path_(std::move(path)),
          reason_(std::move(reason)) {}

    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

} // namespace fenwold

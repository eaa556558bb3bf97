// Writes a file so that it is either complete or not there at all.
#pragma once

#include <functional>
#include <optional>
#include <string>

// Why something failed; empty optional on success.
using Failure = std::optional<std::string>;

// Calls write(fd) on a new file beside `target`, then renames it over `target`. If anything
// fails, the new file is removed and `target` is left as it was.
Failure replace_file(const std::string& target, const std::function<Failure(int fd)>& write);

// Writes all of `size` bytes to `fd`; a failure is the system's reason.
Failure write_all(int fd, const void* data, std::size_t size);

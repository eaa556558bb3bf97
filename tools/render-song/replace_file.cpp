#include "replace_file.hpp"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string system_error(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

} // namespace

Failure replace_file(const std::string& target, const std::function<Failure(int fd)>& write) {
    std::string temporary = target + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return system_error("cannot write '" + target + "'");
    }
    // mkstemp makes the file private; give it the permissions a new file normally gets.
    const mode_t mask = umask(0);
    umask(mask);
    Failure failure;
    if (fchmod(fd, 0666 & ~mask) != 0) {
        failure = system_error("cannot write '" + target + "'");
    }
    if (!failure) {
        failure = write(fd);
    }
    if (!failure && fsync(fd) != 0) {
        failure = system_error("cannot write '" + target + "'");
    }
    if (close(fd) != 0 && !failure) {
        failure = system_error("cannot write '" + target + "'");
    }
    if (!failure && std::rename(temporary.c_str(), target.c_str()) != 0) {
        failure = system_error("cannot write '" + target + "'");
    }
    if (failure) {
        std::remove(temporary.c_str());
    }
    return failure;
}

Failure write_all(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(fd, bytes, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::string(std::strerror(errno));
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return std::nullopt;
}

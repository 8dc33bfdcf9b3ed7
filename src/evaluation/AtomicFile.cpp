#include "AtomicFile.h"

#include "WriteAll.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quendral {

namespace {

// The temporary file sits beside the target and carries its name, cut where needed so that
// the six random characters and their dot still fit into a file name of 255 bytes; a name
// the target may have must not fail for the temporary file's sake.
std::string temporaryPattern(const std::string& path)
{
    constexpr std::size_t kNameMax = 255;
    constexpr std::string_view kSuffix = ".XXXXXX";
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::size_t nameEnd = path.size();
    if (nameEnd - nameStart > kNameMax - kSuffix.size()) {
        nameEnd = nameStart + (kNameMax - kSuffix.size());
        // Never cut a UTF-8 sequence in two.
        while (nameEnd > nameStart && (static_cast<unsigned char>(path[nameEnd]) & 0xC0) == 0x80)
            --nameEnd;
    }
    return path.substr(0, nameEnd) + std::string(kSuffix);
}

}  // namespace

WriteResult writeFileAtomically(const std::string& path, const void* data, std::size_t size)
{
    using Step = WriteResult::Step;
    std::string temporary = temporaryPattern(path);
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return {Step::Create, errno};
    // mkstemp creates the file for its owner only; a picture is an ordinary file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    int error = writeAll(fd, static_cast<const char*>(data), size);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return {Step::Write, error};
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
        ::unlink(temporary.c_str());
        return {Step::Replace, error};
    }
    return {};
}

}  // namespace quendral

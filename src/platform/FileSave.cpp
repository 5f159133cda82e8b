#include "platform/FileError.h"
#include "platform/FileIo.h"
#include "platform/PosixFile.h"
#include "platform/TerminationCleanup.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <stdexcept>
#include <sys/file.h>
#include <sys/uio.h>
#include <system_error>
#include <tuple>

namespace fenwold {
namespace {

using posix::Descriptor;

enum class Way {
    Create,  // nothing there yet
    Replace, // a regular file, replaced by renaming a temporary file over it
    Stream,  // a pipe or a character device, written straight into
};

struct Target {
    std::filesystem::path named; // as given, for messages
    std::filesystem::path file;  // where the bytes go: symbolic links followed
    Way way = Way::Create;
    struct stat existing {};
};

constexpr int kMostLinksFollowed = 40;

// The path that `named` leads to through symbolic links, down to a file that may not exist.
std::filesystem::path FollowLinks(const std::filesystem::path& named) {
    std::filesystem::path path = named;
    for (int hops = 0; hops < kMostLinksFollowed; ++hops) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::error_code error;
        const auto next = std::filesystem::read_symlink(path, error);
        if (error) {
            throw FileError(named.string(), "cannot follow the link: " + error.message());
        }
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    throw FileError(named.string(), "too many levels of symbolic links");
}

// How `named` is to be written, refusing what must not be.
Target Examine(const std::filesystem::path& named) {
    Target target{named, named};
    const std::string name = named.string();
    struct stat info {};
    if (::stat(name.c_str(), &info) != 0) {
        if (errno != ENOENT) {
            throw FileError(name, posix::Reason("cannot write the file"));
        }
        target.file = FollowLinks(named); // a link to a missing file creates that file
        return target;
    }
    target.existing = info;
    if (S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode)) {
        target.way = Way::Stream;
        return target;
    }
    if (!S_ISREG(info.st_mode)) {
        throw FileError(name, "is " + std::string(posix::KindOf(info.st_mode)) +
                                  "; only files, pipes and character devices are written");
    }
    // Checked by its permissions too: root may write any file, but a read-only one is kept.
    if ((info.st_mode & 0222) == 0) {
        throw FileError(name, "the file is read-only");
    }
    if (::faccessat(AT_FDCWD, name.c_str(), W_OK, AT_EACCESS) != 0) {
        throw FileError(name, posix::Reason("cannot write the file"));
    }
    target.way = Way::Replace;
    target.file = FollowLinks(named);
    return target;
}

bool SameFile(const Target& a, const Target& b) {
    if (a.way != Way::Create && b.way != Way::Create) {
        return a.existing.st_dev == b.existing.st_dev && a.existing.st_ino == b.existing.st_ino;
    }
    if (a.way != b.way) {
        return false;
    }
    std::error_code error;
    return std::filesystem::absolute(a.file, error).lexically_normal() ==
           std::filesystem::absolute(b.file, error).lexically_normal();
}

// Zero runs are written from here. They are written, not left as holes: a file full of holes
// is slow to free where the file system discards freed blocks, as the next save over it does.
constexpr std::size_t kZeroRun = 64 * 1024;
const std::array<std::uint8_t, kZeroRun> kZeros{};

// Writes to a file with few system calls: small appends are gathered in a staging buffer, large
// ones and zero runs are written from where they are, many in one call.
class DescriptorSink final : public FileSink {
public:
    DescriptorSink(int descriptor, std::string name)
        : descriptor_(descriptor), name_(std::move(name)) {}

    void Append(std::span<const std::uint8_t> bytes, std::uint64_t zerosAfter) override {
        const bool staged = bytes.size() <= kLargestStaged;
        if (batch_.size() == IOV_MAX || (staged && bytes.size() > kStagingSize - staged_)) {
            Flush();
        }
        if (!bytes.empty()) {
            const std::uint8_t* from = bytes.data();
            if (staged) {
                if (!staging_) {
                    staging_ = std::make_unique_for_overwrite<std::uint8_t[]>(kStagingSize);
                }
                from =
                    std::copy(bytes.begin(), bytes.end(), staging_.get() + staged_) - bytes.size();
                staged_ += bytes.size();
            }
            batch_.push_back({const_cast<std::uint8_t*>(from), bytes.size()});
        }
        for (std::uint64_t left = zerosAfter; left > 0;) {
            const auto run = static_cast<std::size_t>(std::min<std::uint64_t>(left, kZeroRun));
            if (batch_.size() == IOV_MAX) {
                Flush();
            }
            batch_.push_back({const_cast<std::uint8_t*>(kZeros.data()), run});
            left -= run;
        }
        if (!staged) {
            Flush(); // the caller may use its buffer again once this returns
        }
        size_ += bytes.size() + zerosAfter;
    }

    void Overwrite(std::uint64_t offset, std::span<const std::uint8_t> bytes) override {
        RequireAppended(offset, bytes.size(), "overwritten");
        Flush();
        Transfer(offset, bytes.size(), "cannot write the file", [&](std::size_t done, off_t at) {
            return ::pwrite(descriptor_, bytes.data() + done, bytes.size() - done, at);
        });
    }

    void Read(std::uint64_t offset, std::span<std::uint8_t> bytes) override {
        RequireAppended(offset, bytes.size(), "read back");
        Flush();
        Transfer(offset, bytes.size(), "cannot read back the file",
                 [&](std::size_t done, off_t at) {
                     return ::pread(descriptor_, bytes.data() + done, bytes.size() - done, at);
                 });
    }

    std::uint64_t size() const override { return size_; }

    // Writes what is still gathered.
    void Finish() { Flush(); }

private:
    static constexpr std::size_t kStagingSize = 256 * 1024;

    void RequireAppended(std::uint64_t offset, std::size_t count, const std::string& how) const {
        if (offset > size_ || count > size_ - offset) {
            throw std::out_of_range("a file may only be " + how + " where it was written");
        }
    }

    // Moves `count` bytes at `offset` with `move(done, position)`, a pread or pwrite of what is
    // left, taking partial moves and retrying interrupted ones.
    template <typename Move>
    void Transfer(std::uint64_t offset, std::size_t count, const char* failure, Move move) const {
        for (std::size_t done = 0; done < count;) {
            const ssize_t moved = move(done, static_cast<off_t>(offset + done));
            if (moved < 0 && errno == EINTR) {
                continue;
            }
            if (moved <= 0) {
                errno = moved == 0 ? EIO : errno;
                throw FileError(name_, posix::Reason(failure));
            }
            done += static_cast<std::size_t>(moved);
        }
    }
    // Larger appends are written at once from where they are: one more system call costs less
    // than copying them.
    static constexpr std::size_t kLargestStaged = 16 * 1024;

    // Writes the batch, taking partial writes.
    void Flush() {
        std::size_t first = 0;
        while (first < batch_.size()) {
            const auto count = static_cast<int>(batch_.size() - first);
            const ssize_t put = ::writev(descriptor_, &batch_[first], count);
            if (put < 0 && errno == EINTR) {
                continue;
            }
            if (put <= 0) {
                Fail(put == 0 ? EIO : errno);
            }
            for (auto left = static_cast<std::size_t>(put); left > 0;) {
                iovec& next = batch_[first];
                const std::size_t taken = std::min(left, next.iov_len);
                next.iov_base = static_cast<std::uint8_t*>(next.iov_base) + taken;
                next.iov_len -= taken;
                left -= taken;
                first += next.iov_len == 0 ? 1 : 0;
            }
        }
        batch_.clear();
        staged_ = 0;
    }

    [[noreturn]] void Fail(int error) const {
        errno = error;
        throw FileError(name_, posix::Reason("cannot write the file"));
    }

    int descriptor_;
    std::string name_;
    std::uint64_t size_ = 0;
    std::vector<iovec> batch_; // never more than IOV_MAX
    std::unique_ptr<std::uint8_t[]> staging_;
    std::size_t staged_ = 0; // bytes of the staging buffer the batch points into
};

std::filesystem::path FolderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// The new contents of one target in a temporary file beside it, written and synced. The file
// is removed when this goes, unless it was renamed, and on a termination signal before that.
class PendingFile {
public:
    PendingFile(const Target& target, const FileContents& write) {
        const std::string name = target.named.string();
        std::string pattern =
            (FolderOf(target.file) / ("." + target.file.filename().string() + ".tmp-XXXXXX"))
                .string();
        {
            // No signal may come between creating the file and registering it for removal.
            const TerminationDeferral hold;
            descriptor_ = Descriptor(::mkostemp(pattern.data(), O_CLOEXEC));
            if (descriptor_.get() < 0) {
                throw FileError(name, posix::Reason("cannot create the file"));
            }
            guard_.emplace(pattern);
            removal_.path = pattern;
        }
        if (target.way == Way::Replace) {
            if (::geteuid() == 0) {
                [[maybe_unused]] const int ignored =
                    ::fchown(descriptor_.get(), target.existing.st_uid, target.existing.st_gid);
            }
            ::fchmod(descriptor_.get(), target.existing.st_mode & 07777);
        } else {
            ::fchmod(descriptor_.get(), 0644);
        }
        DescriptorSink sink(descriptor_.get(), name);
        write(sink);
        sink.Finish();
        if (::fsync(descriptor_.get()) != 0 || !descriptor_.Close()) {
            throw FileError(name, posix::Reason("cannot finish writing the file"));
        }
    }

    const std::filesystem::path& temporary() const { return removal_.path; }
    // The temporary name no longer holds anything of ours.
    void Renamed() {
        removal_.path.clear();
        guard_->Forget();
    }

private:
    // Members go in reverse order, also when the constructor fails: the descriptor is closed,
    // then the file removed, then forgotten by the signal cleanup.
    struct Removal {
        std::filesystem::path path;
        ~Removal() {
            if (!path.empty()) {
                ::unlink(path.c_str());
            }
        }
    };
    std::optional<TemporaryFileGuard> guard_;
    Removal removal_;
    Descriptor descriptor_;
};

void WriteStraightInto(const Target& target, const FileContents& write) {
    const std::string name = target.named.string();
    Descriptor file(::open(name.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        throw FileError(name, posix::Reason("cannot open the file for writing"));
    }
    // A pipe cannot be overwritten, so the contents are made in memory first.
    ByteSink contents;
    write(contents);
    DescriptorSink sink(file.get(), name);
    sink.Append(contents.bytes(), 0);
    sink.Finish();
    if (!file.Close()) {
        throw FileError(name, posix::Reason("cannot write the file"));
    }
}

// Exclusive advisory locks on folders, taken in one order so that two saves never wait on each
// other; released when this goes. A folder that cannot be opened is saved into unlocked.
class FolderLocks {
public:
    explicit FolderLocks(const std::vector<std::filesystem::path>& folders) {
        struct Held {
            dev_t device;
            ino_t inode;
            Descriptor descriptor;
        };
        std::vector<Held> held;
        for (const auto& folder : folders) {
            Descriptor descriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            struct stat info {};
            if (descriptor.get() >= 0 && ::fstat(descriptor.get(), &info) == 0) {
                held.push_back({info.st_dev, info.st_ino, std::move(descriptor)});
            }
        }
        std::sort(held.begin(), held.end(), [](const Held& a, const Held& b) {
            return std::tie(a.device, a.inode) < std::tie(b.device, b.inode);
        });
        for (std::size_t i = 0; i < held.size(); ++i) {
            if (i > 0 && held[i].device == held[i - 1].device &&
                held[i].inode == held[i - 1].inode) {
                continue;
            }
            while (::flock(held[i].descriptor.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
            folders_.push_back(std::move(held[i].descriptor));
        }
    }

    // Makes the renames durable.
    void Sync() const {
        for (const auto& folder : folders_) {
            ::fsync(folder.get());
        }
    }

private:
    std::vector<Descriptor> folders_;
};

// How one rename went, so that it can be undone.
enum class Renamed {
    Exchanged, // the old file now sits at the temporary name
    Created,   // there was no old file
    Replaced,  // the old file is gone
};

void Undo(const std::vector<Target>& targets, const std::vector<PendingFile*>& pending,
          const std::vector<Renamed>& done) {
    for (std::size_t i = done.size(); i-- > 0;) {
        const char* temporary = pending[i]->temporary().c_str();
        const char* file = targets[i].file.c_str();
        if (done[i] == Renamed::Exchanged) {
            ::renameat2(AT_FDCWD, temporary, AT_FDCWD, file, RENAME_EXCHANGE);
        } else if (done[i] == Renamed::Created) {
            ::rename(file, temporary);
        }
    }
}

// Puts every temporary file in place of its target; on a failure the renames done so far are
// undone where the file system allows it.
void RenameAll(const std::vector<Target>& targets, const std::vector<PendingFile*>& pending) {
    std::vector<Renamed> done;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const char* temporary = pending[i]->temporary().c_str();
        const char* file = targets[i].file.c_str();
        // Exchanging keeps the old file, so that a later failure can put it back; not every
        // file system can, and then a plain rename does.
        if (targets[i].way == Way::Replace &&
            ::renameat2(AT_FDCWD, temporary, AT_FDCWD, file, RENAME_EXCHANGE) == 0) {
            done.push_back(Renamed::Exchanged);
            continue;
        }
        if (::rename(temporary, file) == 0) {
            done.push_back(targets[i].way == Way::Replace ? Renamed::Replaced : Renamed::Created);
            continue;
        }
        const std::string reason = posix::Reason("cannot replace the file");
        Undo(targets, pending, done);
        const bool lost = std::find(done.begin(), done.end(), Renamed::Replaced) != done.end();
        throw FileError(targets[i].named.string(),
                        lost ? reason + " (files saved with it were already replaced)" : reason);
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (done[i] == Renamed::Exchanged) {
            ::unlink(pending[i]->temporary().c_str()); // the old contents
        }
        pending[i]->Renamed();
    }
}

} // namespace

void SaveFilesTogether(std::span<const FileToSave> files) {
    std::vector<Target> targets;
    for (const auto& file : files) {
        targets.push_back(Examine(file.target));
        for (std::size_t i = 0; i + 1 < targets.size(); ++i) {
            if (SameFile(targets[i], targets.back())) {
                throw FileError(file.target.string(), "is the same file as " +
                                                          targets[i].named.string() +
                                                          ", which this save writes too");
            }
        }
    }
    std::vector<std::unique_ptr<PendingFile>> owned;
    std::vector<Target> renamed;
    std::vector<PendingFile*> pending;
    std::vector<std::filesystem::path> folders;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (targets[i].way != Way::Stream) {
            owned.push_back(std::make_unique<PendingFile>(targets[i], files[i].write));
            renamed.push_back(targets[i]);
            pending.push_back(owned.back().get());
            folders.push_back(FolderOf(targets[i].file));
        }
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (targets[i].way == Way::Stream) {
            WriteStraightInto(targets[i], files[i].write);
        }
    }
    if (renamed.empty()) {
        return;
    }
    const FolderLocks locks(folders);
    {
        const TerminationDeferral hold;
        RenameAll(renamed, pending);
    }
    locks.Sync();
}

void WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    const FileToSave file{path, bytes};
    SaveFilesTogether(std::span(&file, 1));
}

void WriteFileAtomically(const std::filesystem::path& path, FileContents write) {
    const FileToSave file{path, std::move(write)};
    SaveFilesTogether(std::span(&file, 1));
}

} // namespace fenwold

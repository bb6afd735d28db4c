// Every kind of target against writeFile(), checked against what writing the
// file in place would leave: new files, files replaced with everything a user
// can see kept, files that must be written in place, devices, FIFOs, sockets
// and terminals written straight to, folders refused. Device nodes, FIFOs and
// sockets are made in the test's own folder; filesystems it needs (small,
// without fallocate, bind mounts) are mounted there when the test runs as
// root, and the test is skipped with the reason otherwise.
#include "runtime/file_writer.h"
#include "support/files.h"
#include "support/posix_limits.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/xattr.h>
#include <termios.h>
#include <unistd.h>

namespace lumvrex {
namespace {

namespace fs = std::filesystem;
using testing::readWholeFile;
using testing::runningAsRoot;
using testing::TemporaryFolder;
using testing::Unprivileged;
using testing::writeWholeFile;

const std::string kOld = "the old bytes, which must survive a failure\r\n";

std::string newBytes(std::size_t size = std::size_t(100) * 1024)
{
    std::string text;
    while (text.size() < size)
        text += "NewPage=page" + std::to_string(text.size()) + "\r\n";
    text.resize(size);
    return text;
}

struct stat statOf(const fs::path &path)
{
    struct stat info = {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path << ": " << std::strerror(errno);
    return info;
}

struct stat lstatOf(const fs::path &path)
{
    struct stat info = {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path << ": " << std::strerror(errno);
    return info;
}

int run(const std::string &command)
{
    return std::system((command + " >/dev/null 2>&1").c_str()); // NOLINT(cert-env33-c): test set-up tools
}

std::string output(const std::string &command)
{
    std::string text;
    if (FILE *pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe))
            text.append(buffer.data(), got);
        ::pclose(pipe);
    }
    return text;
}

std::string acl(const fs::path &path)
{
    return output("getfacl -cp '" + path.string() + "' 2>/dev/null");
}

std::string xattr(const fs::path &path, const char *name)
{
    std::array<char, 256> value{};
    const ssize_t size = ::getxattr(path.c_str(), name, value.data(), value.size());
    return size < 0 ? std::string("(none)") : std::string(value.data(), static_cast<std::size_t>(size));
}

// A folder mounted with a filesystem of the test's choosing, unmounted at
// the end; the test is skipped where mounting is not allowed.
class Mount
{
public:
    Mount(const fs::path &at, const std::string &how)
        : m_at(at)
    {
        fs::create_directory(at);
        m_mounted = runningAsRoot() && run("mount " + how + " '" + at.string() + "'") == 0;
    }
    ~Mount()
    {
        if (m_mounted)
            ::umount2(m_at.c_str(), MNT_DETACH);
    }
    Mount(const Mount &) = delete;
    Mount &operator=(const Mount &) = delete;
    bool mounted() const { return m_mounted; }

private:
    fs::path m_at;
    bool m_mounted = false;
};

class FileWriter : public ::testing::Test
{
protected:
    void SetUp() override { ::chmod(m_folder.path().c_str(), 0777); }
    fs::path path(const std::string &name) const { return m_folder / name; }
    std::vector<std::string> entries() const { return m_folder.entries(); }

    TemporaryFolder m_folder;
};

// --- New files -------------------------------------------------------------

class NewFile : public FileWriter, public ::testing::WithParamInterface<mode_t>
{
};

TEST_P(NewFile, IsTheWholeScriptWithTheModeTheUmaskLeaves)
{
    const mode_t umask = GetParam();
    const mode_t old = ::umask(umask);
    const std::string bytes = newBytes();
    const Status written = writeFile(path("book.pub"), bytes);
    ::umask(old);
    ASSERT_TRUE(written) << written.error().message;
    EXPECT_EQ(readWholeFile(path("book.pub")), bytes);
    EXPECT_EQ(statOf(path("book.pub")).st_mode & 07777, 0666 & ~umask);
    EXPECT_EQ(entries(), std::vector<std::string>{"book.pub"}); // nothing else left behind
}

INSTANTIATE_TEST_SUITE_P(Umasks, NewFile, ::testing::Values(022, 077, 002));

TEST_F(FileWriter, NewFileThroughALinkToAMissingFileKeepsTheLink)
{
    fs::create_directory(path("real"));
    fs::create_symlink("real/book.pub", path("link.pub"));
    ASSERT_TRUE(writeFile(path("link.pub"), "script\r\n"));
    EXPECT_TRUE(fs::is_symlink(path("link.pub")));
    EXPECT_EQ(readWholeFile(path("real/book.pub")), "script\r\n");
}

TEST_F(FileWriter, NewFileInAFolderThatTakesNoneNamesTheFolder)
{
    fs::create_directory(path("closed"));
    ::chmod(path("closed").c_str(), 0555);
    Status written;
    {
        const Unprivileged nobody;
        written = writeFile(path("closed/book.pub"), "x");
    }
    ASSERT_FALSE(written);
    EXPECT_NE(
        written.error().message.find("in the folder \"" + path("closed").string() + "\": Permission denied"),
        std::string::npos)
        << written.error().message;
    EXPECT_EQ(written.error().code, SystemCode::fromErrno(EACCES));
    EXPECT_TRUE(fs::is_empty(path("closed")));
}

// --- Files replaced with everything kept -------------------------------------

TEST_F(FileWriter, ASingleLinkFileIsReplacedWithOwnerModeAclAndAttributesKept)
{
    if (!runningAsRoot())
        GTEST_SKIP() << "giving a file another owner needs root";
    const fs::path target = path("book.pub");
    writeWholeFile(target, kOld);
    ASSERT_EQ(::chown(target.c_str(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(target.c_str(), 06754), 0); // setuid and setgid too
    if (run("setfacl -m u:4321:r--,g:8765:rw- '" + target.string() + "'") != 0)
        GTEST_SKIP() << "setfacl is missing or the filesystem has no ACLs";
    ASSERT_EQ(::setxattr(target.c_str(), "user.origin", "camera", 6, 0), 0) << std::strerror(errno);
    const struct stat before = statOf(target);
    const std::string aclBefore = acl(target);

    ASSERT_TRUE(writeFile(target, "new\r\n"));
    const struct stat after = statOf(target);
    EXPECT_NE(after.st_ino, before.st_ino); // a new file took its place whole
    EXPECT_EQ(readWholeFile(target), "new\r\n");
    EXPECT_EQ(after.st_uid, 1234u);
    EXPECT_EQ(after.st_gid, 5678u);
    EXPECT_EQ(after.st_mode & 07777, before.st_mode & 07777);
    EXPECT_EQ(acl(target), aclBefore);
    EXPECT_NE(aclBefore.find("user:4321:r--"), std::string::npos) << aclBefore;
    EXPECT_EQ(xattr(target, "user.origin"), "camera");
    EXPECT_EQ(entries(), std::vector<std::string>{"book.pub"});
}

TEST_F(FileWriter, AReadOnlyFileWrittenByRootKeepsItsMode)
{
    if (!runningAsRoot())
        GTEST_SKIP() << "only root may write a read-only file";
    writeWholeFile(path("book.pub"), kOld);
    ::chmod(path("book.pub").c_str(), 0444);
    ASSERT_TRUE(writeFile(path("book.pub"), "new\r\n"));
    EXPECT_EQ(readWholeFile(path("book.pub")), "new\r\n");
    EXPECT_EQ(statOf(path("book.pub")).st_mode & 07777, 0444u);
}

TEST_F(FileWriter, AFileTheUserMayNotWriteIsRefusedWithTheSystemsReason)
{
    writeWholeFile(path("book.pub"), kOld);
    ::chmod(path("book.pub").c_str(), 0444);
    Status written;
    {
        const Unprivileged nobody;
        written = writeFile(path("book.pub"), "new");
    }
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().message,
              "Could not write \"" + path("book.pub").string() + "\": Permission denied.");
    EXPECT_EQ(written.error().code, SystemCode::fromErrno(EACCES));
    EXPECT_EQ(readWholeFile(path("book.pub")), kOld);
    EXPECT_EQ(statOf(path("book.pub")).st_mode & 07777, 0444u);
}

TEST_F(FileWriter, ThroughAChainOfLinksTheLastFileIsWrittenAndTheLinksStay)
{
    fs::create_directory(path("pictures"));
    writeWholeFile(path("pictures/book.pub"), kOld);
    fs::create_symlink("pictures/book.pub", path("second"));
    fs::create_symlink("second", path("first"));
    ASSERT_TRUE(writeFile(path("first"), "new\r\n"));
    EXPECT_TRUE(fs::is_symlink(path("first")));
    EXPECT_TRUE(fs::is_symlink(path("second")));
    EXPECT_EQ(readWholeFile(path("pictures/book.pub")), "new\r\n");
    EXPECT_EQ(fs::directory_iterator(path("pictures"))->path().filename(), "book.pub");
}

// --- Files written in place --------------------------------------------------

struct InPlaceCase
{
    const char *name;
    bool needsRoot; // for its set-up
    bool asNobody;  // the write runs as "nobody"
    // Sets up the folder; returns the target, or an empty path to skip.
    std::function<fs::path(const fs::path &folder)> prepare;
    // What must be as before, besides the inode: owner, mode.
    bool ownerKept;
};

class InPlace : public FileWriter, public ::testing::WithParamInterface<InPlaceCase>
{
protected:
    // What some set-ups leave must be undone before the folder can go.
    void TearDown() override
    {
        ::umount2(path("mounted.pub").c_str(), MNT_DETACH);
        if (fs::exists(path("immutable")))
            run("chattr -i '" + path("immutable").string() + "'");
        ::chmod(m_folder.path().c_str(), 0777);
    }
};

TEST_P(InPlace, KeepsTheFileItselfAndWritesItsNewBytes)
{
    const InPlaceCase &c = GetParam();
    if (c.needsRoot && !runningAsRoot())
        GTEST_SKIP() << "the set-up needs root";
    const fs::path target = c.prepare(m_folder.path());
    if (target.empty())
        GTEST_SKIP() << "the set-up was not allowed here";
    const struct stat before = statOf(target);
    const std::string bytes = newBytes(std::size_t(20) * 1024);

    Status written;
    {
        std::optional<Unprivileged> nobody;
        if (c.asNobody)
            nobody.emplace();
        written = writeFile(target, bytes);
    }
    ASSERT_TRUE(written) << written.error().message;
    const struct stat after = statOf(target);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_nlink, before.st_nlink);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(readWholeFile(target), bytes);
    EXPECT_EQ(static_cast<std::size_t>(after.st_size), bytes.size());
}

fs::path fileIn(const fs::path &folder, mode_t mode, uid_t owner, gid_t group)
{
    fs::path target = folder / "book.pub";
    writeWholeFile(target, kOld + kOld + kOld);
    ::chown(target.c_str(), owner, group);
    ::chmod(target.c_str(), mode);
    return target;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InPlace,
    ::testing::Values(InPlaceCase{"two_hard_links", false, false,
                                  [](const fs::path &folder) {
                                      fs::path target = fileIn(folder, 0644, ::getuid(), ::getgid());
                                      fs::create_hard_link(target, folder / "other name.pub");
                                      return target;
                                  },
                                  true},
                      InPlaceCase{"an_owner_the_process_cannot_give", true, true,
                                  [](const fs::path &folder) { return fileIn(folder, 0666, 0, 0); }, true},
                      InPlaceCase{"a_group_the_process_cannot_give", true, true,
                                  [](const fs::path &folder) { return fileIn(folder, 0666, 65534, 0); },
                                  true},
                      InPlaceCase{"a_read_only_folder", true, true,
                                  [](const fs::path &folder) {
                                      fs::path target = fileIn(folder, 0666, 65534, 65534);
                                      ::chmod(folder.c_str(), 0555);
                                      return target;
                                  },
                                  true},
                      InPlaceCase{"a_sticky_folder_of_someone_else", true, true,
                                  [](const fs::path &folder) {
                                      fs::path target = fileIn(folder, 0666, 0, 0);
                                      ::chmod(folder.c_str(), 01777);
                                      return target;
                                  },
                                  true},
                      InPlaceCase{"an_immutable_folder", true, false,
                                  [](const fs::path &folder) {
                                      fs::create_directory(folder / "immutable");
                                      fs::path target = fileIn(folder / "immutable", 0644, 0, 0);
                                      if (run("chattr +i '" + (folder / "immutable").string() + "'") != 0)
                                          return fs::path();
                                      return target;
                                  },
                                  true},
                      InPlaceCase{"a_bind_mounted_file", true, false,
                                  [](const fs::path &folder) {
                                      const fs::path source = fileIn(folder, 0644, 0, 0);
                                      fs::path target = folder / "mounted.pub";
                                      writeWholeFile(target, "");
                                      if (::mount(source.c_str(), target.c_str(), nullptr, MS_BIND, nullptr)
                                          != 0)
                                          return fs::path();
                                      return target;
                                  },
                                  true}),
    [](const auto &info) { return testing::caseName(info.param.name); });

TEST_F(FileWriter, InPlaceAFullDiskIsReportedBeforeAnOldByteIsTouched)
{
    const Mount small(path("small"), "-t tmpfs -o size=256k tmpfs");
    if (!small.mounted())
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    const fs::path target = path("small/book.pub");
    writeWholeFile(target, kOld);
    fs::create_hard_link(target, path("small/other.pub")); // so that it is written in place
    const Status written = writeFile(target, newBytes(std::size_t(1024) * 1024));
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().message,
              "Could not write \"" + target.string() + "\": No space left on device.");
    EXPECT_EQ(written.error().code, SystemCode::fromErrno(ENOSPC));
    EXPECT_EQ(readWholeFile(target), kOld);
    EXPECT_EQ(statOf(target).st_size, static_cast<off_t>(kOld.size()));
}

TEST_F(FileWriter, InPlaceAFailureAfterOldBytesWereOverwrittenSaysSo)
{
    // ext2 cannot reserve room ahead, so the disk fills up mid-write.
    const fs::path image = path("disk.img");
    writeWholeFile(image, "");
    fs::resize_file(image, std::size_t(1024) * 1024);
    if (run("mkfs.ext2 -q -F '" + image.string() + "'") != 0)
        GTEST_SKIP() << "mkfs.ext2 is missing";
    const Mount disk(path("disk"), "-o loop '" + image.string() + "'");
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a loop device needs root and a free loop device";
    const fs::path target = path("disk/book.pub");
    writeWholeFile(target, kOld);
    fs::create_hard_link(target, path("disk/other.pub"));
    const Status written = writeFile(target, newBytes(std::size_t(4) * 1024 * 1024));
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().message,
              "\"" + target.string()
                  + "\" was only partly written: No space left on device. Its old contents are lost.");
    EXPECT_EQ(written.error().code, SystemCode::fromErrno(ENOSPC));
}

// --- Written straight to -----------------------------------------------------

TEST_F(FileWriter, ACharacterDeviceIsWrittenToAndStays)
{
    if (::mknod(path("null").c_str(), S_IFCHR | 0666, ::makedev(1, 3)) != 0)
        GTEST_SKIP() << "making a device node needs root: " << std::strerror(errno);
    ASSERT_TRUE(writeFile(path("null"), newBytes()));
    const struct stat after = lstatOf(path("null"));
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_rdev, ::makedev(1, 3));
}

TEST_F(FileWriter, AFifoWithAReaderGetsTheBytesAndStays)
{
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = readWholeFile(path("fifo")); });
    const std::string bytes = newBytes(std::size_t(300) * 1024); // more than a pipe holds at once
    const Status written = writeFile(path("fifo"), bytes);
    reader.join();
    ASSERT_TRUE(written) << written.error().message;
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(S_ISFIFO(lstatOf(path("fifo")).st_mode));
}

TEST_F(FileWriter, ASocketGetsTheBytesAndStays)
{
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    const std::string name = path("socket").string();
    if (name.size() >= sizeof address.sun_path)
        GTEST_SKIP() << "the temporary folder's path is too long for a socket";
    std::memcpy(address.sun_path, name.c_str(), name.size() + 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr *>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listening, 1), 0);
    std::string received;
    std::thread reader([&] {
        const int connection = ::accept(listening, nullptr, nullptr);
        std::array<char, 65536> buffer{};
        for (ssize_t got; (got = ::read(connection, buffer.data(), buffer.size())) > 0;)
            received.append(buffer.data(), static_cast<std::size_t>(got));
        ::close(connection);
    });
    const std::string bytes = newBytes(std::size_t(300) * 1024);
    const Status written = writeFile(path("socket"), bytes);
    reader.join();
    ::close(listening);
    ASSERT_TRUE(written) << written.error().message;
    EXPECT_EQ(received, bytes);
    EXPECT_TRUE(S_ISSOCK(lstatOf(path("socket")).st_mode));
}

TEST_F(FileWriter, ATerminalGetsTheBytesAndStays)
{
    // A terminal of the test's own, reached through a link in its folder (a
    // device node made elsewhere cannot open a terminal of this system's
    // terminal filesystem), in raw mode so that line ends pass unchanged.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    const std::string terminalName = ::ptsname(master);
    fs::create_symlink(terminalName, path("tty"));
    const int slave = ::open(terminalName.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(slave, 0);
    termios raw = {};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    const dev_t device = statOf(terminalName).st_rdev;

    const std::string bytes = newBytes(std::size_t(20) * 1024);
    std::string received;
    std::atomic<bool> done = false;
    std::thread reader([&] {
        std::array<char, 4096> buffer{};
        while (received.size() < bytes.size() && !done) {
            pollfd ready = {master, POLLIN, 0};
            if (::poll(&ready, 1, 100) <= 0)
                continue;
            const ssize_t got = ::read(master, buffer.data(), buffer.size());
            if (got <= 0)
                break;
            received.append(buffer.data(), static_cast<std::size_t>(got));
        }
    });
    const Status written = writeFile(path("tty"), bytes);
    if (!written)
        done = true;
    reader.join();
    EXPECT_TRUE(fs::is_symlink(path("tty")));
    EXPECT_EQ(statOf(terminalName).st_rdev, device); // still the terminal, not a file
    ::close(slave);
    ::close(master);
    ASSERT_TRUE(written) << written.error().message;
    EXPECT_EQ(received, bytes);
}

TEST_F(FileWriter, ABlockDeviceIsWrittenToAndStays)
{
    const fs::path backing = path("backing.img");
    writeWholeFile(backing, std::string(std::size_t(256) * 1024, '\0'));
    const std::string loop = output("losetup -f --show '" + backing.string() + "' 2>/dev/null");
    if (loop.empty())
        GTEST_SKIP() << "setting up a loop device needs root and a free loop device";
    const std::string device = loop.substr(0, loop.find('\n'));
    const struct stat info = statOf(device);
    ASSERT_EQ(::mknod(path("block").c_str(), S_IFBLK | 0600, info.st_rdev), 0);
    const std::string bytes = newBytes(std::size_t(64) * 1024);
    const Status written = writeFile(path("block"), bytes);
    run("losetup -d " + device);
    ASSERT_TRUE(written) << written.error().message;
    EXPECT_TRUE(S_ISBLK(lstatOf(path("block")).st_mode));
    EXPECT_EQ(readWholeFile(backing).substr(0, bytes.size()), bytes);
}

// --- Refused -------------------------------------------------------------------

class Folders : public FileWriter, public ::testing::WithParamInterface<bool>
{
};

TEST_P(Folders, AreRefusedAndStayAsTheyWere)
{
    fs::create_directory(path("folder"));
    fs::create_symlink("folder", path("link"));
    const fs::path target = path(GetParam() ? "link" : "folder");
    const Status written = writeFile(target, "x");
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().message, "Could not write \"" + target.string() + "\": Is a directory.");
    EXPECT_EQ(written.error().code, SystemCode::fromErrno(EISDIR));
    EXPECT_EQ(written.error().code.windowsValue(), std::nullopt); // the kinds never mix
    EXPECT_TRUE(fs::is_empty(path("folder")));
    EXPECT_EQ(fs::is_symlink(target), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Kinds, Folders, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "link_to_a_folder" : "folder"; });

} // namespace
} // namespace lumvrex

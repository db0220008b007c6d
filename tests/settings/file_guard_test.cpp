// What the settings file's load and save respect around setting.dat: special
// files in its place are never waited on nor replaced, a file the player has
// protected stays as it is, hard links and the player's files beside it are
// kept, two saves at once each report their own outcome, and the folder is
// flushed after the rename. The last two watch real processes under strace.
#include <gtest/gtest.h>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "settings/settings.h"
#include "tests/support/byte_file.h"
#include "tests/support/file_test.h"
#include "tests/support/settings_file.h"
#include "tests/support/special_files.h"
#include "tests/support/platform_files.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using wolby_test::Bytes;
using test_support::Listing;
using wolby_test::ReadBytes;
using wolby_test::WriteBytes;

const Bytes kOldFile = wolby_test::SettingsFile({4, 5, 7, 3, 1});
const wolby_test::SettingsValues kNextValues{9, 8, 5, 9, 0};
const Bytes kNextFile = wolby_test::SettingsFile(kNextValues);

Settings Next() { return wolby_test::SettingsWith(kNextValues); }

class SettingsGuardTest : public test_support::FileTest {};

// ---------------------------------------------------------------- special files

// What stands in place of setting.dat: made here, or false when this system
// does not let the test make it.
struct Special {
    const char* what;
    std::function<bool()> make;
    std::function<bool()> stillThere;
};

bool IsCharacterDevice(const char* path) {
    struct stat st {};
    return stat(path, &st) == 0 && S_ISCHR(st.st_mode);
}

std::vector<Special> SpecialFiles() {
    const char* name = Settings::kFileName;
    return {
        {"a FIFO", [name] { return mkfifo(name, 0644) == 0; }, [name] { return fs::is_fifo(name); }},
        {"a link to a FIFO",
         [name] { return mkfifo("pipe", 0644) == 0 && symlink("pipe", name) == 0; },
         [name] { return fs::is_symlink(name) && fs::is_fifo("pipe"); }},
        {"a socket", [name] { return test_support::MakeSocket(name); }, [name] { return fs::is_socket(name); }},
        // The zero device's own numbers, in the test's folder: it reads as
        // endless zero bytes, which a settings file never is.
        {"a character device", [name] { return mknod(name, S_IFCHR | 0644, makedev(1, 5)) == 0; },
         [name] { return IsCharacterDevice(name); }},
    };
}

// Loads in a child process answering Yes to the question, giving up after 5
// seconds: "asked" when the question came once and the defaults were taken,
// "not asked", or "blocked".
std::string LoadInChild() {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        alarm(5);
        wolby_test::ScriptedDialogs dialogs;
        dialogs.Answer(true);
        Settings s;
        s.boardSize = 8;
        const bool loaded = s.Load(wolby_test::kFiles, dialogs);
        const auto shown = dialogs.TakeShown();
        const bool asked = shown.size() == 1 && shown[0].question &&
                           shown[0].text == std::string(settings_text::kCannotOpen);
        _exit(loaded && asked && s.BoardSize() == 6 ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) return "blocked";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "asked" : "not asked";
}

TEST_F(SettingsGuardTest, ASpecialFileInPlaceOfTheSettingsIsAskedAboutAndNeverReplaced) {
    for (const Special& special : SpecialFiles()) {
        SCOPED_TRACE(special.what);
        for (const auto& entry : fs::directory_iterator(".")) fs::remove_all(entry.path());
        if (!special.make()) {
            std::cout << "  (" << special.what << " cannot be made here)\n";
            continue;
        }
        EXPECT_EQ(LoadInChild(), "asked") << "the load reads only a regular file, and never waits";
        EXPECT_EQ(test_support::SaveInChild(Next(), [] { return true; }), test_support::kRefused)
            << "the save neither waits on nor replaces what the player put there";
        EXPECT_TRUE(special.stillThere());
    }
}

// ---------------------------------------------------------------- the player's protection

TEST_F(SettingsGuardTest, AFileThePlayerMayNotWriteOrReadBackIsLeftAsItIsAndTheSaveSaysSo) {
    // The player's own folder and file; only the file's mode protects it.
    const bool root = geteuid() == 0;
    fs::permissions(directory_, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const fs::path folder = directory_ / "game";
    fs::create_directory(folder);
    if (root) {
        ASSERT_EQ(chown(folder.c_str(), test_support::kPlayer, test_support::kPlayer), 0);
    }
    const fs::path file = folder / Settings::kFileName;
    // 0200: written, but never read back; every start would ask again.
    for (const fs::perms mode : {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                                 fs::perms::none, fs::perms::owner_write}) {
        SCOPED_TRACE(testing::Message() << "mode " << std::oct << static_cast<int>(mode));
        if (fs::exists(file)) fs::permissions(file, fs::perms::owner_all, fs::perm_options::add);
        ASSERT_TRUE(WriteBytes(file, kOldFile));
        if (root) {
            ASSERT_EQ(chown(file.c_str(), test_support::kPlayer, test_support::kPlayer), 0);
        }
        fs::permissions(file, mode);
        const auto outcome = test_support::SaveInChild(Next(), [&folder] {
            return test_support::BecomePlayer() && chdir(folder.c_str()) == 0 &&
                   access(".", W_OK) == 0 && access(Settings::kFileName, R_OK | W_OK) != 0;
        });
        ASSERT_NE(outcome, test_support::kNotPrepared) << "the test cannot act as a player";
        EXPECT_EQ(outcome, test_support::kRefused);
        EXPECT_EQ(fs::status(file).permissions(), mode);
        fs::permissions(file, fs::perms::owner_read, fs::perm_options::add);
        EXPECT_EQ(ReadBytes(file), kOldFile);
        EXPECT_EQ(Listing(folder), std::vector<std::string>{Settings::kFileName});
    }
}

TEST_F(SettingsGuardTest, AHardLinkedFileKeepsItsOtherNames) {
    fs::create_directory("backup");
    ASSERT_TRUE(WriteBytes(Settings::kFileName, kOldFile));
    fs::create_hard_link(Settings::kFileName, "backup/also.dat");
    ASSERT_TRUE(Next().Save(wolby_test::kFiles, dialogs));
    EXPECT_TRUE(fs::equivalent(Settings::kFileName, "backup/also.dat")) << "the link was broken";
    EXPECT_EQ(fs::hard_link_count(Settings::kFileName), 2u);
    EXPECT_EQ(ReadBytes("backup/also.dat"), kNextFile);
    EXPECT_EQ(ReadBytes(Settings::kFileName), kNextFile);
    EXPECT_EQ(Listing("."), (std::vector<std::string>{"backup", Settings::kFileName}));
    // A longer old file is cut to the new bytes.
    ASSERT_TRUE(WriteBytes(Settings::kFileName, Bytes(40, 0x55)));
    ASSERT_TRUE(Next().Save(wolby_test::kFiles, dialogs));
    EXPECT_EQ(ReadBytes("backup/also.dat"), kNextFile);
    EXPECT_TRUE(dialogs.TakeShown().empty());
}

// Files of the player's with the names an older save used for its temporary,
// beside setting.dat and beside the file its link leads to: no save, whether
// it succeeds or fails, touches them.
TEST_F(SettingsGuardTest, ThePlayersFilesBesideTheTargetAreNeverTouched) {
    const Bytes mine{'m', 'i', 'n', 'e'};
    fs::create_directory("conf");
    ASSERT_TRUE(WriteBytes("conf/x.dat", Bytes(30, 0x55)));
    ASSERT_TRUE(WriteBytes("conf/x.dat.tmp", mine));
    ASSERT_TRUE(WriteBytes("setting.dat.tmp", mine));
    fs::create_symlink("conf/x.dat", Settings::kFileName);
    ASSERT_TRUE(Next().Save(wolby_test::kFiles, dialogs));
    EXPECT_EQ(ReadBytes("conf/x.dat"), kNextFile);
    EXPECT_EQ(ReadBytes("conf/x.dat.tmp"), mine);
    EXPECT_EQ(ReadBytes("setting.dat.tmp"), mine);
    EXPECT_EQ(Listing("conf"), (std::vector<std::string>{"x.dat", "x.dat.tmp"}));
    // A save that fails (a folder where the file belongs) removes only its own.
    fs::remove("conf/x.dat");
    fs::create_directory("conf/x.dat");
    dialogs.TakeShown();
    EXPECT_FALSE(Next().Save(wolby_test::kFiles, dialogs));
    EXPECT_EQ(dialogs.TakeShown().size(), 1u);
    EXPECT_EQ(ReadBytes("conf/x.dat.tmp"), mine);
    EXPECT_EQ(Listing("conf"), (std::vector<std::string>{"x.dat", "x.dat.tmp"}));
    // A folder under an older temporary's name does not stop the save.
    fs::remove("conf/x.dat");
    fs::remove("conf/x.dat.tmp");
    fs::create_directory("conf/x.dat.tmp");
    ASSERT_TRUE(Next().Save(wolby_test::kFiles, dialogs));
    EXPECT_EQ(ReadBytes("conf/x.dat"), kNextFile);
    EXPECT_TRUE(fs::is_directory("conf/x.dat.tmp"));
}

// ---------------------------------------------------------------- saves watched from outside

pid_t Spawn(const std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    std::fflush(nullptr);
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

// The exit status, or -1 when it did not exit by itself.
int WaitExit(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

int RunToEnd(const std::vector<std::string>& arguments) {
    const pid_t pid = Spawn(arguments);
    return pid < 0 ? -1 : WaitExit(pid);
}

// Waits up to `limit` for the condition, looking every 10 ms.
bool WaitFor(std::chrono::milliseconds limit, const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

std::vector<std::string> Save(const std::vector<std::string>& values) {
    std::vector<std::string> command{WOLBY_SAVE_ONCE};
    command.insert(command.end(), values.begin(), values.end());
    return command;
}

// strace with the arguments before the command it runs. The sanitizer build's
// leak check cannot work under ptrace: the traced save goes without it.
std::vector<std::string> Traced(std::vector<std::string> options, const std::vector<std::string>& command) {
    options.insert(options.begin(),
                   {WOLBY_STRACE, "-f", "-qq", "-e", "signal=none", "-E", "ASAN_OPTIONS=detect_leaks=0"});
    options.insert(options.end(), command.begin(), command.end());
    return options;
}

class SavesWatched : public SettingsGuardTest {
protected:
    void SetUp() override {
        SettingsGuardTest::SetUp();
        if (std::string(WOLBY_STRACE).empty()) FAIL() << "strace is needed (scripts/install-deps.sh installs it)";
    }
};

TEST_F(SavesWatched, TwoSavesAtOnceEachReportTheirOwnOutcomeAndTheLastRenameWins) {
    const std::vector<std::string> slowValues{"9", "8", "5", "9", "0"};
    const std::vector<std::string> quickValues{"3", "4", "7", "5", "1"};
    const Bytes slowFile = wolby_test::SettingsFile({9, 8, 5, 9, 0});
    const Bytes quickFile = wolby_test::SettingsFile({3, 4, 7, 5, 1});
    ASSERT_TRUE(WriteBytes(Settings::kFileName, kOldFile));
    // The slow save's first flush (its temporary's) is held for two seconds.
    const pid_t slow = Spawn(Traced({"-o", "/dev/null", "-e", "trace=fsync", "-e",
                                     "inject=fsync:delay_enter=2000000:when=1"},
                                    Save(slowValues)));
    ASSERT_GT(slow, 0);
    const auto slowTemporaryWritten = [&slowFile] {
        for (const auto& entry : fs::directory_iterator(".")) {
            if (entry.path().filename() != Settings::kFileName && ReadBytes(entry.path()) == slowFile) return true;
        }
        return false;
    };
    ASSERT_TRUE(WaitFor(std::chrono::seconds(10), slowTemporaryWritten))
        << "the slow save's temporary file never held its bytes";
    // The quick save runs from start to end meanwhile.
    EXPECT_EQ(RunToEnd(Save(quickValues)), 0) << "the quick save reports failure";
    EXPECT_EQ(ReadBytes(Settings::kFileName), quickFile);
    int status = 0;
    ASSERT_EQ(waitpid(slow, &status, WNOHANG), 0) << "the slow save ended first: the delay did not hold";
    EXPECT_EQ(WaitExit(slow), 0) << "the slow save reports failure";
    EXPECT_EQ(ReadBytes(Settings::kFileName), slowFile) << "the last rename wins";
    EXPECT_EQ(Listing("."), std::vector<std::string>{Settings::kFileName});
}

// strace -y names the file behind each descriptor (and -f puts the process
// before each line): after the rename onto the
// file comes a flush of the folder that holds it (the folder of the file a
// link leads to).
TEST_F(SavesWatched, TheFolderIsFlushedAfterTheRename) {
    fs::create_directory("conf");
    fs::create_directory("trace");
    for (const bool linked : {false, true}) {
        SCOPED_TRACE(linked ? "setting.dat a link into conf/" : "setting.dat in the folder");
        fs::remove(Settings::kFileName);
        if (linked) fs::create_symlink("conf/x.dat", Settings::kFileName);
        const fs::path folder = fs::canonical(linked ? "conf" : ".");
        const fs::path file = folder / (linked ? "x.dat" : Settings::kFileName);
        const std::string log = (directory_ / "trace" / "save.txt").string();
        ASSERT_EQ(RunToEnd(Traced({"-y", "-o", log, "-e", "trace=rename,renameat,renameat2,fsync,fdatasync,openat"},
                             Save({"9", "8", "5", "9", "0"}))),
                  0);
        std::ifstream in(log);
        bool renamed = false;
        bool flushedAfter = false;
        const std::string onto = std::string("\"") + (linked ? "conf/x.dat" : Settings::kFileName) + "\")";
        const std::string folderFlush = "fsync(";
        const std::string ofFolder = "<" + folder.string() + ">)";
        const auto succeeded = [](const std::string& line) { return line.find(" = 0") != std::string::npos; };
        for (std::string line; std::getline(in, line);) {
            if (line.find("rename") != std::string::npos && line.find(onto) != std::string::npos && succeeded(line)) renamed = true;
            if (renamed && line.find(folderFlush) != std::string::npos && line.find(ofFolder) != std::string::npos &&
                succeeded(line)) {
                flushedAfter = true;
            }
        }
        EXPECT_TRUE(renamed) << "no rename onto " << file << " in " << log;
        EXPECT_TRUE(flushedAfter) << "no flush of " << folder << " after the rename, in " << log;
        EXPECT_EQ(ReadBytes(file), kNextFile);
    }
}

}  // namespace

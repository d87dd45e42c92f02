#include "platform/ExtractionFiles.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/ScratchDir.h"

namespace vlo {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::ScratchDir;

// Every test gets its own runtime folder, so that the private folder made
// there can be looked at and is known to be gone afterwards.
class ExtractionFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char* before = std::getenv("XDG_RUNTIME_DIR");
        hadRuntime = before != nullptr;
        if (hadRuntime)
            savedRuntime = before;
        setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    }
    void TearDown() override
    {
        ExtractionFiles::removeAll();
        if (hadRuntime)
            setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
    }

    // Creates a file through the module and writes `bytes` into it; returns
    // where it went, empty when no file could be made.
    std::string createWith(const std::string& wanted, const std::string& bytes)
    {
        std::string path;
        std::FILE* out = ExtractionFiles::create(wanted, path);
        if (out == nullptr) {
            EXPECT_TRUE(path.empty()) << "a failed create named " << path;
            return std::string();
        }
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
        return path;
    }

    std::string privatePath(const std::string& name) const { return ExtractionFiles::privateFolder() + "/" + name; }

    ScratchDir show{"extraction-show"};
    ScratchDir runtime{"extraction-runtime"};
    ScratchDir user{"extraction-user"};
    bool hadRuntime = false;
    std::string savedRuntime;
};

TEST_F(ExtractionFilesTest, CreatesTheWantedFileAndDeletesOnlyItsOwn)
{
    const std::string wanted = show.path("data.zuo.temp.png");
    EXPECT_EQ(wanted, createWith(wanted, "first"));
    EXPECT_EQ("first", readFile(wanted));
    EXPECT_EQ("", ExtractionFiles::privateFolder()) << "a writable folder needs no private folder";
    struct stat info;
    ASSERT_EQ(0, lstat(wanted.c_str(), &info));
    EXPECT_EQ(0600u, info.st_mode & 0777u) << "the extraction is readable by its owner only";

    ExtractionFiles::remove(wanted);
    EXPECT_FALSE(fs::exists(wanted)) << "remove left the file";

    // A file the module never made, or one put in the place of its own, is
    // not deleted.
    show.write("data.zuo.temp.ini", "someone else's");
    ExtractionFiles::remove(show.path("data.zuo.temp.ini"));
    EXPECT_EQ("someone else's", readFile(show.path("data.zuo.temp.ini")));

    const std::string replaced = show.path("data.zuo.temp.jpg");
    ASSERT_EQ(replaced, createWith(replaced, "mine"));
    fs::remove(replaced);
    show.write("data.zuo.temp.jpg", "planted after mine went");
    ExtractionFiles::remove(replaced);
    EXPECT_EQ("planted after mine went", readFile(replaced)) << "remove deleted a file it did not create";
}

TEST_F(ExtractionFilesTest, ReplacesItsOwnLeftoverUnderTheSameName)
{
    const std::string wanted = show.path("data.zuo.temp.png");
    ASSERT_EQ(wanted, createWith(wanted, "a longer first file"));
    EXPECT_EQ(wanted, createWith(wanted, "2nd")) << "this run's own file must be taken over";
    EXPECT_EQ("2nd", readFile(wanted));
    EXPECT_EQ("", ExtractionFiles::privateFolder());
}

TEST_F(ExtractionFilesTest, NeverWritesThroughATakenName)
{
    const std::string userFile = user.path("notes.txt");
    user.write("notes.txt", "the user's own words");
    fs::create_symlink(userFile, show.path("data.zuo.temp.png"));
    fs::create_symlink(user.path("absent.txt"), show.path("data.zuo.temp.bmp"));
    fs::create_directory(show.path("data.zuo.temp.tga"));
    show.write("data.zuo.temp.ini", "another viewer's configuration");
    const std::string before = show.listing();

    struct Case {
        const char* name;
        const char* what;
    };
    for (const Case& c :
        {Case{"data.zuo.temp.png", "a link to a user's file"}, Case{"data.zuo.temp.bmp", "a dangling link"},
            Case{"data.zuo.temp.tga", "a folder"}, Case{"data.zuo.temp.ini", "another program's file"}}) {
        SCOPED_TRACE(c.what);
        const std::string path = createWith(show.path(c.name), std::string("extracted ") + c.name);
        ASSERT_FALSE(ExtractionFiles::privateFolder().empty()) << "no private folder was made";
        EXPECT_EQ(privatePath(c.name), path) << "the file must go to the private folder under the same name";
        EXPECT_EQ(std::string("extracted ") + c.name, readFile(path));
        ExtractionFiles::remove(path);
        EXPECT_FALSE(fs::exists(path));
    }
    EXPECT_EQ("the user's own words", readFile(userFile)) << "the link was written through";
    EXPECT_FALSE(fs::exists(user.path("absent.txt"))) << "the dangling link's target was created";
    EXPECT_TRUE(fs::is_symlink(show.path("data.zuo.temp.png")));
    EXPECT_EQ("another viewer's configuration", readFile(show.path("data.zuo.temp.ini")));
    EXPECT_EQ(before, show.listing()) << "the show folder changed";
}

TEST_F(ExtractionFilesTest, PrivateFolderIsTheProcesssOwnAndGoesWithEverythingInIt)
{
    // A folder that cannot take the file (here: one that does not exist).
    const std::string wanted = show.path("gone/data.zuo.temp.png");
    const std::string path = createWith(wanted, "picture");
    const std::string folder = ExtractionFiles::privateFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(runtime.path(), fs::path(folder).parent_path().string()) << "made under $XDG_RUNTIME_DIR";
    EXPECT_EQ(folder + "/data.zuo.temp.png", path);
    struct stat info;
    ASSERT_EQ(0, lstat(folder.c_str(), &info));
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(0700u, info.st_mode & 0777u) << "the private folder must be closed to others";
    EXPECT_EQ(geteuid(), info.st_uid);

    // A leftover (a read that failed) and a second extension stay until the
    // end; then the folder goes with them.
    ASSERT_EQ(folder + "/data.zuo.temp.ini", createWith(show.path("gone/data.zuo.temp.ini"), "config"));
    ExtractionFiles::removeAll();
    EXPECT_FALSE(fs::exists(folder)) << "the private folder outlived removeAll";
    EXPECT_EQ("", ExtractionFiles::privateFolder());
    EXPECT_TRUE(fs::is_empty(runtime.path())) << runtime.listing();

    // The next need makes a new folder.
    EXPECT_FALSE(createWith(wanted, "again").empty());
    EXPECT_FALSE(ExtractionFiles::privateFolder().empty());
}

TEST_F(ExtractionFilesTest, WithoutARuntimeFolderTheTemporaryFolderIsUsed)
{
    unsetenv("XDG_RUNTIME_DIR");
    const std::string path = createWith(show.path("gone/data.zuo.temp.png"), "x");
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(fs::temp_directory_path().lexically_normal(),
        fs::path(ExtractionFiles::privateFolder()).parent_path().lexically_normal());
}

// The end of a process: at exit and by SIGTERM, SIGINT or SIGHUP, the files
// this run made and the private folder are gone. Each case runs in a child.
class ExtractionFilesEndTest : public ExtractionFilesTest {
protected:
    // The child makes one file beside the show and one in the private folder,
    // reports the private folder's path through a pipe and then either exits
    // or waits for the signal. Returns the child's wait status.
    int runChild(int signalNumber, std::string& folder)
    {
        int pipeEnds[2];
        if (pipe(pipeEnds) != 0)
            return -1;
        const pid_t child = fork();
        if (child == 0) {
            close(pipeEnds[0]);
            std::string path;
            std::FILE* beside = ExtractionFiles::create(show.path("data.zuo.temp.png"), path);
            std::FILE* inPrivate = ExtractionFiles::create(show.path("gone/data.zuo.temp.ini"), path);
            if (beside == nullptr || inPrivate == nullptr)
                _exit(3);
            std::fclose(beside);
            std::fclose(inPrivate);
            const std::string folderPath = ExtractionFiles::privateFolder() + "\n";
            if (write(pipeEnds[1], folderPath.data(), folderPath.size()) != ssize_t(folderPath.size()))
                _exit(4);
            close(pipeEnds[1]);
            if (signalNumber == 0)
                std::exit(0);
            for (;;)
                pause();
        }
        close(pipeEnds[1]);
        char buffer[4096];
        ssize_t got = 0;
        std::string text;
        while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
            text.append(buffer, size_t(got));
        close(pipeEnds[0]);
        folder = text.empty() ? std::string() : text.substr(0, text.size() - 1);
        // Both files are there while the child lives on.
        if (signalNumber != 0) {
            EXPECT_TRUE(fs::exists(show.path("data.zuo.temp.png")));
            EXPECT_TRUE(fs::exists(folder + "/data.zuo.temp.ini"));
            kill(child, signalNumber);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return status;
    }
};

TEST_F(ExtractionFilesEndTest, ExitRemovesTheFilesAndTheFolder)
{
    std::string folder;
    const int status = runChild(0, folder);
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(0, WEXITSTATUS(status));
    ASSERT_FALSE(folder.empty());
    EXPECT_FALSE(fs::exists(folder)) << "the private folder outlived the exit";
    EXPECT_FALSE(fs::exists(show.path("data.zuo.temp.png"))) << "the extraction file outlived the exit";
    EXPECT_TRUE(fs::is_empty(runtime.path()));
}

TEST_F(ExtractionFilesEndTest, TerminatingSignalsRemoveTheFilesAndStillEndTheProcess)
{
    for (int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signalNumber));
        std::string folder;
        const int status = runChild(signalNumber, folder);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the child did not end by the signal; status " << status;
        EXPECT_EQ(signalNumber, WTERMSIG(status));
        ASSERT_FALSE(folder.empty());
        EXPECT_FALSE(fs::exists(folder)) << "the private folder outlived the signal";
        EXPECT_FALSE(fs::exists(show.path("data.zuo.temp.png")));
        EXPECT_TRUE(fs::is_empty(runtime.path())) << runtime.listing();
    }
}

// A signal that someone else already handles (the window system's close
// request) stays theirs; one at its default action is taken over.
TEST_F(ExtractionFilesEndTest, LeavesAHandledSignalToItsHandler)
{
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGTERM, [](int) { _exit(42); });
        signal(SIGINT, SIG_DFL);
        ExtractionFiles::guardSignals();
        struct sigaction interrupt;
        if (sigaction(SIGINT, nullptr, &interrupt) != 0 || interrupt.sa_handler == SIG_DFL)
            _exit(6);
        std::string path;
        std::FILE* out = ExtractionFiles::create(show.path("gone/data.zuo.temp.png"), path);
        if (out == nullptr)
            _exit(3);
        std::fclose(out);
        raise(SIGTERM);
        _exit(5);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << "status " << status;
    EXPECT_EQ(42, WEXITSTATUS(status)) << "the earlier handler was replaced";
}

} // namespace
} // namespace vlo

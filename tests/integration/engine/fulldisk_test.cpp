// A store that fills up mid-download, simulated with a file size limit in a child process.
#include "enginefixture.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace lumora::test {
namespace {

using namespace std::chrono_literals;

constexpr rlim_t kRoom = 1024 * 1024;

// Exit codes of the child, one per broken expectation.
enum Result { Passed = 0, NoStart, Completed, PartMissing, PartTooLarge, KeptGoing };

int downloadIntoAFullStore(const std::filesystem::path& store) {
    const rlimit limit{kRoom, kRoom};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN); // a write past the limit then fails with EFBIG
    SourceServer source;
    source.serve("/1/big.flv", randomBytes(3 * kRoom, 31));
    p2p::Engine engine;
    p2p::Engine::Options options;
    options.store = store;
    if (!engine.start(options))
        return NoStart;
    const auto answer = engine.requestProgramme(source.url("/1/big.flv"));
    if (!answer)
        return NoStart;
    const std::int32_t number = numberOf(*answer);
    const auto file = *engine.storeFileOf(number);
    std::this_thread::sleep_for(500ms);
    if (engine.percentOf(number) == 100 || std::filesystem::exists(file))
        return Completed;
    std::error_code error;
    const auto size = std::filesystem::file_size(file.string() + ".part", error);
    if (error)
        return PartMissing;
    if (size > kRoom)
        return PartTooLarge;
    if (source.requestsFor("/1/big.flv") != 1)
        return KeptGoing; // a write error is final, not a reason to retry
    return Passed;
}

TEST(FullStore, StopsLeavesThePartFileAndNeverReportsHundred) {
    TempDir dir;
    const std::filesystem::path store = dir.path().toStdString() + "store";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(downloadIntoAFullStore(store));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), Passed);
}

} // namespace
} // namespace lumora::test

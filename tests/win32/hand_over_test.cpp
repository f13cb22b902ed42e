#include "app/hand_over.h"

#include <gtest/gtest.h>

#include "app/windows_api.h"
// The security functions need the types of windows.h first.
#include <aclapi.h>
#include <sddl.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

namespace vek::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::vector<std::string> kFiles = {"C:\\a\\b.spr", "C:\\Ä ö\\ß.cob", "D:\\x y\\z.cos"};

// A pipe of this test's own, so that a running program of the user is never disturbed.
fs::path testPipe(const char* what) {
    return fs::path(L"\\\\.\\pipe\\") / ("vektest-" + std::to_string(GetCurrentProcessId()) + what);
}

// Collects what a server hands on, from its thread. The start has its answer before the list is
// handed on, so a test waits for the lists it expects.
struct Received {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<std::vector<std::string>> lists;

    HandOverServer::Received callback() {
        return [this](std::vector<std::string> files) {
            const std::lock_guard lock(mutex);
            lists.push_back(std::move(files));
            arrived.notify_all();
        };
    }
    // The lists once `count` have come, or those there are after a while.
    std::vector<std::vector<std::string>> awaited(std::size_t count) {
        std::unique_lock lock(mutex);
        arrived.wait_for(lock, 10s, [&] { return lists.size() >= count; });
        return lists;
    }
};

TEST(HandOverPipeTest, ThePipeIsNamedForTheUserAndSession) {
    const std::string sid = currentUserSid();
    ASSERT_EQ(sid.rfind("S-1-", 0), 0u) << sid;
    const fs::path pipe = handOverSocketPath();
    DWORD session = 0;
    ASSERT_TRUE(ProcessIdToSessionId(GetCurrentProcessId(), &session));
    EXPECT_EQ(pipe, handOverPipeName(sid, session));
    EXPECT_EQ(pipe.wstring().rfind(L"\\\\.\\pipe\\vekstudio-", 0), 0u);
    EXPECT_NE(pipe.string().find(sid), std::string::npos);
    // Two sessions of one user, or two users, never share a pipe.
    EXPECT_NE(handOverPipeName(sid, 1), handOverPipeName(sid, 2));
    EXPECT_NE(handOverPipeName("S-1-5-21-1-2-3-1000", 1),
              handOverPipeName("S-1-5-21-1-2-3-1001", 1));
}

TEST(HandOverPipeTest, LaterStartsHandTheirFilesOverOneAfterAnother) {
    const fs::path pipe = testPipe("-files");
    Received received;
    HandOverServer server;
    ASSERT_TRUE(server.listen(pipe, received.callback()));
    // Several starts at once: the busy pipe makes the others wait their turn.
    std::vector<std::future<bool>> starts;
    for (int i = 0; i < 3; ++i)
        starts.push_back(
            std::async(std::launch::async, [&] { return handOverFiles(pipe, kFiles, 10s); }));
    for (auto& start : starts) EXPECT_TRUE(start.get());
    EXPECT_TRUE(handOverFiles(pipe, {}, 5s)) << "a start without files still hands over";
    const auto lists = received.awaited(4);
    ASSERT_EQ(lists.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(lists[i], kFiles);
    EXPECT_TRUE(lists[3].empty());
}

TEST(HandOverPipeTest, OneProgramHoldsTheNameAndItGoesWithIt) {
    const fs::path pipe = testPipe("-name");
    Received received;
    {
        HandOverServer first;
        ASSERT_TRUE(first.listen(pipe, received.callback()));
        HandOverServer second;
        EXPECT_FALSE(second.listen(pipe, received.callback())) << "a second program is refused";
        EXPECT_FALSE(first.listen(pipe, received.callback())) << "one listener is one pipe";
    }
    const auto began = std::chrono::steady_clock::now();
    EXPECT_FALSE(handOverFiles(pipe, kFiles, 3s)) << "nobody listens once it ended";
    EXPECT_LT(std::chrono::steady_clock::now() - began, 2s) << "a missing pipe is not waited for";
    HandOverServer next;
    EXPECT_TRUE(next.listen(pipe, received.callback())) << "the next program takes the name";
}

TEST(HandOverPipeTest, OnlyTheUserMayOpenThePipe) {
    const fs::path pipe = testPipe("-rights");
    Received received;
    HandOverServer server;
    ASSERT_TRUE(server.listen(pipe, received.callback()));
    const HANDLE client = CreateFileW(pipe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(client, INVALID_HANDLE_VALUE);
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(GetSecurityInfo(client, SE_KERNEL_OBJECT,
                              OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                              nullptr, &dacl, nullptr, &descriptor),
              static_cast<DWORD>(ERROR_SUCCESS));
    LPSTR ownerText = nullptr;
    ASSERT_TRUE(ConvertSidToStringSidA(owner, &ownerText));
    EXPECT_EQ(std::string(ownerText), currentUserSid());
    LocalFree(ownerText);
    // Exactly one entry: the user's, allowing everything; no group, nobody else.
    ASSERT_NE(dacl, nullptr);
    ASSERT_EQ(dacl->AceCount, 1);
    void* entry = nullptr;
    ASSERT_TRUE(GetAce(dacl, 0, &entry));
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    EXPECT_EQ(allowed->Header.AceType, ACCESS_ALLOWED_ACE_TYPE);
    LPSTR trustee = nullptr;
    ASSERT_TRUE(ConvertSidToStringSidA(const_cast<DWORD*>(&allowed->SidStart), &trustee));
    EXPECT_EQ(std::string(trustee), currentUserSid());
    LocalFree(trustee);
    LocalFree(descriptor);
    CloseHandle(client);
}

// A pipe made by another program, owned by another SID or never answering.
HANDLE strangePipe(const fs::path& pipe, const std::string& rights) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    EXPECT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(
        rights.c_str(), SDDL_REVISION_1, &descriptor, nullptr));
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const HANDLE made =
        CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 65536,
                         65536, 0, &attributes);
    LocalFree(descriptor);
    return made;
}

TEST(HandOverPipeTest, NoFilesGoToAPipeThatIsNotTheUsersOrNeverAnswers) {
    struct Case {
        const char* what;
        std::string rights;
    };
    const std::string self = currentUserSid();
    const Case cases[] = {
        // The Administrators group, of which the user is a member: owner may be set to it, yet
        // it is not the user.
        {"owned by a group, not the user", "O:BAD:(A;;GA;;;WD)"},
        {"the user's, but it never answers", "O:" + self + "D:(A;;GA;;;" + self + ")"},
    };
    for (const Case& c : cases) {
        const fs::path pipe = testPipe("-strange");
        const HANDLE made = strangePipe(pipe, c.rights);
        ASSERT_NE(made, INVALID_HANDLE_VALUE) << c.what;
        // It takes the connection and reads, but answers nothing.
        std::thread taker([made] {
            ConnectNamedPipe(made, nullptr);
            char buffer[4096];
            DWORD got = 0;
            while (ReadFile(made, buffer, sizeof buffer, &got, nullptr) && got > 0) {
            }
        });
        const auto began = std::chrono::steady_clock::now();
        EXPECT_FALSE(handOverFiles(pipe, kFiles, 1s)) << c.what;
        EXPECT_LT(std::chrono::steady_clock::now() - began, 3s) << c.what;
        // The client's end is closed by now: the taker's read ends.
        taker.join();
        CloseHandle(made);
    }
}

TEST(HandOverPipeTest, AStartThatSendsNoWholeMessageIsLetGoAndTheNextIsServed) {
    const fs::path pipe = testPipe("-half");
    Received received;
    HandOverServer server;
    ASSERT_TRUE(server.listen(pipe, received.callback()));
    const HANDLE half = CreateFileW(pipe.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(half, INVALID_HANDLE_VALUE);
    DWORD sent = 0;
    ASSERT_TRUE(WriteFile(half, "C:\\a", 4, &sent, nullptr));
    // The next start waits until the first one's time is up.
    EXPECT_TRUE(handOverFiles(pipe, kFiles, kHandOverSendTime + 5s));
    CloseHandle(half);
    const auto lists = received.awaited(1);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0], kFiles);
}

}  // namespace
}  // namespace vek::testing

#include "engine/tools/PcBoot.h"

#include "classlib/base/Handle.h"
#include <gtest/gtest.h>
#include <vector>

namespace {
// Whether the process token holds the privilege enabled.
bool PrivilegeEnabled(const char* name) {
    TKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Out())) return false;
    LUID luid;
    if (!LookupPrivilegeValueA(nullptr, name, &luid)) return false;
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenPrivileges, nullptr, 0, &size);
    std::vector<char> buf(size);
    if (!GetTokenInformation(token.Get(), TokenPrivileges, buf.data(), size, &size)) return false;
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buf.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const auto& p = privileges->Privileges[i];
        if (p.Luid.LowPart == luid.LowPart && p.Luid.HighPart == luid.HighPart)
            return (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    return false;
}

class PcBootTest : public testing::Test {
protected:
    void SetUp() override {
        ExitWindowsCall = [this](UINT flags) {
            Requests.push_back(flags);
            PrivilegeDuringCall = PrivilegeEnabled("SeShutdownPrivilege");
            return Accept;
        };
    }
    void TearDown() override { ExitWindowsCall = PlatformExitWindows; }

    std::vector<UINT> Requests;
    bool PrivilegeDuringCall = false;
    BOOL Accept = TRUE;
};
} // namespace

TEST_F(PcBootTest, BootTypeAndForceChooseTheFlags) {
    TPcBoot boot(nullptr);
    EXPECT_TRUE(boot.Execute()); // defaults: shut down, not forced
    const struct {
        TBootType type;
        bool force;
    } cases[] = {{btShutDown, true},
                 {btRestart, false},
                 {btRestart, true},
                 {btLogOff, false},
                 {btLogOff, true}};
    for (const auto& c : cases) {
        boot.BootType = c.type;
        boot.ForceBoot = c.force;
        boot.Execute();
    }
    EXPECT_EQ(Requests, (std::vector<UINT>{9, 13, 2, 6, 0, 4}));
}

TEST_F(PcBootTest, PrivilegeHeldOnlyForTheCall) {
    Accept = FALSE;
    TPcBoot boot(nullptr);
    boot.BootType = btRestart;
    EXPECT_FALSE(boot.Execute());
    EXPECT_TRUE(PrivilegeDuringCall);
    EXPECT_FALSE(PrivilegeEnabled("SeShutdownPrivilege"));
    EXPECT_FALSE(TPcBoot::SetPrivilege("SeNoSuchPrivilege", true));
}
